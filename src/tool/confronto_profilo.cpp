// The line profiles compared point by point as they are read: a traced
// profile is walked, a profile file is read in place, and only when both
// sides are files is one of them decoded whole.
#include <bit>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/arrotondamento.h"
#include "compiler/lettura_compilati.h"
#include "tool/confronto.h"
#include "tool/confronto_testo.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

// The points of one profile, one at a time, in order.
class SorgentePunti {
 public:
  virtual ~SorgentePunti() = default;
  virtual std::optional<PuntoProfilo> prossimo() = 0;
};

// A traced profile walked run by run, as the profile file would hold it.
class PuntiTracciati : public SorgentePunti {
 public:
  explicit PuntiTracciati(const TracciatoLinea& tracciato) : t_(tracciato), cammino_(tracciato) {}

  std::optional<PuntoProfilo> prossimo() override {
    if (indice_ >= static_cast<std::size_t>(std::max(t_.punti, 0))) return std::nullopt;
    PuntoProfilo p;
    p.indice = indice_;
    ProfiloLinea etichette;
    etichette.assegnati = t_.assegnati;
    p.etichetta = etichette.etichetta(static_cast<std::int32_t>(indice_));
    if (p.etichetta != ProfiloLinea::kVuoto) {
      if (indice_ < 2) {
        p.x = kInizioX[indice_];
        p.y = kInizioY[indice_];
      } else {
        cammino_.avanza(1, [&p](double x, double y) {
          p.x = x;
          p.y = y;
        });
      }
    }
    ++indice_;
    return p;
  }

 private:
  const TracciatoLinea& t_;
  CamminoTracciato cammino_;
  std::size_t indice_ = 0;
};

// A profile file decoded whole.
class PuntiDecodificati : public SorgentePunti {
 public:
  explicit PuntiDecodificati(std::string_view byte) : p_(decodifica_profilo_linea(byte)) {}

  std::optional<PuntoProfilo> prossimo() override {
    if (indice_ >= p_.x.size()) return std::nullopt;
    const PuntoProfilo p{indice_, p_.etichetta(static_cast<std::int32_t>(indice_)), p_.x[indice_],
                         p_.y[indice_]};
    ++indice_;
    return p;
  }

 private:
  ProfiloLinea p_;
  std::size_t indice_ = 0;
};

// Points of one kind of difference: how many, the first and the last, and
// the largest distance between the two positions.
struct Conteggio {
  std::size_t punti = 0;
  std::size_t primo = 0;
  std::size_t ultimo = 0;
  double massimo = 0.0;

  void aggiungi(std::size_t indice) {
    if (punti == 0) primo = indice;
    ultimo = indice;
    ++punti;
  }
};

bool assegnato(const PuntoProfilo* p) {
  return p != nullptr && p->etichetta != ProfiloLinea::kVuoto;
}

bool stesso_valore(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

struct ConfrontoPunti {
  Conteggio cambiati, aggiunti, rimossi;
  std::size_t punti_a = 0, punti_b = 0;

  void confronta(const PuntoProfilo* a, const PuntoProfilo* b) {
    if (a != nullptr) punti_a = a->indice + 1;
    if (b != nullptr) punti_b = b->indice + 1;
    const std::size_t indice = a != nullptr ? a->indice : b->indice;
    if (assegnato(a) && assegnato(b)) {
      if (a->etichetta == b->etichetta && stesso_valore(a->x, b->x) && stesso_valore(a->y, b->y)) return;
      cambiati.aggiungi(indice);
      const double distanza = std::hypot(a->x - b->x, a->y - b->y);
      if (std::isfinite(distanza)) cambiati.massimo = std::max(cambiati.massimo, distanza);
    } else if (assegnato(a)) {
      rimossi.aggiungi(indice);
    } else if (assegnato(b)) {
      aggiunti.aggiungi(indice);
    }
  }
};

// The file's points handed over as it is read, each beside the other side's.
void scorri_contro(std::string_view byte, SorgentePunti& altra, bool file_e_dopo, ConfrontoPunti& c) {
  scorri_profilo_linea(byte, [&](const PuntoProfilo& p) {
    const auto q = altra.prossimo();
    const PuntoProfilo* dell_altra = q ? &*q : nullptr;
    if (file_e_dopo) {
      c.confronta(dell_altra, &p);
    } else {
      c.confronta(&p, dell_altra);
    }
  });
  while (const auto q = altra.prossimo()) {
    if (file_e_dopo) {
      c.confronta(&*q, nullptr);
    } else {
      c.confronta(nullptr, &*q);
    }
  }
}

std::unique_ptr<SorgentePunti> sorgente(const ProfiloLato& lato) {
  if (lato.origine == ProfiloLato::Origine::tracciato) {
    return std::make_unique<PuntiTracciati>(lato.tracciato);
  }
  return std::make_unique<PuntiDecodificati>(lato.byte);
}

ConfrontoPunti confronta_punti(const ProfiloLato& a, const ProfiloLato& b) {
  ConfrontoPunti c;
  if (b.origine == ProfiloLato::Origine::file) {
    const auto sa = sorgente(a);
    scorri_contro(b.byte, *sa, true, c);
  } else if (a.origine == ProfiloLato::Origine::file) {
    const auto sb = sorgente(b);
    scorri_contro(a.byte, *sb, false, c);
  } else {
    const auto sa = sorgente(a);
    const auto sb = sorgente(b);
    for (;;) {
      const auto pa = sa->prossimo();
      const auto pb = sb->prossimo();
      if (!pa && !pb) break;
      c.confronta(pa ? &*pa : nullptr, pb ? &*pb : nullptr);
    }
  }
  return c;
}

// "0.80": metres with two decimals, rounded half to even.
std::string testo_distanza(double metri) {
  if (metri >= 1e12) {
    char testo[40];
    std::snprintf(testo, sizeof testo, "%.3g", metri);
    return testo;
  }
  const auto centesimi = static_cast<std::int64_t>(arrotonda_pari(metri * 100.0));
  if (centesimi == 0 && metri > 0) return "less than 0.01";
  std::string testo = con_migliaia(centesimi / 100);
  testo += '.';
  testo += static_cast<char>('0' + centesimi % 100 / 10);
  testo += static_cast<char>('0' + centesimi % 10);
  return testo;
}

std::string punti_testo(std::size_t punti) {
  std::string testo = con_migliaia(static_cast<std::int64_t>(punti));
  testo += punti == 1 ? " point" : " points";
  return testo;
}

// "profile: 1,203 points differ, km 4.00-4.60, at most 0.80 m".
Differenza riga_punti(const Conteggio& conteggio, const char* come, Cambio cambio) {
  Differenza d;
  d.caratteristica = "profile";
  d.campo = "points";
  d.cambio = cambio;
  d.inizio_m = static_cast<std::int64_t>(conteggio.primo);
  d.fine_m = static_cast<std::int64_t>(conteggio.ultimo);
  d.testo = "profile: ";
  d.testo += punti_testo(conteggio.punti);
  d.testo += ' ';
  d.testo += come;
  d.testo += ", km ";
  d.testo += testo_km(*d.inizio_m);
  d.testo += '-';
  d.testo += testo_km(*d.fine_m);
  d.quanti = static_cast<std::int64_t>(conteggio.punti);
  if (cambio == Cambio::cambiato) {
    d.distanza_massima_m = conteggio.massimo;
    d.testo += ", at most ";
    d.testo += testo_distanza(conteggio.massimo);
    d.testo += " m";
  }
  return d;
}

}  // namespace

void confronta_profili(const ProfiloLato& a, const ProfiloLato& b, std::vector<Differenza>& differenze) {
  using Origine = ProfiloLato::Origine;
  if (a.origine == Origine::assente && b.origine == Origine::assente) return;
  if (a.origine == Origine::assente || b.origine == Origine::assente) {
    Differenza d;
    d.caratteristica = "profile";
    d.cambio = a.origine == Origine::assente ? Cambio::aggiunto : Cambio::rimosso;
    (d.cambio == Cambio::aggiunto ? d.dopo : d.prima) = "present";
    d.testo = "line profile: ";
    d.testo += nome_cambio(d.cambio);
    differenze.push_back(std::move(d));
    return;
  }
  const ConfrontoPunti c = confronta_punti(a, b);
  if (c.punti_a != c.punti_b) {
    const VoceDifferenza voce{"profile", "length", "profile length", "", std::nullopt, std::nullopt, "points"};
    differenze.push_back(componi(voce, con_migliaia(static_cast<std::int64_t>(c.punti_a)),
                                 con_migliaia(static_cast<std::int64_t>(c.punti_b))));
  }
  if (c.cambiati.punti > 0) differenze.push_back(riga_punti(c.cambiati, "differ", Cambio::cambiato));
  if (c.aggiunti.punti > 0) differenze.push_back(riga_punti(c.aggiunti, "added", Cambio::aggiunto));
  if (c.rimossi.punti > 0) differenze.push_back(riga_punti(c.rimossi, "removed", Cambio::rimosso));
}

}  // namespace gs

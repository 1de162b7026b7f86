#include "tool/confronto.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "base/testo_utf8.h"
#include "tool/confronto_record.h"
#include "tool/confronto_testo.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

using Tabella = std::array<Record, kNumeroRecord>;
using Celle = std::vector<Cella>;

// ---- Per-cell values: runs of cells with the same change ----------------------

struct CampoCella {
  const char* caratteristica;
  const char* etichetta;
  const char* unita;
  std::string (*testo)(const Cella&);
};

const CampoCella kCampiCella[] = {
    {"speed_limit", "speed limit", "km/h",
     [](const Cella& c) { return std::to_string(velocita_kmh(c.velocita)); }},
    {"gradient", "gradient", "per mille",
     [](const Cella& c) { return con_segno(pendenza_permille(c.pendenza)); }},
    {"adhesion", "adhesion", "", [](const Cella& c) { return std::to_string(c.aderenza); }},
    {"mountain_kind", "mountain kind", "",
     [](const Cella& c) { return std::to_string(c.montagna); }},
};

std::optional<std::string> valore_in(const Celle& celle, std::size_t i, const CampoCella& campo) {
  if (i >= celle.size()) return std::nullopt;
  return campo.testo(celle[i]);
}

// Cells [primo, dopo_ultimo) as "km 15.00-17.00".
std::string tratto_km(std::size_t primo, std::size_t dopo_ultimo) {
  std::string testo("km ");
  testo += testo_km(metri_cella(static_cast<std::int64_t>(primo)));
  testo += '-';
  testo += testo_km(metri_cella(static_cast<std::int64_t>(dopo_ultimo)));
  return testo;
}

// One field along the track: consecutive cells whose value changes the same
// way make one difference; cells only one side has are added or removed.
void confronta_campo_celle(const Celle& a, const Celle& b, const CampoCella& campo,
                           std::vector<Differenza>& differenze) {
  const std::size_t n = std::max(a.size(), b.size());
  std::optional<std::string> prima, dopo;
  std::size_t inizio = 0;
  bool aperta = false;
  const auto chiudi = [&](std::size_t fine) {
    VoceDifferenza voce{campo.caratteristica, "", tratto_km(inizio, fine),
              campo.etichetta, metri_cella(static_cast<std::int64_t>(inizio)),
              metri_cella(static_cast<std::int64_t>(fine)), campo.unita};
    differenze.push_back(componi(voce, prima, dopo));
    aperta = false;
  };
  for (std::size_t i = 0; i < n; ++i) {
    auto va = valore_in(a, i, campo);
    auto vb = valore_in(b, i, campo);
    const bool diverso = va != vb;
    if (aperta && (!diverso || va != prima || vb != dopo)) chiudi(i);
    if (diverso && !aperta) {
      aperta = true;
      inizio = i;
      prima = std::move(va);
      dopo = std::move(vb);
    }
  }
  if (aperta) chiudi(n);
}

// The cells one side has beyond the other's end.
void confronta_lunghezza_celle(const Celle& a, const Celle& b, std::vector<Differenza>& differenze) {
  if (a.size() == b.size()) return;
  const std::size_t corta = std::min(a.size(), b.size());
  const std::size_t lunga = std::max(a.size(), b.size());
  std::string quante = con_migliaia(static_cast<std::int64_t>(lunga - corta));
  quante += lunga - corta == 1 ? " cell" : " cells";
  VoceDifferenza voce{"track", "", tratto_km(corta, lunga), "track",
            metri_cella(static_cast<std::int64_t>(corta)),
            metri_cella(static_cast<std::int64_t>(lunga)), ""};
  if (a.size() > b.size()) {
    differenze.push_back(componi(voce, quante, std::nullopt));
  } else {
    differenze.push_back(componi(voce, std::nullopt, quante));
  }
}

// The approach marks follow the signals and stops they stand in front of:
// one line says how many cells differ and where.
void confronta_avvicinamenti(const Celle& a, const Celle& b, std::vector<Differenza>& differenze) {
  std::size_t quante = 0, primo = 0, ultimo = 0;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const int va = i < a.size() ? a[i].avvicinamento : 0;
    const int vb = i < b.size() ? b[i].avvicinamento : 0;
    if (va == vb) continue;
    if (quante == 0) primo = i;
    ultimo = i;
    ++quante;
  }
  if (quante == 0) return;
  Differenza d;
  d.caratteristica = "approach_marks";
  d.inizio_m = metri_cella(static_cast<std::int64_t>(primo));
  d.fine_m = metri_cella(static_cast<std::int64_t>(ultimo + 1));
  d.testo = "approach marks: ";
  d.testo += con_migliaia(static_cast<std::int64_t>(quante));
  d.testo += quante == 1 ? " cell differs, " : " cells differ, ";
  d.testo += tratto_km(primo, ultimo + 1);
  d.quanti = static_cast<std::int64_t>(quante);
  differenze.push_back(std::move(d));
}

// ---- Typed cells: features at a position ----------------------------------------

// The records a cell's record index points into, when they are known.
struct Contesto {
  const Tabella* record = nullptr;
};

// The name in record `indice` (records known); an index past the records says so.
std::string nome_record(const Contesto& contesto, std::int16_t indice) {
  if (indice >= 0 && indice < kNumeroRecord) {
    return (*contesto.record)[static_cast<std::size_t>(indice)].nome;
  }
  std::string testo("no record ");
  testo += std::to_string(indice);
  return testo;
}

// Bits of the stored values a field of a typed cell shows.
enum Copre : unsigned {
  kValore1 = 1,
  kValore2 = 2,
  kValore3 = 4,
  kValore4 = 8,
  kTempo = 16,
};

struct CampoTipo {
  const char* etichetta;
  const char* unita;
  unsigned copre;
  std::function<std::string(const Cella&, const Contesto&)> testo;
  bool virgolette = false;  // a text, quoted in the line
  bool grezzo = false;      // a stored value the type does not use
};

struct DescrizioneTipo {
  const char* caratteristica;
  std::string nome;
  int scostamento;  // the cell stands this many cells after the position the author gave
  std::vector<CampoTipo> campi;
};

std::string tre_cifre(const int (&cifre)[3]) {
  return std::to_string(cifre[0]) + " " + std::to_string(cifre[1]) + " " + std::to_string(cifre[2]);
}

std::string velocita_tabella(const Cella& c, bool sinistra) {
  std::string testo;
  for (const std::int16_t codice : {c.valore1, c.valore2, c.valore3}) {
    const CoppiaVelocita coppia = coppia_velocita(codice);
    if (!testo.empty()) testo += ' ';
    testo += std::to_string(sinistra ? coppia.sinistra_kmh : coppia.destra_kmh);
  }
  return testo;
}


// How a cell of type `tipo` is told; `con_record`: the records are known, so
// a stop marker names its station and a sign gives its text.
DescrizioneTipo descrizione_tipo(std::uint8_t tipo, bool con_record) {
  const auto indice = [](const Cella& c, const Contesto&) { return testo_intero(c.valore1); };
  switch (tipo) {
    case kCellaSegnale:
      return {"signal", "signal", 1,
              {{"left kind", "", kValore4,
                [](const Cella& c, const Contesto&) { return testo_intero(aspetti_segnale(c).tipo_sinistro); }},
               {"left aspects", "", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return tre_cifre(aspetti_segnale(c).cifre_sinistre); }},
               {"right kind", "", kValore4,
                [](const Cella& c, const Contesto&) { return testo_intero(aspetti_segnale(c).tipo_destro); }},
               {"right aspects", "", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return tre_cifre(aspetti_segnale(c).cifre_destre); }},
               {"rapp", "", kValore4,
                [](const Cella& c, const Contesto&) { return testo_intero(aspetti_segnale(c).rapp); }},
               {"signal time", "", kTempo,
                [](const Cella& c, const Contesto&) { return testo_intero(c.tempo_segnale); }}}};
    case kCellaFineRallentamento:
    case kCellaInizioRallentamento:
      return {tipo == kCellaInizioRallentamento ? "slowdown_start" : "slowdown_end",
              tipo == kCellaInizioRallentamento ? "slowdown start" : "slowdown end",
              1,
              {{"speed", "km/h", kValore1, [](const Cella& c, const Contesto&) { return testo_intero(c.valore1); }},
               {"d_v", "", kValore2, [](const Cella& c, const Contesto&) { return testo_intero(c.valore2); }},
               {"f_tt", "", kValore3, [](const Cella& c, const Contesto&) { return testo_intero(c.valore3); }}}};
    case kCellaAvvisoRallentamento:
      return {"slowdown_warning", "slowdown warning board", 1,
              {{"speed", "km/h", kValore1, [](const Cella& c, const Contesto&) { return testo_intero(c.valore1); }},
               {"d_v", "", kValore2, [](const Cella& c, const Contesto&) { return testo_intero(c.valore2); }}}};
    case kCellaAvvicinamentoRallentamento:
      return {"slowdown_approach", "slowdown approach", 0,
              {{"step", "", kValore1, [](const Cella& c, const Contesto&) { return testo_intero(c.valore1); }},
               {"d_v step", "", kValore2, [](const Cella& c, const Contesto&) { return testo_intero(c.valore2); }}}};
    case kCellaIndicatoreVelocita:
      return {"speed_board", "speed board", 1,
              {{"left speeds", "km/h", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return velocita_tabella(c, true); }},
               {"right speeds", "km/h", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return velocita_tabella(c, false); }},
               {"stripes", "", kValore4, [](const Cella& c, const Contesto&) {
                  const Strisce s = strisce_indicatore(c.valore4);
                  return testo_intero(s.sinistra) + " " + testo_intero(s.destra);
                }}}};
    case kCellaFermata:
      // The stop marker stands on the cell before the stopping point.
      return {"stop_marker", "stop marker", -1,
              {con_record ? CampoTipo{"station", "", kValore1,
                                      [](const Cella& c, const Contesto& x) { return nome_record(x, c.valore1); }}
                          : CampoTipo{"station record", "", kValore1, indice}}};
    case kCellaMontagna: return {"mountain_mark", "mountain mark", 0, {}};
    case kCellaAbbattimento:
      return {"abbattimento_marker", "abbattimento marker", 0,
              {{"value", "", kValore1, [](const Cella& c, const Contesto&) { return testo_intero(c.valore1); }}}};
    case kCellaAbbattimentoSenzaValore:
      return {"abbattimento_marker_without_value", "abbattimento marker without value", 0, {}};
    case kCellaCartello:
      return {"sign", "sign", 1,
              {con_record ? CampoTipo{"text", "", kValore1,
                                      [](const Cella& c, const Contesto& x) { return nome_record(x, c.valore1); },
                                      true}
                          : CampoTipo{"text record", "", kValore1, indice}}};
    case kCellaLibera: return {"plain_cell", "plain cell", 0, {}};
    default: return {"unknown_cell", std::string("cell of type ") += std::to_string(tipo), 0, {}};
  }
}

// The stored values no field of the type shows, by their stored names.
void aggiungi_valori_grezzi(DescrizioneTipo& descrizione) {
  unsigned coperti = 0;
  for (const CampoTipo& campo : descrizione.campi) coperti |= campo.copre;
  const struct {
    unsigned bit;
    const char* etichetta;
    std::int64_t (*valore)(const Cella&);
  } grezzi[] = {
      {kValore1, "value1", [](const Cella& c) -> std::int64_t { return c.valore1; }},
      {kValore2, "value2", [](const Cella& c) -> std::int64_t { return c.valore2; }},
      {kValore3, "value3", [](const Cella& c) -> std::int64_t { return c.valore3; }},
      {kValore4, "value4", [](const Cella& c) -> std::int64_t { return c.valore4; }},
      {kTempo, "signal time", [](const Cella& c) -> std::int64_t { return c.tempo_segnale; }},
  };
  for (const auto& g : grezzi) {
    if ((coperti & g.bit) != 0) continue;
    const auto valore = g.valore;
    descrizione.campi.push_back({g.etichetta, "", g.bit,
                                 [valore](const Cella& c, const Contesto&) { return testo_intero(valore(c)); },
                                 false, true});
  }
}

// A cell's feature, if it holds one: a type, or stored values on plain track.
// Cell 1's first two values are the track file's header, compared apart.
std::optional<Cella> elemento(const Celle& celle, std::size_t i) {
  if (i >= celle.size()) return std::nullopt;
  Cella c = celle[i];
  if (i == 1) c.valore1 = c.valore2 = 0;
  const bool valori = c.valore1 != 0 || c.valore2 != 0 || c.valore3 != 0 || c.valore4 != 0 ||
                      c.tempo_segnale != 0;
  if (c.tipo == kCellaLibera && !valori) return std::nullopt;
  return c;
}

std::int64_t posizione_elemento(std::size_t cella, const DescrizioneTipo& d) {
  return metri_cella(static_cast<std::int64_t>(cella) - d.scostamento);
}

std::string dove_elemento(const DescrizioneTipo& d, std::int64_t metri) {
  std::string testo = d.nome;
  testo += " at ";
  testo += testo_km(metri);
  testo += " km";
  return testo;
}

// "left kind 2, left aspects 4 0 0, ...": what a feature added or removed
// holds; the stored values its type does not use, where they are not 0.
std::string riassunto(const Cella& c, const DescrizioneTipo& d, const Contesto& x) {
  std::string testo;
  for (const CampoTipo& campo : d.campi) {
    const std::string valore = campo.testo(c, x);
    if (campo.grezzo && valore == "0") continue;
    if (!testo.empty()) testo += ", ";
    testo += campo.etichetta;
    testo += ' ';
    testo += campo.virgolette ? tra_virgolette(valore) : testo_visibile(valore);
    if (*campo.unita != '\0') {
      testo += ' ';
      testo += campo.unita;
    }
  }
  return testo;
}

void elemento_testo_intero(const Cella& c, std::size_t cella, const Contesto& x, bool aggiunto,
                     std::vector<Differenza>& differenze) {
  DescrizioneTipo d = descrizione_tipo(c.tipo, x.record != nullptr);
  aggiungi_valori_grezzi(d);
  const std::int64_t metri = posizione_elemento(cella, d);
  VoceDifferenza voce{d.caratteristica, "", dove_elemento(d, metri), "", metri, std::nullopt, ""};
  const std::string contenuto = riassunto(c, d, x);
  differenze.push_back(aggiunto ? componi(voce, std::nullopt, contenuto)
                                : componi(voce, contenuto, std::nullopt));
}

void confronta_elementi(const Celle& a, const Celle& b, const Contesto& xa, const Contesto& xb,
                        std::vector<Differenza>& differenze) {
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const auto ea = elemento(a, i);
    const auto eb = elemento(b, i);
    if (!ea && !eb) continue;
    if (ea && eb && ea->tipo == eb->tipo) {
      DescrizioneTipo d = descrizione_tipo(ea->tipo, xa.record != nullptr && xb.record != nullptr);
      aggiungi_valori_grezzi(d);
      const std::int64_t metri = posizione_elemento(i, d);
      for (const CampoTipo& campo : d.campi) {
        const std::string prima = campo.testo(*ea, xa);
        const std::string dopo = campo.testo(*eb, xb);
        if (prima == dopo) continue;
        VoceDifferenza voce{d.caratteristica, chiave(campo.etichetta), dove_elemento(d, metri),
                  campo.etichetta, metri, std::nullopt, campo.unita, campo.virgolette};
        differenze.push_back(componi(voce, prima, dopo));
      }
      continue;
    }
    if (ea) elemento_testo_intero(*ea, i, xa, false, differenze);
    if (eb) elemento_testo_intero(*eb, i, xb, true, differenze);
  }
}

// Cell 1's first two values: the track file's stamp and the plain race code.
void confronta_testata_celle(const Celle& a, const Celle& b, std::vector<Differenza>& differenze) {
  const struct {
    const char* etichetta;
    std::int16_t Cella::*valore;
  } campi[] = {{"track file stamp", &Cella::valore1}, {"plain race code", &Cella::valore2}};
  for (const auto& campo : campi) {
    std::optional<std::string> prima, dopo;
    if (a.size() > 1) prima = testo_intero(a[1].*campo.valore);
    if (b.size() > 1) dopo = testo_intero(b[1].*campo.valore);
    if (prima == dopo) continue;
    VoceDifferenza voce{"track_header", chiave(campo.etichetta), campo.etichetta, "", std::nullopt,
              std::nullopt, ""};
    differenze.push_back(componi(voce, prima, dopo));
  }
}

// The same features may still be stored otherwise: stations or sign texts in
// other records, cells pointing at them by other indexes. Never "equal" then.
void confronta_disposizione(const LatoConfronto& a, const LatoConfronto& b,
                            std::vector<Differenza>& differenze) {
  if (!differenze.empty()) return;
  const bool record = a.record && b.record && *a.record != *b.record;
  const bool celle = a.celle && b.celle && *a.celle != *b.celle;
  if (!record && !celle) return;
  Differenza d;
  d.caratteristica = "storage_order";
  d.testo = record ? "records: the same stations and sign texts, stored in other records"
                   : "cells: the same features, pointing at their records by other indexes";
  differenze.push_back(std::move(d));
}

}  // namespace

const char* nome_cambio(Cambio cambio) {
  switch (cambio) {
    case Cambio::aggiunto: return "added";
    case Cambio::rimosso: return "removed";
    case Cambio::cambiato: break;
  }
  return "changed";
}

std::vector<Differenza> confronta(const LatoConfronto& a, const LatoConfronto& b) {
  std::vector<Differenza> differenze;
  if (a.record && b.record) confronta_record(*a.record, a.celle, *b.record, b.celle, differenze);
  if (a.celle && b.celle) {
    confronta_testata_celle(*a.celle, *b.celle, differenze);
    confronta_lunghezza_celle(*a.celle, *b.celle, differenze);
    for (const CampoCella& campo : kCampiCella) {
      confronta_campo_celle(*a.celle, *b.celle, campo, differenze);
    }
    const Contesto xa{a.record ? &*a.record : nullptr};
    const Contesto xb{b.record ? &*b.record : nullptr};
    confronta_elementi(*a.celle, *b.celle, xa, xb, differenze);
    confronta_avvicinamenti(*a.celle, *b.celle, differenze);
  }
  if (a.profilo && b.profilo) confronta_profili(*a.profilo, *b.profilo, differenze);
  confronta_disposizione(a, b, differenze);
  std::stable_sort(differenze.begin(), differenze.end(), [](const Differenza& x, const Differenza& y) {
    if (x.inizio_m.has_value() != y.inizio_m.has_value()) return !x.inizio_m.has_value();
    return x.inizio_m.value_or(0) < y.inizio_m.value_or(0);
  });
  return differenze;
}

}  // namespace gs

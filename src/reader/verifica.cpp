#include "reader/verifica.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>

#include "base/testo_utf8.h"
#include "reader/lettore_campi.h"
#include "reader/righe_descrizione.h"
#include "reader/tabelle.h"

namespace gs {
namespace {

// ---- The kinds of entry -------------------------------------------------------

// A number of a record: its name, as the message says it.
struct Regola {
  TipoVoce tipo;
  const char* nome;                   // as messages name the entry
  std::vector<const char*> campi;     // the numbers after the keyword
  bool con_testo = false;             // a text follows the numbers
  int campo_posizione = -1;           // which number is a position in metres
  int margine = 100;                  // the range check's margin (m)
};

const Regola kRegole[] = {
    {TipoVoce::lunghezza, "lunghezza percorso", {"route length"}},
    {TipoVoce::progressiva, "progressiva chilometrica", {"first value", "second value", "flag"}},
    {TipoVoce::sfondo, "sfondo", {"background"}},
    {TipoVoce::ripetizione, "ripetizione segnali", {"start", "end"}},
    {TipoVoce::pendenza, "pendenza", {"position", "gradient"}, false, 0},
    {TipoVoce::curva, "curva", {"start", "length"}, false, 0},
    {TipoVoce::indicatore, "indicatori_vmax",
     {"position", "vas", "vbs", "vcs", "strisces", "vad", "vbd", "vcd", "strisced"}, false, 0},
    {TipoVoce::montagna, "montagna", {"start", "end", "kind"}, false, 0},
    {TipoVoce::cartello, "cartello indicatore", {"position"}, true, 0},
    {TipoVoce::vetture, "numero vetture", {"coaches"}},
    {TipoVoce::massa_frenata, "percentuale massa frenata", {"braked mass"}},
    {TipoVoce::sabbia, "sabbia", {"sand"}},
    {TipoVoce::orologio, "orologio", {"hours", "minutes", "seconds"}},
    {TipoVoce::aderenza, "aderenza", {"position", "adhesion"}, false, 0},
    {TipoVoce::velocita, "velocita' limite", {"position", "speed"}, false, 0},
    {TipoVoce::stazione, "stazione",
     {"position", "kind", "platform length", "tps", "tab", "mar", "rd2", "rd3", "rap", "d1", "d2",
      "d3", "ac", "hours", "minutes", "seconds"},
     true, 0, 800},
    {TipoVoce::segnale, "segnale",
     {"position", "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "tempo"}, false, 0},
    {TipoVoce::rallentamento, "rallentamento", {"x", "v", "l", "f_tt", "f_ta", "d_v"}, false, 0},
    {TipoVoce::abbattimento, "abbattimento", {"position", "value"}, false, 0},
};

const Regola& regola(TipoVoce tipo) {
  return *std::find_if(std::begin(kRegole), std::end(kRegole),
                       [tipo](const Regola& r) { return r.tipo == tipo; });
}

bool ha(std::string_view campo, std::string_view chiave) { return contiene_senza_caso(campo, chiave); }

// The kind a keyword field names in the line file's general section, as the
// reader tests it (some of its tests take the case as it is).
std::optional<TipoVoce> tipo_generale(std::string_view c) {
  if (ha(c, "percorso") && ha(c, "lunghezza")) return TipoVoce::lunghezza;
  if (contiene(c, "progressiva") && (contiene(c, "tre") || contiene(c, "due") || contiene(c, "uno"))) {
    return TipoVoce::progressiva;
  }
  if (contiene(c, "sfondo") && (contiene(c, "uno") || contiene(c, "due") || contiene(c, "tre"))) {
    return TipoVoce::sfondo;
  }
  if (contiene(c, "segnali") && contiene(c, "ripetizione")) return TipoVoce::ripetizione;
  return std::nullopt;
}

std::optional<TipoVoce> tipo_linea(std::string_view c) {
  if (ha(c, "pendenza")) return TipoVoce::pendenza;
  if (ha(c, "curva")) return TipoVoce::curva;
  if (ha(c, "montagna")) return TipoVoce::montagna;
  if (ha(c, "indicatori_v")) return TipoVoce::indicatore;
  if (ha(c, "cartello") && ha(c, "indicat")) return TipoVoce::cartello;
  return std::nullopt;
}

std::optional<TipoVoce> tipo_treno(std::string_view c) {
  if (ha(c, "frenata") && ha(c, "massa")) return TipoVoce::massa_frenata;
  if (ha(c, "vetture")) return TipoVoce::vetture;
  if (ha(c, "velocit")) return TipoVoce::velocita;
  if (ha(c, "aderenza")) return TipoVoce::aderenza;
  if (ha(c, "orologio")) return TipoVoce::orologio;
  if (ha(c, "sabbia")) return TipoVoce::sabbia;
  if (ha(c, "segnale")) return TipoVoce::segnale;
  if (ha(c, "rallentamento")) return TipoVoce::rallentamento;
  if (ha(c, "abbattimento")) return TipoVoce::abbattimento;
  if (ha(c, "stazione")) return TipoVoce::stazione;
  return std::nullopt;
}

const std::vector<std::string> kParoleGenerale = {
    "lunghezza percorso", "progressiva chilometrica uno", "progressiva chilometrica due",
    "progressiva chilometrica tre", "sfondo uno", "sfondo due", "sfondo tre",
    "ripetizione segnali 4 codici"};
const std::vector<std::string> kParoleLinea = {"pendenza", "curvas1", "curvad1", "montagna",
                                               "indicatori_vmax", "cartello indicatore"};
const std::vector<std::string> kParoleTreno = {
    "numero vetture", "percentuale massa frenata", "sabbia", "orologio", "aderenza",
    "velocita' limite", "stazione", "segnale", "rallentamento", "abbattimento"};
const std::vector<std::string> kSezioniLinea = {"[generale]", "[pendenze]", "[curve]",
                                                "[cartelli]", "[montagne]", "[indicazioni]",
                                                "[fine]"};
const std::vector<std::string> kSezioniTreno = {"[generale]", "[aderenze]", "[vel_limite]",
                                                "[stazioni]", "[rallentamenti]", "[segnali]",
                                                "[codici]", "[fine]"};

// ---- The pass -----------------------------------------------------------------

// An entry read, its numbers and its text.
struct Voce {
  TipoVoce tipo{};
  const Riga* riga = nullptr;
  std::vector<Campo> numeri;
  std::vector<std::int64_t> valori;  // as many as numeri, 0 where unreadable
  std::optional<Campo> testo;
};

class Controllo {
 public:
  explicit Controllo(Verifica& v) : v_(v) {}

  void file_linea(const std::string& nome, std::string_view testo);
  void file_treno(const std::string& nome, std::string_view testo);

 private:
  void segnala(Gravita g, const Riga* riga, std::int64_t colonna, const char* codice,
               std::string messaggio) {
    v_.diagnostiche.push_back(Diagnostica{g, file_, riga != nullptr ? riga->numero : 0, colonna,
                                          codice, std::move(messaggio)});
  }
  void errore(const Riga* r, std::int64_t col, const char* codice, std::string m) {
    segnala(Gravita::errore, r, col, codice, std::move(m));
  }
  void avviso(const Riga* r, std::int64_t col, const char* codice, std::string m) {
    segnala(Gravita::avviso, r, col, codice, std::move(m));
  }

  std::vector<Riga> prepara(std::string_view testo);
  void controlla_byte(const Riga& riga);
  std::optional<std::size_t> trova_generale(const std::vector<Riga>& righe);
  void fine_mancante(const std::vector<Riga>& righe);
  bool intestazione(const Riga& riga, const std::vector<std::string>& sezioni);
  bool commento(const Riga& riga) const;
  std::optional<Voce> leggi_voce(TipoVoce tipo, const Riga& riga);
  void sconosciuta(const Riga& riga, const std::vector<std::string>& parole, const char* dove);
  void controlla_posizione(const Voce& voce);
  void in_ordine(const Voce& voce, Gravita gravita);
  void intervallo(const Voce& voce, std::size_t n, std::int64_t minimo, std::int64_t massimo,
                  const char* perche, Gravita g = Gravita::errore);
  void multiplo(const Voce& voce, std::size_t n, std::int64_t passo, const char* codice,
                Gravita g = Gravita::errore);
  void controlla_linea(const Voce& voce);
  void controlla_treno(const Voce& voce);
  void controlla_stazione(const Voce& voce);
  void ricorda(const Voce& voce);

  Verifica& v_;
  std::string file_;
  std::optional<std::int64_t> lunghezza_;  // the route length, once read
  std::map<TipoVoce, std::pair<std::int64_t, const Riga*>> ultima_;  // last position per kind
  std::optional<std::int64_t> orario_precedente_;
  int stazioni_ = 0;
  bool orologio_ = false;
  std::optional<std::int64_t> prima_velocita_;
  std::optional<std::int64_t> prima_aderenza_;
};

std::vector<Riga> Controllo::prepara(std::string_view testo) {
  std::vector<Riga> righe = righe_di(testo);
  for (Riga& riga : righe) dividi_campi(riga);
  for (const Riga& riga : righe) {
    if (riga.virgolette_aperte) {
      errore(&riga, riga.campi.back().colonna, "unclosed-quote",
             "a quote opens here and is not closed on this line: the reader takes everything "
             "up to the next quote, lines included, as one field");
    }
    controlla_byte(riga);
  }
  return righe;
}

void Controllo::controlla_byte(const Riga& riga) {
  const std::string_view t = riga.testo;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto c = static_cast<unsigned char>(t[i]);
    if (c < 0x80) continue;
    if (sequenza_utf8_multibyte(t.substr(i)) > 0) {
      errore(&riga, static_cast<std::int64_t>(i) + 1, "not-windows-1252",
             "these bytes are UTF-8 text, which the simulator shows garbled: save the file as "
             "Windows-1252 (\"Western European\" in most editors)");
      return;
    }
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
      static constexpr char kCifre[] = "0123456789ABCDEF";
      avviso(&riga, static_cast<std::int64_t>(i) + 1, "not-windows-1252",
             std::string("byte 0x") + kCifre[c >> 4] + kCifre[c & 15] +
                 " is no character in Windows-1252");
    }
  }
}

bool Controllo::commento(const Riga& riga) const {
  return !riga.campi.empty() && riga.campi.front().testo.find('-') != std::string_view::npos;
}

std::optional<std::size_t> Controllo::trova_generale(const std::vector<Riga>& righe) {
  for (std::size_t i = 0; i < righe.size(); ++i) {
    for (const Campo& campo : righe[i].campi) {
      if (ha(campo.testo, "[generale]")) return i;
    }
  }
  // Not there: perhaps misspelt.
  for (const Riga& riga : righe) {
    if (riga.campi.empty()) continue;
    const std::string_view t = riga.campi.front().testo;
    if (t.find('[') == std::string_view::npos && t.find(']') == std::string_view::npos) continue;
    if (somigliante(t, {"[generale]"})) {
      errore(&riga, riga.campi.front().colonna, "missing-section",
             "no `[generale]` in this file, so the reader skips all of it: did you mean "
             "`[generale]` here?");
      return std::nullopt;
    }
  }
  errore(nullptr, 0, "missing-section",
         "no `[generale]` in this file: the reader skips everything before it, so all of it");
  return std::nullopt;
}

void Controllo::fine_mancante(const std::vector<Riga>& righe) {
  for (auto r = righe.rbegin(); r != righe.rend(); ++r) {
    if (r->testo.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (ha(r->testo, "[fine]")) return;
    errore(&*r, 0, "missing-end",
           "the file ends here without its closing `[fine]`: was it cut short?");
    return;
  }
}

bool Controllo::intestazione(const Riga& riga, const std::vector<std::string>& sezioni) {
  if (riga.campi.empty()) return false;
  const std::string_view t = riga.campi.front().testo;
  if (t.find('[') == std::string_view::npos || t.find(']') == std::string_view::npos) return false;
  const std::string nome = minuscolo(senza_spazi_in_coda(t));
  if (std::find(sezioni.begin(), sezioni.end(), nome) == sezioni.end()) {
    const auto simile = somigliante(nome, sezioni);
    avviso(&riga, riga.campi.front().colonna, "unknown-section",
           "section `" + senza_spazi_in_coda(t) + "` is not one this file has" +
               (simile ? "; did you mean `" + *simile + "`?" : ""));
  }
  return true;
}

void Controllo::sconosciuta(const Riga& riga, const std::vector<std::string>& parole,
                            const char* dove) {
  const Campo& campo = riga.campi.front();
  const std::string scritto = senza_spazi_in_coda(campo.testo);
  const auto simile = somigliante(scritto, parole);
  errore(&riga, campo.colonna, "unknown-keyword",
         "`" + scritto + "` is no keyword of " + dove + ", so the reader skips this line" +
             (simile ? "; did you mean `" + *simile + "`?" : ""));
}

std::optional<Voce> Controllo::leggi_voce(TipoVoce tipo, const Riga& riga) {
  const Regola& r = regola(tipo);
  Voce voce;
  voce.tipo = tipo;
  voce.riga = &riga;
  const std::size_t attesi = r.campi.size();
  if (r.con_testo) {
    // The numbers, each a field of its own, then the text.
    voce.numeri = gettoni(riga.campi, 1, 1 + attesi);
    if (riga.campi.size() > 1 + attesi) voce.testo = riga.campi[1 + attesi];
    if (riga.campi.size() > 2 + attesi) {
      const Campo& dopo = riga.campi[2 + attesi];
      errore(&riga, dopo.colonna - 1, "text-cut-by-comma",
             std::string("a comma cuts the ") + (tipo == TipoVoce::stazione ? "station name" : "sign text") +
                 ": the reader keeps `" + senza_spazi_in_coda(voce.testo->testo) +
                 "` and skips what follows; a name holds no comma");
    }
  } else {
    voce.numeri = gettoni(riga.campi, 1, riga.campi.size());
  }
  const std::int64_t fine_riga = static_cast<std::int64_t>(riga.testo.size()) + 1;
  if (voce.numeri.size() < attesi) {
    errore(&riga, voce.numeri.empty() ? fine_riga : voce.numeri.back().colonna, "missing-value",
           std::string("`") + r.nome + "` takes " + std::to_string(attesi) + " numbers (" +
               [&] {
                 std::string elenco;
                 for (const char* c : r.campi) elenco += (elenco.empty() ? "" : ", ") + std::string(c);
                 return elenco;
               }() +
               "), this line has " + std::to_string(voce.numeri.size()) +
               ": the reader would take the missing ones from the next line");
    return std::nullopt;
  }
  if (voce.numeri.size() > attesi && !r.con_testo) {
    avviso(&riga, voce.numeri[attesi].colonna, "extra-value",
           std::string("`") + r.nome + "` takes " + std::to_string(attesi) +
               " numbers; the reader takes this one as the next line's keyword field");
  }
  if (r.con_testo && !voce.testo) {
    errore(&riga, fine_riga, "missing-value",
           std::string("`") + r.nome + "` ends with its " +
               (tipo == TipoVoce::stazione ? "name" : "text") + ", which is missing");
    return std::nullopt;
  }
  bool leggibili = true;
  for (std::size_t i = 0; i < attesi; ++i) {
    const auto valore = intero(voce.numeri[i].testo);
    if (!valore || *valore < INT32_MIN || *valore > INT32_MAX) {
      errore(&riga, voce.numeri[i].colonna, "not-a-number",
             std::string(r.campi[i]) + " of `" + r.nome + "` must be a whole number, found `" +
                 testo_visibile(voce.numeri[i].testo) + "`");
      leggibili = false;
    }
    voce.valori.push_back(valore.value_or(0));
  }
  if (!leggibili) return std::nullopt;
  return voce;
}

void Controllo::ricorda(const Voce& voce) {
  VoceLetta letta;
  letta.tipo = voce.tipo;
  letta.file = file_;
  letta.riga = voce.riga->numero;
  letta.colonna = voce.riga->campi.front().colonna;
  const Regola& r = regola(voce.tipo);
  if (r.campo_posizione >= 0) letta.posizione = voce.valori[static_cast<std::size_t>(r.campo_posizione)];
  if (voce.tipo == TipoVoce::stazione && voce.testo) letta.nome = senza_spazi_in_coda(voce.testo->testo);
  v_.voci.push_back(std::move(letta));
}

void Controllo::intervallo(const Voce& voce, std::size_t n, std::int64_t minimo,
                           std::int64_t massimo, const char* perche, Gravita g) {
  const std::int64_t valore = voce.valori[n];
  if (valore >= minimo && valore <= massimo) return;
  const Regola& r = regola(voce.tipo);
  segnala(g, voce.riga, voce.numeri[n].colonna, "out-of-range",
          std::string(r.campi[n]) + " of `" + r.nome + "` must lie between " +
              std::to_string(minimo) + " and " + std::to_string(massimo) + ", found " +
              std::to_string(valore) + (*perche != '\0' ? std::string(": ") + perche : ""));
}

void Controllo::multiplo(const Voce& voce, std::size_t n, std::int64_t passo, const char* codice,
                         Gravita g) {
  const std::int64_t valore = voce.valori[n];
  if (valore % passo == 0) return;
  const Regola& r = regola(voce.tipo);
  segnala(g, voce.riga, voce.numeri[n].colonna, codice,
          std::string(r.campi[n]) + " of `" + r.nome + "` must be a multiple of " +
              std::to_string(passo) + ", found " + std::to_string(valore));
}

void Controllo::controlla_posizione(const Voce& voce) {
  const Regola& r = regola(voce.tipo);
  if (r.campo_posizione < 0 || !lunghezza_) return;
  const auto n = static_cast<std::size_t>(r.campo_posizione);
  const std::int64_t p = voce.valori[n];
  const double celle = std::nearbyint(static_cast<double>(*lunghezza_ + kProlungamento) / 50.0);
  if (celle < static_cast<double>(p + r.margine) / 50.0) {
    errore(voce.riga, voce.numeri[n].colonna, "beyond-track",
           "position " + std::to_string(p) + " m lies beyond the end of the track: the route is " +
               std::to_string(*lunghezza_) + " m long and the track ends " +
               std::to_string(kProlungamento) + " m after it (scenario error 15)");
  } else if (p > *lunghezza_) {
    avviso(voce.riga, voce.numeri[n].colonna, "beyond-route",
           "position " + std::to_string(p) + " m lies beyond the end of the route (" +
               std::to_string(*lunghezza_) + " m)");
  } else if (p < 0) {
    errore(voce.riga, voce.numeri[n].colonna, "out-of-range",
           "position " + std::to_string(p) + " m lies before the start of the line");
  }
}

void Controllo::in_ordine(const Voce& voce, Gravita gravita) {
  const Regola& r = regola(voce.tipo);
  const auto n = static_cast<std::size_t>(r.campo_posizione);
  const std::int64_t p = voce.valori[n];
  const auto precedente = ultima_.find(voce.tipo);
  if (precedente != ultima_.end() && p < precedente->second.first) {
    segnala(gravita, voce.riga, voce.numeri[n].colonna, "out-of-order",
            std::string("`") + r.nome + "` at " + std::to_string(p) + " m comes after the one at " +
                std::to_string(precedente->second.first) + " m (line " +
                std::to_string(precedente->second.second->numero) +
                "): positions of one kind must go forwards");
  }
  ultima_[voce.tipo] = {p, voce.riga};
}

void Controllo::controlla_linea(const Voce& voce) {
  switch (voce.tipo) {
    case TipoVoce::lunghezza:
      intervallo(voce, 0, 0, kLunghezzaMassimaLinea, "the longest route is 1000000 m");
      lunghezza_ = voce.valori[0];
      v_.lunghezza = lunghezza_;
      return;
    case TipoVoce::progressiva:
      multiplo(voce, 0, 50, "not-multiple");
      multiplo(voce, 1, 50, "not-multiple");
      return;
    case TipoVoce::ripetizione: {
      multiplo(voce, 0, 50, "not-multiple");
      multiplo(voce, 1, 50, "not-multiple");
      const std::string_view c = voce.riga->campi.front().testo;
      if (!contiene(c, "4") && !contiene(c, "9")) {
        errore(voce.riga, voce.riga->campi.front().colonna, "out-of-range",
               "`ripetizione segnali` names its code system with a 4 or a 9 (\"ripetizione "
               "segnali 4 codici\"), found neither");
      }
      if (voce.valori[1] != 0 && voce.valori[1] < voce.valori[0]) {
        errore(voce.riga, voce.numeri[1].colonna, "ends-before-start",
               "the signal repetition ends at " + std::to_string(voce.valori[1]) +
                   " m, before it starts at " + std::to_string(voce.valori[0]) + " m");
      }
      return;
    }
    case TipoVoce::pendenza:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::errore);
      intervallo(voce, 1, -100, 155, "the reader stores it plus 100 in one byte");
      return;
    case TipoVoce::curva: {
      controlla_posizione(voce);
      in_ordine(voce, Gravita::errore);
      const std::string_view c = voce.riga->campi.front().testo;
      if (c.find_first_of("123456") == std::string_view::npos) {
        errore(voce.riga, voce.riga->campi.front().colonna, "out-of-range",
               "a curve names its class with a digit 1 to 6 (\"curvas3\"), found none "
               "(scenario error 103)");
      }
      if (voce.valori[1] < 0) {
        errore(voce.riga, voce.numeri[1].colonna, "ends-before-start",
               "the curve's length is negative: it would end before it starts");
      } else if (voce.valori[0] + voce.valori[1] > kLunghezzaMassimaLinea) {
        errore(voce.riga, voce.numeri[1].colonna, "beyond-track",
               "the curve runs to " + std::to_string(voce.valori[0] + voce.valori[1]) +
                   " m; no curve may run past 1000000 m (scenario error 103)");
      } else if (lunghezza_ && voce.valori[0] + voce.valori[1] > *lunghezza_ + kProlungamento - 2) {
        errore(voce.riga, voce.numeri[1].colonna, "beyond-track",
               "the curve runs to " + std::to_string(voce.valori[0] + voce.valori[1]) +
                   " m, past the end of the line profile (the route is " +
                   std::to_string(*lunghezza_) + " m long)");
      }
      return;
    }
    case TipoVoce::indicatore:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      for (std::size_t n : {1u, 2u, 3u, 5u, 6u, 7u}) multiplo(voce, n, 5, "not-multiple", Gravita::avviso);
      return;
    case TipoVoce::montagna:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      if (voce.valori[1] < voce.valori[0]) {
        errore(voce.riga, voce.numeri[1].colonna, "ends-before-start",
               "the mountain stretch ends at " + std::to_string(voce.valori[1]) +
                   " m, before it starts at " + std::to_string(voce.valori[0]) + " m");
      }
      return;
    case TipoVoce::cartello:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      return;
    default: return;
  }
}

void Controllo::controlla_stazione(const Voce& voce) {
  controlla_posizione(voce);
  in_ordine(voce, Gravita::errore);
  ++stazioni_;
  multiplo(voce, 0, 50, "not-multiple");
  multiplo(voce, 2, 100, "not-multiple");
  for (std::size_t n : {1u, 3u, 4u, 5u, 8u, 12u}) intervallo(voce, n, 0, 255, "it is stored in one byte");
  for (std::size_t n : {6u, 7u, 9u, 10u, 11u}) intervallo(voce, n, -32768, 32767, "it is stored in 16 bits");
  intervallo(voce, 13, 0, 23, "", Gravita::avviso);
  intervallo(voce, 14, 0, 59, "", Gravita::avviso);
  intervallo(voce, 15, 0, 59, "", Gravita::avviso);
  const std::int64_t orario = (voce.valori[13] * 60 + voce.valori[14]) * 60 + voce.valori[15];
  // The last station (tps 1 after the first) carries no departure of its own.
  const bool ultima = stazioni_ > 1 && voce.valori[3] == 1;
  if (!ultima && orario_precedente_ && orario < *orario_precedente_) {
    avviso(voce.riga, voce.numeri[13].colonna, "time-backwards",
           "this stop's time comes before the previous stop's: the timetable runs backwards");
  }
  if (!ultima) orario_precedente_ = orario;
}

void Controllo::controlla_treno(const Voce& voce) {
  switch (voce.tipo) {
    case TipoVoce::vetture:
      intervallo(voce, 0, 0, INT32_MAX, "a train has no negative number of coaches");
      return;
    case TipoVoce::massa_frenata:
      intervallo(voce, 0, 0, INT32_MAX, "a braked mass is no negative percentage");
      return;
    case TipoVoce::sabbia: intervallo(voce, 0, -32768, 32767, "it is stored in 16 bits"); return;
    case TipoVoce::orologio:
      orologio_ = true;
      intervallo(voce, 0, 0, 23, "", Gravita::avviso);
      intervallo(voce, 1, 0, 59, "", Gravita::avviso);
      intervallo(voce, 2, 0, 59, "", Gravita::avviso);
      return;
    case TipoVoce::aderenza:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::errore);
      intervallo(voce, 1, 0, 255, "it is stored in one byte");
      if (!prima_aderenza_) prima_aderenza_ = voce.valori[0];
      return;
    case TipoVoce::velocita:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::errore);
      intervallo(voce, 1, 0, 1275, "it is stored in steps of 5 km/h in one byte");
      multiplo(voce, 1, 5, "not-multiple", Gravita::avviso);
      if (!prima_velocita_) prima_velocita_ = voce.valori[0];
      return;
    case TipoVoce::segnale:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      return;
    case TipoVoce::rallentamento:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      if (voce.valori[2] < 0) {
        errore(voce.riga, voce.numeri[2].colonna, "ends-before-start",
               "the slowdown's length is negative: it would end before it starts");
      }
      return;
    case TipoVoce::abbattimento:
      controlla_posizione(voce);
      in_ordine(voce, Gravita::avviso);
      return;
    case TipoVoce::stazione: controlla_stazione(voce); return;
    default: return;
  }
}

void Controllo::file_linea(const std::string& nome, std::string_view testo) {
  file_ = nome;
  const std::vector<Riga> righe = prepara(testo);
  const auto generale = trova_generale(righe);
  if (!generale) return;
  std::size_t i = *generale + 1;
  const Riga* riga_generale = &righe[*generale];
  // The general section, up to the next section header.
  for (; i < righe.size(); ++i) {
    const Riga& riga = righe[i];
    if (riga.campi.empty() || riga.testo.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (commento(riga)) continue;
    if (intestazione(riga, kSezioniLinea)) break;
    const auto tipo = tipo_generale(riga.campi.front().testo);
    if (!tipo) {
      sconosciuta(riga, kParoleGenerale, "the general section");
      continue;
    }
    if (auto voce = leggi_voce(*tipo, riga)) {
      controlla_linea(*voce);
      ricorda(*voce);
    }
  }
  if (!lunghezza_) {
    errore(riga_generale, 0, "missing-entry",
           "the general section has no `lunghezza percorso`: without a route length there is no "
           "track to compile");
  }
  for (; i < righe.size(); ++i) {
    const Riga& riga = righe[i];
    if (riga.campi.empty() || riga.testo.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (commento(riga) || intestazione(riga, kSezioniLinea)) continue;
    const auto tipo = tipo_linea(riga.campi.front().testo);
    if (!tipo) {
      sconosciuta(riga, kParoleLinea, "the line description file");
      continue;
    }
    if (auto voce = leggi_voce(*tipo, riga)) {
      controlla_linea(*voce);
      ricorda(*voce);
    }
  }
  fine_mancante(righe);
}

void Controllo::file_treno(const std::string& nome, std::string_view testo) {
  file_ = nome;
  ultima_.clear();
  const std::vector<Riga> righe = prepara(testo);
  const auto generale = trova_generale(righe);
  if (!generale) return;
  for (std::size_t i = *generale + 1; i < righe.size(); ++i) {
    const Riga& riga = righe[i];
    if (riga.campi.empty() || riga.testo.find_first_not_of(" \t") == std::string_view::npos) continue;
    if (commento(riga) || intestazione(riga, kSezioniTreno)) continue;
    const auto tipo = tipo_treno(riga.campi.front().testo);
    if (!tipo) {
      sconosciuta(riga, kParoleTreno, "the train description file");
      continue;
    }
    if (auto voce = leggi_voce(*tipo, riga)) {
      controlla_treno(*voce);
      ricorda(*voce);
    }
  }
  const Riga* inizio = &righe[*generale];
  if (!orologio_) {
    avviso(inizio, 0, "missing-entry", "no `orologio`: the run begins at 00:00:00");
  }
  if (!prima_velocita_ || *prima_velocita_ > 0) {
    avviso(inizio, 0, "missing-entry",
           "no `velocita' limite` from 0 m: the track before the first speed limit gets 0 km/h");
  }
  if (!prima_aderenza_ || *prima_aderenza_ > 0) {
    avviso(inizio, 0, "missing-entry",
           "no `aderenza` from 0 m: the track before the first adhesion value gets 0");
  }
  if (stazioni_ == 0) avviso(inizio, 0, "missing-entry", "the train has no `stazione`");
  fine_mancante(righe);
}

}  // namespace

Verifica verifica_descrizioni(const std::string& nome_linea, std::string_view linea,
                              const std::string& nome_treno, std::string_view treno) {
  Verifica verifica;
  Controllo controllo(verifica);
  controllo.file_linea(nome_linea, linea);
  controllo.file_treno(nome_treno, treno);
  return verifica;
}

std::string testo_diagnostica(const Diagnostica& d) {
  std::string testo = d.file;
  if (d.riga > 0) {
    testo += ':';
    testo += std::to_string(d.riga);
  }
  if (d.riga > 0 && d.colonna > 0) {
    testo += ':';
    testo += std::to_string(d.colonna);
  }
  testo += d.gravita == Gravita::errore ? ": error: " : ": warning: ";
  testo += d.messaggio;
  testo += " [";
  testo += d.codice;
  testo += ']';
  return testo;
}

bool con_errori(const std::vector<Diagnostica>& diagnostiche, bool severo) {
  return std::any_of(diagnostiche.begin(), diagnostiche.end(), [severo](const Diagnostica& d) {
    return d.gravita == Gravita::errore || severo;
  });
}

}  // namespace gs

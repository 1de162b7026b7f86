#include "tool/confronto.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <type_traits>

#include "base/testo_utf8.h"
#include "compiler/formato_compilati.h"
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
    Voce voce{campo.caratteristica, "", tratto_km(inizio, fine),
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
  Voce voce{"track", "", tratto_km(corta, lunga), "track",
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

std::string intero(std::int64_t valore) { return std::to_string(valore); }

// How a cell of type `tipo` is told; `con_record`: the records are known, so
// a stop marker names its station and a sign gives its text.
DescrizioneTipo descrizione_tipo(std::uint8_t tipo, bool con_record) {
  const auto indice = [](const Cella& c, const Contesto&) { return intero(c.valore1); };
  switch (tipo) {
    case kCellaSegnale:
      return {"signal", "signal", 1,
              {{"left kind", "", kValore4,
                [](const Cella& c, const Contesto&) { return intero(aspetti_segnale(c).tipo_sinistro); }},
               {"left aspects", "", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return tre_cifre(aspetti_segnale(c).cifre_sinistre); }},
               {"right kind", "", kValore4,
                [](const Cella& c, const Contesto&) { return intero(aspetti_segnale(c).tipo_destro); }},
               {"right aspects", "", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return tre_cifre(aspetti_segnale(c).cifre_destre); }},
               {"rapp", "", kValore4,
                [](const Cella& c, const Contesto&) { return intero(aspetti_segnale(c).rapp); }},
               {"signal time", "", kTempo,
                [](const Cella& c, const Contesto&) { return intero(c.tempo_segnale); }}}};
    case kCellaFineRallentamento:
    case kCellaInizioRallentamento:
      return {tipo == kCellaInizioRallentamento ? "slowdown_start" : "slowdown_end",
              tipo == kCellaInizioRallentamento ? "slowdown start" : "slowdown end",
              1,
              {{"speed", "km/h", kValore1, [](const Cella& c, const Contesto&) { return intero(c.valore1); }},
               {"d_v", "", kValore2, [](const Cella& c, const Contesto&) { return intero(c.valore2); }},
               {"f_tt", "", kValore3, [](const Cella& c, const Contesto&) { return intero(c.valore3); }}}};
    case kCellaAvvisoRallentamento:
      return {"slowdown_warning", "slowdown warning board", 1,
              {{"speed", "km/h", kValore1, [](const Cella& c, const Contesto&) { return intero(c.valore1); }},
               {"d_v", "", kValore2, [](const Cella& c, const Contesto&) { return intero(c.valore2); }}}};
    case kCellaAvvicinamentoRallentamento:
      return {"slowdown_approach", "slowdown approach", 0,
              {{"step", "", kValore1, [](const Cella& c, const Contesto&) { return intero(c.valore1); }},
               {"d_v step", "", kValore2, [](const Cella& c, const Contesto&) { return intero(c.valore2); }}}};
    case kCellaIndicatoreVelocita:
      return {"speed_board", "speed board", 1,
              {{"left speeds", "km/h", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return velocita_tabella(c, true); }},
               {"right speeds", "km/h", kValore1 | kValore2 | kValore3,
                [](const Cella& c, const Contesto&) { return velocita_tabella(c, false); }},
               {"stripes", "", kValore4, [](const Cella& c, const Contesto&) {
                  const Strisce s = strisce_indicatore(c.valore4);
                  return intero(s.sinistra) + " " + intero(s.destra);
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
              {{"value", "", kValore1, [](const Cella& c, const Contesto&) { return intero(c.valore1); }}}};
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
                                 [valore](const Cella& c, const Contesto&) { return intero(valore(c)); },
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

void elemento_intero(const Cella& c, std::size_t cella, const Contesto& x, bool aggiunto,
                     std::vector<Differenza>& differenze) {
  DescrizioneTipo d = descrizione_tipo(c.tipo, x.record != nullptr);
  aggiungi_valori_grezzi(d);
  const std::int64_t metri = posizione_elemento(cella, d);
  Voce voce{d.caratteristica, "", dove_elemento(d, metri), "", metri, std::nullopt, ""};
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
        Voce voce{d.caratteristica, chiave(campo.etichetta), dove_elemento(d, metri),
                  campo.etichetta, metri, std::nullopt, campo.unita, campo.virgolette};
        differenze.push_back(componi(voce, prima, dopo));
      }
      continue;
    }
    if (ea) elemento_intero(*ea, i, xa, false, differenze);
    if (eb) elemento_intero(*eb, i, xb, true, differenze);
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
    if (a.size() > 1) prima = intero(a[1].*campo.valore);
    if (b.size() > 1) dopo = intero(b[1].*campo.valore);
    if (prima == dopo) continue;
    Voce voce{"track_header", chiave(campo.etichetta), campo.etichetta, "", std::nullopt,
              std::nullopt, ""};
    differenze.push_back(componi(voce, prima, dopo));
  }
}

// ---- Records ----------------------------------------------------------------------

// One field of a record as a role shows it.
struct CampoRecord {
  const char* etichetta;
  const char* unita;
  std::vector<std::string_view> copre;  // the stored fields it shows
  std::function<std::string(const Record&)> testo;
  bool virgolette = false;  // a text, quoted in the line
};

std::string testo_orologio(const Record& r) {
  const auto due_cifre = [](std::int16_t v) {
    std::string t = std::to_string(v < 0 ? -v : v);
    if (t.size() < 2) t.insert(t.begin(), '0');
    if (v < 0) t.insert(t.begin(), '-');
    return t;
  };
  std::string testo = due_cifre(r.d1);
  testo += ':';
  testo += due_cifre(r.d2);
  testo += ':';
  testo += due_cifre(r.d3);
  return testo;
}

std::vector<CampoRecord> campi_stazione() {
  const auto km = [](std::int32_t Record::*campo) {
    return [campo](const Record& r) { return testo_km(r.*campo); };
  };
  return {
      {"kind", "", {"kind"}, [](const Record& r) { return intero(r.tipo); }},
      {"position", "km", {"position"}, km(&Record::posizione)},
      {"stop zone start", "km", {"stop_zone_start"}, km(&Record::inizio_fermata)},
      {"stop zone end", "km", {"stop_zone_end"}, km(&Record::fine_fermata)},
      {"scheduled time", "", {"scheduled_time"}, [](const Record& r) { return testo_orario(r.orario); }},
      {"name", "", {"name"}, [](const Record& r) { return r.nome; }, true},
  };
}

std::vector<CampoRecord> campi_progressiva() {
  return {
      {"first value", "m", {"stop_zone_start"}, [](const Record& r) { return con_migliaia(r.inizio_fermata); }},
      {"second value", "m", {"stop_zone_end"}, [](const Record& r) { return con_migliaia(r.fine_fermata); }},
      {"flag", "", {"position"}, [](const Record& r) { return intero(r.posizione); }},
  };
}

std::vector<CampoRecord> campi_testata(int indice) {
  switch (indice) {
    case kRecordTestataTreno:
      return {
          {"braked mass", "%", {"stop_zone_start"}, [](const Record& r) { return intero(r.inizio_fermata); }},
          {"line length", "m", {"stop_zone_end"}, [](const Record& r) { return con_migliaia(r.fine_fermata); }},
          {"coaches", "", {"position"}, [](const Record& r) { return intero(r.posizione); }},
      };
    case kRecordTestataScenario:
      return {
          {"background one", "", {"stop_zone_start"}, [](const Record& r) { return intero(r.inizio_fermata); }},
          {"background three", "", {"stop_zone_end"}, [](const Record& r) { return intero(r.fine_fermata); }},
          {"background two", "", {"position"}, [](const Record& r) { return intero(r.posizione); }},
          {"scenario code", "", {"name"}, [](const Record& r) { return r.nome; }, true},
          {"scenario file stamp", "", {"rd2"}, [](const Record& r) { return intero(r.rd2); }},
          {"weighted race code", "", {"scheduled_time"}, [](const Record& r) { return intero(r.orario); }},
      };
    case kRecordTestataRipetizione:
      return {
          {"signal repetition start", "m", {"stop_zone_start"},
           [](const Record& r) { return con_migliaia(r.inizio_fermata); }},
          {"signal repetition end", "m", {"stop_zone_end"},
           [](const Record& r) { return con_migliaia(r.fine_fermata); }},
          {"signal repetition codes", "", {"position"}, [](const Record& r) { return intero(r.posizione); }},
          {"train number", "", {"name"}, [](const Record& r) { return r.nome; }, true},
          {"sand", "", {"rd2"}, [](const Record& r) { return intero(r.rd2); }},
          {"clock", "", {"d1", "d2", "d3"}, testo_orologio},
      };
    default: return {};
  }
}

struct CampoGrezzo {
  std::string_view nome;
  std::string valore;
  bool testo;
};

// Every stored field of `r` none of `campi` shows: its stored name and its value.
std::vector<CampoGrezzo> campi_grezzi(const Record& r, const std::vector<CampoRecord>& campi) {
  std::vector<std::string_view> coperti;
  for (const CampoRecord& c : campi) coperti.insert(coperti.end(), c.copre.begin(), c.copre.end());
  std::vector<CampoGrezzo> grezzi;
  formato::campi_record(r, [&](std::string_view nome, const auto& valore) {
    if (std::find(coperti.begin(), coperti.end(), nome) != coperti.end()) return;
    if constexpr (std::is_same_v<std::decay_t<decltype(valore)>, std::string>) {
      grezzi.push_back({nome, valore, true});
    } else {
      grezzi.push_back({nome, intero(valore), false});
    }
  });
  return grezzi;
}

// Where the fields of a record are told: `dove` names the record ("station
// SIGNA at 15.90 km"); a header's `dove` is empty, its fields naming
// themselves ("line length"), and its stored fields no role shows go under
// `grezzi` ("record 84").
struct Luogo {
  std::string caratteristica;
  std::string dove;
  std::optional<std::int64_t> posizione;
  std::string grezzi;
};

void confronta_campi_record(const Record& a, const Record& b, const std::vector<CampoRecord>& campi,
                            const Luogo& luogo, std::vector<Differenza>& differenze) {
  const auto differenza = [&](const std::string& etichetta, const std::string& unita,
                              const std::string& prima, const std::string& dopo, bool virgolette,
                              bool grezzo) {
    if (prima == dopo) return;
    const std::string& dove = luogo.dove.empty() && grezzo ? luogo.grezzi : luogo.dove;
    Voce voce{luogo.caratteristica, chiave(etichetta), dove.empty() ? etichetta : dove,
              dove.empty() ? "" : etichetta, luogo.posizione, std::nullopt, unita, virgolette};
    differenze.push_back(componi(voce, prima, dopo));
  };
  for (const CampoRecord& campo : campi) {
    differenza(campo.etichetta, campo.unita, campo.testo(a), campo.testo(b), campo.virgolette, false);
  }
  const auto grezzi_a = campi_grezzi(a, campi);
  const auto grezzi_b = campi_grezzi(b, campi);
  for (std::size_t i = 0; i < grezzi_a.size(); ++i) {
    differenza(std::string(grezzi_a[i].nome), "", grezzi_a[i].valore, grezzi_b[i].valore,
               grezzi_a[i].testo, true);
  }
}

bool numeri_nulli(const Record& r) {
  Record senza_nome = r;
  senza_nome.nome.clear();
  return senza_nome == Record{};
}

// The records of the sign texts: those the sign cells point at.
std::vector<bool> record_dei_cartelli(const std::optional<Celle>& celle) {
  std::vector<bool> cartelli(kNumeroRecord, false);
  if (!celle) return cartelli;
  for (const Cella& c : *celle) {
    if (c.tipo == kCellaCartello && c.valore1 >= 0 && c.valore1 < kNumeroRecord) {
      cartelli[static_cast<std::size_t>(c.valore1)] = true;
    }
  }
  return cartelli;
}

// Records 1 .. 80 that hold a station: some number set, no sign cell at them.
std::vector<std::size_t> stazioni(const Tabella& record, const std::vector<bool>& cartelli) {
  std::vector<std::size_t> indici;
  for (std::size_t i = 1; i <= kRecordPrimoCartello; ++i) {
    if (!cartelli[i] && !numeri_nulli(record[i])) indici.push_back(i);
  }
  return indici;
}

std::string dove_stazione(const Record& r) {
  std::string testo("station ");
  testo += testo_visibile(r.nome);
  testo += " at ";
  testo += testo_km(r.posizione);
  testo += " km";
  return testo;
}

void stazione_intera(const Record& r, bool aggiunta, std::vector<Differenza>& differenze) {
  std::string contenuto("kind ");
  contenuto += intero(r.tipo);
  contenuto += ", scheduled time ";
  contenuto += testo_orario(r.orario);
  Voce voce{"station", "", dove_stazione(r), "", r.posizione, std::nullopt, ""};
  differenze.push_back(aggiunta ? componi(voce, std::nullopt, contenuto)
                                : componi(voce, contenuto, std::nullopt));
}

// Each station of `a` with a station of `b`: of the same name and position,
// else of the same name, else (a renamed station) at the same position.
std::vector<std::optional<std::size_t>> abbina_stazioni(const Tabella& a, const std::vector<std::size_t>& sa,
                                                        const Tabella& b, const std::vector<std::size_t>& sb) {
  enum class Criterio { nome_e_posizione, nome, posizione };
  const auto adatta = [](const Record& x, const Record& y, Criterio criterio) {
    switch (criterio) {
      case Criterio::nome_e_posizione: return x.nome == y.nome && x.posizione == y.posizione;
      case Criterio::nome: return x.nome == y.nome;
      case Criterio::posizione: break;
    }
    return x.posizione == y.posizione;
  };
  std::vector<std::optional<std::size_t>> coppia(sa.size());
  std::vector<bool> preso(sb.size(), false);
  for (const Criterio criterio : {Criterio::nome_e_posizione, Criterio::nome, Criterio::posizione}) {
    for (std::size_t i = 0; i < sa.size(); ++i) {
      for (std::size_t j = 0; j < sb.size() && !coppia[i]; ++j) {
        if (preso[j] || !adatta(a[sa[i]], b[sb[j]], criterio)) continue;
        coppia[i] = j;
        preso[j] = true;
      }
    }
  }
  return coppia;
}

std::string elenco_nomi(const Tabella& record, const std::vector<std::size_t>& indici) {
  std::string testo;
  for (const std::size_t i : indici) {
    if (!testo.empty()) testo += ", ";
    testo += testo_visibile(record[i].nome);
  }
  return testo;
}

void confronta_stazioni(const Tabella& a, const std::vector<bool>& cartelli_a, const Tabella& b,
                        const std::vector<bool>& cartelli_b, std::vector<Differenza>& differenze) {
  const auto sa = stazioni(a, cartelli_a);
  const auto sb = stazioni(b, cartelli_b);
  const auto coppia = abbina_stazioni(a, sa, b, sb);
  const auto campi = campi_stazione();
  std::vector<bool> abbinata(sb.size(), false);
  std::vector<std::size_t> ordine_b;  // the matched stations of b, in a's order
  for (std::size_t i = 0; i < sa.size(); ++i) {
    const Record& ra = a[sa[i]];
    if (!coppia[i]) {
      stazione_intera(ra, false, differenze);
      continue;
    }
    abbinata[*coppia[i]] = true;
    ordine_b.push_back(*coppia[i]);
    confronta_campi_record(ra, b[sb[*coppia[i]]], campi,
                           {"station", dove_stazione(ra), ra.posizione, ""}, differenze);
  }
  for (std::size_t j = 0; j < sb.size(); ++j) {
    if (!abbinata[j]) stazione_intera(b[sb[j]], true, differenze);
  }
  if (!std::is_sorted(ordine_b.begin(), ordine_b.end())) {
    std::vector<std::size_t> in_a, in_b;
    for (std::size_t i = 0; i < sa.size(); ++i) {
      if (coppia[i]) in_a.push_back(sa[i]);
    }
    for (std::size_t j = 0; j < sb.size(); ++j) {
      if (abbinata[j]) in_b.push_back(sb[j]);
    }
    Voce voce{"station_order", "", "station order", "", std::nullopt, std::nullopt, ""};
    differenze.push_back(componi(voce, elenco_nomi(a, in_a), elenco_nomi(b, in_b)));
  }
}

// Without the cells the sign texts have no position: those of one side only
// are added or removed, by text. Records 1 .. 80 that hold a name and no number.
void confronta_testi_cartelli(const Tabella& a, const Tabella& b, std::vector<Differenza>& differenze) {
  const auto testi = [](const Tabella& record) {
    std::vector<std::string> t;
    for (std::size_t i = 1; i <= kRecordPrimoCartello; ++i) {
      if (numeri_nulli(record[i]) && !record[i].nome.empty()) t.push_back(record[i].nome);
    }
    std::sort(t.begin(), t.end());
    return t;
  };
  const auto ta = testi(a);
  const auto tb = testi(b);
  std::vector<std::string> solo_a, solo_b;
  std::set_difference(ta.begin(), ta.end(), tb.begin(), tb.end(), std::back_inserter(solo_a));
  std::set_difference(tb.begin(), tb.end(), ta.begin(), ta.end(), std::back_inserter(solo_b));
  const Voce voce{"sign_text", "", "sign text", "", std::nullopt, std::nullopt, "", true};
  for (const auto& t : solo_a) differenze.push_back(componi(voce, t, std::nullopt));
  for (const auto& t : solo_b) differenze.push_back(componi(voce, std::nullopt, t));
}

const char* nome_progressiva(int indice) {
  switch (indice) {
    case kRecordProgressivaUno: return "progressive one";
    case kRecordProgressivaDue: return "progressive two";
    default: return "progressive three";
  }
}

void confronta_record(const Tabella& a, const std::optional<Celle>& celle_a, const Tabella& b,
                      const std::optional<Celle>& celle_b, std::vector<Differenza>& differenze) {
  confronta_campi_record(a[0], b[0], {}, {"record_0", "record 0", std::nullopt, ""}, differenze);
  const auto cartelli_a = record_dei_cartelli(celle_a);
  const auto cartelli_b = record_dei_cartelli(celle_b);
  confronta_stazioni(a, cartelli_a, b, cartelli_b, differenze);
  if (!celle_a || !celle_b) confronta_testi_cartelli(a, b, differenze);
  for (const int i : {kRecordProgressivaUno, kRecordProgressivaDue, kRecordProgressivaTre}) {
    const auto indice = static_cast<std::size_t>(i);
    confronta_campi_record(a[indice], b[indice], campi_progressiva(),
                           {"progressive", nome_progressiva(i), std::nullopt, ""}, differenze);
  }
  const struct {
    int indice;
    const char* caratteristica;
  } testate[] = {{kRecordTestataTreno, "train_line_header"},
                 {kRecordTestataScenario, "scenario_header"},
                 {kRecordTestataRipetizione, "train_header"}};
  for (const auto& t : testate) {
    const auto indice = static_cast<std::size_t>(t.indice);
    confronta_campi_record(a[indice], b[indice], campi_testata(t.indice),
                           {t.caratteristica, "", std::nullopt, std::string("record ") += std::to_string(t.indice)},
                           differenze);
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

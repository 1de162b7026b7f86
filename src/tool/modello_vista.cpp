#include "tool/modello_vista.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <map>

#include "base/arrotondamento.h"
#include "base/json.h"
#include "documents/grafico_svg_pianta.h"
#include "reader/lettura_linea.h"
#include "tool/diagnosi.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

// ---- Where each feature came from ---------------------------------------------

// The entries of one kind by the cell they land on.
using FontiPerCella = std::map<std::int64_t, const VoceLetta*>;

enum class Precedenza { prima, ultima };

// The cell an entry at `posizione` lands on, with the reader's offset; none
// for a position no cell index can hold.
std::optional<std::int64_t> cella_della_voce(std::int64_t posizione, int scostamento) {
  if (posizione < std::numeric_limits<std::int32_t>::min() ||
      posizione > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return cella_di_posizione(static_cast<std::int32_t>(posizione), scostamento);
}

// Entries of kind `tipo` by their cell. Where two land on one cell, the first
// keeps it for a feature (the second was refused) and the last for a run (it
// overrides from there on).
FontiPerCella fonti(const std::vector<VoceLetta>* voci, TipoVoce tipo, int scostamento,
                    Precedenza precedenza) {
  FontiPerCella mappa;
  if (voci == nullptr) return mappa;
  for (const VoceLetta& v : *voci) {
    if (v.tipo != tipo) continue;
    const auto cella = cella_della_voce(v.posizione, scostamento);
    if (!cella) continue;
    if (precedenza == Precedenza::ultima) {
      mappa[*cella] = &v;
    } else {
      mappa.emplace(*cella, &v);
    }
  }
  return mappa;
}

const VoceLetta* fonte_di(const FontiPerCella& mappa, std::int64_t cella) {
  const auto trovata = mappa.find(cella);
  return trovata == mappa.end() ? nullptr : trovata->second;
}

bool con_posizione(TipoVoce tipo) {
  switch (tipo) {
    case TipoVoce::pendenza: case TipoVoce::curva: case TipoVoce::indicatore:
    case TipoVoce::montagna: case TipoVoce::cartello: case TipoVoce::aderenza:
    case TipoVoce::velocita: case TipoVoce::stazione: case TipoVoce::segnale:
    case TipoVoce::rallentamento: case TipoVoce::abbattimento:
      return true;
    default:
      return false;
  }
}

// The position of the entry at `file`:`riga`, where that entry has one.
std::optional<std::int64_t> posizione_alla_riga(const std::vector<VoceLetta>* voci,
                                                const std::string& file, std::int64_t riga) {
  if (voci == nullptr || riga <= 0) return std::nullopt;
  for (const VoceLetta& v : *voci) {
    if (v.riga == riga && v.file == file && con_posizione(v.tipo)) return v.posizione;
  }
  return std::nullopt;
}

// ---- Writing ------------------------------------------------------------------

// A plan coordinate to the centimetre: enough for any picture, and short.
double al_centimetro(double metri) { return arrotonda_pari(metri * 100.0) / 100.0; }

std::int64_t metri(std::int64_t cella) { return cella * kMetriPerCella; }

// The last three cells carry no speed, gradient or adhesion.
std::size_t celle_con_dati(const std::vector<Cella>& celle) {
  return celle.size() > 3 ? celle.size() - 3 : 0;
}

class Modello {
 public:
  explicit Modello(const IngressoModello& ingresso) : in_(ingresso) {}

  std::string scrivi();

 private:
  const std::vector<Cella>& celle() const { return in_.scenario->celle; }
  const Record& record(std::size_t i) const { return in_.scenario->record[i]; }

  void fonte(const VoceLetta* voce);
  // The metre an entry gave, or the one its cell stands for.
  std::int64_t posizione(const VoceLetta* voce, std::int64_t cella, int scostamento) const {
    return voce != nullptr ? voce->posizione : metri(cella - scostamento);
  }

  void identita();
  void esito();
  void diagnostiche();
  void lunghezze();
  void pianta();
  void stazioni();
  void segnali();
  void indicatori();
  void rallentamenti();
  void abbattimenti();
  void cartelli();
  void montagne();
  template <typename Valore>
  void tratti(const char* chiave, const char* unita, TipoVoce tipo, Valore valore_di);
  void celle_a_tratti();

  const IngressoModello& in_;
  ScrittoreJson j_;
};

void Modello::fonte(const VoceLetta* voce) {
  j_.chiave("file");
  if (voce != nullptr) j_.stringa_sistema(voce->file); else j_.nullo();
  j_.chiave("line");
  if (voce != nullptr) j_.intero(voce->riga); else j_.nullo();
}

void Modello::identita() {
  j_.chiave("scenario").apri_oggetto();
  j_.chiave("code").stringa_sistema(in_.id.codice_scenario);
  j_.chiave("train").stringa_sistema(in_.id.numero_treno);
  j_.chiave("line_file").stringa_sistema(nome_descrizione_linea(in_.id));
  j_.chiave("train_file").stringa_sistema(nome_descrizione_treno(in_.id));
  j_.chiave("source").stringa(in_.origine);
  j_.chiude_oggetto();
}

void Modello::esito() {
  const EsitoVista& e = in_.esito;
  j_.chiave("compile").apri_oggetto();
  j_.chiave("ok").booleano(e.riuscita);
  j_.chiave("error_code");
  if (e.codice) j_.intero(*e.codice); else j_.nullo();
  j_.chiave("error_name");
  if (!e.sigla.empty()) j_.stringa(e.sigla); else j_.nullo();
  j_.chiave("message");
  if (!e.messaggio.empty()) j_.stringa_sistema(e.messaggio); else j_.nullo();
  j_.chiave("file");
  if (!e.file.empty()) j_.stringa_sistema(e.file); else j_.nullo();
  j_.chiave("line");
  if (e.riga > 0) j_.intero(e.riga); else j_.nullo();
  j_.chiude_oggetto();
}

void Modello::diagnostiche() {
  std::int64_t errori = 0;
  j_.chiave("diagnostics").apri_lista();
  for (const Diagnostica& d : in_.diagnostiche) {
    errori += d.gravita == Gravita::errore ? 1 : 0;
    j_.apri_oggetto();
    j_.chiave("severity").stringa(d.gravita == Gravita::errore ? "error" : "warning");
    j_.chiave("file").stringa_sistema(d.file);
    j_.chiave("line").intero(d.riga);
    j_.chiave("column").intero(d.colonna);
    j_.chiave("code").stringa(d.codice);
    j_.chiave("message").stringa_sistema(d.messaggio);
    j_.chiave("position");
    if (const auto p = posizione_alla_riga(in_.voci, d.file, d.riga)) j_.intero(*p); else j_.nullo();
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
  j_.chiave("errors").intero(errori);
  j_.chiave("warnings").intero(static_cast<std::int64_t>(in_.diagnostiche.size()) - errori);
}

void Modello::lunghezze() {
  const std::int64_t numero_celle =
      in_.scenario != nullptr ? static_cast<std::int64_t>(celle().size()) : 0;
  j_.chiave("track_length").intero(metri(numero_celle));
  j_.chiave("cell_count").intero(numero_celle);
  j_.chiave("route_length");
  // The train header keeps the route length as read.
  const std::int32_t letta =
      in_.scenario != nullptr ? record(kRecordTestataTreno).fine_fermata : 0;
  if (letta > 0) j_.intero(letta);
  else if (numero_celle > 0) j_.intero(std::max<std::int64_t>(0, metri(numero_celle) - kProlungamento));
  else j_.nullo();
}

void Modello::pianta() {
  j_.chiave("plan");
  if (in_.scenario == nullptr || !in_.scenario->profilo) {
    j_.nullo();
    return;
  }
  const std::vector<grafico::PuntoPianta> campioni = grafico::campioni_pianta(*in_.scenario->profilo);
  j_.apri_oggetto();
  j_.chiave("step").intero(campioni.size() > 1
                               ? static_cast<std::int64_t>(campioni[1].metri - campioni[0].metri)
                               : 0);
  j_.chiave("m").apri_lista();
  for (const auto& c : campioni) j_.intero(static_cast<std::int64_t>(c.metri));
  j_.chiude_lista().chiave("x").apri_lista();
  for (const auto& c : campioni) j_.reale(al_centimetro(c.x));
  j_.chiude_lista().chiave("y").apri_lista();
  for (const auto& c : campioni) j_.reale(al_centimetro(c.y));
  j_.chiude_lista().chiude_oggetto();
}

// Records 1 .. 79 that hold something and that no sign cell points to.
void Modello::stazioni() {
  std::array<bool, kNumeroRecord> di_cartello{};
  for (const Cella& c : celle()) {
    if (c.tipo == kCellaCartello && c.valore1 >= 1 && c.valore1 <= kRecordPrimoCartello) {
      di_cartello[static_cast<std::size_t>(c.valore1)] = true;
    }
  }
  std::vector<bool> usata(in_.voci != nullptr ? in_.voci->size() : 0, false);
  const auto fonte_stazione = [&](std::int64_t posizione) -> const VoceLetta* {
    if (in_.voci == nullptr) return nullptr;
    for (std::size_t i = 0; i < in_.voci->size(); ++i) {
      const VoceLetta& v = (*in_.voci)[i];
      if (v.tipo == TipoVoce::stazione && !usata[i] && v.posizione == posizione) {
        usata[i] = true;
        return &v;
      }
    }
    return nullptr;
  };
  j_.chiave("stations").apri_lista();
  for (std::size_t i = 1; i < static_cast<std::size_t>(kRecordPrimoCartello); ++i) {
    const Record& r = record(i);
    if (r == Record{} || di_cartello[i]) continue;
    j_.apri_oggetto();
    j_.chiave("name").stringa(r.nome);
    j_.chiave("record").intero(static_cast<std::int64_t>(i));
    j_.chiave("position").intero(r.posizione);
    j_.chiave("stop_start").intero(std::min(r.inizio_fermata, r.fine_fermata));
    j_.chiave("stop_end").intero(std::max(r.inizio_fermata, r.fine_fermata));
    j_.chiave("kind").intero(r.tipo);
    j_.chiave("time").stringa(testo_orario(r.orario));
    j_.chiave("time_seconds").intero(r.orario);
    j_.chiave("stop_seconds").intero(r.ac);
    fonte(fonte_stazione(r.posizione));
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
}

void Modello::segnali() {
  const FontiPerCella da = fonti(in_.voci, TipoVoce::segnale, 1, Precedenza::prima);
  const auto lato = [this](const char* chiave, int tipo, const int (&cifre)[3]) {
    j_.chiave(chiave).apri_oggetto().chiave("kind").intero(tipo).chiave("aspects").apri_lista();
    for (const int c : cifre) j_.intero(c);
    j_.chiude_lista().chiude_oggetto();
  };
  j_.chiave("signals").apri_lista();
  for (std::size_t k = 0; k < celle().size(); ++k) {
    const Cella& c = celle()[k];
    if (c.tipo != kCellaSegnale) continue;
    const auto cella = static_cast<std::int64_t>(k);
    const VoceLetta* voce = fonte_di(da, cella);
    const AspettiSegnale a = aspetti_segnale(c);
    j_.apri_oggetto();
    j_.chiave("position").intero(posizione(voce, cella, 1));
    j_.chiave("cell").intero(cella);
    lato("left", a.tipo_sinistro, a.cifre_sinistre);
    lato("right", a.tipo_destro, a.cifre_destre);
    j_.chiave("rapp").intero(a.rapp);
    j_.chiave("time").intero(c.tempo_segnale);
    fonte(voce);
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
}

void Modello::indicatori() {
  const FontiPerCella da = fonti(in_.voci, TipoVoce::indicatore, 1, Precedenza::prima);
  j_.chiave("boards").apri_lista();
  for (std::size_t k = 0; k < celle().size(); ++k) {
    const Cella& c = celle()[k];
    if (c.tipo != kCellaIndicatoreVelocita) continue;
    const auto cella = static_cast<std::int64_t>(k);
    const VoceLetta* voce = fonte_di(da, cella);
    const std::array<CoppiaVelocita, 3> ranghi = {coppia_velocita(c.valore1),
                                                  coppia_velocita(c.valore2),
                                                  coppia_velocita(c.valore3)};
    const Strisce strisce = strisce_indicatore(c.valore4);
    j_.apri_oggetto();
    j_.chiave("position").intero(posizione(voce, cella, 1));
    j_.chiave("cell").intero(cella);
    j_.chiave("left_kmh").apri_lista();
    for (const auto& r : ranghi) j_.intero(r.sinistra_kmh);
    j_.chiude_lista().chiave("right_kmh").apri_lista();
    for (const auto& r : ranghi) j_.intero(r.destra_kmh);
    j_.chiude_lista();
    j_.chiave("stripes_left").intero(strisce.sinistra);
    j_.chiave("stripes_right").intero(strisce.destra);
    fonte(voce);
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
}

// From each start cell to the next end cell, as the plot pairs them; a start
// with no end runs on to the end of the track.
void Modello::rallentamenti() {
  constexpr std::int64_t kCelleAvviso = 1200 / kMetriPerCella;
  const FontiPerCella da = fonti(in_.voci, TipoVoce::rallentamento, 1, Precedenza::prima);
  const auto n = static_cast<std::int64_t>(celle().size());
  j_.chiave("slowdowns").apri_lista();
  for (std::int64_t k = 0; k < n; ++k) {
    const Cella& inizio = celle()[static_cast<std::size_t>(k)];
    if (inizio.tipo != kCellaInizioRallentamento) continue;
    std::int64_t fine = k + 1;
    while (fine < n && celle()[static_cast<std::size_t>(fine)].tipo != kCellaFineRallentamento) ++fine;
    const std::int64_t avviso = k - kCelleAvviso;
    const bool con_avviso =
        avviso >= 0 && celle()[static_cast<std::size_t>(avviso)].tipo == kCellaAvvisoRallentamento;
    const VoceLetta* voce = fonte_di(da, k);
    const std::int64_t da_metri = posizione(voce, k, 1);
    j_.apri_oggetto();
    j_.chiave("start").intero(da_metri);
    j_.chiave("end").intero(fine < n ? da_metri + metri(fine - k) : metri(n));
    j_.chiave("start_cell").intero(k);
    j_.chiave("end_cell");
    if (fine < n) j_.intero(fine); else j_.nullo();
    j_.chiave("warning");
    if (con_avviso) j_.intero(da_metri - 1200); else j_.nullo();
    j_.chiave("speed_kmh").intero(inizio.valore1);
    j_.chiave("d_v").intero(inizio.valore2);
    j_.chiave("f_tt").intero(inizio.valore3);
    fonte(voce);
    j_.chiude_oggetto();
    k = std::max(k, fine - 1);
  }
  j_.chiude_lista();
}

void Modello::abbattimenti() {
  const FontiPerCella da = fonti(in_.voci, TipoVoce::abbattimento, 0, Precedenza::prima);
  j_.chiave("markers").apri_lista();
  for (std::size_t k = 0; k < celle().size(); ++k) {
    const Cella& c = celle()[k];
    if (c.tipo != kCellaAbbattimento && c.tipo != kCellaAbbattimentoSenzaValore) continue;
    const auto cella = static_cast<std::int64_t>(k);
    const VoceLetta* voce = fonte_di(da, cella);
    j_.apri_oggetto();
    j_.chiave("position").intero(posizione(voce, cella, 0));
    j_.chiave("cell").intero(cella);
    j_.chiave("value");
    if (c.tipo == kCellaAbbattimento) j_.intero(c.valore1); else j_.nullo();
    // Markers of the description files have an entry; the others the compile
    // placed on its walk along the track.
    j_.chiave("placed_by_compiler").booleano(in_.voci != nullptr && voce == nullptr);
    fonte(voce);
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
}

void Modello::cartelli() {
  const FontiPerCella da = fonti(in_.voci, TipoVoce::cartello, 1, Precedenza::prima);
  j_.chiave("signs").apri_lista();
  for (std::size_t k = 0; k < celle().size(); ++k) {
    const Cella& c = celle()[k];
    if (c.tipo != kCellaCartello) continue;
    const auto cella = static_cast<std::int64_t>(k);
    const VoceLetta* voce = fonte_di(da, cella);
    j_.apri_oggetto();
    j_.chiave("position").intero(posizione(voce, cella, 1));
    j_.chiave("cell").intero(cella);
    j_.chiave("text");
    if (c.valore1 >= 1 && c.valore1 <= kRecordPrimoCartello) {
      j_.stringa(record(static_cast<std::size_t>(c.valore1)).nome);
    } else {
      j_.nullo();
    }
    fonte(voce);
    j_.chiude_oggetto();
  }
  j_.chiude_lista();
}

// Runs of cells of one mountain kind.
void Modello::montagne() {
  const FontiPerCella da = fonti(in_.voci, TipoVoce::montagna, 0, Precedenza::prima);
  const std::size_t n = celle().size();
  j_.chiave("mountains").apri_lista();
  for (std::size_t k = 0; k < n;) {
    const std::uint8_t tipo = celle()[k].montagna;
    std::size_t fine = k + 1;
    while (fine < n && celle()[fine].montagna == tipo) ++fine;
    if (tipo != 0) {
      const VoceLetta* voce = fonte_di(da, static_cast<std::int64_t>(k));
      j_.apri_oggetto();
      j_.chiave("start").intero(metri(static_cast<std::int64_t>(k)));
      j_.chiave("end").intero(metri(static_cast<std::int64_t>(fine)));
      j_.chiave("kind").intero(tipo);
      fonte(voce);
      j_.chiude_oggetto();
    }
    k = fine;
  }
  j_.chiude_lista();
}

// Runs of cells that carry one value of the line data, each with the entry
// that sets it from its first cell, where there is one.
template <typename Valore>
void Modello::tratti(const char* chiave, const char* unita, TipoVoce tipo, Valore valore_di) {
  const FontiPerCella da = fonti(in_.voci, tipo, 0, Precedenza::ultima);
  const std::size_t n = celle_con_dati(celle());
  j_.chiave(chiave).apri_lista();
  for (std::size_t k = 0; k < n;) {
    const int valore = valore_di(celle()[k]);
    std::size_t fine = k + 1;
    while (fine < n && valore_di(celle()[fine]) == valore) ++fine;
    j_.apri_oggetto();
    j_.chiave("from").intero(metri(static_cast<std::int64_t>(k)));
    j_.chiave("to").intero(metri(static_cast<std::int64_t>(fine)));
    j_.chiave(unita).intero(valore);
    fonte(fonte_di(da, static_cast<std::int64_t>(k)));
    j_.chiude_oggetto();
    k = fine;
  }
  j_.chiude_lista();
}

// Runs of identical cells: the first index, how many, then every field.
void Modello::celle_a_tratti() {
  const auto campi = [](const Cella& c) {
    return std::array<std::int64_t, 11>{c.tipo,          c.valore1,      c.valore2, c.valore3,
                                        c.valore4,       c.tempo_segnale, c.avvicinamento,
                                        c.montagna,      c.velocita,     c.pendenza, c.aderenza};
  };
  j_.chiave("cells").apri_oggetto();
  j_.chiave("fields").apri_lista();
  for (const char* nome : {"first", "count", "type", "value1", "value2", "value3", "value4",
                           "signal_time", "approach", "mountain", "speed_steps", "gradient_code",
                           "adhesion"}) {
    j_.stringa(nome);
  }
  j_.chiude_lista();
  j_.chiave("type_names").apri_oggetto();
  for (const std::uint8_t tipo :
       {kCellaLibera, kCellaSegnale, kCellaFineRallentamento, kCellaInizioRallentamento,
        kCellaAvvisoRallentamento, kCellaAvvicinamentoRallentamento, kCellaIndicatoreVelocita,
        kCellaFermata, kCellaMontagna, kCellaAbbattimento, kCellaAbbattimentoSenzaValore,
        kCellaCartello}) {
    j_.chiave(std::to_string(tipo)).stringa(nome_tipo_cella(tipo));
  }
  j_.chiude_oggetto();
  j_.chiave("runs").apri_lista();
  const std::size_t n = in_.scenario != nullptr ? celle().size() : 0;
  for (std::size_t k = 0; k < n;) {
    const auto valori = campi(celle()[k]);
    std::size_t fine = k + 1;
    while (fine < n && celle()[fine] == celle()[k]) ++fine;
    j_.apri_lista().intero(static_cast<std::int64_t>(k)).intero(static_cast<std::int64_t>(fine - k));
    for (const std::int64_t v : valori) j_.intero(v);
    j_.chiude_lista();
    k = fine;
  }
  j_.chiude_lista().chiude_oggetto();
}

std::string Modello::scrivi() {
  j_.apri_oggetto();
  j_.chiave("format_version").intero(kVersioneModello);
  identita();
  esito();
  diagnostiche();
  lunghezze();
  pianta();
  if (in_.scenario != nullptr) {
    stazioni();
    segnali();
    indicatori();
    rallentamenti();
    abbattimenti();
    cartelli();
    montagne();
    tratti("speed_limits", "kmh", TipoVoce::velocita,
           [](const Cella& c) { return velocita_kmh(c.velocita); });
    tratti("gradients", "per_mille", TipoVoce::pendenza,
           [](const Cella& c) { return pendenza_permille(c.pendenza); });
    tratti("adhesion", "value", TipoVoce::aderenza, [](const Cella& c) { return int{c.aderenza}; });
  } else {
    for (const char* vuota : {"stations", "signals", "boards", "slowdowns", "markers", "signs",
                              "mountains", "speed_limits", "gradients", "adhesion"}) {
      j_.chiave(vuota).apri_lista().chiude_lista();
    }
  }
  celle_a_tratti();
  j_.chiude_oggetto();
  return j_.testo();
}

EsitoVista esito_vista(const Diagnosi& diagnosi) {
  EsitoVista e;
  e.riuscita = diagnosi.esito.riuscita();
  if (diagnosi.esito.errore() != CodiceErrore::nessuno) e.codice = numero(diagnosi.esito.errore());
  if (const auto d = diagnostica_compilazione(diagnosi.esito, diagnosi.verifica, diagnosi.id)) {
    e.sigla = d->codice;
    e.messaggio = d->messaggio;
    e.file = d->file;
    e.riga = d->riga;
  }
  return e;
}

}  // namespace

ScenarioCompilato scenario_da_tabelle(const TabelleScenario& tab) {
  ScenarioCompilato scenario;
  scenario.record = tab.record;
  scenario.celle = tab.celle;
  if (tab.flag_profilo != 0) scenario.profilo = punti_profilo(tab.profilo);
  return scenario;
}

std::string modello_diagnosi(const Diagnosi& diagnosi) {
  const ScenarioCompilato scenario = scenario_da_tabelle(*diagnosi.tabelle);
  IngressoModello ingresso;
  ingresso.id = diagnosi.id;
  ingresso.origine = "description files";
  ingresso.scenario = &scenario;
  ingresso.voci = &diagnosi.verifica.voci;
  ingresso.diagnostiche = diagnosi.diagnostiche;
  ingresso.esito = esito_vista(diagnosi);
  return modello_json(ingresso);
}

std::string modello_json(const IngressoModello& ingresso) { return Modello(ingresso).scrivi(); }

std::string modello_compilati(const IdentitaScenario& id, const ScenarioCompilato& scenario) {
  IngressoModello ingresso;
  ingresso.id = id;
  ingresso.origine = "compiled files";
  ingresso.scenario = &scenario;
  ingresso.esito.riuscita = true;
  return modello_json(ingresso);
}

}  // namespace gs

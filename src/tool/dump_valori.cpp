#include "tool/dump_valori.h"

#include <algorithm>
#include <initializer_list>
#include <type_traits>
#include <utility>

#include "base/testo_utf8.h"
#include "compiler/formato_compilati.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

Voce voce_intero(std::string chiave, std::int64_t valore, std::string testo) {
  return {std::move(chiave), std::move(testo), [valore](ScrittoreJson& j) { j.intero(valore); }};
}

Voce voce_stringa(std::string chiave, std::string valore_1252, std::string testo) {
  return {std::move(chiave), std::move(testo),
          [valore = std::move(valore_1252)](ScrittoreJson& j) { j.stringa(valore); }};
}

Voce voce_interi(std::string chiave, std::vector<std::int64_t> valori, std::string testo) {
  return {std::move(chiave), std::move(testo), [valori = std::move(valori)](ScrittoreJson& j) {
            j.apri_lista();
            for (const std::int64_t v : valori) j.intero(v);
            j.chiude_lista();
          }};
}

// The parts one after the other.
std::string unisci(std::initializer_list<std::string_view> parti) {
  std::string testo;
  for (const std::string_view parte : parti) testo += parte;
  return testo;
}

Voce a_capo(Voce voce) {
  voce.a_capo = true;
  return voce;
}

// A Windows-1252 text in quotes, its control bytes escaped so it keeps to its line.
std::string tra_virgolette(const std::string& testo_1252) {
  std::string testo("\"");
  testo += testo_visibile(testo_utf8(testo_1252));
  return testo += '"';
}

std::string parole(std::string_view etichetta, std::int64_t valore) {
  std::string testo(etichetta);
  return (testo += ' ') += std::to_string(valore);
}

std::string con_km(std::int64_t metri) {
  std::string testo = testo_metri(metri);
  return ((testo += " (km ") += testo_km(metri)) += ')';
}

bool vuoto(const ValoreCampo& valore) {
  if (const auto* numero = std::get_if<std::int64_t>(&valore)) return *numero == 0;
  return std::get<std::string>(valore).empty();
}

// The stored fields that hold something and that `usati` does not name, as
// the "other_values" member; none when there are none.
void aggiungi_altri(Descrizione& d, const std::vector<CampoMemorizzato>& campi,
                    std::initializer_list<std::string_view> usati) {
  std::vector<CampoMemorizzato> altri;
  for (const CampoMemorizzato& campo : campi) {
    if (vuoto(campo.valore)) continue;
    if (std::find(usati.begin(), usati.end(), campo.nome) != usati.end()) continue;
    altri.push_back(campo);
  }
  if (altri.empty()) return;
  std::string testo("also stored: ");
  testo += testo_campi(altri);
  d.voci.push_back({"other_values", std::move(testo),
                    [altri](ScrittoreJson& j) { scrivi_campi_json(j, altri); }});
}

// ---- Records ------------------------------------------------------------------

bool numeri_a_zero(const Record& r) {
  Record senza_nome = r;
  senza_nome.nome.clear();
  return senza_nome == Record{};
}

void descrivi_stazione(const Record& r, Descrizione& d) {
  d.tipo = "station";
  d.tipo_testo = "station";
  d.voci.push_back(voce_stringa("name", r.nome, tra_virgolette(r.nome)));
  d.voci.push_back(voce_stringa("scheduled_time", testo_orario(r.orario),
                                std::string("scheduled time ") += testo_orario(r.orario)));
  d.voci.push_back(voce_intero("scheduled_time_s", r.orario, ""));
  d.voci.push_back(a_capo(voce_intero("position_m", r.posizione,
                                      std::string("position ") += con_km(r.posizione))));
  d.voci.push_back(voce_intero("station_kind", r.tipo, parole("station kind", r.tipo)));
  std::string zona("stop zone ");
  ((zona += con_migliaia(r.inizio_fermata)) += " to ") += testo_metri(r.fine_fermata);
  d.voci.push_back(voce_intero("stop_zone_start_m", r.inizio_fermata, std::move(zona)));
  d.voci.push_back(voce_intero("stop_zone_end_m", r.fine_fermata, ""));
  // The values the simulator alone gives a meaning to keep their names.
  const std::pair<const char*, std::int64_t> propri[] = {
      {"tps", r.tps}, {"tab", r.tab}, {"mar", r.mar}, {"rd2", r.rd2}, {"rd3", r.rd3},
      {"rap", r.rap}, {"d1", r.d1},   {"d2", r.d2},   {"d3", r.d3},   {"ac", r.ac}};
  bool primo = true;
  for (const auto& [nome, valore] : propri) {
    Voce voce = voce_intero(nome, valore, parole(nome, valore));
    d.voci.push_back(primo ? a_capo(std::move(voce)) : std::move(voce));
    primo = false;
  }
}

void descrivi_cartello(const Record& r, Descrizione& d) {
  d.tipo = "sign";
  d.tipo_testo = "sign";
  d.voci.push_back(voce_stringa("text", r.nome, tra_virgolette(r.nome)));
}

void descrivi_progressiva(const Record& r, std::size_t indice, Descrizione& d) {
  const char* quale = indice == kRecordProgressivaUno   ? "one"
                      : indice == kRecordProgressivaDue ? "two"
                                                        : "three";
  d.tipo = "progressive";
  d.tipo_testo = std::string("progressive ") += quale;
  d.voci.push_back(voce_stringa("progressive", quale, ""));
  d.voci.push_back(voce_intero("first_m", r.inizio_fermata,
                               std::string("first ") += testo_metri(r.inizio_fermata)));
  d.voci.push_back(voce_intero("second_m", r.fine_fermata,
                               std::string("second ") += testo_metri(r.fine_fermata)));
  d.voci.push_back(voce_intero("flag", r.posizione, parole("flag", r.posizione)));
  aggiungi_altri(d, campi_memorizzati(r), {"stop_zone_start", "stop_zone_end", "position"});
}

void descrivi_testata_treno(const Record& r, Descrizione& d) {
  d.tipo = "train_header";
  d.tipo_testo = "train header";
  d.voci.push_back(voce_intero("braked_mass_percent", r.inizio_fermata,
                               unisci({"braked mass ", std::to_string(r.inizio_fermata), " %"})));
  d.voci.push_back(voce_intero("line_length_m", r.fine_fermata,
                               std::string("line length ") += con_km(r.fine_fermata)));
  d.voci.push_back(voce_intero("coaches", r.posizione, parole("coaches", r.posizione)));
  aggiungi_altri(d, campi_memorizzati(r), {"stop_zone_start", "stop_zone_end", "position"});
}

void descrivi_testata_scenario(const Record& r, Descrizione& d) {
  d.tipo = "scenario_header";
  d.tipo_testo = "scenario header";
  d.voci.push_back(voce_stringa("code", r.nome, std::string("code ") += tra_virgolette(r.nome)));
  // The file keeps the backgrounds in the order one, three, two.
  d.voci.push_back(voce_intero("background_one", r.inizio_fermata,
                               parole("backgrounds: one", r.inizio_fermata)));
  d.voci.push_back(voce_intero("background_two", r.posizione, parole("two", r.posizione)));
  d.voci.push_back(voce_intero("background_three", r.fine_fermata, parole("three", r.fine_fermata)));
  d.voci.push_back(a_capo(voce_intero("compilation_stamp", r.rd2, parole("compilation stamp", r.rd2))));
  d.voci.push_back(
      voce_intero("weighted_race_code", r.orario, parole("weighted race code", r.orario)));
  aggiungi_altri(d, campi_memorizzati(r), {"stop_zone_start", "stop_zone_end", "position", "name",
                                           "rd2", "scheduled_time"});
}

void descrivi_testata_corsa(const Record& r, Descrizione& d) {
  d.tipo = "run_header";
  d.tipo_testo = "run header";
  d.voci.push_back(
      voce_stringa("train_number", r.nome, std::string("train number ") += tra_virgolette(r.nome)));
  std::string ripetizione("signal repetition ");
  ((ripetizione += con_migliaia(r.inizio_fermata)) += " to ") += testo_metri(r.fine_fermata);
  d.voci.push_back(a_capo(voce_intero("signal_repetition_start_m", r.inizio_fermata,
                                      std::move(ripetizione))));
  d.voci.push_back(voce_intero("signal_repetition_end_m", r.fine_fermata, ""));
  d.voci.push_back(voce_intero("signal_repetition_codes", r.posizione,
                               parole("code count", r.posizione)));
  d.voci.push_back(a_capo(voce_intero("sand", r.rd2, parole("sand", r.rd2))));
  const std::string orologio = testo_orologio(r.d1, r.d2, r.d3);
  d.voci.push_back(voce_stringa("clock", orologio, std::string("clock ") += orologio));
  d.voci.push_back(voce_interi("clock_hms", {r.d1, r.d2, r.d3}, ""));
  aggiungi_altri(d, campi_memorizzati(r), {"stop_zone_start", "stop_zone_end", "position", "name",
                                           "rd2", "d1", "d2", "d3"});
}

// ---- Cells --------------------------------------------------------------------

std::string cifre(const int (&valori)[3]) {
  std::string testo;
  for (const int v : valori) (testo += ' ') += std::to_string(v);
  return testo;
}

void descrivi_segnale(const Cella& c, Descrizione& d) {
  const AspettiSegnale a = aspetti_segnale(c);
  const auto lista = [](const int (&v)[3]) { return std::vector<std::int64_t>{v[0], v[1], v[2]}; };
  d.voci.push_back(voce_intero("left_kind", a.tipo_sinistro,
                               unisci({parole("left kind", a.tipo_sinistro), " digits",
                                       cifre(a.cifre_sinistre)})));
  d.voci.push_back(voce_interi("left_digits", lista(a.cifre_sinistre), ""));
  d.voci.push_back(voce_intero("right_kind", a.tipo_destro,
                               unisci({parole("right kind", a.tipo_destro), " digits",
                                       cifre(a.cifre_destre)})));
  d.voci.push_back(voce_interi("right_digits", lista(a.cifre_destre), ""));
  d.voci.push_back(voce_intero("rapp", a.rapp, parole("rapp", a.rapp)));
  d.voci.push_back(voce_intero("signal_time", c.tempo_segnale, parole("signal time", c.tempo_segnale)));
}

void descrivi_rallentamento(const Cella& c, bool con_fine, Descrizione& d) {
  d.voci.push_back(voce_intero("slowdown_speed_kmh", c.valore1,
                               unisci({"slowdown speed ", std::to_string(c.valore1), " km/h"})));
  d.voci.push_back(voce_intero("d_v", c.valore2, parole("d_v", c.valore2)));
  if (con_fine) d.voci.push_back(voce_intero("f_tt", c.valore3, parole("f_tt", c.valore3)));
}

void descrivi_indicatore(const Cella& c, Descrizione& d) {
  const std::int16_t codici[3] = {c.valore1, c.valore2, c.valore3};
  std::string testo("speeds");
  for (int i = 0; i < 3; ++i) {
    const CoppiaVelocita v = coppia_velocita(codici[i]);
    testo += unisci({i == 0 ? " " : ", ", std::to_string(v.sinistra_kmh), "/",
                     std::to_string(v.destra_kmh)});
  }
  testo += " km/h (left/right)";
  d.voci.push_back({"speed_pairs_kmh", std::move(testo), [codici](ScrittoreJson& j) {
                      j.apri_lista();
                      for (const std::int16_t codice : codici) {
                        const CoppiaVelocita v = coppia_velocita(codice);
                        j.apri_lista().intero(v.sinistra_kmh).intero(v.destra_kmh).chiude_lista();
                      }
                      j.chiude_lista();
                    }});
  const Strisce s = strisce_indicatore(c.valore4);
  d.voci.push_back(voce_interi("stripes", {s.sinistra, s.destra},
                               unisci({parole("stripes", s.sinistra), "/", std::to_string(s.destra)})));
}

// The kind of a cell and the stored fields its kind gives a meaning to.
void descrivi_tipo(const Cella& c, Descrizione& d, std::vector<std::string_view>& usati) {
  const auto tipo = [&d](const char* chiave, const char* testo) {
    d.tipo = chiave;
    d.tipo_testo = testo;
  };
  switch (c.tipo) {
    case kCellaLibera: tipo("plain", "plain"); return;
    case kCellaSegnale:
      tipo("signal", "signal");
      descrivi_segnale(c, d);
      usati = {"value1", "value2", "value3", "value4", "signal_time"};
      return;
    case kCellaFineRallentamento:
    case kCellaInizioRallentamento:
      if (c.tipo == kCellaInizioRallentamento) tipo("slowdown_start", "slowdown start");
      else tipo("slowdown_end", "slowdown end");
      descrivi_rallentamento(c, true, d);
      usati = {"value1", "value2", "value3"};
      return;
    case kCellaAvvisoRallentamento:
      tipo("slowdown_warning", "slowdown warning board");
      descrivi_rallentamento(c, false, d);
      usati = {"value1", "value2"};
      return;
    case kCellaAvvicinamentoRallentamento:
      tipo("slowdown_approach", "slowdown approach");
      d.voci.push_back(voce_intero("approach_step", c.valore1,
                                   parole("step", c.valore1) += " before the warning board"));
      d.voci.push_back(voce_intero("d_v_step", c.valore2, parole("d_v step", c.valore2)));
      usati = {"value1", "value2"};
      return;
    case kCellaIndicatoreVelocita:
      tipo("speed_board", "speed indicator board");
      descrivi_indicatore(c, d);
      usati = {"value1", "value2", "value3", "value4"};
      return;
    case kCellaFermata:
      tipo("stop_marker", "stop marker");
      d.voci.push_back(voce_intero("station_record", c.valore1, parole("station record", c.valore1)));
      usati = {"value1"};
      return;
    case kCellaMontagna: tipo("mountain_mark", "mountain mark"); return;
    case kCellaAbbattimento:
      tipo("abbattimento", "abbattimento marker");
      d.voci.push_back(voce_intero("abbattimento_value", c.valore1, parole("value", c.valore1)));
      usati = {"value1"};
      return;
    case kCellaAbbattimentoSenzaValore:
      tipo("abbattimento_without_value", "abbattimento marker without value");
      return;
    case kCellaCartello:
      tipo("sign", "sign");
      d.voci.push_back(voce_intero("sign_record", c.valore1, parole("text in record", c.valore1)));
      usati = {"value1"};
      return;
    default:
      d.tipo = "unknown";
      d.tipo_testo = parole("unknown type", c.tipo);
      d.voci.push_back(voce_intero("type_code", c.tipo, ""));
      return;
  }
}

// The track values every cell carries. The last cells of a track keep all
// three at 0: their gradient is then none, not -100 per mille.
void descrivi_binario(const Cella& c, Descrizione& d) {
  const bool senza_valori = c.velocita == 0 && c.pendenza == 0 && c.aderenza == 0;
  d.voci.push_back(voce_intero("speed_limit_kmh", velocita_kmh(c.velocita),
                               senza_valori ? "no speed limit, gradient or adhesion (all stored 0)"
                                            : std::to_string(velocita_kmh(c.velocita)) += " km/h"));
  if (senza_valori) {
    d.voci.push_back({"gradient_permille", "", [](ScrittoreJson& j) { j.nullo(); }});
  } else {
    d.voci.push_back(voce_intero("gradient_permille", pendenza_permille(c.pendenza),
                                 con_segno(pendenza_permille(c.pendenza)) += " per mille"));
  }
  d.voci.push_back(voce_intero("adhesion", c.aderenza,
                               senza_valori ? "" : parole("adhesion", c.aderenza)));
  d.voci.push_back(voce_intero("mountain_kind", c.montagna,
                               c.montagna == 0 ? "" : parole("mountain kind", c.montagna)));
  d.voci.push_back(voce_intero("approach_mark", c.avvicinamento,
                               c.avvicinamento == 0 ? "" : parole("approach mark", c.avvicinamento)));
}

}  // namespace

std::vector<CampoMemorizzato> campi_memorizzati(const Record& record) {
  std::vector<CampoMemorizzato> campi;
  formato::campi_record(record, [&campi](std::string_view nome, const auto& valore) {
    if constexpr (std::is_same_v<std::decay_t<decltype(valore)>, std::string>) {
      campi.push_back({nome, valore});
    } else {
      campi.push_back({nome, static_cast<std::int64_t>(valore)});
    }
  });
  return campi;
}

std::vector<CampoMemorizzato> campi_memorizzati(const Cella& cella) {
  std::vector<CampoMemorizzato> campi;
  formato::campi_cella(cella, [&campi](std::string_view nome, const auto& valore) {
    campi.push_back({nome, static_cast<std::int64_t>(valore)});
  });
  return campi;
}

RuoloRecord ruolo_record(const Record& record, std::size_t indice) {
  switch (indice) {
    case 0: return RuoloRecord::inutilizzato;
    case kRecordProgressivaTre:
    case kRecordProgressivaDue:
    case kRecordProgressivaUno: return RuoloRecord::progressiva;
    case kRecordTestataTreno: return RuoloRecord::testata_treno;
    case kRecordTestataScenario: return RuoloRecord::testata_scenario;
    case kRecordTestataRipetizione: return RuoloRecord::testata_corsa;
    default: break;
  }
  if (record == Record{}) return RuoloRecord::vuoto;
  return numeri_a_zero(record) ? RuoloRecord::cartello : RuoloRecord::stazione;
}

Descrizione descrivi_record(const Record& record, std::size_t indice) {
  Descrizione d;
  switch (ruolo_record(record, indice)) {
    case RuoloRecord::inutilizzato:
      d.tipo = d.tipo_testo = "unused";
      aggiungi_altri(d, campi_memorizzati(record), {});
      break;
    case RuoloRecord::vuoto: d.tipo = d.tipo_testo = "empty"; break;
    case RuoloRecord::stazione: descrivi_stazione(record, d); break;
    case RuoloRecord::cartello: descrivi_cartello(record, d); break;
    case RuoloRecord::progressiva: descrivi_progressiva(record, indice, d); break;
    case RuoloRecord::testata_treno: descrivi_testata_treno(record, d); break;
    case RuoloRecord::testata_scenario: descrivi_testata_scenario(record, d); break;
    case RuoloRecord::testata_corsa: descrivi_testata_corsa(record, d); break;
  }
  return d;
}

Descrizione descrivi_cella(const Cella& cella, std::size_t indice) {
  Descrizione d;
  std::vector<std::string_view> usati;
  descrivi_tipo(cella, d, usati);
  if (indice == 1) {
    // Cell 1 holds the track file's header values.
    d.voci.push_back(voce_intero("compilation_stamp", cella.valore1,
                                 parole("compilation stamp", cella.valore1)));
    d.voci.push_back(voce_intero("plain_race_code", cella.valore2,
                                 parole("plain race code", cella.valore2)));
    usati.insert(usati.end(), {"value1", "value2"});
  }
  descrivi_binario(cella, d);
  std::vector<CampoMemorizzato> altri;
  for (const CampoMemorizzato& campo : campi_memorizzati(cella)) {
    const bool comune = campo.nome == "type" || campo.nome == "approach_mark" ||
                        campo.nome == "mountain_kind" || campo.nome == "speed_limit" ||
                        campo.nome == "gradient" || campo.nome == "adhesion";
    if (comune || std::find(usati.begin(), usati.end(), campo.nome) != usati.end()) continue;
    altri.push_back(campo);
  }
  aggiungi_altri(d, altri, {});
  return d;
}

void scrivi_campi_json(ScrittoreJson& j, const std::vector<CampoMemorizzato>& campi) {
  j.apri_oggetto();
  for (const CampoMemorizzato& campo : campi) {
    j.chiave(campo.nome);
    if (const auto* numero = std::get_if<std::int64_t>(&campo.valore)) j.intero(*numero);
    else j.stringa(std::get<std::string>(campo.valore));
  }
  j.chiude_oggetto();
}

std::string testo_campi(const std::vector<CampoMemorizzato>& campi) {
  std::string testo;
  for (const CampoMemorizzato& campo : campi) {
    if (!testo.empty()) testo += ' ';
    (testo += campo.nome) += '=';
    if (const auto* numero = std::get_if<std::int64_t>(&campo.valore)) testo += std::to_string(*numero);
    else testo += tra_virgolette(std::get<std::string>(campo.valore));
  }
  return testo;
}

}  // namespace gs

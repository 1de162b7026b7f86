#include "tool/confronto_record.h"

#include <algorithm>
#include <functional>
#include <iterator>
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
      {"kind", "", {"kind"}, [](const Record& r) { return testo_intero(r.tipo); }},
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
      {"flag", "", {"position"}, [](const Record& r) { return testo_intero(r.posizione); }},
  };
}

std::vector<CampoRecord> campi_testata(int indice) {
  switch (indice) {
    case kRecordTestataTreno:
      return {
          {"braked mass", "%", {"stop_zone_start"}, [](const Record& r) { return testo_intero(r.inizio_fermata); }},
          {"line length", "m", {"stop_zone_end"}, [](const Record& r) { return con_migliaia(r.fine_fermata); }},
          {"coaches", "", {"position"}, [](const Record& r) { return testo_intero(r.posizione); }},
      };
    case kRecordTestataScenario:
      return {
          {"background one", "", {"stop_zone_start"}, [](const Record& r) { return testo_intero(r.inizio_fermata); }},
          {"background three", "", {"stop_zone_end"}, [](const Record& r) { return testo_intero(r.fine_fermata); }},
          {"background two", "", {"position"}, [](const Record& r) { return testo_intero(r.posizione); }},
          {"scenario code", "", {"name"}, [](const Record& r) { return r.nome; }, true},
          {"scenario file stamp", "", {"rd2"}, [](const Record& r) { return testo_intero(r.rd2); }},
          {"weighted race code", "", {"scheduled_time"}, [](const Record& r) { return testo_intero(r.orario); }},
      };
    case kRecordTestataRipetizione:
      return {
          {"signal repetition start", "m", {"stop_zone_start"},
           [](const Record& r) { return con_migliaia(r.inizio_fermata); }},
          {"signal repetition end", "m", {"stop_zone_end"},
           [](const Record& r) { return con_migliaia(r.fine_fermata); }},
          {"signal repetition codes", "", {"position"}, [](const Record& r) { return testo_intero(r.posizione); }},
          {"train number", "", {"name"}, [](const Record& r) { return r.nome; }, true},
          {"sand", "", {"rd2"}, [](const Record& r) { return testo_intero(r.rd2); }},
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
      grezzi.push_back({nome, testo_intero(valore), false});
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
    VoceDifferenza voce{luogo.caratteristica, chiave(etichetta), dove.empty() ? etichetta : dove,
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
  contenuto += testo_intero(r.tipo);
  contenuto += ", scheduled time ";
  contenuto += testo_orario(r.orario);
  VoceDifferenza voce{"station", "", dove_stazione(r), "", r.posizione, std::nullopt, ""};
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
    VoceDifferenza voce{"station_order", "", "station order", "", std::nullopt, std::nullopt, ""};
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
  const VoceDifferenza voce{"sign_text", "", "sign text", "", std::nullopt, std::nullopt, "", true};
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

}  // namespace

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


}  // namespace gs

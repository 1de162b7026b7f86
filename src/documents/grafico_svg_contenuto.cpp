#include "documents/grafico_svg_contenuto.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace gs::grafico {
namespace {

// The last three cells carry no speed, gradient or adhesion.
std::size_t celle_con_dati(const std::vector<Cella>& celle) {
  return celle.size() > 3 ? celle.size() - 3 : 0;
}

bool indice_cartello_valido(std::int16_t indice) {
  return indice >= 1 && indice <= kRecordPrimoCartello;
}

std::vector<bool> record_di_cartelli(const std::vector<Cella>& celle) {
  std::vector<bool> di_cartello(kNumeroRecord, false);
  for (const Cella& cella : celle) {
    if (cella.tipo == kCellaCartello && indice_cartello_valido(cella.valore1)) {
      di_cartello[static_cast<std::size_t>(cella.valore1)] = true;
    }
  }
  return di_cartello;
}

// A stop zone inside the track, whichever way round the record gives it.
Stazione stazione_da_record(const Record& r, double metri_binario) {
  const auto dentro = [metri_binario](double m) { return std::clamp(m, 0.0, metri_binario); };
  Stazione s;
  s.inizio = dentro(std::min<double>(r.inizio_fermata, r.fine_fermata));
  s.fine = dentro(std::max<double>(r.inizio_fermata, r.fine_fermata));
  s.posizione = dentro(r.posizione);
  s.nome = r.nome;
  return s;
}

// Records 1 .. 79 with a name that no sign cell points to.
std::vector<Stazione> stazioni(const ScenarioCompilato& scenario, double metri_binario) {
  const std::vector<bool> di_cartello = record_di_cartelli(scenario.celle);
  std::vector<Stazione> trovate;
  for (std::size_t i = 1; i < static_cast<std::size_t>(kRecordPrimoCartello); ++i) {
    const Record& r = scenario.record[i];
    if (!r.nome.empty() && !di_cartello[i]) trovate.push_back(stazione_da_record(r, metri_binario));
  }
  return trovate;
}

std::string testo_intero(long valore) { return std::to_string(valore); }

// The left-hand board's speeds for ranks A, B, C: each code holds the speed
// times 20 plus a fifth of the right-hand one, so the hundreds give the left.
std::string velocita_indicatore(const Cella& cella) {
  std::string testo;
  for (const std::int16_t codice : {cella.valore1, cella.valore2, cella.valore3}) {
    if (codice < 100) continue;
    if (!testo.empty()) testo += '/';
    testo += testo_intero(codice / 100 * 5);
  }
  return testo;
}

std::string velocita_rallentamento(const Cella& cella) {
  return cella.valore1 > 0 ? testo_intero(cella.valore1) : std::string();
}

template <typename Testo>
std::vector<Marca> marche_di_tipo(const std::vector<Cella>& celle, std::uint8_t tipo,
                                  Testo testo_di) {
  std::vector<Marca> marche;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].tipo == tipo) marche.push_back({metri_cella(k), testo_di(celle[k])});
  }
  return marche;
}

std::string senza_testo(const Cella&) { return {}; }

std::vector<Marca> cartelli(const ScenarioCompilato& scenario) {
  std::vector<Marca> marche;
  for (std::size_t k = 0; k < scenario.celle.size(); ++k) {
    const Cella& cella = scenario.celle[k];
    if (cella.tipo != kCellaCartello || !indice_cartello_valido(cella.valore1)) continue;
    marche.push_back(
        {metri_cella(k), scenario.record[static_cast<std::size_t>(cella.valore1)].nome});
  }
  return marche;
}

// From each start cell to the next end cell; a start with no end runs on to
// the end of the track, an end with no start is left out.
std::vector<Banda> rallentamenti(const std::vector<Cella>& celle, double metri_binario) {
  std::vector<Banda> bande;
  std::optional<Banda> aperta;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].tipo == kCellaInizioRallentamento && !aperta) {
      aperta = Banda{metri_cella(k), metri_binario, velocita_rallentamento(celle[k])};
    } else if (celle[k].tipo == kCellaFineRallentamento && aperta) {
      aperta->a = metri_cella(k + 1);
      bande.push_back(*aperta);
      aperta.reset();
    }
  }
  if (aperta) bande.push_back(*aperta);
  return bande;
}

// Runs of cells with a mountain kind.
std::vector<Banda> montagne(const std::vector<Cella>& celle) {
  std::vector<Banda> bande;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].montagna == 0) continue;
    if (!bande.empty() && bande.back().a == metri_cella(k)) {
      bande.back().a = metri_cella(k + 1);
    } else {
      bande.push_back({metri_cella(k), metri_cella(k + 1), {}});
    }
  }
  return bande;
}

}  // namespace

double metri_cella(std::size_t k) { return 50.0 * static_cast<double>(k); }

Contenuto contenuto(const ScenarioCompilato& scenario) {
  const auto& celle = scenario.celle;
  Contenuto c;
  c.metri_binario = metri_cella(celle.size());
  c.stazioni = stazioni(scenario, c.metri_binario);
  c.segnali = marche_di_tipo(celle, kCellaSegnale, senza_testo);
  c.indicatori = marche_di_tipo(celle, kCellaIndicatoreVelocita, velocita_indicatore);
  c.avvisi = marche_di_tipo(celle, kCellaAvvisoRallentamento, velocita_rallentamento);
  c.abbattimenti = marche_di_tipo(celle, kCellaAbbattimento, senza_testo);
  c.abbattimenti_senza_valore = marche_di_tipo(celle, kCellaAbbattimentoSenzaValore, senza_testo);
  c.cartelli = cartelli(scenario);
  c.rallentamenti = rallentamenti(celle, c.metri_binario);
  c.montagne = montagne(celle);
  for (std::size_t k = 0; k < celle_con_dati(celle); ++k) {
    c.velocita.push_back(5.0 * celle[k].velocita);
    c.pendenza.push_back(static_cast<double>(celle[k].pendenza) - 100.0);
  }
  return c;
}

}  // namespace gs::grafico

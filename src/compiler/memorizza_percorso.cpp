#include "compiler/memorizza_percorso.h"

#include "compiler/cammino_celle.h"
#include "compiler/codice_gara.h"
#include "compiler/file_compilati.h"
#include "reader/memorizza_dati.h"

namespace gs {
namespace {

constexpr std::int16_t kTimbroScenario = 610;   // field 7 of record 85
constexpr std::int16_t kTimbroPercorso = 5121;  // first value of cell 1

// The profile flag, cleared records and error code; the track and the profile of
// an earlier call go too, so that a failed read never compiles a stale track.
void azzera_tabelle(std::int32_t j, TabelleScenario& tab) {
  tab.flag_profilo = j;
  tab.codice_errore = CodiceErrore::nessuno;
  for (Record& r : tab.record) r = Record{};
  tab.celle.clear();
  tab.profilo = TracciatoLinea{};
  tab.lunghezza_estesa = 0;
  tab.numero_celle = 0;
}

// Both header places must still be empty after reading: first the stamps'
// fields, stamped at once, then the race codes' fields. Returns the failed
// check's code, or none.
CodiceErrore controlla_e_timbra_testate(TabelleScenario& tab) {
  Record& testata = tab.record[kRecordTestataScenario];
  Cella& prima = tab.celle[1];
  if (testata.rd2 != 0 || prima.valore1 != 0) return CodiceErrore::timbro_gia_presente;
  testata.rd2 = kTimbroScenario;
  prima.valore1 = kTimbroPercorso;
  if (testata.orario != 0 || prima.valore2 != 0) return CodiceErrore::codice_gara_gia_presente;
  testata.orario = codice_gara_st(tab);
  prima.valore2 = static_cast<std::int16_t>(codice_gara_og(tab));  // at most 6375
  return CodiceErrore::nessuno;
}

}  // namespace

bool EsitoCompilazione::riuscita() const {
  return errore() == CodiceErrore::nessuno && percorso_presente;
}

CodiceErrore EsitoCompilazione::errore() const {
  return controllo_testate != CodiceErrore::nessuno ? controllo_testate : codice_errore;
}

bool percorso_presente(const TabelleScenario& tab) { return tab.celle.size() >= 2; }

EsitoCompilazione memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id,
                                     const Cartella& cartella, TabelleScenario& tab) {
  return compila_scenario(j, id, cartella, cartella, OpzioniLettura{}, tab);
}

EsitoCompilazione compila_scenario(const std::int32_t& j, const IdentitaScenario& id,
                                   const Cartella& descrizioni,
                                   const std::optional<Cartella>& uscita,
                                   const OpzioniLettura& lettura, TabelleScenario& tab) {
  azzera_tabelle(j, tab);
  EsitoCompilazione esito;
  esito.lettura = memorizza_dati(id, descrizioni, tab, lettura);
  compila_percorso(id, uscita, tab, esito);
  esito.codice_errore = tab.codice_errore;
  esito.posizione_errore = tab.posizione_errore;
  esito.numero_celle = tab.numero_celle;
  return esito;
}

void compila_percorso(const IdentitaScenario& id, const std::optional<Cartella>& uscita,
                      TabelleScenario& tab, EsitoCompilazione& esito) {
  esito.percorso_presente = percorso_presente(tab);
  if (!esito.percorso_presente) return;
  esito.marcatori_aggiunti = cammino_celle(tab);
  esito.controllo_testate = controlla_e_timbra_testate(tab);
  if (esito.controllo_testate != CodiceErrore::nessuno) return;
  esito.codici_gara = CodiciGara{tab.celle[1].valore2, tab.record[kRecordTestataScenario].orario};
  if (uscita) esito.file_scritti = scrivi_file_compilati(id, *uscita, tab);
}

}  // namespace gs

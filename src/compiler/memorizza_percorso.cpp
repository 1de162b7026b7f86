#include "compiler/memorizza_percorso.h"

#include "compiler/cammino_celle.h"
#include "compiler/codice_gara.h"
#include "compiler/errore.h"
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
  tab.codice_errore = 0;
  for (Record& r : tab.record) r = Record{};
  tab.celle.clear();
  tab.profilo = TracciatoLinea{};
  tab.lunghezza_estesa = 0;
  tab.numero_celle = 0;
}

// Both header places must still be empty after reading: first the stamps'
// fields, stamped at once, then the race codes' fields.
void controlla_e_timbra_testate(TabelleScenario& tab, Piattaforma& piattaforma) {
  Record& testata = tab.record[kRecordTestataScenario];
  Cella& prima = tab.celle[1];
  if (testata.rd2 != 0 || prima.valore1 != 0) errore(piattaforma, "1250");
  testata.rd2 = kTimbroScenario;
  prima.valore1 = kTimbroPercorso;
  if (testata.orario != 0 || prima.valore2 != 0) errore(piattaforma, "1251");
  testata.orario = codice_gara_st(tab);
  prima.valore2 = static_cast<std::int16_t>(codice_gara_og(tab));  // at most 6375
}

}  // namespace

bool percorso_presente(const TabelleScenario& tab) { return tab.celle.size() >= 2; }

EsitoCompilazione memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id,
                                     const Cartella& cartella, TabelleScenario& tab,
                                     Piattaforma& piattaforma) {
  return compila_scenario(j, id, cartella, cartella, OpzioniLettura{}, tab, piattaforma);
}

EsitoCompilazione compila_scenario(const std::int32_t& j, const IdentitaScenario& id,
                                   const Cartella& descrizioni, const Cartella& uscita,
                                   const OpzioniLettura& lettura, TabelleScenario& tab,
                                   Piattaforma& piattaforma) {
  azzera_tabelle(j, tab);
  EsitoCompilazione esito;
  esito.lettura = memorizza_dati(id, descrizioni, tab, lettura);
  esito.file_scritti = percorso_presente(tab);
  esito.marcatori_aggiunti = compila_percorso(id, uscita, tab, piattaforma);
  return esito;
}

std::int32_t compila_percorso(const IdentitaScenario& id, const Cartella& cartella,
                              TabelleScenario& tab, Piattaforma& piattaforma) {
  if (!percorso_presente(tab)) return 0;
  const std::int32_t marcatori = cammino_celle(tab);
  controlla_e_timbra_testate(tab, piattaforma);
  scrivi_file_compilati(id, cartella, tab);
  return marcatori;
}

}  // namespace gs

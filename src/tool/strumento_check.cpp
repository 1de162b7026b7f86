// scenario_tool check: every problem of an author's description files, each
// at its file, line and column, then the exact compile's error, if any;
// nothing is written.
#include "base/json.h"
#include "tool/diagnosi.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {

void scrivi_diagnostiche_json(ScrittoreJson& j, const std::vector<Diagnostica>& diagnostiche) {
  j.chiave("diagnostics").apri_lista();
  for (const Diagnostica& d : diagnostiche) {
    j.apri_oggetto();
    j.chiave("severity").stringa(d.gravita == Gravita::errore ? "error" : "warning");
    j.chiave("file").stringa_sistema(d.file);
    j.chiave("line").intero(d.riga);
    j.chiave("column").intero(d.colonna);
    j.chiave("code").stringa(d.codice);
    j.chiave("message").stringa_sistema(d.messaggio);
    j.chiude_oggetto();
  }
  j.chiude_lista();
}

std::pair<int, int> conta_diagnostiche(const std::vector<Diagnostica>& diagnostiche) {
  int errori = 0;
  for (const Diagnostica& d : diagnostiche) errori += d.gravita == Gravita::errore ? 1 : 0;
  return {errori, static_cast<int>(diagnostiche.size()) - errori};
}

int comando_check(const Argomenti& argomenti, Uscite& uscite) {
  const std::string cartella = argomenti.posizionali.front();
  const SceltaScenario scelta = scelta_scenario(argomenti);
  const IdentitaScenario id = trova_descrizioni(cartella, scelta.codice, scelta.treno);
  const Diagnosi diagnosi = diagnostica(id, Cartella{cartella, '/'}, 1);
  const auto [errori, avvisi] = conta_diagnostiche(diagnosi.diagnostiche);
  const bool severo = argomenti.ha("--strict");

  if (argomenti.ha("--json")) {
    ScrittoreJson j(uscite.uscita);
    j.apri_oggetto();
    scrivi_diagnostiche_json(j, diagnosi.diagnostiche);
    j.chiave("error_code");
    if (diagnosi.esito.errore() == CodiceErrore::nessuno) j.nullo();
    else j.intero(numero(diagnosi.esito.errore()));
    j.chiave("errors").intero(errori).chiave("warnings").intero(avvisi);
    j.chiude_oggetto();
    j.fine();
  } else {
    for (const Diagnostica& d : diagnosi.diagnostiche) {
      uscite.uscita << testo_diagnostica(d) << "\n";
    }
    uscite.uscita << id.codice_scenario << " " << id.numero_treno << ": " << errori
                  << (errori == 1 ? " error, " : " errors, ") << avvisi
                  << (avvisi == 1 ? " warning" : " warnings") << "\n";
  }
  return diagnosi.con_errori(severo) ? kStatoStrumentoScenario : kStatoStrumentoOk;
}

}  // namespace gs

// scenario_tool check: every problem of an author's description files, each
// at its file, line and column, then the exact compile's error, if any;
// nothing is written.
#include "tool/diagnosi.h"
#include "tool/documento_json.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {

DocumentoJson diagnostiche_json(const std::vector<Diagnostica>& diagnostiche) {
  DocumentoJson lista = DocumentoJson::array();
  for (const Diagnostica& d : diagnostiche) {
    DocumentoJson voce;
    voce["severity"] = d.gravita == Gravita::errore ? "error" : "warning";
    voce["file"] = stringa_sistema_json(d.file);
    voce["line"] = d.riga;
    voce["column"] = d.colonna;
    voce["code"] = stringa_json(d.codice);
    voce["message"] = stringa_sistema_json(d.messaggio);
    lista.push_back(std::move(voce));
  }
  return lista;
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
    const CodiceErrore errore = diagnosi.esito.errore();
    DocumentoJson documento;
    documento["diagnostics"] = diagnostiche_json(diagnosi.diagnostiche);
    documento["error_code"] =
        errore == CodiceErrore::nessuno ? DocumentoJson(nullptr) : DocumentoJson(numero(errore));
    documento["errors"] = errori;
    documento["warnings"] = avvisi;
    scrivi_documento(documento, uscite.uscita);
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

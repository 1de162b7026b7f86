// scenario_tool plot: the compiled scenario drawn as one SVG file.
#include "compiler/lettura_compilati.h"
#include "documents/grafico_svg.h"
#include "base/cartella_di_lavoro.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {

int comando_plot(const Argomenti& argomenti, Uscite& uscite) {
  const std::string cartella_compilati = argomenti.posizionali.front();
  const auto codice = opzione(argomenti, "--code");
  const auto treno = opzione(argomenti, "--train");
  if (codice) controlla_nome("--code", *codice);
  if (treno) controlla_nome("--train", *treno);
  const IdentitaScenario id = trova_compilati(cartella_compilati, codice, treno);
  const Cartella cartella{cartella_compilati, '/'};
  const std::string destinazione =
      argomenti.valore("-o", cartella.file(id.codice_scenario + "_" + id.numero_treno + ".svg"));

  ScenarioCompilato scenario;
  try {
    scenario = leggi_scenario_compilato(id, cartella);
  } catch (const ErroreFormato& formato) {
    uscite.errori << "scenario_tool plot: the compiled files of " << id.codice_scenario << " "
                  << id.numero_treno << " in " << cartella_compilati
                  << " are damaged: " << formato.what() << "\n";
    return kStatoStrumentoUso;
  }
  scrivi_al_posto(destinazione, grafico_svg(scenario, id.codice_scenario + " " + id.numero_treno));
  uscite.uscita << "wrote " << destinazione << "\n";
  return kStatoStrumentoOk;
}

}  // namespace gs

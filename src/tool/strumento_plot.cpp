// scenario_tool plot: the scenario drawn as one SVG file, or with --html as
// the viewer's page with the model inside, compiled in memory from its
// description files, or from its compiled files where there are none.
#include "base/cartella_di_lavoro.h"
#include "compiler/lettura_compilati.h"
#include "documents/grafico_svg.h"
#include "tool/argomenti.h"
#include "tool/diagnosi.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"
#include "tool/modello_vista.h"
#include "tool/vista.h"

namespace gs {
namespace {

}  // namespace

int comando_plot(const Argomenti& argomenti, Uscite& uscite) {
  const std::string dir = argomenti.posizionali.front();
  const SceltaScenario scelta = scelta_scenario(argomenti);
  const Cartella cartella{dir, '/'};

  const bool html = argomenti.ha("--html");
  ScenarioCompilato scenario;
  IdentitaScenario id;
  std::string modello;  // the page's, with --html
  int stato = kStatoStrumentoOk;
  const ScenarioTrovato trovato = trova_scenario(dir, scelta);
  id = trovato.id;
  if (trovato.da_descrizioni) {
    const Diagnosi diagnosi = diagnostica(id, cartella, 1);
    for (const Diagnostica& d : diagnosi.diagnostiche) {
      uscite.errori << testo_diagnostica(d) << "\n";
    }
    if (diagnosi.con_errori()) stato = kStatoStrumentoScenario;
    // The page shows a scenario without a track too: its diagnostics say why.
    if (!diagnosi.esito.percorso_presente && !html) {
      uscite.errori << "scenario_tool plot: no track to draw\n";
      return kStatoStrumentoScenario;
    }
    if (html) {
      modello = modello_diagnosi(diagnosi);
    } else {
      scenario = scenario_da_tabelle(*diagnosi.tabelle);
    }
  } else {
    uscite.uscita << "no description files in " << dir << ": drawing the compiled files "
                  << id.codice_scenario << "_" << id.numero_treno << ".sim and .dat\n";
    try {
      scenario = leggi_scenario_compilato(id, cartella);
    } catch (const ErroreFormato& formato) {
      uscite.errori << "scenario_tool plot: the compiled files of " << id.codice_scenario << " "
                    << id.numero_treno << " in " << dir << " are damaged: " << formato.what()
                    << "\n";
      return kStatoStrumentoUso;
    }
  }
  const std::string destinazione = argomenti.valore(
      "-o", cartella.file(id.codice_scenario + "_" + id.numero_treno + (html ? ".html" : ".svg")));
  if (html) {
    if (modello.empty()) modello = modello_compilati(id, scenario);
    scrivi_al_posto(destinazione, pagina_vista_autonoma(modello));
  } else {
    scrivi_al_posto(destinazione, grafico_svg(scenario, id.codice_scenario + " " + id.numero_treno));
  }
  uscite.uscita << "wrote " << destinazione << "\n";
  return stato;
}

}  // namespace gs

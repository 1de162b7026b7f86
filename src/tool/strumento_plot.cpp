// scenario_tool plot: the scenario drawn as one SVG file, compiled in memory
// from its description files, or from its compiled files where there are none.
#include "base/cartella_di_lavoro.h"
#include "compiler/lettura_compilati.h"
#include "documents/grafico_svg.h"
#include "tool/argomenti.h"
#include "tool/diagnosi.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

// The scenario as the compiled files would hold it, from tables compiled in memory.
ScenarioCompilato da_tabelle(const TabelleScenario& tab) {
  ScenarioCompilato scenario;
  scenario.record = tab.record;
  scenario.celle = tab.celle;
  if (tab.flag_profilo != 0) scenario.profilo = punti_profilo(tab.profilo);
  return scenario;
}

// The description files of the scenario in `cartella`, if it has them.
std::optional<IdentitaScenario> descrizioni_presenti(const std::string& cartella,
                                                     const SceltaScenario& scelta) {
  try {
    return trova_descrizioni(cartella, scelta.codice, scelta.treno);
  } catch (const ErroreUso&) {
    return std::nullopt;
  }
}

}  // namespace

int comando_plot(const Argomenti& argomenti, Uscite& uscite) {
  const std::string dir = argomenti.posizionali.front();
  const SceltaScenario scelta = scelta_scenario(argomenti);
  const Cartella cartella{dir, '/'};

  ScenarioCompilato scenario;
  IdentitaScenario id;
  int stato = kStatoStrumentoOk;
  if (const auto trovata = descrizioni_presenti(dir, scelta)) {
    id = *trovata;
    const Diagnosi diagnosi = diagnostica(id, cartella, 1);
    for (const Diagnostica& d : diagnosi.diagnostiche) {
      uscite.errori << testo_diagnostica(d) << "\n";
    }
    if (!diagnosi.esito.percorso_presente) {
      uscite.errori << "scenario_tool plot: no track to draw\n";
      return kStatoStrumentoScenario;
    }
    if (diagnosi.con_errori()) stato = kStatoStrumentoScenario;
    scenario = da_tabelle(*diagnosi.tabelle);
  } else {
    id = trova_compilati(dir, scelta.codice, scelta.treno);
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
  const std::string destinazione =
      argomenti.valore("-o", cartella.file(id.codice_scenario + "_" + id.numero_treno + ".svg"));
  scrivi_al_posto(destinazione, grafico_svg(scenario, id.codice_scenario + " " + id.numero_treno));
  uscite.uscita << "wrote " << destinazione << "\n";
  return stato;
}

}  // namespace gs

// The scenario identity (scenario code and train number) and the names it
// gives to the eight files of a run.
#pragma once

#include <string>

namespace gs {

struct IdentitaScenario {
  std::string codice_scenario;
  std::string numero_treno;
};

// The identity of the embedded scenario.
IdentitaScenario identita_incorporata();

std::string nome_descrizione_linea(const IdentitaScenario& id);  // CODE_linea.txt
std::string nome_descrizione_treno(const IdentitaScenario& id);  // CODE_TRAIN-.txt
std::string nome_note(const IdentitaScenario& id);
std::string nome_rallentamenti(const IdentitaScenario& id);
std::string nome_scheda_treno(const IdentitaScenario& id);
std::string nome_profilo_linea(const IdentitaScenario& id);     // CODE_linea.dat
std::string nome_file_scenario(const IdentitaScenario& id);     // CODE_TRAIN.sim
std::string nome_file_percorso(const IdentitaScenario& id);     // CODE_TRAIN.dat

}  // namespace gs

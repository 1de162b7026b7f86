// Reads the line and then the train description file back into the scenario
// tables; every scenario error ends up in the error code, never as a throw.
#pragma once

#include "reader/tabelle.h"
#include "shell/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

// Expects the record table cleared and the error code 0 (memorizza_percorso
// does both). Deletes each description file once it has opened it.
void memorizza_dati(const IdentitaScenario& id, const Cartella& cartella, TabelleScenario& tab);

}  // namespace gs

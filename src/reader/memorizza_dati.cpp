#include "reader/memorizza_dati.h"

namespace gs {

void memorizza_dati(const IdentitaScenario&, const Cartella&, TabelleScenario&) {}

}  // namespace gs

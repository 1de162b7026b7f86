#include "compiler/memorizza_percorso.h"

namespace gs {

void memorizza_percorso(const std::int32_t&, const IdentitaScenario&, const Cartella&,
                        TabelleScenario&, Piattaforma&) {}

}  // namespace gs

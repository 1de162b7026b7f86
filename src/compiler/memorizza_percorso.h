// The compiler proper: read both description files into the tables, walk the
// track adding markers, check and stamp the headers, write the compiled files.
#pragma once

#include <cstdint>

#include "reader/tabelle.h"
#include "shell/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

// `j` becomes the profile flag. May end the program through `errore`.
void memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id,
                        const Cartella& cartella, TabelleScenario& tab, Piattaforma& piattaforma);

}  // namespace gs

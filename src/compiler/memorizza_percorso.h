// The compiler proper: read both description files into the tables, walk the
// track adding markers, check and stamp the headers, write the compiled files.
#pragma once

#include <cstdint>

#include "reader/tabelle.h"
#include "shell/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

// `j` becomes the profile flag. Clears the tables, reads, then compila_percorso.
// May end the program through `errore`; file failures throw ErroreFile.
void memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id, const Cartella& cartella,
                        TabelleScenario& tab, Piattaforma& piattaforma);

// Everything after reading: the cell walk, the header checks and stamps, the race
// codes and the compiled files. Does nothing when there is no track to compile.
void compila_percorso(const IdentitaScenario& id, const Cartella& cartella, TabelleScenario& tab,
                      Piattaforma& piattaforma);

// True once the reader has laid a track that reaches cell 1, where the headers go.
bool percorso_presente(const TabelleScenario& tab);

}  // namespace gs

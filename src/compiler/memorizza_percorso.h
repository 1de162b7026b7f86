// The compiler proper: read both description files into the tables, walk the
// track adding markers, check and stamp the headers, write the compiled files.
#pragma once

#include <cstdint>

#include "reader/memorizza_dati.h"
#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

// How a compile went, beyond the error code the tables hold.
struct EsitoCompilazione {
  EsitoLettura lettura;                // where reading stopped, stations read
  std::int32_t marcatori_aggiunti = 0;  // abbattimento markers the walk placed
  bool file_scritti = false;            // false: there was no track to compile
};

// `j` becomes the profile flag. Reads both description files from `cartella`
// (deleting them) and writes the compiled files there. May end the program
// through `errore`; file failures throw ErroreFile.
EsitoCompilazione memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id,
                                     const Cartella& cartella, TabelleScenario& tab,
                                     Piattaforma& piattaforma);

// The same compile with the description files read from `descrizioni` (kept or
// deleted as `lettura` says) and the compiled files written into `uscita`.
EsitoCompilazione compila_scenario(const std::int32_t& j, const IdentitaScenario& id,
                                   const Cartella& descrizioni, const Cartella& uscita,
                                   const OpzioniLettura& lettura, TabelleScenario& tab,
                                   Piattaforma& piattaforma);

// Everything after reading: the cell walk, the header checks and stamps, the race
// codes and the compiled files. Does nothing when there is no track to compile.
// Returns the markers the walk placed.
std::int32_t compila_percorso(const IdentitaScenario& id, const Cartella& cartella,
                              TabelleScenario& tab, Piattaforma& piattaforma);

// True once the reader has laid a track that reaches cell 1, where the headers go.
bool percorso_presente(const TabelleScenario& tab);

}  // namespace gs

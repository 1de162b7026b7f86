// The three compiled scenario files: the line profile, the record table and
// the track cells, packed little-endian field by field with no header.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// All x then all y, each point a 16-bit tag (0 nothing, 2 a 16-bit whole
// number, 5 a double) and its value. Throws std::out_of_range for a tag-2
// point that does not round into 16 bits.
std::string byte_profilo_linea(const ProfiloLinea& profilo);
// The same bytes for a traced profile, worked out from its runs.
std::string byte_profilo_linea(const TracciatoLinea& tracciato);

// Records 0 .. 86, 34 bytes each plus the name's bytes (after its 16-bit
// length). Throws std::out_of_range for a name longer than 65535 bytes.
std::string byte_file_scenario(const std::array<Record, kNumeroRecord>& record);

// Every cell in index order, 15 bytes each: cell c starts at byte 15 c.
std::string byte_file_percorso(const std::vector<Cella>& celle);

// Writes the profile file (only when the profile flag is non-zero), the scenario
// file and the track file, each replacing any older one; returns their names in
// that order. Throws ErroreFile.
std::vector<std::string> scrivi_file_compilati(const IdentitaScenario& id,
                                               const Cartella& cartella,
                                               const TabelleScenario& tab);

}  // namespace gs

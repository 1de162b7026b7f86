// The two race codes: checksums over the first 25 characters of the race key
// (train number, then scenario code, lower-cased, then a fixed filler).
#pragma once

#include <cstdint>
#include <string>

#include "reader/tabelle.h"

namespace gs {

// Windows-1252 lower case of one byte; bytes without a lower case stay.
char minuscola_1252(char carattere);

// The race key: numero_treno + codice_scenario in lower case, then the filler
// "zzyyxxwwvvuuttssrrqqppkkjj". Always at least 26 bytes long.
std::string chiave_gara(const std::string& numero_treno, const std::string& codice_scenario);

// Weighted race code: sum of p times the byte at position p (1 .. 25) of the
// key built from the names of records 86 and 85. Between 0 and 82875.
std::int32_t codice_gara_st(const TabelleScenario& tab);

// Plain race code: sum of the first 25 bytes of the same key. Between 0 and 6375.
std::int32_t codice_gara_og(const TabelleScenario& tab);

}  // namespace gs

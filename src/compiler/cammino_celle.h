// The cell walk: abbattimento markers before the signals that precede a
// slowdown warning board and around every slowdown; conflicts become errors.
#pragma once

#include <cstdint>

#include "reader/tabelle.h"

namespace gs {

inline constexpr std::int16_t kValoreAbbattimento = 180;        // a placed marker's first value
inline constexpr std::int16_t kVelocitaSenzaRipetizione = 110;  // km/h: no repeat markers from here

// Walks cells 1 .. N - 2 (N the last cell) once, in increasing order: rule A at
// each warning board (type 4), rule B at each slowdown start (type 3). Never looks
// past N; changes only cells of types 0, 11 and 12. Conflicts set error 11, 12 or
// 13 with the cell index x 50 as the error position; the walk goes on after them.
// Returns how many markers it placed.
std::int32_t cammino_celle(TabelleScenario& tab);

}  // namespace gs

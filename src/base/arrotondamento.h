// The one real-to-integer rounding of the system: half to even, everywhere
// (cell indexes, speeds in steps of 5 km/h, board speed codes, stop zones).
#pragma once

#include <cmath>

namespace gs {

// Nearest whole number to x; a value exactly halfway goes to the even one.
// Infinities and NaN come back unchanged, so callers range-check the result.
inline double arrotonda_pari(double x) {
  const double sotto = std::floor(x);
  const double resto = x - sotto;
  if (resto > 0.5) return sotto + 1.0;
  if (resto < 0.5) return sotto;
  return std::fmod(sotto, 2.0) == 0.0 ? sotto : sotto + 1.0;
}

}  // namespace gs

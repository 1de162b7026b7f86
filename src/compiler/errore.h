// The two small operations of the back end: the numbered error shown to the
// user, which ends the program, and the minimum of two values.
#pragma once

#include <string>

#include "shell/piattaforma.h"

namespace gs {

// Thrown once the program must end at once with `stato` as its exit status
// (after `errore` has shown its message, whose number is `numero`).
struct FineProgramma {
  int stato;
  std::string numero;
};

inline constexpr int kStatoErroreNumerato = 1;
inline constexpr int kStatoErroreFile = 2;

// Shows " Errore n. " followed by `a` and ends the program at once with
// status 1 (throws FineProgramma carrying `a`; nothing after it runs).
[[noreturn]] void errore(Piattaforma& piattaforma, const std::string& a);

// The smaller of two values; the first on a tie.
template <typename T>
T minimo(const T& x, const T& y) {
  return x > y ? y : x;
}

}  // namespace gs

// Run-time failures of reading: an unreadable value, a read past the end of a
// file, an index outside the tables, a value that does not fit its field.
// memorizza_dati catches them all and turns them into scenario error 25.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/testo_utf8.h"
#include "reader/tabelle.h"

namespace gs {

// The message keeps every byte of a field it quotes, control bytes escaped,
// so that a NUL or an escape sequence in a description file cuts nothing.
class ErroreEsecuzione : public std::runtime_error {
 public:
  explicit ErroreEsecuzione(const std::string& motivo)
      : std::runtime_error(testo_visibile(motivo)) {}
};

// The cell at `indice`; an index outside 0 .. numero_celle (or a track not yet
// allocated) throws ErroreEsecuzione.
inline Cella& cella_in(TabelleScenario& tab, std::int64_t indice) {
  if (indice < 0 || indice >= static_cast<std::int64_t>(tab.celle.size())) {
    throw ErroreEsecuzione("cell index " + std::to_string(indice) + " outside the track");
  }
  return tab.celle[static_cast<std::size_t>(indice)];
}

}  // namespace gs

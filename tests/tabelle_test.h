// Scenario tables for tests: a track as the line reader leaves it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/tabelle.h"

namespace gs::test {

// Cells 0 .. numero_celle, all zero; everything else cleared.
inline TabelleScenario percorso_vuoto(std::int32_t numero_celle) {
  TabelleScenario tab;
  tab.celle.resize(static_cast<std::size_t>(numero_celle) + 1);
  tab.numero_celle = numero_celle;
  return tab;
}

}  // namespace gs::test

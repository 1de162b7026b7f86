// The records of two scenario files compared: stations matched by name and
// position, sign texts, progressives and the three headers field by field.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "reader/tabelle.h"
#include "tool/confronto.h"

namespace gs {

// Appends the differences of the records from `a` to `b`. The cells, where a
// side has them, tell which records hold sign texts (compared through their
// signs); without them the sign texts are compared by text alone.
void confronta_record(const std::array<Record, kNumeroRecord>& a,
                      const std::optional<std::vector<Cella>>& celle_a,
                      const std::array<Record, kNumeroRecord>& b,
                      const std::optional<std::vector<Cella>>& celle_b,
                      std::vector<Differenza>& differenze);

}  // namespace gs

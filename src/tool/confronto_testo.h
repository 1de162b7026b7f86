// How a difference of the comparison is worded: where it lies, what changed,
// the values before and after in real units, as one line and as its parts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tool/confronto.h"

namespace gs {

// What a difference is about.
struct VoceDifferenza {
  std::string caratteristica;  // the feature, as the JSON names it
  std::string campo;           // the field, as the JSON names it; empty for the whole feature
  std::string dove;            // "km 15.00-17.00", "signal at 9.80 km", "line length"
  std::string etichetta;       // "speed limit", "left aspects"; empty for the whole feature
  std::optional<std::int64_t> inizio_m;
  std::optional<std::int64_t> fine_m;
  std::string unita;
  bool virgolette = false;     // the values are texts: quoted in the line
};

// The difference from `prima` to `dopo` (either missing: added or removed):
//   "km 15.00-17.00: speed limit 115 -> 60 km/h"
//   "km 89.00-89.85: speed limit added: 130 km/h"
//   "signal at 21.05 km: added (left kind 2, ...)"
//   "line length: 82,000 -> 83,000 m"
Differenza componi(const VoceDifferenza& voce, std::optional<std::string> prima, std::optional<std::string> dopo);

// "left aspects" -> "left_aspects": a label as a JSON key.
std::string chiave(const std::string& etichetta);

// "-12": a whole number as text.
std::string testo_intero(std::int64_t valore);

// A name or text between double quotes, its control bytes made visible.
std::string tra_virgolette(const std::string& testo);

}  // namespace gs

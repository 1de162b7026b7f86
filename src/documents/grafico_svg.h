// The plot of a compiled scenario: one self-contained SVG picture with the
// plan of the line from its profile, and beneath it the track along a
// kilometre axis (stations, signals, boards, slowdowns, markers, signs,
// mountain stretches, speed limit and gradient).
#pragma once

#include <string>
#include <string_view>

#include "compiler/lettura_compilati.h"

namespace gs {

// The SVG document (UTF-8) of `scenario`, headed by `titolo` (UTF-8 text;
// bytes that are not UTF-8 show as U+FFFD). The names and sign texts of the
// records are read as Windows-1252. Whatever the tables hold, the document is
// well-formed and stays small: marks and labels are thinned to what the
// picture can show.
std::string grafico_svg(const ScenarioCompilato& scenario, std::string_view titolo);

}  // namespace gs

// The plan view: the line drawn from its profile, north up, with the stations
// named where there is room, a north arrow and a scale bar.
#pragma once

#include <string>

#include "compiler/lettura_compilati.h"
#include "documents/grafico_svg_contenuto.h"

namespace gs::grafico {

// The plan panel beneath the legend; a note in it instead when the scenario
// has no profile or the profile holds no usable point.
void disegna_pianta(std::string& svg, const ScenarioCompilato& scenario, const Contenuto& c);

}  // namespace gs::grafico

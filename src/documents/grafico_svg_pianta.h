// The plan view: the line drawn from its profile, north up, with the stations
// named where there is room, a north arrow and a scale bar.
#pragma once

#include <string>
#include <vector>

#include "compiler/lettura_compilati.h"
#include "documents/grafico_svg_contenuto.h"

namespace gs::grafico {

// A point of the profile, in metres east and north, and how far along the
// line it lies.
struct PuntoPianta {
  double x = 0;
  double y = 0;
  double metri = 0;
};

// The plan thinned to what a picture can show: one usable point every so many
// metres (at least 50, and no more than a few thousand points in all), and
// the last one. Points that are not finite or lie absurdly far are left out.
std::vector<PuntoPianta> campioni_pianta(const ProfiloLinea& profilo);

// The plan panel beneath the legend; a note in it instead when the scenario
// has no profile or the profile holds no usable point.
void disegna_pianta(std::string& svg, const ScenarioCompilato& scenario, const Contenuto& c);

}  // namespace gs::grafico

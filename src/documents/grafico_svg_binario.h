// The track view: lanes of features (stations, signals, boards, slowdowns,
// markers, signs, mountain stretches) along the kilometre axis.
#pragma once

#include <string>

#include "documents/grafico_svg_contenuto.h"
#include "documents/grafico_svg_scale.h"

namespace gs::grafico {

// Shaded rows behind every other lane, and the panels of the two diagrams.
void disegna_fondi(std::string& svg);

// Kilometre ticks along the bottom, with grid lines up through the lanes.
void disegna_asse_km(std::string& svg, const AsseKm& asse);

// Every lane with its caption, "none" along a lane with nothing in it.
void disegna_corsie(std::string& svg, const Contenuto& c, const AsseKm& asse);

}  // namespace gs::grafico

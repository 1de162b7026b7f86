// The two diagrams beneath the lanes: the speed limit and the gradient as step
// lines over the cells, on scales with gridlines, the stop zones behind them.
#pragma once

#include <string>

#include "documents/grafico_svg_contenuto.h"
#include "documents/grafico_svg_scale.h"

namespace gs::grafico {

// Stop zones as pale bands through the diagrams, to read them against the stations.
void disegna_fermate_diagrammi(std::string& svg, const Contenuto& c, const AsseKm& asse);

// The speed limit diagram, then the gradient one, uphill and downhill filled.
void disegna_diagrammi(std::string& svg, const Contenuto& c, const AsseKm& asse);

}  // namespace gs::grafico

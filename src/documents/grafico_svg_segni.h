// The marks of the track lanes as SVG path data, shared by the lanes and the
// legend so that a swatch always looks like what it explains.
#pragma once

#include <string>
#include <vector>

namespace gs::grafico {

// A signal's mast at x from `basso` up to `alto`, and its light on top at y.
std::string segno_segnale(double x, double basso, double alto);
std::string luce_segnale(double x, double y);

// An abbattimento marker: a diamond centred on (x, y).
std::string rombo(double x, double y);

// A slowdown warning board: a triangle at x standing on `basso`.
std::string triangolo(double x, double basso);

// Speed boards or signs: a small square at each of `colonne`, standing on `basso`.
std::string quadretti(const std::vector<double>& colonne, double basso);

}  // namespace gs::grafico

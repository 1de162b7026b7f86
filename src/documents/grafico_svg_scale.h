// The scales of the plot: the kilometre axis that maps metres along the line
// to page x, the value ranges of the two diagrams, and round tick steps.
#pragma once

#include <string>
#include <vector>

#include "documents/grafico_svg_contenuto.h"
#include "documents/grafico_svg_pagina.h"

namespace gs::grafico {

// The smallest of 1, 2, 5 times a power of ten that is at least `grezzo`;
// 1 when `grezzo` is not a positive number.
double passo_tondo(double grezzo);

// Decimals that a multiple of `passo` needs, at least 0.
int decimali(double passo);

// `valore` with `cifre` decimals, never in a locale's form; "?" when it does
// not fit.
std::string con_decimali(double valore, int cifre);

// Metres along the line to page x, the whole track across the plot area.
struct AsseKm {
  double metri = 50;
  double x(double m) const { return kSinistra + m * (kLarghezzaGrafico / metri); }
};

// The axis of the track of `c`, never shorter than one cell.
AsseKm asse_km(const Contenuto& c);

// A value range [0 or -massimo, massimo] for a diagram, with its tick step.
struct Scala {
  double minimo = 0;
  double massimo = 1;
  double passo = 1;
  double y(const Fascia& f, double v) const {
    return f.basso - (v - minimo) * ((f.basso - f.alto) / (massimo - minimo));
  }
};

// From 0 to the highest speed rounded up to a tick; the tick is a round
// quarter of that speed, or of 40 km/h when it is lower.
Scala scala_velocita(const std::vector<double>& velocita);

// Symmetric about zero out to a round value at or beyond the steepest
// gradient (5 at least), ticked at that value and zero.
Scala scala_pendenza(const std::vector<double>& pendenza);

}  // namespace gs::grafico

// The line profile as the reader traces it: not its points but the runs that
// produce them, straight or curved, one metre a step. Walking the runs gives
// the points back in order, each from the two before it with the arithmetic in
// one fixed order, so they come out bit for bit the same on every walk; a
// route of 1,000,000 m then needs no 16 MB of points in memory.
#pragma once

#include <cstdint>
#include <vector>

namespace gs {

// Points up to `ultimo` included, each from the two before it: straight on, or
// with the heading turned by curvature k.
struct TrattoLinea {
  std::int32_t ultimo = 0;
  bool curva = false;
  double k = 0;

  friend bool operator==(const TrattoLinea&, const TrattoLinea&) = default;
};

// Points 0 and 1 are the origin and one metre along +y; the runs trace points
// 2 .. assegnati - 1; the rest, up to punti - 1, hold nothing.
struct TracciatoLinea {
  std::int32_t punti = 0;      // extended length + 1 once allocated, else 0
  std::int32_t assegnati = 0;  // points 0 .. assegnati - 1 hold a value
  std::vector<TrattoLinea> tratti;
};

inline constexpr double kInizioX[2] = {0, 0};  // points 0 and 1
inline constexpr double kInizioY[2] = {0, 1};

namespace dettaglio {

// The points of one run, from point m on; the last two points travel in x1,
// x2, y1, y2. One loop per kind of run, so that each stays tight.
template <bool kCurva, typename Punto>
void percorri_tratto(const TrattoLinea& tratto, std::int32_t& m, double& x1, double& x2,
                     double& y1, double& y2, Punto& punto) {
  const double k = tratto.k;
  for (; m <= tratto.ultimo; ++m) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const double xn = kCurva ? x1 + (dy * k + dx) : x1 + dx;
    const double yn = kCurva ? y1 + (dy - dx * k) : y1 + dy;
    punto(xn, yn);
    x2 = x1;
    x1 = xn;
    y2 = y1;
    y1 = yn;
  }
}

}  // namespace dettaglio

// Hands points 2 .. assegnati - 1, in order, to punto(x, y).
template <typename Punto>
void percorri_tracciato(const TracciatoLinea& t, Punto&& punto) {
  double x2 = kInizioX[0], x1 = kInizioX[1], y2 = kInizioY[0], y1 = kInizioY[1];
  std::int32_t m = 2;
  for (const TrattoLinea& tratto : t.tratti) {
    if (tratto.curva) {
      dettaglio::percorri_tratto<true>(tratto, m, x1, x2, y1, y2, punto);
    } else {
      dettaglio::percorri_tratto<false>(tratto, m, x1, x2, y1, y2, punto);
    }
  }
}

}  // namespace gs

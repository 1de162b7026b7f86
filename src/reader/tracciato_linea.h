// The line profile as the reader traces it: not its points but the runs that
// produce them, straight or curved, one metre a step. Walking the runs gives
// the points back in order, each from the two before it with the arithmetic in
// one fixed order, so they come out bit for bit the same on every walk; a
// route of 1,000,000 m then needs no 16 MB of points in memory.
#pragma once

#include <algorithm>
#include <cstddef>
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

// Walks the runs of a traced profile a stretch at a time, giving points 2 ..
// assegnati - 1 back in order. The last two points travel in locals through
// each stretch, so that its loop stays tight; one loop per kind of run.
class CamminoTracciato {
 public:
  explicit CamminoTracciato(const TracciatoLinea& tracciato) : t_(tracciato) {}

  // Hands the next points, at most `quanti`, in order to punto(x, y); returns
  // how many it handed (fewer only once the runs are over).
  template <typename Punto>
  std::int32_t avanza(std::int32_t quanti, Punto&& punto) {
    std::int32_t dati = 0;
    while (dati < quanti && tratto_ < t_.tratti.size()) {
      const TrattoLinea& tratto = t_.tratti[tratto_];
      const std::int32_t ultimo = std::min(tratto.ultimo, m_ + (quanti - dati) - 1);
      const std::int32_t primo = m_;
      if (tratto.curva) {
        passi<true>(ultimo, tratto.k, punto);
      } else {
        passi<false>(ultimo, 0.0, punto);
      }
      dati += m_ - primo;
      if (m_ > tratto.ultimo) ++tratto_;
    }
    return dati;
  }

 private:
  // Points m_ .. ultimo: straight on, or with the heading turned by k.
  template <bool kCurva, typename Punto>
  void passi(std::int32_t ultimo, double k, Punto& punto) {
    double x1 = x1_, x2 = x2_, y1 = y1_, y2 = y2_;
    std::int32_t m = m_;
    for (; m <= ultimo; ++m) {
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
    x1_ = x1;
    x2_ = x2;
    y1_ = y1;
    y2_ = y2;
    m_ = m;
  }

  const TracciatoLinea& t_;
  std::size_t tratto_ = 0;
  std::int32_t m_ = 2;
  double x1_ = kInizioX[1], x2_ = kInizioX[0], y1_ = kInizioY[1], y2_ = kInizioY[0];
};

}  // namespace gs

#include "reader/tracciato_linea.h"

#include <algorithm>
#include <cstddef>

#include "reader/tabelle.h"

namespace gs {

ProfiloLinea punti_profilo(const TracciatoLinea& tracciato) {
  ProfiloLinea p;
  const auto punti = static_cast<std::size_t>(std::max(tracciato.punti, 0));
  p.x.assign(punti, 0.0);
  p.y.assign(punti, 0.0);
  p.assegnati = tracciato.assegnati;
  const auto iniziali =
      std::min<std::size_t>({2, punti, static_cast<std::size_t>(std::max(p.assegnati, 0))});
  for (std::size_t m = 0; m < iniziali; ++m) {
    p.x[m] = kInizioX[m];
    p.y[m] = kInizioY[m];
  }
  std::size_t m = 2;
  CamminoTracciato cammino(tracciato);
  cammino.avanza(tracciato.assegnati, [&](double x, double y) {
    p.x[m] = x;
    p.y[m] = y;
    ++m;
  });
  return p;
}

}  // namespace gs

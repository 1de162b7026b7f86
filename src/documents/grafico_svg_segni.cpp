#include "documents/grafico_svg_segni.h"

#include "documents/grafico_svg_testo.h"

namespace gs::grafico {

std::string segno_segnale(double x, double basso, double alto) {
  return "M" + numero(x) + " " + numero(basso) + "V" + numero(alto);
}

std::string luce_segnale(double x, double y) { return "M" + numero(x) + " " + numero(y) + "h0"; }

std::string rombo(double x, double y) {
  return "M" + numero(x) + " " + numero(y - 4) + "l4 4-4 4-4-4z";
}

std::string triangolo(double x, double basso) {
  return "M" + numero(x) + " " + numero(basso - 9) + "l4.5 9h-9z";
}

std::string quadretti(const std::vector<double>& colonne, double basso) {
  std::string dati;
  for (const double x : colonne) dati += "M" + numero(x - 2) + " " + numero(basso - 8) + "h4v8h-4z";
  return dati;
}

}  // namespace gs::grafico

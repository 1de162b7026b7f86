// Thinning marks and labels to what a lane can show: marks closer than a few
// page units share one, labels that find no free row are left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "documents/grafico_svg_contenuto.h"
#include "documents/grafico_svg_elementi.h"
#include "documents/grafico_svg_scale.h"
#include "documents/grafico_svg_testo.h"

namespace gs::grafico {

// The page x of the marks, in track order, leaving out each one that stands
// less than `distanza` after the last one kept.
std::vector<double> colonne_distinte(const std::vector<Marca>& marche, const AsseKm& asse,
                                     double distanza);

// Bands in page x, at least 2.5 wide, those that touch merged into one.
std::vector<Punto> bande_unite(const std::vector<Banda>& bande, const AsseKm& asse);

// A label to place, pointing at page x.
struct Etichetta {
  double x = 0;  // where the label points
  TestoMisurato testo;
};

// A label placed in a row of its lane.
struct EtichettaPosata {
  double x = 0;  // the text's left end
  double punta = 0;
  int riga = 0;
  std::string testo;
};

// The labels of the marks that have a text, in the marks' order.
std::vector<Etichetta> etichette_di(const std::vector<Marca>& marche, const AsseKm& asse);

// Each of `etichette`, given in order of x, in the first of `righe` rows
// where it clears the one before, starting at its point, or ending there near
// the right edge; a label that finds no row is left out. `corpo`: font size.
std::vector<EtichettaPosata> posa_etichette(const std::vector<Etichetta>& etichette, int righe,
                                            double corpo);

// Labels of a lane, row 0 at `prima_riga` on top, with a thin leader down to `piede`.
void disegna_etichette(std::string& svg, const std::vector<EtichettaPosata>& posate,
                       double prima_riga, double interlinea, double piede, std::string_view classe);

}  // namespace gs::grafico

#include "documents/grafico_svg.h"

#include "documents/grafico_svg_binario.h"
#include "documents/grafico_svg_contenuto.h"
#include "documents/grafico_svg_cornice.h"
#include "documents/grafico_svg_diagrammi.h"
#include "documents/grafico_svg_pianta.h"
#include "documents/grafico_svg_scale.h"

namespace gs {

// The page top to bottom: frame, plan, then the track view and the diagrams
// over their shared kilometre axis; what is drawn later lies on top.
std::string grafico_svg(const ScenarioCompilato& scenario, std::string_view titolo) {
  const grafico::Contenuto c = grafico::contenuto(scenario);
  const grafico::AsseKm asse = grafico::asse_km(c);
  std::string svg;
  grafico::apri_documento(svg, titolo);
  grafico::disegna_titolo(svg, titolo, c);
  grafico::disegna_legenda(svg);
  grafico::disegna_pianta(svg, scenario, c);
  grafico::disegna_fondi(svg);
  grafico::disegna_asse_km(svg, asse);
  grafico::disegna_fermate_diagrammi(svg, c, asse);
  grafico::disegna_corsie(svg, c, asse);
  grafico::disegna_diagrammi(svg, c, asse);
  grafico::chiudi_documento(svg);
  return svg;
}

}  // namespace gs

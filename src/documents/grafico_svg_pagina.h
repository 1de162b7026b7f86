// The page of the plot: its size, the plot area, the plan panel and the lanes
// of the track view and the two diagrams, in viewBox units (about one screen
// pixel each).
#pragma once

namespace gs::grafico {

inline constexpr double kLarghezzaPagina = 1600;
inline constexpr double kSinistra = 150;  // the plot area; lane captions stand before it
inline constexpr double kDestra = 1570;
inline constexpr double kLarghezzaGrafico = kDestra - kSinistra;
inline constexpr double kPiantaAlto = 92;
inline constexpr double kPiantaBasso = 520;
// Left edge of the plan panel and of the diagram captions.
inline constexpr double kBordoPannelli = kSinistra - 140;

// A horizontal band of the page.
struct Fascia {
  double alto = 0;
  double basso = 0;
  double mezzo() const { return (alto + basso) / 2; }
};

// The lanes of the track view and the two diagrams, top to bottom.
struct Impaginazione {
  Fascia stazioni, segnali, indicatori, rallentamenti, abbattimenti, cartelli, montagna;
  Fascia velocita, pendenza;
  double asse = 0;  // the kilometre axis line
  double altezza = 0;
};

// The lanes stacked beneath the plan panel; the page ends below the axis.
constexpr Impaginazione impaginazione() {
  Impaginazione p;
  double y = kPiantaBasso + 22;
  const auto fascia = [&y](double altezza, double spazio_dopo) {
    const Fascia f{y, y + altezza};
    y += altezza + spazio_dopo;
    return f;
  };
  p.stazioni = fascia(56, 2);
  p.segnali = fascia(20, 2);
  p.indicatori = fascia(34, 2);
  p.rallentamenti = fascia(32, 2);
  p.abbattimenti = fascia(20, 2);
  p.cartelli = fascia(46, 2);
  p.montagna = fascia(18, 18);
  p.velocita = fascia(130, 18);
  p.pendenza = fascia(110, 0);
  p.asse = p.pendenza.basso + 6;
  p.altezza = p.asse + 36;
  return p;
}

inline constexpr Impaginazione kPagina = impaginazione();

}  // namespace gs::grafico

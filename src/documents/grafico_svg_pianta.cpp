#include "documents/grafico_svg_pianta.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "documents/grafico_svg_elementi.h"
#include "documents/grafico_svg_pagina.h"
#include "documents/grafico_svg_scale.h"
#include "documents/grafico_svg_testo.h"

namespace gs::grafico {
namespace {

// Plan coordinates beyond this many metres from the origin belong to no real
// line (the longest one is 1,007,000 m): such points are skipped.
constexpr double kCoordinataMassima = 1e9;
// The plan is drawn from one point every so many metres, at least.
constexpr std::size_t kPassoPianta = 50;
constexpr std::size_t kPuntiPiantaMassimi = 8000;
constexpr double kMargineTraccia = 36;  // room around the line for names
// The middle of the plan panel's drawing area.
constexpr double kMezzoPiantaX = (kSinistra + kDestra) / 2;
constexpr double kMezzoPiantaY = (kPiantaAlto + kPiantaBasso) / 2;

bool punto_utile(double x, double y) {
  return std::isfinite(x) && std::isfinite(y) && std::abs(x) <= kCoordinataMassima &&
         std::abs(y) <= kCoordinataMassima;
}

std::size_t punti_assegnati(const ProfiloLinea& profilo) {
  const std::size_t colonne = std::min(profilo.x.size(), profilo.y.size());
  return profilo.assegnati <= 0 ? 0
                                : std::min(static_cast<std::size_t>(profilo.assegnati), colonne);
}

}  // namespace

std::vector<PuntoPianta> campioni_pianta(const ProfiloLinea& profilo) {
  const std::size_t assegnati = punti_assegnati(profilo);
  const std::size_t passo = std::max<std::size_t>(
      kPassoPianta, (assegnati + kPuntiPiantaMassimi - 1) / kPuntiPiantaMassimi);
  std::vector<PuntoPianta> campioni;
  const auto prendi = [&](std::size_t m) {
    if (punto_utile(profilo.x[m], profilo.y[m])) {
      campioni.push_back({profilo.x[m], profilo.y[m], static_cast<double>(m)});
    }
  };
  for (std::size_t m = 0; m < assegnati; m += passo) prendi(m);
  if (assegnati > 1 && (assegnati - 1) % passo != 0) prendi(assegnati - 1);
  return campioni;
}

namespace {

// The plan point of a station: the profile point at its position, clamped to
// the assigned points; nothing when that point is not usable.
std::optional<PuntoPianta> punto_stazione(const ProfiloLinea& profilo, double posizione) {
  const std::size_t assegnati = punti_assegnati(profilo);
  if (assegnati == 0) return std::nullopt;
  const auto m =
      static_cast<std::size_t>(std::clamp(posizione, 0.0, static_cast<double>(assegnati - 1)));
  if (!punto_utile(profilo.x[m], profilo.y[m])) return std::nullopt;
  return PuntoPianta{profilo.x[m], profilo.y[m], static_cast<double>(m)};
}

// Plan metres to page units: one scale for both axes, north up, centred.
struct Adattamento {
  double minimo_x = 0, minimo_y = 0, scala = 1, origine_x = 0, origine_y = 0;
  Punto pagina(const PuntoPianta& p) const {
    return {origine_x + (p.x - minimo_x) * scala, origine_y - (p.y - minimo_y) * scala};
  }
};

Adattamento adatta(const std::vector<PuntoPianta>& punti) {
  double min_x = punti.front().x, max_x = min_x, min_y = punti.front().y, max_y = min_y;
  for (const auto& p : punti) {
    min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
  }
  const double larghezza = kLarghezzaGrafico - 2 * kMargineTraccia - 200;  // names left and right
  const double altezza = kPiantaBasso - kPiantaAlto - 2 * kMargineTraccia;
  const double dx = std::max(max_x - min_x, 1.0), dy = std::max(max_y - min_y, 1.0);
  Adattamento a;
  a.minimo_x = min_x;
  a.minimo_y = min_y;
  a.scala = std::min(larghezza / dx, altezza / dy);
  a.origine_x = kMezzoPiantaX - (max_x - min_x) * a.scala / 2;
  a.origine_y = kMezzoPiantaY + (max_y - min_y) * a.scala / 2;
  return a;
}

// The line through the samples, leaving out points that fall on the one before.
void disegna_traccia(std::string& svg, const std::vector<PuntoPianta>& campioni,
                     const Adattamento& a) {
  std::vector<Punto> punti;
  for (const auto& c : campioni) {
    const Punto p = a.pagina(c);
    if (punti.empty() ||
        std::abs(p.first - punti.back().first) + std::abs(p.second - punti.back().second) >= 0.7) {
      punti.push_back(p);
    }
  }
  if (punti.size() == 1) punti.push_back(punti.front());
  spezzata(svg, punti, "traccia");
}

struct Riquadro {
  double sinistra, alto, destra, basso;
  bool tocca(const Riquadro& r) const {
    return sinistra < r.destra && r.sinistra < destra && alto < r.basso && r.alto < basso;
  }
};

struct PostoNome {
  Riquadro riquadro;
  bool a_destra;
};

// Room for a name beside its dot, to the right or else to the left, inside
// the panel and clear of the names already placed.
std::optional<PostoNome> posto_nome(const Punto& punto, double larghezza,
                                    const std::vector<Riquadro>& occupati) {
  const auto [x, y] = punto;
  for (const bool a_destra : {true, false}) {
    const double sinistra = a_destra ? x + 7 : x - 7 - larghezza;
    const Riquadro r{sinistra, y - 8, sinistra + larghezza, y + 5};
    const bool dentro = r.sinistra >= kBordoPannelli && r.destra <= kDestra &&
                        r.alto >= kPiantaAlto + 20 && r.basso <= kPiantaBasso;
    if (dentro && std::none_of(occupati.begin(), occupati.end(),
                               [&r](const Riquadro& o) { return o.tocca(r); })) {
      return PostoNome{r, a_destra};
    }
  }
  return std::nullopt;
}

// Station dots on the plan, each named where its name touches no other.
void disegna_stazioni_pianta(std::string& svg, const std::vector<Stazione>& stazioni,
                             const ProfiloLinea& profilo, const Adattamento& a) {
  std::vector<Riquadro> occupati;
  std::string punti;
  for (const Stazione& s : stazioni) {
    const auto punto = punto_stazione(profilo, s.posizione);
    if (!punto) continue;
    const auto [x, y] = a.pagina(*punto);
    punti +=
        "<circle cx=\"" + numero(x) + "\" cy=\"" + numero(y) + "\" r=\"3.5\" class=\"fermata\"/>\n";
    const TestoMisurato nome = testo_tabella(s.nome);
    const auto posto = posto_nome({x, y}, nome.em * 11, occupati);
    if (!posto) continue;
    occupati.push_back(posto->riquadro);
    if (posto->a_destra) {
      testo(svg, x + 7, y + 4, "nome", nome.xml);
    } else {
      testo(svg, x - 7, y + 4, "nome", nome.xml, Ancora::kFine);
    }
  }
  svg += punti;
}

// A north arrow in the top right corner and a scale bar beneath the line.
void disegna_orientamento(std::string& svg, const Adattamento& a) {
  const double x = kDestra - 24;
  svg +=
      "<path d=\"M" + numero(x) + " " + numero(kPiantaAlto + 14) + "l6 16h-12z\" fill=\"#555\"/>\n";
  testo(svg, x, kPiantaAlto + 44, "corsia", "N", Ancora::kMezzo);
  const double metri = passo_tondo(90 / a.scala);
  const double lunghezza = metri * a.scala;
  const double y = kPiantaBasso - 14;
  const double sinistra = kDestra - 20 - lunghezza;
  svg += "<path class=\"asse\" fill=\"none\" d=\"M" + numero(sinistra) + " " + numero(y - 4) +
         "v4h" + numero(lunghezza) + "v-4\"/>\n";
  const std::string etichetta = metri >= 1000
                                    ? con_decimali(metri / 1000, decimali(metri / 1000)) + " km"
                                    : con_decimali(metri, decimali(metri)) + " m";
  testo(svg, sinistra + lunghezza / 2, y - 7, "piccolo", etichetta, Ancora::kMezzo);
}

// Why there is no line to draw, in the middle of the panel.
void nota_pianta(std::string& svg, std::string_view nota) {
  testo(svg, kMezzoPiantaX, kMezzoPiantaY, "nota", nota, Ancora::kMezzo);
}

}  // namespace

void disegna_pianta(std::string& svg, const ScenarioCompilato& scenario, const Contenuto& c) {
  rettangolo(svg, kBordoPannelli, kPiantaAlto, kDestra - kBordoPannelli, kPiantaBasso - kPiantaAlto,
             "pannello");
  testo(svg, kBordoPannelli + 10, kPiantaAlto + 18, "corsia", "Plan view (north up)");
  if (!scenario.profilo) {
    nota_pianta(svg, "no line profile (compiled without curves)");
    return;
  }
  const std::vector<PuntoPianta> campioni = campioni_pianta(*scenario.profilo);
  if (campioni.empty()) {
    nota_pianta(svg, "the line profile holds no usable point");
    return;
  }
  const Adattamento a = adatta(campioni);
  disegna_traccia(svg, campioni, a);
  disegna_stazioni_pianta(svg, c.stazioni, *scenario.profilo, a);
  disegna_orientamento(svg, a);
}

}  // namespace gs::grafico

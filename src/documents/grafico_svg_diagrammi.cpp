#include "documents/grafico_svg_diagrammi.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "documents/grafico_svg_elementi.h"
#include "documents/grafico_svg_pagina.h"

namespace gs::grafico {
namespace {

// A step line through per-cell values, in page x and value: exact where the
// value holds over several page units, a vertical stroke from the lowest to
// the highest value where a unit covers several changes.
std::vector<Punto> gradini(const std::vector<double>& valori, const AsseKm& asse) {
  std::vector<Punto> punti;
  double livello = 0;
  std::size_t k = 0;
  while (k < valori.size()) {
    const double x = asse.x(metri_cella(k));
    const auto colonna = std::floor(x);
    double minimo = valori[k], massimo = valori[k];
    std::size_t dopo = k + 1;
    while (dopo < valori.size() && std::floor(asse.x(metri_cella(dopo))) == colonna) {
      minimo = std::min(minimo, valori[dopo]), massimo = std::max(massimo, valori[dopo]);
      ++dopo;
    }
    if (punti.empty()) {
      punti.emplace_back(x, valori[k]);
    } else if (valori[k] != livello || minimo != massimo) {
      punti.emplace_back(x, livello);
      punti.emplace_back(x, valori[k]);
    }
    if (minimo != massimo) {
      punti.emplace_back(x, minimo);
      punti.emplace_back(x, massimo);
      punti.emplace_back(x, valori[dopo - 1]);
    }
    livello = valori[dopo - 1];
    k = dopo;
  }
  if (!punti.empty()) punti.emplace_back(asse.x(metri_cella(valori.size())), livello);
  return punti;
}

std::vector<Punto> in_pagina(const std::vector<Punto>& gradini, const Scala& scala,
                             const Fascia& f) {
  std::vector<Punto> pagina;
  pagina.reserve(gradini.size());
  for (const auto& [x, v] : gradini) pagina.emplace_back(x, scala.y(f, v));
  return pagina;
}

// The diagram's name above its panel.
void disegna_nome(std::string& svg, const Fascia& f, std::string_view nome) {
  testo(svg, kBordoPannelli, f.alto + 12, "corsia", nome);
}

void disegna_scala(std::string& svg, const Fascia& f, const Scala& scala, std::string_view unita) {
  const int cifre = decimali(scala.passo);
  const auto tacche = static_cast<int>(std::llround((scala.massimo - scala.minimo) / scala.passo));
  for (int i = 0; i <= tacche; ++i) {
    const double v = scala.minimo + i * scala.passo;
    const double y = scala.y(f, v);
    linea(svg, kSinistra, y, kDestra, y, "griglia");
    testo(svg, kSinistra - 6, y + 3.5, "piccolo", con_decimali(v, cifre), Ancora::kFine);
  }
  testo(svg, kSinistra - 48, f.mezzo() + 4, "piccolo", unita, Ancora::kFine);
}

void disegna_velocita(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.velocita;
  disegna_nome(svg, f, "Speed limit");
  const Scala scala = scala_velocita(c.velocita);
  disegna_scala(svg, f, scala, "km/h");
  spezzata(svg, in_pagina(gradini(c.velocita, asse), scala, f), "velocita");
}

// The part of the gradient on one side of zero, filled down to zero.
void area_pendenza(std::string& svg, const std::vector<double>& parte, const AsseKm& asse,
                   const Scala& scala, std::string_view classe) {
  if (std::all_of(parte.begin(), parte.end(), [](double v) { return v == 0; })) return;
  auto punti = in_pagina(gradini(parte, asse), scala, kPagina.pendenza);
  const double zero = scala.y(kPagina.pendenza, 0);
  punti.emplace_back(punti.back().first, zero);
  punti.emplace_back(punti.front().first, zero);
  poligono(svg, punti, classe);
}

void disegna_pendenza(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.pendenza;
  disegna_nome(svg, f, "Gradient");
  const Scala scala = scala_pendenza(c.pendenza);
  disegna_scala(svg, f, scala, "&#8240;");
  std::vector<double> salita, discesa;
  for (const double p : c.pendenza) {
    salita.push_back(std::max(p, 0.0));
    discesa.push_back(std::min(p, 0.0));
  }
  area_pendenza(svg, salita, asse, scala, "salita");
  area_pendenza(svg, discesa, asse, scala, "discesa");
  const double zero = scala.y(f, 0);
  linea(svg, kSinistra, zero, kDestra, zero, "zero");
}

}  // namespace

void disegna_fermate_diagrammi(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const double alto = kPagina.velocita.alto, basso = kPagina.pendenza.basso;
  for (const Stazione& s : c.stazioni) {
    const double da = asse.x(s.inizio);
    rettangolo(svg, da, alto, std::max(asse.x(s.fine) - da, 1.0), basso - alto, "fermate");
  }
}

void disegna_diagrammi(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  disegna_velocita(svg, c, asse);
  disegna_pendenza(svg, c, asse);
}

}  // namespace gs::grafico

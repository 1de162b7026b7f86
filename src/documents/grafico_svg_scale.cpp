#include "documents/grafico_svg_scale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace gs::grafico {

double passo_tondo(double grezzo) {
  if (!std::isfinite(grezzo) || grezzo <= 0) return 1;
  const double base = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double fattore : {1.0, 2.0, 5.0}) {
    if (fattore * base >= grezzo * (1 - 1e-9)) return fattore * base;
  }
  return 10 * base;
}

int decimali(double passo) {
  return std::max(0, -static_cast<int>(std::floor(std::log10(passo) + 1e-9)));
}

std::string con_decimali(double valore, int cifre) {
  char buffer[64];
  const auto [fine, errore] =
      std::to_chars(buffer, buffer + sizeof buffer, valore, std::chars_format::fixed, cifre);
  return errore == std::errc{} ? std::string(buffer, fine) : std::string("?");
}

AsseKm asse_km(const Contenuto& c) { return AsseKm{std::max(c.metri_binario, 50.0)}; }

Scala scala_velocita(const std::vector<double>& velocita) {
  const double piu_alta =
      velocita.empty() ? 0 : *std::max_element(velocita.begin(), velocita.end());
  const double passo = passo_tondo(std::max(piu_alta, 40.0) / 4);
  return Scala{0, passo * std::max(1.0, std::ceil(piu_alta / passo)), passo};
}

Scala scala_pendenza(const std::vector<double>& pendenza) {
  double piu_ripida = 0;
  for (const double p : pendenza) piu_ripida = std::max(piu_ripida, std::abs(p));
  const double massimo = passo_tondo(std::max(piu_ripida, 5.0));
  return Scala{-massimo, massimo, massimo};
}

}  // namespace gs::grafico

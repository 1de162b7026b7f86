#include "documents/grafico_svg_elementi.h"

#include <algorithm>

#include "documents/grafico_svg_testo.h"

namespace gs::grafico {
namespace {

// "x,y x,y ...", the value of a points attribute.
std::string lista_punti(const std::vector<Punto>& punti) {
  std::string testo;
  for (const auto& [x, y] : punti) {
    if (!testo.empty()) testo += ' ';
    testo += numero(x) + "," + numero(y);
  }
  return testo;
}

void elemento_a_punti(std::string& svg, std::string_view elemento, const std::vector<Punto>& punti,
                      std::string_view classe) {
  if (punti.empty()) return;
  svg += '<';
  svg += elemento;
  svg += " class=\"";
  svg += classe;
  svg += "\" points=\"" + lista_punti(punti) + "\"/>\n";
}

}  // namespace

void testo(std::string& svg, double x, double y, std::string_view classe,
           std::string_view contenuto, Ancora ancora) {
  svg += "<text x=\"" + numero(x) + "\" y=\"" + numero(y) + "\" class=\"";
  svg += classe;
  svg += '"';
  if (ancora == Ancora::kMezzo) svg += " text-anchor=\"middle\"";
  if (ancora == Ancora::kFine) svg += " text-anchor=\"end\"";
  svg += '>';
  svg += contenuto;
  svg += "</text>\n";
}

void rettangolo(std::string& svg, double x, double y, double larghezza, double altezza,
                std::string_view classe) {
  svg += "<rect x=\"" + numero(x) + "\" y=\"" + numero(y) + "\" width=\"" +
         numero(std::max(larghezza, 0.0)) + "\" height=\"" + numero(std::max(altezza, 0.0)) +
         "\" class=\"";
  svg += classe;
  svg += "\"/>\n";
}

void linea(std::string& svg, double x1, double y1, double x2, double y2, std::string_view classe) {
  svg += "<line x1=\"" + numero(x1) + "\" y1=\"" + numero(y1) + "\" x2=\"" + numero(x2) +
         "\" y2=\"" + numero(y2) + "\" class=\"";
  svg += classe;
  svg += "\"/>\n";
}

void percorso(std::string& svg, const std::string& dati, std::string_view classe) {
  if (dati.empty()) return;
  svg += "<path class=\"";
  svg += classe;
  svg += "\" d=\"" + dati + "\"/>\n";
}

void spezzata(std::string& svg, const std::vector<Punto>& punti, std::string_view classe) {
  elemento_a_punti(svg, "polyline", punti, classe);
}

void poligono(std::string& svg, const std::vector<Punto>& punti, std::string_view classe) {
  elemento_a_punti(svg, "polygon", punti, classe);
}

}  // namespace gs::grafico

// The SVG elements the plot is drawn with, each appended to the document as
// one line. Coordinates are written by numero(); texts are XML text already.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gs::grafico {

// A point on the page, x then y.
using Punto = std::pair<double, double>;

enum class Ancora { kInizio, kMezzo, kFine };

// A <text> element at (x, y), anchored at its start, middle or end.
void testo(std::string& svg, double x, double y, std::string_view classe,
           std::string_view contenuto, Ancora ancora = Ancora::kInizio);

// A <rect>; a negative width or height is drawn as zero.
void rettangolo(std::string& svg, double x, double y, double larghezza, double altezza,
                std::string_view classe);

// A <line> from (x1, y1) to (x2, y2).
void linea(std::string& svg, double x1, double y1, double x2, double y2, std::string_view classe);

// A <path> whose data is built by the caller; nothing when there is none.
void percorso(std::string& svg, const std::string& dati, std::string_view classe);

// A <polyline> and a <polygon> through `punti`; nothing when there are none.
void spezzata(std::string& svg, const std::vector<Punto>& punti, std::string_view classe);
void poligono(std::string& svg, const std::vector<Punto>& punti, std::string_view classe);

}  // namespace gs::grafico

#include "documents/grafico_svg_cornice.h"

#include "documents/grafico_svg_elementi.h"
#include "documents/grafico_svg_pagina.h"
#include "documents/grafico_svg_scale.h"
#include "documents/grafico_svg_segni.h"
#include "documents/grafico_svg_testo.h"

namespace gs::grafico {
namespace {

constexpr std::string_view kStile =
    "text{font-family:'DejaVu Sans',Verdana,Arial,sans-serif;fill:#222}"
    ".titolo{font-size:20px;font-weight:bold}.sotto{font-size:12px;fill:#555}"
    ".corsia{font-size:12px;font-weight:bold;fill:#444}.nome{font-size:11px}"
    ".piccolo{font-size:10px;fill:#333}.nota{font-size:14px;fill:#888;font-style:italic}"
    ".pannello{fill:#fafafa;stroke:#ccc}.fondo{fill:#f4f4f4}.griglia{stroke:#e2e2e2}"
    ".asse{stroke:#555}.guida{stroke:#bbb;stroke-width:.6;fill:none}"
    ".traccia{fill:none;stroke:#333;stroke-width:2;stroke-linejoin:round}"
    ".fermata{fill:#f2c94c;stroke:#a07d10;stroke-width:.8}"
    ".asta{stroke:#b03a2e;stroke-width:1.2;fill:none}"
    ".luce{stroke:#b03a2e;stroke-width:4.5;stroke-linecap:round;fill:none}"
    ".indicatore{fill:#2c7fb8}.rallentamento{fill:#f39c12;opacity:.75}.avviso{fill:#d35400}"
    ".abbattimento{fill:#8e44ad}.abbattimento0{fill:#fff;stroke:#8e44ad;stroke-width:1.2}"
    ".cartello{fill:#16a085}.montagna{fill:#a0826d}"
    ".velocita{fill:none;stroke:#1f4e9c;stroke-width:1.6}"
    ".salita{fill:#e07b39}.discesa{fill:#3a9d5d}.zero{stroke:#777;stroke-width:.8}"
    ".fermate{fill:#f2c94c;opacity:.22}.pagina{fill:#fff}"
    ".vuoto{font-size:10px;fill:#999;font-style:italic}";

std::string campione_rettangolo(double x, double y, std::string_view classe) {
  return "<rect x=\"" + numero(x) + "\" y=\"" + numero(y - 4) +
         "\" width=\"12\" height=\"8\" class=\"" + std::string(classe) + "\"/>";
}

std::string campione_percorso(const std::string& dati, std::string_view classe) {
  return "<path class=\"" + std::string(classe) + "\" d=\"" + dati + "\"/>";
}

struct VoceLegenda {
  std::string (*campione)(double x, double y);  // the swatch, from x, centred on y
  std::string_view parole;
};

constexpr VoceLegenda kLegenda[] = {
    {[](double x, double y) { return campione_rettangolo(x, y, "fermata"); }, "station stop zone"},
    {[](double x, double y) {
       return campione_percorso(segno_segnale(x + 6, y + 5, y - 3), "asta") +
              campione_percorso(luce_segnale(x + 6, y - 3), "luce");
     },
     "signal"},
    {[](double x, double y) { return campione_percorso(quadretti({x + 6}, y + 4), "indicatore"); },
     "speed board (left A/B/C km/h)"},
    {[](double x, double y) { return campione_rettangolo(x, y, "rallentamento"); },
     "slowdown (km/h)"},
    {[](double x, double y) { return campione_percorso(triangolo(x + 6, y + 5), "avviso"); },
     "slowdown warning board"},
    {[](double x, double y) { return campione_percorso(rombo(x + 6, y), "abbattimento"); },
     "abbattimento marker"},
    {[](double x, double y) { return campione_percorso(rombo(x + 6, y), "abbattimento0"); },
     "marker without value"},
    {[](double x, double y) { return campione_percorso(quadretti({x + 6}, y + 4), "cartello"); },
     "sign"},
    {[](double x, double y) { return campione_rettangolo(x, y, "montagna"); }, "mountain stretch"},
    {[](double x, double y) {
       return campione_percorso("M" + numero(x) + " " + numero(y) + "h12", "velocita");
     },
     "speed limit"},
    {[](double x, double y) { return campione_rettangolo(x, y, "salita"); }, "uphill"},
    {[](double x, double y) { return campione_rettangolo(x, y, "discesa"); }, "downhill"},
};

}  // namespace

void apri_documento(std::string& svg, std::string_view titolo) {
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + numero(kLarghezzaPagina) +
         " " + numero(kPagina.altezza) + "\">\n";
  svg += "<title>" + testo_utf8_xml(titolo) + "</title>\n";
  svg += "<style>";
  svg += kStile;
  svg += "</style>\n";
  rettangolo(svg, 0, 0, kLarghezzaPagina, kPagina.altezza, "pagina");
}

void chiudi_documento(std::string& svg) { svg += "</svg>\n"; }

void disegna_titolo(std::string& svg, std::string_view titolo, const Contenuto& c) {
  testo(svg, 20, 30, "titolo", testo_utf8_xml(titolo));
  const std::string sommario =
      "track " + con_decimali(c.metri_binario / 1000, 2) + " km &#183; " +
      std::to_string(c.stazioni.size()) + " stations &#183; " + std::to_string(c.segnali.size()) +
      " signals &#183; " + std::to_string(c.indicatori.size()) + " speed boards &#183; " +
      std::to_string(c.rallentamenti.size()) + " slowdowns &#183; " +
      std::to_string(c.abbattimenti.size() + c.abbattimenti_senza_valore.size()) +
      " abbattimento markers &#183; " + std::to_string(c.cartelli.size()) + " signs";
  testo(svg, 20, 50, "sotto", sommario);
}

void disegna_legenda(std::string& svg) {
  const double y = 72;
  double x = 20;
  for (const VoceLegenda& voce : kLegenda) {
    svg += voce.campione(x, y);
    testo(svg, x + 16, y + 4, "piccolo", voce.parole);
    x += 30 + static_cast<double>(voce.parole.size()) * 5.6;
  }
}

}  // namespace gs::grafico

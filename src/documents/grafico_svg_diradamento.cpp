#include "documents/grafico_svg_diradamento.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "documents/grafico_svg_pagina.h"

namespace gs::grafico {

std::vector<double> colonne_distinte(const std::vector<Marca>& marche, const AsseKm& asse,
                                     double distanza) {
  std::vector<double> colonne;
  for (const Marca& m : marche) {
    const double x = asse.x(m.metri);
    if (colonne.empty() || x - colonne.back() >= distanza) colonne.push_back(x);
  }
  return colonne;
}

std::vector<Punto> bande_unite(const std::vector<Banda>& bande, const AsseKm& asse) {
  std::vector<Punto> unite;
  for (const Banda& b : bande) {
    const double da = asse.x(b.da);
    const double a = std::max(asse.x(b.a), da + 2.5);
    if (!unite.empty() && da <= unite.back().second + 0.5) {
      unite.back().second = std::max(unite.back().second, a);
    } else {
      unite.emplace_back(da, a);
    }
  }
  return unite;
}

std::vector<Etichetta> etichette_di(const std::vector<Marca>& marche, const AsseKm& asse) {
  std::vector<Etichetta> etichette;
  for (const Marca& m : marche) {
    TestoMisurato t = testo_tabella(m.testo);
    if (!t.xml.empty()) etichette.push_back({asse.x(m.metri), std::move(t)});
  }
  return etichette;
}

std::vector<EtichettaPosata> posa_etichette(const std::vector<Etichetta>& etichette, int righe,
                                            double corpo) {
  std::vector<double> fine_riga(static_cast<std::size_t>(righe), -1e9);
  std::vector<EtichettaPosata> posate;
  for (const Etichetta& e : etichette) {
    const double larghezza = e.testo.em * corpo;
    const double sinistra =
        std::max(kSinistra - 40, std::min(e.x - 2, kLarghezzaPagina - 4 - larghezza));
    for (int r = 0; r < righe; ++r) {
      if (sinistra < fine_riga[static_cast<std::size_t>(r)] + 6) continue;
      fine_riga[static_cast<std::size_t>(r)] = sinistra + larghezza;
      posate.push_back({sinistra, e.x, r, e.testo.xml});
      break;
    }
  }
  return posate;
}

void disegna_etichette(std::string& svg, const std::vector<EtichettaPosata>& posate,
                       double prima_riga, double interlinea, double piede,
                       std::string_view classe) {
  std::string guide;
  for (const auto& e : posate) {
    const double y = prima_riga + interlinea * e.riga;
    guide += "M" + numero(e.punta) + " " + numero(y + 2) + "V" + numero(piede);
  }
  percorso(svg, guide, "guida");
  for (const auto& e : posate) testo(svg, e.x, prima_riga + interlinea * e.riga, classe, e.testo);
}

}  // namespace gs::grafico

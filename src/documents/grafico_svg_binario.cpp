#include "documents/grafico_svg_binario.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "documents/grafico_svg_diradamento.h"
#include "documents/grafico_svg_elementi.h"
#include "documents/grafico_svg_pagina.h"
#include "documents/grafico_svg_segni.h"

namespace gs::grafico {
namespace {

// A band of the page filled across the plot area.
void riempi_fascia(std::string& svg, const Fascia& f, std::string_view classe) {
  rettangolo(svg, kSinistra, f.alto, kLarghezzaGrafico, f.basso - f.alto, classe);
}

// The lane's name, and "none" along it when the tables hold nothing for it.
void disegna_corsia(std::string& svg, const Fascia& f, std::string_view nome, bool vuota) {
  testo(svg, kSinistra - 10, f.mezzo() + 4, "corsia", nome, Ancora::kFine);
  if (vuota) testo(svg, kSinistra + 8, f.mezzo() + 4, "vuoto", "none");
}

void disegna_stazioni(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.stazioni;
  disegna_corsia(svg, f, "Stations", c.stazioni.empty());
  const double banda_alto = f.basso - 14;
  std::vector<Etichetta> etichette;
  for (const Stazione& s : c.stazioni) {
    const double da = asse.x(s.inizio);
    rettangolo(svg, da, banda_alto, std::max(asse.x(s.fine) - da, 2.0), 12, "fermata");
    etichette.push_back({asse.x(s.posizione), testo_tabella(s.nome)});
  }
  std::stable_sort(etichette.begin(), etichette.end(),
                   [](const Etichetta& a, const Etichetta& b) { return a.x < b.x; });
  disegna_etichette(svg, posa_etichette(etichette, 3, 11), f.alto + 11, 13, banda_alto, "nome");
}

void disegna_segnali(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.segnali;
  disegna_corsia(svg, f, "Signals", c.segnali.empty());
  std::string aste, luci;
  for (const double x : colonne_distinte(c.segnali, asse, 2)) {
    aste += segno_segnale(x, f.basso - 2, f.alto + 6);
    luci += luce_segnale(x, f.alto + 6);
  }
  percorso(svg, aste, "asta");
  percorso(svg, luci, "luce");
}

// A lane of small squares, each labelled in the first of `righe` free rows.
void disegna_corsia_etichettata(std::string& svg, const Fascia& f, const char* titolo,
                                const std::vector<Marca>& marche, int righe, const char* classe,
                                const AsseKm& asse) {
  disegna_corsia(svg, f, titolo, marche.empty());
  percorso(svg, quadretti(colonne_distinte(marche, asse, 2), f.basso - 2), classe);
  disegna_etichette(svg, posa_etichette(etichette_di(marche, asse), righe, 10), f.alto + 10, 11,
                    f.basso - 10, "piccolo");
}

void disegna_indicatori(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  disegna_corsia_etichettata(svg, kPagina.indicatori, "Speed boards", c.indicatori, 2,
                             "indicatore", asse);
}

void disegna_rallentamenti(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.rallentamenti;
  disegna_corsia(svg, f, "Slowdowns", c.rallentamenti.empty() && c.avvisi.empty());
  for (const auto& [da, a] : bande_unite(c.rallentamenti, asse)) {
    rettangolo(svg, da, f.basso - 13, a - da, 9, "rallentamento");
  }
  std::string avvisi;
  for (const double x : colonne_distinte(c.avvisi, asse, 3)) avvisi += triangolo(x, f.basso - 3);
  percorso(svg, avvisi, "avviso");
  std::vector<Marca> velocita;
  for (const Banda& b : c.rallentamenti) {
    velocita.push_back({b.da, b.testo.empty() ? "" : b.testo + " km/h"});
  }
  disegna_etichette(svg, posa_etichette(etichette_di(velocita, asse), 1, 10), f.alto + 10, 11,
                    f.basso - 13, "piccolo");
}

void disegna_abbattimenti(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.abbattimenti;
  disegna_corsia(svg, f, "Abbattimento",
                 c.abbattimenti.empty() && c.abbattimenti_senza_valore.empty());
  std::string pieni, vuoti;
  for (const double x : colonne_distinte(c.abbattimenti, asse, 3)) pieni += rombo(x, f.mezzo());
  for (const double x : colonne_distinte(c.abbattimenti_senza_valore, asse, 3)) {
    vuoti += rombo(x, f.mezzo());
  }
  percorso(svg, pieni, "abbattimento");
  percorso(svg, vuoti, "abbattimento0");
}

void disegna_cartelli(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  disegna_corsia_etichettata(svg, kPagina.cartelli, "Signs", c.cartelli, 3, "cartello", asse);
}

void disegna_montagne(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.montagna;
  disegna_corsia(svg, f, "Mountain", c.montagne.empty());
  for (const auto& [da, a] : bande_unite(c.montagne, asse)) {
    rettangolo(svg, da, f.alto + 4, a - da, f.basso - f.alto - 8, "montagna");
  }
}

}  // namespace

void disegna_fondi(std::string& svg) {
  for (const Fascia* f :
       {&kPagina.stazioni, &kPagina.indicatori, &kPagina.abbattimenti, &kPagina.montagna}) {
    riempi_fascia(svg, *f, "fondo");
  }
  for (const Fascia* f : {&kPagina.velocita, &kPagina.pendenza}) riempi_fascia(svg, *f, "pannello");
}

void disegna_asse_km(std::string& svg, const AsseKm& asse) {
  const double km = asse.metri / 1000;
  const double passo = passo_tondo(km / 18);
  const int cifre = decimali(passo);
  const auto tacche = static_cast<long>(std::floor(km / passo + 1e-9));
  for (long i = 0; i <= tacche; ++i) {
    const double x = asse.x(static_cast<double>(i) * passo * 1000);
    linea(svg, x, kPagina.stazioni.alto, x, kPagina.asse, "griglia");
    linea(svg, x, kPagina.asse, x, kPagina.asse + 5, "asse");
    testo(svg, x, kPagina.asse + 18, "piccolo", con_decimali(static_cast<double>(i) * passo, cifre),
          Ancora::kMezzo);
  }
  linea(svg, kSinistra, kPagina.asse, kDestra, kPagina.asse, "asse");
  testo(svg, kSinistra - 10, kPagina.asse + 18, "corsia", "km", Ancora::kFine);
}

void disegna_corsie(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  disegna_stazioni(svg, c, asse);
  disegna_segnali(svg, c, asse);
  disegna_indicatori(svg, c, asse);
  disegna_rallentamenti(svg, c, asse);
  disegna_abbattimenti(svg, c, asse);
  disegna_cartelli(svg, c, asse);
  disegna_montagne(svg, c, asse);
}

}  // namespace gs::grafico

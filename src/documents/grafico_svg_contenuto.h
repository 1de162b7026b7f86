// What the tables of a compiled scenario hold for the plot, in metres along
// the line: stations, marks, bands and the per-cell speed and gradient.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "compiler/lettura_compilati.h"

namespace gs::grafico {

struct Stazione {
  double inizio = 0;  // stop zone, inizio <= fine
  double fine = 0;
  double posizione = 0;
  std::string nome;  // Windows-1252
};

// A feature at one cell.
struct Marca {
  double metri = 0;
  std::string testo;  // Windows-1252; may be empty
};

// A feature over a stretch of cells.
struct Banda {
  double da = 0;
  double a = 0;
  std::string testo;
};

struct Contenuto {
  double metri_binario = 0;  // 50 m a cell
  std::vector<Stazione> stazioni;
  std::vector<Marca> segnali, indicatori, avvisi, abbattimenti, abbattimenti_senza_valore, cartelli;
  std::vector<Banda> rallentamenti, montagne;
  std::vector<double> velocita;  // km/h, one a cell that carries line data
  std::vector<double> pendenza;  // per mille, likewise
};

// Where cell `k` starts, in metres.
double metri_cella(std::size_t k);

// The features of `scenario`, each kind in track order; stations in record
// order, their stop zones and positions clamped inside the track.
Contenuto contenuto(const ScenarioCompilato& scenario);

}  // namespace gs::grafico

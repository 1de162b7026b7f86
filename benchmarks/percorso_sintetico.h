// The synthetic route of the timings: a 1,000,000 m line with stations,
// signals, speed indicator boards, signs, curves, gradients, mountain stretches
// and slowdowns all along it, its two description files, and the check that it
// compiled cleanly and holds every feature in every stretch of the track.
#pragma once

#include <string>
#include <vector>

#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

inline const IdentitaScenario kSintetico{"Sintetico", "10001"};
inline constexpr int kLunghezzaSintetica = 1000000;  // metres, the longest route accepted

// The lines of the two description files (CR LF is added when they are written).
std::vector<std::string> linea_sintetica();
std::vector<std::string> treno_sintetico();

// Writes CODE_linea.txt and CODE_TRAIN-.txt of the synthetic route into the directory.
void scrivi_descrizioni_sintetiche(const Cartella& cartella);

// The names of the three compiled files the synthetic compile writes.
std::vector<std::string> nomi_compilati_sintetici();

// Empty when the tables hold a clean compile of the synthetic route: error code
// 0, the whole profile traced, and in every 100 km of the route at least one
// signal, station stop, board, sign, slowdown (warning, start, end) and marker.
// Otherwise what is missing.
std::string difetto_percorso_sintetico(const TabelleScenario& tab);

}  // namespace gs

// The stored encodings of the compiled files turned into the units an author
// thinks in: metres and kilometres, km/h, per mille, clock times, and the
// packed digits of signals and speed boards taken apart. Text forms here are
// the ones every listing and comparison of the tool prints.
#pragma once

#include <cstdint>
#include <string>

#include "reader/tabelle.h"

namespace gs {

inline constexpr int kKmhPerPasso = 5;        // a speed limit is stored in steps of 5 km/h
inline constexpr int kPendenzaZero = 100;     // a gradient is stored as per mille plus 100

// First metre of cell `indice` (cell k covers 50k .. 50k + 49).
inline std::int64_t metri_cella(std::int64_t indice) { return indice * kMetriPerCella; }
inline int velocita_kmh(std::uint8_t passi) { return passi * kKmhPerPasso; }
inline int pendenza_permille(std::uint8_t codice) { return codice - kPendenzaZero; }

// "2,250": a whole number with a comma every three digits.
std::string con_migliaia(std::int64_t numero);
// "21.05": metres as kilometres with two decimals (rounded half to even).
std::string testo_km(std::int64_t metri);
// "08:05:30": seconds after midnight as a clock time; negative or a day and
// more keeps its sign and its hours ("-00:00:10", "25:00:00").
std::string testo_orario(std::int64_t secondi);
// "+4", "0", "-12": a signed whole number, the plus sign shown.
std::string con_segno(std::int64_t numero);
// "18:06:40": a clock kept as its three numbers, each shown as it is stored
// (two digits at least), so a minute of 75 reads "18:75:40", not "19:15:40".
std::string testo_orologio(std::int64_t ore, std::int64_t minuti, std::int64_t secondi);
// "2,750 m": whole metres with their thousands marked.
std::string testo_metri(std::int64_t metri);
// "cells 12-45, 600-2,299 m" or "cell 21, 1,050-1,099 m": a run of cells and
// the metres it covers, from the first metre of its first cell to the last
// metre of its last cell, both included.
std::string testo_celle(std::int64_t prima, std::int64_t ultima);

// A signal cell's four values taken apart: the left-hand signal's kind and
// three aspect digits, the right-hand one's, and `rapp`. Each of the first
// three values is a left digit times 10 plus a right digit; the fourth is
// rapp·10 + sx·3 + dx, read back with dx below 3 (as every signal written
// with kinds 0 .. 2 is).
struct AspettiSegnale {
  int tipo_sinistro = 0;         // sx
  int cifre_sinistre[3] = {};    // s1 s2 s3
  int tipo_destro = 0;           // dx
  int cifre_destre[3] = {};      // d1 d2 d3
  int rapp = 0;
};
AspettiSegnale aspetti_segnale(const Cella& cella);

// A speed board's code: the left-hand speed times 20 plus the right-hand
// speed divided by 5. Speeds are multiples of 5 km/h below 500, so the code
// is read back as hundreds (left, in steps of 5) and the rest (right).
struct CoppiaVelocita {
  int sinistra_kmh = 0;
  int destra_kmh = 0;
};
CoppiaVelocita coppia_velocita(std::int16_t codice);
// The board's stripes: strisces·10 + strisced.
struct Strisce {
  int sinistra = 0;
  int destra = 0;
};
Strisce strisce_indicatore(std::int16_t codice);

// What a cell type code marks, in words: "signal", "stop marker", ...
std::string nome_tipo_cella(std::uint8_t tipo);

}  // namespace gs

// The comparison of two compiled scenarios, feature by feature and in real
// units: per-cell runs of speed limit, gradient, adhesion and mountain kind,
// typed cells at their positions, stations, sign texts, progressives and
// headers field by field, and the line profile point by point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reader/tabelle.h"

namespace gs {

// The line profile of one side: traced in memory, or a profile file's bytes
// (read point by point, never decoded whole unless both sides are files).
struct ProfiloLato {
  enum class Origine { assente, tracciato, file };
  Origine origine = Origine::assente;
  TracciatoLinea tracciato;
  std::string byte;
};

// What one side holds; a part left empty is not compared (two scenario files
// have no cells, two track files no records).
struct LatoConfronto {
  std::optional<std::array<Record, kNumeroRecord>> record;
  std::optional<std::vector<Cella>> celle;
  std::optional<ProfiloLato> profilo;
};

enum class Cambio { aggiunto, rimosso, cambiato };

// One difference. Texts are Windows-1252 bytes, as the tables hold them.
struct Differenza {
  std::string caratteristica;            // "speed_limit", "signal", "station", ...
  std::string campo;                     // "left_aspects", ...; empty for the whole feature
  std::optional<std::int64_t> inizio_m;  // where it lies, when it lies somewhere
  std::optional<std::int64_t> fine_m;    // where a range ends (a cell run: the end of its last cell)
  Cambio cambio = Cambio::cambiato;
  std::optional<std::string> prima;      // the value in real units, without its unit
  std::optional<std::string> dopo;
  std::string unita;                     // "km/h", "per mille", "m", ...; empty when none
  std::string testo;                     // the whole line, e.g. "km 15.00-17.00: speed limit 115 -> 60 km/h"
  // A summary of many points or cells: how many, and for profile points that
  // moved, the largest distance between the two positions in metres.
  std::optional<std::int64_t> quanti;
  std::optional<double> distanza_massima_m;
};

// Every difference from `a` to `b`: those without a position first, then by
// position. Empty when the two hold the same bytes. A profile file that is
// not the layout throws ErroreFormato.
std::vector<Differenza> confronta(const LatoConfronto& a, const LatoConfronto& b);

// The differences of the line profiles alone, appended to `differenze`.
void confronta_profili(const ProfiloLato& a, const ProfiloLato& b,
                       std::vector<Differenza>& differenze);

// "added", "removed", "changed".
const char* nome_cambio(Cambio cambio);

}  // namespace gs

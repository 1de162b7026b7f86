// The feature recorders: each lays one parsed entry onto the track cells (or
// reorders the progressives) and reports a refused placement in the error code.
// A cell index outside the track throws ErroreEsecuzione.
#pragma once

#include <cstdint>

#include "reader/tabelle.h"

namespace gs {

// A mountain stretch from `inizio` to `fine` metres of kind `tipo`
// (above 10: kind tipo - 10, with every 4th plain cell marked type 11).
// An 81st stretch throws ErroreEsecuzione.
void memo_montagna(TabelleScenario& tab, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo);

struct Rallentamento {
  std::int32_t x = 0;     // start position (m)
  std::int32_t v = 0;     // speed (km/h)
  std::int32_t l = 0;     // length (m)
  std::int32_t f_tt = 0;
  std::int32_t f_ta = 0;  // approach cells before the warning board
  std::int32_t d_v = 0;
};
// A slowdown: warning board, start and end cells, approach cells. Errors 17 .. 20.
// The approach cells are the four just before the warning board; with error 20
// the board, start and end cells stay written.
void memo_rallentamento(TabelleScenario& tab, const Rallentamento& r);

struct Segnale {
  std::int32_t posizione = 0;
  std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0;
  std::int32_t dx = 0, d1 = 0, d2 = 0, d3 = 0, tempo = 0;
};
// A signal on the cell after its position, with approach marks before it. Error 16.
// Marks that would fall before cell 0 (a signal in the first 400 m) are left out.
void memo_segnale(TabelleScenario& tab, const Segnale& s);

struct IndicatoreVelocita {
  std::int32_t posizione = 0;
  std::int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
  std::int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};
// A speed indicator board on the cell after its position. Error 21.
// A speed code that does not fit 16 bits throws ErroreEsecuzione.
void memo_indicatori_v_max(TabelleScenario& tab, const IndicatoreVelocita& b);

// Reorders the three kilometric progressives held in records 81 .. 83.
// A flagged value moved beyond 32 bits throws ErroreEsecuzione.
void progressive_ordina(TabelleScenario& tab);

}  // namespace gs

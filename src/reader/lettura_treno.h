// The train file reader: the train header, speed limits and adhesion per cell,
// signals, slowdowns, abbattimento markers and the stations with their stop
// zones; then the check of the progressives read from the line file.
#pragma once

#include <cstdint>

#include "reader/lettore_campi.h"
#include "reader/tabelle.h"

namespace gs {

// Reads a train description file into `tab`, stations from record 1 up to
// below `indice_cartelli`; stops at its first error. Returns how many stations
// it stored in full. Throws ErroreEsecuzione.
std::int32_t leggi_descrizione_treno(LettoreCampi& lettore, TabelleScenario& tab,
                                     std::int32_t indice_cartelli);

}  // namespace gs

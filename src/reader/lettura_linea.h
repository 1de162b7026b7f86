// The line file reader: the general section, gradients, curves traced into the
// line profile, speed boards, mountain stretches and signs. Also the position
// rules and the record loop that the train file reader shares.
#pragma once

#include <cstdint>
#include <string>

#include "reader/lettore_campi.h"
#include "reader/tabelle.h"

namespace gs {

// What the line reader hands on to the train reader.
struct EsitoLinea {
  bool leggi_treno = false;  // false: an error other than 15 ended the reading
  std::int32_t indice_cartelli = kRecordPrimoCartello;  // next record for a sign text
};

// Reads a line description file into `tab`: it stops at its first error
// (error 15 only ends this file). Throws ErroreEsecuzione on a run-time failure.
EsitoLinea leggi_descrizione_linea(LettoreCampi& lettore, TabelleScenario& tab);

// Shared with the train file reader.

// The range check: true, with error 15 at `posizione`, when the cell count is
// below (posizione + margine) / 50 compared as real numbers.
bool fuori_percorso(TabelleScenario& tab, std::int32_t posizione, std::int32_t margine);

// The cell of `posizione` / 50 + `scostamento` as a real number, rounded half
// to even. Whether that cell exists is cella_in's to say.
std::int64_t cella_di_posizione(std::int32_t posizione, int scostamento);

// The next keyword field of a record loop, passing over up to two comment
// fields (those holding "-"); false once the end of the file is reached.
bool prossimo_campo_chiave(LettoreCampi& lettore, std::string& campo);

// The next field as a record's name (a station's name, a sign's text); one
// longer than kLunghezzaMassimaNome is a run-time failure.
std::string leggi_nome(LettoreCampi& lettore);

// How a record of a record loop ended.
enum class EsitoRecord {
  avanti,          // read on
  fuori_percorso,  // error 15: the file ends here, its end steps still run
  errore,          // any other error: reading ends at once
};

}  // namespace gs

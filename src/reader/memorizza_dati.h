// Reads the line and then the train description file back into the scenario
// tables; every scenario error ends up in the error code, never as a throw.
#pragma once

#include <cstdint>
#include <string>

#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// A description file above this size is refused unread: the longest route
// with every feature it can hold is far smaller.
inline constexpr std::uint64_t kByteMassimiDescrizione = 64u << 20;

struct OpzioniLettura {
  bool elimina_descrizioni = true;  // false: both description files stay
};

// How reading ended: the name of the description file it was at (the last one
// it opened or tried to open), the line, from 1, of the last field read there
// (0 when none was read), the reason of a run-time failure (error 25) and the
// number of stations stored.
struct EsitoLettura {
  std::string file;
  std::int64_t riga = 0;
  std::string motivo;
  std::int32_t numero_stazioni = 0;
};

// Expects the record table cleared and the error code 0 (memorizza_percorso
// does both). Deletes each description file once it has opened it.
EsitoLettura memorizza_dati(const IdentitaScenario& id, const Cartella& cartella,
                            TabelleScenario& tab, const OpzioniLettura& opzioni = {});

}  // namespace gs

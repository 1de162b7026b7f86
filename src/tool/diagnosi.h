// What the tool knows of an author's scenario before writing anything: the
// tolerant pass's diagnostics over both description files, and the exact
// compile run in memory, its scenario error put at the line it comes from.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/cartella.h"
#include "base/nomi_file.h"
#include "compiler/memorizza_percorso.h"
#include "reader/tabelle.h"
#include "reader/verifica.h"

namespace gs {

struct Diagnosi {
  IdentitaScenario id;
  Verifica verifica;                    // the tolerant pass, its diagnostics and entries
  EsitoCompilazione esito;              // the exact compile, nothing written
  std::unique_ptr<TabelleScenario> tabelle = std::make_unique<TabelleScenario>();
  std::vector<Diagnostica> diagnostiche;  // the pass's, then the compile's error, if any

  bool con_errori(bool severo = false) const { return gs::con_errori(diagnostiche, severo); }
};

// Reads both description files of `id` from `cartella` (never deleting them;
// a file that is not a regular one, or too large, throws ErroreFile), checks
// them, and compiles them in memory with profile flag `j`.
Diagnosi diagnostica(const IdentitaScenario& id, const Cartella& cartella, std::int32_t j);

// The exact compile's scenario error (or missing track) as a diagnostic at the
// line of the entry it concerns, with the cause in words; none when it
// compiled cleanly.
std::optional<Diagnostica> diagnostica_compilazione(const EsitoCompilazione& esito,
                                                    const Verifica& verifica,
                                                    const IdentitaScenario& id);

}  // namespace gs

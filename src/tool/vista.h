// The live viewer's content: the model of one scenario as JSON (compile
// result, diagnostics, plan of the line, every feature in real units with the
// file and line it came from) and the page that draws it. `serve` hands both
// out over HTTP; `plot --html` puts them into one file.
#pragma once

#include <string>

#include "base/cartella.h"
#include "base/nomi_file.h"

namespace gs {

// Reads the two description files of `id` in `cartella` afresh, checks and
// compiles them in memory, and returns the model. Never throws for what the
// author can get wrong (missing or unreadable files, scenario errors): those
// are in the model, as diagnostics. Writes nothing.
std::string modello_vista(const Cartella& cartella, const IdentitaScenario& id);

// The page `serve` sends: it fetches /model.json and fetches it again each
// time /events announces a change.
std::string pagina_vista();

// The same page with `modello` inside, for a file that needs no server.
std::string pagina_vista_autonoma(const std::string& modello);

}  // namespace gs

// errore: the numbered error shown to the user, a modal box reading
// " Errore n. " and the number; the program ends once it is closed.
#pragma once

#include <string>

#include "shell/piattaforma.h"

namespace gs {

// Shows the box and returns once it is closed; the caller then ends the run.
void errore(Piattaforma& piattaforma, const std::string& a);

}  // namespace gs

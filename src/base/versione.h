// The version text both programs print for --version: the program's name, the
// project's version and the commit the build came from.
#pragma once

#include <string>
#include <string_view>

namespace gs {

// "NAME VERSION (commit HASH)", HASH the short commit of the source tree with
// "-dirty" when it had uncommitted changes at build time; "NAME VERSION" when
// the build did not come from a git checkout. No line end.
std::string testo_versione(std::string_view programma);

// Filled in by the build, in a source it writes at every build and rewrites
// only when the text changes.
const char* versione_progetto();  // the project's version, "0.1"
const char* commit_sorgente();    // "3d53714", "3d53714-dirty" or ""

}  // namespace gs

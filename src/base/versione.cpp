#include "base/versione.h"

namespace gs {

std::string testo_versione(std::string_view programma) {
  std::string testo = std::string(programma) + " " + versione_progetto();
  const std::string_view commit = commit_sorgente();
  if (!commit.empty()) testo += " (commit " + std::string(commit) + ")";
  return testo;
}

}  // namespace gs

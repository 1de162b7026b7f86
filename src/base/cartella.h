// A directory and the separator that joins it to a file name: where a run's
// files live.
#pragma once

#include <string>

namespace gs {

// The separator is added even when the directory already ends with one.
struct Cartella {
  std::string percorso;
  char separatore = '/';

  std::string file(const std::string& nome) const { return percorso + separatore + nome; }
};

}  // namespace gs

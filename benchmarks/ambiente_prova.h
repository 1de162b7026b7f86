// What every timing program needs around the compiler: a scratch directory
// that is removed afterwards (and the platform that shows nothing).
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "shell/piattaforma.h"
#include "shell/piattaforma_muta.h"

namespace gs {

// A fresh directory under the system's temporary directory (TMPDIR, else /tmp),
// removed with everything in it when the object goes.
class CartellaProva {
 public:
  CartellaProva();
  ~CartellaProva();
  CartellaProva(const CartellaProva&) = delete;
  CartellaProva& operator=(const CartellaProva&) = delete;

  const std::filesystem::path& percorso() const { return percorso_; }
  Cartella cartella() const { return Cartella{percorso_.string(), '/'}; }

 private:
  std::filesystem::path percorso_;
};

}  // namespace gs

// What every timing program needs around the compiler: a scratch directory
// that is removed afterwards, and for the whole run a platform that shows
// nothing.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "shell/piattaforma.h"

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

// No window, no boxes, no reports; the program directory is the one given.
class PiattaformaMuta : public Piattaforma {
 public:
  explicit PiattaformaMuta(Cartella cartella) : cartella_(std::move(cartella)) {}
  Cartella cartella_programma() const override { return cartella_; }
  void mostra_finestra(const Finestra&) override {}
  void ridisegna_finestra() override {}
  void messaggio(const std::string&) override {}
  void segnala_guasto(const std::string&) override {}
  void segnala_errore_scenario(const std::string&) override {}

 private:
  Cartella cartella_;
};

}  // namespace gs

// A platform that shows nothing: for compiles run by the authors' tool, the
// fuzzer and the benchmarks, which report in their own way.
#pragma once

#include <string>
#include <utility>

#include "shell/piattaforma.h"

namespace gs {

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

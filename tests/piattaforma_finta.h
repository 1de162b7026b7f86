// A platform for tests: a scratch program directory, and a record of what the
// program showed instead of a window and message boxes.
#pragma once

#include <string>
#include <vector>

#include "shell/piattaforma.h"

namespace gs::test {

class PiattaformaFinta : public Piattaforma {
 public:
  explicit PiattaformaFinta(Cartella cartella) : cartella_(std::move(cartella)) {}

  Cartella cartella_programma() const override { return cartella_; }
  void mostra_finestra(const Finestra& finestra) override {
    eventi.push_back("mostra " + finestra.etichetta.testo);
  }
  void ridisegna_finestra() override { eventi.push_back("ridisegna"); }
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }
  void segnala_guasto(const std::string& descrizione) override { guasti.push_back(descrizione); }
  void segnala_errore_scenario(const std::string& testo) override {
    errori_scenario.push_back(testo);
  }

  std::vector<std::string> eventi;
  std::vector<std::string> messaggi;
  std::vector<std::string> guasti;
  std::vector<std::string> errori_scenario;

 private:
  Cartella cartella_;
};

}  // namespace gs::test

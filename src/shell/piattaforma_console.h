// The platform layer on POSIX machines: a console stands in for the window
// and the message box; the program directory comes from /proc/self/exe.
#pragma once

#include <ostream>

#include "shell/piattaforma.h"

namespace gs {

class PiattaformaConsole : public Piattaforma {
 public:
  PiattaformaConsole(Cartella cartella, std::ostream& uscita, std::ostream& errori);

  Cartella cartella_programma() const override { return cartella_; }
  // Prints the label's text on its own line.
  void mostra_finestra(const Finestra& finestra) override;
  void ridisegna_finestra() override;
  // Writes the text on the error stream, on a line of its own.
  void messaggio(const std::string& testo) override;
  void segnala_guasto(const std::string& descrizione) override;
  // Writes the text on the error stream, on a line of its own.
  void segnala_errore_scenario(const std::string& testo) override;

 private:
  Cartella cartella_;
  std::ostream& uscita_;
  std::ostream& errori_;
};

// The directory of the running executable, joined with "/".
Cartella cartella_eseguibile();

}  // namespace gs

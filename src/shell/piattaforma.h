// What the program takes from its platform: the program directory and how
// paths are joined, the one window, the message box, the reports of a failed
// run and of a scenario error. Each build carries one implementation: a
// console on POSIX machines (piattaforma_console), Win32 on Windows
// (piattaforma_windows).
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "base/cartella.h"

namespace gs {

// The fixed look of the one window ("Attendere" while the work runs).
struct Etichetta {
  int sinistra_twip = 960;
  int alto_twip = 960;
  int larghezza_twip = 2652;
  int altezza_twip = 792;
  std::string testo = "Attendere";
};

struct Carattere {
  std::string nome = "MS Sans Serif";
  int punti = 24;
  int peso = 700;
  int set_caratteri = 0;
  bool corsivo = false;
  bool sottolineato = false;
  bool barrato = false;
};

struct Finestra {
  int larghezza_twip = 4200;
  int altezza_twip = 2688;
  Etichetta etichetta;
  Carattere carattere;
};

class Piattaforma {
 public:
  virtual ~Piattaforma() = default;

  // The directory that holds the running program.
  virtual Cartella cartella_programma() const = 0;
  // Shows the window without making it modal.
  virtual void mostra_finestra(const Finestra& finestra) = 0;
  // Paints the window at once, before the work starts.
  virtual void ridisegna_finestra() = 0;
  // The modal box with one OK button; returns once it is closed.
  virtual void messaggio(const std::string& testo) = 0;
  // The report of a run that stopped on an unhandled failure.
  virtual void segnala_guasto(const std::string& descrizione) = 0;
  // The report of a scenario error left after compiling, once every file is
  // written: a console line, or on Windows a box that waits for OK.
  virtual void segnala_errore_scenario(const std::string& testo) = 0;
};

// The platform this build runs on. The console writes on the two streams and
// throws ErroreFile when it cannot find the program directory; the Windows
// platform shows a window and message boxes instead and leaves the streams alone.
std::unique_ptr<Piattaforma> piattaforma_del_sistema(std::ostream& uscita, std::ostream& errori);

}  // namespace gs

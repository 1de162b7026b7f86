// The platform layer on Windows: the one small window reading "Attendere", the
// message boxes (the numbered error, the report of a failed run, the report of
// a scenario error) and the program directory from the module's own path,
// joined with "\". Texts and paths stay 8-bit Windows-1252 bytes: only the ANSI
// ("A") functions are called and nothing is converted.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "shell/piattaforma.h"

namespace gs {

class PiattaformaWindows : public Piattaforma {
 public:
  PiattaformaWindows() = default;
  // Removes the window, its font and its class.
  ~PiattaformaWindows() override;
  PiattaformaWindows(const PiattaformaWindows&) = delete;
  PiattaformaWindows& operator=(const PiattaformaWindows&) = delete;

  // The directory of the running module; throws ErroreFile when Windows cannot
  // name it.
  Cartella cartella_programma() const override;
  // Creates the window (client area, label and font as given, sized for the
  // screen's resolution) and shows it, not modal. Called once. When Windows
  // cannot create it the run goes on without it: the work does not need it.
  void mostra_finestra(const Finestra& finestra) override;
  // Paints the window and its label now; the program answers no message after
  // this, so this is the one paint.
  void ridisegna_finestra() override;
  // A modal box owned by the window, one OK button, no icon.
  void messaggio(const std::string& testo) override;
  // A modal box with an error icon: without a console there is nowhere else
  // to tell.
  void segnala_guasto(const std::string& descrizione) override;
  // A modal box too, for the same reason; it comes after every compiled file
  // is written, so waiting for OK holds nothing up.
  void segnala_errore_scenario(const std::string& testo) override;

 private:
  void mostra_box(const std::string& testo, UINT stile) const;

  bool classe_registrata_ = false;
  HWND finestra_ = nullptr;
  HFONT carattere_ = nullptr;
};

// The directory part of a module path, as Windows programs name it: everything
// before the last "\", with the "\" kept at a drive root ("C:\x.exe" gives
// "C:\", so a file there is "C:\\name", which Windows accepts).
Cartella cartella_del_modulo(const std::string& percorso_modulo);

// `twip` twips (1/1440 inch) in pixels at `punti_per_pollice` dots per inch,
// rounded to the nearest pixel.
int pixel_da_twip(int twip, int punti_per_pollice);

}  // namespace gs

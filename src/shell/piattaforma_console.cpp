#include "shell/piattaforma_console.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "base/errore_file.h"

namespace gs {

PiattaformaConsole::PiattaformaConsole(Cartella cartella, std::ostream& uscita,
                                       std::ostream& errori)
    : cartella_(std::move(cartella)), uscita_(uscita), errori_(errori) {}

void PiattaformaConsole::mostra_finestra(const Finestra& finestra) {
  uscita_ << finestra.etichetta.testo << '\n';
}

void PiattaformaConsole::ridisegna_finestra() { uscita_.flush(); }

void PiattaformaConsole::messaggio(const std::string& testo) {
  errori_ << testo << std::endl;
}

void PiattaformaConsole::segnala_guasto(const std::string& descrizione) {
  errori_ << "run stopped: " << descrizione << std::endl;
}

void PiattaformaConsole::segnala_errore_scenario(const std::string& testo) {
  errori_ << testo << std::endl;
}

std::unique_ptr<Piattaforma> piattaforma_del_sistema(std::ostream& uscita, std::ostream& errori) {
  return std::make_unique<PiattaformaConsole>(cartella_eseguibile(), uscita, errori);
}

Cartella cartella_eseguibile() {
  std::error_code errore;
  const std::filesystem::path eseguibile = std::filesystem::read_symlink("/proc/self/exe", errore);
  if (errore) {
    throw ErroreFile("find the program directory from", "/proc/self/exe", errore.message());
  }
  return Cartella{eseguibile.parent_path().string(), '/'};
}

}  // namespace gs

#include "programmi.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "tool/strumento.h"

namespace gs::test {

namespace fs = std::filesystem;

std::string tra_apici(const std::string& testo) { return "'" + testo + "'"; }

EsitoProgramma esegui_comando(const std::string& comando, const CartellaTemporanea& registro) {
  const std::string uscita = registro.file("stdout.log");
  const std::string errori = registro.file("stderr.log");
  const std::string completo =
      "cd / && " + comando + " >" + tra_apici(uscita) + " 2>" + tra_apici(errori);
  const int grezzo = std::system(completo.c_str());
  EsitoProgramma esito;
  esito.stato = WIFEXITED(grezzo) ? WEXITSTATUS(grezzo) : -1;
  esito.uscita = leggi_byte(uscita);
  esito.errori = leggi_byte(errori);
  return esito;
}

std::string copia_programma(const char* programma, const fs::path& cartella) {
  // Read and run by anyone, written by the owner alone.
  constexpr fs::perms kAperta = fs::perms::owner_all | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec;
  fs::permissions(cartella, kAperta);
  const fs::path copia = cartella / fs::path(programma).filename();
  fs::copy_file(programma, copia, fs::copy_options::overwrite_existing);
  fs::permissions(copia, kAperta);
  return copia.string();
}

EsitoProgramma esegui_strumento(const std::vector<std::string>& argomenti) {
  std::ostringstream uscita, errori;
  EsitoProgramma esito;
  esito.stato = esegui_scenario_tool(argomenti, uscita, errori);
  esito.uscita = uscita.str();
  esito.errori = errori.str();
  return esito;
}

EsitoProgramma esegui_genera_scenario_in(const CartellaTemporanea& dir) {
  const CartellaTemporanea registro;
  return esegui_comando(tra_apici(copia_programma(GENERA_SCENARIO_EXE, dir.percorso())),
                        registro);
}

}  // namespace gs::test

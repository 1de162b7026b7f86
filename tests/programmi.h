// Running the built programs from the tests: a copy of a program in a scratch
// directory, and a command run through the shell with its two streams caught.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "aiuti_test.h"

namespace gs::test {

// The files of the embedded run: the three driver documents, the compiled
// files in the order they are written, the two description files.
inline const std::vector<std::string> kDocumenti = {"Brisca_Nolte_52806_note.txt",
                                                    "Brisca_Nolte_52806_rallentamenti.txt",
                                                    "Brisca_Nolte_52806_scheda_treno.txt"};
inline const std::vector<std::string> kCompilati = {
    "Brisca_Nolte_linea.dat", "Brisca_Nolte_52806.sim", "Brisca_Nolte_52806.dat"};
inline const std::vector<std::string> kDescrizioni = {"Brisca_Nolte_linea.txt",
                                                      "Brisca_Nolte_52806-.txt"};

// How a program run ended: its exit status (-1 when it did not exit) and what
// it wrote on standard output and standard error.
struct EsitoProgramma {
  int stato = -1;
  std::string uscita;
  std::string errori;
};

// `testo` between single quotes, for the shell.
std::string tra_apici(const std::string& testo);

// Runs `comando` from / through the shell; its output is caught in `registro`,
// a directory apart from anything the command writes.
EsitoProgramma esegui_comando(const std::string& comando, const CartellaTemporanea& registro);

// A copy of the built `programma` (GENERA_SCENARIO_EXE, SCENARIO_TOOL_EXE) in
// `cartella`, which anyone may then enter and run; returns the copy's path.
std::string copia_programma(const char* programma, const std::filesystem::path& cartella);

// Runs scenario_tool in this process with `argomenti`, its two streams caught.
EsitoProgramma esegui_strumento(const std::vector<std::string>& argomenti);

// Copies genera_scenario into `dir` and runs it there, from another working
// directory; the output is caught in a directory of its own.
EsitoProgramma esegui_genera_scenario_in(const CartellaTemporanea& dir);

}  // namespace gs::test

// --version on the built programs: one line with the name, the project's
// version and the commit; genera_scenario writes nothing when asked for it, and
// runs as always with any other arguments.

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "programmi.h"

namespace gs {
namespace {

using Esito = test::EsitoProgramma;

// Runs a copy of `programma` from `dir` with `argomenti`, from the root
// directory; its output goes to files in a scratch directory of its own.
Esito esegui(const std::string& programma, const test::CartellaTemporanea& dir,
             const std::string& argomenti) {
  const test::CartellaTemporanea registro;
  return test::esegui_comando(
      test::tra_apici(test::copia_programma(programma.c_str(), dir.percorso())) + " " + argomenti,
      registro);
}

std::vector<std::string> contenuto(const test::CartellaTemporanea& dir) {
  std::vector<std::string> nomi;
  for (const auto& voce : std::filesystem::directory_iterator(dir.percorso())) {
    nomi.push_back(voce.path().filename().string());
  }
  return nomi;
}

TEST(Versione, BothProgramsPrintTheirNameTheProjectVersionAndTheCommit) {
  const std::string versione = std::regex_replace(GS_VERSIONE_ATTESA, std::regex("\\."), "\\.");
  struct Caso {
    std::string programma;
    std::string nome;
  };
  const Caso casi[] = {{GENERA_SCENARIO_EXE, "genera_scenario"},
                       {SCENARIO_TOOL_EXE, "scenario_tool"}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    test::CartellaTemporanea dir;
    const Esito esito = esegui(caso.programma, dir, "--version");
    EXPECT_EQ(esito.stato, 0);
    EXPECT_EQ(esito.errori, "");
    const std::regex forma("^" + caso.nome + " " + versione +
                           "( \\(commit [0-9a-f]{4,40}(-dirty)?\\))?\n$");
    EXPECT_TRUE(std::regex_match(esito.uscita, forma)) << esito.uscita;
    // Asked for its version, a program writes nothing beside itself.
    EXPECT_EQ(contenuto(dir), std::vector<std::string>{caso.nome});
  }
}

// Only "--version" alone is an option of genera_scenario: with anything else
// it writes the scenario as it does with no arguments.
TEST(Versione, GeneraScenarioRunsAsAlwaysWithAnyOtherArguments) {
  for (const std::string argomenti : {"--version extra", "-v", "--versione", "version"}) {
    SCOPED_TRACE(argomenti);
    test::CartellaTemporanea dir;
    const Esito esito = esegui(GENERA_SCENARIO_EXE, dir, argomenti);
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_EQ(esito.uscita, "Attendere\n");
    EXPECT_TRUE(test::esiste(dir.file("Brisca_Nolte_52806.sim")));
  }
}

}  // namespace
}  // namespace gs

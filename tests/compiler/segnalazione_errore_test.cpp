// How a run that compiled ends: status 0, or status 1 with the scenario error
// reported in words.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "piattaforma_finta.h"
#include "shell/form.h"

namespace gs {
namespace {

struct CasoStato {
  const char* nome;
  std::int32_t codice;
  bool con_pista;
  int stato;
  std::vector<std::string> contiene;  // pieces the one report must hold
  std::vector<std::string> esclude;   // pieces it must not hold
};

class StatoScenario : public ::testing::TestWithParam<CasoStato> {};

TEST_P(StatoScenario, ReportsWhatWentWrong) {
  const CasoStato& caso = GetParam();
  TabelleScenario tab;
  tab.codice_errore = caso.codice;
  tab.posizione_errore = 4300;
  if (caso.con_pista) tab.celle.resize(10);
  test::PiattaformaFinta piattaforma(Cartella{});

  EXPECT_EQ(stato_scenario(tab, piattaforma), caso.stato);
  EXPECT_TRUE(piattaforma.messaggi.empty());
  if (caso.stato == 0) {
    EXPECT_TRUE(piattaforma.errori_scenario.empty());
    return;
  }
  ASSERT_EQ(piattaforma.errori_scenario.size(), 1u);
  const std::string& resoconto = piattaforma.errori_scenario[0];
  for (const auto& pezzo : caso.contiene)
    EXPECT_NE(resoconto.find(pezzo), std::string::npos) << resoconto;
  for (const auto& pezzo : caso.esclude)
    EXPECT_EQ(resoconto.find(pezzo), std::string::npos) << resoconto;
}

INSTANTIATE_TEST_SUITE_P(
    Casi, StatoScenario,
    ::testing::Values(
        CasoStato{"CleanRun", 0, true, 0, {}, {}},
        CasoStato{
            "WalkErrorWithItsPosition", 13, true, 1, {"error 13", "abbattimento", "4300 m"}, {}},
        CasoStato{"ReaderErrorWithItsPosition", 16, true, 1, {"error 16", "signal", "4300 m"}, {}},
        CasoStato{"CodeWithoutPositionLeavesTheStaleOneOut",
                  25,
                  true,
                  1,
                  {"error 25", "reading"},
                  {"4300"}},
        CasoStato{"MissingLineFile",
                  101,
                  false,
                  1,
                  {"error 101", "line description file missing"},
                  {"4300"}},
        CasoStato{"UnknownCode", 77, true, 1, {"error 77", "unknown"}, {"4300"}},
        CasoStato{"NoTrackAndNoCode", 0, false, 1, {"no track"}, {}}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace gs

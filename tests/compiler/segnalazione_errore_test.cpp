// How a run that compiled ends: status 0, or status 1 with the header check's
// numbered box or the scenario error reported in words.
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
  std::int32_t testate;  // a failed header check, or 0
  bool con_pista;
  int stato;
  std::vector<std::string> contiene;  // pieces the one report must hold
  std::vector<std::string> esclude;   // pieces it must not hold
};

class StatoScenario : public ::testing::TestWithParam<CasoStato> {};

TEST_P(StatoScenario, ReportsWhatWentWrong) {
  const CasoStato& caso = GetParam();
  EsitoCompilazione esito;
  esito.codice_errore = CodiceErrore{caso.codice};
  esito.controllo_testate = CodiceErrore{caso.testate};
  esito.posizione_errore = 4300;
  esito.percorso_presente = caso.con_pista;
  test::PiattaformaFinta piattaforma(Cartella{});

  EXPECT_EQ(stato_scenario(esito, piattaforma), caso.stato);
  if (caso.stato == 0) {
    EXPECT_TRUE(piattaforma.messaggi.empty());
    EXPECT_TRUE(piattaforma.errori_scenario.empty());
    return;
  }
  // The header checks end in the numbered box alone, everything else in one report.
  auto& uscito = caso.testate != 0 ? piattaforma.messaggi : piattaforma.errori_scenario;
  auto& taciuto = caso.testate != 0 ? piattaforma.errori_scenario : piattaforma.messaggi;
  EXPECT_TRUE(taciuto.empty());
  ASSERT_EQ(uscito.size(), 1u);
  const std::string& resoconto = uscito[0];
  for (const auto& pezzo : caso.contiene)
    EXPECT_NE(resoconto.find(pezzo), std::string::npos) << resoconto;
  for (const auto& pezzo : caso.esclude)
    EXPECT_EQ(resoconto.find(pezzo), std::string::npos) << resoconto;
}

INSTANTIATE_TEST_SUITE_P(
    Casi, StatoScenario,
    ::testing::Values(
        CasoStato{"CleanRun", 0, 0, true, 0, {}, {}},
        CasoStato{
            "WalkErrorWithItsPosition", 13, 0, true, 1, {"error 13", "abbattimento", "4300 m"}, {}},
        CasoStato{"ReaderErrorWithItsPosition", 16, 0, true, 1, {"error 16", "signal", "4300 m"}, {}},
        CasoStato{"CodeWithoutPositionLeavesTheStaleOneOut",
                  25,
                  0,
                  true,
                  1,
                  {"error 25", "reading"},
                  {"4300"}},
        CasoStato{"MissingLineFile",
                  101,
                  0,
                  false,
                  1,
                  {"error 101", "line description file missing"},
                  {"4300"}},
        CasoStato{"UnknownCode", 77, 0, true, 1, {"error 77", "unknown"}, {"4300"}},
        CasoStato{"NoTrackAndNoCode", 0, 0, false, 1, {"no track"}, {}},
        CasoStato{"StampFieldTaken", 0, 1250, true, 1, {" Errore n. 1250"}, {"4300"}},
        // A header check that fails hides any scenario error the reader left.
        CasoStato{"RaceCodeFieldTakenAfterAReaderError",
                  16,
                  1251,
                  true,
                  1,
                  {" Errore n. 1251"},
                  {"16", "4300"}}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace gs

#include "compiler/errore.h"
#include "compiler/memorizza_percorso.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "piattaforma_finta.h"
#include "base/errore_file.h"

namespace gs {
namespace {

const IdentitaScenario kIdentita{"Brisca_Nolte", "52806"};
const std::vector<std::string> kFileCompilati = {"Brisca_Nolte_linea.dat", "Brisca_Nolte_52806.sim",
                                                 "Brisca_Nolte_52806.dat"};

// A short track as the reader leaves it: names in records 85 and 86, headers empty.
TabelleScenario letto(std::int32_t ultima = 40) {
  TabelleScenario tab;
  tab.flag_profilo = 1;
  tab.celle.resize(static_cast<std::size_t>(ultima) + 1);
  tab.numero_celle = ultima;
  tab.record[kRecordTestataScenario].nome = kIdentita.codice_scenario;
  tab.record[kRecordTestataRipetizione].nome = kIdentita.numero_treno;
  return tab;
}

class CompilaPercorso : public ::testing::Test {
 protected:
  void compila() { compila_percorso(kIdentita, dir.cartella(), tab, piattaforma); }
  // Runs a compile that must end through `errore`; returns the exit status.
  int compila_fino_a_errore() {
    try {
      compila();
    } catch (const FineProgramma& fine) {
      return fine.stato;
    }
    ADD_FAILURE() << "the compile did not end the program";
    return 0;
  }
  void nessun_file_compilato() {
    for (const auto& nome : kFileCompilati) EXPECT_FALSE(test::esiste(dir.file(nome))) << nome;
  }

  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma{dir.cartella()};
  TabelleScenario tab = letto();
};

TEST_F(CompilaPercorso, StampsTheHeadersAndWritesTheFiles) {
  compila();
  EXPECT_EQ(tab.record[kRecordTestataScenario].rd2, 610);
  EXPECT_EQ(tab.record[kRecordTestataScenario].orario, 36124);
  EXPECT_EQ(tab.celle[1].valore1, 5121);
  EXPECT_EQ(tab.celle[1].valore2, 2494);
  EXPECT_TRUE(piattaforma.messaggi.empty());
  for (const auto& nome : kFileCompilati) EXPECT_TRUE(test::esiste(dir.file(nome))) << nome;
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806.dat")).substr(15, 5),
            std::string("\x00\x01\x14\xBE\x09", 5));
}

// A header place the reader already filled: the numbered error, and no file.
struct CasoTestata {
  const char* nome;
  void (*riempi)(TabelleScenario&);
  const char* messaggio;
};

class TestataGiaOccupata : public CompilaPercorso,
                           public ::testing::WithParamInterface<CasoTestata> {};

TEST_P(TestataGiaOccupata, EndsWithTheNumberedErrorAndWritesNothing) {
  GetParam().riempi(tab);
  EXPECT_EQ(compila_fino_a_errore(), 1);
  EXPECT_EQ(piattaforma.messaggi, std::vector<std::string>{GetParam().messaggio});
  nessun_file_compilato();
}

INSTANTIATE_TEST_SUITE_P(
    Controlli, TestataGiaOccupata,
    ::testing::Values(
        CasoTestata{"StampField", [](TabelleScenario& t) { t.record[85].rd2 = 1; },
                    " Errore n. 1250"},
        CasoTestata{"CellOneFirstValue", [](TabelleScenario& t) { t.celle[1].valore1 = -1; },
                    " Errore n. 1250"},
        CasoTestata{"RaceCodeField", [](TabelleScenario& t) { t.record[85].orario = 7; },
                    " Errore n. 1251"},
        CasoTestata{"CellOneSecondValue", [](TabelleScenario& t) { t.celle[1].valore2 = 1; },
                    " Errore n. 1251"},
        // The walk itself can put a marker on cell 1.
        CasoTestata{"RuleAReachingCellOne",
                    [](TabelleScenario& t) {
                      t.celle[5].tipo = kCellaAvvisoRallentamento;
                      t.celle[3].tipo = kCellaSegnale;
                      t.celle[2].tipo = kCellaIndicatoreVelocita;
                    },
                    " Errore n. 1250"},
        CasoTestata{"RuleB1ReachingCellOne",
                    [](TabelleScenario& t) {
                      t.celle[8].tipo = kCellaInizioRallentamento;
                      t.celle[8].valore1 = 110;
                      t.celle[30].tipo = kCellaFineRallentamento;
                      t.celle[3].tipo = kCellaIndicatoreVelocita;
                      t.celle[2].tipo = kCellaIndicatoreVelocita;
                    },
                    " Errore n. 1250"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(CompilaPercorso, NoTrackOrNoCellOneMeansNothingToCompile) {
  for (std::size_t celle : {0u, 1u}) {
    tab.celle.assign(celle, Cella{});
    EXPECT_NO_THROW(compila());
    EXPECT_EQ(tab.record[kRecordTestataScenario].rd2, 0);
    nessun_file_compilato();
  }
}

TEST(MemorizzaPercorso, AMissingLineFileLeavesNoTrackEvenAfterAnEarlierCompile) {
  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma(dir.cartella());
  TabelleScenario tab = letto();  // a track left from an earlier compile
  tab.codice_errore = 13;
  tab.posizione_errore = 4300;
  const std::int32_t j = 1;
  memorizza_percorso(j, kIdentita, dir.cartella(), tab, piattaforma);

  EXPECT_FALSE(percorso_presente(tab));
  EXPECT_EQ(tab.flag_profilo, 1);
  EXPECT_EQ(tab.codice_errore, 101);
  EXPECT_EQ(tab.posizione_errore, 4300);  // the reset leaves the position alone
  EXPECT_EQ(tab.record[kRecordTestataScenario].rd2, 0);
  for (const auto& nome : kFileCompilati) EXPECT_FALSE(test::esiste(dir.file(nome))) << nome;
}

}  // namespace
}  // namespace gs

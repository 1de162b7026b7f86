#include "compiler/memorizza_percorso.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
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
  void compila() {
    esito = EsitoCompilazione{};
    compila_percorso(kIdentita, dir.cartella(), tab, esito);
  }
  void nessun_file_compilato() {
    for (const auto& nome : kFileCompilati) EXPECT_FALSE(test::esiste(dir.file(nome))) << nome;
  }

  test::CartellaTemporanea dir;
  TabelleScenario tab = letto();
  EsitoCompilazione esito;
};

TEST_F(CompilaPercorso, StampsTheHeadersAndWritesTheFiles) {
  compila();
  EXPECT_EQ(tab.record[kRecordTestataScenario].rd2, 610);
  EXPECT_EQ(tab.record[kRecordTestataScenario].orario, 36124);
  EXPECT_EQ(tab.celle[1].valore1, 5121);
  EXPECT_EQ(tab.celle[1].valore2, 2494);
  EXPECT_TRUE(esito.riuscita());
  EXPECT_EQ(esito.file_scritti, kFileCompilati);
  ASSERT_TRUE(esito.codici_gara.has_value());
  EXPECT_EQ(esito.codici_gara->semplice, 2494);
  EXPECT_EQ(esito.codici_gara->pesato, 36124);
  for (const auto& nome : kFileCompilati) EXPECT_TRUE(test::esiste(dir.file(nome))) << nome;
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806.dat")).substr(15, 5),
            std::string("\x00\x01\x14\xBE\x09", 5));
}

// A header place the reader already filled: the header check's code, and no file.
struct CasoTestata {
  const char* nome;
  void (*riempi)(TabelleScenario&);
  CodiceErrore codice;
};

class TestataGiaOccupata : public CompilaPercorso,
                           public ::testing::WithParamInterface<CasoTestata> {};

TEST_P(TestataGiaOccupata, StopsBeforeWritingAnything) {
  GetParam().riempi(tab);
  compila();
  EXPECT_EQ(esito.controllo_testate, GetParam().codice);
  EXPECT_EQ(esito.errore(), GetParam().codice);
  EXPECT_FALSE(esito.riuscita());
  EXPECT_TRUE(esito.file_scritti.empty());
  nessun_file_compilato();
}

INSTANTIATE_TEST_SUITE_P(
    Controlli, TestataGiaOccupata,
    ::testing::Values(
        CasoTestata{"StampField", [](TabelleScenario& t) { t.record[85].rd2 = 1; },
                    CodiceErrore::timbro_gia_presente},
        CasoTestata{"CellOneFirstValue", [](TabelleScenario& t) { t.celle[1].valore1 = -1; },
                    CodiceErrore::timbro_gia_presente},
        CasoTestata{"RaceCodeField", [](TabelleScenario& t) { t.record[85].orario = 7; },
                    CodiceErrore::codice_gara_gia_presente},
        CasoTestata{"CellOneSecondValue", [](TabelleScenario& t) { t.celle[1].valore2 = 1; },
                    CodiceErrore::codice_gara_gia_presente},
        // The walk itself can put a marker on cell 1.
        CasoTestata{"RuleAReachingCellOne",
                    [](TabelleScenario& t) {
                      t.celle[5].tipo = kCellaAvvisoRallentamento;
                      t.celle[3].tipo = kCellaSegnale;
                      t.celle[2].tipo = kCellaIndicatoreVelocita;
                    },
                    CodiceErrore::timbro_gia_presente},
        CasoTestata{"RuleB1ReachingCellOne",
                    [](TabelleScenario& t) {
                      t.celle[8].tipo = kCellaInizioRallentamento;
                      t.celle[8].valore1 = 110;
                      t.celle[30].tipo = kCellaFineRallentamento;
                      t.celle[3].tipo = kCellaIndicatoreVelocita;
                      t.celle[2].tipo = kCellaIndicatoreVelocita;
                    },
                    CodiceErrore::timbro_gia_presente}),
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
  TabelleScenario tab = letto();  // a track left from an earlier compile
  tab.codice_errore = CodiceErrore{13};
  tab.posizione_errore = 4300;
  const std::int32_t j = 1;
  const EsitoCompilazione esito = memorizza_percorso(j, kIdentita, dir.cartella(), tab);

  EXPECT_FALSE(esito.percorso_presente);
  EXPECT_EQ(esito.errore(), CodiceErrore::descrizione_linea_mancante);
  EXPECT_TRUE(esito.file_scritti.empty());
  EXPECT_FALSE(percorso_presente(tab));
  EXPECT_EQ(tab.flag_profilo, 1);
  EXPECT_EQ(numero(tab.codice_errore), 101);
  EXPECT_EQ(tab.posizione_errore, 4300);  // the reset leaves the position alone
  EXPECT_EQ(tab.record[kRecordTestataScenario].rd2, 0);
  for (const auto& nome : kFileCompilati) EXPECT_FALSE(test::esiste(dir.file(nome))) << nome;
}

}  // namespace
}  // namespace gs

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"
#include "tabelle_test.h"

namespace gs {
namespace {

std::vector<std::size_t> celle_cambiate(const std::vector<Cella>& prima,
                                        const std::vector<Cella>& dopo) {
  std::vector<std::size_t> indici;
  for (std::size_t k = 0; k < prima.size() && k < dopo.size(); ++k) {
    if (!(prima[k] == dopo[k])) indici.push_back(k);
  }
  return indici;
}

// 60 km/h over 1000 m from 1550: warning board on cell 8, start 32, end 52.
Rallentamento a_1550(std::int32_t f_ta, std::int32_t d_v) {
  return Rallentamento{.x = 1550, .v = 60, .l = 1000, .f_tt = 7, .f_ta = f_ta, .d_v = d_v};
}

TEST(MemoRallentamento, PlacesWarningStartEndAndApproachCells) {
  TabelleScenario tab = test::percorso_vuoto(100);
  tab.celle[32].tipo = kCellaMontagna;  // a mountain mark counts as free
  const std::vector<Cella> prima = tab.celle;
  memo_rallentamento(tab, a_1550(1, 2));

  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(celle_cambiate(prima, tab.celle), (std::vector<std::size_t>{4, 5, 6, 7, 8, 32, 52}));
  const Cella& avviso = tab.celle[8];
  EXPECT_EQ(avviso.tipo, kCellaAvvisoRallentamento);
  EXPECT_EQ(avviso.valore1, 60);
  EXPECT_EQ(avviso.valore2, 2);
  EXPECT_EQ(avviso.valore3, 0);
  for (std::size_t k : {32u, 52u}) {
    EXPECT_EQ(tab.celle[k].valore1, 60) << k;
    EXPECT_EQ(tab.celle[k].valore2, 2) << k;
    EXPECT_EQ(tab.celle[k].valore3, 7) << k;
  }
  EXPECT_EQ(tab.celle[32].tipo, kCellaInizioRallentamento);
  EXPECT_EQ(tab.celle[52].tipo, kCellaFineRallentamento);
  for (std::int16_t i = 0; i < 4; ++i) {
    const Cella& cella = tab.celle[static_cast<std::size_t>(7 - i)];
    EXPECT_EQ(cella.tipo, kCellaAvvicinamentoRallentamento) << i;
    EXPECT_EQ(cella.valore1, i + 1) << i;
    EXPECT_EQ(cella.valore2, i + 1) << i;
  }
}

TEST(MemoRallentamento, ZeroSwitchesLeaveTheirFieldsAlone) {
  TabelleScenario tab = test::percorso_vuoto(100);
  tab.celle[32].valore2 = 9;  // left over in a free cell: d_v 0 does not touch it
  memo_rallentamento(tab, a_1550(0, 0));

  EXPECT_EQ(tab.celle[32].valore2, 9);
  EXPECT_EQ(tab.celle[52].valore2, 0);
  EXPECT_EQ(tab.celle[8].valore2, 0);
  EXPECT_EQ(tab.celle[8].tipo, kCellaAvvisoRallentamento);
  for (std::size_t k = 4; k <= 7; ++k) EXPECT_EQ(tab.celle[k], Cella{}) << k;
}

TEST(MemoRallentamento, NoWarningBoardUpTo1500Metres) {
  TabelleScenario tab = test::percorso_vuoto(100);
  const std::vector<Cella> prima = tab.celle;
  memo_rallentamento(tab, Rallentamento{.x = 1500, .v = 60, .l = 1000, .f_tt = 0, .f_ta = 1, .d_v = 2});

  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(celle_cambiate(prima, tab.celle), (std::vector<std::size_t>{31, 51}));
  EXPECT_EQ(tab.celle[31].tipo, kCellaInizioRallentamento);
  EXPECT_EQ(tab.celle[51].tipo, kCellaFineRallentamento);
}

// The approach cells are the four just before the warning board, also when
// the board's position falls halfway between two cells.
TEST(MemoRallentamento, ApproachCellsTouchTheWarningBoard) {
  struct Caso {
    std::int32_t x;
    std::size_t avviso;
  };
  const Caso casi[] = {{1550, 8}, {1575, 8}, {1625, 10}, {1600, 9}, {1501, 7}};
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(100);
    memo_rallentamento(tab, Rallentamento{.x = caso.x, .v = 60, .l = 500, .f_tt = 0, .f_ta = 1, .d_v = 0});
    EXPECT_EQ(numero(tab.codice_errore), 0) << caso.x;
    EXPECT_EQ(tab.celle[caso.avviso].tipo, kCellaAvvisoRallentamento) << caso.x;
    for (std::size_t i = 1; i <= 4; ++i) {
      EXPECT_EQ(tab.celle[caso.avviso - i].tipo, kCellaAvvicinamentoRallentamento) << caso.x;
      EXPECT_EQ(tab.celle[caso.avviso - i].valore1, static_cast<std::int16_t>(i)) << caso.x;
    }
    EXPECT_EQ(tab.celle[caso.avviso - 5].tipo, kCellaLibera) << caso.x;
  }
}

TEST(MemoRallentamento, ARefusedPlacementStopsAtTheTakenCell) {
  struct Caso {
    std::size_t occupata;
    std::int32_t errore;
    std::vector<std::size_t> scritte;  // cells written besides the taken one
  };
  const Caso casi[] = {
      {8, 17, {}},              // warning board
      {32, 18, {}},             // start: a signal already there
      {52, 19, {}},             // end
      {5, 20, {8, 32, 52}},     // an approach cell: board, start and end stay written
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(100);
    tab.celle[caso.occupata].tipo = kCellaSegnale;
    const std::vector<Cella> prima = tab.celle;
    memo_rallentamento(tab, a_1550(1, 2));
    EXPECT_EQ(numero(tab.codice_errore), caso.errore) << caso.occupata;
    EXPECT_EQ(tab.posizione_errore, 0);
    EXPECT_EQ(celle_cambiate(prima, tab.celle), caso.scritte) << caso.occupata;
  }
}

TEST(MemoRallentamento, AnEndBeyondTheTrackFailsBeforeWritingAnything) {
  TabelleScenario tab = test::percorso_vuoto(100);
  const std::vector<Cella> prima = tab.celle;
  EXPECT_THROW(memo_rallentamento(tab, Rallentamento{.x = 4000, .v = 60, .l = 1000, .f_tt = 0, .f_ta = 1, .d_v = 0}),
               ErroreEsecuzione);
  EXPECT_TRUE(celle_cambiate(prima, tab.celle).empty());
  EXPECT_EQ(numero(tab.codice_errore), 0);
}

TEST(MemoRallentamento, SixteenBitFieldsKeepTheLowBits) {
  TabelleScenario tab = test::percorso_vuoto(100);
  memo_rallentamento(tab, Rallentamento{.x = 1550, .v = 65536 + 60, .l = 1000, .f_tt = -1, .f_ta = 0, .d_v = 70000});
  EXPECT_EQ(tab.celle[32].valore1, 60);
  EXPECT_EQ(tab.celle[32].valore2, 70000 - 65536);
  EXPECT_EQ(tab.celle[32].valore3, -1);
}

}  // namespace
}  // namespace gs

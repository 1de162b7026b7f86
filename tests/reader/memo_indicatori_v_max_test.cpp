#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"
#include "tabelle_test.h"

namespace gs {
namespace {

TEST(MemoIndicatoriVMax, SpeedCodesAndStripes) {
  struct Caso {
    IndicatoreVelocita board;
    std::size_t cella;
    std::int16_t v1, v2, v3, v4;
  };
  const Caso casi[] = {
      {{800, 105, 115, 120, 0, 0, 0, 0, 0}, 17, 2100, 2300, 2400, 0},
      {{7800, 120, 130, 135, 0, 120, 130, 135, 0}, 157, 2424, 2626, 2727, 0},
      {{1000, 0, 0, 0, 1, 8, 7, 12, 2}, 21, 2, 1, 2, 12},  // 1.6, 1.4, 2.4
      {{1000, 1638, -1638, 0, 0, 35, -40, -8, 0}, 21, 32767, -32768, -2, 0},
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(200);
    tab.celle[caso.cella].tipo = kCellaMontagna;  // a mountain mark is free
    const std::vector<Cella> prima = tab.celle;
    memo_indicatori_v_max(tab, caso.board);

    EXPECT_EQ(numero(tab.codice_errore), 0);
    const Cella& cella = tab.celle[caso.cella];
    EXPECT_EQ(cella.tipo, kCellaIndicatoreVelocita) << caso.board.posizione;
    EXPECT_EQ(cella.valore1, caso.v1) << caso.board.posizione;
    EXPECT_EQ(cella.valore2, caso.v2) << caso.board.posizione;
    EXPECT_EQ(cella.valore3, caso.v3) << caso.board.posizione;
    EXPECT_EQ(cella.valore4, caso.v4) << caso.board.posizione;
    for (std::size_t k = 0; k < prima.size(); ++k) {
      if (k != caso.cella) {
        EXPECT_EQ(tab.celle[k], prima[k]) << k;
      }
    }
  }
}

TEST(MemoIndicatoriVMax, ATakenCellIsRefusedUntouched) {
  TabelleScenario tab = test::percorso_vuoto(100);
  tab.celle[17].tipo = kCellaSegnale;
  const std::vector<Cella> prima = tab.celle;
  memo_indicatori_v_max(tab, {800, 105, 115, 120, 0, 0, 0, 0, 0});
  EXPECT_EQ(numero(tab.codice_errore), 21);
  EXPECT_EQ(tab.posizione_errore, 0);
  EXPECT_TRUE(tab.celle == prima);
}

TEST(MemoIndicatoriVMax, ACodeBeyondSixteenBitsFailsBeforeWritingAnything) {
  const IndicatoreVelocita casi[] = {
      {800, 1639, 0, 0, 0, 0, 0, 0, 0},      // 32780
      {800, 0, 0, 1638, 0, 0, 0, 40, 0},     // 32768, the last code
      {800, 0, -1638, 0, 0, 0, -45, 0, 0},   // -32769
      {800, 0, 0, 0, 0, 2147483647, 0, 0, 0},
  };
  for (const IndicatoreVelocita& board : casi) {
    TabelleScenario tab = test::percorso_vuoto(100);
    const std::vector<Cella> prima = tab.celle;
    EXPECT_THROW(memo_indicatori_v_max(tab, board), ErroreEsecuzione);
    EXPECT_TRUE(tab.celle == prima);
  }
}

TEST(MemoIndicatoriVMax, ACellOffTheTrackFails) {
  TabelleScenario tab = test::percorso_vuoto(100);
  EXPECT_THROW(memo_indicatori_v_max(tab, {5000, 105, 115, 120, 0, 0, 0, 0, 0}), ErroreEsecuzione);
  EXPECT_THROW(memo_indicatori_v_max(tab, {-100, 105, 115, 120, 0, 0, 0, 0, 0}), ErroreEsecuzione);
}

}  // namespace
}  // namespace gs

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"
#include "tabelle_test.h"

namespace gs {
namespace {

std::vector<std::size_t> celle_con_montagna(const TabelleScenario& tab) {
  std::vector<std::size_t> indici;
  for (std::size_t k = 0; k < tab.celle.size(); ++k) {
    if (tab.celle[k].montagna != 0) indici.push_back(k);
  }
  return indici;
}

TEST(MemoMontagna, RecordsTheStretchAndItsCells) {
  TabelleScenario tab = test::percorso_vuoto(1780);
  memo_montagna(tab, 29100, 29200, 2);

  EXPECT_EQ(tab.numero_montagne, 1);
  EXPECT_EQ(tab.montagna_inizio[1], 29100);
  EXPECT_EQ(tab.montagna_fine[1], 29200);
  EXPECT_EQ(celle_con_montagna(tab), (std::vector<std::size_t>{582, 583}));
  EXPECT_EQ(tab.celle[582].montagna, 2);
  EXPECT_EQ(tab.celle[583].montagna, 2);
  EXPECT_EQ(tab.celle[582].tipo, kCellaLibera);
  EXPECT_EQ(numero(tab.codice_errore), 0);
}

TEST(MemoMontagna, AStretchCloseAfterThePreviousOneIsKindThree) {
  struct Caso {
    std::int32_t inizio;
    std::uint8_t tipo_atteso;
  };
  const Caso casi[] = {
      {29350, 3},  // 150 m after the first stretch ends
      {29300, 3},
      {29351, 1},  // 151 m after
      {30000, 1},
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(1780);
    memo_montagna(tab, 29100, 29200, 2);
    memo_montagna(tab, caso.inizio, caso.inizio + 200, 1);
    const auto prima_cella = static_cast<std::size_t>(caso.inizio / 50);
    EXPECT_EQ(tab.celle[prima_cella].montagna, caso.tipo_atteso) << caso.inizio;
    EXPECT_EQ(tab.celle[582].montagna, 2) << caso.inizio;
    EXPECT_EQ(tab.montagna_inizio[2], caso.inizio);
  }
}

TEST(MemoMontagna, KindAboveTenMarksEveryFourthPlainCell) {
  TabelleScenario tab = test::percorso_vuoto(100);
  tab.celle[27].tipo = kCellaSegnale;  // the 8th cell of the stretch is taken
  memo_montagna(tab, 1000, 1500, 12);  // cells 20 .. 29

  EXPECT_EQ(celle_con_montagna(tab),
            (std::vector<std::size_t>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
  for (std::size_t k = 20; k <= 29; ++k) {
    EXPECT_EQ(tab.celle[k].montagna, 2) << k;
    const std::uint8_t atteso = k == 23 ? kCellaMontagna : k == 27 ? kCellaSegnale : kCellaLibera;
    EXPECT_EQ(tab.celle[k].tipo, atteso) << k;
  }
}

TEST(MemoMontagna, TheEightyFirstStretchFailsBeforeWritingAnything) {
  TabelleScenario tab = test::percorso_vuoto(1000);
  for (int n = 0; n < kNumeroMontagne; ++n) memo_montagna(tab, n * 500, n * 500 + 100, 1);
  ASSERT_EQ(tab.numero_montagne, kNumeroMontagne);
  const TabelleScenario prima = tab;

  EXPECT_THROW(memo_montagna(tab, 45000, 45100, 2), ErroreEsecuzione);
  EXPECT_EQ(tab.numero_montagne, kNumeroMontagne);
  EXPECT_EQ(tab.montagna_inizio, prima.montagna_inizio);
  EXPECT_EQ(tab.montagna_fine, prima.montagna_fine);
  EXPECT_TRUE(tab.celle == prima.celle);
}

TEST(MemoMontagna, AStretchRunningOffTheTrackFailsBeforeWritingAnything) {
  TabelleScenario tab = test::percorso_vuoto(100);
  EXPECT_THROW(memo_montagna(tab, 4900, 5200, 2), ErroreEsecuzione);  // cells 98 .. 103
  EXPECT_EQ(tab.numero_montagne, 0);
  EXPECT_EQ(tab.montagna_inizio[1], 0);
  EXPECT_TRUE(celle_con_montagna(tab).empty());

  memo_montagna(tab, 4900, 5050, 2);  // cells 98 .. 100: the last cell is on the track
  EXPECT_EQ(celle_con_montagna(tab), (std::vector<std::size_t>{98, 99, 100}));
}

}  // namespace
}  // namespace gs

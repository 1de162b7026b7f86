#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"
#include "tabelle_test.h"

namespace gs {
namespace {

// The approach marks on the track, by cell.
std::map<std::size_t, int> marche(const TabelleScenario& tab) {
  std::map<std::size_t, int> trovate;
  for (std::size_t k = 0; k < tab.celle.size(); ++k) {
    if (tab.celle[k].avvicinamento != 0) trovate[k] = tab.celle[k].avvicinamento;
  }
  return trovate;
}

// "segnale, 1000, 2, 2, 3, 1, 1, 2, 2, 1, 1, 0" and the same at other positions.
Segnale segnale_a(std::int32_t posizione) {
  return Segnale{.posizione = posizione, .sx = 2, .s1 = 2, .s2 = 3, .s3 = 1, .rapp = 1,
                 .dx = 2, .d1 = 2, .d2 = 1, .d3 = 1, .tempo = 0};
}

TEST(MemoSegnale, PacksTheAspectsAndMarksTheApproach) {
  TabelleScenario tab = test::percorso_vuoto(100);
  tab.celle[17].tipo = kCellaInizioRallentamento;  // marks go on whatever the cell holds
  memo_segnale(tab, segnale_a(1000));

  EXPECT_EQ(numero(tab.codice_errore), 0);
  const Cella& cella = tab.celle[21];
  EXPECT_EQ(cella.tipo, kCellaSegnale);
  EXPECT_EQ(cella.valore1, 22);
  EXPECT_EQ(cella.valore2, 31);
  EXPECT_EQ(cella.valore3, 11);
  EXPECT_EQ(cella.valore4, 18);  // rapp 1, sx 2, dx 2
  EXPECT_EQ(cella.avvicinamento, 0);
  EXPECT_EQ(marche(tab), (std::map<std::size_t, int>{{19, 81}, {17, 82}, {15, 83}, {13, 84}}));
  EXPECT_EQ(tab.celle[17].tipo, kCellaInizioRallentamento);
  EXPECT_EQ(tab.celle[19].tipo, kCellaLibera);
}

TEST(MemoSegnale, SignalTimeOnlyForLeftAspectTwo) {
  struct Caso {
    std::int32_t sx;
    std::int32_t tempo;
    std::uint8_t atteso;
  };
  const Caso casi[] = {
      {2, 50, 101}, {1, 50, 0},   {2, 1, 101},  {2, 100, 101}, {2, 0, 0},
      {2, 101, 101}, {2, 190, 190}, {2, 300, 44}, {2, -5, 251},  {3, 190, 0},
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(100);
    Segnale s = segnale_a(1000);
    s.sx = caso.sx;
    s.tempo = caso.tempo;
    memo_segnale(tab, s);
    EXPECT_EQ(tab.celle[21].tempo_segnale, caso.atteso) << caso.sx << " " << caso.tempo;
  }
}

TEST(MemoSegnale, ATakenCellIsRefusedUntouched) {
  TabelleScenario tab = test::percorso_vuoto(100);
  memo_segnale(tab, segnale_a(1000));
  const std::vector<Cella> prima = tab.celle;
  Segnale altro = segnale_a(1000);
  altro.sx = 1;
  memo_segnale(tab, altro);
  EXPECT_EQ(numero(tab.codice_errore), 16);
  EXPECT_EQ(tab.posizione_errore, 0);
  EXPECT_TRUE(tab.celle == prima);

  tab.codice_errore = CodiceErrore{0};
  tab.celle[41].tipo = kCellaMontagna;  // a mountain mark is free
  memo_segnale(tab, segnale_a(2000));
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.celle[41].tipo, kCellaSegnale);
}

TEST(MemoSegnale, NearTheOriginTheMarksBeforeCellZeroAreLeftOut) {
  struct Caso {
    std::int32_t posizione;
    std::map<std::size_t, int> attese;
  };
  const Caso casi[] = {
      {0, {}},
      {100, {{1, 81}}},
      {300, {{5, 81}, {3, 82}, {1, 83}}},
      {350, {{6, 81}, {4, 82}, {2, 83}, {0, 84}}},
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab = test::percorso_vuoto(100);
    memo_segnale(tab, segnale_a(caso.posizione));
    EXPECT_EQ(numero(tab.codice_errore), 0);
    EXPECT_EQ(marche(tab), caso.attese) << caso.posizione;
  }
}

TEST(MemoSegnale, ACellOffTheTrackFailsBeforeWritingAnything) {
  for (std::int32_t posizione : {5000, 5100, -100}) {  // cells 101, 103, -1 on a 0 .. 100 track
    TabelleScenario tab = test::percorso_vuoto(100);
    EXPECT_THROW(memo_segnale(tab, segnale_a(posizione)), ErroreEsecuzione) << posizione;
    EXPECT_TRUE(marche(tab).empty()) << posizione;
  }
  TabelleScenario tab = test::percorso_vuoto(100);
  memo_segnale(tab, segnale_a(4950));  // the last cell
  EXPECT_EQ(tab.celle[100].tipo, kCellaSegnale);
}

TEST(MemoSegnale, FieldsKeepTheirLowBits) {
  TabelleScenario tab = test::percorso_vuoto(100);
  Segnale s = segnale_a(1000);
  s.s1 = 3277;  // 32770
  s.sx = 9;     // marks (27 + 2) * 10 + b
  memo_segnale(tab, s);
  EXPECT_EQ(tab.celle[21].valore1, 32772 - 65536);
  EXPECT_EQ(tab.celle[19].avvicinamento, 291 - 256);
  EXPECT_EQ(tab.celle[13].avvicinamento, 294 - 256);
}

}  // namespace
}  // namespace gs

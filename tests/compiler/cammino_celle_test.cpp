#include "compiler/cammino_celle.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace gs {
namespace {

// One cell laid before the walk, or expected after it: index, type, first value.
struct Posa {
  std::int32_t indice;
  std::uint8_t tipo;
  std::int16_t valore1 = 0;
};

Posa segnale(std::int32_t i) { return {i, kCellaSegnale}; }
Posa avviso(std::int32_t i) { return {i, kCellaAvvisoRallentamento}; }
Posa inizio(std::int32_t i, std::int16_t velocita) {
  return {i, kCellaInizioRallentamento, velocita};
}
Posa fine(std::int32_t i) { return {i, kCellaFineRallentamento}; }
Posa occupata(std::int32_t i) { return {i, kCellaIndicatoreVelocita}; }  // any taken type
Posa montagna(std::int32_t i) { return {i, kCellaMontagna}; }
Posa abbattimento(std::int32_t i, std::int16_t valore) { return {i, kCellaAbbattimento, valore}; }
Posa marcatore(std::int32_t i) { return abbattimento(i, 180); }

struct CasoCammino {
  std::string nome;
  std::int32_t ultima;         // the last cell N
  std::vector<Posa> posate;    // laid before the walk
  std::vector<Posa> cambiate;  // what the walk changes; every other cell stays as it was
  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = -1;  // -1: left as it was
};

// A track of cells 0 .. ultima whose other fields all differ, so that a marker
// that clobbered them would show.
TabelleScenario pista(std::int32_t ultima, const std::vector<Posa>& posate) {
  TabelleScenario tab;
  tab.numero_celle = ultima;
  tab.posizione_errore = -1;
  tab.celle.resize(static_cast<std::size_t>(ultima) + 1);
  for (std::size_t i = 0; i < tab.celle.size(); ++i) {
    tab.celle[i].pendenza = static_cast<std::uint8_t>(100 + i % 9);
    tab.celle[i].velocita = static_cast<std::uint8_t>(20 + i % 5);
    tab.celle[i].valore3 = static_cast<std::int16_t>(i);
  }
  for (const Posa& p : posate) {
    tab.celle.at(static_cast<std::size_t>(p.indice)).tipo = p.tipo;
    tab.celle.at(static_cast<std::size_t>(p.indice)).valore1 = p.valore1;
  }
  return tab;
}

class CamminoCelle : public ::testing::TestWithParam<CasoCammino> {};

TEST_P(CamminoCelle, PlacesTheMarkersAndRecordsTheConflicts) {
  const CasoCammino& caso = GetParam();
  TabelleScenario tab = pista(caso.ultima, caso.posate);
  std::vector<Cella> attese = tab.celle;
  std::int32_t nuovi_marcatori = 0;
  for (const Posa& p : caso.cambiate) {
    Cella& attesa = attese.at(static_cast<std::size_t>(p.indice));
    if (attesa.tipo != kCellaAbbattimento && p.tipo == kCellaAbbattimento) ++nuovi_marcatori;
    attesa.tipo = p.tipo;
    attesa.valore1 = p.valore1;
  }

  EXPECT_EQ(cammino_celle(tab), nuovi_marcatori);

  for (std::size_t i = 0; i < attese.size(); ++i) {
    EXPECT_EQ(tab.celle[i], attese[i]) << "cell " << i << ": type " << int{tab.celle[i].tipo}
                                       << ", first value " << tab.celle[i].valore1;
  }
  EXPECT_EQ(numero(tab.codice_errore), caso.codice_errore);
  EXPECT_EQ(tab.posizione_errore, caso.posizione_errore);
}

// Rule A: the signals in the 20 cells before a slowdown warning board.
INSTANTIATE_TEST_SUITE_P(
    RegolaA, CamminoCelle,
    ::testing::Values(
        CasoCammino{"NoSlowdownLeavesTheTrackAlone", 60, {segnale(30), occupata(10)}, {}},
        CasoCammino{"EachSignalBeforeTheBoardGetsItsMarker",
                    60,
                    {avviso(40), segnale(30), segnale(25)},
                    {marcatore(29), marcatore(24)}},
        CasoCammino{
            "SignalTwentyCellsBackIsTreated", 60, {avviso(40), segnale(20)}, {marcatore(19)}},
        CasoCammino{"SignalTwentyOneCellsBackIsNot", 60, {avviso(40), segnale(19)}, {}},
        CasoCammino{"NearCellTakenMarkerGoesTwoCellsBefore",
                    60,
                    {avviso(40), segnale(30), occupata(29)},
                    {marcatore(28)}},
        CasoCammino{"ExistingMarkerAbove180IsCapped",
                    60,
                    {avviso(40), segnale(30), abbattimento(29, 250), occupata(28)},
                    {abbattimento(29, 180)}},
        CasoCammino{"ExistingMarkerBelow180Stays",
                    60,
                    {avviso(40), segnale(30), abbattimento(29, 120), occupata(28)},
                    {}},
        CasoCammino{"MarkerTwoCellsBeforeIsCappedToo",
                    60,
                    {avviso(40), segnale(30), occupata(29), abbattimento(28, 300)},
                    {abbattimento(28, 180)}},
        CasoCammino{"BothCellsTakenIsError11AtTheSignal",
                    60,
                    {avviso(40), segnale(30), occupata(29), occupata(28)},
                    {},
                    11,
                    1500},
        CasoCammino{"SignalAtCell3IsExamined", 60, {avviso(10), segnale(3)}, {marcatore(2)}},
        CasoCammino{"SignalAtCell2IsNot", 60, {avviso(10), segnale(2)}, {}}),
    [](const auto& info) { return info.param.nome; });

// Rule B1: three groups of approach markers before a slowdown start. Speed 110
// and no signal after the end keep B2 and B3 out of the way.
INSTANTIATE_TEST_SUITE_P(
    RegolaB1, CamminoCelle,
    ::testing::Values(
        CasoCammino{"StartAtCell7GetsNone", 60, {inizio(7, 110), fine(30)}, {}},
        CasoCammino{
            "StartAtCell8GetsTheFirstGroup", 60, {inizio(8, 110), fine(30)}, {marcatore(3)}},
        CasoCammino{"StartAtCell14GetsTwoGroups",
                    60,
                    {inizio(14, 110), fine(30)},
                    {marcatore(9), marcatore(3)}},
        CasoCammino{"StartAtCell21GetsAllThree",
                    60,
                    {inizio(21, 110), fine(40)},
                    {marcatore(16), marcatore(10), marcatore(3)}},
        CasoCammino{"MountainMarkIsTakenBeforeAPlainCellFartherAway",
                    90,
                    {inizio(50, 110), fine(80), montagna(45)},
                    {marcatore(45), marcatore(39), marcatore(32)}},
        CasoCammino{
            "TakenCandidatesAreSkipped",
            90,
            {inizio(50, 110), fine(80), occupata(45), occupata(44), occupata(39), occupata(38)},
            {marcatore(43), marcatore(37), marcatore(32)}},
        CasoCammino{"GroupWithNoFreeCellIsError12AndTheOthersStillGetMarkers",
                    90,
                    {inizio(50, 110), fine(80), occupata(45), occupata(44), occupata(43)},
                    {marcatore(39), marcatore(32)},
                    12,
                    2500}),
    [](const auto& info) { return info.param.nome; });

// Rule B2: repeat markers every 8 cells through a slowdown slower than 110 km/h.
INSTANTIATE_TEST_SUITE_P(
    RegolaB2, CamminoCelle,
    ::testing::Values(CasoCammino{"EveryEightCellsUpToTheEnd",
                                  200,
                                  {inizio(100, 60), fine(130)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(116), marcatore(124)}},
                      CasoCammino{"Speed110GetsNone",
                                  200,
                                  {inizio(100, 110), fine(130)},
                                  {marcatore(95), marcatore(89), marcatore(82)}},
                      CasoCammino{"Speed109GetsThem",
                                  200,
                                  {inizio(100, 109), fine(130)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(116), marcatore(124)}},
                      CasoCammino{"ShiftedBackTheNextFollowsFromThere",
                                  200,
                                  {inizio(100, 60), fine(130), occupata(116)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(115), marcatore(123)}},
                      CasoCammino{"ShiftedForwardTheNextFollowsFromThere",
                                  200,
                                  {inizio(100, 60), fine(130), occupata(116), occupata(115)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(117), marcatore(125)}},
                      CasoCammino{
                          "NoFreeCellIsError13AndEndsTheRepeatMarkers",
                          200,
                          {inizio(100, 60), fine(130), occupata(115), occupata(116), occupata(117)},
                          {marcatore(95), marcatore(89), marcatore(82), marcatore(108)},
                          13,
                          5800},
                      CasoCammino{"EndCellDueTakesTheCellBefore",
                                  200,
                                  {inizio(100, 60), fine(108)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(107)}},
                      CasoCammino{"EndCellDueWithTheCellBeforeTakenTakesTheCellAfterAndStops",
                                  200,
                                  {inizio(100, 60), fine(108), occupata(107)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(109)}},
                      CasoCammino{"NoEndCellWalksToTheLastCell",
                                  130,
                                  {inizio(100, 60)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(116), marcatore(124)}},
                      CasoCammino{"CandidateBeyondTheLastCellIsNotConsidered",
                                  116,
                                  {inizio(100, 60), occupata(115), occupata(116)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108)},
                                  13,
                                  5800}),
    [](const auto& info) { return info.param.nome; });

// Rule B3: a marker before the first signal in the 12 cells after the end.
INSTANTIATE_TEST_SUITE_P(
    RegolaB3, CamminoCelle,
    ::testing::Values(CasoCammino{"SignalTwelveCellsAfterTheEndIsFound",
                                  200,
                                  {inizio(100, 60), fine(130), segnale(142)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(116), marcatore(124), marcatore(141)}},
                      CasoCammino{"SignalThirteenCellsAfterIsNot",
                                  200,
                                  {inizio(100, 60), fine(130), segnale(143)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(108),
                                   marcatore(116), marcatore(124)}},
                      CasoCammino{"FastSlowdownStillGetsIt",
                                  200,
                                  {inizio(100, 110), fine(130), segnale(135)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(134)}},
                      CasoCammino{"OnlyTheFirstSignalCounts",
                                  200,
                                  {inizio(100, 110), fine(130), segnale(133), segnale(137)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(132)}},
                      CasoCammino{"CellBeforeTheSignalTakenMarkerGoesTwoBefore",
                                  200,
                                  {inizio(100, 110), fine(130), segnale(135), occupata(134)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(133)}},
                      CasoCammino{
                          "BothTakenIsError13AtTheEnd",
                          200,
                          {inizio(100, 110), fine(130), segnale(135), occupata(134), occupata(133)},
                          {marcatore(95), marcatore(89), marcatore(82)},
                          13,
                          6500},
                      CasoCammino{"SearchEndsAtTheLastCell",
                                  135,
                                  {inizio(100, 110), fine(130), segnale(135)},
                                  {marcatore(95), marcatore(89), marcatore(82), marcatore(134)}},
                      CasoCammino{"EndCloseToTheLastCellWithNoSignal",
                                  133,
                                  {inizio(100, 110), fine(130)},
                                  {marcatore(95), marcatore(89), marcatore(82)}}),
    [](const auto& info) { return info.param.nome; });

TEST(CamminoCelle, ATrackTooShortToWalkIsLeftAlone) {
  for (std::int32_t ultima : {-1, 0, 1, 2}) {
    TabelleScenario tab;
    tab.celle.resize(static_cast<std::size_t>(ultima + 1));
    if (ultima >= 1) tab.celle[1].tipo = kCellaInizioRallentamento;
    const std::vector<Cella> prima = tab.celle;
    cammino_celle(tab);
    EXPECT_EQ(tab.celle, prima) << "last cell " << ultima;
    EXPECT_EQ(numero(tab.codice_errore), 0);
  }
}

}  // namespace
}  // namespace gs

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"

namespace gs {
namespace {

using Valori = std::array<std::int32_t, 3>;      // a, b, c of one progressive
using Progressive = std::array<Valori, 3>;       // records 81, 82, 83

void metti(TabelleScenario& tab, const Progressive& p) {
  for (int i = 0; i < 3; ++i) {
    Record& r = tab.record[static_cast<std::size_t>(kRecordProgressivaTre + i)];
    r.inizio_fermata = p[i][0];
    r.fine_fermata = p[i][1];
    r.posizione = p[i][2];
  }
}

Progressive prendi(const TabelleScenario& tab) {
  Progressive p{};
  for (int i = 0; i < 3; ++i) {
    const Record& r = tab.record[static_cast<std::size_t>(kRecordProgressivaTre + i)];
    p[i] = {r.inizio_fermata, r.fine_fermata, r.posizione};
  }
  return p;
}

TEST(ProgressiveOrdina, ReordersTheProgressives) {
  struct Caso {
    const char* nome;
    Progressive prima;
    Progressive dopo;
  };
  const Caso casi[] = {
      {"all zeros", {}, {}},
      {"flag 1 adds 100 after the move",
       {{{0, 0, 0}, {5000, 4500, 1}, {0, 0, 0}}},
       {{{5000, 4600, 1}, {0, 0, 0}, {0, 0, 0}}}},
      {"already in order", {{{3000, 1, 0}, {2000, 2, 0}, {1000, 3, 0}}},
       {{{3000, 1, 0}, {2000, 2, 0}, {1000, 3, 0}}}},
      {"first highest, last next", {{{3000, 1, 0}, {1000, 2, 0}, {2000, 3, 0}}},
       {{{3000, 1, 0}, {2000, 3, 0}, {1000, 2, 0}}}},
      {"first highest, others tied: later first", {{{3000, 1, 0}, {1000, 2, 0}, {1000, 3, 0}}},
       {{{3000, 1, 0}, {1000, 3, 0}, {1000, 2, 0}}}},
      {"second highest", {{{2000, 1, 0}, {3000, 2, 0}, {1000, 3, 0}}},
       {{{3000, 2, 0}, {2000, 1, 0}, {1000, 3, 0}}}},
      {"second highest, others tied: later first", {{{1000, 1, 0}, {3000, 2, 0}, {1000, 3, 0}}},
       {{{3000, 2, 0}, {1000, 3, 0}, {1000, 1, 0}}}},
      {"third highest", {{{2000, 1, 0}, {1000, 2, 0}, {3000, 3, 0}}},
       {{{3000, 3, 0}, {2000, 1, 0}, {1000, 2, 0}}}},
      {"third highest, others tied: later first", {{{1000, 1, 0}, {1000, 2, 0}, {3000, 3, 0}}},
       {{{3000, 3, 0}, {1000, 2, 0}, {1000, 1, 0}}}},
      {"tie for the highest clears all", {{{3000, 1, 1}, {3000, 2, 1}, {1000, 3, 1}}}, {}},
      {"flag only exactly 1", {{{3000, 1, 1}, {2000, 2, 2}, {1000, 3, -1}}},
       {{{3000, 101, 1}, {2000, 2, 2}, {1000, 3, -1}}}},
      // With the a values summing to zero, the last record whose b is positive decides.
      {"zero sum, first b", {{{0, 5, 1}, {0, 0, 0}, {0, -3, 0}}},
       {{{0, 105, 1}, {0, 0, 0}, {0, -3, 0}}}},
      {"zero sum, second b", {{{0, 0, 0}, {0, 7, 0}, {0, 0, 0}}},
       {{{0, 7, 0}, {0, 0, 0}, {0, 0, 0}}}},
      {"zero sum, third b", {{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}}},
       {{{0, 3, 0}, {0, 2, 0}, {0, 1, 0}}}},
      {"zero sum, first and second b", {{{0, 1, 0}, {0, 2, 0}, {0, 0, 0}}},
       {{{0, 2, 0}, {0, 1, 0}, {0, 0, 0}}}},
      {"zero sum, no positive b", {{{0, -1, 1}, {0, 0, 1}, {0, -5, 1}}}, {}},
      {"a values cancelling out count as zero", {{{1000, 50, 0}, {-1000, 0, 0}, {0, 0, 0}}},
       {{{1000, 50, 0}, {-1000, 0, 0}, {0, 0, 0}}}},
  };
  for (const Caso& caso : casi) {
    TabelleScenario tab;
    metti(tab, caso.prima);
    progressive_ordina(tab);
    EXPECT_EQ(prendi(tab), caso.dopo) << caso.nome;
  }
}

TEST(ProgressiveOrdina, TouchesOnlyTheProgressiveFields) {
  TabelleScenario tab;
  metti(tab, {{{0, 0, 0}, {5000, 4500, 1}, {0, 0, 0}}});
  tab.record[kRecordProgressivaTre].nome = "tre";
  tab.record[kRecordProgressivaUno].orario = 42;
  progressive_ordina(tab);
  EXPECT_EQ(tab.record[kRecordProgressivaTre].nome, "tre");
  EXPECT_EQ(tab.record[kRecordProgressivaUno].orario, 42);
}

TEST(ProgressiveOrdina, ASumBeyond32BitsIsStillNonZero) {
  TabelleScenario tab;
  metti(tab, {{{2147483647, 1, 0}, {2147483647, 2, 0}, {2, 3, 0}}});  // wraps to 0 in 32 bits
  progressive_ordina(tab);
  EXPECT_EQ(prendi(tab), Progressive{});  // a tie for the highest, not the zero-sum rules
}

TEST(ProgressiveOrdina, AFlaggedValueThatWouldOverflowFails) {
  TabelleScenario tab;
  metti(tab, {{{1000, 2147483600, 1}, {0, 0, 0}, {0, 0, 0}}});
  EXPECT_THROW(progressive_ordina(tab), ErroreEsecuzione);
}

}  // namespace
}  // namespace gs

#include "base/arrotondamento.h"

#include <gtest/gtest.h>

namespace gs {
namespace {

TEST(ArrotondaPari, HalvesGoToTheEvenNeighbour) {
  struct Caso {
    double x;
    double atteso;
  };
  const Caso casi[] = {
      {0.5, 0.0},    {1.5, 2.0},   {2.5, 2.0},     {-0.5, -0.0},  {-1.5, -2.0}, {-2.5, -2.0},
      {0.49, 0.0},   {0.51, 1.0},  {1780.0, 1780}, {17.0 / 2, 8}, {-8.0, -8.0}, {1e9 + 0.5, 1e9},
      {2.5000001, 3}, {-0.51, -1},
  };
  for (const Caso& caso : casi) {
    EXPECT_EQ(arrotonda_pari(caso.x), caso.atteso) << caso.x;
  }
}

}  // namespace
}  // namespace gs

#include "compiler/codice_gara.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace gs {
namespace {

TabelleScenario con_nomi(const std::string& numero_treno, const std::string& codice_scenario) {
  TabelleScenario tab;
  tab.record[kRecordTestataRipetizione].nome = numero_treno;
  tab.record[kRecordTestataScenario].nome = codice_scenario;
  return tab;
}

struct CasoGara {
  const char* numero_treno;
  const char* codice_scenario;
  std::int32_t semplice;  // codice_gara_og
  std::int32_t pesato;    // codice_gara_st
};

class CodiciGara : public ::testing::TestWithParam<CasoGara> {};

// Sums worked out by hand from the race key's first 25 bytes.
TEST_P(CodiciGara, SumTheFirst25BytesOfTheKey) {
  const CasoGara& caso = GetParam();
  const TabelleScenario tab = con_nomi(caso.numero_treno, caso.codice_scenario);
  EXPECT_EQ(codice_gara_og(tab), caso.semplice);
  EXPECT_EQ(codice_gara_st(tab), caso.pesato);
}

INSTANTIATE_TEST_SUITE_P(
    Esempi, CodiciGara,
    ::testing::Values(CasoGara{"7", "Ab", 2824, 37426},  // "7ab" then 22 filler bytes
                      CasoGara{"7", "aB", 2824, 37426},  // the key is lower-cased
                      CasoGara{"7A", "b", 2824, 37426},  // the two names join with no separator
                      CasoGara{"", "", 2894, 36840},     // the filler alone
                      CasoGara{"52806", "Brisca_Nolte", 2494, 36124},  // the embedded scenario
                      // Only 25 bytes are read: whatever follows the 25th byte does not count.
                      CasoGara{"1234567890", "abcdefghijklmnoXYZ", 2085, 31285},
                      CasoGara{"1234567890", "abcdefghijklmno", 2085, 31285}));

TEST(CodiciGara, ReorderingTheKeyKeepsThePlainCodeButNotTheWeightedOne) {
  const TabelleScenario uno = con_nomi("12", "ab");
  const TabelleScenario due = con_nomi("21", "ba");
  EXPECT_EQ(codice_gara_og(uno), codice_gara_og(due));
  EXPECT_NE(codice_gara_st(uno), codice_gara_st(due));
}

TEST(CodiciGara, LowerCaseFollowsWindows1252) {
  struct Coppia {
    unsigned char maiuscola, minuscola;
  };
  const Coppia coppie[] = {
      {'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'@', '@'},   {'[', '['},   {'_', '_'},
      {'5', '5'},   {0xC0, 0xE0}, {0xD6, 0xF6}, {0xD7, 0xD7}, {0xD8, 0xF8}, {0xDE, 0xFE},
      {0xDF, 0xDF}, {0xE0, 0xE0}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x8D, 0x8D},
      {0x9F, 0xFF}, {0xFF, 0xFF}, {0x00, 0x00},
  };
  for (const Coppia& c : coppie) {
    EXPECT_EQ(static_cast<unsigned char>(minuscola_1252(static_cast<char>(c.maiuscola))),
              c.minuscola)
        << "byte " << int{c.maiuscola};
  }
}

TEST(CodiciGara, HighBytesCountAsCodesAbove127) {
  // 0xC9 lower-cases to 0xE9 (233): one byte in place of '7' (55) adds 178 to the plain code.
  const TabelleScenario tab = con_nomi(std::string(1, static_cast<char>(0xC9)), "Ab");
  EXPECT_EQ(codice_gara_og(tab), 2824 + 178);
  EXPECT_EQ(codice_gara_st(tab), 37426 + 178);
}

}  // namespace
}  // namespace gs

#include "base/testo_utf8.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace gs {
namespace {

// Code points of well-formed UTF-8, or an empty list when it is not.
std::vector<char32_t> decodifica_utf8(const std::string& byte) {
  std::vector<char32_t> caratteri;
  for (std::size_t i = 0; i < byte.size();) {
    const auto primo = static_cast<unsigned char>(byte[i]);
    const int lunghezza = primo < 0x80    ? 1
                          : primo >= 0xF0 ? 4
                          : primo >= 0xE0 ? 3
                          : primo >= 0xC2 ? 2
                                          : 0;
    if (lunghezza == 0 || i + lunghezza > byte.size()) return {};
    char32_t carattere = lunghezza == 1 ? primo : primo & (0x7F >> lunghezza);
    for (int k = 1; k < lunghezza; ++k) {
      const auto seguito = static_cast<unsigned char>(byte[i + k]);
      if ((seguito & 0xC0) != 0x80) return {};
      carattere = (carattere << 6) | (seguito & 0x3F);
    }
    caratteri.push_back(carattere);
    i += lunghezza;
  }
  return caratteri;
}

TEST(TestoUtf8, ConvertsBytesOfEveryRange) {
  struct Caso {
    const char* nome;
    std::string windows1252;
    std::string utf8;
  };
  const Caso casi[] = {
      {"plain ASCII stays", "FIRENZE S.M.N. (  Km. )", "FIRENZE S.M.N. (  Km. )"},
      {"empty", "", ""},
      {"NUL and controls are kept", std::string("a\0\x1F", 3), std::string("a\0\x1F", 3)},
      {"accented letter", "CITT\xC0 e\xE8", "CITT\xC3\x80 e\xC3\xA8"},
      {"euro sign opens the 0x80 block", "\x80", "\xE2\x82\xAC"},
      {"quotes, dash and ellipsis", "\x93x\x94\x96\x85",
       "\xE2\x80\x9Cx\xE2\x80\x9D\xE2\x80\x93\xE2\x80\xA6"},
      {"two-byte letters of the block", "\x8A\x9F", "\xC5\xA0\xC5\xB8"},
      {"undefined bytes keep their C1 number", "\x81\x8D\x8F\x90\x9D",
       "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"no-break space and the last byte", "\xA0\xFF", "\xC2\xA0\xC3\xBF"},
  };
  for (const auto& caso : casi) {
    EXPECT_EQ(testo_utf8(caso.windows1252), caso.utf8) << caso.nome;
  }
}

TEST(TestoUtf8, EveryByteBecomesItsOwnCharacter) {
  std::string tutti;
  for (int b = 0; b < 256; ++b) tutti += static_cast<char>(b);
  const auto caratteri = decodifica_utf8(testo_utf8(tutti));
  ASSERT_EQ(caratteri.size(), 256u);
  EXPECT_EQ(std::set<char32_t>(caratteri.begin(), caratteri.end()).size(), 256u);
  for (int b = 0; b < 256; ++b) {
    if (b < 0x80 || b > 0x9F) {
      EXPECT_EQ(caratteri[b], static_cast<char32_t>(b)) << b;
    }
  }
}

TEST(TestoUtf8, EncodesAtEachLengthBoundaryAndReplacesNonScalars) {
  struct Caso {
    char32_t carattere;
    std::string utf8;
  };
  const Caso casi[] = {
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      {0xD800, "\xEF\xBF\xBD"},
      {0xDFFF, "\xEF\xBF\xBD"},
      {0x110000, "\xEF\xBF\xBD"},
  };
  for (const auto& caso : casi) {
    std::string uscita = "x";
    aggiungi_utf8(uscita, caso.carattere);
    EXPECT_EQ(uscita, "x" + caso.utf8) << std::hex << static_cast<unsigned>(caso.carattere);
  }
}

}  // namespace
}  // namespace gs

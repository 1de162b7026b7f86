#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/lettore_campi.h"

namespace gs {
namespace {

// One read: 'c' a text field, 'n' a 32-bit number, 'h' a 16-bit number,
// 'b' an unsigned 8-bit number. The result as text.
std::string leggi(LettoreCampi& lettore, char tipo) {
  switch (tipo) {
    case 'c': return lettore.leggi_campo();
    case 'n': return std::to_string(lettore.leggi_intero());
    case 'h': return std::to_string(lettore.leggi_intero16());
    case 'b': return std::to_string(lettore.leggi_intero8());
  }
  ADD_FAILURE() << "unknown read " << tipo;
  return {};
}

struct Caso {
  const char* testo;
  const char* letture;
  std::vector<std::string> attesi;
  bool fine_dopo;  // the read position stands at the end afterwards
};

TEST(LettoreCampi, ReadsFieldsAndNumbersInSequence) {
  const Caso casi[] = {
      // Fields end at a comma or a line end of any kind; leading blanks go,
      // trailing ones stay.
      {"a,b\r\nc\nd\re", "ccccc", {"a", "b", "c", "d", "e"}, true},
      {" \t lead , trail  \r\n", "cc", {"lead ", "trail  "}, true},
      {"\r\n\r\n\n", "ccc", {"", "", ""}, true},
      {"x\r\r\ny", "ccc", {"x", "", "y"}, true},
      {"- a comment ,\r\nstazione", "ccc", {"- a comment ", "", "stazione"}, true},
      {"[generale]   \r\n", "c", {"[generale]   "}, true},
      // A quoted field runs to its closing quote, commas and line ends
      // included; what follows it up to the delimiter is dropped.
      {"\"x, y\" junk, z", "cc", {"x, y", "z"}, true},
      {"  \"a\r\nb\",c", "cc", {"a\r\nb", "c"}, true},
      {"\"open to the end, still", "c", {"open to the end, still"}, true},
      {"\"\"\r\nnext", "cc", {"", "next"}, true},
      // Numbers end at a blank, a comma or a line end; blanks after them and
      // one delimiter go with them.
      {"pendenza  , 300    , 4", "cnn", {"pendenza  ", "300", "4"}, true},
      {"orologio,    18              6             40 \r\n[x]", "chhhc",
       {"orologio", "18", "6", "40", "[x]"}, true},
      {"+12,-0034,0,-0", "nnnn", {"12", "-34", "0", "0"}, true},
      {"12 ,abc", "nc", {"12", "abc"}, true},
      {"12  \r\n,x", "ncc", {"12", "", "x"}, true},
      {"1 2,3\r\n", "nnn", {"1", "2", "3"}, true},
      // A number read at a line end goes on to the next line.
      {"5,\r\n\r\n \t 7", "nn", {"5", "7"}, true},
      {"5\r\n\r\n7", "nn", {"5", "7"}, true},
      // The widths' limits.
      {"2147483647,-2147483648", "nn", {"2147483647", "-2147483648"}, true},
      {"32767,-32768,0,255", "hhbb", {"32767", "-32768", "0", "255"}, true},
      // Bytes are bytes: Windows-1252 text passes unchanged.
      {"citt\xE0,\xC8", "cc", {"citt\xE0", "\xC8"}, true},
      // What is left after a field.
      {"a,\r\n", "c", {"a"}, false},
      {"7 ,", "n", {"7"}, true},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.testo);
    LettoreCampi lettore("f.txt", caso.testo);
    std::vector<std::string> letti;
    for (const char* t = caso.letture; *t != '\0'; ++t) letti.push_back(leggi(lettore, *t));
    EXPECT_EQ(letti, caso.attesi);
    EXPECT_EQ(lettore.fine(), caso.fine_dopo);
  }
}

TEST(LettoreCampi, UnreadableValuesAndReadsAtTheEndFail) {
  struct Guasto {
    const char* testo;
    const char* letture;  // the last one fails
  };
  const Guasto guasti[] = {
      {"", "c"},
      {"", "n"},
      {"abc", "cc"},
      {"a\r\n", "cc"},
      {"  \r\n \t\r\n", "n"},  // only blanks and line ends left
      {"abc", "n"},
      {"1.5", "n"},
      {"12x", "n"},
      {"1e3", "n"},
      {"\"12\"", "n"},
      {",5", "n"},  // an empty field
      {"+", "n"},
      {"-", "n"},
      {"--5", "n"},
      {"2147483648", "n"},
      {"-2147483649", "n"},
      {"99999999999999999999999", "n"},
      {"32768", "h"},
      {"-32769", "h"},
      {"256", "b"},
      {"-1", "b"},
  };
  for (const Guasto& guasto : guasti) {
    SCOPED_TRACE(guasto.testo);
    LettoreCampi lettore("f.txt", guasto.testo);
    const std::string letture = guasto.letture;
    for (std::size_t i = 0; i + 1 < letture.size(); ++i) leggi(lettore, letture[i]);
    EXPECT_THROW(leggi(lettore, letture.back()), ErroreEsecuzione);
  }
}

TEST(LettoreCampi, CountsTheLineOfTheLastFieldRead) {
  LettoreCampi lettore("Brisca_Nolte_linea.txt", "a\r\nb\nc\rd,\r\n\r\n  7\r\n\"x\r\ny\"\r\nz,1.5");
  EXPECT_EQ(lettore.riga(), 0);
  std::vector<std::int32_t> righe;
  for (int i = 0; i < 4; ++i) {
    lettore.leggi_campo();
    righe.push_back(lettore.riga());
  }
  lettore.leggi_intero();  // "7", two lines further down
  righe.push_back(lettore.riga());
  lettore.leggi_campo();  // the quoted field opens on line 7 and spans two
  righe.push_back(lettore.riga());
  lettore.leggi_campo();
  righe.push_back(lettore.riga());
  EXPECT_EQ(righe, (std::vector<std::int32_t>{1, 2, 3, 4, 6, 7, 9}));

  try {
    lettore.leggi_intero();
    FAIL() << "1.5 read as a whole number";
  } catch (const ErroreEsecuzione& errore) {
    EXPECT_EQ(std::string(errore.what()).rfind("Brisca_Nolte_linea.txt:9: ", 0), 0u)
        << errore.what();
  }
}

TEST(LettoreCampi, KeywordTests) {
  EXPECT_TRUE(contiene("progressiva chilometrica uno", "uno"));
  EXPECT_FALSE(contiene("Progressiva chilometrica uno", "progressiva"));
  EXPECT_TRUE(contiene_senza_caso("LUNGHEZZA Percorso", "lunghezza"));
  EXPECT_TRUE(contiene_senza_caso("[Generale]   ", "[generale]"));
  EXPECT_TRUE(contiene_senza_caso("velocita' limite ", "VELOCIT"));
  EXPECT_FALSE(contiene_senza_caso("curvad2", "s"));
  // Only ASCII letters fold: A-grave and a-grave are different bytes.
  EXPECT_FALSE(contiene_senza_caso("citt\xC0", "citt\xE0"));
  EXPECT_TRUE(contiene_senza_caso("CITT\xE0", "citt\xE0"));
  EXPECT_FALSE(contiene_senza_caso("", "a"));
}

}  // namespace
}  // namespace gs

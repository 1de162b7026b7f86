#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documenti_test.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "base/documento_testo.h"

namespace gs {
namespace {

using Scrittore = std::function<void(const IdentitaScenario&, const Cartella&)>;

struct Documento {
  const char* nome_file;
  Scrittore scrivi;
  std::size_t righe;
  std::size_t byte;
};

class DocumentoAutista : public ::testing::TestWithParam<Documento> {};

TEST_P(DocumentoAutista, HasItsLinesAndBytesAllEndedByCrLf) {
  test::CartellaTemporanea dir;
  GetParam().scrivi(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file(GetParam().nome_file));
  EXPECT_TRUE(doc.tutte_crlf);
  EXPECT_EQ(doc.righe.size(), GetParam().righe);
  EXPECT_EQ(doc.byte.size(), GetParam().byte);
  EXPECT_EQ(doc.byte.find(kFineLista), std::string::npos);
}

TEST_P(DocumentoAutista, ReplacesAnOlderLongerFile) {
  test::CartellaTemporanea dir;
  const std::string percorso = dir.file(GetParam().nome_file);
  test::scrivi_byte(percorso, std::string(20000, '#'));
  GetParam().scrivi(identita_incorporata(), dir.cartella());
  EXPECT_EQ(test::leggi_byte(percorso).size(), GetParam().byte);
}

const std::size_t kByteNote = 248 + 2 * kAutoreNote.size() + kEmailAutoreNote.size();

INSTANTIATE_TEST_SUITE_P(
    TreDocumenti, DocumentoAutista,
    ::testing::Values(Documento{"Brisca_Nolte_52806_note.txt", dati_note, 8, kByteNote},
                      Documento{"Brisca_Nolte_52806_rallentamenti.txt", dati_rallentamenti, 41,
                                2860},
                      Documento{"Brisca_Nolte_52806_scheda_treno.txt", dati_scheda, 48, 3750}),
    [](const ::testing::TestParamInfo<Documento>& info) {
      const std::string nome = info.param.nome_file;
      return nome.substr(19, nome.find('.') - 19);
    });

std::vector<std::size_t> lunghezze(const std::vector<std::string>& righe) {
  std::vector<std::size_t> risultato;
  for (const auto& riga : righe) risultato.push_back(riga.size());
  return risultato;
}

TEST(SchedaTreno, EveryLineHasItsLengthBlanksIncluded) {
  test::CartellaTemporanea dir;
  dati_scheda(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_52806_scheda_treno.txt"));
  const std::vector<std::size_t> attese = {
      1,  1,  83, 84, 84, 84, 84, 57, 64, 57, 59, 0,  82, 83, 83, 83,
      83, 83, 83, 83, 83, 83, 83, 83, 84, 83, 83, 83, 83, 83, 83, 83,
      83, 84, 83, 84, 83, 83, 83, 83, 84, 83, 84, 84, 85, 84, 83, 83};
  EXPECT_EQ(lunghezze(doc.righe), attese);
  EXPECT_EQ(doc.riga(1), "8");
  EXPECT_EQ(doc.riga(2), " ");
  EXPECT_EQ(doc.riga(16), doc.riga(48));
  EXPECT_EQ(doc.riga(9).substr(57), "       ");
  EXPECT_EQ(doc.riga(45).substr(82), "|  ");
  EXPECT_EQ(doc.riga(17), " |  30 |     |    0     |  30 | FIRENZE S.M.N.             |"
                          "          18.05 |     |");
}

TEST(SchedaTreno, TableBarsStandInTheirColumns) {
  test::CartellaTemporanea dir;
  dati_scheda(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_52806_scheda_treno.txt"));
  for (std::size_t n = 14; n <= 48; ++n) {
    for (std::size_t colonna : {2, 8, 14, 25, 31, 60, 77, 83}) {
      EXPECT_EQ(doc.riga(n).at(colonna - 1), '|') << "line " << n << " column " << colonna;
    }
  }
}

TEST(OrdineRallentamento, HoldsNoSlowdownAndTheKeyInOrderABDC) {
  test::CartellaTemporanea dir;
  dati_rallentamenti(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_52806_rallentamenti.txt"));
  std::vector<std::size_t> attese = {0, 42, 50, 81, 21, 0, 80, 81};
  attese.insert(attese.end(), 26, 82);
  attese.insert(attese.end(), {0, 37, 63, 42, 49, 58, 42});
  EXPECT_EQ(lunghezze(doc.righe), attese);
  for (std::size_t n = 15; n <= 33; ++n) EXPECT_EQ(doc.riga(n), doc.riga(15)) << n;
  EXPECT_EQ(doc.riga(15).find_first_not_of(" |"), std::string::npos);
  EXPECT_EQ(doc.riga(12), doc.riga(34));
  EXPECT_EQ(doc.riga(13).substr(6, 20), "nessuna prescrizione");
  EXPECT_EQ(doc.riga(13).substr(72, 3), "---");
  EXPECT_EQ(doc.riga(7).find("treno 52806 "), 31u);
  std::string chiave;
  for (std::size_t n = 37; n <= 40; ++n) chiave += doc.riga(n)[1];
  EXPECT_EQ(chiave, "ABDC");
}

TEST(Note, HoldTheAuthorTheWindows1252LetterAndTheTrailingBlank) {
  test::CartellaTemporanea dir;
  dati_note(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_52806_note.txt"));
  ASSERT_EQ(doc.righe.size(), 8u);
  EXPECT_EQ(doc.riga(1), "Autore genera_scenario.");
  EXPECT_EQ(doc.riga(2), "e-mail genera_scenario@example.org");
  EXPECT_EQ(doc.riga(3), "");
  EXPECT_EQ(doc.riga(4).size(), 46u);
  EXPECT_EQ(doc.riga(5), "");
  EXPECT_EQ(doc.riga(6).size(), 95u);
  EXPECT_EQ(doc.riga(6).substr(29, 3), "\xE8 d");
  EXPECT_EQ(doc.riga(6).find_first_of("\x80\x81\xC3"), std::string::npos);
  EXPECT_EQ(doc.riga(7).size(), 74u);
  EXPECT_EQ(doc.riga(8), "genera_scenario. ");
}

TEST(Note, LengthFollowsTheAuthor) {
  const std::string testo = testo_documento(righe_note("Ada", "a@example.org"));
  EXPECT_EQ(testo.size(), 248u + 2 * 3 + 13);
}

}  // namespace
}  // namespace gs

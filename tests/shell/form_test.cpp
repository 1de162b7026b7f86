#include "shell/form.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "piattaforma_finta.h"

namespace gs {
namespace {

// The five text files, in the order the run sequence writes them.
const std::vector<std::string> kFileDiTesto = {
    "Brisca_Nolte_linea.txt",
    "Brisca_Nolte_52806-.txt",
    "Brisca_Nolte_52806_note.txt",
    "Brisca_Nolte_52806_rallentamenti.txt",
    "Brisca_Nolte_52806_scheda_treno.txt",
};

TEST(FormLoad, ShowsTheWindowBeforeWritingAndEndsWithStatusZero) {
  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma(dir.cartella());
  EXPECT_EQ(esegui_genera_scenario(piattaforma), 0);
  EXPECT_EQ(piattaforma.eventi, (std::vector<std::string>{"mostra Attendere", "ridisegna"}));
  EXPECT_TRUE(piattaforma.messaggi.empty());
  EXPECT_TRUE(piattaforma.guasti.empty());
}

TEST(FormLoad, SetsTheIdentityOfTheEmbeddedScenario) {
  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma(dir.cartella());
  auto form = std::make_unique<Form1>();
  Form_Load(*form, piattaforma);
  EXPECT_EQ(form->identita.codice_scenario, "Brisca_Nolte");
  EXPECT_EQ(form->identita.numero_treno, "52806");
}

TEST(FormLoad, TwoRunsLeaveIdenticalDocuments) {
  test::CartellaTemporanea prima, seconda;
  test::PiattaformaFinta uno(prima.cartella()), due(seconda.cartella());
  ASSERT_EQ(esegui_genera_scenario(uno), 0);
  ASSERT_EQ(esegui_genera_scenario(due), 0);
  ASSERT_EQ(esegui_genera_scenario(due), 0);
  for (const auto& nome : {"Brisca_Nolte_52806_note.txt", "Brisca_Nolte_52806_rallentamenti.txt",
                           "Brisca_Nolte_52806_scheda_treno.txt"}) {
    EXPECT_EQ(test::leggi_byte(prima.file(nome)), test::leggi_byte(seconda.file(nome))) << nome;
  }
}

// A directory standing at one text file's path makes that writer fail: the
// run stops there with status 2, the earlier files stay, the later are absent.
class WriterCheFallisce : public ::testing::TestWithParam<std::size_t> {};

TEST_P(WriterCheFallisce, StopsTheRunThere) {
  const std::size_t bloccato = GetParam();
  test::CartellaTemporanea dir;
  std::filesystem::create_directory(dir.file(kFileDiTesto[bloccato]));
  test::PiattaformaFinta piattaforma(dir.cartella());

  EXPECT_EQ(esegui_genera_scenario(piattaforma), 2);
  ASSERT_EQ(piattaforma.guasti.size(), 1u);
  EXPECT_NE(piattaforma.guasti[0].find(dir.file(kFileDiTesto[bloccato])), std::string::npos);
  for (std::size_t i = 0; i < kFileDiTesto.size(); ++i) {
    const std::string percorso = dir.file(kFileDiTesto[i]);
    if (i < bloccato) {
      EXPECT_TRUE(std::filesystem::is_regular_file(percorso)) << percorso;
    } else if (i > bloccato) {
      EXPECT_FALSE(test::esiste(percorso)) << percorso;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OgniScrittore, WriterCheFallisce, ::testing::Range<std::size_t>(0, 5));

}  // namespace
}  // namespace gs

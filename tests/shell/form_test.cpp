#include "shell/form.h"

#include <filesystem>
#include <map>
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

// The eight files of a run, the compiled ones last.
const std::vector<std::string> kFileDellaCorsa = {
    kFileDiTesto[0], kFileDiTesto[1], kFileDiTesto[2], kFileDiTesto[3], kFileDiTesto[4],
    "Brisca_Nolte_linea.dat", "Brisca_Nolte_52806.sim", "Brisca_Nolte_52806.dat"};

std::map<std::string, std::string> contenuto(const std::filesystem::path& cartella) {
  std::map<std::string, std::string> voci;
  for (const auto& voce : std::filesystem::directory_iterator(cartella)) {
    const std::string nome = voce.path().filename().string();
    voci[nome] = voce.is_directory() ? "(directory)" : test::leggi_byte(voce.path().string());
  }
  return voci;
}

// A directory standing at one of the run's names makes the run fail with
// status 2 naming it; the files of an earlier run stay byte for byte, and
// nothing of this run is left behind.
class NomeBloccato : public ::testing::TestWithParam<std::size_t> {};

TEST_P(NomeBloccato, LeavesTheEarlierFilesAsTheyWere) {
  const std::string& bloccato = kFileDellaCorsa[GetParam()];
  test::CartellaTemporanea dir;
  for (const auto& nome : kFileDellaCorsa) {
    if (nome != bloccato) test::scrivi_byte(dir.file(nome), "earlier " + nome);
  }
  std::filesystem::create_directory(dir.file(bloccato));
  const auto prima = contenuto(dir.percorso());
  test::PiattaformaFinta piattaforma(dir.cartella());

  EXPECT_EQ(esegui_genera_scenario(piattaforma), 2);
  ASSERT_EQ(piattaforma.guasti.size(), 1u);
  EXPECT_NE(piattaforma.guasti[0].find("'" + dir.file(bloccato) + "'"), std::string::npos)
      << piattaforma.guasti[0];
  EXPECT_EQ(contenuto(dir.percorso()), prima);
}

INSTANTIATE_TEST_SUITE_P(OgniNome, NomeBloccato, ::testing::Range<std::size_t>(0, 8));

// A good run replaces every file of an earlier one, longer or shorter, and
// takes the description files away.
TEST(FormLoad, ARunReplacesEveryFileOfAnEarlierOne) {
  test::CartellaTemporanea dir, pulita;
  for (const auto& nome : kFileDellaCorsa) {
    test::scrivi_byte(dir.file(nome), std::string(2000000, 'x'));
  }
  test::PiattaformaFinta piattaforma(dir.cartella()), altra(pulita.cartella());
  ASSERT_EQ(esegui_genera_scenario(piattaforma), 0);
  ASSERT_EQ(esegui_genera_scenario(altra), 0);
  EXPECT_EQ(contenuto(dir.percorso()), contenuto(pulita.percorso()));
  EXPECT_FALSE(test::esiste(dir.file(kFileDiTesto[0])));
  EXPECT_FALSE(test::esiste(dir.file(kFileDiTesto[1])));
}

}  // namespace
}  // namespace gs

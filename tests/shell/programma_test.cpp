// The built program itself, run from a copy in a scratch directory: it writes
// beside its executable, prints "Attendere" and reports how it ended.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "programmi.h"

namespace gs {
namespace {

TEST(Programma, WritesBesideItsExecutableWhateverTheWorkingDirectory) {
  test::CartellaTemporanea dir;
  const test::EsitoProgramma esito = test::esegui_genera_scenario_in(dir);
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.uscita, "Attendere\n");
  EXPECT_EQ(esito.errori, "");
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806_rallentamenti.txt")).size(), 2860u);
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806_scheda_treno.txt")).size(), 3750u);
  EXPECT_TRUE(test::esiste(dir.file("Brisca_Nolte_52806_note.txt")));
}

TEST(Programma, AFailingWriterEndsWithStatusTwoAndNamesThePath) {
  test::CartellaTemporanea dir;
  std::filesystem::create_directory(dir.file("Brisca_Nolte_52806_note.txt"));
  const test::EsitoProgramma esito = test::esegui_genera_scenario_in(dir);
  EXPECT_EQ(esito.stato, 2);
  EXPECT_NE(esito.errori.find(dir.file("Brisca_Nolte_52806_note.txt")), std::string::npos)
      << esito.errori;
  EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_52806_rallentamenti.txt")));
}

}  // namespace
}  // namespace gs

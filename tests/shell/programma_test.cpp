// The built program itself, run from a copy in a scratch directory: it writes
// beside its executable, prints "Attendere" and reports how it ended.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "aiuti_test.h"

namespace gs {
namespace {

struct Esito {
  int stato = -1;
  std::string uscita;
  std::string errori;
};

Esito esegui_copia(const test::CartellaTemporanea& dir) {
  const auto eseguibile = dir.percorso() / "genera_scenario";
  std::filesystem::copy_file(GENERA_SCENARIO_EXE, eseguibile,
                             std::filesystem::copy_options::overwrite_existing);
  const std::string comando = "cd / && '" + eseguibile.string() + "' >'" +
                              dir.file("stdout.log") + "' 2>'" + dir.file("stderr.log") + "'";
  const int grezzo = std::system(comando.c_str());
  Esito esito;
  esito.stato = WIFEXITED(grezzo) ? WEXITSTATUS(grezzo) : -1;
  esito.uscita = test::leggi_byte(dir.file("stdout.log"));
  esito.errori = test::leggi_byte(dir.file("stderr.log"));
  return esito;
}

TEST(Programma, WritesBesideItsExecutableWhateverTheWorkingDirectory) {
  test::CartellaTemporanea dir;
  const Esito esito = esegui_copia(dir);
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
  const Esito esito = esegui_copia(dir);
  EXPECT_EQ(esito.stato, 2);
  EXPECT_NE(esito.errori.find(dir.file("Brisca_Nolte_52806_note.txt")), std::string::npos)
      << esito.errori;
  EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_52806_rallentamenti.txt")));
}

}  // namespace
}  // namespace gs

#include "base/nomi_file.h"

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "base/documento_testo.h"
#include "base/cartella.h"

namespace gs {
namespace {

TEST(NomiFile, TheEightFilesOfTheEmbeddedScenario) {
  const IdentitaScenario id = identita_incorporata();
  EXPECT_EQ(id.codice_scenario, "Brisca_Nolte");
  EXPECT_EQ(id.numero_treno, "52806");
  EXPECT_EQ(nome_descrizione_linea(id), "Brisca_Nolte_linea.txt");
  EXPECT_EQ(nome_descrizione_treno(id), "Brisca_Nolte_52806-.txt");
  EXPECT_EQ(nome_note(id), "Brisca_Nolte_52806_note.txt");
  EXPECT_EQ(nome_rallentamenti(id), "Brisca_Nolte_52806_rallentamenti.txt");
  EXPECT_EQ(nome_scheda_treno(id), "Brisca_Nolte_52806_scheda_treno.txt");
  EXPECT_EQ(nome_profilo_linea(id), "Brisca_Nolte_linea.dat");
  EXPECT_EQ(nome_file_scenario(id), "Brisca_Nolte_52806.sim");
  EXPECT_EQ(nome_file_percorso(id), "Brisca_Nolte_52806.dat");
}

TEST(NomiFile, NamesFollowTheIdentity) {
  const IdentitaScenario id{"Linea", "7"};
  EXPECT_EQ(nome_descrizione_treno(id), "Linea_7-.txt");
  EXPECT_EQ(nome_file_percorso(id), "Linea_7.dat");
}

TEST(Cartella, JoinsWithOneSeparatorEvenAfterATrailingOne) {
  EXPECT_EQ((Cartella{"/dir", '/'}.file("a.txt")), "/dir/a.txt");
  EXPECT_EQ((Cartella{"/dir/", '/'}.file("a.txt")), "/dir//a.txt");
  EXPECT_EQ((Cartella{"C:\\", '\\'}.file("a.txt")), "C:\\\\a.txt");
}

TEST(Cartella, ADoubledSeparatorStillLandsInTheDirectory) {
  test::CartellaTemporanea dir;
  const Cartella con_barra{dir.percorso().string() + "/", '/'};
  scrivi_documento(lista_righe({"x"}), con_barra.file("doppio.txt"));
  EXPECT_EQ(test::leggi_byte(dir.file("doppio.txt")), "x\r\n");
}

}  // namespace
}  // namespace gs

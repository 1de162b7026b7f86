// The embedded scenario from start to end: the run leaves the three documents
// and the three compiled files, with the stamps and race codes in place.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "compiler/memorizza_percorso.h"
#include "piattaforma_finta.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "shell/form.h"

namespace gs {
namespace {

std::map<std::string, std::uintmax_t> contenuto(const test::CartellaTemporanea& dir) {
  std::map<std::string, std::uintmax_t> file;
  for (const auto& voce : std::filesystem::directory_iterator(dir.percorso())) {
    file[voce.path().filename().string()] = voce.file_size();
  }
  return file;
}

std::int32_t intero_le(const std::string& byte, std::size_t inizio, std::size_t larghezza) {
  std::uint32_t valore = 0;
  for (std::size_t i = 0; i < larghezza; ++i) {
    valore |= std::uint32_t{static_cast<unsigned char>(byte.at(inizio + i))} << (8 * i);
  }
  return static_cast<std::int32_t>(valore);
}

TEST(CompilazioneCompleta, TheEmbeddedRunLeavesTheDocumentsAndTheCompiledFiles) {
  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma(dir.cartella());
  ASSERT_EQ(esegui_genera_scenario(piattaforma), 0);
  EXPECT_TRUE(piattaforma.messaggi.empty());
  EXPECT_TRUE(piattaforma.guasti.empty());
  EXPECT_TRUE(piattaforma.errori_scenario.empty());

  // Profile: 89001 points a column, 2 whole, 88997 real, 2 empty.
  // Scenario: 87 records of 34 bytes plus 235 bytes of names.
  const std::map<std::string, std::uintmax_t> attesi = {
      {"Brisca_Nolte_52806_note.txt", 305},
      {"Brisca_Nolte_52806_rallentamenti.txt", 2860},
      {"Brisca_Nolte_52806_scheda_treno.txt", 3750},
      {"Brisca_Nolte_linea.dat", 2 * (10 * 88997 + 12)},
      {"Brisca_Nolte_52806.sim", 2958 + 235},
      {"Brisca_Nolte_52806.dat", 26715},
  };
  EXPECT_EQ(contenuto(dir), attesi);

  const std::string percorso = test::leggi_byte(dir.file("Brisca_Nolte_52806.dat"));
  EXPECT_EQ(intero_le(percorso, 16, 2), 5121);
  EXPECT_EQ(percorso.substr(16, 2), "\x01\x14");
  EXPECT_EQ(intero_le(percorso, 18, 2), 2494);

  // Records 85 (46 bytes, "Brisca_Nolte") and 86 (39 bytes, "52806") close the file.
  const std::string scenario = test::leggi_byte(dir.file("Brisca_Nolte_52806.sim"));
  ASSERT_GE(scenario.size(), 85u);
  const std::size_t testata = scenario.size() - 85;
  EXPECT_EQ(scenario.substr(testata + 14, 14), std::string("\x0C\x00", 2) + "Brisca_Nolte");
  EXPECT_EQ(intero_le(scenario, testata + 28, 2), 610);
  EXPECT_EQ(intero_le(scenario, testata + 42, 4), 36124);
  EXPECT_EQ(scenario.substr(testata + 46 + 14, 7), std::string("\x05\x00", 2) + "52806");
}

// A scenario error left after reading: the files are still written, then the
// error is reported and the run ends with status 1.
TEST(CompilazioneCompleta, AScenarioErrorStillWritesTheFilesThenIsReported) {
  test::CartellaTemporanea dir;
  test::PiattaformaFinta piattaforma(dir.cartella());
  const IdentitaScenario id = identita_incorporata();
  dati_linea(id, dir.cartella());
  dati_treno(id, dir.cartella());
  // A second signal on the cell of the first one is refused with error 16.
  const std::string treno = dir.file(nome_descrizione_treno(id));
  std::string testo = test::leggi_byte(treno);
  testo.insert(testo.find("[fine]"), "segnale,   1000, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0\r\n");
  test::scrivi_byte(treno, testo);

  auto form = std::make_unique<Form1>();
  const std::int32_t j = 1;
  const EsitoCompilazione esito = memorizza_percorso(j, id, dir.cartella(), form->tabelle);
  EXPECT_EQ(stato_scenario(esito, piattaforma), 1);

  ASSERT_EQ(piattaforma.errori_scenario.size(), 1u);
  EXPECT_NE(piattaforma.errori_scenario[0].find("error 16"), std::string::npos);
  EXPECT_NE(piattaforma.errori_scenario[0].find("1000 m"), std::string::npos);
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806.dat")).size(), 26715u);
  EXPECT_TRUE(test::esiste(dir.file("Brisca_Nolte_52806.sim")));
  EXPECT_TRUE(test::esiste(dir.file("Brisca_Nolte_linea.dat")));
}

}  // namespace
}  // namespace gs

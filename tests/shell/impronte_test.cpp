// The eight files of the embedded run, pinned whole: a changed byte anywhere
// fails here with the file named. The two description files are deleted by
// the run, so they are taken from the writers the run calls first.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "base/nomi_file.h"
#include "programmi.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "sha256.h"

namespace gs {
namespace {

struct Impronta {
  const char* file;
  const char* sha256;
};

const std::vector<Impronta> kImpronte = {
    {"Brisca_Nolte_linea.txt", "2642322715ef6c6bc394d40655c493f291e46ba6c7faf7118b0661bfcb01fe30"},
    {"Brisca_Nolte_52806-.txt", "d2ee3be7ec9f5ed85d2deeaaecc3bb750179bc7226c96c1322a207af7927407f"},
    {"Brisca_Nolte_52806_note.txt",
     "9797a57627edc5df4f73afe2c6359f2f36f0674d25f10ee9a832149755bd4d68"},
    {"Brisca_Nolte_52806_rallentamenti.txt",
     "3e9e3148f6bd7bbe6256d1b1123347ee6a996c900f212db7b404088836084038"},
    {"Brisca_Nolte_52806_scheda_treno.txt",
     "5152f2d6acdc2f563eaf99f69d892d473dd0da5a8e0658619d03e910d997e8d0"},
    {"Brisca_Nolte_linea.dat", "67f0c0bf115f105d1f9130a8cdcb9c3560ec5cd238528794aeade554575483cc"},
    {"Brisca_Nolte_52806.sim", "46d0791c03791266696e36f9ae4c993c1f064172da73faf2cc043316bca72572"},
    {"Brisca_Nolte_52806.dat", "79369520eafa1a81074c0346ad4916e098e6b78b591006e2be3e1db72071a5a5"},
};

// The run deletes its two description files once it has read them.
bool descrizione_di_una_corsa(const std::string& nome) {
  const IdentitaScenario id = identita_incorporata();
  return nome == nome_descrizione_linea(id) || nome == nome_descrizione_treno(id);
}

// The digest itself, on the standard's examples: one block, a message whose
// padding spills into a second block, and a million bytes.
TEST(Impronte, TheDigestOfKnownTexts) {
  EXPECT_EQ(test::sha256_hex(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(test::sha256_hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(test::sha256_hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(test::sha256_hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Impronte, TheEmbeddedRunWritesEveryFileByteForByte) {
  test::CartellaTemporanea run;
  const test::EsitoProgramma esito = test::esegui_genera_scenario_in(run);
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  const IdentitaScenario id = identita_incorporata();
  test::CartellaTemporanea descrizioni;
  dati_linea(id, descrizioni.cartella());
  dati_treno(id, descrizioni.cartella());

  for (const Impronta& attesa : kImpronte) {
    const std::string nome = attesa.file;
    const std::string percorso = (descrizione_di_una_corsa(nome) ? descrizioni : run).file(nome);
    ASSERT_TRUE(test::esiste(percorso)) << nome;
    EXPECT_EQ(test::sha256_hex(test::leggi_byte(percorso)), attesa.sha256) << nome;
  }
}

// Runs started together in one directory take turns: each ends cleanly and
// every file left on disk is whole.
TEST(Impronte, RunsStartedTogetherInOneDirectoryLeaveAGoodSet) {
  test::CartellaTemporanea run;
  const std::string programma = test::copia_programma(GENERA_SCENARIO_EXE, run.percorso());
  const test::CartellaTemporanea registro;
  const std::string stati = registro.file("stati");
  const test::EsitoProgramma esito = test::esegui_comando(
      "for i in 1 2 3 4 5 6 7 8 9 10 11 12; do ( " + test::tra_apici(programma) +
          " >/dev/null 2>&1; echo $? >>" + test::tra_apici(stati) + " ) & done; wait",
      registro);
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  std::string tutti_zero;
  for (int i = 0; i < 12; ++i) tutti_zero += "0\n";
  EXPECT_EQ(test::leggi_byte(stati), tutti_zero);
  for (const Impronta& attesa : kImpronte) {
    const std::string percorso = run.file(attesa.file);
    const bool descrizione = descrizione_di_una_corsa(attesa.file);
    EXPECT_EQ(test::esiste(percorso), !descrizione) << attesa.file;
    if (!descrizione) {
      EXPECT_EQ(test::sha256_hex(test::leggi_byte(percorso)), attesa.sha256) << attesa.file;
    }
  }
}

}  // namespace
}  // namespace gs

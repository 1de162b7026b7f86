// How the programs replace their files: a link at an output name is replaced,
// never followed; a FIFO at a name is no trap; a disk that fills up during a
// recompile leaves the earlier set whole and no temporary behind.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "programmi.h"

namespace gs {
namespace {

namespace fs = std::filesystem;
using test::tra_apici;

std::set<std::string> nomi(const fs::path& cartella) {
  std::set<std::string> trovati;
  for (const auto& voce : fs::directory_iterator(cartella)) {
    trovati.insert(voce.path().filename().string());
  }
  return trovati;
}

test::EsitoProgramma strumento(const std::string& argomenti) {
  const test::CartellaTemporanea registro;
  return test::esegui_comando(tra_apici(SCENARIO_TOOL_EXE) + " " + argomenti, registro);
}

// Links at every name a program writes, live ones to files outside the folder
// and dangling ones to names outside it: the targets keep their bytes, no
// file appears outside, and each name ends as a regular file of the program.
TEST(Sostituzione, LinksAtOutputNamesAreReplacedNeverFollowed) {
  struct Caso {
    const char* nome;
    std::vector<std::string> file;  // the names the command writes
    std::string (*comando)(const test::CartellaTemporanea& dir);
  };
  const auto genera = [](const test::CartellaTemporanea& dir) {
    return tra_apici(test::copia_programma(GENERA_SCENARIO_EXE, dir.percorso()));
  };
  const auto compila = [](const test::CartellaTemporanea& dir) {
    return tra_apici(SCENARIO_TOOL_EXE) + " compile " + tra_apici(dir.percorso().string());
  };
  const auto disegna = [](const test::CartellaTemporanea& dir) {
    return tra_apici(SCENARIO_TOOL_EXE) + " plot " + tra_apici(dir.percorso().string());
  };
  std::vector<std::string> della_corsa = test::kDocumenti;
  della_corsa.insert(della_corsa.end(), test::kCompilati.begin(), test::kCompilati.end());
  const Caso casi[] = {
      {"genera_scenario", della_corsa, +genera},
      {"compile", test::kCompilati, +compila},
      {"plot", {"Brisca_Nolte_52806.svg"}, +disegna},
  };
  for (const bool pendente : {false, true}) {
    for (const Caso& caso : casi) {
      SCOPED_TRACE(std::string(caso.nome) + (pendente ? ", dangling links" : ", live links"));
      test::CartellaTemporanea dir, fuori, registro;
      if (std::string(caso.nome) != "genera_scenario") {
        ASSERT_EQ(strumento("init " + tra_apici(dir.percorso().string())).stato, 0);
        ASSERT_EQ(strumento("compile " + tra_apici(dir.percorso().string())).stato, 0);
      }
      for (const auto& nome : caso.file) {
        const fs::path bersaglio = fuori.percorso() / ("target of " + nome);
        if (!pendente) test::scrivi_byte(bersaglio.string(), "not yours");
        fs::remove(dir.file(nome));
        fs::create_symlink(bersaglio, dir.file(nome));
      }
      const auto fuori_prima = nomi(fuori.percorso());

      const test::EsitoProgramma esito = test::esegui_comando(caso.comando(dir), registro);
      EXPECT_EQ(esito.stato, 0) << esito.errori;
      EXPECT_EQ(nomi(fuori.percorso()), fuori_prima);
      for (const auto& nome : caso.file) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.file(nome)))) << nome;
        const fs::path bersaglio = fuori.percorso() / ("target of " + nome);
        if (!pendente) {
          EXPECT_EQ(test::leggi_byte(bersaglio.string()), "not yours") << nome;
        }
      }
    }
  }
}

// init counts a link to nowhere as a file that exists: it is the author's.
TEST(Sostituzione, InitLeavesADanglingLinkAlone) {
  test::CartellaTemporanea dir, fuori;
  const fs::path bersaglio = fuori.percorso() / "nowhere";
  fs::create_symlink(bersaglio, dir.file(test::kDescrizioni[0]));
  const test::EsitoProgramma esito = strumento("init " + tra_apici(dir.percorso().string()));
  EXPECT_EQ(esito.stato, 2);
  EXPECT_NE(esito.errori.find(test::kDescrizioni[0]), std::string::npos) << esito.errori;
  EXPECT_TRUE(fs::is_symlink(dir.file(test::kDescrizioni[0])));
  EXPECT_FALSE(fs::exists(bersaglio));
  EXPECT_EQ(nomi(dir.percorso()), std::set<std::string>{test::kDescrizioni[0]});
}

// A FIFO where the line description file goes: the run writes its own files
// apart, so it neither waits on the FIFO nor leaves it there.
TEST(Sostituzione, AFifoBesideTheProgramIsNoTrap) {
  test::CartellaTemporanea dir, registro;
  const std::string programma = test::copia_programma(GENERA_SCENARIO_EXE, dir.percorso());
  ASSERT_EQ(::mkfifo(dir.file(test::kDescrizioni[0]).c_str(), 0600), 0);
  const test::EsitoProgramma esito =
      test::esegui_comando("timeout 10 " + tra_apici(programma), registro);
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file(test::kDescrizioni[0]))));
}

// A small file system of its own, mounted for the test where the process may
// (as root); removed afterwards.
class DiscoPiccolo {
 public:
  explicit DiscoPiccolo(const std::string& dimensione) {
    montato_ = ::mount("tmpfs", dir_.percorso().c_str(), "tmpfs", 0,
                       ("size=" + dimensione).c_str()) == 0;
  }
  ~DiscoPiccolo() {
    if (montato_) ::umount(dir_.percorso().c_str());
  }
  DiscoPiccolo(const DiscoPiccolo&) = delete;
  DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

  bool montato() const { return montato_; }
  const test::CartellaTemporanea& dir() const { return dir_; }

 private:
  test::CartellaTemporanea dir_;
  bool montato_ = false;
};

std::map<std::string, std::string> byte_di_tutto(const fs::path& cartella) {
  std::map<std::string, std::string> byte;
  for (const auto& voce : fs::directory_iterator(cartella)) {
    byte[voce.path().filename().string()] = test::leggi_byte(voce.path().string());
  }
  return byte;
}

// A short route compiled into a 1 MB disk, then the embedded one (its profile
// alone is 1.8 MB) over it: the disk fills up, the compile fails naming the
// profile file, and the short route's set is there byte for byte, alone.
TEST(Sostituzione, ADiskThatFillsUpLeavesTheEarlierSetWhole) {
  DiscoPiccolo disco("1m");
  if (!disco.montato()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  test::CartellaTemporanea descrizioni;
  const std::string d = tra_apici(descrizioni.percorso().string());
  const std::string uscita = tra_apici(disco.dir().percorso().string());
  ASSERT_EQ(strumento("init " + d).stato, 0);
  const std::string linea = descrizioni.file(test::kDescrizioni[0]);
  const std::string originale = test::leggi_byte(linea);
  std::string breve = originale;
  breve.replace(breve.find("82000"), 5, " 3000");
  test::scrivi_byte(linea, breve);
  // The train now runs past the short route's end: a scenario error, with the
  // files written all the same when asked.
  ASSERT_EQ(strumento("compile " + d + " --out " + uscita + " --write-on-error").stato, 1);
  const auto prima = byte_di_tutto(disco.dir().percorso());
  ASSERT_EQ(prima.size(), 3u);

  test::scrivi_byte(linea, originale);
  const test::EsitoProgramma esito = strumento("compile " + d + " --out " + uscita);
  EXPECT_EQ(esito.stato, 2) << esito.errori;
  EXPECT_NE(esito.errori.find(disco.dir().file(test::kCompilati[0])), std::string::npos)
      << esito.errori;
  EXPECT_EQ(byte_di_tutto(disco.dir().percorso()), prima);
}

// The same for genera_scenario: an earlier run's files, then a disk nearly
// full; the next run fails and leaves the earlier files whole and alone.
TEST(Sostituzione, ARunOnAFullDiskLeavesTheEarlierRunWhole) {
  DiscoPiccolo disco("16m");
  if (!disco.montato()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  const std::string programma = test::copia_programma(GENERA_SCENARIO_EXE, disco.dir().percorso());
  const test::CartellaTemporanea registro;
  ASSERT_EQ(test::esegui_comando(tra_apici(programma), registro).stato, 0);
  // Fill the disk but for about 1 MB, less than a run needs.
  const std::string riempi = disco.dir().file("riempimento");
  test::esegui_comando("dd if=/dev/zero of=" + tra_apici(riempi) + " bs=64k 2>/dev/null; " +
                           "truncate -s -1M " + tra_apici(riempi),
                       registro);
  const auto prima = byte_di_tutto(disco.dir().percorso());

  const test::EsitoProgramma esito = test::esegui_comando(tra_apici(programma), registro);
  EXPECT_EQ(esito.stato, 2) << esito.errori;
  EXPECT_EQ(byte_di_tutto(disco.dir().percorso()), prima);
}

}  // namespace
}  // namespace gs

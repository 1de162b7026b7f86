// Fault injection on the built programs: a program directory or an output
// directory they may not write, a directory standing where a compiled file
// goes, a disk that fills up. Each run stops with status 2 naming the path and
// the reason, and leaves the files of an earlier run exactly as they were.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "aiuti_test.h"
#include "programmi.h"

namespace gs {
namespace {

namespace fs = std::filesystem;

using test::kCompilati;
using test::kDescrizioni;
using test::kDocumenti;

using test::copia_programma;
using test::esegui_comando;
using test::tra_apici;
using Esito = test::EsitoProgramma;

// Read and run by anyone, written by the owner alone; and without the owner's write.
constexpr fs::perms kAperta = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kSolaLettura = kAperta & ~fs::perms::owner_write;  // 0555

std::set<std::string> contenuto(const fs::path& cartella) {
  std::set<std::string> nomi;
  for (const auto& voce : fs::directory_iterator(cartella)) {
    nomi.insert(voce.path().filename().string());
  }
  return nomi;
}

std::map<std::string, std::string> byte_dei_file(const fs::path& cartella,
                                                 const std::vector<std::string>& nomi) {
  std::map<std::string, std::string> byte;
  for (const auto& nome : nomi) byte[nome] = test::leggi_byte((cartella / nome).string());
  return byte;
}

// The prefix that runs a command as an unprivileged user, where this process
// is root and util-linux offers a way; otherwise none (permissions would not
// stop root).
std::optional<std::string> senza_privilegi() {
  if (geteuid() != 0) return std::nullopt;
  if (std::system("command -v setpriv >/dev/null 2>&1") == 0) {
    return "setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
  if (std::system("command -v runuser >/dev/null 2>&1 && id nobody >/dev/null 2>&1") == 0) {
    return "runuser -u nobody --";
  }
  return std::nullopt;
}

// Whether the unprivileged user reaches and may run `eseguibile`: a scratch
// directory under a private temporary directory would stop it.
bool raggiungibile(const std::string& prefisso, const std::string& eseguibile) {
  return std::system((prefisso + " test -x " + tra_apici(eseguibile)).c_str()) == 0;
}

const std::string kPermessoNegato = std::strerror(EACCES);

TEST(Guasti, AProgramDirectoryNobodyMayWriteEndsTheRunWithStatusTwo) {
  const auto prefisso = senza_privilegi();
  if (!prefisso) GTEST_SKIP() << "needs root and setpriv or runuser to drop privileges";
  test::CartellaTemporanea dir, registro;
  const fs::path programma = dir.percorso() / "programma";
  fs::create_directory(programma);
  const std::string eseguibile = copia_programma(GENERA_SCENARIO_EXE, programma);
  fs::permissions(programma, kSolaLettura);
  if (!raggiungibile(*prefisso, eseguibile)) {
    GTEST_SKIP() << "the unprivileged user cannot reach " << eseguibile;
  }

  const Esito esito = esegui_comando(*prefisso + " " + tra_apici(eseguibile), registro);
  EXPECT_EQ(esito.stato, 2) << esito.errori;
  EXPECT_EQ(esito.uscita, "Attendere\n");
  // Nothing can be written there, not even the run's working directory.
  EXPECT_NE(esito.errori.find(tra_apici(programma.string())), std::string::npos) << esito.errori;
  EXPECT_NE(esito.errori.find(kPermessoNegato), std::string::npos) << esito.errori;
  EXPECT_EQ(contenuto(programma), std::set<std::string>{"genera_scenario"});
}

// A directory where the last compiled file goes, beside an earlier run's files:
// the program names it, and the earlier files stay as they were.
TEST(Guasti, ADirectoryAtACompiledFilesPathLeavesTheEarlierRun) {
  test::CartellaTemporanea dir, registro;
  const std::string eseguibile = copia_programma(GENERA_SCENARIO_EXE, dir.percorso());
  ASSERT_EQ(esegui_comando(tra_apici(eseguibile), registro).stato, 0);
  const std::string bloccato = dir.file(kCompilati.back());
  fs::remove(bloccato);
  fs::create_directory(bloccato);
  std::vector<std::string> rimasti = kDocumenti;
  rimasti.insert(rimasti.end(), kCompilati.begin(), kCompilati.end() - 1);
  const auto prima = byte_dei_file(dir.percorso(), rimasti);

  const Esito esito = esegui_comando(tra_apici(eseguibile), registro);
  EXPECT_EQ(esito.stato, 2) << esito.errori;
  EXPECT_NE(esito.errori.find(tra_apici(bloccato)), std::string::npos) << esito.errori;
  EXPECT_NE(esito.errori.find(std::strerror(EISDIR)), std::string::npos) << esito.errori;
  EXPECT_EQ(byte_dei_file(dir.percorso(), rimasti), prima);
  std::set<std::string> attesi(rimasti.begin(), rimasti.end());
  attesi.insert({"genera_scenario", kCompilati.back()});
  EXPECT_EQ(contenuto(dir.percorso()), attesi);
}

// Description files of the embedded scenario in `dir`, from scenario_tool init.
void prepara_descrizioni(const test::CartellaTemporanea& dir,
                         const test::CartellaTemporanea& registro) {
  const Esito init = esegui_comando(
      tra_apici(SCENARIO_TOOL_EXE) + " init " + tra_apici(dir.percorso().string()), registro);
  ASSERT_EQ(init.stato, 0) << init.errori;
  fs::permissions(dir.percorso(), kAperta);
}

std::string compila_in(const std::string& eseguibile, const test::CartellaTemporanea& descrizioni,
                       const std::string& uscita) {
  return tra_apici(eseguibile) + " compile " + tra_apici(descrizioni.percorso().string()) +
         " --out " + tra_apici(uscita);
}

TEST(Guasti, ScenarioToolCompileOutWhereNobodyMayWrite) {
  const auto prefisso = senza_privilegi();
  if (!prefisso) GTEST_SKIP() << "needs root and setpriv or runuser to drop privileges";
  test::CartellaTemporanea descrizioni, chiusa, registro;
  ASSERT_NO_FATAL_FAILURE(prepara_descrizioni(descrizioni, registro));
  const auto originali = byte_dei_file(descrizioni.percorso(), kDescrizioni);
  const std::string eseguibile = copia_programma(SCENARIO_TOOL_EXE, chiusa.percorso());
  fs::permissions(chiusa.percorso(), kSolaLettura);
  if (!raggiungibile(*prefisso, eseguibile)) {
    GTEST_SKIP() << "the unprivileged user cannot reach " << eseguibile;
  }

  struct Caso {
    const char* nome;
    std::string uscita;    // --out
    std::string nominato;  // the path the report must name
  };
  const std::string cartella = chiusa.percorso().string();
  const Caso casi[] = {
      {"an existing directory", cartella, cartella},
      {"a directory to create", chiusa.file("nuova"), chiusa.file("nuova")},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const Esito esito =
        esegui_comando(*prefisso + " " + compila_in(eseguibile, descrizioni, caso.uscita), registro);
    EXPECT_EQ(esito.stato, 2) << esito.errori;
    EXPECT_NE(esito.errori.find(tra_apici(caso.nominato)), std::string::npos) << esito.errori;
    EXPECT_NE(esito.errori.find(kPermessoNegato), std::string::npos) << esito.errori;
    EXPECT_EQ(contenuto(chiusa.percorso()), std::set<std::string>{"scenario_tool"});
    EXPECT_EQ(byte_dei_file(descrizioni.percorso(), kDescrizioni), originali);
  }
}

// A recompile into a folder whose compiled file has become a directory: the
// other compiled files stay those of the first compile.
TEST(Guasti, ScenarioToolCompileStopsAtADirectoryInACompiledFilesPlace) {
  test::CartellaTemporanea descrizioni, registro;
  ASSERT_NO_FATAL_FAILURE(prepara_descrizioni(descrizioni, registro));
  const auto originali = byte_dei_file(descrizioni.percorso(), kDescrizioni);

  for (std::size_t bloccato = 0; bloccato < kCompilati.size(); ++bloccato) {
    SCOPED_TRACE(kCompilati[bloccato]);
    test::CartellaTemporanea uscita;
    const std::string compila = compila_in(SCENARIO_TOOL_EXE, descrizioni, uscita.percorso().string());
    ASSERT_EQ(esegui_comando(compila, registro).stato, 0);
    fs::remove(uscita.file(kCompilati[bloccato]));
    fs::create_directory(uscita.file(kCompilati[bloccato]));
    std::vector<std::string> rimasti = kCompilati;
    rimasti.erase(rimasti.begin() + static_cast<long>(bloccato));
    const auto prima = byte_dei_file(uscita.percorso(), rimasti);

    const Esito esito = esegui_comando(compila, registro);
    EXPECT_EQ(esito.stato, 2) << esito.errori;
    EXPECT_NE(esito.errori.find(tra_apici(uscita.file(kCompilati[bloccato]))), std::string::npos)
        << esito.errori;
    EXPECT_NE(esito.errori.find(std::strerror(EISDIR)), std::string::npos) << esito.errori;
    EXPECT_EQ(byte_dei_file(uscita.percorso(), rimasti), prima);
    EXPECT_EQ(contenuto(uscita.percorso()),
              std::set<std::string>(kCompilati.begin(), kCompilati.end()));
    EXPECT_EQ(byte_dei_file(descrizioni.percorso(), kDescrizioni), originali);
  }
}

}  // namespace
}  // namespace gs

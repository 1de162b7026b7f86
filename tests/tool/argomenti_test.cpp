// The tool's command line: help for the tool and for each command, options
// written either way, and every misuse told on one line that points at the
// help (and, with --json, as one object on standard output).
#include "tool/argomenti.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "programmi.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

using Esito = test::EsitoProgramma;

Esito strumento(const std::vector<std::string>& argomenti) {
  return test::esegui_strumento(argomenti);
}

std::string riga_di_comando(const std::vector<std::string>& argomenti) {
  std::string riga = "scenario_tool";
  for (const auto& a : argomenti) (riga += ' ') += a;
  return riga;
}

std::size_t righe(const std::string& testo) {
  return static_cast<std::size_t>(std::count(testo.begin(), testo.end(), '\n'));
}

TEST(RigaDiComando, EveryWayOfAskingForHelpGivesTheRightText) {
  for (const std::vector<std::string>& argomenti :
       std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"help"}}) {
    SCOPED_TRACE(riga_di_comando(argomenti));
    const Esito esito = strumento(argomenti);
    EXPECT_EQ(esito.stato, 0);
    EXPECT_EQ(esito.errori, "");
    EXPECT_EQ(esito.uscita.rfind("usage: scenario_tool COMMAND", 0), 0u) << esito.uscita;
    for (const Comando& comando : comandi()) {
      EXPECT_NE(esito.uscita.find("\n  " + comando.nome + " "), std::string::npos) << comando.nome;
    }
  }
  for (const Comando& comando : comandi()) {
    for (const std::vector<std::string>& argomenti : std::vector<std::vector<std::string>>{
             {comando.nome, "--help"}, {comando.nome, "-h"}, {"help", comando.nome}}) {
      SCOPED_TRACE(riga_di_comando(argomenti));
      const Esito esito = strumento(argomenti);
      EXPECT_EQ(esito.stato, 0);
      EXPECT_EQ(esito.errori, "");
      EXPECT_EQ(esito.uscita.rfind("usage: scenario_tool " + comando.nome + " ", 0), 0u)
          << esito.uscita;
    }
  }
  // Help wins over anything else on the line, a misuse included.
  EXPECT_EQ(strumento({"compile", "--nope", "--help"}).stato, 0);
}

TEST(RigaDiComando, VersionIsOneLine) {
  const Esito esito = strumento({"--version"});
  EXPECT_EQ(esito.stato, 0);
  EXPECT_EQ(esito.uscita.rfind(std::string("scenario_tool ") + GS_VERSIONE_ATTESA, 0), 0u)
      << esito.uscita;
  EXPECT_EQ(righe(esito.uscita), 1u);
}

TEST(RigaDiComando, AnOptionTakesItsValueAfterASpaceOrAnEqualsSign) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d, "--code=Linea_Uno", "--train", "7"}).stato, 0);
  ASSERT_TRUE(test::esiste(dir.file("Linea_Uno_7-.txt")));
  const struct {
    std::vector<std::string> argomenti;
    std::string scritto;
  } casi[] = {
      {{"compile", d, "--out=" + dir.file("uguale")}, dir.file("uguale/Linea_Uno_7.sim")},
      {{"compile", d, "--out", dir.file("spazio")}, dir.file("spazio/Linea_Uno_7.sim")},
      {{"compile", "--train=7", "--out", dir.file("prima"), d}, dir.file("prima/Linea_Uno_7.sim")},
      {{"plot", d, "-o", dir.file("spazio.svg")}, dir.file("spazio.svg")},
      {{"plot", d, "-o" + dir.file("attaccato.svg")}, dir.file("attaccato.svg")},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(riga_di_comando(caso.argomenti));
    const Esito esito = strumento(caso.argomenti);
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    EXPECT_TRUE(test::esiste(caso.scritto));
  }
}

// Each misuse: status 2, nothing on standard output, and one line on standard
// error that says what is wrong and where more help is.
TEST(RigaDiComando, AMisuseIsOneLineThatPointsAtTheHelp) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  struct Caso {
    std::vector<std::string> argomenti;
    std::string messaggio;
    std::string aiuto;
  };
  const Caso casi[] = {
      {{}, "scenario_tool: no command given", "scenario_tool help"},
      {{"build"}, "scenario_tool: unknown command 'build' (", "scenario_tool help"},
      {{"compil", d}, "unknown command 'compil'; did you mean 'compile'?", "scenario_tool help"},
      {{"chek", d}, "did you mean 'check'?", "scenario_tool help"},
      {{"--frob"}, "scenario_tool: unknown option --frob", "scenario_tool help"},
      {{"help", "nope"}, "scenario_tool help: unknown command 'nope'", "scenario_tool help"},
      {{"help", "init", "dump"}, "too many arguments: 'dump'", "scenario_tool help"},
      {{"init"}, "scenario_tool init: missing argument DIR", "scenario_tool help init"},
      {{"dump"}, "missing argument FILE", "scenario_tool help dump"},
      {{"init", d, d}, "too many arguments", "scenario_tool help init"},
      {{"explain", "16", "17"}, "too many arguments: '17'", "scenario_tool help explain"},
      {{"init", d, "--colour"}, "unknown option --colour", "scenario_tool help init"},
      {{"init", d, "--colour=red"}, "unknown option --colour", "scenario_tool help init"},
      {{"compile", d, "--foo"}, "scenario_tool compile: unknown option --foo", "scenario_tool help compile"},
      {{"init", d, "--code"}, "option --code needs a value", "scenario_tool help init"},
      {{"init", d, "--code="}, "option --code needs a value", "scenario_tool help init"},
      {{"plot", d, "-o"}, "option -o needs a value", "scenario_tool help plot"},
      {{"init", d, "--force", "--force"}, "option --force given twice", "scenario_tool help init"},
      {{"init", d, "--code", "a", "--code=b"}, "option --code given twice", "scenario_tool help init"},
      {{"init", d, "--force=no"}, "option --force takes no value", "scenario_tool help init"},
      {{"init", d, "--code", "a/b"}, "cannot be part of a file name", "scenario_tool help init"},
      {{"init", d, "--train", ""}, "cannot be part of a file name", "scenario_tool help init"},
      {{"explain"}, "give one CODE, or --all", "scenario_tool help explain"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(riga_di_comando(caso.argomenti));
    const Esito esito = strumento(caso.argomenti);
    EXPECT_EQ(esito.stato, 2);
    EXPECT_EQ(esito.uscita, "");
    EXPECT_NE(esito.errori.find(caso.messaggio), std::string::npos) << esito.errori;
    const std::string coda = " (see '" + caso.aiuto + "')\n";
    ASSERT_GE(esito.errori.size(), coda.size());
    EXPECT_EQ(esito.errori.substr(esito.errori.size() - coda.size()), coda) << esito.errori;
    EXPECT_EQ(righe(esito.errori), 1u) << esito.errori;
  }
  // A name far from every command gets no suggestion.
  EXPECT_EQ(strumento({"build"}).errori.find("did you mean"), std::string::npos);
  // Nothing was done by any of them.
  EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_linea.txt")));
}

// With --json a misuse is also the one object on standard output.
TEST(RigaDiComando, WithJsonAMisuseIsOneObjectOnStandardOutput) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  const struct {
    std::vector<std::string> argomenti;
    std::string messaggio;
  } casi[] = {
      {{"compile", d, "--json", "--nope"}, "unknown option --nope"},
      {{"compile", "--json"}, "missing argument DIR"},
      {{"check", d, "--json", "--code"}, "option --code needs a value"},
      {{"dump", "--json", "a", "b"}, "too many arguments: 'b'"},
      {{"compile", d, "--json"}, "no line description file"},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(riga_di_comando(caso.argomenti));
    const Esito esito = strumento(caso.argomenti);
    EXPECT_EQ(esito.stato, 2);
    EXPECT_EQ(righe(esito.errori), 1u) << esito.errori;
    EXPECT_EQ(righe(esito.uscita), 1u) << esito.uscita;
    const auto json = nlohmann::json::parse(esito.uscita);
    EXPECT_NE(json.at("error").get<std::string>().find(caso.messaggio), std::string::npos)
        << esito.uscita;
    EXPECT_EQ(json.at("exit_status"), 2);
    EXPECT_EQ(json.size(), 2u);
  }
}

}  // namespace
}  // namespace gs

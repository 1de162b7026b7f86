// The bash completion script, sourced in bash and asked as bash would ask it:
// it must offer every command and each command's own options as the tool's
// command table has them, and directories or files where they belong.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "programmi.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

using Parole = std::vector<std::string>;
using Proposte = std::set<std::string>;

bool bash_presente() { return std::system("command -v bash >/dev/null 2>&1") == 0; }

// What the script proposes for the last of `parole`, the words typed so far.
Proposte completa(const Parole& parole) {
  const test::CartellaTemporanea lavoro;
  std::string script = "source " +
                       test::tra_apici(std::string(DIRECTORY_SORGENTE) +
                                       "/completions/scenario_tool.bash") +
                       "\nCOMP_WORDS=(";
  for (const auto& parola : parole) (script += test::tra_apici(parola)) += ' ';
  script += ")\nCOMP_CWORD=" + std::to_string(parole.size() - 1) +
            "\n_scenario_tool\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
  test::scrivi_byte(lavoro.file("completa.sh"), script);
  const test::EsitoProgramma esito =
      test::esegui_comando("bash " + test::tra_apici(lavoro.file("completa.sh")), lavoro);
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.errori, "");
  Proposte proposte;
  std::size_t inizio = 0;
  while (inizio < esito.uscita.size()) {
    const std::size_t fine = esito.uscita.find('\n', inizio);
    const std::string riga = esito.uscita.substr(inizio, fine - inizio);
    if (!riga.empty()) proposte.insert(riga);
    inizio = fine == std::string::npos ? esito.uscita.size() : fine + 1;
  }
  return proposte;
}

TEST(Completamento, OffersEveryCommandAndEachCommandsOwnOptions) {
  if (!bash_presente()) GTEST_SKIP() << "no bash";
  const Proposte primi = completa({"scenario_tool", ""});
  EXPECT_TRUE(primi.count("help") && primi.count("--help") && primi.count("--version"));
  for (const Comando& comando : comandi()) {
    SCOPED_TRACE(comando.nome);
    EXPECT_EQ(primi.count(comando.nome), 1u);
    Proposte opzioni{"--help"};
    opzioni.insert(comando.forma.interruttori.begin(), comando.forma.interruttori.end());
    opzioni.insert(comando.forma.con_valore.begin(), comando.forma.con_valore.end());
    EXPECT_EQ(completa({"scenario_tool", comando.nome, "-"}), opzioni);
    EXPECT_EQ(completa({"scenario_tool", "help", comando.nome.substr(0, 3)}).count(comando.nome), 1u);
  }
  EXPECT_EQ(completa({"scenario_tool", "com"}), (Proposte{"compile"}));
}

TEST(Completamento, OffersDirectoriesOrFilesWhereTheyBelong) {
  if (!bash_presente()) GTEST_SKIP() << "no bash";
  const test::CartellaTemporanea dir;
  std::filesystem::create_directory(dir.file("sotto"));
  test::scrivi_byte(dir.file("scenario.sim"), "");
  const std::string inizio = dir.file("s");
  const Proposte cartelle{dir.file("sotto")};
  const Proposte tutti{dir.file("sotto"), dir.file("scenario.sim")};

  // A command's plain argument, as its table entry names it.
  for (const Comando& comando : comandi()) {
    if (comando.forma.posizionali.empty()) continue;
    const std::string& primo = comando.forma.posizionali.front();
    if (primo != "DIR" && primo != "FILE") continue;
    SCOPED_TRACE(comando.nome);
    EXPECT_EQ(completa({"scenario_tool", comando.nome, inizio}), primo == "DIR" ? cartelle : tutti);
  }
  const struct {
    Parole parole;
    Proposte attese;
  } casi[] = {
      {{"scenario_tool", "compile", "d", "--out", inizio}, cartelle},
      {{"scenario_tool", "compile", "d", "--out", "=", inizio}, cartelle},
      {{"scenario_tool", "plot", "d", "-o", inizio}, tutti},
      {{"scenario_tool", "plot", "d", "--code", ""}, {}},
      {{"scenario_tool", "explain", inizio}, {}},
  };
  for (const auto& caso : casi) {
    std::string riga;
    for (const auto& parola : caso.parole) riga += parola + " ";
    SCOPED_TRACE(riga);
    EXPECT_EQ(completa(caso.parole), caso.attese);
  }
}

}  // namespace
}  // namespace gs

#include "tool/strumento.h"


#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "programmi.h"
#include "compiler/lettura_compilati.h"
#include "json_minimo.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "base/documento_testo.h"

namespace gs {
namespace {

using Esito = test::EsitoProgramma;

Esito strumento(const std::vector<std::string>& argomenti) {
  return test::esegui_strumento(argomenti);
}

using test::kCompilati;
using test::kDescrizioni;
using test::kDocumenti;

// Runs a copy of the one-shot program in `dir`, which must end cleanly.
void genera_in(const test::CartellaTemporanea& dir) {
  const test::EsitoProgramma esito = test::esegui_genera_scenario_in(dir);
  ASSERT_EQ(esito.stato, 0) << esito.errori;
}

TEST(ScenarioTool, InitThenCompileGivesExactlyTheOneShotProgramsFiles) {
  test::CartellaTemporanea uno, due;
  genera_in(uno);
  const std::string dir = due.percorso().string();
  ASSERT_EQ(strumento({"init", dir}).stato, 0);
  const std::string linea = test::leggi_byte(due.file(kDescrizioni[0]));
  const std::string treno = test::leggi_byte(due.file(kDescrizioni[1]));

  const Esito compilato = strumento({"compile", dir});
  ASSERT_EQ(compilato.stato, 0) << compilato.errori;
  for (const auto& nome : kDocumenti) {
    EXPECT_EQ(test::leggi_byte(uno.file(nome)), test::leggi_byte(due.file(nome))) << nome;
  }
  for (const auto& nome : kCompilati) {
    EXPECT_EQ(test::leggi_byte(uno.file(nome)), test::leggi_byte(due.file(nome))) << nome;
  }
  // The author's description files are neither deleted nor changed.
  EXPECT_EQ(test::leggi_byte(due.file(kDescrizioni[0])), linea);
  EXPECT_EQ(test::leggi_byte(due.file(kDescrizioni[1])), treno);
  EXPECT_NE(compilato.uscita.find("stations       16"), std::string::npos) << compilato.uscita;
  EXPECT_NE(compilato.uscita.find("signals        42"), std::string::npos);
  EXPECT_NE(compilato.uscita.find("2494 plain, 36124 weighted"), std::string::npos);
}

TEST(ScenarioTool, InitRefusesToOverwriteUnlessForced) {
  test::CartellaTemporanea dir;
  test::scrivi_byte(dir.file("Brisca_Nolte_52806_note.txt"), "mine");
  const Esito rifiutato = strumento({"init", dir.percorso().string()});
  EXPECT_EQ(rifiutato.stato, 2);
  EXPECT_NE(rifiutato.errori.find(dir.file("Brisca_Nolte_52806_note.txt")), std::string::npos);
  EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806_note.txt")), "mine");
  EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_linea.txt")));

  EXPECT_EQ(strumento({"init", dir.percorso().string(), "--force"}).stato, 0);
  EXPECT_NE(test::leggi_byte(dir.file("Brisca_Nolte_52806_note.txt")), "mine");
}

TEST(ScenarioTool, CodeAndTrainNameTheFilesAndChooseAmongSeveral) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d, "--code", "Linea_Uno", "--train", "7"}).stato, 0);
  EXPECT_TRUE(test::esiste(dir.file("Linea_Uno_linea.txt")));
  EXPECT_TRUE(test::esiste(dir.file("Linea_Uno_7-.txt")));
  EXPECT_TRUE(test::esiste(dir.file("Linea_Uno_7_scheda_treno.txt")));
  EXPECT_EQ(strumento({"compile", d}).stato, 0);
  EXPECT_TRUE(test::esiste(dir.file("Linea_Uno_7.sim")));

  ASSERT_EQ(strumento({"init", d}).stato, 0);  // a second scenario beside it
  const Esito ambiguo = strumento({"compile", d});
  EXPECT_EQ(ambiguo.stato, 2);
  EXPECT_NE(ambiguo.errori.find("--code"), std::string::npos) << ambiguo.errori;
  EXPECT_EQ(strumento({"compile", d, "--code", "Brisca_Nolte"}).stato, 0);
  EXPECT_EQ(strumento({"compile", d, "--code", "Linea_Uno", "--train", "8"}).stato, 2);
}

TEST(ScenarioTool, CompileIntoAnotherDirectoryWithoutProfile) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  const std::string fuori = dir.file("out/sub");
  const Esito esito = strumento({"compile", d, "--out", fuori, "--no-profile", "--json"});
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_FALSE(test::esiste(fuori + "/Brisca_Nolte_linea.dat"));
  EXPECT_TRUE(test::esiste(fuori + "/Brisca_Nolte_52806.sim"));
  EXPECT_EQ(test::leggi_byte(fuori + "/Brisca_Nolte_52806.dat").size(), 26715u);
  EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_52806.sim")));
  const auto json = test::analizza_json(esito.uscita);
  EXPECT_EQ(json["error_code"].numero(), 0);
  EXPECT_TRUE(json["error_position"].nullo());
  EXPECT_EQ(json["cell_count"].numero(), 1780);
  EXPECT_EQ(json["file"].testo(), "Brisca_Nolte_52806-.txt");
  EXPECT_EQ(json["line"].numero(), 112);
  ASSERT_EQ(json["files_written"].lista().size(), 2u);
  EXPECT_EQ(json["files_written"][0].testo(), "Brisca_Nolte_52806.sim");
}

// Description files with a fault: the error comes back with where reading
// stopped, and nothing is written unless asked; asked, the files are those the
// one-shot program would write.
TEST(ScenarioTool, CompileReportsScenarioErrors) {
  struct Caso {
    const char* nome;
    std::string linea;
    std::string treno;
    int codice;
    std::optional<int> posizione;
    std::string file;
    int riga;
    bool file_scritti;
  };
  const std::string linea = "[generale]\r\nlunghezza percorso, 10000\r\n[fine]\r\n";
  const Caso casi[] = {
      {"position past the track", linea,
       "[generale]\r\nvelocita' limite, 0, 30\r\nsegnale, 99999, 1,1,1,1,1,1,1,1,1,1\r\n", 15,
       99999, "Brisca_Nolte_52806-.txt", 3, true},
      {"station not on 50 m", linea, "[generale]\r\n\r\nstazione, 125, 2\r\n", 8, 125,
       "Brisca_Nolte_52806-.txt", 3, true},
      {"unreadable number", "[generale]\r\nlunghezza percorso, dieci\r\n", "", 25, std::nullopt,
       "Brisca_Nolte_linea.txt", 2, false},
      // A marker the walk places on cell 1 takes the header: 1250, nothing written.
      {"walk reaches cell 1",
       "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\nindicatori_vmax, 50, 0,0,0,0,0,0,0,0\r\n",
       "[generale]\r\nsegnale, 100, 1,1,1,1,1,1,1,1,1,1\r\n"
       "rallentamento, 1550, 60, 500, 0, 0, 0\r\n",
       1250, std::nullopt, "", 0, false},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    test::CartellaTemporanea dir;
    test::scrivi_byte(dir.file("Brisca_Nolte_linea.txt"), caso.linea);
    test::scrivi_byte(dir.file("Brisca_Nolte_52806-.txt"), caso.treno);
    const Esito esito = strumento({"compile", dir.percorso().string(), "--json"});
    EXPECT_EQ(esito.stato, 1);
    const auto json = test::analizza_json(esito.uscita);
    EXPECT_EQ(json["error_code"].numero(), caso.codice);
    if (caso.posizione) {
      EXPECT_EQ(json["error_position"].numero(), *caso.posizione);
    } else {
      EXPECT_TRUE(json["error_position"].nullo());
    }
    if (!caso.file.empty()) {
      EXPECT_EQ(json["file"].testo(), caso.file);
      EXPECT_EQ(json["line"].numero(), caso.riga);
    }
    EXPECT_FALSE(json["compiled"].booleano());
    EXPECT_TRUE(json["files_written"].lista().empty());
    EXPECT_FALSE(test::esiste(dir.file("Brisca_Nolte_52806.dat")));
    EXPECT_TRUE(test::esiste(dir.file("Brisca_Nolte_linea.txt")));

    const Esito comunque = strumento({"compile", dir.percorso().string(), "--write-on-error"});
    EXPECT_EQ(comunque.stato, 1);
    EXPECT_EQ(test::esiste(dir.file("Brisca_Nolte_52806.dat")), caso.file_scritti);

    const Esito testo = strumento({"compile", dir.percorso().string()});
    EXPECT_EQ(testo.stato, 1);
    EXPECT_NE(testo.errori.find("error " + std::to_string(caso.codice)), std::string::npos)
        << testo.errori;
  }
}

// With --raw every record and cell carries its stored values, the same the
// decoder reads back.
TEST(ScenarioTool, DumpJsonGivesBackTheTablesThatWereWritten) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  ASSERT_EQ(strumento({"compile", d}).stato, 0);

  const auto record = decodifica_file_scenario(test::leggi_byte(dir.file(kCompilati[1])));
  const auto scenario =
      test::analizza_json(strumento({"dump", dir.file(kCompilati[1]), "--json", "--raw"}).uscita);
  ASSERT_EQ(scenario["records"].lista().size(), 87u);
  for (std::size_t i = 0; i < record.size(); ++i) {
    const auto& r = scenario["records"][i]["stored"];
    EXPECT_EQ(r["name"].testo(), record[i].nome);
    EXPECT_EQ(r["kind"].numero(), record[i].tipo);
    EXPECT_EQ(r["stop_zone_start"].numero(), record[i].inizio_fermata);
    EXPECT_EQ(r["rd2"].numero(), record[i].rd2);
    EXPECT_EQ(r["scheduled_time"].numero(), record[i].orario);
  }
  EXPECT_EQ(scenario["records"][85]["stored"]["rd2"].numero(), 610);
  EXPECT_EQ(scenario["records"][85]["compilation_stamp"].numero(), 610);

  const auto celle = decodifica_file_percorso(test::leggi_byte(dir.file(kCompilati[2])));
  const auto percorso =
      test::analizza_json(strumento({"dump", dir.file(kCompilati[2]), "--json", "--raw"}).uscita);
  ASSERT_EQ(percorso["cells"].lista().size(), celle.size());
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const auto& c = percorso["cells"][i]["stored"];
    EXPECT_EQ(c["type"].numero(), celle[i].tipo);
    EXPECT_EQ(c["value1"].numero(), celle[i].valore1);
    EXPECT_EQ(c["approach_mark"].numero(), celle[i].avvicinamento);
    EXPECT_EQ(c["speed_limit"].numero(), celle[i].velocita);
    EXPECT_EQ(c["adhesion"].numero(), celle[i].aderenza);
  }
  EXPECT_EQ(percorso["cells"][21]["kind"].testo(), "signal");

  const auto profilo = test::analizza_json(strumento({"dump", dir.file(kCompilati[0]), "--json"}).uscita);
  EXPECT_EQ(profilo["point_count"].numero(), 89001);
  EXPECT_EQ(profilo["assigned_count"].numero(), 88999);
}

TEST(ScenarioTool, DumpListsReadably) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  ASSERT_EQ(strumento({"compile", d}).stato, 0);
  const Esito sim = strumento({"dump", dir.file(kCompilati[1])});
  EXPECT_EQ(sim.stato, 0);
  EXPECT_NE(sim.uscita.find("record 1, station: \"FIRENZE S.M.N.\", scheduled time 18:05:00\n"),
            std::string::npos)
      << sim.uscita;
  const Esito dat = strumento({"dump", dir.file(kCompilati[2])});
  EXPECT_NE(dat.uscita.find("\ncell 21, 1,050-1,099 m: signal, "), std::string::npos) << dat.uscita;
  EXPECT_NE(dat.uscita.find("\ncell 0, 0-49 m: plain, 30 km/h, 0 per mille, adhesion 75\n"),
            std::string::npos);
  const Esito linea = strumento({"dump", dir.file(kCompilati[0])});
  EXPECT_NE(linea.uscita.find("89,001 points"), std::string::npos) << linea.uscita;

  // A renamed file is told apart by its layout.
  std::filesystem::copy_file(dir.file(kCompilati[1]), dir.file("copia.bin"));
  EXPECT_NE(strumento({"dump", dir.file("copia.bin")}).uscita.find("scenario file"),
            std::string::npos);
}

TEST(ScenarioTool, PlotWritesOneSvg) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  ASSERT_EQ(strumento({"compile", d}).stato, 0);
  const Esito esito = strumento({"plot", d});
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  const std::string svg = test::leggi_byte(dir.file("Brisca_Nolte_52806.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  EXPECT_EQ(strumento({"plot", d, "-o", dir.file("altro.svg")}).stato, 0);
  EXPECT_TRUE(test::esiste(dir.file("altro.svg")));
}

// Every bad invocation: exit status 2 and a message (with the usage where it helps).
TEST(ScenarioTool, BadInvocationsGiveStatusTwoAndAMessage) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  test::scrivi_byte(dir.file("rotto.sim"), "not a scenario");
  test::scrivi_byte(dir.file("file"), "x");
  std::filesystem::create_directory(dir.file("vuota"));
  struct Caso {
    std::vector<std::string> argomenti;
    std::string nel_messaggio;
  };
  const Caso casi[] = {
      {{}, "usage: scenario_tool COMMAND"},
      {{"build"}, "unknown command 'build'"},
      {{"init"}, "missing argument"},
      {{"init", d, d}, "too many arguments"},
      {{"init", d, "--colour"}, "unknown option --colour"},
      {{"init", d, "--code"}, "--code needs a value"},
      {{"init", d, "--force", "--force"}, "given twice"},
      {{"init", d, "--code", "a/b"}, "cannot be part of a file name"},
      {{"init", d, "--train", ""}, "cannot be part of a file name"},
      {{"init", dir.file("file") + "/sub"}, dir.file("file")},
      {{"compile", d}, "no line description file"},
      {{"compile", dir.file("missing")}, dir.file("missing")},
      {{"compile", d, "--json", "--out"}, "--out needs a value"},
      {{"dump", dir.file("missing.sim")}, dir.file("missing.sim")},
      {{"dump", dir.file("rotto.sim")}, "is not a compiled file"},
      {{"dump", d}, d},
      {{"plot", dir.file("vuota")}, "no scenario file"},
      {{"plot", d}, "cannot tell code and number apart in rotto.sim"},
      {{"plot", d, "--code", "rotto"}, "no scenario file CODE_NUMBER.sim that fits"},
      {{"plot", d, "-o"}, "-o needs a value"},
  };
  for (const Caso& caso : casi) {
    std::string riga;
    for (const auto& a : caso.argomenti) riga += a + " ";
    SCOPED_TRACE(riga);
    const Esito esito = strumento(caso.argomenti);
    EXPECT_EQ(esito.stato, 2);
    EXPECT_NE(esito.errori.find(caso.nel_messaggio), std::string::npos) << esito.errori;
  }
}

TEST(ScenarioTool, HelpForTheToolAndEachCommand) {
  for (const std::vector<std::string>& argomenti :
       std::vector<std::vector<std::string>>{{"--help"}, {"init", "--help"}, {"compile", "-h"},
                                             {"dump", "--help"}, {"plot", "--help"}}) {
    const Esito esito = strumento(argomenti);
    EXPECT_EQ(esito.stato, 0);
    EXPECT_NE(esito.uscita.find("usage: scenario_tool"), std::string::npos);
  }
}

}  // namespace
}  // namespace gs

#include "tool/strumento.h"


#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "programmi.h"
#include "compiler/lettura_compilati.h"
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
  EXPECT_NE(ambiguo.errori.find("several line description files CODE_linea.txt in " + d +
                                " (Brisca_Nolte, Linea_Uno): choose with --code"),
            std::string::npos)
      << ambiguo.errori;
  // plot reads the description files first: their ambiguity is the cause it
  // gives, not the compiled files of one of the two scenarios.
  const Esito plot_ambiguo = strumento({"plot", d});
  EXPECT_EQ(plot_ambiguo.stato, 2);
  EXPECT_NE(plot_ambiguo.errori.find("several line description files"), std::string::npos)
      << plot_ambiguo.errori;
  EXPECT_EQ(strumento({"compile", d, "--code", "Brisca_Nolte"}).stato, 0);
  EXPECT_EQ(strumento({"compile", d, "--code", "Linea_Uno", "--train", "8"}).stato, 2);

  std::filesystem::copy_file(dir.file("Linea_Uno_7-.txt"), dir.file("Linea_Uno_8-.txt"));
  const Esito due_treni = strumento({"compile", d, "--code", "Linea_Uno"});
  EXPECT_EQ(due_treni.stato, 2);
  EXPECT_NE(due_treni.errori.find("several train description files Linea_Uno_NUMBER-.txt in " +
                                  d + " (7, 8): choose with --train"),
            std::string::npos)
      << due_treni.errori;
  EXPECT_EQ(strumento({"compile", d, "--code", "Linea_Uno", "--train", "8"}).stato, 0);
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
  const auto json = nlohmann::json::parse(esito.uscita);
  EXPECT_EQ(json.at("error_code").get<double>(), 0);
  EXPECT_TRUE(json.at("error_position").is_null());
  EXPECT_EQ(json.at("cell_count").get<double>(), 1780);
  EXPECT_EQ(json.at("file").get<std::string>(), "Brisca_Nolte_52806-.txt");
  EXPECT_EQ(json.at("line").get<double>(), 112);
  ASSERT_EQ(json.at("files_written").size(), 2u);
  EXPECT_EQ(json.at("files_written").at(0).get<std::string>(), "Brisca_Nolte_52806.sim");
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
    const auto json = nlohmann::json::parse(esito.uscita);
    EXPECT_EQ(json.at("error_code").get<double>(), caso.codice);
    if (caso.posizione) {
      EXPECT_EQ(json.at("error_position").get<double>(), *caso.posizione);
    } else {
      EXPECT_TRUE(json.at("error_position").is_null());
    }
    if (!caso.file.empty()) {
      EXPECT_EQ(json.at("file").get<std::string>(), caso.file);
      EXPECT_EQ(json.at("line").get<double>(), caso.riga);
    }
    EXPECT_FALSE(json.at("compiled").get<bool>());
    EXPECT_TRUE(json.at("files_written").empty());
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
  const auto scenario = nlohmann::json::parse(
      strumento({"dump", dir.file(kCompilati[1]), "--json", "--raw"}).uscita);
  ASSERT_EQ(scenario.at("records").size(), 87u);
  for (std::size_t i = 0; i < record.size(); ++i) {
    const auto& r = scenario.at("records").at(i).at("stored");
    EXPECT_EQ(r.at("name").get<std::string>(), record[i].nome);
    EXPECT_EQ(r.at("kind").get<double>(), record[i].tipo);
    EXPECT_EQ(r.at("stop_zone_start").get<double>(), record[i].inizio_fermata);
    EXPECT_EQ(r.at("rd2").get<double>(), record[i].rd2);
    EXPECT_EQ(r.at("scheduled_time").get<double>(), record[i].orario);
  }
  EXPECT_EQ(scenario.at("records").at(85).at("stored").at("rd2").get<double>(), 610);
  EXPECT_EQ(scenario.at("records").at(85).at("compilation_stamp").get<double>(), 610);

  const auto celle = decodifica_file_percorso(test::leggi_byte(dir.file(kCompilati[2])));
  const auto percorso = nlohmann::json::parse(
      strumento({"dump", dir.file(kCompilati[2]), "--json", "--raw"}).uscita);
  ASSERT_EQ(percorso.at("cells").size(), celle.size());
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const auto& c = percorso.at("cells").at(i).at("stored");
    EXPECT_EQ(c.at("type").get<double>(), celle[i].tipo);
    EXPECT_EQ(c.at("value1").get<double>(), celle[i].valore1);
    EXPECT_EQ(c.at("approach_mark").get<double>(), celle[i].avvicinamento);
    EXPECT_EQ(c.at("speed_limit").get<double>(), celle[i].velocita);
    EXPECT_EQ(c.at("adhesion").get<double>(), celle[i].aderenza);
  }
  EXPECT_EQ(percorso.at("cells").at(21).at("kind").get<std::string>(), "signal");

  const auto profilo =
      nlohmann::json::parse(strumento({"dump", dir.file(kCompilati[0]), "--json"}).uscita);
  EXPECT_EQ(profilo.at("point_count").get<double>(), 89001);
  EXPECT_EQ(profilo.at("assigned_count").get<double>(), 88999);
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

// A name holding a Windows-1252 byte (0xE0, "à") reaches every JSON document
// as the UTF-8 that JSON requires: the file names, a diagnostic quoting the
// author's text, the error object.
TEST(ScenarioTool, JsonGivesWindows1252TextAsUtf8) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  const std::string citta = "Citt\xE0";
  const std::string citta_utf8 = "Citt\xC3\xA0";
  ASSERT_EQ(strumento({"init", d, "--code", citta}).stato, 0);
  ASSERT_TRUE(test::esiste(dir.file(citta + "_52806-.txt")));

  const Esito compilato = strumento({"compile", d, "--json"});
  ASSERT_EQ(compilato.stato, 0) << compilato.errori;
  const auto json = nlohmann::json::parse(compilato.uscita);  // throws on bytes that are not UTF-8
  EXPECT_EQ(json.at("scenario_code"), citta_utf8);
  EXPECT_EQ(json.at("file"), citta_utf8 + "_52806-.txt");
  EXPECT_EQ(json.at("files_written").at(0), citta_utf8 + "_linea.dat");

  // A misspelt keyword with the same byte, quoted by the diagnostic.
  const std::string treno = dir.file(citta + "_52806-.txt");
  std::string testo = test::leggi_byte(treno);
  const std::size_t stazione = testo.find("\r\nstazione,");
  ASSERT_NE(stazione, std::string::npos);
  testo.replace(stazione + 2, 8, "stazion\xE0");
  test::scrivi_byte(treno, testo);
  const Esito controllato = strumento({"check", d, "--json"});
  EXPECT_EQ(controllato.stato, 1);
  const auto diagnostiche = nlohmann::json::parse(controllato.uscita).at("diagnostics");
  ASSERT_EQ(diagnostiche.size(), 1u) << controllato.uscita;
  EXPECT_EQ(diagnostiche.at(0).at("file"), citta_utf8 + "_52806-.txt");
  EXPECT_NE(diagnostiche.at(0).at("message").get<std::string>().find("stazion\xC3\xA0"),
            std::string::npos);

  const Esito mancante = strumento({"compile", dir.file(citta + "_manca"), "--json"});
  EXPECT_EQ(mancante.stato, 2);
  EXPECT_NE(nlohmann::json::parse(mancante.uscita).at("error").get<std::string>().find(
                citta_utf8 + "_manca"),
            std::string::npos)
      << mancante.uscita;
}

// Every invocation that fits the command line yet cannot be carried out:
// exit status 2 and a message that names the cause.
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

}  // namespace
}  // namespace gs

// scenario_tool diff: two scenarios compared feature by feature.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include <nlohmann/json.hpp>
#include "programmi.h"
#include "tool/confronto.h"

namespace gs {
namespace {

using Esito = test::EsitoProgramma;
using test::kCompilati;
using test::kDescrizioni;

Esito strumento(const std::vector<std::string>& argomenti) {
  return test::esegui_strumento(argomenti);
}

// The embedded scenario's description files in a folder of their own.
struct Scenario {
  test::CartellaTemporanea dir;

  Scenario() { EXPECT_EQ(strumento({"init", percorso()}).stato, 0); }
  std::string percorso() const { return dir.percorso().string(); }
  std::string file(const std::string& nome) const { return dir.file(nome); }

  // Replaces `da` (which must be there once) by `a` in description file `nome`.
  void modifica(const std::string& nome, const std::string& da, const std::string& a) const {
    std::string testo = test::leggi_byte(file(nome));
    const auto dove = testo.find(da);
    ASSERT_NE(dove, std::string::npos) << da;
    ASSERT_EQ(testo.find(da, dove + 1), std::string::npos) << da;
    testo.replace(dove, da.size(), a);
    test::scrivi_byte(file(nome), testo);
  }

  void compila() const { ASSERT_EQ(strumento({"compile", percorso()}).stato, 0); }
};

std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream flusso(testo);
  for (std::string riga; std::getline(flusso, riga);) r.push_back(riga);
  return r;
}

const std::string& kLinea = kDescrizioni[0];
const std::string& kTreno = kDescrizioni[1];

TEST(Diff, TheEmbeddedScenarioAgainstItselfIsEqualAndSilent) {
  const Scenario a, b;
  const Esito esito = strumento({"diff", a.percorso(), b.percorso()});
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  EXPECT_EQ(esito.uscita, "");
  EXPECT_EQ(esito.errori, "");

  const auto json = nlohmann::json::parse(strumento({"diff", a.percorso(), b.percorso(), "--json"}).uscita);
  EXPECT_EQ(json.at("format_version").get<double>(), 1);
  EXPECT_TRUE(json.at("equal").get<bool>());
  EXPECT_TRUE(json.at("differences").empty());
}

// Compiled in memory, or read from its compiled files (profile included), or
// file by file: the same scenario is the same.
TEST(Diff, TheDescriptionFilesAndTheirCompiledFilesAreTheSameScenario) {
  const Scenario a;
  a.compila();
  const test::CartellaTemporanea compilati;
  for (const auto& nome : kCompilati) std::filesystem::copy_file(a.file(nome), compilati.file(nome));
  const Esito esito = strumento({"diff", a.percorso(), compilati.percorso().string()});
  EXPECT_EQ(esito.stato, 0) << esito.uscita << esito.errori;
  EXPECT_EQ(esito.uscita, "");
  for (const auto& nome : kCompilati) {
    SCOPED_TRACE(nome);
    const Esito file = strumento({"diff", a.file(nome), compilati.file(nome)});
    EXPECT_EQ(file.stato, 0) << file.uscita << file.errori;
  }
  // Compiled without the profile: that is the one difference.
  std::filesystem::remove(compilati.file(kCompilati[0]));
  const Esito senza = strumento({"diff", a.percorso(), compilati.percorso().string()});
  EXPECT_EQ(senza.stato, 1);
  EXPECT_EQ(senza.uscita, "line profile: removed\n");
}

TEST(Diff, CodeAndTrainChooseTheScenarioInBothFolders) {
  const Scenario a, b;
  ASSERT_EQ(strumento({"init", a.percorso(), "--code", "Linea_Uno", "--train", "7"}).stato, 0);
  const Esito ambiguo = strumento({"diff", a.percorso(), b.percorso()});
  EXPECT_EQ(ambiguo.stato, 2);
  EXPECT_NE(ambiguo.errori.find("several line description file"), std::string::npos)
      << ambiguo.errori;
  EXPECT_EQ(strumento({"diff", a.percorso(), b.percorso(), "--code", "Brisca_Nolte"}).stato, 0);

  const Scenario c;
  ASSERT_EQ(strumento({"init", c.percorso(), "--code", "Linea_Uno", "--train", "7", "--force"}).stato, 0);
  std::filesystem::remove(c.file(kLinea));
  std::filesystem::remove(c.file(kTreno));
  const Esito altro = strumento({"diff", b.percorso(), c.percorso()});
  EXPECT_EQ(altro.stato, 1);
  EXPECT_EQ(altro.uscita,
            "scenario code: \"Brisca_Nolte\" -> \"Linea_Uno\"\n"
            "weighted race code: 36124 -> 37732\n"
            "train number: \"52806\" -> \"7\"\n"
            "plain race code: 2494 -> 2790\n");
}

TEST(Diff, OneEditedSpeedLimitIsExactlyThatChange) {
  const Scenario a, b;
  b.modifica(kTreno, "velocita' limite , 15000    ,  115", "velocita' limite , 15000    ,  60");
  const Esito esito = strumento({"diff", a.percorso(), b.percorso()});
  EXPECT_EQ(esito.stato, 1) << esito.errori;
  EXPECT_EQ(esito.uscita, "km 15.00-17.00: speed limit 115 -> 60 km/h\n");

  const Esito json = strumento({"diff", a.percorso(), b.percorso(), "--json"});
  EXPECT_EQ(json.stato, 1);
  const auto oggetto = nlohmann::json::parse(json.uscita);
  EXPECT_FALSE(oggetto.at("equal").get<bool>());
  ASSERT_EQ(oggetto.at("differences").size(), 1u);
  const auto& d = oggetto.at("differences").at(0);
  EXPECT_EQ(d.at("feature").get<std::string>(), "speed_limit");
  EXPECT_TRUE(d.at("field").is_null());
  EXPECT_EQ(d.at("position_m").get<double>(), 15000);
  EXPECT_EQ(d.at("end_m").get<double>(), 17000);
  EXPECT_EQ(d.at("change").get<std::string>(), "changed");
  EXPECT_EQ(d.at("before").get<std::string>(), "115");
  EXPECT_EQ(d.at("after").get<std::string>(), "60");
  EXPECT_EQ(d.at("unit").get<std::string>(), "km/h");
  EXPECT_EQ(d.at("text").get<std::string>(), "km 15.00-17.00: speed limit 115 -> 60 km/h");
}

// One edit of a description file, and the lines it must give, in this order;
// with `solo` they are all the output.
struct Modifica {
  const char* nome;
  std::string file;
  std::string da;
  std::string a;
  std::vector<std::string> attese;
  bool solo;
};

TEST(Diff, EachEditIsNamedInRealUnitsAtItsPosition) {
  const Modifica casi[] = {
      {"moved signal", kTreno, "segnale,  21950, 2, 4, 0", "segnale,  22000, 2, 4, 0",
       {"approach marks: 8 cells differ, km 21.60-22.00",
        "signal at 21.95 km: removed (left kind 2, left aspects 4 0 0, right kind 2, right aspects "
        "1 0 0, rapp 0, signal time 0)",
        "signal at 22.00 km: added (left kind 2, left aspects 4 0 0, right kind 2, right aspects 1 "
        "0 0, rapp 0, signal time 0)"},
       true},
      {"signal aspects", kTreno, "segnale,   9800, 2, 4, 0, 0", "segnale,   9800, 2, 4, 1, 0",
       {"signal at 9.80 km: left aspects 4 0 0 -> 4 1 0"}, true},
      // Its stop marker stands at the stopping point, the end of its stop zone;
      // the stations after it move up a record, and are still the same.
      {"added station", kTreno, "18,29, 0, CARMIGNANO\r\n",
       "18,29, 0, CARMIGNANO\r\nstazione,   23000, 2,  300,  0, 0, 0,  0,0,0,  0,0,0,   30,  "
       "18,32, 0, NUOVA\r\n",
       {"approach marks: 4 cells differ, km 22.90-23.10",
        "station NUOVA at 23.00 km: added (kind 2, scheduled time 18:32:00)",
        "stop marker at 23.15 km: added (station NUOVA)"},
       true},
      {"renamed station", kTreno, "S.DONNINO", "S. DONNINO",
       {"station S.DONNINO at 11.95 km: name \"S.DONNINO\" -> \"S. DONNINO\""}, true},
      {"scheduled time", kTreno, "18,25, 0, SIGNA", "18,26, 0, SIGNA",
       {"station SIGNA at 15.90 km: scheduled time 18:25:00 -> 18:26:00"}, true},
      {"changed gradient", kLinea, "pendenza  , 14000   , 1", "pendenza  , 14000   , 3",
       {"km 14.00-16.00: gradient +1 -> +3 per mille"}, true},
      {"sign text", kLinea, "(18.600)", "(18.650)",
       {"sign at 18.55 km: text \"(  Km. ) (18.600)\" -> \"(  Km. ) (18.650)\""}, true},
      {"speed board", kLinea, "indicatori_vmax, 800, 105, 115", "indicatori_vmax, 800, 105, 110",
       {"speed board at 0.80 km: left speeds 105 115 120 -> 105 110 120 km/h"}, true},
      {"clock", kTreno, "orologio,    18              6             40",
       "orologio,    18              7             40", {"clock: 18:06:40 -> 18:07:40"}, true},
      {"longer line", kLinea, "lunghezza percorso,    82000", "lunghezza percorso,    82100",
       {"line length: 82,000 -> 82,100 m", "profile length: 89,001 -> 89,101 points",
        "km 88.90-89.00: speed limit 0 -> 130 km/h", "profile: 100 points added, km 89.00-89.10",
        "km 89.05-89.15: track added: 2 cells"},
       false},
  };
  for (const Modifica& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const Scenario a, b;
    b.modifica(caso.file, caso.da, caso.a);
    const Esito esito = strumento({"diff", a.percorso(), b.percorso()});
    EXPECT_EQ(esito.stato, 1) << esito.errori;
    const auto uscita = righe(esito.uscita);
    if (caso.solo) {
      EXPECT_EQ(uscita, caso.attese) << esito.uscita;
      continue;
    }
    auto da = uscita.begin();
    for (const auto& attesa : caso.attese) {
      da = std::find(da, uscita.end(), attesa);
      EXPECT_NE(da, uscita.end()) << attesa << " in order, in\n" << esito.uscita;
    }
  }
}

// A curve edited moves every later point of the plan: one line counts them,
// compiled in memory or read from two profile files.
TEST(Diff, AnEditedCurveMovesTheProfileFromItsEnd) {
  const Scenario a, b;
  b.modifica(kLinea, "curvas4,  14000, 600", "curvas4,  14000, 650");
  const Esito cartelle = strumento({"diff", a.percorso(), b.percorso()});
  EXPECT_EQ(cartelle.stato, 1);
  const auto uscita = righe(cartelle.uscita);
  ASSERT_EQ(uscita.size(), 1u) << cartelle.uscita;
  EXPECT_EQ(uscita[0].rfind("profile: ", 0), 0u) << uscita[0];
  EXPECT_NE(uscita[0].find(" points differ, km 14.60-89.00, at most "), std::string::npos) << uscita[0];

  a.compila();
  b.compila();
  const Esito file = strumento({"diff", a.file(kCompilati[0]), b.file(kCompilati[0]), "--json"});
  EXPECT_EQ(file.stato, 1);
  const auto json = nlohmann::json::parse(file.uscita);
  ASSERT_EQ(json.at("differences").size(), 1u);
  const auto& d = json.at("differences").at(0);
  EXPECT_EQ(d.at("feature").get<std::string>(), "profile");
  EXPECT_EQ(d.at("text").get<std::string>(), uscita.at(0));
  EXPECT_EQ(d.at("position_m").get<double>(), 14601);  // the first and the last point that moved
  EXPECT_EQ(d.at("end_m").get<double>(), 88998);
  EXPECT_GT(d.at("count").get<double>(), 70000);
  EXPECT_GT(d.at("max_distance_m").get<double>(), 1.0);
}

// The signs given in another order keep their texts at their positions, in
// other records: never "equal".
TEST(Diff, TheSameSignsInOtherRecordsAreNotEqual) {
  const Scenario a, b;
  const std::string primo = "cartello indicatore,  18550,    (  Km. ) (18.600)\r\n";
  const std::string secondo = "cartello indicatore,  20750,    (  Km. ) (20.800)\r\n";
  b.modifica(kLinea, primo + secondo, secondo + primo);
  const Esito esito = strumento({"diff", a.percorso(), b.percorso()});
  EXPECT_EQ(esito.stato, 1);
  EXPECT_EQ(esito.uscita, "records: the same stations and sign texts, stored in other records\n");
}

TEST(Diff, TroubleIsStatusTwoWithTheCause) {
  const Scenario a, b;
  a.compila();
  b.compila();
  const test::CartellaTemporanea altra;
  const std::string troncato = altra.file("Brisca_Nolte_52806.dat");
  const std::string byte = test::leggi_byte(a.file(kCompilati[2]));
  test::scrivi_byte(troncato, byte.substr(0, byte.size() - 7));
  const Scenario rotto;
  rotto.modifica(kTreno, "segnale,  21950, 2, 4", "segnale,  20000, 2, 4");  // a cell taken
  struct Caso {
    const char* nome;
    std::vector<std::string> argomenti;
    std::string nel_messaggio;
  };
  const Caso casi[] = {
      {"files of two kinds", {a.file(kCompilati[1]), b.file(kCompilati[2])},
       "is a scenario file and"},
      {"a truncated file", {a.file(kCompilati[2]), troncato}, "is not a compiled file: "},
      {"a missing file", {a.file(kCompilati[1]), altra.file("nessuno.sim")}, "nessuno.sim"},
      {"a folder and a file", {a.percorso(), b.file(kCompilati[1])}, "is a folder and"},
      {"a missing folder", {altra.file("nessuna"), a.percorso()}, altra.file("nessuna")},
      {"options for files", {a.file(kCompilati[1]), b.file(kCompilati[1]), "--code", "X"},
       "--code and --train choose"},
      {"a folder without a scenario", {a.percorso(), altra.percorso().string()}, "no scenario file"},
      {"description files that do not compile", {a.percorso(), rotto.percorso()},
       rotto.file(kTreno) + ":"},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    std::vector<std::string> argomenti{"diff"};
    argomenti.insert(argomenti.end(), caso.argomenti.begin(), caso.argomenti.end());
    const Esito esito = strumento(argomenti);
    EXPECT_EQ(esito.stato, 2);
    EXPECT_EQ(esito.uscita, "");
    EXPECT_NE(esito.errori.find(caso.nel_messaggio), std::string::npos) << esito.errori;

    argomenti.push_back("--json");
    const Esito json = strumento(argomenti);
    EXPECT_EQ(json.stato, 2);
    EXPECT_EQ(nlohmann::json::parse(json.uscita).at("exit_status").get<double>(), 2);
  }
}

// ---- The comparison on small tables: what description files rarely give ----

std::vector<std::string> testi(const std::vector<Differenza>& differenze) {
  std::vector<std::string> t;
  for (const Differenza& d : differenze) t.push_back(d.testo);
  return t;
}

// Six cells of plain track at 100 km/h, level.
std::vector<Cella> binario() {
  Cella piana;
  piana.velocita = 20;
  piana.pendenza = 100;
  return std::vector<Cella>(6, piana);
}

TEST(Confronto, PartsOfOneFileKindAndTracksOfTwoLengths) {
  struct Caso {
    const char* nome;
    LatoConfronto a, b;
    std::vector<std::string> attese;
  };
  std::vector<Caso> casi;
  {
    // Two scenario files alone: a sign text has no position.
    Caso c{"sign texts without cells", {}, {}, {"sign text: added (\"( Ponte )\")"}};
    c.a.record.emplace();
    c.b.record.emplace();
    (*c.b.record)[80].nome = "( Ponte )";
    casi.push_back(std::move(c));
  }
  {
    // A header field no role names keeps its stored name, under its record.
    Caso c{"header field without a role", {}, {}, {"record 84: tps 0 -> 3"}};
    c.a.record.emplace();
    c.b.record.emplace();
    (*c.b.record)[kRecordTestataTreno].tps = 3;
    casi.push_back(std::move(c));
  }
  {
    // Two track files alone: a stop marker points at a record by its index.
    Caso c{"stop marker without records", {}, {}, {"stop marker at 0.20 km: station record 3 -> 4"}};
    auto celle = binario();
    celle[3].tipo = kCellaFermata;
    celle[3].valore1 = 3;
    c.a.celle = celle;
    celle[3].valore1 = 4;
    c.b.celle = celle;
    casi.push_back(std::move(c));
  }
  {
    // The longer track: its cells added, and a signal on them.
    Caso c{"longer track", {}, {}, {}};
    auto celle = binario();
    c.a.celle = celle;
    celle.resize(8, celle.front());
    celle[7].tipo = kCellaSegnale;
    celle[7].valore1 = 41;
    c.b.celle = celle;
    c.attese = {"km 0.30-0.40: track added: 2 cells", "km 0.30-0.40: speed limit added: 100 km/h",
                "km 0.30-0.40: gradient added: 0 per mille", "km 0.30-0.40: adhesion added: 0",
                "km 0.30-0.40: mountain kind added: 0",
                "signal at 0.30 km: added (left kind 0, left aspects 4 0 0, right kind 0, right "
                "aspects 1 0 0, rapp 0, signal time 0)"};
    casi.push_back(std::move(c));
  }
  {
    // Cell 1 holds the track file's stamp and plain race code.
    Caso c{"track header", {}, {}, {"plain race code: 2494 -> 2495"}};
    auto celle = binario();
    celle[1].valore2 = 2494;
    c.a.celle = celle;
    celle[1].valore2 = 2495;
    c.b.celle = celle;
    casi.push_back(std::move(c));
  }
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(testi(confronta(caso.a, caso.b)), caso.attese);
  }
}

// Two traced profiles, one longer and bent at its end.
TEST(Confronto, TracedProfilesPointByPoint) {
  ProfiloLato a, b;
  a.origine = b.origine = ProfiloLato::Origine::tracciato;
  a.tracciato = {12, 10, {{9, false, 0.0}}};
  b.tracciato = {14, 12, {{7, false, 0.0}, {11, true, 0.01}}};
  std::vector<Differenza> differenze;
  confronta_profili(a, b, differenze);
  EXPECT_EQ(testi(differenze),
            (std::vector<std::string>{"profile length: 12 -> 14 points",
                                      "profile: 2 points differ, km 0.01-0.01, at most 0.03 m",
                                      "profile: 2 points added, km 0.01-0.01"}));
  ASSERT_EQ(differenze.size(), 3u);
  EXPECT_EQ(differenze[1].inizio_m, 8);
  EXPECT_EQ(differenze[1].fine_m, 9);
  EXPECT_EQ(differenze[2].inizio_m, 10);
  EXPECT_EQ(differenze[2].fine_m, 11);
}

}  // namespace
}  // namespace gs

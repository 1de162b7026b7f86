// scenario_tool dump: the listing in real units covers every record and cell,
// --raw shows the stored values, --json fits the published schemas and streams.
#include <algorithm>
#include <cstdio>
#include <array>
#include <cstddef>
#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "compiler/file_compilati.h"
#include "programmi.h"
#include "schema_json.h"
#include "tool/strumento.h"

namespace gs {
namespace {

using nlohmann::json;
using test::kCompilati;

// The embedded scenario compiled once for every test here, which only read it.
class Dump : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::CartellaTemporanea>();
    const std::string d = dir_->percorso().string();
    ASSERT_EQ(test::esegui_strumento({"init", d}).stato, 0);
    ASSERT_EQ(test::esegui_strumento({"compile", d}).stato, 0);
  }
  static void TearDownTestSuite() { dir_.reset(); }

  static std::string file(const std::string& nome) { return dir_->file(nome); }
  static const std::string& profilo() { return kCompilati[0]; }
  static const std::string& scenario() { return kCompilati[1]; }
  static const std::string& percorso() { return kCompilati[2]; }

  // The tool's standard output for `argomenti`, which must succeed.
  static std::string dump(const std::vector<std::string>& argomenti) {
    std::vector<std::string> tutti = {"dump"};
    tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
    const test::EsitoProgramma esito = test::esegui_strumento(tutti);
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    return esito.uscita;
  }

  static std::unique_ptr<test::CartellaTemporanea> dir_;
};

std::unique_ptr<test::CartellaTemporanea> Dump::dir_;

bool contiene(const std::string& testo, const std::string& parte) {
  return testo.find(parte) != std::string::npos;
}

std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> tutte;
  std::istringstream flusso(testo);
  for (std::string riga; std::getline(flusso, riga);) tutte.push_back(riga);
  return tutte;
}

// The cells each line of a track listing covers, in order: every cell must be
// covered by exactly one line. Returns how many cells the lines cover.
std::size_t controlla_copertura(const std::string& listato) {
  std::size_t prossima = 0;
  for (const std::string& riga : righe(listato)) {
    std::size_t prima = 0, ultima = 0;
    char trattino = 0;
    if (std::sscanf(riga.c_str(), "cells %zu%c%zu,", &prima, &trattino, &ultima) == 3 &&
        trattino == '-') {
    } else if (std::sscanf(riga.c_str(), "cell %zu,", &prima) == 1) {
      ultima = prima;
    } else {
      continue;
    }
    EXPECT_EQ(prima, prossima) << riga;
    EXPECT_LE(prima, ultima) << riga;
    prossima = ultima + 1;
  }
  return prossima;
}

TEST_F(Dump, EveryRecordIsListedByItsRoleInRealUnits) {
  const std::string testo = dump({file(scenario())});
  for (const char* riga : {
           "scenario file: 87 records (0-86)\n",
           "record 0, unused\n",
           "record 1, station: \"FIRENZE S.M.N.\", scheduled time 18:05:00\n"
           "  position 0 m (km 0.00), station kind 8, stop zone -400 to 400 m\n"
           "  tps 1, tab 0, mar 0, rd2 4, rd3 0, rap 0, d1 2, d2 1, d3 0, ac 1\n",
           "record 2, station: \"FIRENZE RIFREDI\", scheduled time 18:10:00\n"
           "  position 2,750 m (km 2.75), station kind 2, stop zone 2,450 to 3,100 m\n",
           "record 16, station: \"PISA C.le\", scheduled time 12:17:00\n",
           "records 17-77, empty\n",
           "record 80, sign: \"(  Km. ) (18.600)\"\n",
           "record 81, progressive three: first 0 m, second 0 m, flag 0\n",
           "record 83, progressive one: first 0 m, second 0 m, flag 0\n",
           "record 84, train header: braked mass 120 %, line length 82,000 m (km 82.00), coaches 6\n",
           "record 85, scenario header: code \"Brisca_Nolte\", backgrounds: one 1, two 0, three 0\n"
           "  compilation stamp 610, weighted race code 36124\n",
           "record 86, run header: train number \"52806\"\n"
           "  signal repetition 4,650 to 79,150 m, code count 4\n"
           "  sand 300, clock 18:06:40\n",
       }) {
    EXPECT_TRUE(contiene(testo, riga)) << riga << "\nnot in\n" << testo;
  }
}

TEST_F(Dump, EveryCellIsCoveredByExactlyOneLine) {
  const std::string testo = dump({file(percorso())});
  const std::string grezzo = dump({file(percorso()), "--raw"});
  EXPECT_EQ(controlla_copertura(testo), 1781u);
  EXPECT_EQ(controlla_copertura(grezzo), 1781u);
  for (const char* riga : {
           "track file: 1,781 cells (0-1780), 0-89,049 m\n",
           "\ncell 1, 50-99 m: plain, compilation stamp 5121, plain race code 2494, 30 km/h, "
           "0 per mille, adhesion 75\n",
           "\ncells 10-12, 500-649 m: plain, 115 km/h, 0 per mille, adhesion 75\n",
           "\ncell 7, 350-399 m: stop marker, station record 1, 30 km/h, +4 per mille, adhesion 75\n",
           // The speed board at 800 m: 105, 115, 120 on the left, none on the right.
           "\ncell 17, 850-899 m: speed indicator board, speeds 105/0, 115/0, 120/0 km/h "
           "(left/right), stripes 0/0, 115 km/h, 0 per mille, adhesion 75, approach mark 32\n",
           "\ncell 21, 1,050-1,099 m: signal, left kind 1 digits 4 1 0, right kind 0 digits 0 0 0, "
           "rapp 0, signal time 0, 115 km/h, 0 per mille, adhesion 75\n",
           "\ncell 372, 18,600-18,649 m: sign, text in record 80, ",
           // The cells past the route's end keep no track values.
           "\ncells 1778-1780, 88,900-89,049 m: plain, no speed limit, gradient or adhesion (all "
           "stored 0)\n",
       }) {
    EXPECT_TRUE(contiene(testo, riga)) << riga;
  }
  for (const char* riga : {
           "\ncell 1, 50-99 m: type=0 value1=5121 value2=2494 value3=0 value4=0 signal_time=0 "
           "approach_mark=0 mountain_kind=0 speed_limit=6 gradient=100 adhesion=75\n",
           "\ncells 10-12, 500-649 m: type=0 value1=0 value2=0 value3=0 value4=0 signal_time=0 "
           "approach_mark=0 mountain_kind=0 speed_limit=23 gradient=100 adhesion=75\n",
       }) {
    EXPECT_TRUE(contiene(grezzo, riga)) << riga;
  }
}

TEST_F(Dump, RawListsTheStoredFieldsOfEveryRecord) {
  const std::string grezzo = dump({file(scenario()), "--raw"});
  EXPECT_TRUE(contiene(grezzo, "\nrecord 85, scenario header: kind=0 stop_zone_start=1 "
                               "stop_zone_end=0 position=0 tps=0 name=\"Brisca_Nolte\" rd2=610 "));
  EXPECT_TRUE(contiene(grezzo, " scheduled_time=36124\n"));
  EXPECT_TRUE(contiene(grezzo, "\nrecords 17-77, empty\n"));
}

// Two listings differ wherever the files do: a value changed in one cell in
// the middle of a run splits the run and shows the new value.
TEST_F(Dump, AChangedCellValueShowsInTheListing) {
  const std::string originale = test::leggi_byte(file(percorso()));
  const std::string prima = dump({file(percorso())});
  struct Caso {
    std::size_t campo;  // byte within the cell
    char valore;
    const char* nella_riga;
  };
  const Caso casi[] = {
      {12, 20, "100 km/h"},          // speed limit
      {13, 98, "-2 per mille"},      // gradient
      {14, 70, "adhesion 70"},       // adhesion
      {11, 3, "mountain kind 3"},    // mountain kind
      {5, 7, "also stored: value3=7"},  // a value no plain cell uses
  };
  const std::size_t cella = 500;
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nella_riga);
    std::string byte = originale;
    byte[cella * 15 + caso.campo] = caso.valore;
    test::scrivi_byte(file("cambiato.dat"), byte);
    const std::string dopo = dump({file("cambiato.dat")});
    EXPECT_NE(dopo, prima);
    EXPECT_EQ(controlla_copertura(dopo), 1781u);
    const std::vector<std::string> tutte = righe(dopo);
    const auto trovata = std::find_if(tutte.begin(), tutte.end(), [](const std::string& r) {
      return r.rfind("cell 500, 25,000-25,049 m: ", 0) == 0;
    });
    ASSERT_NE(trovata, tutte.end());
    EXPECT_TRUE(contiene(*trovata, caso.nella_riga)) << *trovata;
    EXPECT_NE(dump({file("cambiato.dat"), "--raw"}), dump({file(percorso()), "--raw"}));
  }
}

json dump_json(const std::vector<std::string>& argomenti) {
  std::vector<std::string> tutti = {"dump"};
  tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
  tutti.push_back("--json");
  const test::EsitoProgramma esito = test::esegui_strumento(tutti);
  EXPECT_EQ(esito.stato, 0) << esito.errori;
  return json::parse(esito.uscita);
}

test::SchemaJson schema(const char* nome) {
  return test::SchemaJson(
      test::leggi_json(std::string(DIRECTORY_SORGENTE) + "/docs/schemas/" + nome));
}

std::string elenco(const std::vector<std::string>& errori) {
  std::string testo;
  for (std::size_t i = 0; i < errori.size() && i < 20; ++i) testo += errori[i] + "\n";
  return testo;
}

TEST_F(Dump, EveryJsonDocumentFitsItsSchema) {
  const struct {
    std::string file;
    const char* schema;
  } casi[] = {
      {scenario(), "dump-scenario.schema.json"},
      {percorso(), "dump-track.schema.json"},
      {profilo(), "dump-line-profile.schema.json"},
  };
  for (const auto& caso : casi) {
    const test::SchemaJson s = schema(caso.schema);
    for (const bool grezzo : {false, true}) {
      SCOPED_TRACE(caso.file + (grezzo ? " --raw" : ""));
      const json documento = grezzo ? dump_json({file(caso.file), "--raw"}) : dump_json({file(caso.file)});
      EXPECT_EQ(documento["format_version"], 1);
      EXPECT_EQ(elenco(s.errori(documento)), "");
    }
  }
}

TEST_F(Dump, JsonGivesRealUnitsUnderOneVocabulary) {
  const json sim = dump_json({file(scenario())});
  EXPECT_EQ(sim["kind"], "scenario");
  const json& stazione = sim["records"][1];
  EXPECT_EQ(stazione["kind"], "station");
  EXPECT_EQ(stazione["name"], "FIRENZE S.M.N.");
  EXPECT_EQ(stazione["scheduled_time"], "18:05:00");
  EXPECT_EQ(stazione["scheduled_time_s"], 65100);
  EXPECT_EQ(stazione["stop_zone_start_m"], -400);
  EXPECT_EQ(sim["records"][80]["text"], "(  Km. ) (18.600)");
  EXPECT_EQ(sim["records"][84]["line_length_m"], 82000);
  EXPECT_EQ(sim["records"][84]["braked_mass_percent"], 120);
  EXPECT_EQ(sim["records"][85]["code"], "Brisca_Nolte");
  EXPECT_EQ(sim["records"][85]["weighted_race_code"], 36124);
  const json& corsa = sim["records"][86];
  EXPECT_EQ(corsa["train_number"], "52806");
  EXPECT_EQ(corsa["clock"], "18:06:40");
  EXPECT_EQ(corsa["clock_hms"], json::parse("[18, 6, 40]"));
  EXPECT_EQ(corsa["signal_repetition_start_m"], 4650);
  EXPECT_EQ(corsa["signal_repetition_end_m"], 79150);
  EXPECT_EQ(corsa["signal_repetition_codes"], 4);
  EXPECT_FALSE(stazione.contains("stored"));

  const json dat = dump_json({file(percorso())});
  EXPECT_EQ(dat["kind"], "track");
  ASSERT_EQ(dat["cells"].size(), 1781u);
  const json& segnale = dat["cells"][21];
  EXPECT_EQ(segnale["position_m"], 1050);
  EXPECT_EQ(segnale["kind"], "signal");
  EXPECT_EQ(segnale["left_digits"], json::parse("[4, 1, 0]"));
  EXPECT_EQ(dat["cells"][17]["speed_pairs_kmh"], json::parse("[[105, 0], [115, 0], [120, 0]]"));
  EXPECT_EQ(dat["cells"][10]["speed_limit_kmh"], 115);
  EXPECT_EQ(dat["cells"][6]["gradient_permille"], 4);
  EXPECT_EQ(dat["cells"][1]["compilation_stamp"], 5121);
  EXPECT_TRUE(dat["cells"][1780]["gradient_permille"].is_null());
}

// Cells and records the embedded scenario lacks, and values where their kind
// uses none: each is named, and nothing stored is left out.
TEST_F(Dump, EveryKindOfCellAndRecordAndEveryStrayValueIsShown) {
  std::vector<Cella> celle(20);
  const auto cella = [&celle](std::size_t i, std::uint8_t tipo, std::int16_t v1, std::int16_t v2,
                              std::int16_t v3, std::int16_t v4) {
    celle[i].tipo = tipo;
    celle[i].valore1 = v1;
    celle[i].valore2 = v2;
    celle[i].valore3 = v3;
    celle[i].valore4 = v4;
  };
  cella(3, kCellaInizioRallentamento, 60, 1, 2, 0);
  cella(4, kCellaFineRallentamento, 60, 0, 0, 9);
  cella(5, kCellaAvvisoRallentamento, 60, 1, 0, 0);
  cella(6, kCellaAvvicinamentoRallentamento, 2, 2, 0, 0);
  cella(7, kCellaAbbattimento, 180, 0, 0, 0);
  cella(8, kCellaAbbattimentoSenzaValore, 0, 0, 0, 0);
  cella(9, kCellaMontagna, 0, 0, 0, 0);
  cella(10, 9, 1, 2, 3, 4);
  cella(11, kCellaSegnale, 43, 11, 0, 18);
  celle[11].tempo_segnale = 190;
  celle[12].aderenza = 5;  // a plain cell that holds a track value of its own
  test::scrivi_byte(file("sintetico.dat"), byte_file_percorso(celle));

  const std::string testo = dump({file("sintetico.dat")});
  EXPECT_EQ(controlla_copertura(testo), 20u);
  for (const char* riga : {
           "\ncell 3, 150-199 m: slowdown start, slowdown speed 60 km/h, d_v 1, f_tt 2, no speed",
           "\ncell 4, 200-249 m: slowdown end, slowdown speed 60 km/h, d_v 0, f_tt 0, no speed "
           "limit, gradient or adhesion (all stored 0), also stored: value4=9\n",
           "\ncell 5, 250-299 m: slowdown warning board, slowdown speed 60 km/h, d_v 1, no",
           "\ncell 6, 300-349 m: slowdown approach, step 2 before the warning board, d_v step 2, no",
           "\ncell 7, 350-399 m: abbattimento marker, value 180, no",
           "\ncell 8, 400-449 m: abbattimento marker without value, no",
           "\ncell 9, 450-499 m: mountain mark, no",
           "\ncell 10, 500-549 m: unknown type 9, no speed limit, gradient or adhesion (all stored "
           "0), also stored: value1=1 value2=2 value3=3 value4=4\n",
           "\ncell 11, 550-599 m: signal, left kind 2 digits 4 1 0, right kind 2 digits 3 1 0, "
           "rapp 1, signal time 190, ",
           "\ncell 12, 600-649 m: plain, 0 km/h, -100 per mille, adhesion 5\n",
           "\ncells 13-19, 650-999 m: plain, no speed",
       }) {
    EXPECT_TRUE(contiene(testo, riga)) << riga << "\nnot in\n" << testo;
  }
  const json dat = dump_json({file("sintetico.dat")});
  EXPECT_EQ(elenco(schema("dump-track.schema.json").errori(dat)), "");
  EXPECT_EQ(dat["cells"][4]["other_values"], json::parse(R"({"value4": 9})"));
  EXPECT_EQ(dat["cells"][10]["type_code"], 9);
  EXPECT_EQ(dat["cells"][12]["gradient_permille"], -100);

  std::array<Record, kNumeroRecord> record{};
  record[0].nome = "stray";
  record[40].nome = "a sign\nwith a line end";
  record[kRecordTestataScenario].rd3 = 5;
  test::scrivi_byte(file("sintetico.sim"), byte_file_scenario(record));
  const std::string sim = dump({file("sintetico.sim")});
  for (const char* riga : {
           "\nrecord 0, unused: also stored: name=\"stray\"\n",
           "\nrecords 1-39, empty\n",
           "\nrecord 40, sign: \"a sign\\nwith a line end\"\n",
           "\nrecords 41-80, empty\n",
           ", weighted race code 0, also stored: rd3=5\n",
       }) {
    EXPECT_TRUE(contiene(sim, riga)) << riga << "\nnot in\n" << sim;
  }
  const json scenario_json = dump_json({file("sintetico.sim")});
  EXPECT_EQ(elenco(schema("dump-scenario.schema.json").errori(scenario_json)), "");
  EXPECT_EQ(scenario_json["records"][0]["other_values"], json::parse(R"({"name": "stray"})"));
  EXPECT_EQ(scenario_json["records"][85]["other_values"], json::parse(R"({"rd3": 5})"));
}

// A file that is not its layout is refused with status 2 and a message, and
// nothing else: no listing begun, and with --json the one error object.
TEST_F(Dump, DamagedFilesAreRefusedCleanly) {
  const std::string sim = test::leggi_byte(file(scenario()));
  const std::string dat = test::leggi_byte(file(percorso()));
  const std::string linea = test::leggi_byte(file(profilo()));
  std::string etichetta_sbagliata = linea;
  etichetta_sbagliata[0] = 7;
  const struct {
    const char* nome;
    std::string byte;
  } casi[] = {
      {"corto.sim", sim.substr(0, sim.size() - 1)},
      {"lungo.sim", sim + '\0'},
      {"vuoto.sim", ""},
      {"corto.dat", dat.substr(0, dat.size() - 1)},
      {"lungo.dat", dat + std::string(14, '\0')},
      {"corto_linea.dat", linea.substr(0, linea.size() - 1)},
      {"etichetta_linea.dat", etichetta_sbagliata},
  };
  for (const auto& caso : casi) {
    test::scrivi_byte(file(caso.nome), caso.byte);
    for (const std::vector<std::string>& opzioni : std::vector<std::vector<std::string>>{
             {}, {"--raw"}, {"--json"}, {"--json", "--raw"}}) {
      std::vector<std::string> argomenti = {"dump", file(caso.nome)};
      argomenti.insert(argomenti.end(), opzioni.begin(), opzioni.end());
      SCOPED_TRACE(std::string(caso.nome) + " " + (opzioni.empty() ? "" : opzioni.front()));
      const test::EsitoProgramma esito = test::esegui_strumento(argomenti);
      EXPECT_EQ(esito.stato, 2);
      EXPECT_TRUE(contiene(esito.errori, "is not a compiled file")) << esito.errori;
      if (opzioni.empty() || opzioni.front() != "--json") {
        EXPECT_EQ(esito.uscita, "");
      } else {
        const json errore = json::parse(esito.uscita);
        EXPECT_TRUE(contiene(errore["error"].get<std::string>(), caso.nome)) << esito.uscita;
        EXPECT_EQ(errore["exit_status"], 2);
      }
    }
  }
}

// An output that notes the largest piece it is handed at once.
class Misura : public std::streambuf {
 public:
  std::size_t totale = 0;
  std::size_t pezzo_massimo = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    totale += static_cast<std::size_t>(n);
    pezzo_massimo = std::max(pezzo_massimo, static_cast<std::size_t>(n));
    return n;
  }
  int_type overflow(int_type c) override {
    ++totale;
    return traits_type::not_eof(c);
  }
};

// The profile's document (20 MB for the longest route) is handed on a block
// at a time as its points are decoded, never built whole first.
TEST_F(Dump, TheProfileJsonIsStreamedInBlocks) {
  Misura misura;
  std::ostream uscita(&misura);
  std::ostringstream errori;
  ASSERT_EQ(esegui_scenario_tool({"dump", file(profilo()), "--json"}, uscita, errori), 0)
      << errori.str();
  EXPECT_GT(misura.totale, 3'000'000u);
  EXPECT_LE(misura.pezzo_massimo, 256u * 1024u);
}

}  // namespace
}  // namespace gs

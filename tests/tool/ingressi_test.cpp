// Hostile inputs and outputs around the authors' tool: something other than a
// regular file where an input should be, inputs larger than their kind can
// be, standard output that cannot be written, bytes that would cut a message.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "compiler/formato_compilati.h"
#include "programmi.h"

namespace gs {
namespace {

namespace fs = std::filesystem;
using test::tra_apici;

// Runs the tool with `argomenti`, after `prima` (such as "timeout 10").
test::EsitoProgramma strumento(const std::string& argomenti, const std::string& prima = "") {
  const test::CartellaTemporanea registro;
  return test::esegui_comando(prima + " " + tra_apici(SCENARIO_TOOL_EXE) + " " + argomenti,
                              registro);
}

// A scenario of the tool's own, with its compiled files.
struct Scenario {
  Scenario() {
    EXPECT_EQ(strumento("init " + tra_apici(dir.percorso().string())).stato, 0);
    EXPECT_EQ(strumento("compile " + tra_apici(dir.percorso().string())).stato, 0);
  }
  std::string file(const std::string& nome) const { return dir.file(nome); }
  test::CartellaTemporanea dir;
};

// Each of these stands where an input should be: the tool names it and stops
// at once with status 2 instead of waiting or reading it.
TEST(Ingressi, ANonRegularFileAtAnInputNameIsRefusedAtOnce) {
  struct Caso {
    const char* nome;
    const char* file;
    std::string (*comando)(const Scenario&);
  };
  const auto compila = [](const Scenario& s) {
    return "compile " + tra_apici(s.dir.percorso().string());
  };
  const auto dump = [](const Scenario& s) { return "dump " + tra_apici(s.file("Brisca_Nolte_52806.dat")); };
  const Caso casi[] = {
      {"a FIFO as the line file", "Brisca_Nolte_linea.txt", +compila},
      {"a FIFO as the train file", "Brisca_Nolte_52806-.txt", +compila},
      {"a FIFO to dump", "Brisca_Nolte_52806.dat", +dump},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const Scenario scenario;
    const std::string percorso = scenario.file(caso.file);
    fs::remove(percorso);
    ASSERT_EQ(::mkfifo(percorso.c_str(), 0600), 0);
    const test::EsitoProgramma esito = strumento(caso.comando(scenario), "timeout 10");
    EXPECT_EQ(esito.stato, 2) << esito.errori;
    EXPECT_NE(esito.errori.find(caso.file), std::string::npos) << esito.errori;
    EXPECT_NE(esito.errori.find("FIFO"), std::string::npos) << esito.errori;
  }
  const Scenario scenario;
  const test::EsitoProgramma cartella = strumento("dump " + tra_apici(scenario.dir.percorso().string()));
  EXPECT_EQ(cartella.stato, 2);
  EXPECT_NE(cartella.errori.find("directory"), std::string::npos) << cartella.errori;
}

// A file larger than any compiled file of its kind is refused before it is
// read; one of unknown kind is held to the largest layout.
TEST(Ingressi, AnInputLargerThanItsKindCanBeIsRefusedUnread) {
  const Scenario scenario;
  const struct {
    const char* nome;
    std::uintmax_t dimensione;
  } casi[] = {
      {"Brisca_Nolte_52806.dat", formato::kByteMassimiPercorso + 15},
      {"Brisca_Nolte_52806.sim", formato::kByteMassimiScenario + 1},
      {"Brisca_Nolte_linea.dat", 200u << 20},
      {"qualcosa.bin", 200u << 20},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const std::string percorso = scenario.file(caso.nome);
    { std::ofstream crea(percorso, std::ios::binary | std::ios::trunc); }
    fs::resize_file(percorso, caso.dimensione);  // a sparse file of zero bytes
    const test::EsitoProgramma esito = strumento("dump " + tra_apici(percorso) + " --json");
    EXPECT_EQ(esito.stato, 2) << esito.errori;
    EXPECT_NE(esito.errori.find(std::to_string(caso.dimensione) + " bytes"), std::string::npos)
        << esito.errori;
    // With --json the failure is the one object on standard output.
    EXPECT_TRUE(nlohmann::json::parse(esito.uscita).at("error").get<std::string>().find("bytes") != std::string::npos)
        << esito.uscita;
  }
}

// Standard output that cannot take the bytes: a full disk and a closed pipe.
TEST(Ingressi, AFailedStandardOutputIsAnError) {
  const Scenario scenario;
  const std::string linea = tra_apici(scenario.file("Brisca_Nolte_linea.dat"));
  const test::CartellaTemporanea registro;
  const test::EsitoProgramma pieno =
      test::esegui_comando("( " + tra_apici(SCENARIO_TOOL_EXE) + " dump " + linea +
                               " --json >/dev/full )",
                           registro);
  EXPECT_EQ(pieno.stato, 2);
  EXPECT_NE(pieno.errori.find("cannot write the output"), std::string::npos) << pieno.errori;

  // The tool's status, not head's, read back through a file.
  const std::string stato = registro.file("stato");
  test::esegui_comando("{ " + tra_apici(SCENARIO_TOOL_EXE) + " dump " + linea +
                           " --json; echo $? >" + tra_apici(stato) + "; } | head -c 10",
                       registro);
  EXPECT_EQ(test::leggi_byte(stato), "2\n");
}

// The whole profile comes out in JSON, one [x, y] pair a point with a value.
TEST(Ingressi, TheProfileDumpCarriesEveryPoint) {
  const Scenario scenario;
  const test::EsitoProgramma esito =
      strumento("dump " + tra_apici(scenario.file("Brisca_Nolte_linea.dat")) + " --json");
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  const auto json = nlohmann::json::parse(esito.uscita);
  const auto& punti = json.at("points");
  ASSERT_EQ(punti.size(), static_cast<std::size_t>(json.at("assigned_count").get<double>()));
  EXPECT_EQ(json.at("point_count").get<double>(), 89001);
  EXPECT_EQ(punti.size(), 88999u);
  // The line starts at the origin heading along +y, one metre a point.
  EXPECT_EQ(punti.at(0).at(0).get<double>(), 0.0);
  EXPECT_EQ(punti.at(0).at(1).get<double>(), 0.0);
  EXPECT_EQ(punti.at(1).at(1).get<double>(), 1.0);
  EXPECT_EQ(punti.back().at(1).get<double>(), json.at("y_range_m").at(1).get<double>());
}

// A NUL or an escape byte in a description file reaches the message escaped,
// with what follows it; a file name in JSON stays the UTF-8 it is on disk.
TEST(Ingressi, ControlBytesAreEscapedAndFileNamesKeptInTheResult) {
  const test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento("init " + tra_apici(d) + " --code Città").stato, 0);
  const std::string treno = dir.file("Città_52806-.txt");
  std::string testo = test::leggi_byte(treno);
  const std::string campo = std::string("1\0x\x1b[2Jcoda", 12);
  const std::string sabbia = "sabbia,    300";
  ASSERT_NE(testo.find(sabbia), std::string::npos);
  testo.replace(testo.find(sabbia), sabbia.size(), "sabbia, " + campo);
  test::scrivi_byte(treno, testo);

  const test::EsitoProgramma esito = strumento("compile " + tra_apici(d) + " --json");
  EXPECT_EQ(esito.stato, 1) << esito.errori;
  const auto json = nlohmann::json::parse(esito.uscita);
  EXPECT_EQ(json.at("file").get<std::string>(), "Città_52806-.txt");
  ASSERT_FALSE(json.at("reason").is_null());
  const std::string motivo = json.at("reason").get<std::string>();
  EXPECT_NE(motivo.find("1\\0x\\x1b[2Jcoda"), std::string::npos) << motivo;
  EXPECT_EQ(motivo.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace gs

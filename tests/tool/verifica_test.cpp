// Author mistakes, each a one-line edit of the embedded scenario: check puts
// each at its file and line with its severity and code, and compile writes
// nothing for an error.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "programmi.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

using Esito = test::EsitoProgramma;

Esito strumento(const std::vector<std::string>& argomenti) {
  return test::esegui_strumento(argomenti);
}

constexpr const char* kLinea = "Brisca_Nolte_linea.txt";
constexpr const char* kTreno = "Brisca_Nolte_52806-.txt";

// Line `riga` (from 1) of a description file replaced, or removed when `nuova`
// is empty, or the file cut after it when `tronca` is set.
struct Modifica {
  const char* file;
  int riga;
  std::string nuova;
  bool rimuovi = false;
  bool tronca = false;
};

std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    const std::size_t fine = testo.find("\r\n", inizio);
    r.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 2;
  }
  return r;
}

void applica(const test::CartellaTemporanea& dir, const Modifica& m) {
  std::vector<std::string> r = righe(test::leggi_byte(dir.file(m.file)));
  const auto i = static_cast<std::size_t>(m.riga - 1);
  if (m.tronca) {
    r.resize(i + 1);
  } else if (m.rimuovi) {
    r.erase(r.begin() + static_cast<long>(i));
  } else {
    r[i] = m.nuova;
  }
  std::string testo;
  for (const auto& riga : r) testo += riga + "\r\n";
  test::scrivi_byte(dir.file(m.file), testo);
}

struct Attesa {
  const char* file;
  int riga;
  const char* gravita;
  const char* codice;
};

struct Caso {
  const char* nome;
  Modifica modifica;
  Attesa attesa;
};

const Caso kCasi[] = {
    {"misspelt station keyword", {kTreno, 38, "stazone,    2750,  2,  600,  0, 0, 1,  1,1,0,  4,1,1,   60,  18,10, 0, FIRENZE RIFREDI"},
     {kTreno, 38, "error", "unknown-keyword"}},
    {"misspelt [generale]", {kTreno, 4, "[genrale]"}, {kTreno, 4, "error", "missing-section"}},
    {"train file cut short", {kTreno, 60, "", false, true}, {kTreno, 60, "error", "missing-end"}},
    {"unclosed quote", {kTreno, 39, "stazione,    7400,  4,  500,  0, 0, 1,  1,1,0,  4,1,1,   30,  18,15, 0, \"FIRENZE CASCINE"},
     {kTreno, 39, "error", "unclosed-quote"}},
    {"speed limits out of order", {kTreno, 16, "velocita' limite , 1000    ,  115"},
     {kTreno, 16, "error", "out-of-order"}},
    {"signals out of order", {kTreno, 65, "segnale,   1100, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0"},
     {kTreno, 65, "warning", "out-of-order"}},
    {"no clock", {kTreno, 8, "", true}, {kTreno, 4, "warning", "missing-entry"}},
    {"no first speed limit", {kTreno, 12, "", true}, {kTreno, 4, "warning", "missing-entry"}},
    {"comma in a station name", {kTreno, 37, "stazione,      0,  8, 400,  1, 0, 0,   4,0,0,  2,1,0,  1, 18,05, 0, FIRENZE, S.M.N."},
     {kTreno, 37, "error", "text-cut-by-comma"}},
    {"UTF-8 in a station name", {kTreno, 37, "stazione,      0,  8, 400,  1, 0, 0,   4,0,0,  2,1,0,  1, 18,05, 0, CITT\xC3\x80"},
     {kTreno, 37, "error", "not-windows-1252"}},
    {"negative coach count", {kTreno, 5, "numero vetture,    -6"}, {kTreno, 5, "error", "out-of-range"}},
    {"gradient out of range", {kLinea, 23, "pendenza  , 14000   , 250"}, {kLinea, 23, "error", "out-of-range"}},
    {"last gradient out of range", {kLinea, 34, "pendenza  , 61000   , 250"},
     {kLinea, 34, "error", "out-of-range"}},
    {"stations out of order", {kTreno, 38, "stazione,    9400,  2,  600,  0, 0, 1,  1,1,0,  4,1,1,   60,  18,10, 0, FIRENZE RIFREDI"},
     {kTreno, 39, "error", "out-of-order"}},
    {"station beyond the track", {kTreno, 40, "stazione,   338000, 28,  400,  0, 0, 0,  0,0,0,  0,0,0,   30,  18,20, 0, S.DONNINO"},
     {kTreno, 40, "error", "beyond-track"}},
    {"no route length", {kLinea, 6, "", true}, {kLinea, 5, "error", "missing-entry"}},
    {"route shorter than its curves", {kLinea, 6, "lunghezza percorso,    60000"},
     {kLinea, 84, "error", "beyond-track"}},
    {"curve without its class", {kLinea, 37, "curvas,   700,  100"}, {kLinea, 37, "error", "out-of-range"}},
    {"mountain ending before it starts", {kLinea, 114, "montagna, 29200,29100,2"},
     {kLinea, 114, "error", "ends-before-start"}},
    {"a number too few", {kLinea, 15, "pendenza  , 300"}, {kLinea, 15, "error", "missing-value"}},
    {"not a number", {kLinea, 6, "lunghezza percorso,    82OOO"}, {kLinea, 6, "error", "not-a-number"}},
    {"station not on 50 m", {kTreno, 38, "stazione,    2775,  2,  600,  0, 0, 1,  1,1,0,  4,1,1,   60,  18,10, 0, FIRENZE RIFREDI"},
     {kTreno, 38, "error", "not-multiple"}},
    {"two signals on one cell", {kTreno, 63, "segnale,   1000, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0"},
     {kTreno, 63, "error", "signal-cell-taken"}},
    {"misspelt section header", {kTreno, 33, "[stazoni]"}, {kTreno, 33, "warning", "unknown-section"}},
    {"timetable backwards", {kTreno, 39, "stazione,    7400,  4,  500,  0, 0, 1,  1,1,0,  4,1,1,   30,  18, 5, 0, FIRENZE CASCINE"},
     {kTreno, 39, "warning", "time-backwards"}},
};

class ErroreDiAutore : public ::testing::TestWithParam<Caso> {};

TEST_P(ErroreDiAutore, IsFoundAtItsLine) {
  const Caso& caso = GetParam();
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  applica(dir, caso.modifica);

  const Esito esito = strumento({"check", d, "--json"});
  const auto json = nlohmann::json::parse(esito.uscita);
  bool trovata = false;
  bool errori = false;
  for (const auto& diagnostica : json.at("diagnostics")) {
    errori = errori || diagnostica.at("severity").get<std::string>() == "error";
    trovata = trovata || (diagnostica.at("file").get<std::string>() == caso.attesa.file &&
                          diagnostica.at("line").get<double>() == caso.attesa.riga &&
                          diagnostica.at("severity").get<std::string>() == caso.attesa.gravita &&
                          diagnostica.at("code").get<std::string>() == caso.attesa.codice);
  }
  EXPECT_TRUE(trovata) << esito.uscita;
  EXPECT_EQ(esito.stato, errori ? 1 : 0);
  if (!errori) {
    EXPECT_EQ(strumento({"check", d, "--strict"}).stato, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Modifiche, ErroreDiAutore, ::testing::ValuesIn(kCasi),
                         [](const auto& info) {
                           std::string nome;
                           for (const char c : std::string(info.param.nome)) {
                             nome += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return nome;
                         });

TEST(Verifica, TheEmbeddedScenarioChecksClean) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  const Esito esito = strumento({"check", d, "--strict", "--json"});
  EXPECT_EQ(esito.stato, 0) << esito.uscita;
  const auto json = nlohmann::json::parse(esito.uscita);
  EXPECT_TRUE(json.at("diagnostics").empty());
  EXPECT_TRUE(json.at("error_code").is_null());
}

// An error leaves the output folder exactly as it was: the earlier compiled
// files stay, nothing is added.
TEST(Verifica, ACompileWithAnErrorLeavesTheOutputFolderUntouched) {
  test::CartellaTemporanea dir;
  const std::string d = dir.percorso().string();
  ASSERT_EQ(strumento({"init", d}).stato, 0);
  ASSERT_EQ(strumento({"compile", d}).stato, 0);
  std::vector<std::string> prima;
  for (const auto& nome : test::kCompilati) prima.push_back(test::leggi_byte(dir.file(nome)));
  applica(dir, {kTreno, 63, "segnale,   1000, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0"});

  const Esito esito = strumento({"compile", d});
  EXPECT_EQ(esito.stato, 1);
  EXPECT_NE(esito.errori.find("not compiled"), std::string::npos) << esito.errori;
  EXPECT_EQ(esito.uscita.find("compiled"), std::string::npos) << esito.uscita;
  for (std::size_t i = 0; i < test::kCompilati.size(); ++i) {
    EXPECT_EQ(test::leggi_byte(dir.file(test::kCompilati[i])), prima[i]) << test::kCompilati[i];
  }
}

// The catalogue in docs/ is the tables' own, as explain writes it.
TEST(Verifica, TheErrorCatalogueIsTheTablesOwn) {
  std::ostringstream generato;
  scrivi_catalogo(generato);
  EXPECT_EQ(test::leggi_byte(std::string(DIRECTORY_SORGENTE) + "/docs/errors.md"), generato.str())
      << "docs/errors.md is stale: scenario_tool explain --all --markdown > docs/errors.md";
}

}  // namespace
}  // namespace gs

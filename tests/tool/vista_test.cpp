#include "tool/vista.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "aiuti_test.h"
#include "base/nomi_file.h"
#include "programmi.h"

namespace gs {
namespace {

using nlohmann::json;

const std::string kLinea = test::kDescrizioni[0];
const std::string kTreno = test::kDescrizioni[1];

// A folder holding the embedded scenario's description files.
class ScenarioInCartella {
 public:
  ScenarioInCartella() {
    const test::EsitoProgramma esito = test::esegui_strumento({"init", dir_.percorso().string()});
    EXPECT_EQ(esito.stato, 0) << esito.errori;
  }

  // Line `riga` (from 1) of description file `nome` replaced, or, with
  // `inserisci`, the text put before it.
  void cambia_riga(const std::string& nome, std::size_t riga, const std::string& testo,
                   bool inserisci = false) {
    bool crlf = true;
    std::vector<std::string> righe = test::righe_crlf(test::leggi_byte(dir_.file(nome)), &crlf);
    if (inserisci) {
      righe.insert(righe.begin() + static_cast<std::ptrdiff_t>(riga - 1), testo);
    } else {
      righe.at(riga - 1) = testo;
    }
    std::string byte;
    for (const std::string& r : righe) byte += r + "\r\n";
    test::scrivi_byte(dir_.file(nome), byte);
  }

  json modello() const { return json::parse(testo_modello()); }
  std::string testo_modello() const { return modello_vista(dir_.cartella(), identita_incorporata()); }
  const test::CartellaTemporanea& dir() const { return dir_; }

 private:
  test::CartellaTemporanea dir_;
};

// The first feature of `lista` whose `chiave` is `valore`.
json trova(const json& lista, const std::string& chiave, const json& valore) {
  for (const json& f : lista) {
    if (f.at(chiave) == valore) return f;
  }
  ADD_FAILURE() << "no feature with " << chiave << " = " << valore;
  return json::object();
}

TEST(ModelloVista, TheEmbeddedScenarioCompilesWithNoDiagnostic) {
  const json m = ScenarioInCartella().modello();
  EXPECT_EQ(m.at("format_version"), 1);
  EXPECT_EQ(m.at("scenario").at("code"), "Brisca_Nolte");
  EXPECT_EQ(m.at("scenario").at("train"), "52806");
  EXPECT_EQ(m.at("compile").at("ok"), true);
  EXPECT_TRUE(m.at("compile").at("error_code").is_null());
  EXPECT_TRUE(m.at("diagnostics").empty());
  EXPECT_EQ(m.at("route_length"), 82000);
  EXPECT_EQ(m.at("cell_count"), 1781);
  EXPECT_EQ(m.at("track_length"), 1781 * 50);
  EXPECT_EQ(m.at("stations").size(), 16u);
  EXPECT_EQ(m.at("signals").size(), 42u);
  EXPECT_EQ(m.at("boards").size(), 19u);
  EXPECT_EQ(m.at("signs").size(), 3u);
  EXPECT_EQ(m.at("speed_limits").size(), 20u);
  EXPECT_TRUE(m.at("slowdowns").empty());
  EXPECT_TRUE(m.at("markers").empty());
}

// Each feature in real units, at the file and line of the entry it comes from.
TEST(ModelloVista, EveryFeatureCarriesItsValuesAndTheLineItComesFrom) {
  const json m = ScenarioInCartella().modello();
  struct Caso {
    const char* elenco;
    const char* chiave;
    json valore;
    json atteso;  // the members the feature must have, with these values
  };
  const Caso casi[] = {
      {"signals", "position", 1000,
       {{"cell", 21}, {"file", kTreno}, {"line", 61},
        {"left", {{"kind", 1}, {"aspects", {4, 1, 0}}}},
        {"right", {{"kind", 0}, {"aspects", {0, 0, 0}}}}, {"rapp", 0}}},
      {"signals", "position", 74800, {{"line", 107}, {"time", 190}}},
      {"signals", "position", 79150, {{"line", 110}, {"rapp", 1}}},
      {"boards", "position", 800,
       {{"cell", 17}, {"file", kLinea}, {"line", 93}, {"left_kmh", {105, 115, 120}},
        {"right_kmh", {0, 0, 0}}}},
      {"boards", "position", 66200,
       {{"line", 110}, {"left_kmh", {140, 150, 150}}, {"right_kmh", {120, 130, 135}}}},
      {"stations", "name", "FIRENZE S.M.N.",
       {{"position", 0}, {"stop_start", -400}, {"stop_end", 400}, {"time", "18:05:00"},
        {"file", kTreno}, {"line", 37}}},
      {"stations", "name", "S.DONNINO",
       {{"position", 11950}, {"time", "18:20:00"}, {"time_seconds", 66000}, {"line", 40}}},
      {"signs", "position", 22100,
       {{"text", "( Ponte  ) (su fiume) (  Arno  )"}, {"file", kLinea}, {"line", 120}}},
      {"mountains", "start", 29100, {{"end", 29200}, {"kind", 2}, {"line", 114}}},
      {"speed_limits", "from", 0, {{"to", 500}, {"kmh", 30}, {"file", kTreno}, {"line", 12}}},
      // 2760 m lands on the cell that starts at 2750 m.
      {"speed_limits", "from", 2750, {{"to", 7400}, {"kmh", 95}, {"line", 14}}},
      {"gradients", "from", 4000, {{"to", 4600}, {"per_mille", -4}, {"file", kLinea}, {"line", 19}}},
      // Before the first gradient entry the track is level, set by no line.
      {"gradients", "from", 0, {{"to", 300}, {"per_mille", 0}, {"file", nullptr}, {"line", nullptr}}},
      {"adhesion", "from", 0, {{"value", 75}, {"line", 10}}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.elenco) + " " + c.valore.dump());
    const json f = trova(m.at(c.elenco), c.chiave, c.valore);
    for (const auto& [chiave, valore] : c.atteso.items()) EXPECT_EQ(f.value(chiave, json()), valore) << chiave;
  }
}

TEST(ModelloVista, RunsCoverTheLineWithoutGapsAndCellsEveryCell) {
  const json m = ScenarioInCartella().modello();
  for (const char* elenco : {"speed_limits", "gradients", "adhesion"}) {
    SCOPED_TRACE(elenco);
    std::int64_t fino_a = 0;
    for (const json& t : m.at(elenco)) {
      EXPECT_EQ(t.at("from"), fino_a);
      fino_a = t.at("to");
    }
    EXPECT_EQ(fino_a, (1781 - 3) * 50);  // the last three cells carry no line data
  }
  std::int64_t celle = 0;
  for (const json& r : m.at("cells").at("runs")) {
    EXPECT_EQ(r.at(0), celle);
    celle += r.at(1).get<std::int64_t>();
    if (r.at(0) == 21) {
      EXPECT_EQ(r.at(2), 1) << "the signal at 1000 m is on cell 21";
    }
  }
  EXPECT_EQ(celle, 1781);
  EXPECT_EQ(m.at("cells").at("type_names").at("1"), "signal");
}

TEST(ModelloVista, ThePlanIsThinnedToAFewThousandPoints) {
  const json m = ScenarioInCartella().modello();
  const json& pianta = m.at("plan");
  const std::size_t n = pianta.at("m").size();
  EXPECT_EQ(pianta.at("x").size(), n);
  EXPECT_EQ(pianta.at("y").size(), n);
  EXPECT_GT(n, 1000u);
  EXPECT_LE(n, 8001u);
  EXPECT_EQ(pianta.at("m").front(), 0);
  EXPECT_EQ(pianta.at("step"), 50);
  EXPECT_GT(pianta.at("m").back().get<double>(), 82000);
}

TEST(ModelloVista, TextIsWindows1252InTheFilesAndUtf8InTheModel) {
  ScenarioInCartella s;
  s.cambia_riga(kTreno, 40, "stazione,   11950, 28,  400,  0, 0, 0,  0,0,0,  0,0,0,   30,  18,20, 0, CITT\xC0 \x80");
  const json m = s.modello();  // parsing fails on bytes that are not UTF-8
  EXPECT_EQ(trova(m.at("stations"), "line", 40).at("name"), "CITT\xC3\x80 \xE2\x82\xAC");
}

// A scenario error is in the model, at its line, and what was read before it
// is still there.
TEST(ModelloVista, AScenarioErrorIsADiagnosticNeverAThrow) {
  ScenarioInCartella s;
  s.cambia_riga(kTreno, 64, "segnale,    4600,   2, 4, 1,  0, 0,    2,  3,1,0, 0", true);
  json m;
  ASSERT_NO_THROW(m = s.modello());
  const json& esito = m.at("compile");
  EXPECT_EQ(esito.at("ok"), false);
  EXPECT_EQ(esito.at("error_code"), 16);
  EXPECT_EQ(esito.at("error_name"), "signal-cell-taken");
  EXPECT_EQ(esito.at("file"), kTreno);
  EXPECT_EQ(esito.at("line"), 64);
  const json d = trova(m.at("diagnostics"), "code", "signal-cell-taken");
  EXPECT_EQ(d.at("severity"), "error");
  EXPECT_EQ(d.at("line"), 64);
  EXPECT_EQ(d.at("position"), 4600);
  EXPECT_GE(m.at("errors").get<int>(), 1);
  EXPECT_EQ(m.at("stations").size(), 16u);
  EXPECT_EQ(trova(m.at("signals"), "position", 4600).at("line"), 63);
}

TEST(ModelloVista, AMissingOrUnreadableFileIsADiagnosticOfThatFile) {
  struct Caso {
    std::vector<std::string> tolti;
  };
  for (const Caso& c : {Caso{{kTreno}}, Caso{{kLinea}}, Caso{{kLinea, kTreno}}}) {
    ScenarioInCartella s;
    for (const std::string& nome : c.tolti) {
      std::filesystem::remove(s.dir().file(nome));
      std::filesystem::create_directory(s.dir().file(nome));  // a directory is no file either
    }
    json m;
    ASSERT_NO_THROW(m = s.modello());
    EXPECT_EQ(m.at("compile").at("ok"), false);
    ASSERT_EQ(m.at("diagnostics").size(), c.tolti.size());
    for (std::size_t i = 0; i < c.tolti.size(); ++i) {
      const json& d = m.at("diagnostics").at(i);
      EXPECT_EQ(d.at("file"), c.tolti[i]);
      EXPECT_EQ(d.at("code"), "unreadable-file");
      EXPECT_EQ(d.at("severity"), "error");
    }
    EXPECT_TRUE(m.at("signals").empty());
    EXPECT_TRUE(m.at("cells").at("runs").empty());
    EXPECT_TRUE(m.at("plan").is_null());
  }
}

// The model inside the page: an author's text cannot end its script element.
TEST(PaginaVista, TheModelInsideThePageReadsBackWhateverTheTextHolds) {
  ScenarioInCartella s;
  s.cambia_riga(kTreno, 40,
                "stazione,   11950, 28,  400,  0, 0, 0,  0,0,0,  0,0,0,   30,  18,20, 0, "
                "</script><!--<script>/*@SCRIPT@*/");
  const std::string modello = s.testo_modello();
  const std::string pagina = pagina_vista_autonoma(modello);
  const std::string apertura = "<script id=\"modello\" type=\"application/json\">";
  const auto inizio = pagina.find(apertura);
  ASSERT_NE(inizio, std::string::npos);
  const auto da = inizio + apertura.size();
  const auto fine = pagina.find("</script>", da);
  EXPECT_EQ(json::parse(pagina.substr(da, fine - da)), json::parse(modello));
  EXPECT_EQ(pagina.find("/*@STILE@*/"), std::string::npos);
  EXPECT_NE(pagina.find("window.vista"), std::string::npos);
}

TEST(PaginaVista, TheServedPageFetchesItsModel) {
  const std::string pagina = pagina_vista();
  EXPECT_EQ(pagina.find("id=\"modello\""), std::string::npos);
  for (const char* segnaposto : {"@STILE@", "@SCRIPT@", "@MODELLO@"}) {
    EXPECT_EQ(pagina.find(segnaposto), std::string::npos) << segnaposto;
  }
  EXPECT_NE(pagina.find("/model.json"), std::string::npos);
  EXPECT_NE(pagina.find("/events"), std::string::npos);
}

TEST(PlotHtml, WritesTheViewerWithTheModelInside) {
  ScenarioInCartella s;
  const std::string dir = s.dir().percorso().string();
  const test::EsitoProgramma esito = test::esegui_strumento({"plot", dir, "--html"});
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  const std::string pagina = test::leggi_byte(s.dir().file("Brisca_Nolte_52806.html"));
  EXPECT_EQ(pagina, pagina_vista_autonoma(s.testo_modello()));
}

TEST(PlotHtml, CompiledFilesAloneGiveFeaturesWithoutSourceLines) {
  ScenarioInCartella s;
  const std::string dir = s.dir().percorso().string();
  ASSERT_EQ(test::esegui_strumento({"compile", dir}).stato, 0);
  for (const std::string& nome : test::kDescrizioni) std::filesystem::remove(s.dir().file(nome));
  const std::string uscita = s.dir().file("vista.html");
  const test::EsitoProgramma esito = test::esegui_strumento({"plot", dir, "--html", "-o", uscita});
  ASSERT_EQ(esito.stato, 0) << esito.errori;
  const std::string pagina = test::leggi_byte(uscita);
  const std::string apertura = "<script id=\"modello\" type=\"application/json\">";
  const auto da = pagina.find(apertura) + apertura.size();
  const json m = json::parse(pagina.substr(da, pagina.find("</script>", da) - da));
  EXPECT_EQ(m.at("scenario").at("source"), "compiled files");
  const json segnale = trova(m.at("signals"), "cell", 21);
  EXPECT_EQ(segnale.at("position"), 1000);
  EXPECT_TRUE(segnale.at("line").is_null());
  EXPECT_EQ(m.at("stations").size(), 16u);
}

}  // namespace
}  // namespace gs

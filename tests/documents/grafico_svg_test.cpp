#include "documents/grafico_svg.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace gs {
namespace {

// ---------------------------------------------------------------------------
// A small XML checker: enough of XML 1.0 to tell a document that a parser
// would refuse, plus the rule that geometry attributes hold only numbers.

struct EsitoXml {
  std::string errore;              // empty when the document is well-formed
  std::vector<std::string> testi;  // the text of every <text>, entities resolved
};

bool utf8_valido(std::string_view byte) {
  for (std::size_t i = 0; i < byte.size();) {
    const auto primo = static_cast<unsigned char>(byte[i]);
    const std::size_t lunghezza = primo < 0x80    ? 1
                                  : primo >= 0xF5 ? 0
                                  : primo >= 0xF0 ? 4
                                  : primo >= 0xE0 ? 3
                                  : primo >= 0xC2 ? 2
                                                  : 0;
    if (lunghezza == 0 || i + lunghezza > byte.size()) return false;
    char32_t c = lunghezza == 1 ? primo : primo & (0x7F >> lunghezza);
    for (std::size_t k = 1; k < lunghezza; ++k) {
      const auto seguito = static_cast<unsigned char>(byte[i + k]);
      if ((seguito & 0xC0) != 0x80) return false;
      c = (c << 6) | (seguito & 0x3F);
    }
    const char32_t minimo = lunghezza == 2   ? 0x80
                            : lunghezza == 3 ? 0x800
                            : lunghezza == 4 ? 0x10000
                                             : 0;
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c < 0x20 && c != '\n' && c != '\t' && c != '\r') return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    i += lunghezza;
  }
  return true;
}

// Character data with its entities resolved; false when an '&' starts no
// known entity or a '<' stands in it.
bool risolvi_entita(std::string_view dati, std::string& risolto) {
  static const std::pair<std::string_view, std::string_view> kEntita[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}};
  for (std::size_t i = 0; i < dati.size();) {
    if (dati[i] == '<') return false;
    if (dati[i] != '&') {
      risolto += dati[i++];
      continue;
    }
    bool trovata = false;
    for (const auto& [nome, valore] : kEntita) {
      if (dati.substr(i, nome.size()) == nome) {
        risolto += valore, i += nome.size(), trovata = true;
        break;
      }
    }
    if (trovata) continue;
    if (dati.substr(i, 2) != "&#") return false;
    const std::size_t fine = dati.find(';', i);
    if (fine == std::string_view::npos || fine == i + 2) return false;
    for (std::size_t k = i + 2; k < fine; ++k) {
      if (dati[k] < '0' || dati[k] > '9') return false;
    }
    risolto += '?';  // a character reference; these tests do not need its value
    i = fine + 1;
  }
  return true;
}

bool attributo_geometrico(std::string_view nome) {
  for (const std::string_view g : {"x", "y", "x1", "y1", "x2", "y2", "cx", "cy", "r", "width",
                                   "height", "points", "d", "viewBox"}) {
    if (nome == g) return true;
  }
  return false;
}

bool solo_numeri(std::string_view valore) {
  return valore.find_first_not_of("0123456789.-, MVHLhvlz") == std::string_view::npos;
}

// Reads the attributes of a start tag; an error text when they are malformed.
std::string controlla_attributi(std::string_view attributi) {
  std::size_t i = 0;
  while (true) {
    while (i < attributi.size() && attributi[i] == ' ') ++i;
    if (i == attributi.size()) return {};
    const std::size_t uguale = attributi.find('=', i);
    if (uguale == std::string_view::npos || uguale + 1 >= attributi.size() ||
        attributi[uguale + 1] != '"') {
      return "attribute without a quoted value";
    }
    const std::string_view nome = attributi.substr(i, uguale - i);
    const std::size_t chiusa = attributi.find('"', uguale + 2);
    if (chiusa == std::string_view::npos) return "unterminated attribute value";
    const std::string_view valore = attributi.substr(uguale + 2, chiusa - uguale - 2);
    std::string risolto;
    if (!risolvi_entita(valore, risolto))
      return "bad character data in attribute " + std::string(nome);
    if (attributo_geometrico(nome) && !solo_numeri(valore)) {
      return "attribute " + std::string(nome) +
             " is not numeric: " + std::string(valore.substr(0, 40));
    }
    i = chiusa + 1;
  }
}

EsitoXml controlla_xml(const std::string& documento) {
  EsitoXml esito;
  if (!utf8_valido(documento)) return {"not UTF-8, or a character XML does not allow", {}};
  std::vector<std::string> aperti;
  bool radice_vista = false;
  std::string testo_corrente;
  for (std::size_t i = 0; i < documento.size();) {
    if (documento[i] != '<') {
      const std::size_t fine = std::min(documento.find('<', i), documento.size());
      std::string risolto;
      if (!risolvi_entita(std::string_view(documento).substr(i, fine - i), risolto))
        return {"bad text", {}};
      if (aperti.empty() && risolto.find_first_not_of(" \n") != std::string::npos) {
        return {"text outside the root", {}};
      }
      testo_corrente += risolto;
      i = fine;
      continue;
    }
    const std::size_t chiude = documento.find('>', i);
    if (chiude == std::string::npos) return {"unterminated tag", {}};
    std::string_view tag = std::string_view(documento).substr(i + 1, chiude - i - 1);
    i = chiude + 1;
    if (!tag.empty() && tag.front() == '/') {
      if (aperti.empty() || aperti.back() != tag.substr(1))
        return {"mismatched </" + std::string(tag.substr(1)) + ">", {}};
      if (aperti.back() == "text") esito.testi.push_back(testo_corrente);
      aperti.pop_back();
      continue;
    }
    const bool vuoto = !tag.empty() && tag.back() == '/';
    if (vuoto) tag.remove_suffix(1);
    const std::size_t spazio = std::min(tag.find(' '), tag.size());
    const std::string nome(tag.substr(0, spazio));
    if (nome.empty() || nome.find_first_of("<&\"=") != std::string::npos)
      return {"bad tag name", {}};
    if (const std::string e = controlla_attributi(tag.substr(spazio)); !e.empty()) return {e, {}};
    if (aperti.empty()) {
      if (radice_vista) return {"a second root element", {}};
      if (nome != "svg") return {"the root is not <svg>", {}};
      radice_vista = true;
    }
    if (!vuoto) aperti.push_back(nome);
    testo_corrente.clear();
  }
  if (!aperti.empty()) return {"<" + aperti.back() + "> is never closed", {}};
  if (!radice_vista) return {"no root element", {}};
  return esito;
}

bool contiene(const std::vector<std::string>& testi, std::string_view cercato) {
  for (const auto& t : testi) {
    if (t.find(cercato) != std::string::npos) return true;
  }
  return false;
}

std::size_t conta(const std::string& testo, std::string_view cercato) {
  std::size_t n = 0;
  for (std::size_t i = testo.find(cercato); i != std::string::npos; i = testo.find(cercato, i + 1))
    ++n;
  return n;
}

// ---------------------------------------------------------------------------
// Scenarios.

ProfiloLinea profilo_dritto(std::int32_t punti) {
  ProfiloLinea profilo;
  for (std::int32_t m = 0; m < punti; ++m) {
    profilo.x.push_back(m < 1000 ? 0.0 : 0.1 * (m - 1000));
    profilo.y.push_back(m);
  }
  profilo.assegnati = punti;
  return profilo;
}

void poni(Cella& cella, std::uint8_t tipo, std::int16_t valore1) {
  cella.tipo = tipo;
  cella.valore1 = valore1;
}

// A 2 km track with one of everything: a station, a signal, a speed board, a
// slowdown with its warning board, two abbattimento markers, a sign, a
// mountain stretch, speed limits, gradients and the plan.
ScenarioCompilato scenario_piccolo() {
  ScenarioCompilato s;
  s.celle.resize(41);
  for (std::size_t k = 0; k + 3 < s.celle.size(); ++k) {
    s.celle[k].velocita = k < 12 ? 16 : 24;
    s.celle[k].pendenza = k < 20 ? 104 : 97;
  }
  s.record[1] = Record{8, 300, 700, 500, 1, "CAMPO DI SOTTO", 0, 0, 0, 0, 0, 0, 1, 0, 0, 65100};
  s.record[80].nome = "(  Km. ) (1.700)";
  poni(s.celle[10], kCellaSegnale, 42);
  poni(s.celle[14], kCellaIndicatoreVelocita, 2100);
  s.celle[14].valore2 = 2300, s.celle[14].valore3 = 2400;
  poni(s.celle[20], kCellaAvvisoRallentamento, 60);
  poni(s.celle[24], kCellaInizioRallentamento, 60);
  poni(s.celle[28], kCellaFineRallentamento, 60);
  poni(s.celle[30], kCellaAbbattimento, 180);
  poni(s.celle[32], kCellaAbbattimentoSenzaValore, 0);
  poni(s.celle[34], kCellaCartello, 80);
  for (std::size_t k = 5; k <= 7; ++k) s.celle[k].montagna = 2;
  s.profilo = profilo_dritto(2000);
  return s;
}

void controlla_ben_formato(const std::string& svg, const std::string& caso) {
  const EsitoXml esito = controlla_xml(svg);
  EXPECT_EQ(esito.errore, "") << caso;
  EXPECT_EQ(svg.rfind("<svg ", 0), 0u) << caso;
}

// ---------------------------------------------------------------------------

TEST(GraficoSvg, DrawsEveryFeatureOfTheTables) {
  const std::string svg = grafico_svg(scenario_piccolo(), "Campo 1");
  const EsitoXml esito = controlla_xml(svg);
  ASSERT_EQ(esito.errore, "");
  EXPECT_NE(svg.find("viewBox=\"0 0 "), std::string::npos);
  for (const char* atteso : {"Campo 1", "CAMPO DI SOTTO", "( Km. ) (1.700)", "60 km/h",
                             "105/115/120", "1 stations", "1 signals", "1 slowdowns", "1 signs"}) {
    EXPECT_TRUE(contiene(esito.testi, atteso)) << atteso;
  }
  EXPECT_NE(svg.find("class=\"traccia\""), std::string::npos);
}

// Each feature draws marks of its own: take it out of the tables and its
// class is used less often (the legend keeps one of each).
TEST(GraficoSvg, EachFeatureHasItsOwnMarks) {
  struct Caso {
    const char* nome;
    std::function<void(ScenarioCompilato&)> togli;
    const char* classe;
  };
  const Caso casi[] = {
      {"station", [](ScenarioCompilato& s) { s.record[1] = Record{}; }, "class=\"fermata\""},
      {"signal", [](ScenarioCompilato& s) { s.celle[10].tipo = kCellaLibera; }, "class=\"asta\""},
      {"speed board", [](ScenarioCompilato& s) { s.celle[14].tipo = kCellaLibera; },
       "class=\"indicatore\""},
      {"slowdown", [](ScenarioCompilato& s) { s.celle[24].tipo = s.celle[28].tipo = kCellaLibera; },
       "class=\"rallentamento\""},
      {"warning board", [](ScenarioCompilato& s) { s.celle[20].tipo = kCellaLibera; },
       "class=\"avviso\""},
      {"marker with value", [](ScenarioCompilato& s) { s.celle[30].tipo = kCellaLibera; },
       "class=\"abbattimento\""},
      {"marker without value", [](ScenarioCompilato& s) { s.celle[32].tipo = kCellaLibera; },
       "class=\"abbattimento0\""},
      {"sign", [](ScenarioCompilato& s) { s.celle[34].tipo = kCellaLibera; }, "class=\"cartello\""},
      {"mountain",
       [](ScenarioCompilato& s) {
         for (auto& c : s.celle) c.montagna = 0;
       },
       "class=\"montagna\""},
      {"uphill",
       [](ScenarioCompilato& s) {
         for (auto& c : s.celle) c.pendenza = std::min<int>(c.pendenza, 100);
       },
       "class=\"salita\""},
      {"downhill",
       [](ScenarioCompilato& s) {
         for (auto& c : s.celle) c.pendenza = std::max<int>(c.pendenza, 100);
       },
       "class=\"discesa\""},
  };
  const std::string completo = grafico_svg(scenario_piccolo(), "t");
  for (const auto& caso : casi) {
    ScenarioCompilato senza = scenario_piccolo();
    caso.togli(senza);
    const std::string svg = grafico_svg(senza, "t");
    EXPECT_LT(conta(svg, caso.classe), conta(completo, caso.classe)) << caso.nome;
    controlla_ben_formato(svg, caso.nome);
  }
}

TEST(GraficoSvg, WritesNamesEscapedAndAsUtf8) {
  ScenarioCompilato s = scenario_piccolo();
  s.record[1].nome = "A&B <C> \"D\" 'E' CITT\xC0 \x80\x99";
  s.record[80].nome = "Km <&> \x93x\x94";
  const std::string svg = grafico_svg(s, "Titolo & <co> \xC3\xA8");
  const EsitoXml esito = controlla_xml(svg);
  ASSERT_EQ(esito.errore, "");
  EXPECT_TRUE(contiene(esito.testi, "A&B <C> \"D\" 'E' CITT\xC3\x80 \xE2\x82\xAC\xE2\x84\xA2"));
  EXPECT_TRUE(contiene(esito.testi, "Km <&> \xE2\x80\x9Cx\xE2\x80\x9D"));
  EXPECT_TRUE(contiene(esito.testi, "Titolo & <co> \xC3\xA8"));
}

TEST(GraficoSvg, ShowsBytesThatAreNoTextAsReplacementCharacters) {
  ScenarioCompilato s = scenario_piccolo();
  s.record[1].nome = std::string("NUL\0BEL\x07", 8);
  const std::string svg = grafico_svg(s, "bad \xFF\xC0\x80 \xED\xA0\x80 end");
  const EsitoXml esito = controlla_xml(svg);
  ASSERT_EQ(esito.errore, "");
  EXPECT_TRUE(contiene(esito.testi,
                       "NUL\xEF\xBF\xBD"
                       "BEL\xEF\xBF\xBD"));
  EXPECT_TRUE(contiene(esito.testi, "bad \xEF\xBF\xBD"));
  EXPECT_TRUE(contiene(esito.testi, " end"));
}

TEST(GraficoSvg, LongNamesAreCutWithAnEllipsis) {
  ScenarioCompilato s = scenario_piccolo();
  s.record[1].nome = std::string(5000, 'N');
  const EsitoXml esito = controlla_xml(grafico_svg(s, "t"));
  ASSERT_EQ(esito.errore, "");
  EXPECT_TRUE(contiene(esito.testi, std::string(10, 'N') + "\xE2\x80\xA6"));
  EXPECT_FALSE(contiene(esito.testi, std::string(100, 'N')));
}

// A record that a sign cell points to is a sign text, not a station; a sign
// cell that points outside the sign records is left out.
TEST(GraficoSvg, TellsStationsFromSignTextsAndSkipsBadSignIndexes) {
  ScenarioCompilato s = scenario_piccolo();
  s.record[2].nome = "TESTO DI CARTELLO";
  poni(s.celle[36], kCellaCartello, 2);
  s.record[85].nome = "CODICE";
  for (const std::int16_t fuori : {std::int16_t{0}, std::int16_t{81}, std::int16_t{85},
                                   std::int16_t{-1}, std::int16_t{32767}}) {
    poni(s.celle[35], kCellaCartello, fuori);
    const EsitoXml esito = controlla_xml(grafico_svg(s, "t"));
    ASSERT_EQ(esito.errore, "") << fuori;
    EXPECT_TRUE(contiene(esito.testi, "1 stations")) << fuori;
    EXPECT_TRUE(contiene(esito.testi, "2 signs")) << fuori;
    EXPECT_TRUE(contiene(esito.testi, "TESTO DI CARTELLO")) << fuori;
    EXPECT_FALSE(contiene(esito.testi, "CODICE")) << fuori;
  }
}

TEST(GraficoSvg, WithoutAProfileSaysSoInsteadOfThePlan) {
  ScenarioCompilato s = scenario_piccolo();
  s.profilo.reset();
  const std::string svg = grafico_svg(s, "t");
  const EsitoXml esito = controlla_xml(svg);
  ASSERT_EQ(esito.errore, "");
  EXPECT_TRUE(contiene(esito.testi, "no line profile (compiled without curves)"));
  EXPECT_EQ(svg.find("class=\"traccia\""), std::string::npos);
}

// Tables an author's file may hold: never a crash, always a well-formed
// document, the plan drawn from the usable points only.
TEST(GraficoSvg, SurvivesTablesOfAnyShape) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Caso {
    const char* nome;
    std::function<void(ScenarioCompilato&)> guasta;
    bool traccia;  // whether the plan still shows the line
  };
  const Caso casi[] = {
      {"no cells at all", [](ScenarioCompilato& s) { s.celle.clear(); }, true},
      {"one cell", [](ScenarioCompilato& s) { s.celle.resize(1); }, true},
      {"three cells, none with line data", [](ScenarioCompilato& s) { s.celle.resize(3); }, true},
      {"empty records and track",
       [](ScenarioCompilato& s) {
         s = ScenarioCompilato{};
         s.profilo = ProfiloLinea{};
       },
       false},
      {"profile with no assigned point", [](ScenarioCompilato& s) { s.profilo->assegnati = 0; },
       false},
      {"profile claiming more points than it holds",
       [](ScenarioCompilato& s) { s.profilo->assegnati = kMax; }, true},
      {"profile with a negative count", [](ScenarioCompilato& s) { s.profilo->assegnati = kMin; },
       false},
      {"columns of different lengths", [](ScenarioCompilato& s) { s.profilo->y.resize(10); }, true},
      {"one assigned point", [](ScenarioCompilato& s) { s.profilo->assegnati = 1; }, true},
      {"all points in one place",
       [](ScenarioCompilato& s) {
         for (auto& y : s.profilo->y) y = 7;
       },
       true},
      {"a straight line north",
       [](ScenarioCompilato& s) {
         for (auto& x : s.profilo->x) x = 0;
       },
       true},
      {"every point NaN",
       [](ScenarioCompilato& s) {
         for (auto& x : s.profilo->x) x = kNaN;
       },
       false},
      {"every point infinite",
       [](ScenarioCompilato& s) {
         for (auto& y : s.profilo->y) y = -kInf;
       },
       false},
      {"NaN and infinities here and there",
       [](ScenarioCompilato& s) {
         for (std::size_t m = 0; m < s.profilo->x.size(); m += 3)
           s.profilo->x[m] = m % 2 ? kNaN : kInf;
       },
       true},
      {"huge coordinates among sane ones",
       [](ScenarioCompilato& s) {
         s.profilo->x[500] = 1e300, s.profilo->y[700] = -1e300, s.profilo->x[0] = 1e15;
       },
       true},
      {"only huge coordinates",
       [](ScenarioCompilato& s) {
         for (auto& x : s.profilo->x) x = 1e308;
       },
       false},
      {"stop zone over the whole int range",
       [](ScenarioCompilato& s) {
         s.record[1].inizio_fermata = kMin, s.record[1].fine_fermata = kMax;
       },
       true},
      {"stop zone back to front and far out",
       [](ScenarioCompilato& s) {
         s.record[1].inizio_fermata = kMax, s.record[1].fine_fermata = -5,
         s.record[1].posizione = kMin;
       },
       true},
      {"stations on every record with every byte",
       [](ScenarioCompilato& s) {
         for (int r = 1; r < kRecordPrimoCartello; ++r) {
           for (int b = 0; b < 256; ++b) s.record[r].nome += static_cast<char>((b + r) % 256);
           s.record[r].posizione = r * 20;
         }
       },
       true},
      {"slowdown start with no end, end with no start",
       [](ScenarioCompilato& s) {
         s.celle[28].tipo = kCellaInizioRallentamento, s.celle[24].tipo = kCellaFineRallentamento;
       },
       true},
      {"extreme cell values",
       [](ScenarioCompilato& s) {
         for (std::size_t k = 0; k < s.celle.size(); ++k) {
           s.celle[k] = Cella{static_cast<std::uint8_t>(k % 2 ? kCellaIndicatoreVelocita
                                                              : kCellaInizioRallentamento),
                              static_cast<std::int16_t>(k % 2 ? -32768 : 32767),
                              -1,
                              -1,
                              -1,
                              255,
                              255,
                              255,
                              static_cast<std::uint8_t>(k % 2 ? 255 : 0),
                              static_cast<std::uint8_t>(k % 2 ? 0 : 255),
                              255};
         }
       },
       true},
  };
  for (const auto& caso : casi) {
    ScenarioCompilato s = scenario_piccolo();
    caso.guasta(s);
    const std::string svg = grafico_svg(s, caso.nome);
    controlla_ben_formato(svg, caso.nome);
    EXPECT_EQ(svg.find("class=\"traccia\"") != std::string::npos, caso.traccia) << caso.nome;
  }
}

// The longest line the reader accepts, with a feature on every cell, every
// speed and gradient changing from cell to cell, a winding plan and every
// station record used: the thinning keeps the document small.
TEST(GraficoSvg, StaysSmallForTheLongestBusiestLine) {
  constexpr std::size_t kCelle = 20141;
  constexpr std::int32_t kPunti = 1007001;
  const std::uint8_t tipi[] = {kCellaSegnale,
                               kCellaIndicatoreVelocita,
                               kCellaInizioRallentamento,
                               kCellaFineRallentamento,
                               kCellaAvvisoRallentamento,
                               kCellaAbbattimento,
                               kCellaAbbattimentoSenzaValore,
                               kCellaCartello};
  ScenarioCompilato s;
  s.celle.resize(kCelle);
  for (std::size_t k = 0; k < kCelle; ++k) {
    s.celle[k] = Cella{tipi[k % 8],
                       static_cast<std::int16_t>(k % 8 == 7 ? 80 : 12345),
                       0,
                       0,
                       0,
                       0,
                       0,
                       static_cast<std::uint8_t>(k % 2),
                       static_cast<std::uint8_t>(k % 40),
                       static_cast<std::uint8_t>(80 + k % 41),
                       75};
  }
  for (int r = 1; r < kRecordPrimoCartello; ++r) {
    s.record[r] =
        Record{2, r * 12000, r * 12000 + 400, r * 12000 + 200, 0, std::string(300, 'A' + r % 26)};
  }
  s.record[80].nome = std::string(1000, 'K');
  ProfiloLinea profilo;
  for (std::int32_t m = 0; m < kPunti; ++m) {
    profilo.x.push_back(3000 * std::sin(m / 700.0) + m / 100.0);
    profilo.y.push_back(3000 * std::cos(m / 900.0));
  }
  profilo.assegnati = kPunti - 2;
  s.profilo = std::move(profilo);
  const std::string svg = grafico_svg(s, "Lunga 1");
  EXPECT_LT(svg.size(), 1000000u);
  controlla_ben_formato(svg, "longest line");
}

}  // namespace
}  // namespace gs

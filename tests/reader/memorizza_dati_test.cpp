#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "aiuti_test.h"
#include "reader/memorizza_dati.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "base/documento_testo.h"

namespace gs {
namespace {

const IdentitaScenario kId = identita_incorporata();
const std::string kNomeLinea = "Brisca_Nolte_linea.txt";
const std::string kNomeTreno = "Brisca_Nolte_52806-.txt";

// The lines of a writer's list, up to its end-of-list sentinel.
std::vector<std::string> righe(const ListaRighe& lista) {
  std::vector<std::string> trovate;
  for (const auto& riga : lista) {
    if (riga == kFineLista) break;
    trovate.push_back(riga);
  }
  return trovate;
}

// The embedded scenario's figures, taken from its lines with sscanf,
// independently of the reader.
struct Curva {
  char lato;
  int classe;
  int inizio;
  int lunghezza;
};

std::vector<Curva> curve_incorporate() {
  std::vector<Curva> curve;
  for (const auto& riga : righe(righe_linea())) {
    Curva c{};
    if (std::sscanf(riga.c_str(), "curva%c%d,%d,%d", &c.lato, &c.classe, &c.inizio,
                    &c.lunghezza) == 4) {
      curve.push_back(c);
    }
  }
  return curve;
}

// The line profile traced step by step from the curves, as written out plainly.
void profilo_atteso(std::int32_t estesa, std::vector<double>& x, std::vector<double>& y) {
  const double curvatura[] = {0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
  x.assign(static_cast<std::size_t>(estesa) + 1, 0.0);
  y.assign(static_cast<std::size_t>(estesa) + 1, 0.0);
  y[1] = 1;
  std::size_t m = 2;
  auto passo = [&](double k) {
    const double dx = x[m - 1] - x[m - 2];
    const double dy = y[m - 1] - y[m - 2];
    x[m] = x[m - 1] + (dy * k + dx);
    y[m] = y[m - 1] + (dy - dx * k);
    ++m;
  };
  for (const Curva& c : curve_incorporate()) {
    const double k = c.lato == 's' ? -curvatura[c.classe] : curvatura[c.classe];
    while (m <= static_cast<std::size_t>(c.inizio)) passo(0.0);
    while (m <= static_cast<std::size_t>(c.inizio + c.lunghezza)) passo(k);
  }
  while (m <= static_cast<std::size_t>(estesa - 2)) passo(0.0);
}

int conta_celle(const TabelleScenario& tab, std::uint8_t tipo) {
  int quante = 0;
  for (const Cella& cella : tab.celle) quante += cella.tipo == tipo ? 1 : 0;
  return quante;
}

struct LetturaIncorporata {
  TabelleScenario tab;
  EsitoLettura punto;
};

LetturaIncorporata leggi_incorporato(const test::CartellaTemporanea& dir) {
  dati_linea(kId, dir.cartella());
  dati_treno(kId, dir.cartella());
  LetturaIncorporata lettura;
  lettura.tab.flag_profilo = 1;
  lettura.punto = memorizza_dati(kId, dir.cartella(), lettura.tab);
  return lettura;
}

TEST(MemorizzaDati, ReadsTheEmbeddedScenario) {
  test::CartellaTemporanea dir;
  const auto [tab, punto] = leggi_incorporato(dir);

  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_FALSE(test::esiste(dir.file(kNomeLinea)));
  EXPECT_FALSE(test::esiste(dir.file(kNomeTreno)));
  EXPECT_EQ(punto.file, kNomeTreno);
  EXPECT_EQ(punto.riga, 112);
  EXPECT_EQ(punto.numero_stazioni, 16);
  EXPECT_EQ(punto.motivo, "");

  const auto& r = tab.record;
  EXPECT_EQ(r[kRecordTestataTreno].fine_fermata, 82000);
  EXPECT_EQ(tab.lunghezza_estesa, 89000);
  EXPECT_EQ(tab.numero_celle, 1780);
  EXPECT_EQ(tab.profilo.punti, 89001);
  EXPECT_EQ(tab.profilo.assegnati, 88999);
  EXPECT_EQ(curve_incorporate().size(), 48u);
  EXPECT_EQ(r[kRecordTestataScenario].nome, "Brisca_Nolte");
  EXPECT_EQ(r[kRecordTestataScenario].inizio_fermata, 1);  // backgrounds 1, 0, 0
  EXPECT_EQ(r[kRecordTestataRipetizione].nome, "52806");
  EXPECT_EQ(r[kRecordTestataRipetizione].inizio_fermata, 4650);
  EXPECT_EQ(r[kRecordTestataRipetizione].fine_fermata, 79150);
  EXPECT_EQ(r[kRecordTestataRipetizione].posizione, 4);
  EXPECT_EQ(r[kRecordTestataTreno].posizione, 6);
  EXPECT_EQ(r[kRecordTestataTreno].inizio_fermata, 120);
  EXPECT_EQ(r[kRecordTestataRipetizione].rd2, 300);
  EXPECT_EQ(r[kRecordTestataRipetizione].d1, 18);
  EXPECT_EQ(r[kRecordTestataRipetizione].d2, 6);
  EXPECT_EQ(r[kRecordTestataRipetizione].d3, 40);

  EXPECT_EQ(conta_celle(tab, kCellaIndicatoreVelocita), 19);
  EXPECT_EQ(conta_celle(tab, kCellaCartello), 3);
  EXPECT_EQ(conta_celle(tab, kCellaSegnale), 42);
  EXPECT_EQ(conta_celle(tab, kCellaFermata), 12);  // the four of kind 28 get none
  EXPECT_EQ(tab.numero_montagne, 2);
  EXPECT_EQ(tab.celle.at(582).montagna, 2);
  EXPECT_EQ(r[80].nome, "(  Km. ) (18.600)");
  EXPECT_EQ(r[78].nome, "( Ponte  ) (su fiume) (  Arno  )");

  // Sixteen stations in records 1 .. 16.
  EXPECT_EQ(r[1].nome, "FIRENZE S.M.N.");
  EXPECT_EQ(r[1].orario, 65100);
  EXPECT_EQ(r[4].nome, "S.DONNINO");
  EXPECT_EQ(r[4].orario, 66000);
  EXPECT_EQ(r[16].nome, "PISA C.le");
  EXPECT_EQ(r[16].posizione, 80850);
  EXPECT_EQ(r[17], Record{});

  // Every gradient, speed limit and adhesion from its position on.
  int pendenze = 0;
  for (const auto& riga : righe(righe_linea())) {
    int p = 0;
    int g = 0;
    if (std::sscanf(riga.c_str(), "pendenza , %d , %d", &p, &g) != 2) continue;
    ++pendenze;
    EXPECT_EQ(tab.celle.at(static_cast<std::size_t>(p / 50)).pendenza, g + 100) << riga;
  }
  EXPECT_EQ(pendenze, 20);
  int limiti = 0;
  for (const auto& riga : righe(righe_treno())) {
    int p = 0;
    int v = 0;
    if (std::sscanf(riga.c_str(), "velocita' limite , %d , %d", &p, &v) != 2) continue;
    ++limiti;
    EXPECT_EQ(tab.celle.at(static_cast<std::size_t>(std::lround(p / 50.0))).velocita * 5, v)
        << riga;
  }
  EXPECT_EQ(limiti, 20);
  EXPECT_EQ(tab.celle.at(1777).aderenza, 75);
  EXPECT_EQ(tab.celle.at(1778).aderenza, 0);
}

TEST(MemorizzaDati, TracesTheEmbeddedLineProfile) {
  test::CartellaTemporanea dir;
  const auto [tab, punto] = leggi_incorporato(dir);
  ASSERT_EQ(numero(tab.codice_errore), 0);

  std::vector<double> x;
  std::vector<double> y;
  profilo_atteso(89000, x, y);
  const ProfiloLinea p = punti_profilo(tab.profilo);
  for (std::size_t m = 0; m < 88999; ++m) {
    ASSERT_EQ(p.x[m], x[m]) << "x at " << m;
    ASSERT_EQ(p.y[m], y[m]) << "y at " << m;
  }
  EXPECT_EQ(p.x[700], 0.0);
  EXPECT_EQ(p.y[700], 700.0);
  EXPECT_EQ(p.x[701], -0.0002);
  // Pinned: the end of the first curve (100 m at -0.0002 a metre: x near
  // -0.0002 * (1 + ... + 100)) and the end of the trace, some 82 km away.
  EXPECT_EQ(p.x[800], -1.0099673370056481);
  EXPECT_EQ(p.y[800], 799.99333412674582);
  EXPECT_EQ(p.x[88998], -21775.613589406417);
  EXPECT_EQ(p.y[88998], 79390.428385698397);
}

// Where each description file stands after reading, by what the reading met.
TEST(MemorizzaDati, ErrorCodesReadingPointAndDeletion) {
  const std::string linea_breve = "[generale]\r\nlunghezza percorso, 10000\r\n[fine]\r\n";
  const std::string treno_breve = "[generale]\r\nnumero vetture, 6\r\n[fine]\r\n";
  struct Caso {
    const char* nome;
    std::optional<std::string> linea;  // none: the file is missing
    std::optional<std::string> treno;
    std::int32_t codice;
    std::string file;
    std::int32_t riga;
    bool resta_treno;  // whether the train file is still there (when it was)
  };
  const Caso casi[] = {
      {"both read", linea_breve, treno_breve, 0, kNomeTreno, 3, false},
      {"no line file", std::nullopt, treno_breve, 101, kNomeLinea, 0, true},
      {"no [generale]", "titolo\r\ninizio\r\n", treno_breve, 102, kNomeLinea, 2, true},
      {"too long", "[generale]\nlunghezza percorso, 1000001\n", treno_breve, 1, kNomeLinea, 2,
       true},
      {"line error 15 reads on",
       "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\npendenza, 99999, 0\r\n", treno_breve, 15,
       kNomeTreno, 3, false},
      {"text for a number", "[generale]\r\nlunghezza percorso, dieci\r\n", treno_breve, 25,
       kNomeLinea, 2, false},
      {"empty line file", "", treno_breve, 25, kNomeLinea, 0, false},
      {"no train file", linea_breve, std::nullopt, 25, kNomeTreno, 0, false},
      {"train error 8", linea_breve, "[generale]\r\n\r\nstazione, 125, 2\r\n", 8, kNomeTreno, 3,
       false},
      {"train failure", linea_breve, "[generale]\r\nsabbia, 1.5\r\n", 25, kNomeTreno, 2, false},
  };
  for (const bool elimina : {true, false}) {
    for (const Caso& caso : casi) {
      SCOPED_TRACE(std::string(caso.nome) + (elimina ? "" : ", keeping the files"));
      test::CartellaTemporanea dir;
      if (caso.linea) test::scrivi_byte(dir.file(kNomeLinea), *caso.linea);
      if (caso.treno) test::scrivi_byte(dir.file(kNomeTreno), *caso.treno);
      TabelleScenario tab;
      const EsitoLettura punto =
          memorizza_dati(kId, dir.cartella(), tab, OpzioniLettura{.elimina_descrizioni = elimina});
      EXPECT_EQ(numero(tab.codice_errore), caso.codice);
      EXPECT_EQ(punto.file, caso.file);
      EXPECT_EQ(punto.riga, caso.riga);
      EXPECT_EQ(punto.motivo.empty(), caso.codice != 25) << punto.motivo;
      EXPECT_EQ(tab.record[kRecordTestataScenario].nome, "Brisca_Nolte");
      EXPECT_EQ(tab.record[kRecordTestataRipetizione].nome, "52806");
      EXPECT_EQ(test::esiste(dir.file(kNomeLinea)), caso.linea && !elimina);
      EXPECT_EQ(test::esiste(dir.file(kNomeTreno)),
                caso.treno && (caso.resta_treno || !elimina));
      // Whatever happened, the track and its count agree.
      EXPECT_EQ(tab.celle.size(), tab.celle.empty() ? 0u : tab.numero_celle + 1u);
    }
  }
}

// The same files with LF or CR alone for line ends read to the same tables.
TEST(MemorizzaDati, AnyLineEndReadsTheSame) {
  test::CartellaTemporanea dir;
  const LetturaIncorporata crlf = leggi_incorporato(dir);
  for (const char* fine_riga : {"\n", "\r"}) {
    SCOPED_TRACE(fine_riga[0] == '\n' ? "LF" : "CR");
    std::string linea;
    std::string treno;
    for (const auto& riga : righe(righe_linea())) linea += riga + fine_riga;
    for (const auto& riga : righe(righe_treno())) treno += riga + fine_riga;
    test::scrivi_byte(dir.file(kNomeLinea), linea);
    test::scrivi_byte(dir.file(kNomeTreno), treno);
    TabelleScenario tab;
    tab.flag_profilo = 1;
    const EsitoLettura punto = memorizza_dati(kId, dir.cartella(), tab);
    EXPECT_EQ(numero(tab.codice_errore), 0);
    EXPECT_EQ(punto.riga, 112);
    EXPECT_TRUE(tab.record == crlf.tab.record);
    EXPECT_TRUE(tab.celle == crlf.tab.celle);
    EXPECT_TRUE(tab.profilo.tratti == crlf.tab.profilo.tratti);
    EXPECT_EQ(tab.profilo.assegnati, crlf.tab.profilo.assegnati);
  }
}

TEST(MemorizzaDati, ReadsTheLongestRouteQuickly) {
  test::CartellaTemporanea dir;
  std::string linea = "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n";
  for (int s = 1000; s < 999000; s += 2000) linea += "curvad3, " + std::to_string(s) + ", 500\r\n";
  test::scrivi_byte(dir.file(kNomeLinea), linea + "[fine]\r\n");
  test::scrivi_byte(dir.file(kNomeTreno), "[generale]\r\nvelocita' limite, 0, 100\r\n");
  TabelleScenario tab;
  tab.flag_profilo = 1;
  const auto inizio = std::chrono::steady_clock::now();
  memorizza_dati(kId, dir.cartella(), tab);
  const auto durata = std::chrono::steady_clock::now() - inizio;
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.numero_celle, 20140);
  EXPECT_EQ(tab.profilo.assegnati, 1006999);
  EXPECT_EQ(tab.celle.at(20137).velocita, 20);
  EXPECT_LT(durata, std::chrono::seconds(2));
}

}  // namespace
}  // namespace gs

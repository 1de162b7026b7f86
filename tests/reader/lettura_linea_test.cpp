#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/lettore_campi.h"
#include "reader/lettura_linea.h"

namespace gs {
namespace {

// A 10000 m route: extended length 17000, cells 0 .. 340.
const std::string kGeneraleBreve = "lunghezza percorso, 10000\r\n";

// A line description file: a title, the general section, then `corpo`.
std::string file_linea(const std::string& corpo, const std::string& generale = kGeneraleBreve) {
  return "titolo\r\n\r\n[generale]  \r\n" + generale + "[pendenze]\r\n" + corpo + "[fine]\r\n";
}

struct Lettura {
  TabelleScenario tab;
  EsitoLinea esito;
};

Lettura leggi_linea(const std::string& testo, std::int32_t flag_profilo = 0) {
  Lettura lettura;
  lettura.tab.flag_profilo = flag_profilo;
  LettoreCampi lettore("linea.txt", testo);
  lettura.esito = leggi_descrizione_linea(lettore, lettura.tab);
  return lettura;
}

std::vector<int> pendenze(const TabelleScenario& tab, std::size_t da, std::size_t a) {
  std::vector<int> valori;
  for (std::size_t k = da; k <= a; ++k) valori.push_back(tab.celle.at(k).pendenza);
  return valori;
}

TEST(LetturaLinea, GeneralSectionFillsTheHeaders) {
  const Lettura l = leggi_linea(file_linea(
      "",
      "- a comment, with a comma\r\n"
      "LUNGHEZZA PERCORSO,    10000\r\n"
      "progressiva chilometrica uno,    0,    0,    9\r\n"
      "progressiva chilometrica due,    0,    0,    7\r\n"
      "progressiva chilometrica tre,    0,  100,    0\r\n"
      "Progressiva chilometrica uno,    0,   50,    1\r\n"  // capital P: not a progressive
      "sfondo uno,    1\r\n"
      "sfondo due,    2\r\n"
      "sfondo tre,    3\r\n"
      "ripetizione segnali 4 codici,    4650,    79150\r\n"));

  EXPECT_EQ(numero(l.tab.codice_errore), 0);
  EXPECT_TRUE(l.esito.leggi_treno);
  const auto& r = l.tab.record;
  EXPECT_EQ(r[kRecordTestataTreno].fine_fermata, 10000);
  EXPECT_EQ(l.tab.numero_celle, 340);
  // Only "tre" has a second value above 0, so the sort keeps the order.
  EXPECT_EQ(r[kRecordProgressivaTre].fine_fermata, 100);
  EXPECT_EQ(r[kRecordProgressivaDue].posizione, 7);
  EXPECT_EQ(r[kRecordProgressivaUno].posizione, 9);
  EXPECT_EQ(r[kRecordProgressivaUno].fine_fermata, 0);
  EXPECT_EQ(r[kRecordTestataScenario].inizio_fermata, 1);
  EXPECT_EQ(r[kRecordTestataScenario].posizione, 2);
  EXPECT_EQ(r[kRecordTestataScenario].fine_fermata, 3);
  EXPECT_EQ(r[kRecordTestataRipetizione].inizio_fermata, 4650);
  EXPECT_EQ(r[kRecordTestataRipetizione].fine_fermata, 79150);
  EXPECT_EQ(r[kRecordTestataRipetizione].posizione, 4);
}

TEST(LetturaLinea, SignalRepetition) {
  struct Caso {
    const char* riga;
    std::int32_t codice;
    std::int32_t codici;  // record 86 field 4
  };
  const Caso casi[] = {
      {"ripetizione segnali 4 codici,    4650,    79150", 0, 4},
      {"ripetizione segnali 9 codici,    100,    200", 0, 9},
      {"ripetizione segnali 4 codici,    4650,    0", 0, 0},
      {"ripetizione segnali 4 codici,    4625,    79150", 3, 0},
      {"ripetizione segnali 4 codici,    4650,    79125", 4, 0},
      {"ripetizione segnali codici,    4650,    79150", 5, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.riga);
    const Lettura l = leggi_linea(file_linea("pendenza, 300, 4\r\n",
                                             kGeneraleBreve + caso.riga + "\r\n"));
    EXPECT_EQ(numero(l.tab.codice_errore), caso.codice);
    EXPECT_EQ(l.esito.leggi_treno, caso.codice == 0);
    EXPECT_EQ(l.tab.record[kRecordTestataRipetizione].posizione, caso.codici);
    // An error ends the file at once: no gradient is filled in.
    EXPECT_EQ(l.tab.celle.at(0).pendenza, caso.codice == 0 ? 100 : 0);
  }
}

TEST(LetturaLinea, LineLengthSizesTrackAndProfile) {
  struct Caso {
    std::int32_t lunghezza;
    std::int32_t codice;
    std::int32_t numero_celle;
  };
  const Caso casi[] = {
      {82000, 0, 1780}, {82025, 0, 1780},  // 1780.5 rounds to even
      {82075, 0, 1782},                    // 1781.5 too
      {1000000, 0, 20140}, {1000001, 1, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.lunghezza);
    const Lettura l = leggi_linea(
        file_linea("", "lunghezza percorso, " + std::to_string(caso.lunghezza) + "\r\n"), 1);
    EXPECT_EQ(numero(l.tab.codice_errore), caso.codice);
    EXPECT_EQ(l.esito.leggi_treno, caso.codice == 0);
    EXPECT_EQ(l.tab.record[kRecordTestataTreno].fine_fermata, caso.lunghezza);
    EXPECT_EQ(l.tab.numero_celle, caso.numero_celle);
    if (caso.codice != 0) {
      EXPECT_TRUE(l.tab.celle.empty());
      EXPECT_EQ(l.tab.profilo.punti, 0);
      continue;
    }
    const std::int32_t estesa = caso.lunghezza + 7000;
    EXPECT_EQ(l.tab.lunghezza_estesa, estesa);
    EXPECT_EQ(l.tab.celle.size(), static_cast<std::size_t>(caso.numero_celle) + 1);
    const ProfiloLinea p = punti_profilo(l.tab.profilo);
    EXPECT_EQ(p.x.size(), static_cast<std::size_t>(estesa) + 1);
    EXPECT_EQ(p.y.size(), static_cast<std::size_t>(estesa) + 1);
    // Straight on to the third point from the end; the last two stay empty.
    EXPECT_EQ(p.assegnati, estesa - 1);
    EXPECT_EQ(p.y.at(static_cast<std::size_t>(estesa - 2)), estesa - 2);
  }
}

TEST(LetturaLinea, MissingOrUnusableStartAndLength) {
  struct Caso {
    const char* testo;
    std::int32_t codice;
  };
  const Caso casi[] = {
      {"titolo\r\ninizio_dati\r\n", 102},
      {"titolo\r\n[generale]\r\n", 102},  // "[generale]" is the file's last field
      {"[GENERALE]\r\nlunghezza percorso, 100\r\n", 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.testo);
    const Lettura l = leggi_linea(caso.testo);
    EXPECT_EQ(numero(l.tab.codice_errore), caso.codice);
    EXPECT_EQ(l.esito.leggi_treno, caso.codice == 0);
  }
  // No track to fill, or none that a length could give.
  const char* guasti[] = {
      "",
      "[generale]\r\nsfondo uno, 1\r\n[pendenze]\r\npendenza, 0, 1\r\n",
      "[generale]\r\nlunghezza percorso, -7100\r\n[fine]\r\n",
  };
  for (const char* testo : guasti) {
    SCOPED_TRACE(testo);
    TabelleScenario tab;
    LettoreCampi lettore("linea.txt", testo);
    EXPECT_THROW(leggi_descrizione_linea(lettore, tab), ErroreEsecuzione);
    EXPECT_TRUE(tab.celle.empty());
  }
}

TEST(LetturaLinea, GradientsFillTheCellsBeforeTheNextPosition) {
  const Lettura l = leggi_linea(file_linea(
      "pendenza  , 300    , 4\r\n"
      "pendenza  , 500    , 0\r\n"));
  EXPECT_EQ(pendenze(l.tab, 0, 11), (std::vector<int>{100, 100, 100, 100, 100, 100,  //
                                                      104, 104, 104, 104, 100, 100}));
  // The last gradient holds up to cell count - 3.
  EXPECT_EQ(pendenze(l.tab, 336, 340), (std::vector<int>{100, 100, 0, 0, 0}));

  // A gradient at 0 fills nothing; one at or behind the cursor still fills a cell.
  const Lettura indietro = leggi_linea(file_linea(
      "pendenza, 0, 2\r\n"
      "pendenza, 100, 3\r\n"
      "pendenza, 50, -1\r\n"));
  EXPECT_EQ(pendenze(indietro.tab, 0, 4), (std::vector<int>{102, 102, 103, 99, 99}));
}

TEST(LetturaLinea, GradientThatDoesNotFitFailsWhenStored) {
  struct Caso {
    const char* pendenza;
    int memorizzata;  // -1: the store fails
  };
  const Caso casi[] = {{"155", 255}, {"-100", 0}, {"156", -1}, {"-101", -1}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.pendenza);
    TabelleScenario tab;
    LettoreCampi lettore("linea.txt", file_linea(std::string("pendenza, 300, 4\r\npendenza, 500, ") +
                                                  caso.pendenza + "\r\npendenza, 1000, 0\r\n"));
    if (caso.memorizzata < 0) {
      EXPECT_THROW(leggi_descrizione_linea(lettore, tab), ErroreEsecuzione);
      // The cells filled before keep their values.
      EXPECT_EQ(pendenze(tab, 5, 10), (std::vector<int>{100, 104, 104, 104, 104, 0}));
    } else {
      leggi_descrizione_linea(lettore, tab);
      EXPECT_EQ(tab.celle.at(10).pendenza, caso.memorizzata);
    }
  }

  // A record beyond the track ends the file with error 15 before the tail fails.
  TabelleScenario tab;
  LettoreCampi lettore("linea.txt", file_linea("pendenza, 300, 200\r\npendenza, 99999, 0\r\n"));
  EXPECT_THROW(leggi_descrizione_linea(lettore, tab), ErroreEsecuzione);
  EXPECT_EQ(numero(tab.codice_errore), 15);
  EXPECT_EQ(tab.posizione_errore, 99999);
}

// 340 cells hold features up to (p + 100) / 50 = 340, that is p = 16900.
TEST(LetturaLinea, PositionTooNearTheEndEndsTheFileWithError15) {
  const char* record[] = {
      "pendenza, %, 1",
      "montagna, %, 16950, 1",
      "indicatori_vmax, %, 100, 100, 100, 0, 0, 0, 0, 0",
      "cartello indicatore, %, (testo)",
  };
  for (const char* modello : record) {
    for (const std::int32_t posizione : {16900, 16901}) {
      std::string riga = modello;
      riga.replace(riga.find('%'), 1, std::to_string(posizione));
      SCOPED_TRACE(riga);
      const Lettura l = leggi_linea(file_linea(riga + "\r\ncartello indicatore, 1000, (dopo)\r\n"));
      const bool oltre = posizione == 16901;
      EXPECT_EQ(numero(l.tab.codice_errore), oltre ? 15 : 0);
      EXPECT_EQ(l.tab.posizione_errore, oltre ? posizione : 0);
      EXPECT_TRUE(l.esito.leggi_treno);
      // The rest of the file is skipped, its end steps still run.
      EXPECT_EQ(l.tab.celle.at(21).tipo, oltre ? kCellaLibera : kCellaCartello);
      EXPECT_NE(l.tab.celle.at(337).pendenza, 0);
    }
  }
}

TEST(LetturaLinea, CurveClassAndSideGiveTheFirstStep) {
  struct Caso {
    const char* chiave;
    double k;
  };
  const Caso casi[] = {
      {"curvas1", -0.0001}, {"curvas2", -0.0002}, {"curvad2", 0.0002}, {"curvad3", 0.0004},
      {"curvas4", -0.001},  {"curvad5", 0.002},   {"curvas6", -0.003},
      {"CURVAS3", -0.0004},  // the side letter in any case
      {"curvad 61", 0.0001},  // the digits are tried from 1 up
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.chiave);
    const Lettura l = leggi_linea(file_linea(std::string(caso.chiave) + ",   700,  100\r\n"), 1);
    ASSERT_EQ(numero(l.tab.codice_errore), 0);
    const ProfiloLinea p = punti_profilo(l.tab.profilo);
    EXPECT_EQ(p.x.at(700), 0.0);
    EXPECT_EQ(p.y.at(700), 700.0);
    EXPECT_EQ(p.x.at(701), caso.k);
    EXPECT_EQ(p.y.at(701), 701.0);
    EXPECT_EQ(p.etichetta(1), ProfiloLinea::kIntero);
    EXPECT_EQ(p.etichetta(2), ProfiloLinea::kReale);
    EXPECT_EQ(p.etichetta(16998), ProfiloLinea::kReale);
    EXPECT_EQ(p.etichetta(16999), ProfiloLinea::kVuoto);
  }
}

TEST(LetturaLinea, CurveErrorsAndLimits) {
  const std::string generale_lunga = "lunghezza percorso, 1000000\r\n";
  struct Caso {
    std::string corpo;
    std::string generale;
    std::int32_t codice;
  };
  const Caso casi[] = {
      {"curvas,   700,  100\r\n", kGeneraleBreve, 103},
      {"curvad2, 999950, 50\r\n", generale_lunga, 103},  // would trace metre 1000000
      {"curvad2, 999900, 99\r\n", generale_lunga, 0},
      {"curvad2, 1000000, -1\r\n", generale_lunga, 103},  // the straight run alone
      // A curve starting behind the trace only adds its remaining part.
      {"curvad2, 700, 100\r\ncurvas2, 750, 100\r\n", kGeneraleBreve, 0},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.corpo);
    const Lettura l = leggi_linea(file_linea(caso.corpo, caso.generale), 1);
    EXPECT_EQ(numero(l.tab.codice_errore), caso.codice);
    EXPECT_EQ(l.esito.leggi_treno, caso.codice == 0);
  }

  // Without the profile flag curve lines are passed over, digit or not.
  const Lettura senza = leggi_linea(file_linea("curvas, 700, 100\r\npendenza, 100, 5\r\n"));
  EXPECT_EQ(numero(senza.tab.codice_errore), 0);
  EXPECT_EQ(senza.tab.profilo.punti, 0);
  EXPECT_EQ(senza.tab.celle.at(2).pendenza, 105);

  // A curve running off the end of the profile fails.
  TabelleScenario tab;
  tab.flag_profilo = 1;
  LettoreCampi lettore("linea.txt", file_linea("curvad2, 16990, 100\r\n"));
  EXPECT_THROW(leggi_descrizione_linea(lettore, tab), ErroreEsecuzione);
}

TEST(LetturaLinea, BoardsAndSignsTakeTheCellAfterTheirPosition) {
  const Lettura l = leggi_linea(file_linea(
      "indicatori_vmax, 800, 105, 115, 120, 0, 0, 0, 0, 0\r\n"
      "indicatori_vmax, 7800, 120, 130, 135, 0, 120, 130, 135, 0\r\n"
      "cartello indicatore,  1850,    (  Km. ) (1.850)  \r\n"
      "cartello indicatore,  2050,  ( Ponte  ) (su fiume)\r\n"));
  ASSERT_EQ(numero(l.tab.codice_errore), 0);
  const auto& c = l.tab.celle;
  EXPECT_EQ(c.at(17).tipo, kCellaIndicatoreVelocita);
  EXPECT_EQ(c.at(17).valore1, 2100);
  EXPECT_EQ(c.at(157).valore1, 2424);
  EXPECT_EQ(c.at(157).valore3, 2727);
  EXPECT_EQ(c.at(38).tipo, kCellaCartello);
  EXPECT_EQ(c.at(38).valore1, 80);
  EXPECT_EQ(c.at(42).valore1, 79);
  EXPECT_EQ(l.tab.record[80].nome, "(  Km. ) (1.850)  ");
  EXPECT_EQ(l.tab.record[79].nome, "( Ponte  ) (su fiume)");
  EXPECT_EQ(l.esito.indice_cartelli, 78);
}

TEST(LetturaLinea, TakenCellsEndTheReading) {
  struct Caso {
    const char* corpo;
    std::int32_t codice;
    std::int32_t posizione;
  };
  const Caso casi[] = {
      {"indicatori_vmax, 800, 105, 115, 120, 0, 0, 0, 0, 0\r\n"
       "cartello indicatore, 810, (testo)\r\n",
       6, 810},
      {"cartello indicatore, 800, (testo)\r\n"
       "indicatori_vmax, 790, 105, 115, 120, 0, 0, 0, 0, 0\r\n",
       21, 790},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.corpo);
    const Lettura l = leggi_linea(file_linea(std::string(caso.corpo) + "pendenza, 500, 1\r\n"));
    EXPECT_EQ(numero(l.tab.codice_errore), caso.codice);
    EXPECT_EQ(l.tab.posizione_errore, caso.posizione);
    EXPECT_FALSE(l.esito.leggi_treno);
    EXPECT_EQ(l.tab.celle.at(0).pendenza, 0);  // nothing read after, no end steps
  }
}

TEST(LetturaLinea, SignTextsFillRecords80DownTo0) {
  std::string cartelli;
  for (int i = 0; i < 81; ++i) {
    cartelli += "cartello indicatore, " + std::to_string(100 * i) + ", t" + std::to_string(i) + "\r\n";
  }
  const Lettura l = leggi_linea(file_linea(cartelli));
  EXPECT_EQ(numero(l.tab.codice_errore), 0);
  EXPECT_EQ(l.tab.record[80].nome, "t0");
  EXPECT_EQ(l.tab.record[0].nome, "t80");
  EXPECT_EQ(l.esito.indice_cartelli, -1);

  // An 82nd sign has no record left.
  TabelleScenario tab;
  LettoreCampi lettore("linea.txt", file_linea(cartelli + "cartello indicatore, 8150, troppi\r\n"));
  EXPECT_THROW(leggi_descrizione_linea(lettore, tab), ErroreEsecuzione);
  EXPECT_EQ(tab.celle.at(164).tipo, kCellaLibera);
}

TEST(LetturaLinea, MountainStretchesCountFromZero) {
  TabelleScenario tab;
  tab.numero_montagne = 5;  // whatever was there before
  LettoreCampi lettore("linea.txt", file_linea("[montagne]\r\nmontagna, 1000,1100,2\r\n"
                                               "montagna, 1250,1400,1\r\n"));
  leggi_descrizione_linea(lettore, tab);
  EXPECT_EQ(tab.numero_montagne, 2);
  EXPECT_EQ(tab.montagna_inizio[2], 1250);
  EXPECT_EQ(tab.montagna_fine[2], 1400);
  EXPECT_EQ(tab.celle.at(20).montagna, 2);
  EXPECT_EQ(tab.celle.at(25).montagna, 3);  // 150 m after the first: kind 3
}

}  // namespace
}  // namespace gs

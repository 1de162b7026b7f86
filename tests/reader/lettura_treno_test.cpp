#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/lettore_campi.h"
#include "reader/lettura_treno.h"
#include "tabelle_test.h"

namespace gs {
namespace {

std::string file_treno(const std::string& corpo) {
  return "      titolo\r\n\r\ninizio_dati\r\n[generale]\r\n" + corpo + "\r\n[fine]\r\n";
}

void leggi_treno(TabelleScenario& tab, const std::string& corpo,
                 std::int32_t indice_cartelli = kRecordPrimoCartello) {
  LettoreCampi lettore("treno.txt", file_treno(corpo));
  leggi_descrizione_treno(lettore, tab, indice_cartelli);
}

// One field of every cell from `da` to `a`.
template <typename Campo>
std::vector<int> colonna(const TabelleScenario& tab, Campo Cella::*campo, std::size_t da,
                         std::size_t a) {
  std::vector<int> valori;
  for (std::size_t k = da; k <= a; ++k) valori.push_back(tab.celle.at(k).*campo);
  return valori;
}

std::map<std::size_t, int> marche(const TabelleScenario& tab) {
  std::map<std::size_t, int> trovate;
  for (std::size_t k = 0; k < tab.celle.size(); ++k) {
    if (tab.celle[k].avvicinamento != 0) trovate[k] = tab.celle[k].avvicinamento;
  }
  return trovate;
}

std::map<std::size_t, int> fermate(const TabelleScenario& tab) {
  std::map<std::size_t, int> trovate;
  for (std::size_t k = 0; k < tab.celle.size(); ++k) {
    if (tab.celle[k].tipo == kCellaFermata) trovate[k] = tab.celle[k].valore1;
  }
  return trovate;
}

const std::string kVelocitaIniziali =
    "velocita' limite ,     0    ,  30\r\n"
    "velocita' limite ,   500    ,  115\r\n";

TEST(LetturaTreno, TrainHeader) {
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab,
              "numero vetture,    6\r\n"
              "percentuale massa frenata,    120\r\n"
              "sabbia,    300\r\n"
              "orologio,    18              6             40 \r\n");
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.record[kRecordTestataTreno].posizione, 6);
  EXPECT_EQ(tab.record[kRecordTestataTreno].inizio_fermata, 120);
  const Record& r = tab.record[kRecordTestataRipetizione];
  EXPECT_EQ(r.rd2, 300);
  EXPECT_EQ(r.d1, 18);
  EXPECT_EQ(r.d2, 6);
  EXPECT_EQ(r.d3, 40);

  // Sand and the clock are 16-bit.
  TabelleScenario troppa = test::percorso_vuoto(340);
  EXPECT_THROW(leggi_treno(troppa, "sabbia, 40000\r\n"), ErroreEsecuzione);
}

TEST(LetturaTreno, SpeedLimitsAndAdhesionFillTheCells) {
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab, "[aderenze]\r\naderenza,       0,    75\r\n[vel_limite]\r\n" + kVelocitaIniziali);
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(colonna(tab, &Cella::velocita, 8, 11), (std::vector<int>{6, 6, 23, 23}));
  EXPECT_EQ(colonna(tab, &Cella::velocita, 336, 340), (std::vector<int>{23, 23, 0, 0, 0}));
  EXPECT_EQ(colonna(tab, &Cella::aderenza, 0, 1), (std::vector<int>{75, 75}));
  EXPECT_EQ(colonna(tab, &Cella::aderenza, 336, 340), (std::vector<int>{75, 75, 0, 0, 0}));
}

TEST(LetturaTreno, SpeedStepsAndAdhesionBytes) {
  struct Caso {
    const char* velocita;
    int passi;  // -1: does not fit its cell
  };
  const Caso casi[] = {{"62", 12}, {"63", 13}, {"1277", 255}, {"-2", 0}, {"1278", -1}, {"-3", -1}};
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.velocita);
    TabelleScenario tab = test::percorso_vuoto(340);
    const std::string corpo = std::string("velocita' limite , 0, ") + caso.velocita + "\r\n";
    if (caso.passi < 0) {
      EXPECT_THROW(leggi_treno(tab, corpo), ErroreEsecuzione);
    } else {
      leggi_treno(tab, corpo);
      EXPECT_EQ(tab.celle.at(0).velocita, caso.passi);
    }
  }
  // Adhesion keeps the low 8 bits.
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab, "aderenza, 0, 300\r\naderenza, 100, -1\r\n");
  EXPECT_EQ(colonna(tab, &Cella::aderenza, 0, 2), (std::vector<int>{44, 44, 255}));
}

TEST(LetturaTreno, StationsStopZonesAndMarks) {
  TabelleScenario tab = test::percorso_vuoto(1780);
  leggi_treno(tab,
              "[stazioni]\r\n"
              "-           pos. tipo lung. t  t  m    d d r   d d d   a   o  o  o   nome    ,\r\n"
              "-                           p  a  a    2 3 a   1 2 3   c   r  r  r\r\n"
              "-                           s  b  r        p               o  m  s\r\n"
              "stazione,      0,  8, 400,  1, 0, 0,   4,0,0,  2,1,0,  1, 18,05, 0, FIRENZE S.M.N.\r\n"
              "stazione,    2750,  2,  600,  0, 1, 1,  1,1,0,  4,1,1,   60,  18,10, 0, FIRENZE RIFREDI\r\n"
              "stazione,   19150, 28,  300,  0, 0, 0,  0,0,0,  0,0,0,   30,  18,29, 0, CARMIGNANO\r\n"
              "stazione,   21000,  5,  600,  0, 1, 1,  0,0,0,  0,0,0,   30,  18,31, 7, FERMATA\r\n"
              "stazione,   23000, 12,  500,  0, 1, 1,  0,0,0,  0,0,0,   30,  18,33, 0, CORTA\r\n");
  ASSERT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.record[1], (Record{.tipo = 8, .inizio_fermata = -400, .fine_fermata = 400,
                                    .posizione = 0, .tps = 1, .nome = "FIRENZE S.M.N.",
                                    .rd2 = 4, .rd3 = 0, .d1 = 2, .d2 = 1, .d3 = 0, .rap = 0,
                                    .ac = 1, .mar = 0, .tab = 0, .orario = 65100}));
  EXPECT_EQ(tab.record[2], (Record{.tipo = 2, .inizio_fermata = 2450, .fine_fermata = 3100,
                                    .posizione = 2750, .tps = 0, .nome = "FIRENZE RIFREDI",
                                    .rd2 = 1, .rd3 = 1, .d1 = 4, .d2 = 1, .d3 = 1, .rap = 0,
                                    .ac = 60, .mar = 1, .tab = 1, .orario = 65400}));
  EXPECT_EQ(tab.record[3].inizio_fermata, 19000);
  EXPECT_EQ(tab.record[3].fine_fermata, 19300);
  // Kind 5: from the platform's length before to 150 m after; no `mar`.
  EXPECT_EQ(tab.record[4].inizio_fermata, 20400);
  EXPECT_EQ(tab.record[4].fine_fermata, 21150);
  EXPECT_EQ(tab.record[4].mar, 0);
  EXPECT_EQ(tab.record[4].tab, 1);
  EXPECT_EQ(tab.record[4].orario, 18 * 3600 + 31 * 60 + 7);
  // A platform shorter than 600 m keeps no `tab`; `mar` moves the end 50 m.
  EXPECT_EQ(tab.record[5].tab, 0);
  EXPECT_EQ(tab.record[5].inizio_fermata, 22750);
  EXPECT_EQ(tab.record[5].fine_fermata, 23300);

  EXPECT_EQ(fermate(tab), (std::map<std::size_t, int>{{7, 1}, {61, 2}, {422, 4}, {465, 5}}));
  EXPECT_EQ(marche(tab), (std::map<std::size_t, int>{{3, 84}, {4, 83}, {5, 82}, {6, 81},
                                                     {57, 84}, {58, 83}, {59, 82}, {60, 81},
                                                     {461, 84}, {462, 83}, {463, 82}, {464, 81}}));
}

TEST(LetturaTreno, StationBoundaries) {
  struct Caso {
    const char* nome;
    std::string corpo;
    std::int32_t codice;
    std::map<std::size_t, int> marche;
  };
  const Caso casi[] = {
      // Stopping point at 100 m: the stop marker would be on cell 1.
      {"stop at 100 m", "stazione, 50, 2, 100, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n", 24, {}},
      // Stopping point at 300 m: marks only beyond cell 1.
      {"stop at 300 m", "stazione, 150, 2, 300, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n", 0,
       {{2, 83}, {3, 82}, {4, 81}}},
      // Stop zones 2450 .. 3050 and 3400 .. 4000: exactly 350 m apart.
      {"350 m apart",
       "stazione, 2750, 28, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n"
       "stazione, 3700, 28, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, B\r\n",
       0, {}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    TabelleScenario tab = test::percorso_vuoto(340);
    leggi_treno(tab, caso.corpo);
    EXPECT_EQ(numero(tab.codice_errore), caso.codice);
    EXPECT_EQ(marche(tab), caso.marche);
  }

  // The first station keeps no `mar` or `tab`, though its stop zone has the 50 m.
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab, "stazione, 1000, 2, 600, 0, 1, 1, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n");
  EXPECT_EQ(tab.record[1].fine_fermata, 1350);
  EXPECT_EQ(tab.record[1].mar, 0);
  EXPECT_EQ(tab.record[1].tab, 0);
}

const char* const kStazioneBase = "stazione, 2750, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n";

TEST(LetturaTreno, StationErrorsEndTheReading) {
  struct Caso {
    std::string corpo;
    std::int32_t indice_cartelli;
    std::int32_t codice;
    std::int32_t posizione;
  };
  const Caso casi[] = {
      {"stazione, 125, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n", 80, 8, 125},
      {"stazione, 2750, 2, 450, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n", 80, 9, 2750},
      // Stop zones 2450 .. 3050 and 3350 .. 3950: only 300 m apart.
      {std::string(kStazioneBase) +
           "stazione, 3650, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, B\r\n",
       80, 22, 3650},
      // The stopping point 50 m from the start.
      {"stazione, 0, 2, 100, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n", 80, 24, 0},
      // Signs took records 80 .. 3: the second station leaves no room.
      {std::string(kStazioneBase) +
           "stazione, 5000, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, B\r\n",
       3, 10, 0},
      {"segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n"
       "segnale, 1010, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n",
       80, 16, 1010},
      {"segnale, 5000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n"
       "rallentamento, 5000, 30, 400, 1, 1, 0\r\n",
       80, 18, 5000},
      {"segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\nabbattimento, 1050, 0\r\n", 80, 7, 1050},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.corpo);
    TabelleScenario tab = test::percorso_vuoto(1780);
    tab.record[kRecordProgressivaTre].inizio_fermata = 75;  // error 2, were it checked
    leggi_treno(tab, kVelocitaIniziali + caso.corpo + "numero vetture, 6\r\n",
                caso.indice_cartelli);
    EXPECT_EQ(numero(tab.codice_errore), caso.codice);
    EXPECT_EQ(tab.posizione_errore, caso.posizione);
    // Nothing is read after the error and the end steps do not run.
    EXPECT_EQ(tab.record[kRecordTestataTreno].posizione, 0);
    EXPECT_EQ(tab.celle.at(10).velocita, 0);
  }
}

TEST(LetturaTreno, PositionTooNearTheEndEndsTheFileWithError15) {
  struct Caso {
    const char* riga;
    std::int32_t posizione;
  };
  // 340 cells: (p + 100) / 50, a station's (p + 800) / 50, may reach 340.
  const Caso casi[] = {
      {"velocita' limite , 16901, 30", 16901},
      {"aderenza, 16901, 30", 16901},
      {"segnale, 16901, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0", 16901},
      {"rallentamento, 16901, 30, 400, 1, 1, 0", 16901},
      {"abbattimento, 16901, 1", 16901},
      {"stazione, 16250, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A", 16250},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.riga);
    TabelleScenario tab = test::percorso_vuoto(340);
    leggi_treno(tab, kVelocitaIniziali + caso.riga + "\r\nnumero vetture, 6\r\n");
    EXPECT_EQ(numero(tab.codice_errore), 15);
    EXPECT_EQ(tab.posizione_errore, caso.posizione);
    EXPECT_EQ(tab.record[kRecordTestataTreno].posizione, 0);
    // The end steps still run.
    EXPECT_EQ(tab.celle.at(337).velocita, 23);
  }
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab, "stazione, 16200, 28, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, A\r\n");
  EXPECT_EQ(numero(tab.codice_errore), 0);
}

TEST(LetturaTreno, AbbattimentoMarkers) {
  struct Caso {
    const char* valore;
    std::uint8_t tipo;
    std::int16_t valore1;
  };
  const Caso casi[] = {
      {"0", kCellaAbbattimentoSenzaValore, 0},
      {"-3", kCellaAbbattimentoSenzaValore, 0},
      {"5", kCellaAbbattimento, 5},
      {"70000", kCellaAbbattimento, 4464},  // low 16 bits
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.valore);
    TabelleScenario tab = test::percorso_vuoto(340);
    leggi_treno(tab, std::string("abbattimento, 1000, ") + caso.valore + "\r\n");
    EXPECT_EQ(numero(tab.codice_errore), 0);
    EXPECT_EQ(tab.celle.at(20).tipo, caso.tipo);
    EXPECT_EQ(tab.celle.at(20).valore1, caso.valore1);
  }
}

TEST(LetturaTreno, SignalsAndSlowdownsGoThroughTheRecorders) {
  TabelleScenario tab = test::percorso_vuoto(340);
  leggi_treno(tab,
              "[rallentamenti]\r\nrallentamento, 5000, 30, 400, 1, 1, 0\r\n"
              "[segnali]\r\nsegnale,   1000, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0\r\n");
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.celle.at(21).tipo, kCellaSegnale);
  EXPECT_EQ(tab.celle.at(101).tipo, kCellaInizioRallentamento);
  EXPECT_EQ(tab.celle.at(109).tipo, kCellaFineRallentamento);
  EXPECT_EQ(tab.celle.at(77).tipo, kCellaAvvisoRallentamento);

  // An error 15 left by the line file makes the first signal end the reading.
  TabelleScenario dopo_15 = test::percorso_vuoto(340);
  dopo_15.codice_errore = CodiceErrore{15};
  leggi_treno(dopo_15, kVelocitaIniziali + "segnale, 1000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n");
  EXPECT_EQ(numero(dopo_15.codice_errore), 15);
  EXPECT_EQ(dopo_15.posizione_errore, 1000);
  EXPECT_EQ(dopo_15.celle.at(10).velocita, 0);
}

TEST(LetturaTreno, ProgressivesAreCheckedAtTheEnd) {
  struct Caso {
    std::int32_t Record::*campo;
    std::int32_t valore;
    std::string corpo;
    std::int32_t codice;
  };
  const Caso casi[] = {
      {&Record::inizio_fermata, 5000, "", 0},
      {&Record::inizio_fermata, 75, "", 2},
      {&Record::fine_fermata, 4510, "", 2},
      {&Record::posizione, 7, "", 0},  // the flag is not checked
      {&Record::fine_fermata, 10, "segnale, 20000, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0\r\n", 2},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.valore);
    TabelleScenario tab = test::percorso_vuoto(340);
    tab.record[kRecordProgressivaDue].*caso.campo = caso.valore;
    leggi_treno(tab, caso.corpo);
    EXPECT_EQ(numero(tab.codice_errore), caso.codice);
  }
}

TEST(LetturaTreno, WithoutGeneraleNothingIsRead) {
  TabelleScenario tab = test::percorso_vuoto(340);
  LettoreCampi lettore("treno.txt", "numero vetture, 6\r\naderenza, 0, 75\r\naderenza, 100, 50\r\n");
  leggi_descrizione_treno(lettore, tab, kRecordPrimoCartello);
  EXPECT_EQ(numero(tab.codice_errore), 0);
  EXPECT_EQ(tab.record[kRecordTestataTreno].posizione, 0);
  EXPECT_EQ(tab.celle.at(0).aderenza, 0);
}

}  // namespace
}  // namespace gs

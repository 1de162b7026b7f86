#include "tool/unita_reali.h"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace gs {
namespace {

TEST(UnitaReali, TextForms) {
  struct Caso {
    std::string ottenuto;
    std::string atteso;
  };
  const Caso casi[] = {
      {con_migliaia(0), "0"},
      {con_migliaia(999), "999"},
      {con_migliaia(1000), "1,000"},
      {con_migliaia(-2299), "-2,299"},
      {con_migliaia(1007000), "1,007,000"},
      {con_migliaia(std::numeric_limits<std::int64_t>::min()), "-9,223,372,036,854,775,808"},
      {testo_km(0), "0.00"},
      {testo_km(21050), "21.05"},
      {testo_km(5), "0.00"},    // half a hundredth rounds to the even 0
      {testo_km(15), "0.02"},   // ... and to the even 2
      {testo_km(-400), "-0.40"},
      {testo_orario(65100), "18:05:00"},
      {testo_orario(0), "00:00:00"},
      {testo_orario(-10), "-00:00:10"},
      {testo_orario(90000), "25:00:00"},
      {testo_orologio(18, 6, 40), "18:06:40"},
      {testo_orologio(18, 75, 40), "18:75:40"},  // as stored, not carried into the hour
      {testo_orologio(-1, 0, 5), "-1:00:05"},
      {con_segno(4), "+4"},
      {con_segno(0), "0"},
      {con_segno(-12), "-12"},
      {testo_metri(82000), "82,000 m"},
      {testo_celle(12, 45), "cells 12-45, 600-2,299 m"},
      {testo_celle(21, 21), "cell 21, 1,050-1,099 m"},
      {testo_celle(0, 1780), "cells 0-1780, 0-89,049 m"},
  };
  for (const Caso& caso : casi) EXPECT_EQ(caso.ottenuto, caso.atteso);
}

TEST(UnitaReali, StoredCodes) {
  EXPECT_EQ(velocita_kmh(23), 115);
  EXPECT_EQ(velocita_kmh(255), 1275);
  EXPECT_EQ(pendenza_permille(104), 4);
  EXPECT_EQ(pendenza_permille(96), -4);
  EXPECT_EQ(pendenza_permille(0), -100);
  EXPECT_EQ(metri_cella(21), 1050);
}

// A signal's four values: s1 s2 s3 with d1 d2 d3 as tens and units, and
// rapp·10 + sx·3 + dx.
TEST(UnitaReali, SignalAspects) {
  struct Caso {
    std::int16_t valori[4];
    int sx, s[3], dx, d[3], rapp;
  };
  const Caso casi[] = {
      {{40, 10, 0, 3}, 1, {4, 1, 0}, 0, {0, 0, 0}, 0},
      {{43, 11, 0, 8}, 2, {4, 1, 0}, 2, {3, 1, 0}, 0},
      {{31, 11, 10, 17}, 2, {3, 1, 1}, 1, {1, 1, 0}, 1},
      {{0, 0, 0, 0}, 0, {0, 0, 0}, 0, {0, 0, 0}, 0},
  };
  for (const Caso& caso : casi) {
    Cella cella;
    cella.valore1 = caso.valori[0];
    cella.valore2 = caso.valori[1];
    cella.valore3 = caso.valori[2];
    cella.valore4 = caso.valori[3];
    const AspettiSegnale a = aspetti_segnale(cella);
    SCOPED_TRACE(caso.valori[3]);
    EXPECT_EQ(a.tipo_sinistro, caso.sx);
    EXPECT_EQ(a.tipo_destro, caso.dx);
    EXPECT_EQ(a.rapp, caso.rapp);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(a.cifre_sinistre[i], caso.s[i]);
      EXPECT_EQ(a.cifre_destre[i], caso.d[i]);
    }
  }
}

// A board's code: left speed·20 + right speed / 5.
TEST(UnitaReali, BoardSpeedPairsAndStripes) {
  struct Caso {
    std::int16_t codice;
    int sinistra, destra;
  };
  const Caso casi[] = {{2100, 105, 0}, {2424, 120, 120}, {2727, 135, 135}, {0, 0, 0}, {19, 0, 95}};
  for (const Caso& caso : casi) {
    const CoppiaVelocita v = coppia_velocita(caso.codice);
    EXPECT_EQ(v.sinistra_kmh, caso.sinistra) << caso.codice;
    EXPECT_EQ(v.destra_kmh, caso.destra) << caso.codice;
  }
  EXPECT_EQ(strisce_indicatore(32).sinistra, 3);
  EXPECT_EQ(strisce_indicatore(32).destra, 2);
}

}  // namespace
}  // namespace gs

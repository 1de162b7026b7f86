#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documenti_test.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "base/documento_testo.h"

namespace gs {
namespace {

std::vector<std::size_t> righe_vuote(const test::DocumentoLetto& doc) {
  std::vector<std::size_t> vuote;
  for (std::size_t n = 1; n <= doc.righe.size(); ++n) {
    if (doc.riga(n).empty()) vuote.push_back(n);
  }
  return vuote;
}

std::size_t righe_con_prefisso(const test::DocumentoLetto& doc, const std::string& prefisso) {
  std::size_t quante = 0;
  for (const auto& riga : doc.righe) quante += riga.rfind(prefisso, 0) == 0 ? 1 : 0;
  return quante;
}

TEST(DescrizioneLinea, HasItsLinesBlanksAndRecords) {
  test::CartellaTemporanea dir;
  dati_linea(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_linea.txt"));
  EXPECT_TRUE(doc.tutte_crlf);
  ASSERT_EQ(doc.righe.size(), 121u);
  EXPECT_EQ(doc.byte.find(kFineLista), std::string::npos);
  EXPECT_EQ(righe_vuote(doc), (std::vector<std::size_t>{2, 3, 36, 92, 112, 117}));
  EXPECT_EQ(doc.riga(1), "Percorso Firenze S.M.N. Pisa C.le");
  EXPECT_EQ(doc.riga(4), "inizio_dati  ");
  EXPECT_EQ(doc.riga(5), "[generale]" + std::string(26, ' '));
  EXPECT_EQ(doc.riga(6), "lunghezza percorso,    82000");
  EXPECT_EQ(doc.riga(103),
            "indicatori_vmax,  32050,  140,  150,  150,  0,  140,  150,  150,  0");
  EXPECT_EQ(doc.riga(118), "cartello indicatore,  18550,    (  Km. ) (18.600)");
  EXPECT_EQ(doc.riga(121), "[fine]");
  EXPECT_EQ(righe_con_prefisso(doc, "pendenza  ,"), 20u);
  EXPECT_EQ(righe_con_prefisso(doc, "curva"), 48u);
  EXPECT_EQ(righe_con_prefisso(doc, "-"), 6u);
  EXPECT_EQ(righe_con_prefisso(doc, "indicatori_vmax,"), 19u);
  EXPECT_EQ(righe_con_prefisso(doc, "montagna,"), 2u);
  EXPECT_EQ(righe_con_prefisso(doc, "cartello indicatore,"), 3u);
}

TEST(DescrizioneTreno, HasItsLinesBlanksAndRecords) {
  test::CartellaTemporanea dir;
  dati_treno(identita_incorporata(), dir.cartella());
  const auto doc = test::leggi_documento(dir.file("Brisca_Nolte_52806-.txt"));
  EXPECT_TRUE(doc.tutte_crlf);
  ASSERT_EQ(doc.righe.size(), 112u);
  EXPECT_EQ(doc.byte.find(kFineLista), std::string::npos);
  EXPECT_EQ(righe_vuote(doc),
            (std::vector<std::size_t>{2, 32, 53, 57, 69, 75, 80, 85, 89, 96, 102, 103, 111}));
  EXPECT_EQ(doc.riga(1).find_first_not_of(' '), 18u);
  EXPECT_EQ(doc.riga(8), "orologio,    18              6             40 ");
  EXPECT_EQ(doc.riga(34).back(), ',');
  EXPECT_EQ(doc.riga(37),
            "stazione,      0,  8, 400,  1, 0, 0,   4,0,0,  2,1,0,  1, 18,05, 0, FIRENZE S.M.N.");
  EXPECT_EQ(doc.riga(61), "segnale,   1000, 1, 4, 1, 0, 0,     0, 0, 0, 0, 0");
  EXPECT_EQ(doc.riga(112), "[fine]");
  EXPECT_EQ(righe_con_prefisso(doc, "velocita' limite ,"), 20u);
  EXPECT_EQ(righe_con_prefisso(doc, "stazione,"), 16u);
  EXPECT_EQ(righe_con_prefisso(doc, "segnale,"), 42u);
  EXPECT_EQ(righe_con_prefisso(doc, "rallentamento"), 0u);
}

TEST(DescrizioneTreno, NamedAfterScenarioAndTrainWithAHyphen) {
  test::CartellaTemporanea dir;
  dati_treno(IdentitaScenario{"Altra", "99"}, dir.cartella());
  EXPECT_TRUE(test::esiste(dir.file("Altra_99-.txt")));
}

}  // namespace
}  // namespace gs

#include "compiler/file_compilati.h"

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "base/errore_file.h"

namespace gs {
namespace {

std::string byte(std::initializer_list<unsigned> valori) {
  std::string b;
  for (unsigned v : valori) b.push_back(static_cast<char>(v));
  return b;
}

std::string zeri(std::size_t n) { return std::string(n, '\0'); }

TEST(FileScenario, EightySevenEmptyRecordsTake2958ZeroBytes) {
  const std::array<Record, kNumeroRecord> vuoti{};
  EXPECT_EQ(byte_file_scenario(vuoti), zeri(2958));
}

TEST(FileScenario, ARecordIsItsFieldsInOrderLittleEndianWithTheNameAfterItsLength) {
  std::array<Record, kNumeroRecord> record{};
  Record& r = record[1];
  r.tipo = 0x11;
  r.inizio_fermata = 0x01020304;
  r.fine_fermata = -2;
  r.posizione = 400;
  r.tps = 0x22;
  r.nome = "AB";
  r.rd2 = 610;
  r.rd3 = -1;
  r.d1 = 0x0304;
  r.d2 = 5;
  r.d3 = -32768;
  r.rap = 0x33;
  r.ac = 0x44;
  r.mar = 0x55;
  r.tab = 0x66;
  r.orario = 65100;

  const std::string atteso = byte({
      0x11,                    // kind
      0x04, 0x03, 0x02, 0x01,  // stop zone start
      0xFE, 0xFF, 0xFF, 0xFF,  // stop zone end
      0x90, 0x01, 0x00, 0x00,  // position
      0x22,                    // tps
      0x02, 0x00, 'A', 'B',    // name
      0x62, 0x02,              // rd2, field 7
      0xFF, 0xFF,              // rd3
      0x04, 0x03,              // d1
      0x05, 0x00,              // d2
      0x00, 0x80,              // d3
      0x33, 0x44, 0x55, 0x66,  // rap, ac, mar, tab
      0x4C, 0xFE, 0x00, 0x00,  // scheduled time, field 16
  });
  EXPECT_EQ(byte_file_scenario(record), zeri(34) + atteso + zeri(85 * 34));
}

TEST(FileScenario, ASignRecordTakes51BytesAndItsNameBytesAsTheyAre) {
  std::array<Record, kNumeroRecord> record{};
  record[80].nome = "(  Km. ) (18.600)";
  record[81].nome = std::string("\xC8 \x80", 3);  // Windows-1252 bytes pass unchanged
  const std::string b = byte_file_scenario(record);

  ASSERT_EQ(b.size(), 2958u + 17u + 3u);
  const std::size_t inizio = 80 * 34;
  EXPECT_EQ(b.substr(inizio, 14), zeri(14));
  EXPECT_EQ(b.substr(inizio + 14, 2), byte({17, 0}));
  EXPECT_EQ(b.substr(inizio + 16, 17), "(  Km. ) (18.600)");
  EXPECT_EQ(b.substr(inizio + 33, 18), zeri(18));
  EXPECT_EQ(b.substr(inizio + 51 + 14, 5), byte({3, 0, 0xC8, ' ', 0x80}));
}

TEST(FileScenario, ANameTooLongForItsLengthFieldIsRefused) {
  std::array<Record, kNumeroRecord> record{};
  record[3].nome = std::string(65535, 'x');
  EXPECT_EQ(byte_file_scenario(record).size(), 2958u + 65535u);
  record[3].nome += 'x';
  EXPECT_THROW(byte_file_scenario(record), std::out_of_range);
}

TEST(FilePercorso, FifteenBytesACellInFieldOrder) {
  std::vector<Cella> celle(1781);
  celle[1].tipo = kCellaCartello;
  celle[1].valore1 = 5121;
  celle[1].valore2 = 2494;
  Cella& c = celle[21];
  c.tipo = kCellaSegnale;
  c.valore1 = 41;
  c.valore2 = -2;
  c.valore3 = 0x1234;
  c.valore4 = -32768;
  c.tempo_segnale = 101;
  c.avvicinamento = 0x0B;
  c.montagna = 2;
  c.velocita = 23;
  c.pendenza = 104;
  c.aderenza = 75;

  const std::string b = byte_file_percorso(celle);
  ASSERT_EQ(b.size(), 26715u);
  EXPECT_EQ(b.substr(0, 15), zeri(15));
  EXPECT_EQ(b.substr(15, 5), byte({0x0E, 0x01, 0x14, 0xBE, 0x09}));
  EXPECT_EQ(b.substr(315, 15), byte({0x01, 0x29, 0x00, 0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80, 0x65,
                                     0x0B, 0x02, 0x17, 0x68, 0x4B}));
  EXPECT_EQ(b.substr(330), zeri(26715 - 330));
}

// A profile of points 0 .. 5 with points 0 .. 3 assigned.
ProfiloLinea profilo_piccolo() {
  ProfiloLinea p;
  p.x = {0, 0, 2.0, -1.0, 7, 7};
  p.y = {0, 1, 0.5, 3.0, 7, 7};
  p.assegnati = 4;
  return p;
}

TEST(FileProfilo, AllXThenAllYEachElementTaggedByWhatItHolds) {
  const std::string colonna_x = byte({
      2, 0, 0, 0,                          // point 0: tag 2, whole 0
      2, 0, 0, 0,                          // point 1: tag 2, whole 0
      5, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x40,  // point 2: tag 5, 2.0
      5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0xBF,  // point 3: tag 5, -1.0
      0, 0,                                // point 4: tag 0, nothing
      0, 0,                                // point 5: tag 0, nothing
  });
  const std::string colonna_y = byte({
      2, 0, 0, 0,                          // point 0: whole 0
      2, 0, 1, 0,                          // point 1: whole 1
      5, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F,  // point 2: 0.5
      5, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x40,  // point 3: 3.0
      0, 0,                                // point 4: nothing
      0, 0,                                // point 5: nothing
  });
  EXPECT_EQ(byte_profilo_linea(profilo_piccolo()), colonna_x + colonna_y);
}

TEST(FileProfilo, AWholeNumberPointOutside16BitsIsRefused) {
  ProfiloLinea p = profilo_piccolo();
  p.y[1] = 32767.0;
  EXPECT_NO_THROW(byte_profilo_linea(p));
  p.y[1] = 32768.0;
  EXPECT_THROW(byte_profilo_linea(p), std::out_of_range);
}

// A traced profile gives the bytes of its points written out one by one: the
// walk of the runs, block by block, against the arrays of every point.
TEST(FileProfilo, ATracedProfileGivesTheBytesOfItsPoints) {
  struct Caso {
    const char* nome;
    TracciatoLinea tracciato;
  };
  const Caso casi[] = {
      {"nothing allocated", {0, 0, {}}},
      {"allocated, nothing traced", {6, 0, {}}},
      {"only the first point", {6, 1, {}}},
      {"only the two whole points", {6, 2, {}}},
      {"a short curve", {6, 4, {{3, true, 0.5}}}},
      {"every point", {6, 6, {{5, false, 0}}}},
      // Runs across several blocks and a block boundary in the middle of a run.
      {"long, curves across blocks",
       {30001, 29999, {{700, false, 0}, {8200, true, -0.0004}, {8192, true, 0.003},
                       {20000, false, 0}, {29998, true, 0.0001}}}},
      {"long, exactly two blocks", {16384, 16384, {{16383, true, 0.0002}}}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    EXPECT_EQ(byte_profilo_linea(caso.tracciato),
              byte_profilo_linea(punti_profilo(caso.tracciato)));
  }
}

class ScritturaFileCompilati : public ::testing::Test {
 protected:
  ScritturaFileCompilati() {
    tab.celle.resize(3);
    tab.profilo = TracciatoLinea{6, 4, {{3, true, 0.5}}};
  }

  std::string profilo() const { return dir.file("Brisca_Nolte_linea.dat"); }
  std::string scenario() const { return dir.file("Brisca_Nolte_52806.sim"); }
  std::string percorso() const { return dir.file("Brisca_Nolte_52806.dat"); }

  test::CartellaTemporanea dir;
  const IdentitaScenario id{"Brisca_Nolte", "52806"};
  TabelleScenario tab;
};

TEST_F(ScritturaFileCompilati, ReplacesLongerOlderFilesWhole) {
  for (const auto& vecchio : {profilo(), scenario(), percorso()}) {
    test::scrivi_byte(vecchio, std::string(10000, 'v'));
  }
  tab.flag_profilo = 1;
  scrivi_file_compilati(id, dir.cartella(), tab);
  EXPECT_EQ(test::leggi_byte(profilo()), byte_profilo_linea(punti_profilo(tab.profilo)));
  EXPECT_EQ(test::leggi_byte(scenario()), zeri(2958));
  EXPECT_EQ(test::leggi_byte(percorso()), zeri(45));
}

TEST_F(ScritturaFileCompilati, WithTheProfileFlagZeroAnyProfileFileIsLeftAlone) {
  tab.flag_profilo = 0;
  scrivi_file_compilati(id, dir.cartella(), tab);
  EXPECT_FALSE(test::esiste(profilo()));

  test::scrivi_byte(profilo(), "older");
  scrivi_file_compilati(id, dir.cartella(), tab);
  EXPECT_EQ(test::leggi_byte(profilo()), "older");
  EXPECT_TRUE(test::esiste(scenario()));
  EXPECT_TRUE(test::esiste(percorso()));
}

TEST_F(ScritturaFileCompilati, AnUnwritableNameStopsAtThatFileAndKeepsItsOlderCopy) {
  test::scrivi_byte(scenario(), "older");
  tab.record[5].nome = std::string(70000, 'x');
  try {
    scrivi_file_compilati(id, dir.cartella(), tab);
    FAIL() << "no ErroreFile";
  } catch (const ErroreFile& guasto) {
    EXPECT_EQ(guasto.percorso(), scenario());
  }
  EXPECT_EQ(test::leggi_byte(scenario()), "older");
  EXPECT_FALSE(test::esiste(percorso()));
}

}  // namespace
}  // namespace gs

namespace gs {
namespace {

// One element as the layout describes it, built apart from the writer.
void aggiungi_elemento(std::string& byte, std::uint16_t etichetta, double valore) {
  auto le = [&byte](std::uint64_t numero, int quanti) {
    for (int i = 0; i < quanti; ++i) byte += static_cast<char>((numero >> (8 * i)) & 0xFF);
  };
  le(etichetta, 2);
  if (etichetta == 2) le(static_cast<std::uint16_t>(static_cast<std::int16_t>(valore)), 2);
  if (etichetta == 5) le(std::bit_cast<std::uint64_t>(valore), 8);
}

// A profile and a track far longer than one block of the writer come out
// whole, in order: the profile as each of its points laid out apart.
TEST_F(ScritturaFileCompilati, ALongProfileAndTrackAreWrittenWholeAcrossBlocks) {
  constexpr std::int32_t kPunti = 250001;
  tab.profilo = TracciatoLinea{
      kPunti, kPunti - 2, {{1000, false, 0}, {90000, true, 0.0001}, {200000, true, -0.0002},
                           {kPunti - 3, false, 0}}};
  const ProfiloLinea punti = punti_profilo(tab.profilo);
  std::string atteso;
  for (const auto* colonna : {&punti.x, &punti.y}) {
    for (std::int32_t m = 0; m < kPunti; ++m) {
      aggiungi_elemento(atteso, punti.etichetta(m), (*colonna)[static_cast<std::size_t>(m)]);
    }
  }
  tab.celle.resize(20141);
  for (std::size_t c = 0; c < tab.celle.size(); ++c) {
    tab.celle[c].valore4 = static_cast<std::int16_t>(c);
    tab.celle[c].pendenza = static_cast<std::uint8_t>(c % 251);
  }
  tab.flag_profilo = 1;
  scrivi_file_compilati(id, dir.cartella(), tab);
  const std::string scritto = test::leggi_byte(profilo());
  ASSERT_EQ(scritto.size(), 2 * (10 * (std::size_t{kPunti} - 4) + 4 * 2 + 2 * 2));
  EXPECT_TRUE(scritto == atteso);
  EXPECT_TRUE(test::leggi_byte(percorso()) == byte_file_percorso(tab.celle));
}

}  // namespace
}  // namespace gs

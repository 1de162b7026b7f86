#include "compiler/lettura_compilati.h"

#include <string>

#include <gtest/gtest.h>

#include "compiler/file_compilati.h"

namespace gs {
namespace {

std::array<Record, kNumeroRecord> record_di_prova() {
  std::array<Record, kNumeroRecord> record{};
  record[1] = Record{8, -400, 400, 0, 1, "FIRENZE S.M.N.", 4, 0, 2, 1, 0, 0, 1, 0, 0, 65100};
  record[80].nome = "(  Km. ) (18.600)";
  record[85] = Record{0, 1, 0, 0, 0, "Brisca_Nolte", 610, -1, 0, 0, 0, 255, 0, 0, 0, 36124};
  record[86].nome = "\xE8\x80";
  return record;
}

TEST(LetturaCompilati, GivesBackTheRecordsThatWereWritten) {
  const auto record = record_di_prova();
  EXPECT_EQ(decodifica_file_scenario(byte_file_scenario(record)), record);
}

TEST(LetturaCompilati, GivesBackTheCellsThatWereWritten) {
  std::vector<Cella> celle(5);
  celle[1] = Cella{0, 5121, 2494, 0, 0, 0, 0, 0, 6, 100, 75};
  celle[4] = Cella{1, -40, 10, 32767, -32768, 190, 34, 3, 255, 96, 1};
  EXPECT_EQ(decodifica_file_percorso(byte_file_percorso(celle)), celle);
}

TEST(LetturaCompilati, GivesBackTheProfileThatWasWritten) {
  ProfiloLinea profilo;
  profilo.x = {0, 0, -0.0002, -0.0006, 0, 0};
  profilo.y = {0, 1, 2, 2.9999999, 0, 0};
  profilo.assegnati = 4;
  const ProfiloLinea letto = decodifica_profilo_linea(byte_profilo_linea(profilo));
  EXPECT_EQ(letto.x, profilo.x);
  EXPECT_EQ(letto.y, profilo.y);
  EXPECT_EQ(letto.assegnati, 4);
}

TEST(LetturaCompilati, RefusesBytesThatAreNotTheLayout) {
  const std::string scenario = byte_file_scenario(record_di_prova());
  ProfiloLinea profilo;
  profilo.x = {0, 0, 5, 0};
  profilo.y = {0, 1, 6, 0};
  profilo.assegnati = 3;
  const std::string linea = byte_profilo_linea(profilo);
  struct Caso {
    const char* nome;
    std::string byte;
    int quale;  // 0 scenario, 1 track, 2 profile
  };
  const Caso casi[] = {
      {"scenario cut short", scenario.substr(0, scenario.size() - 1), 0},
      {"scenario with bytes after it", scenario + "x", 0},
      {"a name running past the end", std::string("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\xFF", 16), 0},
      {"empty track", "", 1},
      {"track not whole cells", std::string(31, '\0'), 1},
      {"empty profile", "", 2},
      {"odd number of elements", std::string("\0\0\0\0\0\0", 6), 2},
      {"unknown tag", std::string("\x03\0\0\0", 4), 2},
      {"value cut short", std::string("\x05\0\0\0", 4), 2},
      {"tags out of order", std::string("\x00\x00\x02\x00\x01\x00\x00\x00\x00\x00", 10), 2},
      {"columns that differ", linea.substr(0, linea.size() / 2) + std::string(8, '\0'), 2},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    switch (caso.quale) {
      case 0: EXPECT_THROW(decodifica_file_scenario(caso.byte), ErroreFormato); break;
      case 1: EXPECT_THROW(decodifica_file_percorso(caso.byte), ErroreFormato); break;
      default: EXPECT_THROW(decodifica_profilo_linea(caso.byte), ErroreFormato); break;
    }
  }
}

}  // namespace
}  // namespace gs

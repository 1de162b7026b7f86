#include "base/documento_testo.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "base/errore_file.h"

namespace gs {
namespace {

TEST(ListaRighe, SentinelInSlotZeroGivesAnEmptyFile) {
  test::CartellaTemporanea dir;
  const std::string percorso = dir.file("vuoto.txt");
  scrivi_documento(lista_righe({}), percorso);
  EXPECT_TRUE(test::esiste(percorso));
  EXPECT_EQ(test::leggi_byte(percorso), "");
}

TEST(ListaRighe, EveryLineEndsInCrLfAndEmptySlotsBecomeEmptyLines) {
  EXPECT_EQ(testo_documento(lista_righe({"a", "", "  b  "})), "a\r\n\r\n  b  \r\n");
}

TEST(ListaRighe, StopsAtTheSentinelAndNeverWritesIt) {
  ListaRighe lista = lista_righe({"uno", "due"});
  lista[3] = "dopo la fine";
  EXPECT_EQ(testo_documento(lista), "uno\r\ndue\r\n");
}

TEST(ListaRighe, SentinelMatchesOnlyExactly) {
  ListaRighe lista = lista_righe({"Riferimento fine del file", "riferimento fine del file "});
  EXPECT_EQ(testo_documento(lista),
            "Riferimento fine del file\r\nriferimento fine del file \r\n");
}

TEST(ListaRighe, WithoutSentinelStopsAfterTheLastSlot) {
  ListaRighe lista;
  lista.fill("x");
  const std::string testo = testo_documento(lista);
  EXPECT_EQ(testo.size(), 1001u * 3u);
}

TEST(ListaRighe, RefusesMoreThanAThousandLines) {
  std::vector<std::string_view> righe(1001, "x");
  EXPECT_THROW(lista_righe(righe), std::length_error);
  righe.pop_back();
  EXPECT_EQ(lista_righe(righe)[1000], kFineLista);
}

TEST(ScriviDocumento, ReplacesALongerOlderFileInFull) {
  test::CartellaTemporanea dir;
  const std::string percorso = dir.file("doc.txt");
  test::scrivi_byte(percorso, std::string(10000, 'z'));
  scrivi_documento(lista_righe({"breve"}), percorso);
  EXPECT_EQ(test::leggi_byte(percorso), "breve\r\n");
}

TEST(ScriviDocumento, KeepsEveryByteAsItStands) {
  test::CartellaTemporanea dir;
  const std::string percorso = dir.file("byte.txt");
  scrivi_documento(lista_righe({"\xE8\x80\xFF", "\t"}), percorso);
  EXPECT_EQ(test::leggi_byte(percorso), "\xE8\x80\xFF\r\n\t\r\n");
}

TEST(ScriviDocumento, ADirectoryAtThePathIsAFileErrorNamingThePath) {
  test::CartellaTemporanea dir;
  const std::string percorso = dir.file("occupato.txt");
  std::filesystem::create_directory(percorso);
  try {
    scrivi_documento(lista_righe({"x"}), percorso);
    FAIL() << "expected a file error";
  } catch (const ErroreFile& errore) {
    EXPECT_EQ(errore.percorso(), percorso);
    EXPECT_FALSE(errore.motivo().empty());
    EXPECT_NE(std::string(errore.what()).find(percorso), std::string::npos);
  }
}

TEST(ScriviDocumento, AMissingDirectoryIsAFileError) {
  test::CartellaTemporanea dir;
  EXPECT_THROW(scrivi_documento(lista_righe({"x"}), dir.file("manca/doc.txt")), ErroreFile);
}

}  // namespace
}  // namespace gs

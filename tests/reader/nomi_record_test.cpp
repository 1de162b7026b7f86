// Station names and sign texts become record names, which the scenario file
// stores after a 16-bit length: a longer one is the reader's run-time failure
// (error 25), never a compiled file left half written.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "aiuti_test.h"
#include "compiler/memorizza_percorso.h"
#include "base/errore_file.h"

namespace gs {
namespace {

const IdentitaScenario kId{"Brisca_Nolte", "52806"};
const std::string kLineaBreve = "[generale]\r\nlunghezza percorso, 10000\r\n[fine]\r\n";
const std::string kTrenoBreve = "[generale]\r\nnumero vetture, 6\r\n[fine]\r\n";

TEST(NomiDiRecord, ANameTooLongForItsLengthFieldIsARunTimeFailure) {
  struct Caso {
    const char* nome;
    std::string linea;  // the name goes where "NOME" stands, in either file
    std::string treno;
  };
  const Caso casi[] = {
      {"station name", kLineaBreve,
       "[generale]\r\nstazione, 1000, 2, 600, 0, 0, 0, 1,1,0, 4,1,1, 60, 18,10, 0, NOME\r\n"},
      {"sign text",
       "[generale]\r\nlunghezza percorso, 10000\r\n[x]\r\ncartello indicatore, 1000, NOME\r\n",
       kTrenoBreve},
  };
  const auto con_nome = [](std::string testo, std::size_t lunghezza) {
    const std::size_t posto = testo.find("NOME");
    if (posto != std::string::npos) testo.replace(posto, 4, std::string(lunghezza, 'A'));
    return testo;
  };
  for (const Caso& caso : casi) {
    for (const std::size_t lunghezza : {std::size_t{65535}, std::size_t{65536}}) {
      SCOPED_TRACE(std::string(caso.nome) + " of " + std::to_string(lunghezza) + " bytes");
      const bool entra = lunghezza <= 65535;
      test::CartellaTemporanea dir;
      test::scrivi_byte(dir.file("Brisca_Nolte_linea.txt"), con_nome(caso.linea, lunghezza));
      test::scrivi_byte(dir.file("Brisca_Nolte_52806-.txt"), con_nome(caso.treno, lunghezza));
      TabelleScenario tab;
      const std::int32_t j = 1;
      EsitoCompilazione esito;
      ASSERT_NO_THROW(esito = compila_scenario(j, kId, dir.cartella(), dir.cartella(),
                                               OpzioniLettura{.elimina_descrizioni = false}, tab));
      EXPECT_EQ(numero(tab.codice_errore), entra ? 0 : 25);
      EXPECT_EQ(esito.lettura.motivo.find("65536 bytes") != std::string::npos, !entra)
          << esito.lettura.motivo;
      // The name that fits is stored whole: 34 bytes a record besides the names.
      if (entra) {
        EXPECT_EQ(test::leggi_byte(dir.file("Brisca_Nolte_52806.sim")).size(),
                  87u * 34u + 65535u + kId.codice_scenario.size() + kId.numero_treno.size());
      }
    }
  }
}

}  // namespace
}  // namespace gs

#include "tool/servizio_vista.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"
#include "cliente_http.h"
#include "processo_sfondo.h"
#include "programmi.h"

#ifndef _WIN32
#include <csignal>
#endif

namespace gs {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using test::kDescrizioni;

// Every file in a folder with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> elenco(const fs::path& dir) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> voci;
  for (const auto& voce : fs::directory_iterator(dir)) {
    voci[voce.path().filename().string()] = {voce.file_size(), voce.last_write_time()};
  }
  return voci;
}

void inizializza(const test::CartellaTemporanea& dir) {
  const test::EsitoProgramma init = test::esegui_strumento({"init", dir.percorso().string()});
  ASSERT_EQ(init.stato, 0) << init.errori;
}

TEST(ServizioVista, AnnouncesANewModelSoonAfterADescriptionFileIsSavedAndWritesNothing) {
  test::CartellaTemporanea dir;
  inizializza(dir);
  const std::string treno = dir.file(kDescrizioni[1]);
  ImpostazioniServizio impostazioni;
  impostazioni.porta = 0;
  ServizioVista vista(dir.cartella(), identita_incorporata(), impostazioni, 50ms);
  EXPECT_EQ(vista.generazione(), 1u) << "the first model is there before serving starts";
  std::thread filo([&] { vista.esegui(); });

  test::Connessione eventi(vista.porta());
  eventi.invia("GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n");
  EXPECT_TRUE(eventi.attendi("data: 1\n\n")) << eventi.ricevuto();
  const test::RispostaHttp modello = test::richiedi(vista.porta(), "GET", "/model.json");
  EXPECT_EQ(modello.stato, 200);
  EXPECT_EQ(modello.campo("Content-Type"), "application/json");
  EXPECT_EQ(test::richiedi(vista.porta(), "GET", "/").campo("Content-Type"),
            "text/html; charset=utf-8");

  // The author saves the train file, a line longer.
  test::scrivi_byte(treno, test::leggi_byte(treno) + "\r\n");
  const auto prima = elenco(dir.percorso());
  EXPECT_TRUE(eventi.attendi("data: 2\n\n", 2000ms)) << eventi.ricevuto();

  vista.ferma();
  filo.join();
  EXPECT_TRUE(eventi.attendi_chiusura());
  EXPECT_EQ(elenco(dir.percorso()), prima) << "the folder is as the author left it";
}

struct CasoUso {
  const char* nome;
  std::vector<std::string> argomenti;  // after "serve DIR"
  std::string messaggio;
};

TEST(ScenarioToolServe, RefusesABadPortOrAScenarioItCannotFind) {
  test::CartellaTemporanea dir, vuota;
  inizializza(dir);
  const std::vector<CasoUso> casi = {
      {"not a number", {"--port", "http"}, "--port 'http' is not a port number"},
      {"too large", {"--port", "65536"}, "--port '65536' is not a port number"},
      {"negative", {"--port", "-1"}, "--port '-1' is not a port number"},
      {"another code", {"--code", "Altro"}, "no "},
  };
  for (const CasoUso& caso : casi) {
    std::vector<std::string> argomenti = {"serve", dir.percorso().string()};
    argomenti.insert(argomenti.end(), caso.argomenti.begin(), caso.argomenti.end());
    const test::EsitoProgramma esito = test::esegui_strumento(argomenti);
    EXPECT_EQ(esito.stato, 2) << caso.nome;
    EXPECT_NE(esito.errori.find(caso.messaggio), std::string::npos) << caso.nome << ": " << esito.errori;
    EXPECT_EQ(esito.uscita, "") << caso.nome;
  }
  const test::EsitoProgramma senza = test::esegui_strumento({"serve", vuota.percorso().string()});
  EXPECT_EQ(senza.stato, 2) << "a folder with no description files";
}

TEST(ScenarioToolServe, APortTakenGivesOneLineAndStatus2) {
  test::CartellaTemporanea dir;
  inizializza(dir);
  ImpostazioniServizio impostazioni;
  impostazioni.porta = 0;
  ServizioHttp occupante(impostazioni, "");
  const std::string porta = std::to_string(occupante.porta());
  const test::EsitoProgramma esito =
      test::esegui_strumento({"serve", dir.percorso().string(), "--port", porta});
  EXPECT_EQ(esito.stato, 2);
  EXPECT_EQ(esito.errori,
            "scenario_tool serve: cannot listen on 127.0.0.1:" + porta +
                ": the port is taken or not allowed (choose another with --port N, or --port 0 "
                "for any free one)\n");
  EXPECT_EQ(esito.uscita, "");
}

#ifndef _WIN32
TEST(ScenarioToolServe, TheProgramTellsItsAddressServesAndStopsCleanlyOnCtrlC) {
  test::CartellaTemporanea dir;
  inizializza(dir);
  const auto prima = elenco(dir.percorso());
  test::ProcessoSfondo programma({SCENARIO_TOOL_EXE, "serve", dir.percorso().string(), "--port", "0"});
  const auto riga = programma.riga(20s);
  ASSERT_TRUE(riga) << "no first line";
  std::smatch trovato;
  ASSERT_TRUE(std::regex_search(*riga, trovato, std::regex(R"(http://127\.0\.0\.1:(\d+)/)"))) << *riga;
  EXPECT_EQ(riga->rfind("serving Brisca_Nolte 52806 from ", 0), 0u) << *riga;
  const auto porta = static_cast<std::uint16_t>(std::stoi(trovato[1]));

  const test::RispostaHttp modello = test::richiedi(porta, "GET", "/model.json");
  EXPECT_EQ(modello.stato, 200);
  EXPECT_EQ(modello.campo("Content-Type"), "application/json");
  test::Connessione eventi(porta);
  eventi.invia("GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  ASSERT_TRUE(eventi.attendi("data: 1\n\n")) << eventi.ricevuto();

  programma.segnala(SIGINT);
  EXPECT_EQ(programma.attendi(10s), 0);
  EXPECT_EQ(programma.resto(2s), "stopped\n");
  EXPECT_TRUE(eventi.attendi_chiusura());
  EXPECT_EQ(elenco(dir.percorso()), prima);
}

TEST(ScenarioToolServe, SigtermStopsItToo) {
  test::CartellaTemporanea dir;
  inizializza(dir);
  test::ProcessoSfondo programma({SCENARIO_TOOL_EXE, "serve", dir.percorso().string(), "--port", "0"});
  ASSERT_TRUE(programma.riga(20s));
  programma.segnala(SIGTERM);
  EXPECT_EQ(programma.attendi(10s), 0);
  EXPECT_EQ(programma.resto(2s), "stopped\n");
}
#endif

}  // namespace
}  // namespace gs

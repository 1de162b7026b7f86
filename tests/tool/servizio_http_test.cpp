#include "tool/servizio_http.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cliente_http.h"

namespace gs {
namespace {

using namespace std::chrono_literals;
using test::Connessione;
using test::richiedi;
using test::RispostaHttp;
using test::scambia;

const std::string kPagina = "<!doctype html><p>the page</p>\n";
const std::string kModello = R"({"generation":"first"})";

// A server on a free port, run on a thread of its own until the test ends.
class ServizioInProva {
 public:
  explicit ServizioInProva(ImpostazioniServizio impostazioni = {}, bool con_modello = true)
      : servizio_(porta_libera(impostazioni), kPagina) {
    if (con_modello) servizio_.pubblica(kModello);
    filo_ = std::thread([this] { servizio_.esegui(); });
  }
  ~ServizioInProva() { ferma(); }

  void ferma() {
    servizio_.ferma();
    if (filo_.joinable()) filo_.join();
  }
  std::uint16_t porta() const { return servizio_.porta(); }
  ServizioHttp& servizio() { return servizio_; }

 private:
  static ImpostazioniServizio porta_libera(ImpostazioniServizio impostazioni) {
    impostazioni.porta = 0;
    return impostazioni;
  }

  ServizioHttp servizio_;
  std::thread filo_;
};

std::string richiesta(const std::string& riga, const std::string& campi) {
  return riga + "\r\n" + campi + "Connection: close\r\n\r\n";
}

struct CasoRotta {
  const char* nome;
  std::string richiesta;
  int stato;
  std::string tipo;  // "" where any will do
  std::string corpo;  // "" where any will do
};

TEST(ServizioHttp, AnswersEachRouteMethodAndHostAsDue) {
  ServizioInProva prova;
  const std::string locale = "Host: 127.0.0.1\r\n";
  const std::vector<CasoRotta> casi = {
      {"page", richiesta("GET / HTTP/1.1", locale), 200, "text/html; charset=utf-8", kPagina},
      {"model", richiesta("GET /model.json HTTP/1.1", locale), 200, "application/json", kModello},
      {"model with a query", richiesta("GET /model.json?t=5 HTTP/1.1", locale), 200,
       "application/json", kModello},
      {"HTTP/1.0", richiesta("GET /model.json HTTP/1.0", locale), 200, "application/json", kModello},
      {"localhost with a port", richiesta("GET / HTTP/1.1", "Host: localhost:8806\r\n"), 200, "", kPagina},
      {"LOCALHOST", richiesta("GET / HTTP/1.1", "Host: LOCALHOST\r\n"), 200, "", kPagina},
      {"127.0.0.1 with a port", richiesta("GET / HTTP/1.1", "Host: 127.0.0.1:1\r\n"), 200, "", kPagina},
      {"unknown path", richiesta("GET /etc/passwd HTTP/1.1", locale), 404, "text/plain; charset=utf-8", ""},
      {"a file beside", richiesta("GET /../model.json HTTP/1.1", locale), 404, "", ""},
      {"POST", richiesta("POST /model.json HTTP/1.1", locale), 405, "", ""},
      {"DELETE", richiesta("DELETE / HTTP/1.1", locale), 405, "", ""},
      {"foreign host", richiesta("GET /model.json HTTP/1.1", "Host: attacker.example\r\n"), 403, "", ""},
      {"foreign host, local port", richiesta("GET / HTTP/1.1", "Host: attacker.example:8806\r\n"), 403, "", ""},
      {"local name inside a foreign one", richiesta("GET / HTTP/1.1", "Host: 127.0.0.1.attacker.example\r\n"), 403, "", ""},
      {"port not a number", richiesta("GET / HTTP/1.1", "Host: localhost:80x\r\n"), 403, "", ""},
      {"empty port", richiesta("GET / HTTP/1.1", "Host: localhost:\r\n"), 403, "", ""},
      {"empty host", richiesta("GET / HTTP/1.1", "Host:\r\n"), 403, "", ""},
      {"no host", richiesta("GET /model.json HTTP/1.1", ""), 400, "", ""},
      {"no host, HTTP/1.0", richiesta("GET / HTTP/1.0", ""), 400, "", ""},
      {"two hosts", richiesta("GET / HTTP/1.1", locale + "Host: attacker.example\r\n"), 400, "", ""},
  };
  for (const CasoRotta& caso : casi) {
    const RispostaHttp risposta = scambia(prova.porta(), caso.richiesta);
    EXPECT_EQ(risposta.stato, caso.stato) << caso.nome << "\n" << risposta.intestazione;
    if (!caso.tipo.empty()) {
      EXPECT_EQ(risposta.campo("Content-Type"), caso.tipo) << caso.nome;
    }
    if (!caso.corpo.empty()) {
      EXPECT_EQ(risposta.corpo, caso.corpo) << caso.nome;
    }
    EXPECT_TRUE(risposta.chiusa) << caso.nome;
  }
}

TEST(ServizioHttp, ModelIsNeverCachedAndCarriesItsGeneration) {
  ServizioInProva prova;
  const RispostaHttp modello = richiedi(prova.porta(), "GET", "/model.json");
  EXPECT_EQ(modello.campo("Cache-Control"), "no-store");
  EXPECT_EQ(modello.campo("X-Model-Generation"), "1");
  EXPECT_EQ(richiedi(prova.porta(), "POST", "/").campo("Allow"), "GET, HEAD");
}

TEST(ServizioHttp, HeadGivesTheLengthOfWhatGetWouldSendWithoutIt) {
  ServizioInProva prova;
  for (const std::string percorso : {"/", "/model.json"}) {
    const RispostaHttp get = richiedi(prova.porta(), "GET", percorso);
    const RispostaHttp head = richiedi(prova.porta(), "HEAD", percorso);
    EXPECT_EQ(head.stato, 200) << percorso;
    EXPECT_EQ(head.campo("Content-Type"), get.campo("Content-Type")) << percorso;
    EXPECT_EQ(head.campo("Content-Length"), std::to_string(get.corpo.size())) << percorso;
    EXPECT_EQ(head.corpo, "") << percorso;
  }
  const RispostaHttp eventi = richiedi(prova.porta(), "HEAD", "/events");
  EXPECT_EQ(eventi.campo("Content-Type"), "text/event-stream");
  EXPECT_EQ(eventi.corpo, "");
  EXPECT_TRUE(eventi.chiusa);
}

TEST(ServizioHttp, AnswersSeveralRequestsOnOneConnection) {
  ServizioInProva prova;
  Connessione connessione(prova.porta());
  connessione.invia("GET /model.json HTTP/1.1\r\nHost: localhost\r\n\r\n"
                    "GET / HTTP/1.1\r\nHost: localhost\r\n\r\n");
  ASSERT_TRUE(connessione.attendi(kPagina)) << connessione.ricevuto();
  EXPECT_NE(connessione.ricevuto().find(kModello), std::string::npos);
}

TEST(ServizioHttp, EventsGiveTheGenerationAtOnceAndEachNewOne) {
  ImpostazioniServizio impostazioni;
  impostazioni.intervallo_ping = 100ms;
  ServizioInProva prova(impostazioni);
  Connessione eventi(prova.porta());
  eventi.invia("GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n");
  ASSERT_TRUE(eventi.attendi("retry: 1000\ndata: 1\n\n")) << eventi.ricevuto();
  EXPECT_NE(eventi.ricevuto().find("Content-Type: text/event-stream\r\n"), std::string::npos);

  prova.servizio().pubblica(R"({"generation":"second"})");
  ASSERT_TRUE(eventi.attendi("data: 2\n\n")) << eventi.ricevuto();
  const RispostaHttp modello = richiedi(prova.porta(), "GET", "/model.json");
  EXPECT_EQ(modello.corpo, R"({"generation":"second"})");
  EXPECT_EQ(modello.campo("X-Model-Generation"), "2");
  EXPECT_TRUE(eventi.attendi(": ping\n\n")) << eventi.ricevuto();
}

TEST(ServizioHttp, BeforeTheFirstModelEventsWaitAndTheModelIsUnavailable) {
  ServizioInProva prova({}, false);
  EXPECT_EQ(richiedi(prova.porta(), "GET", "/model.json").stato, 503);
  Connessione eventi(prova.porta());
  eventi.invia("GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n");
  ASSERT_TRUE(eventi.attendi("retry: 1000\n\n")) << eventi.ricevuto();
  prova.servizio().pubblica(kModello);
  ASSERT_TRUE(eventi.attendi("data: 1\n\n")) << eventi.ricevuto();
  EXPECT_EQ(eventi.ricevuto().find("data: 0"), std::string::npos);
}

struct CasoGuasto {
  const char* nome;
  std::string byte;
};

TEST(ServizioHttp, MalformedRequestsCloseTheirConnectionAndTheServerGoesOn) {
  ServizioInProva prova;
  const std::vector<CasoGuasto> casi = {
      {"garbage", "GARBAGE\r\n\r\n"},
      {"binary", std::string("\0\xff\x01\r\n\r\n", 7)},
      {"no version", "GET /\r\n\r\n"},
      {"header too large", "GET / HTTP/1.1\r\nHost: localhost\r\nX: " + std::string(20000, 'a') + "\r\n\r\n"},
      {"a body", "GET / HTTP/1.1\r\nHost: localhost\r\nContent-Length: 5\r\n\r\nhello"},
      {"a chunked body", "POST / HTTP/1.1\r\nHost: localhost\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"},
      {"bad content length", "GET / HTTP/1.1\r\nHost: localhost\r\nContent-Length: -1\r\n\r\n"},
  };
  for (const CasoGuasto& caso : casi) {
    const RispostaHttp risposta = scambia(prova.porta(), caso.byte);
    EXPECT_TRUE(risposta.chiusa) << caso.nome;
    if (risposta.stato != 0) {
      EXPECT_GE(risposta.stato, 400) << caso.nome;
    }
    EXPECT_EQ(richiedi(prova.porta(), "GET", "/").corpo, kPagina) << caso.nome;
  }
}

TEST(ServizioHttp, IdleAndSlowConnectionsAreClosedInTime) {
  ImpostazioniServizio impostazioni;
  impostazioni.limite_richiesta = 200ms;
  ServizioInProva prova(impostazioni);
  Connessione inerte(prova.porta());
  Connessione lenta(prova.porta());
  lenta.invia("GET / HTTP/1.1\r\nHost: loc");
  EXPECT_TRUE(inerte.attendi_chiusura(3s));
  EXPECT_TRUE(lenta.attendi_chiusura(3s));
  // An event stream is not idle: it stays open.
  Connessione eventi(prova.porta());
  eventi.invia("GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n");
  EXPECT_FALSE(eventi.attendi_chiusura(600ms)) << eventi.ricevuto();
}

TEST(ServizioHttp, ConnectionsBeyondTheCapAreClosedUntilOthersEnd) {
  ImpostazioniServizio impostazioni;
  impostazioni.massimo_connessioni = 2;
  ServizioInProva prova(impostazioni);
  {
    Connessione prima(prova.porta());
    Connessione seconda(prova.porta());
    Connessione terza(prova.porta());
    terza.invia("GET / HTTP/1.1\r\nHost: localhost\r\n\r\n");
    EXPECT_TRUE(terza.attendi_chiusura());
    EXPECT_EQ(terza.ricevuto(), "");
  }
  // The server notices the two closed ones shortly.
  RispostaHttp risposta;
  for (int tentativo = 0; tentativo < 50 && risposta.stato != 200; ++tentativo) {
    if (tentativo > 0) std::this_thread::sleep_for(20ms);
    risposta = richiedi(prova.porta(), "GET", "/");
  }
  EXPECT_EQ(risposta.stato, 200);
}

TEST(ServizioHttp, StoppingClosesOpenConnectionsAndReturns) {
  ServizioInProva prova;
  Connessione eventi(prova.porta());
  eventi.invia("GET /events HTTP/1.1\r\nHost: localhost\r\n\r\n");
  ASSERT_TRUE(eventi.attendi("data: 1\n\n"));
  Connessione inerte(prova.porta());
  prova.ferma();  // returns only once esegui() has
  EXPECT_TRUE(eventi.attendi_chiusura());
  EXPECT_TRUE(inerte.attendi_chiusura());
}

TEST(ServizioHttp, StopBeforeRunningMakesItReturnAtOnce) {
  ImpostazioniServizio impostazioni;
  impostazioni.porta = 0;
  ServizioHttp servizio(impostazioni, kPagina);
  servizio.ferma();
  servizio.esegui();
}

TEST(ServizioHttp, APortTakenIsRefusedWithAClearMessage) {
  ServizioInProva prova;
  ImpostazioniServizio stessa;
  stessa.porta = prova.porta();
  try {
    ServizioHttp seconda(stessa, kPagina);
    FAIL() << "a second server bound port " << stessa.porta;
  } catch (const ErroreServizio& errore) {
    const std::string messaggio = errore.what();
    EXPECT_NE(messaggio.find("127.0.0.1:" + std::to_string(stessa.porta)), std::string::npos);
    EXPECT_NE(messaggio.find("taken"), std::string::npos) << messaggio;
  }
  EXPECT_EQ(richiedi(prova.porta(), "GET", "/").stato, 200);
}

}  // namespace
}  // namespace gs

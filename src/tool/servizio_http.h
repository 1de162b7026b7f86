// The live viewer's HTTP server: it owns the listening socket on 127.0.0.1,
// every connection, the page, the current model and its generation number,
// and the event stream that announces each new generation. It serves nothing
// from the disk.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace gs {

// The port `serve` listens on unless told otherwise.
inline constexpr std::uint16_t kPortaVistaPredefinita = 8806;

struct ImpostazioniServizio {
  std::uint16_t porta = kPortaVistaPredefinita;  // 0: any free port
  std::size_t massimo_connessioni = 64;          // beyond these a new connection is closed at once
  // A request must arrive whole, and a reply or an event be taken, within this
  // time; a connection idle for as long between two requests is closed.
  std::chrono::milliseconds limite_richiesta{10000};
  // How often an open event stream gets a comment line, so that a closed
  // connection is noticed.
  std::chrono::milliseconds intervallo_ping{15000};
  bool ferma_ai_segnali = false;  // SIGINT and SIGTERM stop the server
};

// The server could not start (the port taken, most often); the message says why.
class ErroreServizio : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ServizioHttp {
 public:
  // Binds and listens at once: the port is taken from here on. Throws
  // ErroreServizio when it cannot.
  ServizioHttp(const ImpostazioniServizio& impostazioni, std::string pagina);
  ~ServizioHttp();
  ServizioHttp(const ServizioHttp&) = delete;
  ServizioHttp& operator=(const ServizioHttp&) = delete;

  // The port actually bound (the free one chosen when asked for port 0).
  std::uint16_t porta() const;

  // Serves on the calling thread until ferma() or, when asked, a signal;
  // every connection is closed before it returns.
  void esegui();

  // Stops esegui(), from any thread; before esegui() it makes it return at once.
  void ferma();

  // Makes `modello` the current model, with the next generation number, and
  // announces it on every event stream. From any thread.
  void pubblica(std::string modello);

  // The current generation: 0 before the first model, then 1, 2, ...
  std::uint64_t generazione() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace gs

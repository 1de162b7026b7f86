// A small HTTP client for the server tests: raw requests sent as written, the
// reply read back until the server closes, and an event stream read as it
// comes. Every wait has a time limit, so a fault fails a test rather than
// hanging it.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace gs::test {

// A reply split into its parts; `stato` is 0 when nothing readable came back.
struct RispostaHttp {
  int stato = 0;
  std::string intestazione;  // status line and headers
  std::string corpo;
  bool chiusa = false;       // the server closed the connection within the limit

  // The value of header `nome` (any case), or "" when it is missing.
  std::string campo(const std::string& nome) const;
};

RispostaHttp analizza_risposta(const std::string& grezza, bool chiusa);

// Sends `richiesta` as it is, then reads until the server closes or `limite` passes.
RispostaHttp scambia(std::uint16_t porta, const std::string& richiesta,
                     std::chrono::milliseconds limite = std::chrono::milliseconds{5000});

// "GET /model.json" with a local Host and Connection: close.
RispostaHttp richiedi(std::uint16_t porta, const std::string& metodo, const std::string& percorso);

// One open connection read as it comes (an event stream, a connection left idle).
class Connessione {
 public:
  explicit Connessione(std::uint16_t porta);
  ~Connessione();
  Connessione(const Connessione&) = delete;
  Connessione& operator=(const Connessione&) = delete;

  void invia(const std::string& testo);
  // Reads until what came so far holds `atteso`; false when `limite` passes first.
  bool attendi(const std::string& atteso, std::chrono::milliseconds limite = std::chrono::milliseconds{2000});
  // Reads until the server closes; false when `limite` passes first.
  bool attendi_chiusura(std::chrono::milliseconds limite = std::chrono::milliseconds{2000});
  const std::string& ricevuto() const { return ricevuto_; }

 private:
  // Reads once, for at most `limite`; false when nothing came, or the connection ended.
  bool leggi(std::chrono::milliseconds limite);

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string ricevuto_;
  bool finita_ = false;
};

}  // namespace gs::test

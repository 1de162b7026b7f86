#include "cliente_http.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>  // before Asio 1.74, whose awaitable.hpp needs std::exchange

#include <boost/asio.hpp>

namespace gs::test {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using boost::system::error_code;

namespace {

std::string minuscolo(std::string testo) {
  std::transform(testo.begin(), testo.end(), testo.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return testo;
}

}  // namespace

std::string RispostaHttp::campo(const std::string& nome) const {
  const std::string cercato = "\r\n" + minuscolo(nome) + ":";
  const std::string basso = minuscolo(intestazione);
  const auto inizio = basso.find(cercato);
  if (inizio == std::string::npos) return "";
  auto valore = inizio + cercato.size();
  while (valore < intestazione.size() && intestazione[valore] == ' ') ++valore;
  const auto fine = intestazione.find("\r\n", valore);
  return intestazione.substr(valore, fine - valore);
}

RispostaHttp analizza_risposta(const std::string& grezza, bool chiusa) {
  RispostaHttp risposta;
  risposta.chiusa = chiusa;
  const auto fine = grezza.find("\r\n\r\n");
  if (grezza.rfind("HTTP/1.", 0) != 0 || fine == std::string::npos || grezza.size() < 12) {
    return risposta;
  }
  risposta.stato = std::stoi(grezza.substr(9, 3));
  risposta.intestazione = grezza.substr(0, fine + 2);
  risposta.corpo = grezza.substr(fine + 4);
  return risposta;
}

struct Connessione::Impl {
  asio::io_context contesto;
  tcp::socket socket{contesto};
};

Connessione::Connessione(std::uint16_t porta) : impl_(std::make_unique<Impl>()) {
  impl_->socket.connect(tcp::endpoint(asio::ip::address_v4::loopback(), porta));
}

Connessione::~Connessione() {
  error_code ignora;
  impl_->socket.close(ignora);
}

void Connessione::invia(const std::string& testo) {
  error_code errore;
  asio::write(impl_->socket, asio::buffer(testo), errore);
  // A server that already closed makes the write fail: what it sent is still read.
}

bool Connessione::leggi(std::chrono::milliseconds limite) {
  if (finita_) return false;
  std::array<char, 4096> blocco{};
  bool letto = false;
  impl_->socket.async_read_some(asio::buffer(blocco), [&](error_code errore, std::size_t n) {
    ricevuto_.append(blocco.data(), n);
    // Cancelled at the time limit: the connection is still open.
    if (errore && errore != asio::error::operation_aborted) finita_ = true;
    letto = n > 0;
  });
  impl_->contesto.restart();
  impl_->contesto.run_for(limite);
  if (!impl_->contesto.stopped()) {
    impl_->socket.cancel();
    impl_->contesto.restart();
    impl_->contesto.run();
  }
  return letto && !finita_;
}

bool Connessione::attendi(const std::string& atteso, std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  while (ricevuto_.find(atteso) == std::string::npos) {
    const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(
        scadenza - std::chrono::steady_clock::now());
    if (resto.count() <= 0 || finita_) return false;
    leggi(resto);
  }
  return true;
}

bool Connessione::attendi_chiusura(std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  while (!finita_) {
    const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(
        scadenza - std::chrono::steady_clock::now());
    if (resto.count() <= 0) return false;
    leggi(resto);
  }
  return true;
}

RispostaHttp scambia(std::uint16_t porta, const std::string& richiesta,
                     std::chrono::milliseconds limite) {
  Connessione connessione(porta);
  connessione.invia(richiesta);
  const bool chiusa = connessione.attendi_chiusura(limite);
  return analizza_risposta(connessione.ricevuto(), chiusa);
}

RispostaHttp richiedi(std::uint16_t porta, const std::string& metodo, const std::string& percorso) {
  return scambia(porta, metodo + " " + percorso +
                            " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

}  // namespace gs::test

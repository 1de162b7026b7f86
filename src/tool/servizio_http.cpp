#include "tool/servizio_http.h"

#include <array>
#include <atomic>
#include <csignal>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <utility>  // before Asio 1.74, whose awaitable.hpp needs std::exchange
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace gs {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using boost::system::error_code;

// Requests carry no body and a few short headers: anything larger is refused.
constexpr std::uint32_t kLimiteIntestazione = 8 * 1024;
constexpr std::size_t kLimiteLettura = 16 * 1024;
// After a failed accept (out of descriptors, say) the next one waits a little
// rather than spinning.
constexpr std::chrono::milliseconds kPausaDopoAccettazioneFallita{50};

using Testo = std::shared_ptr<const std::string>;

class Sessione;

// What every connection shares; touched on the I/O thread only, except the
// model and its generation, which pubblica() sets from any thread.
struct Nucleo {
  ImpostazioniServizio impostazioni;
  Testo pagina;
  std::unordered_set<Sessione*> sessioni;
  bool fermato = false;

  mutable std::mutex guardia;
  Testo modello;  // under `guardia`
  std::atomic<std::uint64_t> generazione{0};

  // The current model and its generation, read together.
  std::pair<Testo, std::uint64_t> modello_corrente() const {
    const std::lock_guard<std::mutex> blocco(guardia);
    return {modello, generazione.load()};
  }
};

// ---------------------------------------------------------------------------
// Routing

enum class Rotta { pagina, modello, eventi, rifiuto };

struct Instradamento {
  Rotta rotta;
  http::status stato = http::status::ok;
  const char* motivo = "";
};

bool solo_cifre(beast::string_view testo) {
  if (testo.empty()) return false;
  for (const char c : testo) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Only the names of this machine's loopback are answered: a page from another
// site whose name was made to point here (DNS rebinding) sends its own name.
bool host_locale(beast::string_view host) {
  beast::string_view nome = host;
  const auto due_punti = host.find(':');
  if (due_punti != beast::string_view::npos) {
    const beast::string_view porta = host.substr(due_punti + 1);
    if (!solo_cifre(porta) || porta.size() > 5) return false;
    nome = host.substr(0, due_punti);
  }
  return nome == "127.0.0.1" || beast::iequals(nome, "localhost");
}

Instradamento instrada(const http::request_header<>& richiesta) {
  const std::size_t host = richiesta.count(http::field::host);
  if (host == 0) return {Rotta::rifiuto, http::status::bad_request, "the request has no Host header\n"};
  if (host > 1) return {Rotta::rifiuto, http::status::bad_request, "the request has several Host headers\n"};
  if (!host_locale(richiesta[http::field::host])) {
    return {Rotta::rifiuto, http::status::forbidden,
            "this server answers only requests for 127.0.0.1 or localhost\n"};
  }
  if (richiesta.method() != http::verb::get && richiesta.method() != http::verb::head) {
    return {Rotta::rifiuto, http::status::method_not_allowed, "only GET and HEAD are served\n"};
  }
  beast::string_view percorso = richiesta.target();
  percorso = percorso.substr(0, percorso.find('?'));
  if (percorso == "/") return {Rotta::pagina};
  if (percorso == "/model.json") return {Rotta::modello};
  if (percorso == "/events") return {Rotta::eventi};
  return {Rotta::rifiuto, http::status::not_found, "not found\n"};
}

// A request the parser could not read: the status that tells the client why.
http::status stato_per_errore(const error_code& errore) {
  if (errore == http::error::header_limit || errore == http::error::buffer_overflow) {
    return http::status::request_header_fields_too_large;
  }
  if (errore == http::error::unexpected_body || errore == http::error::body_limit) {
    return http::status::payload_too_large;
  }
  return http::status::bad_request;
}

// The client went away or was too slow: nothing to answer.
bool connessione_finita(const error_code& errore) {
  return errore.category() != http::make_error_code(http::error::bad_method).category() ||
         errore == http::error::end_of_stream || errore == http::error::partial_message;
}

Testo testo(std::string contenuto) { return std::make_shared<const std::string>(std::move(contenuto)); }

// ---------------------------------------------------------------------------
// One connection: requests and replies in turn, or, once it asked for
// /events, an event stream until either side closes it.

class Sessione : public std::enable_shared_from_this<Sessione> {
 public:
  Sessione(tcp::socket socket, Nucleo& nucleo)
      : nucleo_(nucleo), flusso_(std::move(socket)), buffer_(kLimiteLettura),
        ping_(flusso_.get_executor()) {
    nucleo_.sessioni.insert(this);
  }
  ~Sessione() { nucleo_.sessioni.erase(this); }
  Sessione(const Sessione&) = delete;
  Sessione& operator=(const Sessione&) = delete;

  void avvia() { leggi_richiesta(); }

  void chiudi() {
    if (chiusa_) return;
    chiusa_ = true;
    ping_.cancel();
    error_code ignora;
    flusso_.socket().shutdown(tcp::socket::shutdown_both, ignora);
    flusso_.close();
  }

  // On an event stream, sends the current generation unless it was sent already.
  void annuncia() {
    if (!in_eventi_ || scrivendo_ || chiusa_) return;
    const std::uint64_t generazione = nucleo_.generazione.load();
    if (generazione <= annunciata_) return;
    annunciata_ = generazione;
    scrivi_eventi(std::string("data: ") += std::to_string(generazione) += "\n\n");
  }

 private:
  void leggi_richiesta() {
    parser_.emplace();
    parser_->header_limit(kLimiteIntestazione);
    parser_->body_limit(0);
    flusso_.expires_after(nucleo_.impostazioni.limite_richiesta);
    http::async_read(flusso_, buffer_, *parser_,
                     [io = shared_from_this()](error_code errore, std::size_t) {
                       io->su_richiesta(errore);
                     });
  }

  void su_richiesta(const error_code& errore) {
    if (chiusa_ || nucleo_.fermato) return;
    if (errore) {
      if (connessione_finita(errore)) return chiudi();
      return rispondi(11, stato_per_errore(errore), "text/plain; charset=utf-8",
                      testo("the request cannot be read\n"), false, false);
    }
    const auto& richiesta = parser_->get();
    const unsigned versione = richiesta.version() == 10 ? 10 : 11;
    const bool testa = richiesta.method() == http::verb::head;
    const Instradamento via = instrada(richiesta);
    switch (via.rotta) {
      case Rotta::pagina:
        return rispondi(versione, http::status::ok, "text/html; charset=utf-8", nucleo_.pagina,
                        testa, richiesta.keep_alive());
      case Rotta::modello:
        return rispondi_modello(versione, testa, richiesta.keep_alive());
      case Rotta::eventi:
        return apri_eventi(testa);
      case Rotta::rifiuto:
        // A request without a sound Host is not worth a second one.
        return rispondi(versione, via.stato, "text/plain; charset=utf-8", testo(via.motivo), testa,
                        richiesta.keep_alive() && via.stato != http::status::bad_request);
    }
  }

  void rispondi_modello(unsigned versione, bool testa, bool resta) {
    const auto [modello, generazione] = nucleo_.modello_corrente();
    if (!modello) {
      return rispondi(versione, http::status::service_unavailable, "text/plain; charset=utf-8",
                      testo("the model is not ready yet\n"), testa, resta);
    }
    rispondi(versione, http::status::ok, "application/json", modello, testa, resta, generazione);
  }

  // Sends `corpo` (only its length, for HEAD), then reads the next request or
  // closes. A model carries its generation in a header of its own.
  void rispondi(unsigned versione, http::status stato, const char* tipo, Testo corpo, bool testa,
                bool resta, std::optional<std::uint64_t> generazione = std::nullopt) {
    risposta_ = {};
    if (generazione) risposta_.set("X-Model-Generation", std::to_string(*generazione));
    corpo_ = std::move(corpo);
    risposta_.version(versione);
    risposta_.result(stato);
    risposta_.set(http::field::content_type, tipo);
    risposta_.set(http::field::cache_control, "no-store");
    risposta_.set("X-Content-Type-Options", "nosniff");
    if (stato == http::status::method_not_allowed) risposta_.set(http::field::allow, "GET, HEAD");
    risposta_.keep_alive(resta);
    risposta_.body() = testa ? http::span_body<const char>::value_type{}
                             : http::span_body<const char>::value_type(corpo_->data(), corpo_->size());
    risposta_.content_length(corpo_->size());
    flusso_.expires_after(nucleo_.impostazioni.limite_richiesta);
    http::async_write(flusso_, risposta_,
                      [io = shared_from_this(), resta](error_code errore, std::size_t) {
                        io->su_risposta(errore, resta);
                      });
  }

  void su_risposta(const error_code& errore, bool resta) {
    if (chiusa_ || nucleo_.fermato) return;
    if (errore || !resta) return chiudi();
    leggi_richiesta();
  }

  // The stream's head, the retry delay and the current generation; then an
  // event for each new one and a comment line at each ping.
  void apri_eventi(bool testa) {
    std::string inizio =
        "HTTP/1.1 200 OK\r\n"
        "Content-Type: text/event-stream\r\n"
        "Cache-Control: no-store\r\n"
        "X-Content-Type-Options: nosniff\r\n"
        "Connection: close\r\n"
        "\r\n";
    if (testa) {
      in_chiusura_ = true;
      return scrivi_eventi(std::move(inizio));
    }
    in_eventi_ = true;
    inizio += "retry: 1000\n";
    annunciata_ = nucleo_.generazione.load();
    if (annunciata_ > 0) inizio += std::string("data: ") += std::to_string(annunciata_) += "\n";
    inizio += "\n";
    // Any end of the connection from the client's side ends the stream at once;
    // only the writes have a time limit.
    flusso_.expires_never();
    attendi_chiusura();
    scrivi_eventi(std::move(inizio));
    arma_ping();
  }

  void attendi_chiusura() {
    flusso_.async_read_some(asio::buffer(scarto_),
                            [io = shared_from_this()](error_code errore, std::size_t) {
                              if (errore) return io->chiudi();
                              io->attendi_chiusura();
                            });
  }

  void scrivi_eventi(std::string testo) {
    scrivendo_ = true;
    uscita_ = std::move(testo);
    flusso_.expires_after(nucleo_.impostazioni.limite_richiesta);
    asio::async_write(flusso_, asio::buffer(uscita_),
                      [io = shared_from_this()](error_code errore, std::size_t) {
                        io->scrivendo_ = false;
                        if (errore || io->in_chiusura_) return io->chiudi();
                        io->annuncia();
                      });
  }

  void arma_ping() {
    ping_.expires_after(nucleo_.impostazioni.intervallo_ping);
    ping_.async_wait([io = shared_from_this()](error_code errore) {
      if (errore || io->chiusa_) return;
      if (!io->scrivendo_) io->scrivi_eventi(": ping\n\n");
      io->arma_ping();
    });
  }

  Nucleo& nucleo_;
  beast::tcp_stream flusso_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> parser_;
  http::response<http::span_body<const char>> risposta_;
  Testo corpo_;  // what risposta_'s body points into, kept until it is sent

  asio::steady_timer ping_;
  std::string uscita_;
  std::array<char, 512> scarto_{};
  std::uint64_t annunciata_ = 0;
  bool in_eventi_ = false;
  bool in_chiusura_ = false;  // close once the write in progress is done
  bool scrivendo_ = false;
  bool chiusa_ = false;
};

void imposta_indirizzo_esclusivo(tcp::acceptor& accettore) {
#ifdef _WIN32
  // Windows would let another program bind the same port over ours with
  // SO_REUSEADDR; exclusive use refuses that.
  accettore.set_option(
      asio::detail::socket_option::boolean<SOL_SOCKET, SO_EXCLUSIVEADDRUSE>(true));
#else
  // Elsewhere it only lets a restarted server bind while the last run's
  // connections linger; two listeners on one port are still refused.
  accettore.set_option(tcp::acceptor::reuse_address(true));
#endif
}

}  // namespace

// The shared state is declared before the I/O context so that it outlives it:
// the connections still pending when the context goes are destroyed with it,
// and each one leaves the shared state as it goes.
struct ServizioHttp::Impl {
  Nucleo nucleo;
  asio::io_context contesto{1};
  tcp::acceptor accettore{contesto};
  asio::signal_set segnali{contesto};
  asio::steady_timer pausa{contesto};
  std::uint16_t porta = 0;

  void accetta() {
    accettore.async_accept([this](error_code errore, tcp::socket socket) {
      if (nucleo.fermato || errore == asio::error::operation_aborted) return;
      if (errore) {
        pausa.expires_after(kPausaDopoAccettazioneFallita);
        pausa.async_wait([this](error_code e) {
          if (!e && !nucleo.fermato) accetta();
        });
        return;
      }
      if (nucleo.sessioni.size() >= nucleo.impostazioni.massimo_connessioni) {
        error_code ignora;
        socket.close(ignora);
      } else {
        std::make_shared<Sessione>(std::move(socket), nucleo)->avvia();
      }
      accetta();
    });
  }

  void annuncia_a_tutti() {
    const std::vector<Sessione*> tutte(nucleo.sessioni.begin(), nucleo.sessioni.end());
    for (Sessione* sessione : tutte) sessione->annuncia();
  }

  void chiudi_tutto() {
    if (nucleo.fermato) return;
    nucleo.fermato = true;
    error_code ignora;
    accettore.close(ignora);
    segnali.cancel(ignora);
    pausa.cancel();
    const std::vector<Sessione*> tutte(nucleo.sessioni.begin(), nucleo.sessioni.end());
    for (Sessione* sessione : tutte) sessione->chiudi();
    contesto.stop();
  }
};

ServizioHttp::ServizioHttp(const ImpostazioniServizio& impostazioni, std::string pagina)
    : impl_(std::make_unique<Impl>()) {
  impl_->nucleo.impostazioni = impostazioni;
  impl_->nucleo.pagina = testo(std::move(pagina));
  const tcp::endpoint punto(asio::ip::address_v4::loopback(), impostazioni.porta);
  std::string fallimento = std::string("cannot listen on 127.0.0.1:") += std::to_string(impostazioni.porta);
  error_code errore;
  impl_->accettore.open(punto.protocol(), errore);
  if (!errore) imposta_indirizzo_esclusivo(impl_->accettore);
  if (!errore) impl_->accettore.bind(punto, errore);
  if (errore == asio::error::address_in_use || errore == asio::error::access_denied) {
    throw ErroreServizio(fallimento += ": the port is taken or not allowed (choose another with "
                                       "--port N, or --port 0 for any free one)");
  }
  if (!errore) impl_->accettore.listen(asio::socket_base::max_listen_connections, errore);
  if (errore) throw ErroreServizio((fallimento += ": ") += errore.message());
  impl_->porta = impl_->accettore.local_endpoint().port();
  if (impostazioni.ferma_ai_segnali) {
    impl_->segnali.add(SIGINT);
    impl_->segnali.add(SIGTERM);
    impl_->segnali.async_wait([impl = impl_.get()](error_code e, int) {
      if (!e) impl->chiudi_tutto();
    });
  }
  impl_->accetta();
}

ServizioHttp::~ServizioHttp() = default;

std::uint16_t ServizioHttp::porta() const { return impl_->porta; }

void ServizioHttp::esegui() { impl_->contesto.run(); }

void ServizioHttp::ferma() {
  asio::post(impl_->contesto, [impl = impl_.get()] { impl->chiudi_tutto(); });
}

void ServizioHttp::pubblica(std::string modello) {
  {
    const std::lock_guard<std::mutex> blocco(impl_->nucleo.guardia);
    impl_->nucleo.modello = testo(std::move(modello));
    ++impl_->nucleo.generazione;
  }
  asio::post(impl_->contesto, [impl = impl_.get()] { impl->annuncia_a_tutti(); });
}

std::uint64_t ServizioHttp::generazione() const { return impl_->nucleo.generazione.load(); }

}  // namespace gs

// The live viewer of one scenario: the HTTP server with the page and the
// model, and the watch on the two description files that rebuilds the model
// and announces it each time either file changes. Reads the files; writes
// nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "base/cartella.h"
#include "base/nomi_file.h"
#include "tool/servizio_http.h"
#include "tool/sorveglianza.h"

namespace gs {

// How often the description files are looked at.
inline constexpr std::chrono::milliseconds kIntervalloSorveglianza{250};

class ServizioVista {
 public:
  // Binds the port (throws ErroreServizio when it cannot), then builds the
  // first model: once constructed, every route answers.
  ServizioVista(const Cartella& cartella, const IdentitaScenario& id,
                const ImpostazioniServizio& impostazioni,
                std::chrono::milliseconds intervallo = kIntervalloSorveglianza);

  std::uint16_t porta() const { return servizio_.porta(); }
  std::uint64_t generazione() const { return servizio_.generazione(); }

  // Serves and watches until ferma() or, when the settings ask, a signal.
  // The model is rebuilt on the watching thread, never on the one serving.
  // Call once.
  void esegui();

  // From any thread.
  void ferma() { servizio_.ferma(); }

 private:
  void ricostruisci();

  Cartella cartella_;
  IdentitaScenario id_;
  std::chrono::milliseconds intervallo_;
  ServizioHttp servizio_;
  std::optional<Sorveglianza> sorveglianza_;
};

}  // namespace gs

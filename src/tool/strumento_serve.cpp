// scenario_tool serve: the live viewer of a scenario on 127.0.0.1, rebuilt
// each time its description files change.
#include <optional>
#include <ostream>
#include <string>

#include "tool/servizio_vista.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

std::uint16_t porta_scelta(const Argomenti& argomenti) {
  const auto scritta = opzione(argomenti, "--port");
  if (!scritta) return kPortaVistaPredefinita;
  const bool cifre = !scritta->empty() && scritta->size() <= 5 &&
                     scritta->find_first_not_of("0123456789") == std::string::npos;
  if (!cifre || std::stoul(*scritta) > 65535) {
    throw ErroreUso("--port '" + *scritta + "' is not a port number (0 to 65535)");
  }
  return static_cast<std::uint16_t>(std::stoul(*scritta));
}

}  // namespace

int comando_serve(const Argomenti& argomenti, Uscite& uscite) {
  const std::string dir = argomenti.posizionali.front();
  const SceltaScenario scelta = scelta_scenario(argomenti);
  ImpostazioniServizio impostazioni;
  impostazioni.porta = porta_scelta(argomenti);
  impostazioni.ferma_ai_segnali = true;
  const IdentitaScenario id = trova_descrizioni(dir, scelta.codice, scelta.treno);

  std::optional<ServizioVista> servizio;
  try {
    servizio.emplace(Cartella{dir, '/'}, id, impostazioni);
  } catch (const ErroreServizio& errore) {
    uscite.errori << "scenario_tool serve: " << errore.what() << "\n";
    return kStatoStrumentoUso;
  }
  // The first line tells where to look; whoever started the program may be
  // waiting for it, so it goes out at once.
  uscite.uscita << "serving " << id.codice_scenario << " " << id.numero_treno << " from " << dir
                << " at http://127.0.0.1:" << servizio->porta() << "/ (Ctrl-C stops)" << std::endl;
  servizio->esegui();
  uscite.uscita << "stopped\n";
  return kStatoStrumentoOk;
}

}  // namespace gs

#include "tool/servizio_vista.h"

#include <utility>

#include "tool/vista.h"

namespace gs {

ServizioVista::ServizioVista(const Cartella& cartella, const IdentitaScenario& id,
                             const ImpostazioniServizio& impostazioni,
                             std::chrono::milliseconds intervallo)
    : cartella_(cartella), id_(id), intervallo_(intervallo), servizio_(impostazioni, pagina_vista()) {
  // The files are looked at before the first model is built from them: a
  // change made while it is built is seen at the first look that follows.
  sorveglianza_.emplace(std::vector<std::string>{cartella_.file(nome_descrizione_linea(id_)),
                                                 cartella_.file(nome_descrizione_treno(id_))});
  ricostruisci();
}

void ServizioVista::ricostruisci() { servizio_.pubblica(modello_vista(cartella_, id_)); }

void ServizioVista::esegui() {
  SorveglianzaPeriodica sorveglianza(std::move(*sorveglianza_), intervallo_,
                                     [this] { ricostruisci(); });
  sorveglianza_.reset();
  servizio_.esegui();
}

}  // namespace gs

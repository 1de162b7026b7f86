#include "compiler/messaggi_errore.h"

namespace gs {

std::string significato_errore(CodiceErrore codice) {
  const VoceErrore* voce = voce_errore(codice);
  return voce == nullptr ? "unknown scenario error" : std::string(voce->significato);
}

bool errore_conosciuto(CodiceErrore codice) { return voce_errore(codice) != nullptr; }

bool errore_con_posizione(CodiceErrore codice) {
  const VoceErrore* voce = voce_errore(codice);
  return voce != nullptr && voce->con_posizione;
}

std::string testo_errore_scenario(CodiceErrore codice, std::int32_t posizione) {
  std::string testo =
      "scenario error " + std::to_string(numero(codice)) + ": " + significato_errore(codice);
  if (errore_con_posizione(codice)) testo += ", at " + std::to_string(posizione) + " m";
  return testo;
}

std::string testo_percorso_mancante() {
  return "scenario error: no track to compile (the line description file gave no usable line "
         "length)";
}

}  // namespace gs

#include "documents/dati_note.h"

#include <string>

namespace gs {

ListaRighe righe_note(std::string_view autore, std::string_view email) {
  const std::string riga_autore = "Autore " + std::string(autore) + ".";
  const std::string riga_contatto = "e-mail " + std::string(email);
  const std::string firma = std::string(autore) + ". ";
  return lista_righe({
      riga_autore,
      riga_contatto,
      "",
      "Treno ricavato dall'orario ufficiale del 1995.",
      "",
      "La caratteristica principale \xE8"
      " dovuta dal fatto che il treno ferma in tutte le stazioni, quindi",
      "impegnativo (ma sicuramente molto divertente) dal punto di vista di guida.",
      firma,
  });
}

void dati_note(const IdentitaScenario& id, const Cartella& cartella) {
  scrivi_documento(righe_note(kAutoreNote, kEmailAutoreNote), cartella.file(nome_note(id)));
}

}  // namespace gs

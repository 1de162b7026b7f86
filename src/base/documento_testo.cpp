#include "base/documento_testo.h"

#include <stdexcept>

#include "base/file_system.h"

namespace gs {

ListaRighe lista_righe(std::initializer_list<std::string_view> righe) {
  return lista_righe(std::span<const std::string_view>(righe.begin(), righe.size()));
}

ListaRighe lista_righe(std::span<const std::string_view> righe) {
  if (righe.size() >= ListaRighe{}.size()) {
    throw std::length_error("a line list holds at most 1000 lines");
  }
  ListaRighe lista;
  std::size_t slot = 0;
  for (std::string_view riga : righe) lista[slot++] = std::string(riga);
  lista[slot] = std::string(kFineLista);
  return lista;
}

std::string testo_documento(const ListaRighe& lista) {
  std::string testo;
  for (const std::string& riga : lista) {
    if (riga == kFineLista) break;
    testo += riga;
    testo += "\r\n";
  }
  return testo;
}

void scrivi_documento(const ListaRighe& lista, const std::string& percorso) {
  FileUscita file = sostituisci(percorso);
  file.scrivi(testo_documento(lista));
  file.chiudi();
}

}  // namespace gs

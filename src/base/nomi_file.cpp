#include "base/nomi_file.h"

namespace gs {
namespace {

std::string per_treno(const IdentitaScenario& id, const char* coda) {
  return id.codice_scenario + "_" + id.numero_treno + coda;
}

}  // namespace

IdentitaScenario identita_incorporata() { return {"Brisca_Nolte", "52806"}; }

std::string nome_descrizione_linea(const IdentitaScenario& id) {
  return id.codice_scenario + "_linea.txt";
}
std::string nome_descrizione_treno(const IdentitaScenario& id) { return per_treno(id, "-.txt"); }
std::string nome_note(const IdentitaScenario& id) { return per_treno(id, "_note.txt"); }
std::string nome_rallentamenti(const IdentitaScenario& id) {
  return per_treno(id, "_rallentamenti.txt");
}
std::string nome_scheda_treno(const IdentitaScenario& id) {
  return per_treno(id, "_scheda_treno.txt");
}
std::string nome_profilo_linea(const IdentitaScenario& id) {
  return id.codice_scenario + "_linea.dat";
}
std::string nome_file_scenario(const IdentitaScenario& id) { return per_treno(id, ".sim"); }
std::string nome_file_percorso(const IdentitaScenario& id) { return per_treno(id, ".dat"); }

}  // namespace gs

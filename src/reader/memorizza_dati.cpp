#include "reader/memorizza_dati.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/errore_file.h"
#include "base/lettura_file.h"
#include "reader/errore_esecuzione.h"
#include "reader/lettore_campi.h"
#include "reader/lettura_linea.h"
#include "reader/lettura_treno.h"

namespace gs {
namespace {


// Any name counts, whatever stands there: reading it tells what is wrong with it.
bool file_esiste(const std::string& percorso) {
  std::error_code ignora;
  return std::filesystem::exists(std::filesystem::status(percorso, ignora));
}

// The whole content of a description file; one that cannot be read (not a
// regular file, too large, unreadable) is a run-time failure.
std::string leggi_tutto(const std::string& percorso) {
  try {
    return leggi_file_regolare(percorso, kByteMassimiDescrizione);
  } catch (const ErroreFile& guasto) {
    throw ErroreEsecuzione(guasto.what());
  }
}

// A description file goes once read; one that cannot be deleted just stays.
void elimina_descrizione(const std::string& percorso, const OpzioniLettura& opzioni) {
  if (!opzioni.elimina_descrizioni || !file_esiste(percorso)) return;
  static_cast<void>(std::remove(percorso.c_str()));
}

}  // namespace

EsitoLettura memorizza_dati(const IdentitaScenario& id, const Cartella& cartella,
                            TabelleScenario& tab, const OpzioniLettura& opzioni) {
  tab.record[kRecordTestataScenario].nome = id.codice_scenario;
  tab.record[kRecordTestataRipetizione].nome = id.numero_treno;
  const std::string nome_linea = nome_descrizione_linea(id);
  const std::string nome_treno = nome_descrizione_treno(id);
  const std::string percorso_linea = cartella.file(nome_linea);
  const std::string percorso_treno = cartella.file(nome_treno);

  EsitoLettura esito{nome_linea, 0, {}, 0};
  if (!file_esiste(percorso_linea)) {
    tab.codice_errore = CodiceErrore::descrizione_linea_mancante;
    return esito;
  }
  // A run-time failure anywhere below becomes error 25 and takes both files.
  std::optional<LettoreCampi> lettore;
  try {
    lettore.emplace(nome_linea, leggi_tutto(percorso_linea));
    const EsitoLinea linea = leggi_descrizione_linea(*lettore, tab);
    elimina_descrizione(percorso_linea, opzioni);
    if (linea.leggi_treno) {
      lettore.reset();
      esito.file = nome_treno;
      lettore.emplace(nome_treno, leggi_tutto(percorso_treno));
      esito.numero_stazioni = leggi_descrizione_treno(*lettore, tab, linea.indice_cartelli);
      elimina_descrizione(percorso_treno, opzioni);
    }
  } catch (const std::exception& guasto) {
    esito.motivo = guasto.what();
    elimina_descrizione(percorso_linea, opzioni);
    elimina_descrizione(percorso_treno, opzioni);
    tab.codice_errore = CodiceErrore::errore_esecuzione;
  }
  if (lettore) esito.riga = lettore->riga();
  return esito;
}

}  // namespace gs

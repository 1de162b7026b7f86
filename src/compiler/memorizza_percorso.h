// The compiler proper: read both description files into the tables, walk the
// track adding markers, check and stamp the headers, write the compiled files.
// Nothing here shows anything: every outcome is in the result it returns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/cartella.h"
#include "base/codici_errore.h"
#include "base/nomi_file.h"
#include "reader/memorizza_dati.h"
#include "reader/tabelle.h"

namespace gs {

struct CodiciGara {
  std::int32_t semplice = 0;  // codice_gara_og, in the second value of cell 1
  std::int32_t pesato = 0;    // codice_gara_st, in the race code field of record 85
};

// How a compile went. A header check that fails (1250, 1251) stops the compile
// before any compiled file is written; every other scenario error stays in
// codice_errore and the files are written all the same.
struct EsitoCompilazione {
  CodiceErrore codice_errore = CodiceErrore::nessuno;  // as the tables hold it
  std::int32_t posizione_errore = 0;  // metres, where the code carries one
  CodiceErrore controllo_testate = CodiceErrore::nessuno;  // 1250, 1251 or none
  EsitoLettura lettura;                // where reading stopped and why
  bool percorso_presente = false;      // the reader laid a track reaching cell 1
  std::int32_t numero_celle = 0;
  std::int32_t marcatori_aggiunti = 0;  // abbattimento markers the walk placed
  std::optional<CodiciGara> codici_gara;   // once the headers are stamped
  std::vector<std::string> file_scritti;  // names, in the order written

  // No scenario error, no header error, and a track to compile.
  bool riuscita() const;
  // The error to report: the header check's, else the tables'.
  CodiceErrore errore() const;
};

// `j` becomes the profile flag. Reads both description files from `cartella`
// (deleting them) and writes the compiled files there. File failures throw
// ErroreFile.
EsitoCompilazione memorizza_percorso(const std::int32_t& j, const IdentitaScenario& id,
                                     const Cartella& cartella, TabelleScenario& tab);

// The same compile with the description files read from `descrizioni` (kept or
// deleted as `lettura` says) and the compiled files written into `uscita`, or
// nowhere when it is empty (the compile then runs in memory only).
EsitoCompilazione compila_scenario(const std::int32_t& j, const IdentitaScenario& id,
                                   const Cartella& descrizioni,
                                   const std::optional<Cartella>& uscita,
                                   const OpzioniLettura& lettura, TabelleScenario& tab);

// Everything after reading: the cell walk, the header checks and stamps, the race
// codes and the compiled files (into `uscita`, if given). Does nothing when there
// is no track to compile. Fills the walk's, the checks' and the files' part of
// `esito`.
void compila_percorso(const IdentitaScenario& id, const std::optional<Cartella>& uscita,
                      TabelleScenario& tab, EsitoCompilazione& esito);

// True once the reader has laid a track that reaches cell 1, where the headers go.
bool percorso_presente(const TabelleScenario& tab);

}  // namespace gs

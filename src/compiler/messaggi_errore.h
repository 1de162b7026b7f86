// The scenario error codes in words: what each code means and whether it
// comes with an error position, and the one-line report built from them.
#pragma once

#include <cstdint>
#include <string>

#include "base/codici_errore.h"

namespace gs {

// What scenario error `codice` means, in a short English phrase.
// A code this program never sets reads "unknown scenario error".
std::string significato_errore(CodiceErrore codice);

// True for the codes this program sets: the reader's, the walk's and the
// header errors.
bool errore_conosciuto(CodiceErrore codice);

// True for the codes that set the error position (metres) along with the code.
// The position is left over from an earlier error for every other code.
bool errore_con_posizione(CodiceErrore codice);

// "scenario error 13: <meaning>, at 4300 m"; the position only for codes that
// carry one.
std::string testo_errore_scenario(CodiceErrore codice, std::int32_t posizione);

// The report of a run that read no track with a cell 1 and set no error code.
std::string testo_percorso_mancante();

}  // namespace gs

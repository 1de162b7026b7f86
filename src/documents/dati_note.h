// The notes file: who made the scenario, how to reach them, and a word about
// the train. Windows-1252 text (one byte 0xE8 for the "è").
#pragma once

#include <string_view>

#include "base/documento_testo.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// The project signs the notes under its own name.
inline constexpr std::string_view kAutoreNote = "genera_scenario";
inline constexpr std::string_view kEmailAutoreNote = "genera_scenario@example.org";

// The 8 lines of the notes file for this author.
ListaRighe righe_note(std::string_view autore, std::string_view email);

// Writes the notes file, CODE_TRAIN_note.txt, into the directory.
void dati_note(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

// The driver's timetable sheet for the embedded train: fixed text.
#pragma once

#include "base/documento_testo.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// The 48 lines of the timetable sheet.
ListaRighe righe_scheda();

// Writes the timetable sheet, CODE_TRAIN_scheda_treno.txt, into the directory.
void dati_scheda(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

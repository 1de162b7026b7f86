// The slowdown order for the embedded train: a form that orders no slowdown
// ("nessuna prescrizione") and the key to the specific prescriptions.
#pragma once

#include "base/documento_testo.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// The 41 lines of the slowdown order.
ListaRighe righe_rallentamenti();

// Writes the slowdown order, CODE_TRAIN_rallentamenti.txt, into the directory.
void dati_rallentamenti(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

// The embedded train: one regional train on the line, its stations, speed
// limits, adhesion and signals, written as the train description file.
#pragma once

#include "base/documento_testo.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// The 112 lines of the embedded train description file.
ListaRighe righe_treno();

// Writes the train description file, CODE_TRAIN-.txt, into the directory.
void dati_treno(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

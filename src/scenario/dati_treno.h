// The embedded train: one regional train on the line, its stations, speed
// limits, adhesion and signals, written as the train description file.
#pragma once

#include "shell/documento_testo.h"
#include "shell/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

// The 112 lines of the embedded train description file.
ListaRighe righe_treno();

// Writes the train description file, CODE_TRAIN-.txt, into the directory.
void dati_treno(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

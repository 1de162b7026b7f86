// The embedded line: an 82 km route with its gradients, curves, boards,
// mountain stretches and signs, written as the line description file.
#pragma once

#include "base/documento_testo.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// The 121 lines of the embedded line description file.
ListaRighe righe_linea();

// Writes the line description file, CODE_linea.txt, into the directory.
void dati_linea(const IdentitaScenario& id, const Cartella& cartella);

}  // namespace gs

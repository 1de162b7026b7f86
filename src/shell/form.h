// The form: owner of all state for a run (the scenario identity and the
// scenario tables), and the run sequence of the one-shot program.
#pragma once

#include "base/nomi_file.h"
#include "compiler/memorizza_percorso.h"
#include "reader/tabelle.h"
#include "shell/piattaforma.h"

namespace gs {

struct Form1 {
  IdentitaScenario identita;
  TabelleScenario tabelle;
};

inline constexpr int kStatoErroreScenario = 1;  // a numbered or scenario error
inline constexpr int kStatoErroreFile = 2;      // a file operation failed

// The whole job: set the identity, show the window, write the two description
// files and the three documents, compile. Returns how the compile went; a
// failing file operation throws ErroreFile and ends the run there.
EsitoCompilazione Form_Load(Form1& form, Piattaforma& piattaforma);

// Runs Form_Load on a fresh form, shows how it ended and turns that into an
// exit status: 0 done, 1 a numbered or scenario error, 2 a failing file
// operation or memory running out.
int esegui_genera_scenario(Piattaforma& piattaforma);

// After the compile: the numbered error for a failed header check (before any
// compiled file was written), else the scenario error (code, meaning and, where
// the code has one, position) or a missing track, each shown and giving 1; else 0.
int stato_scenario(const EsitoCompilazione& esito, Piattaforma& piattaforma);

}  // namespace gs

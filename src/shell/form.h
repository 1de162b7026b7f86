// The form: owner of all state for a run (the scenario identity and the
// scenario tables), and the run sequence of the one-shot program.
#pragma once

#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "shell/piattaforma.h"

namespace gs {

struct Form1 {
  IdentitaScenario identita;
  TabelleScenario tabelle;
};

// The whole job: set the identity, show the window, write the two description
// files and the three documents, compile. Throws FineProgramma or ErroreFile
// when the run ends early.
void Form_Load(Form1& form, Piattaforma& piattaforma);

// Runs Form_Load on a fresh form and turns the way it ended into an exit status:
// 0 done, 1 a numbered or scenario error, 2 a failing file operation (reported).
int esegui_genera_scenario(Piattaforma& piattaforma);

// After a complete run: reports the scenario error the tables hold (code, meaning
// and, where the code has one, position), or a missing track, and returns 1; else 0.
int stato_scenario(const TabelleScenario& tabelle, Piattaforma& piattaforma);

}  // namespace gs

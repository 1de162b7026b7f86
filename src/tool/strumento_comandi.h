// The subcommands of scenario_tool and what they share: finding a scenario's
// files in a directory by their standard names.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "base/json.h"
#include "reader/verifica.h"
#include "tool/argomenti.h"
#include "base/nomi_file.h"

namespace gs {

struct Uscite {
  std::ostream& uscita;
  std::ostream& errori;
};

int comando_init(const Argomenti& argomenti, Uscite& uscite);
int comando_compile(const Argomenti& argomenti, Uscite& uscite);
int comando_dump(const Argomenti& argomenti, Uscite& uscite);
int comando_plot(const Argomenti& argomenti, Uscite& uscite);
int comando_check(const Argomenti& argomenti, Uscite& uscite);
int comando_explain(const Argomenti& argomenti, Uscite& uscite);
int comando_serve(const Argomenti& argomenti, Uscite& uscite);

// The whole error catalogue in Markdown, as docs/errors.md holds it.
void scrivi_catalogo(std::ostream& o);

// The diagnostics as the "diagnostics" member of a JSON object being written,
// and how many of them are errors and warnings.
void scrivi_diagnostiche_json(ScrittoreJson& j, const std::vector<Diagnostica>& diagnostiche);
std::pair<int, int> conta_diagnostiche(const std::vector<Diagnostica>& diagnostiche);

// A scenario code or train number becomes part of file names: it must be
// non-empty and hold no path separator. Throws ErroreUso.
void controlla_nome(const std::string& opzione, const std::string& valore);

// The scenario whose description files stand in `cartella`: the code from the
// one "CODE_linea.txt" there, the number from the one "CODE_NUMBER-.txt";
// `codice` and `treno` choose where there are several. Throws ErroreUso when
// none or several fit.
IdentitaScenario trova_descrizioni(const std::string& cartella,
                                   const std::optional<std::string>& codice,
                                   const std::optional<std::string>& treno);

// The scenario whose compiled files stand in `cartella`, from the one
// "CODE_NUMBER.sim" there that fits `codice` and `treno`. Throws ErroreUso.
IdentitaScenario trova_compilati(const std::string& cartella,
                                 const std::optional<std::string>& codice,
                                 const std::optional<std::string>& treno);

// The option's value, if it was given.
std::optional<std::string> opzione(const Argomenti& argomenti, const std::string& nome);

// The scenario the command line chooses: --code and --train, where given,
// each checked by controlla_nome.
struct SceltaScenario {
  std::optional<std::string> codice;
  std::optional<std::string> treno;
};
SceltaScenario scelta_scenario(const Argomenti& argomenti);

// Makes `cartella` and the directories above it where missing. Throws ErroreFile.
void crea_cartella(const std::string& cartella);

}  // namespace gs

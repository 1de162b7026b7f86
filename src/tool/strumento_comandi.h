// The commands of scenario_tool, their table, and what they share: finding a
// scenario's files in a directory by their standard names.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

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
int comando_diff(const Argomenti& argomenti, Uscite& uscite);
int comando_check(const Argomenti& argomenti, Uscite& uscite);
int comando_explain(const Argomenti& argomenti, Uscite& uscite);
int comando_serve(const Argomenti& argomenti, Uscite& uscite);

// One command of the tool: what it is called and accepts, its line in the
// general help, its own help, and what runs it.
struct Comando {
  std::string nome;
  FormaComando forma;
  std::string sintesi;
  std::string uso;
  int (*esegui)(const Argomenti&, Uscite&);
};

// Every command, in the order the general help lists them.
const std::vector<Comando>& comandi();

// The whole error catalogue in Markdown, as docs/errors.md holds it.
void scrivi_catalogo(std::ostream& o);

// The diagnostics as a JSON list, and how many of them are errors and warnings.
nlohmann::ordered_json diagnostiche_json(const std::vector<Diagnostica>& diagnostiche);
std::pair<int, int> conta_diagnostiche(const std::vector<Diagnostica>& diagnostiche);

// A scenario code or train number becomes part of file names: it must be
// non-empty and hold no path separator. Throws ErroreUso.
void controlla_nome(const std::string& opzione, const std::string& valore);

// Several scenarios fit where one is needed: the author must choose.
class SceltaAmbigua : public ErroreUso {
 public:
  using ErroreUso::ErroreUso;
};

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

// The scenario of `cartella` as plot and diff read it: its description files
// where they fit the choice, else its compiled files. Where neither fits, the
// reason is the description files' when the folder has some (several
// scenarios, say), else the compiled files'. Several description files that
// fit are never passed over for compiled files. Throws ErroreUso.
struct ScenarioTrovato {
  IdentitaScenario id;
  bool da_descrizioni = false;  // false: from the compiled files
};
ScenarioTrovato trova_scenario(const std::string& cartella, const SceltaScenario& scelta);

// Makes `cartella` and the directories above it where missing. Throws ErroreFile.
void crea_cartella(const std::string& cartella);

}  // namespace gs

// The viewer's model: one scenario as one JSON document (UTF-8), every
// feature of the compiled tables in real units beside the file and line of
// the entry it came from, the plan of the line thinned as the plot thins it,
// the cells as runs, and the diagnostics. docs/viewer.md lists the keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/nomi_file.h"
#include "compiler/lettura_compilati.h"
#include "reader/verifica.h"

namespace gs {

// Raised whenever a key changes meaning or goes; new keys leave it alone.
inline constexpr int kVersioneModello = 1;

// How the compile went: its error code (none when it compiled) and, where
// known, the message and the entry it comes from.
struct EsitoVista {
  bool riuscita = false;
  std::optional<std::int32_t> codice;
  std::string sigla;      // "signal-cell-taken", ...; empty without a code
  std::string messaggio;  // empty when it compiled
  std::string file;       // empty where unknown
  std::int64_t riga = 0;  // 0 where unknown
};

// Everything the model is made of.
struct IngressoModello {
  IdentitaScenario id;
  std::string origine;  // "description files" or "compiled files"
  // The tables as far as the compile filled them; none when nothing was read.
  const ScenarioCompilato* scenario = nullptr;
  // The entries as the author wrote them, for the file and line of each
  // feature; none when drawing compiled files.
  const std::vector<VoceLetta>* voci = nullptr;
  std::vector<Diagnostica> diagnostiche;
  EsitoVista esito;
};

// The scenario as the compiled files would hold it, from tables compiled in memory.
ScenarioCompilato scenario_da_tabelle(const TabelleScenario& tab);

// The model as one JSON document.
std::string modello_json(const IngressoModello& ingresso);

struct Diagnosi;

// The model of description files checked and compiled in memory.
std::string modello_diagnosi(const Diagnosi& diagnosi);

// The model of compiled files alone: every feature without its source.
std::string modello_compilati(const IdentitaScenario& id, const ScenarioCompilato& scenario);

}  // namespace gs

// Finding a scenario's files in a directory by their standard names.
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/errore_file.h"
#include "base/cartella.h"
#include "base/lettura_file.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

bool finisce_con(const std::string& testo, const std::string& coda) {
  return testo.size() >= coda.size() && testo.compare(testo.size() - coda.size(), coda.size(), coda) == 0;
}

bool inizia_con(const std::string& testo, const std::string& testa) {
  return testo.rfind(testa, 0) == 0;
}

// The names in `cartella` of everything but directories, sorted: a FIFO or a
// device under a scenario's name is found, and refused once chosen.
std::vector<std::string> nomi_file(const std::string& cartella) {
  std::error_code errore;
  std::filesystem::directory_iterator voci(cartella, errore);
  if (errore) throw ErroreFile("list", cartella, errore.message());
  std::vector<std::string> nomi;
  for (const auto& voce : voci) {
    std::error_code ignora;
    if (!voce.is_directory(ignora)) nomi.push_back(voce.path().filename().string());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

std::string elenco(const std::vector<std::string>& valori) {
  std::string testo;
  for (const auto& valore : valori) testo += (testo.empty() ? "" : ", ") + valore;
  return testo;
}

// What is looked for, as the messages name one and several of it.
struct Cercato {
  std::string uno;    // "line description file CODE_linea.txt"
  std::string tanti;  // "line description files CODE_linea.txt"
};

// The one candidate, or the chosen one when it is among them.
std::string scegli(const std::vector<std::string>& candidati, const std::optional<std::string>& scelto,
                   const Cercato& cosa, const std::string& opzione, const std::string& dove) {
  if (scelto) {
    if (std::find(candidati.begin(), candidati.end(), *scelto) == candidati.end()) {
      throw ErroreUso("no " + cosa.uno + " for " + opzione + " " + *scelto + " in " + dove);
    }
    return *scelto;
  }
  if (candidati.empty()) throw ErroreUso("no " + cosa.uno + " in " + dove);
  if (candidati.size() > 1) {
    throw SceltaAmbigua("several " + cosa.tanti + " in " + dove + " (" + elenco(candidati) +
                    "): choose with " + opzione);
  }
  return candidati.front();
}

}  // namespace

void controlla_nome(const std::string& opzione, const std::string& valore) {
  if (valore.empty() || valore.find_first_of("/\\") != std::string::npos || valore == "." ||
      valore == "..") {
    throw ErroreUso(opzione + " '" + valore + "' cannot be part of a file name");
  }
}

std::optional<std::string> opzione(const Argomenti& argomenti, const std::string& nome) {
  const auto trovato = argomenti.valori.find(nome);
  if (trovato == argomenti.valori.end()) return std::nullopt;
  return trovato->second;
}

SceltaScenario scelta_scenario(const Argomenti& argomenti) {
  SceltaScenario scelta{opzione(argomenti, "--code"), opzione(argomenti, "--train")};
  if (scelta.codice) controlla_nome("--code", *scelta.codice);
  if (scelta.treno) controlla_nome("--train", *scelta.treno);
  return scelta;
}

void crea_cartella(const std::string& cartella) {
  std::error_code errore;
  std::filesystem::create_directories(cartella, errore);
  if (errore) throw ErroreFile("create directory", cartella, errore.message());
}

IdentitaScenario trova_descrizioni(const std::string& cartella,
                                   const std::optional<std::string>& codice,
                                   const std::optional<std::string>& treno) {
  const std::vector<std::string> nomi = nomi_file(cartella);
  const std::string coda_linea = "_linea.txt";
  std::vector<std::string> codici;
  for (const auto& nome : nomi) {
    if (finisce_con(nome, coda_linea) && nome.size() > coda_linea.size()) {
      codici.push_back(nome.substr(0, nome.size() - coda_linea.size()));
    }
  }
  IdentitaScenario id;
  id.codice_scenario = scegli(codici, codice,
                              {"line description file CODE_linea.txt",
                               "line description files CODE_linea.txt"},
                              "--code", cartella);

  const std::string testa = id.codice_scenario + "_";
  const std::string coda_treno = "-.txt";
  std::vector<std::string> numeri;
  for (const auto& nome : nomi) {
    if (inizia_con(nome, testa) && finisce_con(nome, coda_treno) &&
        nome.size() > testa.size() + coda_treno.size()) {
      numeri.push_back(nome.substr(testa.size(), nome.size() - testa.size() - coda_treno.size()));
    }
  }
  const std::string modello = testa + "NUMBER-.txt";
  id.numero_treno = scegli(numeri, treno,
                           {"train description file " + modello,
                            "train description files " + modello},
                           "--train", cartella);
  const Cartella dove{cartella, '/'};
  controlla_file_regolare(dove.file(nome_descrizione_linea(id)));
  controlla_file_regolare(dove.file(nome_descrizione_treno(id)));
  return id;
}

IdentitaScenario trova_compilati(const std::string& cartella,
                                 const std::optional<std::string>& codice,
                                 const std::optional<std::string>& treno) {
  const std::string coda = ".sim";
  std::vector<std::string> radici;  // CODE_NUMBER of each scenario file that fits the options
  for (const auto& nome : nomi_file(cartella)) {
    if (!finisce_con(nome, coda)) continue;
    const std::string radice = nome.substr(0, nome.size() - coda.size());
    if (codice && !inizia_con(radice, *codice + "_")) continue;
    if (treno && !finisce_con(radice, "_" + *treno)) continue;
    if (codice && treno && radice != *codice + "_" + *treno) continue;
    radici.push_back(radice);
  }
  Cercato cosa{"scenario file CODE_NUMBER.sim", "scenario files CODE_NUMBER.sim"};
  if (codice || treno) {
    cosa.uno += " that fits the options";
    cosa.tanti += " that fit the options";
  }
  const std::string radice = scegli(radici, std::nullopt, cosa, "--code and --train", cartella);
  IdentitaScenario id;
  if (codice) {
    id.codice_scenario = *codice;
    id.numero_treno = radice.substr(codice->size() + 1);
  } else if (treno) {
    id.numero_treno = *treno;
    id.codice_scenario = radice.substr(0, radice.size() - treno->size() - 1);
  } else {
    const auto ultimo = radice.rfind('_');
    if (ultimo == std::string::npos || ultimo == 0 || ultimo + 1 == radice.size()) {
      throw ErroreUso("cannot tell code and number apart in " + radice +
                      ".sim: give --code and --train");
    }
    id.codice_scenario = radice.substr(0, ultimo);
    id.numero_treno = radice.substr(ultimo + 1);
  }
  return id;
}

}  // namespace gs

namespace gs {

ScenarioTrovato trova_scenario(const std::string& cartella, const SceltaScenario& scelta) {
  std::optional<std::string> perche_no;  // why the description files do not fit, where some stand
  try {
    return {trova_descrizioni(cartella, scelta.codice, scelta.treno), true};
  } catch (const SceltaAmbigua&) {
    throw;
  } catch (const ErroreUso& errore) {
    const bool ne_ha = std::ranges::any_of(nomi_file(cartella), [](const std::string& nome) {
      return nome.size() > 10 && finisce_con(nome, "_linea.txt");
    });
    if (ne_ha) perche_no = errore.what();
  }
  try {
    return {trova_compilati(cartella, scelta.codice, scelta.treno), false};
  } catch (const ErroreUso&) {
    if (perche_no) throw ErroreUso(*perche_no);
    throw;
  }
}

}  // namespace gs

// scenario_tool init: the embedded scenario as a starting point for a new one.
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "base/cartella_di_lavoro.h"
#include "base/errore_file.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

struct FileIniziale {
  std::string (*nome)(const IdentitaScenario&);
  void (*scrivi)(const IdentitaScenario&, const Cartella&);
};

constexpr FileIniziale kFileIniziali[] = {
    {nome_descrizione_linea, dati_linea},   {nome_descrizione_treno, dati_treno},
    {nome_note, dati_note},                 {nome_rallentamenti, dati_rallentamenti},
    {nome_scheda_treno, dati_scheda},
};

}  // namespace

int comando_init(const Argomenti& argomenti, Uscite& uscite) {
  const IdentitaScenario id{argomenti.valore("--code", "Brisca_Nolte"),
                            argomenti.valore("--train", "52806")};
  controlla_nome("--code", id.codice_scenario);
  controlla_nome("--train", id.numero_treno);
  const Cartella cartella{argomenti.posizionali.front(), '/'};
  crea_cartella(cartella.percorso);

  std::vector<std::string> presenti;
  for (const FileIniziale& file : kFileIniziali) {
    // Any name counts, a link to nowhere included: it is the author's.
    std::error_code ignora;
    const std::string percorso = cartella.file(file.nome(id));
    if (std::filesystem::exists(std::filesystem::symlink_status(percorso, ignora))) {
      presenti.push_back(percorso);
    }
  }
  if (!presenti.empty() && !argomenti.ha("--force")) {
    uscite.errori << "scenario_tool init: these files exist already (--force replaces them):\n";
    for (const auto& percorso : presenti) uscite.errori << "  " << percorso << "\n";
    return kStatoStrumentoUso;
  }
  // Written apart, then put in place together.
  CartellaDiLavoro lavoro(cartella);
  std::vector<std::string> nomi;
  lavoro.in_lavoro([&](const Cartella& dove) {
    for (const FileIniziale& file : kFileIniziali) {
      file.scrivi(id, dove);
      nomi.push_back(file.nome(id));
    }
  });
  lavoro.posa(nomi);
  for (const auto& nome : nomi) uscite.uscita << "wrote " << cartella.file(nome) << "\n";
  return kStatoStrumentoOk;
}

}  // namespace gs

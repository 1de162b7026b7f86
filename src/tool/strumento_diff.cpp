// scenario_tool diff: two scenarios, or two compiled files of one kind,
// compared feature by feature in real units, as text lines or one JSON object.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/cartella.h"
#include "base/errore_file.h"
#include "base/json.h"
#include "base/lettura_file.h"
#include "base/testo_utf8.h"
#include "compiler/lettura_compilati.h"
#include "tool/argomenti.h"
#include "tool/confronto.h"
#include "tool/diagnosi.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

// Trouble that stops the comparison: a side that cannot be read as a
// scenario. The message says which and why.
class ErroreLato : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const char* nome_tipo(TipoCompilato tipo) {
  switch (tipo) {
    case TipoCompilato::scenario: return "a scenario file";
    case TipoCompilato::percorso: return "a track file";
    case TipoCompilato::profilo: break;
  }
  return "a line profile file";
}

// ---- Folders ------------------------------------------------------------------

// The scenario compiled in memory from the description files, as the compiled
// files would hold it; a compile that fails is trouble, with its cause.
LatoConfronto da_descrizioni(const IdentitaScenario& id, const std::string& dir) {
  const Cartella cartella{dir, '/'};
  Diagnosi diagnosi = diagnostica(id, cartella, 1);
  if (!diagnosi.esito.riuscita()) {
    std::string messaggio("the description files in ");
    messaggio += testo_visibile(dir);
    messaggio += " do not compile, so there is nothing to compare";
    if (auto d = diagnostica_compilazione(diagnosi.esito, diagnosi.verifica, id)) {
      d->file = cartella.file(d->file);
      messaggio += ": ";
      messaggio += testo_utf8(testo_diagnostica(*d));
    }
    throw ErroreLato(messaggio);
  }
  TabelleScenario& tab = *diagnosi.tabelle;
  LatoConfronto lato;
  lato.record = tab.record;
  lato.celle = std::move(tab.celle);
  ProfiloLato profilo;
  if (tab.flag_profilo != 0) {
    profilo.origine = ProfiloLato::Origine::tracciato;
    profilo.tracciato = std::move(tab.profilo);
  }
  lato.profilo = std::move(profilo);
  return lato;
}

template <typename Decodifica>
auto decodifica(const std::string& percorso, const std::string& byte, Decodifica&& passo) {
  try {
    return passo(byte);
  } catch (const ErroreFormato& formato) {
    throw ErroreLato(testo_visibile(percorso) + " is not a compiled file: " + formato.what());
  }
}

// A profile file's bytes, checked whole before any point is compared.
ProfiloLato profilo_da_file(const std::string& percorso, std::string byte) {
  decodifica(percorso, byte, [](std::string_view b) {
    return scorri_profilo_linea(b, [](const PuntoProfilo&) {});
  });
  ProfiloLato profilo;
  profilo.origine = ProfiloLato::Origine::file;
  profilo.byte = std::move(byte);
  return profilo;
}

LatoConfronto da_compilati(const IdentitaScenario& id, const std::string& dir) {
  const Cartella cartella{dir, '/'};
  LatoConfronto lato;
  const std::string scenario = cartella.file(nome_file_scenario(id));
  lato.record = decodifica(scenario, leggi_file_compilato(scenario, TipoCompilato::scenario),
                           [](std::string_view b) { return decodifica_file_scenario(b); });
  const std::string percorso = cartella.file(nome_file_percorso(id));
  lato.celle = decodifica(percorso, leggi_file_compilato(percorso, TipoCompilato::percorso),
                          [](std::string_view b) { return decodifica_file_percorso(b); });
  const std::string profilo = cartella.file(nome_profilo_linea(id));
  std::error_code errore;
  if (std::filesystem::exists(std::filesystem::symlink_status(profilo, errore))) {
    lato.profilo = profilo_da_file(profilo, leggi_file_compilato(profilo, TipoCompilato::profilo));
  } else {
    lato.profilo = ProfiloLato{};
  }
  return lato;
}

// A folder read as plot reads it: its description files compiled in memory
// where it has them, else its compiled files.
LatoConfronto da_cartella(const std::string& dir, const SceltaScenario& scelta) {
  const ScenarioTrovato trovato = trova_scenario(dir, scelta);
  return trovato.da_descrizioni ? da_descrizioni(trovato.id, dir) : da_compilati(trovato.id, dir);
}

// ---- Files --------------------------------------------------------------------

struct FileCompilato {
  std::string percorso;
  std::string byte;
  TipoCompilato tipo = TipoCompilato::scenario;
};

// A compiled file and its kind: the one its name says, else the first layout
// its bytes fit.
FileCompilato leggi_file(const std::string& percorso) {
  const auto dal_nome = tipo_dal_nome(std::filesystem::path(percorso).filename().string());
  FileCompilato file{percorso, leggi_compilato_forse(percorso, dal_nome)};
  const auto tipo = riconosci_compilato(dal_nome, file.byte);
  if (!tipo) {
    throw ErroreLato(testo_visibile(percorso) +
                     " is not a compiled file: its bytes fit none of the compiled files' layouts");
  }
  file.tipo = *tipo;
  return file;
}

LatoConfronto da_file(FileCompilato file) {
  LatoConfronto lato;
  switch (file.tipo) {
    case TipoCompilato::scenario:
      lato.record = decodifica(file.percorso, file.byte,
                               [](std::string_view b) { return decodifica_file_scenario(b); });
      break;
    case TipoCompilato::percorso:
      lato.celle = decodifica(file.percorso, file.byte,
                              [](std::string_view b) { return decodifica_file_percorso(b); });
      break;
    case TipoCompilato::profilo:
      lato.profilo = profilo_da_file(file.percorso, std::move(file.byte));
      break;
  }
  return lato;
}

// ---- Output -------------------------------------------------------------------

void stringa_o_nullo(ScrittoreJson& j, const std::optional<std::string>& valore) {
  if (valore) {
    j.stringa(*valore);
  } else {
    j.nullo();
  }
}

void intero_o_nullo(ScrittoreJson& j, const std::optional<std::int64_t>& valore) {
  if (valore) {
    j.intero(*valore);
  } else {
    j.nullo();
  }
}

void scrivi_json(const std::vector<Differenza>& differenze, std::ostream& o) {
  ScrittoreJson j(o);
  j.apri_oggetto().chiave("format_version").intero(1);
  j.chiave("equal").booleano(differenze.empty());
  j.chiave("differences").apri_lista();
  for (const Differenza& d : differenze) {
    j.apri_oggetto().chiave("feature").stringa(d.caratteristica);
    j.chiave("field");
    stringa_o_nullo(j, d.campo.empty() ? std::nullopt : std::optional<std::string>(d.campo));
    j.chiave("position_m");
    intero_o_nullo(j, d.inizio_m);
    j.chiave("end_m");
    intero_o_nullo(j, d.fine_m);
    j.chiave("change").stringa(nome_cambio(d.cambio));
    j.chiave("before");
    stringa_o_nullo(j, d.prima);
    j.chiave("after");
    stringa_o_nullo(j, d.dopo);
    j.chiave("unit");
    stringa_o_nullo(j, d.unita.empty() ? std::nullopt : std::optional<std::string>(d.unita));
    if (d.quanti) j.chiave("count").intero(*d.quanti);
    if (d.distanza_massima_m) j.chiave("max_distance_m").reale(*d.distanza_massima_m);
    j.chiave("text").stringa(d.testo);
    j.chiude_oggetto();
  }
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

void scrivi_testo(const std::vector<Differenza>& differenze, std::ostream& o) {
  for (const Differenza& d : differenze) o << testo_utf8(d.testo) << "\n";
}

// Both sides read: two folders, or two compiled files of one kind.
std::pair<LatoConfronto, LatoConfronto> leggi_lati(const Argomenti& argomenti) {
  const std::string& a = argomenti.posizionali[0];
  const std::string& b = argomenti.posizionali[1];
  for (const std::string& lato : {a, b}) {
    std::error_code errore;
    if (!std::filesystem::exists(lato, errore)) {
      throw ErroreFile("read", lato, errore ? errore.message() : "No such file or directory");
    }
  }
  std::error_code errore;
  const bool cartella_a = std::filesystem::is_directory(a, errore);
  const bool cartella_b = std::filesystem::is_directory(b, errore);
  if (cartella_a != cartella_b) {
    std::string messaggio("compares two scenario folders or two compiled files, but ");
    messaggio += testo_visibile(cartella_a ? a : b);
    messaggio += " is a folder and ";
    messaggio += testo_visibile(cartella_a ? b : a);
    messaggio += " is not";
    throw ErroreUso(messaggio);
  }
  const SceltaScenario scelta = scelta_scenario(argomenti);
  if (cartella_a) return {da_cartella(a, scelta), da_cartella(b, scelta)};
  if (scelta.codice || scelta.treno) {
    std::string messaggio("--code and --train choose a scenario in a folder; ");
    messaggio += testo_visibile(a);
    messaggio += " and ";
    messaggio += testo_visibile(b);
    messaggio += " are files";
    throw ErroreUso(messaggio);
  }
  FileCompilato file_a = leggi_file(a);
  FileCompilato file_b = leggi_file(b);
  if (file_a.tipo != file_b.tipo) {
    throw ErroreUso(testo_visibile(a) + " is " + nome_tipo(file_a.tipo) + " and " +
                    testo_visibile(b) + " is " + nome_tipo(file_b.tipo) +
                    ": only files of one kind compare");
  }
  return {da_file(std::move(file_a)), da_file(std::move(file_b))};
}

}  // namespace

int comando_diff(const Argomenti& argomenti, Uscite& uscite) {
  const bool json = argomenti.ha("--json");
  std::vector<Differenza> differenze;
  try {
    const auto [a, b] = leggi_lati(argomenti);
    differenze = confronta(a, b);
  } catch (const ErroreLato& guasto) {
    uscite.errori << "scenario_tool diff: " << guasto.what() << "\n";
    if (json) {
      ScrittoreJson j(uscite.uscita);
      j.apri_oggetto().chiave("error").stringa_sistema(guasto.what());
      j.chiave("exit_status").intero(kStatoStrumentoUso).chiude_oggetto();
      j.fine();
    }
    return kStatoStrumentoUso;
  }
  if (json) {
    scrivi_json(differenze, uscite.uscita);
  } else {
    scrivi_testo(differenze, uscite.uscita);
  }
  return differenze.empty() ? kStatoStrumentoOk : kStatoStrumentoScenario;
}

}  // namespace gs

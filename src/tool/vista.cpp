#include "tool/vista.h"

#include <exception>
#include <string_view>

#include "base/errore_file.h"
#include "base/lettura_file.h"
#include "tool/diagnosi.h"
#include "tool/modello_vista.h"
#include "tool/vista_risorse.h"

namespace gs {
namespace {

// A description file that cannot be read, as a diagnostic of that file.
Diagnostica file_illeggibile(const std::string& nome, const ErroreFile& errore) {
  Diagnostica d;
  d.file = nome;
  d.codice = "unreadable-file";
  d.messaggio = std::string("cannot ") += errore.operazione() + " " + nome + ": " + errore.motivo();
  return d;
}

// Each description file that is missing or cannot be read.
std::vector<Diagnostica> file_mancanti(const Cartella& cartella, const IdentitaScenario& id) {
  std::vector<Diagnostica> mancanti;
  for (const std::string& nome : {nome_descrizione_linea(id), nome_descrizione_treno(id)}) {
    try {
      controlla_file_regolare(cartella.file(nome));
    } catch (const ErroreFile& errore) {
      mancanti.push_back(file_illeggibile(nome, errore));
    }
  }
  return mancanti;
}

// The model of a scenario that could not be compiled at all.
std::string modello_senza_compilazione(IngressoModello ingresso) {
  ingresso.esito.riuscita = false;
  const Diagnostica& prima = ingresso.diagnostiche.front();
  ingresso.esito.messaggio = prima.messaggio;
  ingresso.esito.file = prima.file;
  ingresso.esito.riga = prima.riga;
  return modello_json(ingresso);
}

// `da` replaced by `con` wherever it stands in `testo`.
void sostituisci(std::string& testo, std::string_view da, std::string_view con) {
  const auto dove = testo.find(da);
  if (dove != std::string::npos) testo.replace(dove, da.size(), con);
}

// The page with its style and script in place, and `dati` as the model's
// script element (empty for the page that fetches it).
std::string pagina(std::string_view dati) {
  std::string html(risorse_vista::kHtml);
  sostituisci(html, "/*@STILE@*/", risorse_vista::kCss);
  sostituisci(html, "/*@SCRIPT@*/", risorse_vista::kJs);
  // Last, so that nothing in the author's text is taken for a place holder.
  sostituisci(html, "<!--@MODELLO@-->", dati);
  return html;
}

}  // namespace

std::string modello_vista(const Cartella& cartella, const IdentitaScenario& id) {
  IngressoModello ingresso;
  ingresso.id = id;
  ingresso.origine = "description files";
  ingresso.diagnostiche = file_mancanti(cartella, id);
  if (!ingresso.diagnostiche.empty()) return modello_senza_compilazione(std::move(ingresso));
  try {
    return modello_diagnosi(diagnostica(id, cartella, 1));
  } catch (const ErroreFile& errore) {
    // A file that changed between the look and the read (an editor saving it).
    const std::string& percorso = errore.percorso();
    const std::string nome = percorso == cartella.file(nome_descrizione_treno(id))
                                 ? nome_descrizione_treno(id)
                                 : nome_descrizione_linea(id);
    ingresso.diagnostiche = {file_illeggibile(nome, errore)};
  } catch (const std::exception& errore) {
    Diagnostica d;
    d.file = nome_descrizione_linea(id);
    d.codice = "no-model";
    d.messaggio = std::string("the scenario could not be read: ") += errore.what();
    ingresso.diagnostiche = {d};
  }
  ingresso.scenario = nullptr;
  ingresso.voci = nullptr;
  return modello_senza_compilazione(std::move(ingresso));
}

std::string pagina_vista() { return pagina(""); }

std::string pagina_vista_autonoma(const std::string& modello) {
  // Inside a script element only "</script" or "<!--" could end it early; a
  // JSON document holds "<" only inside strings, where \u003c means the same.
  std::string dati = "<script id=\"modello\" type=\"application/json\">";
  for (const char c : modello) {
    if (c == '<') dati += "\\u003c"; else dati += c;
  }
  dati += "</script>";
  return pagina(dati);
}

}  // namespace gs

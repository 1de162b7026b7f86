// scenario_tool compile: the one-shot program's compile, on an author's files,
// which it never deletes.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "compiler/memorizza_percorso.h"
#include "compiler/messaggi_errore.h"
#include "base/cartella_di_lavoro.h"
#include "base/errore_file.h"
#include "compiler/file_compilati.h"
#include "tool/diagnosi.h"
#include "tool/documento_json.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

struct Riepilogo {
  IdentitaScenario id;
  std::vector<Diagnostica> diagnostiche;
  bool compilato = false;  // the compiled files were written
  bool pulito = false;     // ... and without any error
  CodiceErrore codice_errore = CodiceErrore::nessuno;
  bool senza_percorso = false;  // read without error, yet no track to compile
  std::optional<std::int32_t> posizione_errore;
  std::string messaggio;
  std::string motivo;  // of a run-time failure while reading
  EsitoLettura lettura;
  std::vector<std::string> file_scritti;
  std::int32_t lunghezza = 0;
  std::int32_t numero_celle = 0;
  std::int32_t stazioni = 0;
  std::int32_t segnali = 0;
  std::int32_t indicatori = 0;
  std::int32_t rallentamenti = 0;
  std::int32_t marcatori_aggiunti = 0;
  std::optional<std::int32_t> codice_gara_semplice;
  std::optional<std::int32_t> codice_gara_pesato;
};

std::int32_t conta_celle(const TabelleScenario& tab, std::uint8_t tipo) {
  return static_cast<std::int32_t>(std::count_if(
      tab.celle.begin(), tab.celle.end(), [tipo](const Cella& c) { return c.tipo == tipo; }));
}

void riassumi_tabelle(const TabelleScenario& tab, Riepilogo& r) {
  r.lunghezza = tab.record[kRecordTestataTreno].fine_fermata;
  r.numero_celle = tab.numero_celle;
  r.segnali = conta_celle(tab, kCellaSegnale);
  r.indicatori = conta_celle(tab, kCellaIndicatoreVelocita);
  r.rallentamenti = conta_celle(tab, kCellaInizioRallentamento);
}

// The compiled files of tables already compiled, written apart and put in
// OUTDIR together: a failure while writing them leaves the earlier compiled
// files as they were. Returns their names.
std::vector<std::string> scrivi_in_insieme(const IdentitaScenario& id, const Cartella& uscita,
                                           const TabelleScenario& tab) {
  CartellaDiLavoro lavoro(uscita);
  const std::vector<std::string> scritti = lavoro.in_lavoro(
      [&](const Cartella& dove) { return scrivi_file_compilati(id, dove, tab); });
  lavoro.posa(scritti);
  return scritti;
}

void scrivi_testo(const Riepilogo& r, const Cartella& uscita, Uscite& uscite) {
  for (const Diagnostica& d : r.diagnostiche) uscite.errori << testo_diagnostica(d) << "\n";
  if (!r.compilato) {
    const auto [errori, avvisi] = conta_diagnostiche(r.diagnostiche);
    uscite.errori << "scenario_tool compile: " << r.id.codice_scenario << " " << r.id.numero_treno
                  << " not compiled (" << errori << (errori == 1 ? " error" : " errors")
                  << "); nothing written, earlier compiled files left as they were"
                  << " (--write-on-error writes them all the same)\n";
    return;
  }
  if (r.pulito) {
    auto& o = uscite.uscita;
    o << "compiled " << r.id.codice_scenario << " " << r.id.numero_treno << " into "
      << uscita.percorso << "\n";
    o << "  route length   " << r.lunghezza << " m\n";
    o << "  cells          " << r.numero_celle << "\n";
    o << "  stations       " << r.stazioni << "\n";
    o << "  signals        " << r.segnali << "\n";
    o << "  speed boards   " << r.indicatori << "\n";
    o << "  slowdowns      " << r.rallentamenti << "\n";
    o << "  markers added  " << r.marcatori_aggiunti << "\n";
    if (r.codice_gara_semplice && r.codice_gara_pesato) {
      o << "  race codes     " << *r.codice_gara_semplice << " plain, " << *r.codice_gara_pesato
        << " weighted\n";
    }
    o << "  files written ";
    for (const auto& nome : r.file_scritti) o << " " << nome;
    o << "\n";
  }
  if (!r.pulito) {
    auto& e = uscite.errori;
    e << "scenario_tool compile: written with errors: " << r.messaggio << "\n";
    e << "  files written ";
    for (const auto& nome : r.file_scritti) e << " " << nome;
    e << "\n";
  }
}

void scrivi_json(const Riepilogo& r, Uscite& uscite) {
  DocumentoJson d;
  d["compiled"] = r.compilato;
  d["error_code"] =
      r.senza_percorso ? DocumentoJson(nullptr) : DocumentoJson(numero(r.codice_errore));
  d["error_position"] = intero_o_nullo(r.posizione_errore);
  d["message"] = stringa_json(r.messaggio);
  d["reason"] = r.motivo.empty() ? DocumentoJson(nullptr) : stringa_sistema_json(r.motivo);
  d["file"] = stringa_sistema_json(r.lettura.file);
  d["line"] = r.lettura.riga;
  d["files_written"] = DocumentoJson::array();
  for (const auto& nome : r.file_scritti) d["files_written"].push_back(stringa_sistema_json(nome));
  d["scenario_code"] = stringa_sistema_json(r.id.codice_scenario);
  d["train_number"] = stringa_sistema_json(r.id.numero_treno);
  d["route_length"] = r.lunghezza;
  d["cell_count"] = r.numero_celle;
  d["stations"] = r.stazioni;
  d["signals"] = r.segnali;
  d["speed_boards"] = r.indicatori;
  d["slowdowns"] = r.rallentamenti;
  d["markers_added"] = r.marcatori_aggiunti;
  d["race_code_plain"] = intero_o_nullo(r.codice_gara_semplice);
  d["race_code_weighted"] = intero_o_nullo(r.codice_gara_pesato);
  d["diagnostics"] = diagnostiche_json(r.diagnostiche);
  scrivi_documento(d, uscite.uscita);
}

}  // namespace

int comando_compile(const Argomenti& argomenti, Uscite& uscite) {
  const std::string cartella_descrizioni = argomenti.posizionali.front();
  const SceltaScenario scelta = scelta_scenario(argomenti);
  const IdentitaScenario id = trova_descrizioni(cartella_descrizioni, scelta.codice, scelta.treno);
  const Cartella descrizioni{cartella_descrizioni, '/'};
  const Cartella uscita{argomenti.valore("--out", cartella_descrizioni), '/'};
  crea_cartella(uscita.percorso);

  const std::int32_t j = argomenti.ha("--no-profile") ? 0 : 1;
  // Checked and compiled in memory first: on any error nothing is written,
  // unless the author asks for the files all the same.
  const Diagnosi diagnosi = diagnostica(id, descrizioni, j);
  const EsitoCompilazione& esito = diagnosi.esito;
  const bool con_errori = diagnosi.con_errori();
  const bool da_scrivere = (!con_errori || argomenti.ha("--write-on-error")) &&
                           esito.percorso_presente &&
                           esito.controllo_testate == CodiceErrore::nessuno;
  std::vector<std::string> scritti;
  if (da_scrivere) scritti = scrivi_in_insieme(id, uscita, *diagnosi.tabelle);
  const TabelleScenario& tab = *diagnosi.tabelle;
  Riepilogo r;
  r.id = id;
  r.diagnostiche = diagnosi.diagnostiche;
  r.compilato = da_scrivere;
  r.pulito = !con_errori;
  r.lettura = esito.lettura;
  r.stazioni = esito.lettura.numero_stazioni;
  r.motivo = esito.lettura.motivo;
  r.marcatori_aggiunti = esito.marcatori_aggiunti;
  r.file_scritti = scritti;
  if (esito.codici_gara) {
    r.codice_gara_semplice = esito.codici_gara->semplice;
    r.codice_gara_pesato = esito.codici_gara->pesato;
  }
  r.codice_errore = esito.errore();
  r.senza_percorso = r.codice_errore == CodiceErrore::nessuno && !esito.percorso_presente;
  riassumi_tabelle(tab, r);
  if (r.codice_errore != CodiceErrore::nessuno) {
    if (errore_con_posizione(r.codice_errore)) r.posizione_errore = esito.posizione_errore;
    r.messaggio = testo_errore_scenario(r.codice_errore, esito.posizione_errore);
  } else if (r.senza_percorso) {
    r.messaggio = testo_percorso_mancante();
  } else if (con_errori) {
    r.messaggio = "the description files have errors (see the diagnostics)";
  } else {
    r.messaggio = "compiled without error";
  }

  if (argomenti.ha("--json")) {
    scrivi_json(r, uscite);
  } else {
    scrivi_testo(r, uscita, uscite);
  }
  return da_scrivere && !con_errori ? kStatoStrumentoOk : kStatoStrumentoScenario;
}

}  // namespace gs

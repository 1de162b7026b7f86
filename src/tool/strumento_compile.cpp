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
#include "base/json.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

struct Riepilogo {
  IdentitaScenario id;
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

void crea_cartella(const std::string& cartella) {
  std::error_code errore;
  std::filesystem::create_directories(cartella, errore);
  if (errore) throw ErroreFile("create directory", cartella, errore.message());
}

void riassumi_tabelle(const TabelleScenario& tab, Riepilogo& r) {
  r.lunghezza = tab.record[kRecordTestataTreno].fine_fermata;
  r.numero_celle = tab.numero_celle;
  r.segnali = conta_celle(tab, kCellaSegnale);
  r.indicatori = conta_celle(tab, kCellaIndicatoreVelocita);
  r.rallentamenti = conta_celle(tab, kCellaInizioRallentamento);
}

// The compile, its files written apart and put in OUTDIR together: a failure
// while writing them leaves the earlier compiled files as they were.
EsitoCompilazione compila_in_insieme(std::int32_t j, const IdentitaScenario& id,
                                     const Cartella& descrizioni, const Cartella& uscita,
                                     TabelleScenario& tab) {
  CartellaDiLavoro lavoro(uscita);
  const EsitoCompilazione esito = lavoro.in_lavoro([&](const Cartella& dove) {
    return compila_scenario(j, id, descrizioni, dove,
                            OpzioniLettura{.elimina_descrizioni = false}, tab);
  });
  lavoro.posa(esito.file_scritti);
  return esito;
}

void scrivi_testo(const Riepilogo& r, const Cartella& uscita, Uscite& uscite) {
  if (!r.file_scritti.empty()) {
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
  if (r.codice_errore != CodiceErrore::nessuno || r.senza_percorso) {
    auto& e = uscite.errori;
    e << "scenario_tool compile: " << r.messaggio << "\n";
    if (!r.lettura.file.empty()) {
      e << "  reading stopped at " << r.lettura.file << " line " << r.lettura.riga << "\n";
    }
    if (!r.motivo.empty()) e << "  " << r.motivo << "\n";
  }
}

void scrivi_json(const Riepilogo& r, Uscite& uscite) {
  ScrittoreJson j;
  j.apri_oggetto();
  j.chiave("error_code");
  if (r.senza_percorso) j.nullo(); else j.intero(numero(r.codice_errore));
  j.chiave("error_position");
  if (r.posizione_errore) j.intero(*r.posizione_errore); else j.nullo();
  j.chiave("message").stringa(r.messaggio);
  j.chiave("reason");
  if (r.motivo.empty()) j.nullo(); else j.stringa_sistema(r.motivo);
  j.chiave("file").stringa_sistema(r.lettura.file);
  j.chiave("line").intero(r.lettura.riga);
  j.chiave("files_written").apri_lista();
  for (const auto& nome : r.file_scritti) j.stringa_sistema(nome);
  j.chiude_lista();
  j.chiave("scenario_code").stringa_sistema(r.id.codice_scenario);
  j.chiave("train_number").stringa_sistema(r.id.numero_treno);
  j.chiave("route_length").intero(r.lunghezza);
  j.chiave("cell_count").intero(r.numero_celle);
  j.chiave("stations").intero(r.stazioni);
  j.chiave("signals").intero(r.segnali);
  j.chiave("speed_boards").intero(r.indicatori);
  j.chiave("slowdowns").intero(r.rallentamenti);
  j.chiave("markers_added").intero(r.marcatori_aggiunti);
  j.chiave("race_code_plain");
  if (r.codice_gara_semplice) j.intero(*r.codice_gara_semplice); else j.nullo();
  j.chiave("race_code_weighted");
  if (r.codice_gara_pesato) j.intero(*r.codice_gara_pesato); else j.nullo();
  j.chiude_oggetto();
  uscite.uscita << j.testo() << "\n";
}

}  // namespace

int comando_compile(const Argomenti& argomenti, Uscite& uscite) {
  const std::string cartella_descrizioni = argomenti.posizionali.front();
  const auto codice = opzione(argomenti, "--code");
  const auto treno = opzione(argomenti, "--train");
  if (codice) controlla_nome("--code", *codice);
  if (treno) controlla_nome("--train", *treno);
  const IdentitaScenario id = trova_descrizioni(cartella_descrizioni, codice, treno);
  const Cartella descrizioni{cartella_descrizioni, '/'};
  const Cartella uscita{argomenti.valore("--out", cartella_descrizioni), '/'};
  crea_cartella(uscita.percorso);

  const std::int32_t j = argomenti.ha("--no-profile") ? 0 : 1;
  auto tab = std::make_unique<TabelleScenario>();
  const EsitoCompilazione esito = compila_in_insieme(j, id, descrizioni, uscita, *tab);
  Riepilogo r;
  r.id = id;
  r.lettura = esito.lettura;
  r.stazioni = esito.lettura.numero_stazioni;
  r.motivo = esito.lettura.motivo;
  r.marcatori_aggiunti = esito.marcatori_aggiunti;
  r.file_scritti = esito.file_scritti;
  if (esito.codici_gara) {
    r.codice_gara_semplice = esito.codici_gara->semplice;
    r.codice_gara_pesato = esito.codici_gara->pesato;
  }
  r.codice_errore = esito.errore();
  r.senza_percorso = r.codice_errore == CodiceErrore::nessuno && !esito.percorso_presente;
  riassumi_tabelle(*tab, r);
  if (r.codice_errore != CodiceErrore::nessuno) {
    if (errore_con_posizione(r.codice_errore)) r.posizione_errore = esito.posizione_errore;
    r.messaggio = testo_errore_scenario(r.codice_errore, esito.posizione_errore);
  } else if (r.senza_percorso) {
    r.messaggio = testo_percorso_mancante();
  } else {
    r.messaggio = "compiled without error";
  }

  if (argomenti.ha("--json")) {
    scrivi_json(r, uscite);
  } else {
    scrivi_testo(r, uscita, uscite);
  }
  return esito.riuscita() ? kStatoStrumentoOk : kStatoStrumentoScenario;
}

}  // namespace gs

#include "tool/diagnosi.h"

#include <algorithm>
#include <optional>

#include "base/lettura_file.h"
#include "compiler/messaggi_errore.h"

namespace gs {
namespace {

using C = CodiceErrore;

// The entry kinds an error code concerns, in the order they are looked at.
std::vector<TipoVoce> tipi_di(CodiceErrore codice) {
  switch (codice) {
    case C::linea_troppo_lunga: return {TipoVoce::lunghezza};
    case C::progressiva_non_multipla: return {TipoVoce::progressiva};
    case C::inizio_ripetizione_non_multiplo:
    case C::fine_ripetizione_non_multipla:
    case C::ripetizione_sconosciuta: return {TipoVoce::ripetizione};
    case C::cartello_su_cella_occupata: return {TipoVoce::cartello};
    case C::abbattimento_su_cella_occupata: return {TipoVoce::abbattimento};
    case C::stazione_non_multipla:
    case C::marciapiede_non_multiplo:
    case C::stazioni_troppo_vicine:
    case C::troppe_stazioni:
    case C::fermata_nei_primi_100_m: return {TipoVoce::stazione};
    case C::segnale_su_cella_occupata: return {TipoVoce::segnale, TipoVoce::rallentamento};
    case C::avviso_rallentamento_su_cella_occupata:
    case C::inizio_rallentamento_su_cella_occupata:
    case C::fine_rallentamento_su_cella_occupata:
    case C::avvicinamento_rallentamento_su_cella_occupata:
    case C::nessuna_cella_abbattimento_segnale:
    case C::nessuna_cella_abbattimento_avvicinamento:
    case C::nessuna_cella_abbattimento_rallentamento: return {TipoVoce::rallentamento};
    case C::indicatore_su_cella_occupata: return {TipoVoce::indicatore};
    case C::curva_sconosciuta: return {TipoVoce::curva};
    default: return {};
  }
}

bool con_posizione(TipoVoce tipo) {
  return tipo != TipoVoce::lunghezza && tipo != TipoVoce::progressiva &&
         tipo != TipoVoce::sfondo && tipo != TipoVoce::ripetizione &&
         tipo != TipoVoce::vetture && tipo != TipoVoce::massa_frenata &&
         tipo != TipoVoce::sabbia && tipo != TipoVoce::orologio;
}

// The entry an error concerns: of its kinds, the one at the error's position
// (the last such before where reading stopped: the reader stops at the entry
// at fault), the nearest slowdown for the walk's errors, else the last one read.
const VoceLetta* voce_di(const EsitoCompilazione& esito, const Verifica& verifica) {
  const CodiceErrore codice = esito.errore();
  const bool cammino = codice == C::nessuna_cella_abbattimento_segnale ||
                       codice == C::nessuna_cella_abbattimento_avvicinamento ||
                       codice == C::nessuna_cella_abbattimento_rallentamento;
  const auto prima_dell_arresto = [&esito](const VoceLetta& v) {
    return v.file != esito.lettura.file || v.riga <= esito.lettura.riga;
  };
  if (codice == C::oltre_fine_percorso) {
    for (const VoceLetta& v : verifica.voci) {
      if (con_posizione(v.tipo) && v.posizione == esito.posizione_errore) return &v;
    }
    return nullptr;
  }
  for (const TipoVoce tipo : tipi_di(codice)) {
    const VoceLetta* trovata = nullptr;
    std::int64_t scarto = INT64_MAX;
    for (const VoceLetta& v : verifica.voci) {
      if (v.tipo != tipo) continue;
      if (!errore_con_posizione(codice)) {
        if (prima_dell_arresto(v)) trovata = &v;  // the last of its kind read
        continue;
      }
      const std::int64_t d = std::llabs(v.posizione - esito.posizione_errore);
      if (cammino ? d < scarto : (d == 0 && prima_dell_arresto(v))) {
        scarto = d;
        trovata = &v;
      }
    }
    if (trovata != nullptr) return trovata;
  }
  return nullptr;
}

// The first error of the tolerant pass: where there is one, the cause of a
// run-time failure the exact reader met later.
const Diagnostica* prima_errore(const Verifica& verifica) {
  const auto trovata = std::find_if(verifica.diagnostiche.begin(), verifica.diagnostiche.end(),
                                    [](const Diagnostica& d) { return d.gravita == Gravita::errore; });
  return trovata == verifica.diagnostiche.end() ? nullptr : &*trovata;
}

// The previous station before `stazione`, in file order.
const VoceLetta* stazione_precedente(const Verifica& verifica, const VoceLetta& stazione) {
  const VoceLetta* precedente = nullptr;
  for (const VoceLetta& v : verifica.voci) {
    if (&v == &stazione) return precedente;
    if (v.tipo == TipoVoce::stazione) precedente = &v;
  }
  return nullptr;
}

// The code's meaning, and where it misleads the true cause.
std::string messaggio(const EsitoCompilazione& esito, const Verifica& verifica,
                      const VoceLetta* voce) {
  const CodiceErrore codice = esito.errore();
  std::string testo = testo_errore_scenario(codice, esito.posizione_errore);
  if (codice == C::stazioni_troppo_vicine && voce != nullptr) {
    if (const VoceLetta* prima = stazione_precedente(verifica, *voce)) {
      testo += prima->posizione > voce->posizione
                   ? ": station " + voce->nome + " at " + std::to_string(voce->posizione) +
                         " m comes after " + prima->nome + " at " +
                         std::to_string(prima->posizione) + " m (line " +
                         std::to_string(prima->riga) + "): the stations are out of order"
                   : ": the stop zone of " + voce->nome + " starts less than 350 m after that of " +
                         prima->nome + " (line " + std::to_string(prima->riga) + ") ends";
    }
  } else if (codice == C::oltre_fine_percorso) {
    testo += ": the position lies beyond the end of the track";
    if (verifica.lunghezza) {
      testo += " (the route is " + std::to_string(*verifica.lunghezza) +
               " m long, the track ends " + std::to_string(kProlungamento) + " m after it)";
    }
  } else if (codice == C::errore_esecuzione) {
    // Where the tolerant pass found an error, that is the cause in the author's words.
    if (const Diagnostica* causa = prima_errore(verifica)) {
      testo += ": " + causa->messaggio;
    } else if (!esito.lettura.motivo.empty()) {
      testo += ": " + esito.lettura.motivo;
    }
  }
  return testo;
}

}  // namespace

std::optional<Diagnostica> diagnostica_compilazione(const EsitoCompilazione& esito,
                                                    const Verifica& verifica,
                                                    const IdentitaScenario& id) {
  const CodiceErrore codice = esito.errore();
  Diagnostica d;
  if (codice == C::nessuno) {
    if (esito.percorso_presente) return std::nullopt;
    d.file = nome_descrizione_linea(id);
    d.codice = "no-track";
    d.messaggio =
        "no track to compile: the line description file gives no usable `lunghezza percorso`";
    return d;
  }
  const VoceLetta* voce = voce_di(esito, verifica);
  const VoceErrore* riga_tabella = voce_errore(codice);
  d.codice = riga_tabella != nullptr ? std::string(riga_tabella->sigla) : "scenario-error";
  d.messaggio = messaggio(esito, verifica, voce);
  // A run-time failure is often found where reading stopped, long after its
  // cause: it goes to the line of that cause.
  const Diagnostica* causa = prima_errore(verifica);
  if (codice == C::errore_esecuzione && causa != nullptr) {
    d.file = causa->file;
    d.riga = causa->riga;
    d.colonna = causa->colonna;
  } else if (voce != nullptr) {
    d.file = voce->file;
    d.riga = voce->riga;
    d.colonna = voce->colonna;
  } else {
    d.file = esito.lettura.file.empty() ? nome_descrizione_linea(id) : esito.lettura.file;
    d.riga = esito.lettura.riga;
  }
  return d;
}

Diagnosi diagnostica(const IdentitaScenario& id, const Cartella& cartella, std::int32_t j) {
  Diagnosi diagnosi;
  diagnosi.id = id;
  const std::string nome_linea = nome_descrizione_linea(id);
  const std::string nome_treno = nome_descrizione_treno(id);
  const std::string linea = leggi_file_regolare(cartella.file(nome_linea), kByteMassimiDescrizione);
  const std::string treno = leggi_file_regolare(cartella.file(nome_treno), kByteMassimiDescrizione);
  diagnosi.verifica = verifica_descrizioni(nome_linea, linea, nome_treno, treno);
  diagnosi.esito = compila_scenario(j, id, cartella, std::nullopt,
                                    OpzioniLettura{.elimina_descrizioni = false}, *diagnosi.tabelle);
  diagnosi.diagnostiche = diagnosi.verifica.diagnostiche;
  if (auto d = diagnostica_compilazione(diagnosi.esito, diagnosi.verifica, id)) {
    diagnosi.diagnostiche.push_back(std::move(*d));
  }
  return diagnosi;
}

}  // namespace gs

#include "shell/form.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/blocco_cartella.h"
#include "base/cartella_di_lavoro.h"
#include "base/errore_file.h"
#include "compiler/messaggi_errore.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "shell/errore.h"

namespace gs {

namespace {

// Steps 5 to 10: the five text files, then the compile, all in `cartella`.
EsitoCompilazione esegui_passi(Form1& form, const Cartella& cartella) {
  dati_linea(form.identita, cartella);
  dati_treno(form.identita, cartella);
  dati_note(form.identita, cartella);
  dati_rallentamenti(form.identita, cartella);
  dati_scheda(form.identita, cartella);
  const std::int32_t j = 1;
  return memorizza_percorso(j, form.identita, cartella, form.tabelle);
}

// The files a run may leave, in the order they are put in place: the three
// documents, the compiled files, and a train description file the reader
// did not take (when it rejected the line description file).
std::vector<std::string> nomi_da_posare(const IdentitaScenario& id) {
  return {nome_note(id),          nome_rallentamenti(id),   nome_scheda_treno(id),
          nome_profilo_linea(id), nome_file_scenario(id),   nome_file_percorso(id),
          nome_descrizione_linea(id), nome_descrizione_treno(id)};
}

}  // namespace

EsitoCompilazione Form_Load(Form1& form, Piattaforma& piattaforma) {
  form.identita = identita_incorporata();
  piattaforma.mostra_finestra(Finestra{});
  piattaforma.ridisegna_finestra();

  const Cartella cartella = piattaforma.cartella_programma();
  // Runs in one directory follow one another: every file left is one run's.
  const BloccoCartella blocco(cartella.percorso);
  // The run's files are written apart and replace the earlier ones as a set,
  // once all of them are written: a failure leaves the directory as it was.
  CartellaDiLavoro lavoro(cartella);
  const EsitoCompilazione esito =
      lavoro.in_lavoro([&form](const Cartella& dove) { return esegui_passi(form, dove); });
  lavoro.posa(nomi_da_posare(form.identita),
              {nome_descrizione_linea(form.identita), nome_descrizione_treno(form.identita)});
  return esito;
}

int esegui_genera_scenario(Piattaforma& piattaforma) {
  // The tables are large; they live on the heap, not on the stack.
  auto form = std::make_unique<Form1>();
  try {
    return stato_scenario(Form_Load(*form, piattaforma), piattaforma);
  } catch (const ErroreFile& guasto) {
    piattaforma.segnala_guasto(guasto.what());
    return kStatoErroreFile;
  } catch (const std::bad_alloc&) {
    // Memory running out is a failed run to report, never an abort.
    piattaforma.segnala_guasto("out of memory");
    return kStatoErroreFile;
  }
}

int stato_scenario(const EsitoCompilazione& esito, Piattaforma& piattaforma) {
  if (esito.controllo_testate != CodiceErrore::nessuno) {
    errore(piattaforma, std::to_string(numero(esito.controllo_testate)));
    return kStatoErroreScenario;
  }
  if (esito.codice_errore != CodiceErrore::nessuno) {
    piattaforma.segnala_errore_scenario(
        testo_errore_scenario(esito.codice_errore, esito.posizione_errore));
    return kStatoErroreScenario;
  }
  if (!esito.percorso_presente) {
    piattaforma.segnala_errore_scenario(testo_percorso_mancante());
    return kStatoErroreScenario;
  }
  return 0;
}

}  // namespace gs

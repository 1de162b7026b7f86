#include "shell/form.h"

#include <cstdint>
#include <memory>
#include <string>

#include "base/blocco_cartella.h"
#include "base/errore_file.h"
#include "compiler/messaggi_errore.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "shell/errore.h"

namespace gs {

EsitoCompilazione Form_Load(Form1& form, Piattaforma& piattaforma) {
  form.identita = identita_incorporata();
  piattaforma.mostra_finestra(Finestra{});
  piattaforma.ridisegna_finestra();

  const Cartella cartella = piattaforma.cartella_programma();
  // Runs in one directory follow one another: every file left is one run's.
  const BloccoCartella blocco(cartella.percorso);
  dati_linea(form.identita, cartella);
  dati_treno(form.identita, cartella);
  dati_note(form.identita, cartella);
  dati_rallentamenti(form.identita, cartella);
  dati_scheda(form.identita, cartella);
  const std::int32_t j = 1;
  return memorizza_percorso(j, form.identita, cartella, form.tabelle);
}

int esegui_genera_scenario(Piattaforma& piattaforma) {
  // The tables are large; they live on the heap, not on the stack.
  auto form = std::make_unique<Form1>();
  try {
    return stato_scenario(Form_Load(*form, piattaforma), piattaforma);
  } catch (const ErroreFile& guasto) {
    piattaforma.segnala_guasto(guasto.what());
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

#include "compiler/errore.h"
#include "shell/form.h"

#include <cstdint>
#include <memory>

#include "compiler/memorizza_percorso.h"
#include "compiler/messaggi_errore.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "base/errore_file.h"

namespace gs {

void Form_Load(Form1& form, Piattaforma& piattaforma) {
  form.identita = identita_incorporata();
  piattaforma.mostra_finestra(Finestra{});
  piattaforma.ridisegna_finestra();

  const Cartella cartella = piattaforma.cartella_programma();
  dati_linea(form.identita, cartella);
  dati_treno(form.identita, cartella);
  dati_note(form.identita, cartella);
  dati_rallentamenti(form.identita, cartella);
  dati_scheda(form.identita, cartella);
  const std::int32_t j = 1;
  memorizza_percorso(j, form.identita, cartella, form.tabelle, piattaforma);
}

int esegui_genera_scenario(Piattaforma& piattaforma) {
  // The tables are large; they live on the heap, not on the stack.
  auto form = std::make_unique<Form1>();
  try {
    Form_Load(*form, piattaforma);
  } catch (const FineProgramma& fine) {
    return fine.stato;
  } catch (const ErroreFile& guasto) {
    piattaforma.segnala_guasto(guasto.what());
    return kStatoErroreFile;
  }
  return stato_scenario(form->tabelle, piattaforma);
}

int stato_scenario(const TabelleScenario& tabelle, Piattaforma& piattaforma) {
  if (tabelle.codice_errore != 0) {
    piattaforma.segnala_errore_scenario(
        testo_errore_scenario(tabelle.codice_errore, tabelle.posizione_errore));
    return kStatoErroreNumerato;
  }
  if (!percorso_presente(tabelle)) {
    piattaforma.segnala_errore_scenario(testo_percorso_mancante());
    return kStatoErroreNumerato;
  }
  return 0;
}

}  // namespace gs

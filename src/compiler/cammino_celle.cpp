#include "compiler/cammino_celle.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "compiler/minimo.h"

namespace gs {
namespace {

using Indice = std::int32_t;

constexpr Indice kCelleAvantiAvviso = 20;  // rule A looks this far back from a board
constexpr Indice kPrimaCellaSegnaleA = 3;  // ... but never at a signal before this cell
constexpr Indice kPassoRipetizione = 8;    // cells between repeat markers
constexpr Indice kCelleCercaSegnale = 12;  // after the end, how far to look for a signal

Indice ultima_cella(const TabelleScenario& tab) {
  return static_cast<Indice>(tab.celle.size()) - 1;
}

Cella& cella(TabelleScenario& tab, Indice indice) {
  return tab.celle[static_cast<std::size_t>(indice)];
}

void registra_errore(TabelleScenario& tab, CodiceErrore codice, Indice indice) {
  tab.codice_errore = codice;
  tab.posizione_errore = indice * kMetriPerCella;
}

void metti_marcatore(Cella& destinazione) {
  destinazione.tipo = kCellaAbbattimento;
  destinazione.valore1 = kValoreAbbattimento;
}

// The first free cell among the candidates, in the order given, gets a marker.
std::optional<Indice> marca_primo_libero(TabelleScenario& tab,
                                         std::initializer_list<Indice> candidati) {
  for (const Indice candidato : candidati) {
    if (cella_libera(cella(tab, candidato))) {
      metti_marcatore(cella(tab, candidato));
      return candidato;
    }
  }
  return std::nullopt;
}

// Rule A for one signal: a marker in one of the two cells before it, or else
// an existing marker there capped at 180.
void marca_prima_del_segnale(TabelleScenario& tab, Indice segnale) {
  if (marca_primo_libero(tab, {segnale - 1, segnale - 2})) return;
  for (const Indice vicina : {segnale - 1, segnale - 2}) {
    Cella& marcatore = cella(tab, vicina);
    if (marcatore.tipo == kCellaAbbattimento) {
      marcatore.valore1 = minimo<std::int16_t>(kValoreAbbattimento, marcatore.valore1);
      return;
    }
  }
  registra_errore(tab, CodiceErrore::nessuna_cella_abbattimento_segnale, segnale);
}

// Rule A: every signal in the 20 cells before the warning board, down to cell 3.
void regola_a(TabelleScenario& tab, Indice avviso) {
  for (Indice s = 1; s <= kCelleAvantiAvviso && avviso - s >= kPrimaCellaSegnaleA; ++s) {
    if (cella(tab, avviso - s).tipo == kCellaSegnale) marca_prima_del_segnale(tab, avviso - s);
  }
}

// B1: three groups of three candidates, 5 .. 7, 11 .. 13 and 18 .. 20 cells
// before the start; a group runs only when its farthest candidate is cell 1 or later.
void marcatori_avvicinamento(TabelleScenario& tab, Indice inizio) {
  for (const Indice vicino : {5, 11, 18}) {
    if (inizio - (vicino + 2) < 1) continue;
    const Indice c = inizio - vicino;
    if (!marca_primo_libero(tab, {c, c - 1, c - 2})) {
      registra_errore(tab, CodiceErrore::nessuna_cella_abbattimento_avvicinamento, inizio);
    }
  }
}

// The end cell (type 2) of the slowdown that starts at `inizio`: the first one
// after it, up to the last cell.
std::optional<Indice> fine_rallentamento(TabelleScenario& tab, Indice inizio) {
  for (Indice c = inizio + 1; c <= ultima_cella(tab); ++c) {
    if (cella(tab, c).tipo == kCellaFineRallentamento) return c;
  }
  return std::nullopt;
}

// One repeat marker due at `dovuta`: there, or in the cell before, or in the
// cell after (when that is still on the track). Returns the step counter that
// follows, so that the next marker falls 8 cells after this one; after an error
// the counter is left at 8 and runs past it.
Indice marcatore_di_ripetizione(TabelleScenario& tab, Indice dovuta) {
  if (marca_primo_libero(tab, {dovuta})) return 0;
  if (marca_primo_libero(tab, {dovuta - 1})) return 1;
  if (dovuta + 1 <= ultima_cella(tab) && marca_primo_libero(tab, {dovuta + 1})) return -1;
  registra_errore(tab, CodiceErrore::nessuna_cella_abbattimento_rallentamento, dovuta);
  return kPassoRipetizione;
}

// B2: a marker every 8 cells from the start, up to and including `ultima`
// (the end cell, or the last cell of the track when the slowdown has no end).
void marcatori_ripetizione(TabelleScenario& tab, Indice inizio, Indice ultima) {
  Indice passi = 0;
  for (Indice c = inizio + 1; c <= ultima; ++c) {
    if (++passi == kPassoRipetizione) passi = marcatore_di_ripetizione(tab, c);
  }
}

// B3: a marker before the first signal in the 12 cells after the end.
void marcatore_dopo_la_fine(TabelleScenario& tab, Indice fine) {
  const Indice limite = std::min(fine + kCelleCercaSegnale, ultima_cella(tab));
  for (Indice s = fine; s <= limite; ++s) {
    if (cella(tab, s).tipo != kCellaSegnale) continue;
    if (!marca_primo_libero(tab, {s - 1, s - 2})) registra_errore(tab, CodiceErrore::nessuna_cella_abbattimento_rallentamento, fine);
    return;
  }
}

// Rule B: approach markers, repeat markers for a slow slowdown, and a marker
// before the first signal after its end, whatever its speed.
void regola_b(TabelleScenario& tab, Indice inizio) {
  marcatori_avvicinamento(tab, inizio);
  const std::optional<Indice> fine = fine_rallentamento(tab, inizio);
  if (cella(tab, inizio).valore1 < kVelocitaSenzaRipetizione) {
    marcatori_ripetizione(tab, inizio, fine.value_or(ultima_cella(tab)));
  }
  if (fine) marcatore_dopo_la_fine(tab, *fine);
}

std::int32_t conta_marcatori(const TabelleScenario& tab) {
  return static_cast<std::int32_t>(std::count_if(
      tab.celle.begin(), tab.celle.end(), [](const Cella& c) { return c.tipo == kCellaAbbattimento; }));
}

}  // namespace

std::int32_t cammino_celle(TabelleScenario& tab) {
  // The walk turns free cells into markers and never takes a marker away.
  const std::int32_t prima = conta_marcatori(tab);
  for (Indice i = 1; i <= ultima_cella(tab) - 2; ++i) {
    if (cella(tab, i).tipo == kCellaAvvisoRallentamento) regola_a(tab, i);
    if (cella(tab, i).tipo == kCellaInizioRallentamento) regola_b(tab, i);
  }
  return conta_marcatori(tab) - prima;
}

}  // namespace gs

#include "reader/lettura_treno.h"

#include <cstddef>
#include <limits>
#include <string>

#include "reader/errore_esecuzione.h"
#include "reader/lettura_linea.h"
#include "reader/memo.h"
#include "base/arrotondamento.h"

namespace gs {
namespace {

constexpr std::int32_t kMargineFine = 100;           // range check margin of a feature (m)
constexpr std::int32_t kMargineStazione = 800;       // range check margin of a station (m)
constexpr std::int32_t kDistanzaStazioni = 350;      // least gap between stop zones (m)
constexpr std::int32_t kTipoSenzaFermata = 25;       // kinds from here on get no marks

// The train reader's cursors and counters.
struct StatoTreno {
  std::int32_t indice_stazione = 1;      // record of the next station
  std::int32_t indice_cartelli = kRecordPrimoCartello;
  std::int32_t cursore_velocita = 0;     // next cell whose speed limit is to be written
  std::int32_t velocita_precedente = 0;  // km/h, up to the next speed limit position
  std::int32_t cursore_aderenza = 0;
  std::int32_t aderenza_precedente = 0;
};

// A whole number that a signed 32-bit field must hold, or a run-time failure.
std::int32_t intero32(LettoreCampi& lettore, double valore, const char* cosa) {
  if (!(valore >= std::numeric_limits<std::int32_t>::min() &&
        valore <= std::numeric_limits<std::int32_t>::max())) {
    lettore.fallisci(std::string(cosa) + " " + std::to_string(valore) + " does not fit 32 bits");
  }
  return static_cast<std::int32_t>(valore);
}

std::int32_t intero32(LettoreCampi& lettore, std::int64_t valore, const char* cosa) {
  return intero32(lettore, static_cast<double>(valore), cosa);
}

// The speed limit in force at the cursor's cell, in steps of 5 km/h rounded
// half to even; a step count outside 0 .. 255 is a run-time failure.
void scrivi_velocita(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato) {
  const double passi = arrotonda_pari(static_cast<double>(stato.velocita_precedente) / 5.0);
  if (passi < 0 || passi > 255) {
    lettore.fallisci("speed limit " + std::to_string(stato.velocita_precedente) +
                     " km/h does not fit its cell");
  }
  cella_in(tab, stato.cursore_velocita).velocita = static_cast<std::uint8_t>(passi);
  ++stato.cursore_velocita;
}

// The adhesion in force at the cursor's cell: its low 8 bits.
void scrivi_aderenza(TabelleScenario& tab, StatoTreno& stato) {
  cella_in(tab, stato.cursore_aderenza).aderenza =
      static_cast<std::uint8_t>(stato.aderenza_precedente);
  ++stato.cursore_aderenza;
}

// A new speed limit from `p`: the one in force fills the cells up to p / 50
// (at least one once p / 50 is above 0), never reaching the cell count.
EsitoRecord leggi_velocita(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato) {
  const std::int32_t posizione = lettore.leggi_intero();
  const std::int32_t velocita = lettore.leggi_intero();
  if (fuori_percorso(tab, posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  const std::int64_t fino_a = cella_di_posizione(posizione, 0);
  if (fino_a > 0) {
    do {
      scrivi_velocita(lettore, tab, stato);
    } while (stato.cursore_velocita < fino_a && stato.cursore_velocita < tab.numero_celle);
  }
  stato.velocita_precedente = velocita;
  return EsitoRecord::avanti;
}

// A new adhesion from `p`, filling as the speed limits do.
EsitoRecord leggi_aderenza(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato) {
  const std::int32_t posizione = lettore.leggi_intero();
  const std::int32_t aderenza = lettore.leggi_intero();
  if (fuori_percorso(tab, posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  const std::int64_t fino_a = cella_di_posizione(posizione, 0);
  if (fino_a > 0) {
    do {
      scrivi_aderenza(tab, stato);
    } while (stato.cursore_aderenza < fino_a);
  }
  stato.aderenza_precedente = aderenza;
  return EsitoRecord::avanti;
}

EsitoRecord leggi_segnale(LettoreCampi& lettore, TabelleScenario& tab) {
  Segnale s;
  for (std::int32_t* valore : {&s.posizione, &s.sx, &s.s1, &s.s2, &s.s3, &s.rapp, &s.dx, &s.d1,
                               &s.d2, &s.d3, &s.tempo}) {
    *valore = lettore.leggi_intero();
  }
  if (fuori_percorso(tab, s.posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  memo_segnale(tab, s);
  if (tab.codice_errore != CodiceErrore::nessuno) {
    tab.posizione_errore = s.posizione;
    return EsitoRecord::errore;
  }
  return EsitoRecord::avanti;
}

EsitoRecord leggi_rallentamento(LettoreCampi& lettore, TabelleScenario& tab) {
  Rallentamento r;
  for (std::int32_t* valore : {&r.x, &r.v, &r.l, &r.f_tt, &r.f_ta, &r.d_v}) {
    *valore = lettore.leggi_intero();
  }
  if (fuori_percorso(tab, r.x, kMargineFine)) return EsitoRecord::fuori_percorso;
  memo_rallentamento(tab, r);
  if (tab.codice_errore != CodiceErrore::nessuno) {
    tab.posizione_errore = r.x;
    return EsitoRecord::errore;
  }
  return EsitoRecord::avanti;
}

// An abbattimento marker on the cell at p / 50: with its value when that is
// 1 or more, else without. Error 7 when the cell is taken.
EsitoRecord leggi_abbattimento(LettoreCampi& lettore, TabelleScenario& tab) {
  const std::int32_t posizione = lettore.leggi_intero();
  const std::int32_t valore = lettore.leggi_intero();
  if (fuori_percorso(tab, posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  Cella& cella = cella_in(tab, cella_di_posizione(posizione, 0));
  if (!cella_libera(cella)) {
    tab.codice_errore = CodiceErrore::abbattimento_su_cella_occupata;
    tab.posizione_errore = posizione;
    return EsitoRecord::errore;
  }
  if (valore > 0) {
    cella.tipo = kCellaAbbattimento;
    cella.valore1 = static_cast<std::int16_t>(static_cast<std::uint16_t>(valore));
  } else {
    cella.tipo = kCellaAbbattimentoSenzaValore;
  }
  return EsitoRecord::avanti;
}

// The stop zone around the station's position for a platform of `banchina` m.
void zona_di_fermata(LettoreCampi& lettore, Record& r, std::int32_t banchina) {
  const std::int64_t p = r.posizione;
  if (r.tipo == 5 || r.tipo == 6) {
    r.inizio_fermata = intero32(lettore, p - banchina, "stop zone start");
    r.fine_fermata = intero32(lettore, p + 150, "stop zone end");
    r.mar = 0;
  } else if (r.tipo == 7 || r.tipo == 8) {
    r.inizio_fermata = intero32(lettore, p - banchina, "stop zone start");
    r.fine_fermata = intero32(lettore, p + banchina, "stop zone end");
    r.mar = 0;
  } else {
    const double mezza = static_cast<double>(banchina) / 2.0;
    const double oltre = r.mar != 0 ? 50.0 : 0.0;
    r.inizio_fermata =
        intero32(lettore, arrotonda_pari(static_cast<double>(p) - mezza), "stop zone start");
    r.fine_fermata =
        intero32(lettore, arrotonda_pari(static_cast<double>(p) + mezza + oltre), "stop zone end");
  }
}

// Approach marks 81 .. 84 on the four cells 100 .. 250 m before the stopping
// point, where they fall beyond cell 1.
void segna_avvicinamento(TabelleScenario& tab, const Record& r) {
  for (int z = 1; z <= 4; ++z) {
    const double cella = static_cast<double>(r.fine_fermata) / 50.0 - z - 1;
    if (cella > 1) {
      cella_in(tab, static_cast<std::int64_t>(arrotonda_pari(cella))).avvicinamento =
          static_cast<std::uint8_t>(80 + z);
    }
  }
}

// The stop marker on the cell before the stopping point; false, with error 24,
// when that cell is 1 or lower.
bool segna_fermata(TabelleScenario& tab, const Record& r, std::int32_t indice) {
  const double cella = static_cast<double>(r.fine_fermata) / 50.0 - 1;
  if (cella <= 1) {
    tab.codice_errore = CodiceErrore::fermata_nei_primi_100_m;
    return false;
  }
  Cella& fermata = cella_in(tab, static_cast<std::int64_t>(arrotonda_pari(cella)));
  fermata.tipo = kCellaFermata;
  fermata.valore1 = static_cast<std::int16_t>(indice);
  return true;
}

// The station's numbers after its position, in file order, up to its name.
// False, with error 9, when the platform length is not a multiple of 100.
bool leggi_dati_stazione(LettoreCampi& lettore, TabelleScenario& tab, Record& r,
                         std::int32_t& banchina) {
  r.tipo = lettore.leggi_intero8();
  banchina = lettore.leggi_intero();
  if (banchina % 100 != 0) {
    tab.codice_errore = CodiceErrore::marciapiede_non_multiplo;
    tab.posizione_errore = r.posizione;
    return false;
  }
  r.tps = lettore.leggi_intero8();
  r.tab = lettore.leggi_intero8();
  r.mar = lettore.leggi_intero8();
  r.rd2 = lettore.leggi_intero16();
  r.rd3 = lettore.leggi_intero16();
  r.rap = lettore.leggi_intero8();
  r.d1 = lettore.leggi_intero16();
  r.d2 = lettore.leggi_intero16();
  r.d3 = lettore.leggi_intero16();
  r.ac = lettore.leggi_intero8();
  const std::int64_t ore = lettore.leggi_intero();
  const std::int64_t minuti = lettore.leggi_intero();
  const std::int64_t secondi = lettore.leggi_intero();
  r.orario = intero32(lettore, (ore * 60 + minuti) * 60 + secondi, "scheduled time");
  return true;
}

// A station into the next station record, with its stop zone, marks and
// checks. Errors 8, 9, 24, 22, 10.
EsitoRecord leggi_stazione(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato,
                           std::string& campo) {
  const std::int32_t indice = stato.indice_stazione;
  if (indice < 1 || indice >= kNumeroRecord) lettore.fallisci("no record left for a station");
  Record& r = tab.record[static_cast<std::size_t>(indice)];
  r.posizione = lettore.leggi_intero();
  if (fuori_percorso(tab, r.posizione, kMargineStazione)) return EsitoRecord::fuori_percorso;
  if (r.posizione % 50 != 0) {
    tab.codice_errore = CodiceErrore::stazione_non_multipla;
    tab.posizione_errore = r.posizione;
    return EsitoRecord::errore;
  }
  std::int32_t banchina = 0;
  if (!leggi_dati_stazione(lettore, tab, r, banchina)) return EsitoRecord::errore;
  campo = leggi_nome(lettore);
  r.nome = campo;

  zona_di_fermata(lettore, r, banchina);
  if (banchina < 600) r.tab = 0;
  if (indice == 1) {
    r.mar = 0;
    r.tab = 0;
  }
  if (r.tipo < kTipoSenzaFermata) {
    if (r.tipo != 5 && r.tipo != 6) segna_avvicinamento(tab, r);
    if (!segna_fermata(tab, r, indice)) return EsitoRecord::errore;
  }
  if (indice > 1) {
    const Record& precedente = tab.record[static_cast<std::size_t>(indice - 1)];
    if (std::int64_t{r.inizio_fermata} - kDistanzaStazioni < precedente.fine_fermata) {
      tab.codice_errore = CodiceErrore::stazioni_troppo_vicine;
      tab.posizione_errore = r.posizione;
      return EsitoRecord::errore;
    }
  }
  stato.indice_stazione = indice + 1;
  if (stato.indice_stazione >= stato.indice_cartelli) {
    tab.codice_errore = CodiceErrore::troppe_stazioni;
    return EsitoRecord::errore;
  }
  return EsitoRecord::avanti;
}

// Every test that the field passes, in order.
EsitoRecord leggi_voce_treno(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato,
                             std::string& campo) {
  Record& testata = tab.record[kRecordTestataTreno];
  Record& ripetizione = tab.record[kRecordTestataRipetizione];
  if (contiene_senza_caso(campo, "frenata") && contiene_senza_caso(campo, "massa")) {
    testata.inizio_fermata = lettore.leggi_intero();
  }
  if (contiene_senza_caso(campo, "vetture")) testata.posizione = lettore.leggi_intero();

  EsitoRecord esito = EsitoRecord::avanti;
  if (contiene_senza_caso(campo, "velocit")) {
    esito = leggi_velocita(lettore, tab, stato);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "aderenza")) {
    esito = leggi_aderenza(lettore, tab, stato);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "orologio")) {
    ripetizione.d1 = lettore.leggi_intero16();
    ripetizione.d2 = lettore.leggi_intero16();
    ripetizione.d3 = lettore.leggi_intero16();
  }
  if (contiene_senza_caso(campo, "sabbia")) ripetizione.rd2 = lettore.leggi_intero16();
  if (contiene_senza_caso(campo, "segnale")) {
    esito = leggi_segnale(lettore, tab);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "rallentamento")) {
    esito = leggi_rallentamento(lettore, tab);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "abbattimento")) {
    esito = leggi_abbattimento(lettore, tab);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "stazione")) esito = leggi_stazione(lettore, tab, stato, campo);
  return esito;
}

// Reads fields up to the one holding "[generale]" or to the end of the file.
void trova_generale(LettoreCampi& lettore) {
  std::string campo;
  do {
    campo = lettore.leggi_campo();
  } while (!contiene_senza_caso(campo, "[generale]") && !lettore.fine());
}

// The first and second values of each progressive must be multiples of 50.
bool progressive_valide(const TabelleScenario& tab) {
  for (int r = kRecordProgressivaTre; r <= kRecordProgressivaUno; ++r) {
    const Record& progressiva = tab.record[static_cast<std::size_t>(r)];
    if (progressiva.inizio_fermata % 50 != 0 || progressiva.fine_fermata % 50 != 0) return false;
  }
  return true;
}

// The end of the train file: the last speed limit and adhesion hold up to cell
// count - 3; then the progressives are checked (error 2).
void completa_treno(LettoreCampi& lettore, TabelleScenario& tab, StatoTreno& stato) {
  do {
    scrivi_velocita(lettore, tab, stato);
  } while (stato.cursore_velocita < tab.numero_celle - 2);
  do {
    scrivi_aderenza(tab, stato);
  } while (stato.cursore_aderenza < tab.numero_celle - 2);
  if (!progressive_valide(tab)) tab.codice_errore = CodiceErrore::progressiva_non_multipla;
}

}  // namespace

std::int32_t leggi_descrizione_treno(LettoreCampi& lettore, TabelleScenario& tab,
                                     std::int32_t indice_cartelli) {
  trova_generale(lettore);
  StatoTreno stato;
  stato.indice_cartelli = indice_cartelli;
  std::string campo;
  while (prossimo_campo_chiave(lettore, campo)) {
    const EsitoRecord esito = leggi_voce_treno(lettore, tab, stato, campo);
    if (esito == EsitoRecord::errore) return stato.indice_stazione - 1;
    if (esito == EsitoRecord::fuori_percorso) break;
  }
  completa_treno(lettore, tab, stato);
  return stato.indice_stazione - 1;
}

}  // namespace gs

#include "reader/lettura_linea.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"
#include "base/arrotondamento.h"

namespace gs {
namespace {

constexpr std::int32_t kUltimoMetroCurve = 1000000;  // curves may trace no further
constexpr std::int32_t kMargineFine = 100;           // range check margin of a feature (m)
constexpr int kCommentiGenerale = 10;  // comment fields passed over in a row, general section

// The line reader's cursors; the metre counter is the profile's `assegnati`.
struct StatoLinea {
  std::int32_t cursore_pendenza = 0;     // next cell whose gradient is to be written
  std::int32_t pendenza_precedente = 0;  // per mille, up to the next gradient position
  std::int32_t indice_cartelli = kRecordPrimoCartello;
};

// Reads fields up to the one holding "[generale]"; false, with error 102,
// when the end of the file comes first (or right after it).
bool trova_generale(LettoreCampi& lettore, TabelleScenario& tab) {
  std::string campo;
  do {
    campo = lettore.leggi_campo();
    if (lettore.fine()) {
      tab.codice_errore = CodiceErrore::generale_mancante;
      return false;
    }
  } while (!contiene_senza_caso(campo, "[generale]"));
  return true;
}

// Sizes the track (and, with the profile flag, the profile) for a route of
// `lunghezza` metres; the tables change only once everything is allocated.
void alloca_percorso(LettoreCampi& lettore, TabelleScenario& tab, std::int32_t lunghezza) {
  const std::int64_t estesa = std::int64_t{lunghezza} + kProlungamento;
  const double ultima_cella = arrotonda_pari(static_cast<double>(estesa) / 50.0);
  const bool con_profilo = tab.flag_profilo != 0;
  if (ultima_cella < 0 || (con_profilo && estesa < 0)) {
    lettore.fallisci("a line length of " + std::to_string(lunghezza) + " m leaves no track");
  }
  std::vector<Cella> celle(static_cast<std::size_t>(ultima_cella) + 1);
  tab.celle = std::move(celle);
  tab.lunghezza_estesa = static_cast<std::int32_t>(estesa);
  tab.numero_celle = static_cast<std::int32_t>(ultima_cella);
  if (con_profilo) tab.profilo = TracciatoLinea{static_cast<std::int32_t>(estesa) + 1, 0, {}};
}

bool leggi_lunghezza(LettoreCampi& lettore, TabelleScenario& tab) {
  const std::int32_t lunghezza = lettore.leggi_intero();
  tab.record[kRecordTestataTreno].fine_fermata = lunghezza;
  if (lunghezza > kLunghezzaMassimaLinea) {
    tab.codice_errore = CodiceErrore::linea_troppo_lunga;
    return false;
  }
  alloca_percorso(lettore, tab, lunghezza);
  return true;
}

void leggi_progressiva(LettoreCampi& lettore, Record& record) {
  record.inizio_fermata = lettore.leggi_intero();
  record.fine_fermata = lettore.leggi_intero();
  record.posizione = lettore.leggi_intero();
}

// The stretch with signal repetition and its code system ("4" or "9" in the
// keyword field; none when the stretch ends at 0). Errors 3, 4, 5.
bool leggi_ripetizione(LettoreCampi& lettore, TabelleScenario& tab, const std::string& campo) {
  Record& testata = tab.record[kRecordTestataRipetizione];
  testata.inizio_fermata = lettore.leggi_intero();
  testata.fine_fermata = lettore.leggi_intero();
  if (testata.inizio_fermata % 50 != 0) {
    tab.codice_errore = CodiceErrore::inizio_ripetizione_non_multiplo;
    return false;
  }
  if (testata.fine_fermata % 50 != 0) {
    tab.codice_errore = CodiceErrore::fine_ripetizione_non_multipla;
    return false;
  }
  if (contiene(campo, "4")) {
    testata.posizione = 4;
  } else if (contiene(campo, "9")) {
    testata.posizione = 9;
  } else {
    tab.codice_errore = CodiceErrore::ripetizione_sconosciuta;
    return false;
  }
  if (testata.fine_fermata == 0) testata.posizione = 0;
  return true;
}

// Every test of the general section that the field passes, in order; false
// once an error ends the reading.
bool leggi_voce_generale(LettoreCampi& lettore, TabelleScenario& tab, const std::string& campo) {
  if (contiene_senza_caso(campo, "percorso") && contiene_senza_caso(campo, "lunghezza")) {
    if (!leggi_lunghezza(lettore, tab)) return false;
  }
  if (contiene(campo, "tre") && contiene(campo, "progressiva")) {
    leggi_progressiva(lettore, tab.record[kRecordProgressivaTre]);
  }
  if (contiene(campo, "due") && contiene(campo, "progressiva")) {
    leggi_progressiva(lettore, tab.record[kRecordProgressivaDue]);
  }
  if (contiene(campo, "uno") && contiene(campo, "progressiva")) {
    leggi_progressiva(lettore, tab.record[kRecordProgressivaUno]);
  }
  Record& scenario = tab.record[kRecordTestataScenario];
  if (contiene(campo, "sfondo") && contiene(campo, "uno")) scenario.inizio_fermata = lettore.leggi_intero();
  if (contiene(campo, "sfondo") && contiene(campo, "due")) scenario.posizione = lettore.leggi_intero();
  if (contiene(campo, "sfondo") && contiene(campo, "tre")) scenario.fine_fermata = lettore.leggi_intero();
  if (contiene(campo, "segnali") && contiene(campo, "ripetizione")) {
    if (!leggi_ripetizione(lettore, tab, campo)) return false;
  }
  return true;
}

// The next section's header: "[" and "]" in a field that does not open with "-".
bool intestazione_sezione(const std::string& campo) {
  const std::size_t primo = campo.find_first_not_of(" \t");
  const bool commento = primo != std::string::npos && campo[primo] == '-';
  return !commento && contiene(campo, "[") && contiene(campo, "]");
}

bool leggi_generale(LettoreCampi& lettore, TabelleScenario& tab) {
  while (!lettore.fine()) {
    std::string campo = lettore.leggi_campo();
    if (lettore.fine()) break;
    for (int i = 0; i < kCommentiGenerale && contiene(campo, "-"); ++i) {
      campo = lettore.leggi_campo();
    }
    if (!leggi_voce_generale(lettore, tab, campo)) return false;
    if (intestazione_sezione(campo)) break;
  }
  return true;
}

// Traces the profile from the metre counter up to point `fino_a` included, one
// metre a step, each step from the last two points: straight on, or with the
// heading turned by curvature k. Stops after point `guardia` (returning false);
// a point beyond the profile is a run-time failure. Only the run is recorded:
// the points are worked out when the file is written.
bool traccia(LettoreCampi& lettore, TracciatoLinea& p, std::int64_t fino_a, std::int64_t guardia,
             bool curva, double k) {
  const std::int64_t primo = p.assegnati;
  if (primo < 2) {
    lettore.fallisci("profile point " + std::to_string(primo) + " outside the line profile");
  }
  const std::int64_t ultimo_voluto = std::min(fino_a, guardia);
  const std::int64_t ultimo = std::min(ultimo_voluto, std::int64_t{p.punti} - 1);
  const std::int64_t m = std::max(primo, ultimo + 1);  // the point after the last one traced
  if (m > primo) p.tratti.push_back(TrattoLinea{static_cast<std::int32_t>(m - 1), curva, k});
  p.assegnati = static_cast<std::int32_t>(m);
  if (m <= ultimo_voluto) {
    lettore.fallisci("profile point " + std::to_string(m) + " outside the line profile");
  }
  return !(m > primo && m > guardia);
}

// The line starts at the origin heading along +y, one metre a step.
void inizia_profilo(LettoreCampi& lettore, TracciatoLinea& p) {
  if (p.punti < 2) lettore.fallisci("no line profile to trace");
  p.tratti.clear();
  p.assegnati = 2;
}

// Curvature per metre by the first of the digits 1 .. 6 the field holds,
// negative (towards -x) when it holds an "s"; none without a digit.
std::optional<double> curvatura(const std::string& campo) {
  static constexpr std::pair<char, double> kClassi[] = {
      {'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003}};
  for (const auto& [cifra, k] : kClassi) {
    if (campo.find(cifra) == std::string::npos) continue;
    return contiene_senza_caso(campo, "s") ? -k : k;
  }
  return std::nullopt;
}

// Traces straight up to metre `inizio`, then the curve up to `inizio + lunghezza`;
// false once the trace passes the last metre curves may reach.
bool traccia_curva(LettoreCampi& lettore, TracciatoLinea& p, std::int64_t inizio,
                   std::int64_t lunghezza, double k) {
  return traccia(lettore, p, inizio, kUltimoMetroCurve, false, 0.0) &&
         traccia(lettore, p, inizio + lunghezza, kUltimoMetroCurve, true, k);
}

EsitoRecord leggi_curva(LettoreCampi& lettore, TabelleScenario& tab, const std::string& campo) {
  const std::int32_t inizio = lettore.leggi_intero();
  const std::int32_t lunghezza = lettore.leggi_intero();
  const std::optional<double> k = curvatura(campo);
  if (!k || !traccia_curva(lettore, tab.profilo, inizio, lunghezza, *k)) {
    tab.codice_errore = CodiceErrore::curva_sconosciuta;
    return EsitoRecord::errore;
  }
  return EsitoRecord::avanti;
}

// Stores the gradient in force at the cursor's cell and moves on; a gradient
// whose stored value (g + 100) does not fit 0 .. 255 is a run-time failure.
void scrivi_pendenza(LettoreCampi& lettore, TabelleScenario& tab, StatoLinea& stato) {
  const std::int64_t valore = std::int64_t{stato.pendenza_precedente} + 100;
  if (valore < 0 || valore > 255) {
    lettore.fallisci("gradient " + std::to_string(stato.pendenza_precedente) +
                     " outside -100 .. 155");
  }
  cella_in(tab, stato.cursore_pendenza).pendenza = static_cast<std::uint8_t>(valore);
  ++stato.cursore_pendenza;
}

// A new gradient from `p`: the one in force fills the cells up to p / 50
// (at least one cell once p / 50 is above 0).
EsitoRecord leggi_pendenza(LettoreCampi& lettore, TabelleScenario& tab, StatoLinea& stato) {
  const std::int32_t posizione = lettore.leggi_intero();
  const std::int32_t pendenza = lettore.leggi_intero();
  if (fuori_percorso(tab, posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  const std::int64_t fino_a = cella_di_posizione(posizione, 0);
  if (fino_a > 0) {
    do {
      scrivi_pendenza(lettore, tab, stato);
    } while (stato.cursore_pendenza < fino_a);
  }
  stato.pendenza_precedente = pendenza;
  return EsitoRecord::avanti;
}

EsitoRecord leggi_montagna(LettoreCampi& lettore, TabelleScenario& tab) {
  const std::int32_t inizio = lettore.leggi_intero();
  const std::int32_t fine = lettore.leggi_intero();
  const std::int32_t tipo = lettore.leggi_intero();
  if (fuori_percorso(tab, inizio, kMargineFine)) return EsitoRecord::fuori_percorso;
  memo_montagna(tab, inizio, fine, tipo);
  return EsitoRecord::avanti;
}

EsitoRecord leggi_indicatore(LettoreCampi& lettore, TabelleScenario& tab) {
  IndicatoreVelocita b;
  for (std::int32_t* valore : {&b.posizione, &b.vas, &b.vbs, &b.vcs, &b.strisces, &b.vad,
                               &b.vbd, &b.vcd, &b.strisced}) {
    *valore = lettore.leggi_intero();
  }
  if (fuori_percorso(tab, b.posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  memo_indicatori_v_max(tab, b);
  if (tab.codice_errore != CodiceErrore::nessuno) {
    tab.posizione_errore = b.posizione;
    return EsitoRecord::errore;
  }
  return EsitoRecord::avanti;
}

// A sign on the cell after its position, its text in the next sign record
// down. Error 6 when the cell is taken; no record left is a run-time failure.
EsitoRecord leggi_cartello(LettoreCampi& lettore, TabelleScenario& tab, StatoLinea& stato,
                           std::string& campo) {
  const std::int32_t posizione = lettore.leggi_intero();
  if (fuori_percorso(tab, posizione, kMargineFine)) return EsitoRecord::fuori_percorso;
  campo = leggi_nome(lettore);
  Cella& cella = cella_in(tab, cella_di_posizione(posizione, 1));
  if (!cella_libera(cella)) {
    tab.codice_errore = CodiceErrore::cartello_su_cella_occupata;
    tab.posizione_errore = posizione;
    return EsitoRecord::errore;
  }
  if (stato.indice_cartelli < 0) lettore.fallisci("no record left for the sign's text");
  cella.tipo = kCellaCartello;
  cella.valore1 = static_cast<std::int16_t>(stato.indice_cartelli);
  tab.record[static_cast<std::size_t>(stato.indice_cartelli)].nome = campo;
  --stato.indice_cartelli;
  return EsitoRecord::avanti;
}

// Every test of the later sections that the field passes, in order.
EsitoRecord leggi_voce_linea(LettoreCampi& lettore, TabelleScenario& tab, StatoLinea& stato,
                             std::string& campo) {
  EsitoRecord esito = EsitoRecord::avanti;
  if (contiene_senza_caso(campo, "pendenza")) {
    esito = leggi_pendenza(lettore, tab, stato);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "curva") && tab.flag_profilo != 0) {
    esito = leggi_curva(lettore, tab, campo);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "montagna")) {
    esito = leggi_montagna(lettore, tab);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "indicatori_v")) {
    esito = leggi_indicatore(lettore, tab);
    if (esito != EsitoRecord::avanti) return esito;
  }
  if (contiene_senza_caso(campo, "cartello") && contiene_senza_caso(campo, "indicat")) {
    esito = leggi_cartello(lettore, tab, stato, campo);
  }
  return esito;
}

// The end of the line file: the last gradient holds up to cell count - 3, the
// profile runs straight on to extended length - 2.
void completa_linea(LettoreCampi& lettore, TabelleScenario& tab, StatoLinea& stato) {
  do {
    scrivi_pendenza(lettore, tab, stato);
  } while (stato.cursore_pendenza < tab.numero_celle - 2);
  if (tab.flag_profilo == 0) return;
  traccia(lettore, tab.profilo, std::int64_t{tab.lunghezza_estesa} - 2,
          std::numeric_limits<std::int64_t>::max(), false, 0.0);
}

}  // namespace

bool fuori_percorso(TabelleScenario& tab, std::int32_t posizione, std::int32_t margine) {
  const double celle_necessarie = (static_cast<double>(posizione) + margine) / 50.0;
  if (static_cast<double>(tab.numero_celle) >= celle_necessarie) return false;
  tab.codice_errore = CodiceErrore::oltre_fine_percorso;
  tab.posizione_errore = posizione;
  return true;
}

std::int64_t cella_di_posizione(std::int32_t posizione, int scostamento) {
  return static_cast<std::int64_t>(
      arrotonda_pari(static_cast<double>(posizione) / 50.0 + scostamento));
}

std::string leggi_nome(LettoreCampi& lettore) {
  std::string campo = lettore.leggi_campo();
  if (campo.size() > kLunghezzaMassimaNome) {
    lettore.fallisci("a name of " + std::to_string(campo.size()) +
                     " bytes does not fit its 16-bit length");
  }
  return campo;
}

bool prossimo_campo_chiave(LettoreCampi& lettore, std::string& campo) {
  if (lettore.fine()) return false;
  campo = lettore.leggi_campo();
  if (lettore.fine()) return false;
  for (int i = 0; i < 2 && contiene(campo, "-"); ++i) {
    campo = lettore.leggi_campo();
    if (lettore.fine()) return false;
  }
  return true;
}

EsitoLinea leggi_descrizione_linea(LettoreCampi& lettore, TabelleScenario& tab) {
  if (!trova_generale(lettore, tab)) return {};
  if (!leggi_generale(lettore, tab)) return {};

  progressive_ordina(tab);
  tab.numero_montagne = 0;
  StatoLinea stato;
  if (tab.flag_profilo != 0) inizia_profilo(lettore, tab.profilo);

  std::string campo;
  while (prossimo_campo_chiave(lettore, campo)) {
    const EsitoRecord esito = leggi_voce_linea(lettore, tab, stato, campo);
    if (esito == EsitoRecord::errore) return {};
    if (esito == EsitoRecord::fuori_percorso) break;
  }
  completa_linea(lettore, tab, stato);
  return {true, stato.indice_cartelli};
}

}  // namespace gs

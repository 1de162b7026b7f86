#include "base/codici_errore.h"

#include <algorithm>
#include <array>

namespace gs {
namespace {

using C = CodiceErrore;

constexpr std::array<VoceErrore, 28> kVoci{{
    {C::linea_troppo_lunga, "line-too-long", false, "line length above 1000000 m",
     "\"lunghezza percorso, 1200000\"",
     "Split the route: a scenario covers at most 1,000,000 m."},
    {C::progressiva_non_multipla, "progressive-not-multiple-of-50", false,
     "a kilometric progressive's first or second value is not a multiple of 50",
     "\"progressiva chilometrica uno, 5025, 0, 0\"",
     "Round the first two values of the progressive to a multiple of 50."},
    {C::inizio_ripetizione_non_multiplo, "repetition-start-not-multiple-of-50", false,
     "signal repetition start is not a multiple of 50",
     "\"ripetizione segnali 4 codici, 4660, 79150\"",
     "Round the start to a multiple of 50."},
    {C::fine_ripetizione_non_multipla, "repetition-end-not-multiple-of-50", false,
     "signal repetition end is not a multiple of 50",
     "\"ripetizione segnali 4 codici, 4650, 79160\"",
     "Round the end to a multiple of 50."},
    {C::ripetizione_sconosciuta, "repetition-kind-unknown", false,
     "signal repetition keyword holds neither 4 nor 9",
     "\"ripetizione segnali codici, 4650, 79150\"",
     "Name the code system in the keyword: \"4 codici\" or \"9 codici\"."},
    {C::cartello_su_cella_occupata, "sign-cell-taken", true, "sign cell not free",
     "\"cartello indicatore, 800, (Km. 0.8)\" where a speed board stands",
     "Move the sign at least 50 m away from the board, signal or other sign there."},
    {C::abbattimento_su_cella_occupata, "abbattimento-cell-taken", true,
     "abbattimento cell not free",
     "\"abbattimento, 1000, 180\" on a signal's cell",
     "Move the marker to a free 50 m cell."},
    {C::stazione_non_multipla, "station-not-multiple-of-50", true,
     "station position is not a multiple of 50",
     "\"stazione, 125, 2, ...\"",
     "Round the station position to a multiple of 50."},
    {C::marciapiede_non_multiplo, "platform-not-multiple-of-100", true,
     "platform length is not a multiple of 100",
     "\"stazione, 2750, 2, 450, ...\"",
     "Round the platform length to a multiple of 100."},
    {C::troppe_stazioni, "too-many-stations", false,
     "too many stations for the records left by the sign texts",
     "79 stations, or stations and signs together above 78",
     "Drop stations or signs: together they share 78 records."},
    {C::nessuna_cella_abbattimento_segnale, "no-cell-for-signal-marker", true,
     "no cell for an abbattimento marker before a signal near a slowdown warning board",
     "a signal right before a slowdown warning board with no free cell before it",
     "Move the signal or the slowdown so that the cell before the signal is free."},
    {C::nessuna_cella_abbattimento_avvicinamento, "no-cell-for-approach-marker", true,
     "no free cell for an approach abbattimento marker before a slowdown",
     "a slowdown whose approach cells are all taken",
     "Move the slowdown, or the features just before its warning board."},
    {C::nessuna_cella_abbattimento_rallentamento, "no-cell-for-slowdown-marker", true,
     "no free cell for an abbattimento marker along or after a slowdown",
     "a slowdown along which no cell is free for a repeat marker",
     "Shorten the slowdown or move the features along it."},
    {C::oltre_fine_percorso, "beyond-end-of-track", true,
     "position too close to the end of the track",
     "\"segnale, 99999, ...\" on a route of 82000 m",
     "Keep every position within the route (the track runs 7000 m past its end); check for a digit too many."},
    {C::segnale_su_cella_occupata, "signal-cell-taken", true, "signal cell not free",
     "two \"segnale\" entries at the same 50 m",
     "Move one of the two features: each 50 m cell holds one."},
    {C::avviso_rallentamento_su_cella_occupata, "slowdown-warning-cell-taken", true,
     "slowdown warning board cell not free",
     "a slowdown whose warning board, 1200 m before it, falls on a signal",
     "Move the slowdown or the feature 1200 m before it."},
    {C::inizio_rallentamento_su_cella_occupata, "slowdown-start-cell-taken", true,
     "slowdown start cell not free",
     "\"rallentamento, 5000, ...\" where a signal stands at 5000 m",
     "Move the slowdown start to a free cell."},
    {C::fine_rallentamento_su_cella_occupata, "slowdown-end-cell-taken", true,
     "slowdown end cell not free",
     "a slowdown ending on a signal's cell",
     "Change the slowdown length so that it ends on a free cell."},
    {C::avvicinamento_rallentamento_su_cella_occupata, "slowdown-approach-cell-taken", true,
     "slowdown approach cell not free",
     "a slowdown with f_ta set whose four approach cells are not free",
     "Move the slowdown, or clear the cells before its warning board."},
    {C::indicatore_su_cella_occupata, "speed-board-cell-taken", true,
     "speed indicator board cell not free",
     "\"indicatori_vmax, 800, ...\" where a sign stands",
     "Move the board to a free 50 m cell."},
    {C::stazioni_troppo_vicine, "stations-too-close", true, "stations closer than 350 m",
     "two stations out of order, or stop zones less than 350 m apart",
     "Put the stations in order of position and keep 350 m between stop zones."},
    {C::fermata_nei_primi_100_m, "stop-in-first-100-m", false,
     "station stopping point within the first 100 m",
     "a first station whose stop zone ends within 100 m of the origin",
     "Move the station or lengthen its platform."},
    {C::errore_esecuzione, "run-time-failure", false,
     "run-time failure while reading the description files",
     "\"lunghezza percorso, dieci\"",
     "See the reason given: usually a value that is not a whole number, or out of its range."},
    {C::descrizione_linea_mancante, "line-file-missing", false, "line description file missing",
     "no CODE_linea.txt beside the train file",
     "Write the line description file (scenario_tool init gives a starting point)."},
    {C::generale_mancante, "general-section-missing", false,
     "line description file ends before [generale]",
     "a line description file without \"[generale]\"",
     "Add the \"[generale]\" line before the general entries."},
    {C::curva_sconosciuta, "curve-kind-unknown", false,
     "curve keyword without a digit 1 to 6, or line profile longer than 1000000 m",
     "\"curvas, 700, 100\"",
     "Name the curve class with a digit 1 to 6 (\"curvas3\"), and end every curve before 1,000,000 m."},
    {C::timbro_gia_presente, "stamp-field-taken", false,
     "compilation stamp field already set after reading",
     "a feature the reader or the walk put on cell 1",
     "Keep features off the first 100 m of the line."},
    {C::codice_gara_gia_presente, "race-code-field-taken", false,
     "race code field already set after reading",
     "a feature that fills the second value of cell 1",
     "Keep features off the first 100 m of the line."},
}};

constexpr bool in_ordine() {
  for (std::size_t i = 1; i < kVoci.size(); ++i) {
    if (numero(kVoci[i - 1].codice) >= numero(kVoci[i].codice)) return false;
  }
  return true;
}
static_assert(in_ordine(), "the table is kept in increasing order of code");

}  // namespace

std::span<const VoceErrore> voci_errore() { return kVoci; }

const VoceErrore* voce_errore(std::string_view sigla) {
  const auto trovata = std::find_if(kVoci.begin(), kVoci.end(),
                                    [sigla](const VoceErrore& v) { return v.sigla == sigla; });
  return trovata == kVoci.end() ? nullptr : &*trovata;
}

const VoceErrore* voce_errore(CodiceErrore codice) {
  const auto trovata = std::lower_bound(
      kVoci.begin(), kVoci.end(), numero(codice),
      [](const VoceErrore& v, std::int32_t n) { return numero(v.codice) < n; });
  return trovata != kVoci.end() && trovata->codice == codice ? &*trovata : nullptr;
}

}  // namespace gs

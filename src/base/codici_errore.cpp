#include "base/codici_errore.h"

#include <algorithm>
#include <array>

namespace gs {
namespace {

using C = CodiceErrore;

constexpr std::array<VoceErrore, 28> kVoci{{
    {C::linea_troppo_lunga, "line-too-long", false, "line length above 1000000 m"},
    {C::progressiva_non_multipla, "progressive-not-multiple-of-50", false,
     "a kilometric progressive's first or second value is not a multiple of 50"},
    {C::inizio_ripetizione_non_multiplo, "repetition-start-not-multiple-of-50", false,
     "signal repetition start is not a multiple of 50"},
    {C::fine_ripetizione_non_multipla, "repetition-end-not-multiple-of-50", false,
     "signal repetition end is not a multiple of 50"},
    {C::ripetizione_sconosciuta, "repetition-kind-unknown", false,
     "signal repetition keyword holds neither 4 nor 9"},
    {C::cartello_su_cella_occupata, "sign-cell-taken", true, "sign cell not free"},
    {C::abbattimento_su_cella_occupata, "abbattimento-cell-taken", true,
     "abbattimento cell not free"},
    {C::stazione_non_multipla, "station-not-multiple-of-50", true,
     "station position is not a multiple of 50"},
    {C::marciapiede_non_multiplo, "platform-not-multiple-of-100", true,
     "platform length is not a multiple of 100"},
    {C::troppe_stazioni, "too-many-stations", false,
     "too many stations for the records left by the sign texts"},
    {C::nessuna_cella_abbattimento_segnale, "no-cell-for-signal-marker", true,
     "no cell for an abbattimento marker before a signal near a slowdown warning board"},
    {C::nessuna_cella_abbattimento_avvicinamento, "no-cell-for-approach-marker", true,
     "no free cell for an approach abbattimento marker before a slowdown"},
    {C::nessuna_cella_abbattimento_rallentamento, "no-cell-for-slowdown-marker", true,
     "no free cell for an abbattimento marker along or after a slowdown"},
    {C::oltre_fine_percorso, "beyond-end-of-track", true,
     "position too close to the end of the track"},
    {C::segnale_su_cella_occupata, "signal-cell-taken", true, "signal cell not free"},
    {C::avviso_rallentamento_su_cella_occupata, "slowdown-warning-cell-taken", true,
     "slowdown warning board cell not free"},
    {C::inizio_rallentamento_su_cella_occupata, "slowdown-start-cell-taken", true,
     "slowdown start cell not free"},
    {C::fine_rallentamento_su_cella_occupata, "slowdown-end-cell-taken", true,
     "slowdown end cell not free"},
    {C::avvicinamento_rallentamento_su_cella_occupata, "slowdown-approach-cell-taken", true,
     "slowdown approach cell not free"},
    {C::indicatore_su_cella_occupata, "speed-board-cell-taken", true,
     "speed indicator board cell not free"},
    {C::stazioni_troppo_vicine, "stations-too-close", true, "stations closer than 350 m"},
    {C::fermata_nei_primi_100_m, "stop-in-first-100-m", false,
     "station stopping point within the first 100 m"},
    {C::errore_esecuzione, "run-time-failure", false,
     "run-time failure while reading the description files"},
    {C::descrizione_linea_mancante, "line-file-missing", false, "line description file missing"},
    {C::generale_mancante, "general-section-missing", false,
     "line description file ends before [generale]"},
    {C::curva_sconosciuta, "curve-kind-unknown", false,
     "curve keyword without a digit 1 to 6, or line profile longer than 1000000 m"},
    {C::timbro_gia_presente, "stamp-field-taken", false,
     "compilation stamp field already set after reading"},
    {C::codice_gara_gia_presente, "race-code-field-taken", false,
     "race code field already set after reading"},
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

const VoceErrore* voce_errore(CodiceErrore codice) {
  const auto trovata = std::lower_bound(
      kVoci.begin(), kVoci.end(), numero(codice),
      [](const VoceErrore& v, std::int32_t n) { return numero(v.codice) < n; });
  return trovata != kVoci.end() && trovata->codice == codice ? &*trovata : nullptr;
}

}  // namespace gs

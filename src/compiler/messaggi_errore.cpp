#include "compiler/messaggi_errore.h"

#include <algorithm>
#include <array>

namespace gs {
namespace {

struct VoceErrore {
  std::int32_t codice;
  bool con_posizione;
  const char* significato;
};

constexpr std::array<VoceErrore, 28> kVociErrore{{
    {1, false, "line length above 1000000 m"},
    {2, false, "a kilometric progressive's first or second value is not a multiple of 50"},
    {3, false, "signal repetition start is not a multiple of 50"},
    {4, false, "signal repetition end is not a multiple of 50"},
    {5, false, "signal repetition keyword holds neither 4 nor 9"},
    {6, true, "sign cell not free"},
    {7, true, "abbattimento cell not free"},
    {8, true, "station position is not a multiple of 50"},
    {9, true, "platform length is not a multiple of 100"},
    {10, false, "too many stations for the records left by the sign texts"},
    {11, true, "no cell for an abbattimento marker before a signal near a slowdown warning board"},
    {12, true, "no free cell for an approach abbattimento marker before a slowdown"},
    {13, true, "no free cell for an abbattimento marker along or after a slowdown"},
    {15, true, "position too close to the end of the track"},
    {16, true, "signal cell not free"},
    {17, true, "slowdown warning board cell not free"},
    {18, true, "slowdown start cell not free"},
    {19, true, "slowdown end cell not free"},
    {20, true, "slowdown approach cell not free"},
    {21, true, "speed indicator board cell not free"},
    {22, true, "stations closer than 350 m"},
    {24, false, "station stopping point within the first 100 m"},
    {25, false, "run-time failure while reading the description files"},
    {101, false, "line description file missing"},
    {102, false, "line description file ends before [generale]"},
    {103, false, "curve keyword without a digit 1 to 6, or line profile longer than 1000000 m"},
    {1250, false, "compilation stamp field already set after reading"},
    {1251, false, "race code field already set after reading"},
}};

const VoceErrore* voce(std::int32_t codice) {
  const auto trovata = std::find_if(kVociErrore.begin(), kVociErrore.end(),
                                    [codice](const VoceErrore& v) { return v.codice == codice; });
  return trovata == kVociErrore.end() ? nullptr : &*trovata;
}

}  // namespace

std::string significato_errore(std::int32_t codice) {
  const VoceErrore* trovata = voce(codice);
  return trovata == nullptr ? "unknown scenario error" : trovata->significato;
}

bool errore_conosciuto(std::int32_t codice) { return voce(codice) != nullptr; }

bool errore_con_posizione(std::int32_t codice) {
  const VoceErrore* trovata = voce(codice);
  return trovata != nullptr && trovata->con_posizione;
}

std::string testo_errore_scenario(std::int32_t codice, std::int32_t posizione) {
  std::string testo =
      "scenario error " + std::to_string(codice) + ": " + significato_errore(codice);
  if (errore_con_posizione(codice)) testo += ", at " + std::to_string(posizione) + " m";
  return testo;
}

std::string testo_percorso_mancante() {
  return "scenario error: no track to compile (the line description file gave no usable line "
         "length)";
}

}  // namespace gs

#include "reader/memo.h"

#include <cstdint>
#include <limits>
#include <string>

#include "reader/errore_esecuzione.h"
#include "base/arrotondamento.h"

namespace gs {
namespace {

// The index of the cell at metres / 50 + offset: a real quotient, rounded half
// to even once the offset is added. Whether the cell exists is cella_in's job.
std::int64_t indice_cella(std::int64_t metri, int scostamento) {
  return static_cast<std::int64_t>(
      arrotonda_pari(static_cast<double>(metri) / 50.0 + scostamento));
}

// What a signed 16-bit field keeps of a whole number: its low 16 bits.
std::int16_t basso16(std::int64_t n) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(n));
}

// What an unsigned 8-bit field keeps of a whole number: its low 8 bits.
std::uint8_t basso8(std::int64_t n) { return static_cast<std::uint8_t>(n); }

// A board speed code: vd / 5 + vs * 20 as a real number, rounded half to even;
// a code that does not fit its signed 16-bit field is a run-time failure.
std::int16_t codice_velocita(std::int32_t vs, std::int32_t vd) {
  const double codice =
      arrotonda_pari(static_cast<double>(vd) / 5.0 + static_cast<double>(vs) * 20.0);
  if (codice < std::numeric_limits<std::int16_t>::min() ||
      codice > std::numeric_limits<std::int16_t>::max()) {
    throw ErroreEsecuzione("speed code " + std::to_string(codice) + " does not fit 16 bits");
  }
  return static_cast<std::int16_t>(codice);
}

// The slowdown's approach cells: the four cells just before the warning board.
constexpr int kCelleAvvicinamento = 4;

// Writes the approach cells in front of the warning board on cell `avviso`,
// or sets error 20 and writes nothing when one of them is taken.
void memo_avvicinamento(TabelleScenario& tab, std::int64_t avviso, std::int32_t d_v) {
  const std::int64_t prima = avviso - 1;
  for (int i = 0; i < kCelleAvvicinamento; ++i) {
    if (!cella_libera(cella_in(tab, prima - i))) {
      tab.codice_errore = CodiceErrore::avvicinamento_rallentamento_su_cella_occupata;
      return;
    }
  }
  for (int i = 0; i < kCelleAvvicinamento; ++i) {
    Cella& cella = cella_in(tab, prima - i);
    cella.tipo = kCellaAvvicinamentoRallentamento;
    cella.valore1 = basso16(i + 1);
    if (d_v != 0) cella.valore2 = basso16(i + 1);
  }
}

}  // namespace

void memo_montagna(TabelleScenario& tab, std::int32_t inizio, std::int32_t fine,
                   std::int32_t tipo) {
  const bool segna = tipo > 10;
  if (segna) tipo -= 10;
  if (tab.numero_montagne < 0 || tab.numero_montagne >= kNumeroMontagne) {
    throw ErroreEsecuzione("mountain stretch " + std::to_string(tab.numero_montagne + 1) +
                           " beyond the mountain tables");
  }
  const std::int64_t prima = indice_cella(inizio, 0);
  const std::int64_t ultima = indice_cella(fine, -1);
  if (prima <= ultima) {  // a stretch off the track fails before anything is written
    cella_in(tab, prima);
    cella_in(tab, ultima);
  }

  const std::int32_t n = ++tab.numero_montagne;
  tab.montagna_inizio[static_cast<std::size_t>(n)] = inizio;
  tab.montagna_fine[static_cast<std::size_t>(n)] = fine;
  if (n > 1 && static_cast<std::int64_t>(inizio) -
                       tab.montagna_fine[static_cast<std::size_t>(n - 1)] <=
                   150) {
    tipo = 3;  // begins at most 150 m after the previous stretch ends
  }

  std::int64_t conta = 0;
  for (std::int64_t indice = prima; indice <= ultima; ++indice) {
    Cella& cella = cella_in(tab, indice);
    ++conta;
    cella.montagna = basso8(tipo);
    if (segna && conta % 4 == 0 && cella.tipo == kCellaLibera) cella.tipo = kCellaMontagna;
  }
}

void memo_rallentamento(TabelleScenario& tab, const Rallentamento& r) {
  const bool con_avviso = r.x > 1500;
  const std::int64_t indice_avviso = indice_cella(static_cast<std::int64_t>(r.x) - 1200, 1);
  Cella* avviso = nullptr;
  if (con_avviso) {
    avviso = &cella_in(tab, indice_avviso);
    if (!cella_libera(*avviso)) {
      tab.codice_errore = CodiceErrore::avviso_rallentamento_su_cella_occupata;
      return;
    }
  }
  Cella& inizio = cella_in(tab, indice_cella(r.x, 1));
  if (!cella_libera(inizio)) {
    tab.codice_errore = CodiceErrore::inizio_rallentamento_su_cella_occupata;
    return;
  }
  Cella& fine = cella_in(tab, indice_cella(static_cast<std::int64_t>(r.x) + r.l, 1));
  if (!cella_libera(fine)) {
    tab.codice_errore = CodiceErrore::fine_rallentamento_su_cella_occupata;
    return;
  }

  fine.tipo = kCellaFineRallentamento;
  inizio.tipo = kCellaInizioRallentamento;
  if (avviso != nullptr) avviso->tipo = kCellaAvvisoRallentamento;
  if (r.d_v != 0) {
    if (avviso != nullptr) avviso->valore2 = basso16(r.d_v);
    inizio.valore2 = basso16(r.d_v);
    fine.valore2 = basso16(r.d_v);
  }
  if (avviso != nullptr) avviso->valore1 = basso16(r.v);
  inizio.valore1 = basso16(r.v);
  fine.valore1 = basso16(r.v);
  inizio.valore3 = basso16(r.f_tt);
  fine.valore3 = basso16(r.f_tt);

  if (con_avviso && r.f_ta != 0) memo_avvicinamento(tab, indice_avviso, r.d_v);
}

void memo_segnale(TabelleScenario& tab, const Segnale& s) {
  const std::int64_t indice = indice_cella(s.posizione, 1);
  Cella& cella = cella_in(tab, indice);
  if (!cella_libera(cella)) {
    tab.codice_errore = CodiceErrore::segnale_su_cella_occupata;
    return;
  }
  const std::int64_t aspetto = static_cast<std::int64_t>(s.sx) * 3 + s.dx;
  cella.tipo = kCellaSegnale;
  cella.valore4 = basso16(static_cast<std::int64_t>(s.rapp) * 10 + aspetto);
  cella.valore1 = basso16(static_cast<std::int64_t>(s.s1) * 10 + s.d1);
  cella.valore2 = basso16(static_cast<std::int64_t>(s.s2) * 10 + s.d2);
  cella.valore3 = basso16(static_cast<std::int64_t>(s.s3) * 10 + s.d3);

  const std::int32_t tempo = (s.tempo >= 1 && s.tempo <= 100) ? 101 : s.tempo;
  cella.tempo_segnale = s.sx == 2 ? basso8(tempo) : 0;

  // Marks 100 .. 400 m before the signal; those that would fall before the
  // first cell (a signal near the origin) are left out.
  for (int b = 1; b <= 4; ++b) {
    const std::int64_t marcata = indice - 2 * b;
    if (marcata < 0) break;
    cella_in(tab, marcata).avvicinamento = basso8(aspetto * 10 + b);
  }
}

void memo_indicatori_v_max(TabelleScenario& tab, const IndicatoreVelocita& b) {
  Cella& cella = cella_in(tab, indice_cella(b.posizione, 1));
  if (!cella_libera(cella)) {
    tab.codice_errore = CodiceErrore::indicatore_su_cella_occupata;
    return;
  }
  const std::int16_t codice_a = codice_velocita(b.vas, b.vad);
  const std::int16_t codice_b = codice_velocita(b.vbs, b.vbd);
  const std::int16_t codice_c = codice_velocita(b.vcs, b.vcd);
  cella.tipo = kCellaIndicatoreVelocita;
  cella.valore1 = codice_a;
  cella.valore2 = codice_b;
  cella.valore3 = codice_c;
  cella.valore4 = basso16(static_cast<std::int64_t>(b.strisces) * 10 + b.strisced);
}

}  // namespace gs

#include <array>
#include <cstdint>
#include <limits>

#include "reader/errore_esecuzione.h"
#include "reader/memo.h"

namespace gs {
namespace {

// One kilometric progressive: the three values of records 81 .. 83.
struct Progressiva {
  std::int32_t a = 0;  // record field 2
  std::int32_t b = 0;  // record field 3
  std::int32_t c = 0;  // record field 4, the flag
};
using Terna = std::array<Progressiva, 3>;  // the new content of records 81, 82, 83

Progressiva leggi(const Record& r) { return {r.inizio_fermata, r.fine_fermata, r.posizione}; }

void scrivi(Record& r, const Progressiva& p) {
  r.inizio_fermata = p.a;
  r.fine_fermata = p.b;
  r.posizione = p.c;
}

// Highest a first; between the other two the greater a, the later record on a
// tie. A tie for the highest a clears all three.
Terna per_valore_a(const Progressiva& t, const Progressiva& d, const Progressiva& u) {
  if (t.a > d.a && t.a > u.a) return d.a > u.a ? Terna{t, d, u} : Terna{t, u, d};
  if (d.a > t.a && d.a > u.a) return t.a > u.a ? Terna{d, t, u} : Terna{d, u, t};
  if (u.a > t.a && u.a > d.a) return t.a > d.a ? Terna{u, t, d} : Terna{u, d, t};
  return Terna{};
}

// With no a to sort by: the last record whose b is positive decides the order;
// none positive clears all three.
Terna per_valore_b(const Progressiva& t, const Progressiva& d, const Progressiva& u) {
  Terna nuova{};
  if (t.b > 0) nuova = {t, d, u};
  if (d.b > 0) nuova = {d, t, u};
  if (u.b > 0) nuova = {u, d, t};
  return nuova;
}

// A progressive flagged 1 has its b moved 100 m on; a b that would leave the
// 32-bit field is a run-time failure.
void sposta_se_segnata(Progressiva& p) {
  if (p.c != 1) return;
  if (p.b > std::numeric_limits<std::int32_t>::max() - 100) {
    throw ErroreEsecuzione("progressive value does not fit 32 bits");
  }
  p.b += 100;
}

}  // namespace

void progressive_ordina(TabelleScenario& tab) {
  const Progressiva t = leggi(tab.record[kRecordProgressivaTre]);
  const Progressiva d = leggi(tab.record[kRecordProgressivaDue]);
  const Progressiva u = leggi(tab.record[kRecordProgressivaUno]);
  const std::int64_t somma_a = static_cast<std::int64_t>(t.a) + d.a + u.a;
  Terna nuova = somma_a != 0 ? per_valore_a(t, d, u) : per_valore_b(t, d, u);
  for (Progressiva& p : nuova) sposta_se_segnata(p);
  scrivi(tab.record[kRecordProgressivaTre], nuova[0]);
  scrivi(tab.record[kRecordProgressivaDue], nuova[1]);
  scrivi(tab.record[kRecordProgressivaUno], nuova[2]);
}

}  // namespace gs

// The scenario tables: everything one compiled scenario holds during a run.
// The reader and the recorders fill them, the back end stamps and writes them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/codici_errore.h"
#include "reader/tracciato_linea.h"

namespace gs {

// One of the 87 records: a station (records 1 .. n), a sign text (80 down),
// the progressives (81 .. 83) or a header (84 .. 86). Fields in file order;
// the comments give each field's number and its station meaning.
struct Record {
  std::uint8_t tipo = 0;           //  1 station kind code
  std::int32_t inizio_fermata = 0; //  2 stop zone start (m)
  std::int32_t fine_fermata = 0;   //  3 stop zone end, the stopping point (m)
  std::int32_t posizione = 0;      //  4 position (m)
  std::uint8_t tps = 0;            //  5
  std::string nome;                //  6 station name, sign text, code or number
  std::int16_t rd2 = 0;            //  7
  std::int16_t rd3 = 0;            //  8
  std::int16_t d1 = 0;             //  9
  std::int16_t d2 = 0;             // 10
  std::int16_t d3 = 0;             // 11
  std::uint8_t rap = 0;            // 12
  std::uint8_t ac = 0;             // 13
  std::uint8_t mar = 0;            // 14
  std::uint8_t tab = 0;            // 15
  std::int32_t orario = 0;         // 16 scheduled time, seconds after midnight

  friend bool operator==(const Record&, const Record&) = default;
};

// The scenario file stores field 6 after its 16-bit length.
inline constexpr std::size_t kLunghezzaMassimaNome = 65535;

inline constexpr int kNumeroRecord = 87;
inline constexpr int kRecordPrimoCartello = 80;  // sign texts fill records downwards from here
inline constexpr int kRecordProgressivaTre = 81;
inline constexpr int kRecordProgressivaDue = 82;
inline constexpr int kRecordProgressivaUno = 83;
inline constexpr int kRecordTestataTreno = 84;     // braked mass, line length, coaches
inline constexpr int kRecordTestataScenario = 85;  // backgrounds, scenario code, stamps
inline constexpr int kRecordTestataRipetizione = 86;  // signal repetition, train number, sand, clock

// Cell type codes.
enum TipoCella : std::uint8_t {
  kCellaLibera = 0,
  kCellaSegnale = 1,
  kCellaFineRallentamento = 2,
  kCellaInizioRallentamento = 3,
  kCellaAvvisoRallentamento = 4,
  kCellaAvvicinamentoRallentamento = 5,
  kCellaIndicatoreVelocita = 6,
  kCellaFermata = 10,
  kCellaMontagna = 11,
  kCellaAbbattimento = 12,
  kCellaAbbattimentoSenzaValore = 13,
  kCellaCartello = 14,
};

// One 50-metre cell: cell k covers metres 50k .. 50k + 49.
struct Cella {
  std::uint8_t tipo = kCellaLibera;
  std::int16_t valore1 = 0;
  std::int16_t valore2 = 0;
  std::int16_t valore3 = 0;
  std::int16_t valore4 = 0;
  std::uint8_t tempo_segnale = 0;  // a signal's `tempo` when its `sx` is 2
  std::uint8_t avvicinamento = 0;  // approach mark before a signal or a stop
  std::uint8_t montagna = 0;       // mountain kind, 0 outside mountain stretches
  std::uint8_t velocita = 0;       // speed limit in steps of 5 km/h
  std::uint8_t pendenza = 0;       // gradient in per mille plus 100
  std::uint8_t aderenza = 0;

  friend bool operator==(const Cella&, const Cella&) = default;
};

// Types 0 and 11 are free: a typed feature may be placed there.
inline bool cella_libera(const Cella& cella) {
  return cella.tipo == kCellaLibera || cella.tipo == kCellaMontagna;
}

// The plan of the line, one point a metre (x, y in metres). Points are
// assigned as a prefix: points 0 and 1 hold whole numbers, the later assigned
// ones reals, the rest nothing. The compiled file tags each element so.
struct ProfiloLinea {
  std::vector<double> x;  // points 0 .. extended length, once allocated
  std::vector<double> y;
  std::int32_t assegnati = 0;  // points 0 .. assegnati - 1 hold a value

  enum Etichetta : std::uint16_t { kVuoto = 0, kIntero = 2, kReale = 5 };
  Etichetta etichetta(std::int32_t punto) const {
    if (punto >= assegnati) return kVuoto;
    return punto < 2 ? kIntero : kReale;
  }
};

// Every point of a traced profile, as arrays: for tools and checks; the compiled
// file is written from the runs themselves.
ProfiloLinea punti_profilo(const TracciatoLinea& tracciato);

inline constexpr std::int32_t kLunghezzaMassimaLinea = 1000000;  // longest route (m)
inline constexpr std::int32_t kProlungamento = 7000;  // track beyond the end of the route (m)
inline constexpr std::int32_t kMetriPerCella = 50;

inline constexpr int kNumeroMontagne = 80;  // mountain tables use indexes 1 .. 80

struct TabelleScenario {
  std::array<Record, kNumeroRecord> record{};
  std::vector<Cella> celle;  // cells 0 .. numero_celle once the line length is read
  TracciatoLinea profilo;  // the runs traced, with the profile flag
  std::array<std::int32_t, kNumeroMontagne + 1> montagna_inizio{};
  std::array<std::int32_t, kNumeroMontagne + 1> montagna_fine{};
  std::int32_t numero_montagne = 0;
  std::int32_t flag_profilo = 0;      // non-zero: trace the curves, write the profile file
  std::int32_t lunghezza_estesa = 0;  // line length + 7000 m
  std::int32_t numero_celle = 0;      // the last cell index
  CodiceErrore codice_errore = CodiceErrore::nessuno;  // the last scenario error
  std::int32_t posizione_errore = 0;  // metres the error concerns
};

}  // namespace gs

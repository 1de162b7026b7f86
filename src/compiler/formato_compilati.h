// The layouts of the three compiled files, stated once: named sizes and
// offsets, and one field list per record kind. The writers, the decoder and
// the listings all walk these lists, so a field is changed here or nowhere.
//
// Every number is little-endian and packed; no file has a header.
//   scenario file (CODE_TRAIN.sim): records 0 .. 86, each 34 bytes plus its name
//   track file    (CODE_TRAIN.dat): cells 0 .. N, 15 bytes each
//   profile file  (CODE_linea.dat): every x element, then every y element; an
//                 element is a 16-bit tag and, for tags 2 and 5, its value
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "reader/tabelle.h"

namespace gs::formato {

// Bytes a stored value of type T takes; for a name, its 16-bit length (its
// bytes follow).
template <typename T>
constexpr std::size_t byte_di() {
  if constexpr (std::is_same_v<T, std::string>) {
    return 2;
  } else {
    return sizeof(T);
  }
}

// ---- Track file -------------------------------------------------------------

inline constexpr std::size_t kByteCella = 15;

// The fields of a cell in file order: `campo(nome, valore)` for each, with
// `valore` the field itself (Cella or const Cella), of its stored type.
template <typename C, typename Campo>
constexpr void campi_cella(C& c, Campo&& campo) {
  campo("type", c.tipo);
  campo("value1", c.valore1);
  campo("value2", c.valore2);
  campo("value3", c.valore3);
  campo("value4", c.valore4);
  campo("signal_time", c.tempo_segnale);
  campo("approach_mark", c.avvicinamento);
  campo("mountain_kind", c.montagna);
  campo("speed_limit", c.velocita);
  campo("gradient", c.pendenza);
  campo("adhesion", c.aderenza);
}

// Where the fields of a cell start, from the cell's first byte.
inline constexpr std::size_t kOffsetTipoCella = 0;
inline constexpr std::size_t kOffsetValore1 = 1;
inline constexpr std::size_t kOffsetValore2 = 3;
inline constexpr std::size_t kOffsetValore3 = 5;
inline constexpr std::size_t kOffsetValore4 = 7;
inline constexpr std::size_t kOffsetTempoSegnale = 9;
inline constexpr std::size_t kOffsetAvvicinamento = 10;
inline constexpr std::size_t kOffsetMontagna = 11;
inline constexpr std::size_t kOffsetVelocita = 12;
inline constexpr std::size_t kOffsetPendenza = 13;
inline constexpr std::size_t kOffsetAderenza = 14;

// ---- Scenario file ----------------------------------------------------------

inline constexpr std::size_t kNumeroRecordFile = kNumeroRecord;
// A record without its name's bytes (its 16-bit length included).
inline constexpr std::size_t kByteRecordSenzaNome = 34;
// The name starts here: its 16-bit length, then its bytes.
inline constexpr std::size_t kOffsetNome = 14;

// The fields of a record in file order, as campi_cella does for a cell.
template <typename R, typename Campo>
constexpr void campi_record(R& r, Campo&& campo) {
  campo("kind", r.tipo);
  campo("stop_zone_start", r.inizio_fermata);
  campo("stop_zone_end", r.fine_fermata);
  campo("position", r.posizione);
  campo("tps", r.tps);
  campo("name", r.nome);
  campo("rd2", r.rd2);
  campo("rd3", r.rd3);
  campo("d1", r.d1);
  campo("d2", r.d2);
  campo("d3", r.d3);
  campo("rap", r.rap);
  campo("ac", r.ac);
  campo("mar", r.mar);
  campo("tab", r.tab);
  campo("scheduled_time", r.orario);
}


// ---- Line profile file ------------------------------------------------------

inline constexpr std::size_t kByteEtichetta = 2;
inline constexpr std::size_t kByteIntero = 2;  // the value of a tag-2 element
inline constexpr std::size_t kByteReale = 8;   // the value of a tag-5 element, a double
inline constexpr std::size_t kByteElementoMassimo = kByteEtichetta + kByteReale;

// Bytes of one element with tag `etichetta`.
constexpr std::size_t byte_elemento(ProfiloLinea::Etichetta etichetta) {
  switch (etichetta) {
    case ProfiloLinea::kIntero: return kByteEtichetta + kByteIntero;
    case ProfiloLinea::kReale: return kByteEtichetta + kByteReale;
    case ProfiloLinea::kVuoto: break;
  }
  return kByteEtichetta;
}

// ---- The largest files the compiler can write ---------------------------------
// A file larger than its kind allows is refused before it is read.

// Cells 0 .. N for the longest route, its extension included.
inline constexpr std::size_t kCelleMassime =
    (kLunghezzaMassimaLinea + kProlungamento) / kMetriPerCella + 1;
inline constexpr std::size_t kByteMassimiPercorso = kCelleMassime * kByteCella;
inline constexpr std::size_t kByteMassimiScenario =
    kNumeroRecordFile * (kByteRecordSenzaNome + kLunghezzaMassimaNome);
// Points 0 .. extended length in each column.
inline constexpr std::size_t kPuntiMassimi = kLunghezzaMassimaLinea + kProlungamento + 1;
inline constexpr std::size_t kByteMassimiProfilo = 2 * kPuntiMassimi * kByteElementoMassimo;

// ---- Sizes worked out from the lists ------------------------------------------

// Adds up the bytes of the fields it visits, and notes where one of them starts.
struct Misura {
  std::size_t byte = 0;
  std::string_view cercato;
  std::size_t offset_cercato = SIZE_MAX;
  template <typename T>
  constexpr void operator()(std::string_view nome, const T& valore) {
    if (nome == cercato) offset_cercato = byte;
    byte += byte_di<T>();
    if constexpr (std::is_same_v<T, std::string>) byte += valore.size();
  }
};

// Bytes record `r` takes in the scenario file, its name's bytes included.
inline std::size_t byte_record(const Record& r) {
  Misura m;
  campi_record(r, m);
  return m.byte;
}

namespace dettaglio {

constexpr std::size_t byte_cella() {
  const Cella c{};
  Misura m;
  campi_cella(c, m);
  return m.byte;
}

constexpr std::size_t offset_in_cella(std::string_view nome) {
  const Cella c{};
  Misura m{0, nome};
  campi_cella(c, m);
  return m.offset_cercato;
}

}  // namespace dettaglio

static_assert(dettaglio::byte_cella() == kByteCella);
static_assert(dettaglio::offset_in_cella("type") == kOffsetTipoCella);
static_assert(dettaglio::offset_in_cella("value1") == kOffsetValore1);
static_assert(dettaglio::offset_in_cella("value2") == kOffsetValore2);
static_assert(dettaglio::offset_in_cella("value3") == kOffsetValore3);
static_assert(dettaglio::offset_in_cella("value4") == kOffsetValore4);
static_assert(dettaglio::offset_in_cella("signal_time") == kOffsetTempoSegnale);
static_assert(dettaglio::offset_in_cella("approach_mark") == kOffsetAvvicinamento);
static_assert(dettaglio::offset_in_cella("mountain_kind") == kOffsetMontagna);
static_assert(dettaglio::offset_in_cella("speed_limit") == kOffsetVelocita);
static_assert(dettaglio::offset_in_cella("gradient") == kOffsetPendenza);
static_assert(dettaglio::offset_in_cella("adhesion") == kOffsetAderenza);

}  // namespace gs::formato

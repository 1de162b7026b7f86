#include "compiler/file_compilati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/arrotondamento.h"
#include "base/errore_file.h"
#include "base/file_system.h"

namespace gs {
namespace {

constexpr std::size_t kByteRecordVuoto = 34;
constexpr std::size_t kByteCella = 15;
constexpr std::size_t kPuntiBlocco = 65536;      // profile points per block, 640 KiB at most
constexpr std::size_t kByteElementoMassimo = 10;  // a tag and a double

// Writes numbers little-endian, and strings after their 16-bit length, at a
// cursor that moves through a buffer already sized for all it will hold.
class Cursore {
 public:
  explicit Cursore(std::string& byte) : p_(byte.data()) {}

  const char* posizione() const { return p_; }

  void u8(std::uint8_t valore) { *p_++ = static_cast<char>(valore); }
  void u16(std::uint16_t valore) { le<2>(valore); }
  void i16(std::int16_t valore) { le<2>(static_cast<std::uint16_t>(valore)); }
  void i32(std::int32_t valore) { le<4>(static_cast<std::uint32_t>(valore)); }
  void f64(double valore) { le<8>(std::bit_cast<std::uint64_t>(valore)); }
  void testo(const std::string& valore) {  // length checked by dimensione_nome
    u16(static_cast<std::uint16_t>(valore.size()));
    p_ = std::copy(valore.begin(), valore.end(), p_);
  }

 private:
  // Every byte worked out apart, then all stored together: the compiler can
  // then write the number in one store instead of a loop of byte stores.
  template <std::size_t n>
  void le(std::uint64_t valore) {
    std::array<char, n> byte;
    [&]<std::size_t... i>(std::index_sequence<i...>) {
      ((byte[i] = static_cast<char>((valore >> (8 * i)) & 0xFF)), ...);
    }(std::make_index_sequence<n>{});
    p_ = std::copy(byte.begin(), byte.end(), p_);
  }

  char* p_;
};

std::size_t dimensione_nome(const std::string& nome) {
  if (nome.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw std::out_of_range("a name of " + std::to_string(nome.size()) +
                            " bytes does not fit its 16-bit length");
  }
  return nome.size();
}

std::size_t dimensione_elemento(ProfiloLinea::Etichetta etichetta) {
  switch (etichetta) {
    case ProfiloLinea::kIntero: return 4;
    case ProfiloLinea::kReale: return 10;
    case ProfiloLinea::kVuoto: break;
  }
  return 2;
}

std::size_t dimensione_colonna(const ProfiloLinea& profilo, std::size_t punti) {
  std::size_t totale = 0;
  for (std::size_t punto = 0; punto < punti; ++punto) {
    totale += dimensione_elemento(profilo.etichetta(static_cast<std::int32_t>(punto)));
  }
  return totale;
}

std::int16_t intero_16(double valore) {
  const double arrotondato = arrotonda_pari(valore);
  if (!(arrotondato >= std::numeric_limits<std::int16_t>::min() &&
        arrotondato <= std::numeric_limits<std::int16_t>::max())) {
    throw std::out_of_range("a profile point holds " + std::to_string(valore) +
                            ", not a 16-bit whole number");
  }
  return static_cast<std::int16_t>(arrotondato);
}

// Throws std::out_of_range for the first tag-2 point, x before y, that does not
// round into 16 bits; such points are the first ones of each column.
void controlla_interi(const ProfiloLinea& profilo) {
  for (const std::vector<double>* colonna : {&profilo.x, &profilo.y}) {
    for (std::size_t punto = 0; punto < colonna->size(); ++punto) {
      if (profilo.etichetta(static_cast<std::int32_t>(punto)) != ProfiloLinea::kIntero) break;
      intero_16((*colonna)[punto]);
    }
  }
}

// Points [primo, oltre) of one column into `blocco`; returns the bytes written.
// The cursor is this function's own and no call sees it, so it stays in a register.
std::size_t riempi_blocco(std::string& blocco, const ProfiloLinea& profilo, const double* valori,
                          std::size_t primo, std::size_t oltre) {
  Cursore cursore(blocco);
  for (std::size_t punto = primo; punto < oltre; ++punto) {
    const auto etichetta = profilo.etichetta(static_cast<std::int32_t>(punto));
    cursore.u16(etichetta);
    if (etichetta == ProfiloLinea::kReale) cursore.f64(valori[punto]);
    if (etichetta == ProfiloLinea::kIntero) cursore.i16(intero_16(valori[punto]));
  }
  return static_cast<std::size_t>(cursore.posizione() - blocco.data());
}

// The profile's bytes, all x then all y, handed to `consegna` a block of at
// most kPuntiBlocco points at a time, so that the whole image (20 MB for the
// longest route) is never held at once.
template <typename Consegna>
void emetti_profilo(const ProfiloLinea& profilo, Consegna consegna) {
  std::string blocco(kPuntiBlocco * kByteElementoMassimo, '\0');
  for (const std::vector<double>* colonna : {&profilo.x, &profilo.y}) {
    for (std::size_t primo = 0; primo < colonna->size(); primo += kPuntiBlocco) {
      const std::size_t oltre = std::min(colonna->size(), primo + kPuntiBlocco);
      const std::size_t scritti = riempi_blocco(blocco, profilo, colonna->data(), primo, oltre);
      consegna(std::string_view(blocco.data(), scritti));
    }
  }
}

void scrivi_record(Cursore& cursore, const Record& r) {
  cursore.u8(r.tipo);
  cursore.i32(r.inizio_fermata);
  cursore.i32(r.fine_fermata);
  cursore.i32(r.posizione);
  cursore.u8(r.tps);
  cursore.testo(r.nome);
  cursore.i16(r.rd2);
  cursore.i16(r.rd3);
  cursore.i16(r.d1);
  cursore.i16(r.d2);
  cursore.i16(r.d3);
  cursore.u8(r.rap);
  cursore.u8(r.ac);
  cursore.u8(r.mar);
  cursore.u8(r.tab);
  cursore.i32(r.orario);
}

void scrivi_cella(Cursore& cursore, const Cella& c) {
  cursore.u8(c.tipo);
  cursore.i16(c.valore1);
  cursore.i16(c.valore2);
  cursore.i16(c.valore3);
  cursore.i16(c.valore4);
  cursore.u8(c.tempo_segnale);
  cursore.u8(c.avvicinamento);
  cursore.u8(c.montagna);
  cursore.u8(c.velocita);
  cursore.u8(c.pendenza);
  cursore.u8(c.aderenza);
}

// Builds the whole content first, so a value that cannot be written leaves any
// older file untouched; then replaces the file and writes it in one go.
template <typename Contenuto>
void scrivi_file(const std::string& percorso, Contenuto contenuto) {
  std::string byte;
  try {
    byte = contenuto();
  } catch (const std::out_of_range& valore) {
    throw ErroreFile("write", percorso, valore.what());
  }
  FileUscita file = sostituisci(percorso);
  file.scrivi(byte);
  file.chiudi();
}

// As scrivi_file, but the values are checked first and the bytes then written
// a block at a time.
void scrivi_profilo(const std::string& percorso, const ProfiloLinea& profilo) {
  try {
    controlla_interi(profilo);
  } catch (const std::out_of_range& valore) {
    throw ErroreFile("write", percorso, valore.what());
  }
  FileUscita file = sostituisci(percorso);
  emetti_profilo(profilo, [&file](std::string_view blocco) { file.scrivi(blocco); });
  file.chiudi();
}

}  // namespace

std::string byte_profilo_linea(const ProfiloLinea& profilo) {
  controlla_interi(profilo);
  std::string byte;
  byte.reserve(dimensione_colonna(profilo, profilo.x.size()) +
               dimensione_colonna(profilo, profilo.y.size()));
  emetti_profilo(profilo, [&byte](std::string_view blocco) { byte.append(blocco); });
  return byte;
}

std::string byte_file_scenario(const std::array<Record, kNumeroRecord>& record) {
  std::size_t dimensione = 0;
  for (const Record& r : record) dimensione += kByteRecordVuoto + dimensione_nome(r.nome);
  std::string byte(dimensione, '\0');
  Cursore cursore(byte);
  for (const Record& r : record) scrivi_record(cursore, r);
  return byte;
}

std::string byte_file_percorso(const std::vector<Cella>& celle) {
  std::string byte(celle.size() * kByteCella, '\0');
  Cursore cursore(byte);
  for (const Cella& c : celle) scrivi_cella(cursore, c);
  return byte;
}

void scrivi_file_compilati(const IdentitaScenario& id, const Cartella& cartella,
                           const TabelleScenario& tab) {
  if (tab.flag_profilo != 0) {
    scrivi_profilo(cartella.file(nome_profilo_linea(id)), tab.profilo);
  }
  scrivi_file(cartella.file(nome_file_scenario(id)),
              [&] { return byte_file_scenario(tab.record); });
  scrivi_file(cartella.file(nome_file_percorso(id)), [&] { return byte_file_percorso(tab.celle); });
}

}  // namespace gs

#include "compiler/file_compilati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/arrotondamento.h"
#include "compiler/formato_compilati.h"
#include "base/errore_file.h"
#include "base/file_system.h"

namespace gs {
namespace {

constexpr std::size_t kPuntiBlocco = 65536;  // profile points per block, 640 KiB at most

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
  void testo(const std::string& valore) {  // length checked by controlla_nome
    u16(static_cast<std::uint16_t>(valore.size()));
    p_ = std::copy(valore.begin(), valore.end(), p_);
  }

  // One field of a field list, by its stored type.
  void operator()(std::string_view, std::uint8_t valore) { u8(valore); }
  void operator()(std::string_view, std::int16_t valore) { i16(valore); }
  void operator()(std::string_view, std::int32_t valore) { i32(valore); }
  void operator()(std::string_view, const std::string& valore) { testo(valore); }

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

void controlla_nome(const std::string& nome) {
  if (nome.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw std::out_of_range("a name of " + std::to_string(nome.size()) +
                            " bytes does not fit its 16-bit length");
  }
}

std::size_t dimensione_colonna(const ProfiloLinea& profilo, std::size_t punti) {
  std::size_t totale = 0;
  for (std::size_t punto = 0; punto < punti; ++punto) {
    totale += formato::byte_elemento(profilo.etichetta(static_cast<std::int32_t>(punto)));
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
  std::string blocco(kPuntiBlocco * formato::kByteElementoMassimo, '\0');
  for (const std::vector<double>* colonna : {&profilo.x, &profilo.y}) {
    for (std::size_t primo = 0; primo < colonna->size(); primo += kPuntiBlocco) {
      const std::size_t oltre = std::min(colonna->size(), primo + kPuntiBlocco);
      const std::size_t scritti = riempi_blocco(blocco, profilo, colonna->data(), primo, oltre);
      consegna(std::string_view(blocco.data(), scritti));
    }
  }
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
  for (const Record& r : record) {
    controlla_nome(r.nome);
    dimensione += formato::byte_record(r);
  }
  std::string byte(dimensione, '\0');
  Cursore cursore(byte);
  for (const Record& r : record) formato::campi_record(r, cursore);
  return byte;
}

std::string byte_file_percorso(const std::vector<Cella>& celle) {
  std::string byte(celle.size() * formato::kByteCella, '\0');
  Cursore cursore(byte);
  for (const Cella& c : celle) formato::campi_cella(c, cursore);
  return byte;
}

std::vector<std::string> scrivi_file_compilati(const IdentitaScenario& id,
                                               const Cartella& cartella,
                                               const TabelleScenario& tab) {
  std::vector<std::string> scritti;
  if (tab.flag_profilo != 0) {
    scritti.push_back(nome_profilo_linea(id));
    scrivi_profilo(cartella.file(scritti.back()), tab.profilo);
  }
  scritti.push_back(nome_file_scenario(id));
  scrivi_file(cartella.file(scritti.back()), [&] { return byte_file_scenario(tab.record); });
  scritti.push_back(nome_file_percorso(id));
  scrivi_file(cartella.file(scritti.back()), [&] { return byte_file_percorso(tab.celle); });
  return scritti;
}

}  // namespace gs

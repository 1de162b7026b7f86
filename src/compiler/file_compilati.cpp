#include "compiler/file_compilati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/arrotondamento.h"
#include "base/errore_file.h"
#include "base/file_system.h"
#include "compiler/formato_compilati.h"

namespace gs {
namespace {

using formato::kByteCella;
using formato::kByteElementoMassimo;

constexpr std::size_t kPuntiBlocco = 65536;  // profile points per block, 640 KiB at most

// Stores the n low bytes of `valore` little-endian at p; returns the byte after.
// Every byte worked out apart, then all stored together: the compiler can then
// write the number in one store instead of a loop of byte stores.
template <std::size_t n>
char* metti_le(char* p, std::uint64_t valore) {
  std::array<char, n> byte;
  [&]<std::size_t... i>(std::index_sequence<i...>) {
    ((byte[i] = static_cast<char>((valore >> (8 * i)) & 0xFF)), ...);
  }(std::make_index_sequence<n>{});
  return std::copy(byte.begin(), byte.end(), p);
}

// Writes numbers little-endian, and strings after their 16-bit length, at a
// cursor that moves through a buffer already sized for all it will hold.
class Cursore {
 public:
  explicit Cursore(std::string& byte) : p_(byte.data()) {}
  explicit Cursore(char* p) : p_(p) {}

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
  template <std::size_t n>
  void le(std::uint64_t valore) {
    p_ = metti_le<n>(p_, valore);
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
  std::string blocco(kPuntiBlocco * kByteElementoMassimo, '\0');
  for (const std::vector<double>* colonna : {&profilo.x, &profilo.y}) {
    for (std::size_t primo = 0; primo < colonna->size(); primo += kPuntiBlocco) {
      const std::size_t oltre = std::min(colonna->size(), primo + kPuntiBlocco);
      const std::size_t scritti = riempi_blocco(blocco, profilo, colonna->data(), primo, oltre);
      consegna(std::string_view(blocco.data(), scritti));
    }
  }
}

constexpr std::size_t kPuntiBloccoTracciato = 8192;  // a block of each column, 80 KiB at most
constexpr std::size_t kByteBlocco = kPuntiBloccoTracciato * kByteElementoMassimo;
constexpr std::size_t kCelleBlocco = kByteBlocco / kByteCella;

// The two blocks the long files are written through, taken once for all of
// them: every page of memory a run touches costs it time.
struct BlocchiScrittura {
  std::unique_ptr<char[]> x = std::make_unique_for_overwrite<char[]>(kByteBlocco);
  std::unique_ptr<char[]> y = std::make_unique_for_overwrite<char[]>(kByteBlocco);
};

// The bytes of a column of `punti` points of which the first `assegnati` hold a value.
std::size_t byte_colonna(std::int32_t punti, std::int32_t assegnati) {
  const auto tutti = static_cast<std::size_t>(std::max(punti, 0));
  const auto con_valore = std::min(tutti, static_cast<std::size_t>(std::max(assegnati, 0)));
  const std::size_t interi = std::min<std::size_t>(con_valore, 2);
  return interi * formato::byte_elemento(ProfiloLinea::kIntero) +
         (con_valore - interi) * formato::byte_elemento(ProfiloLinea::kReale) +
         (tutti - con_valore) * formato::byte_elemento(ProfiloLinea::kVuoto);
}

char* metti_intero(char* p, double valore) {
  p = metti_le<2>(p, ProfiloLinea::kIntero);
  return metti_le<2>(p, static_cast<std::uint16_t>(intero_16(valore)));
}

char* metti_reale(char* p, double valore) {
  p = metti_le<2>(p, ProfiloLinea::kReale);
  return metti_le<8>(p, std::bit_cast<std::uint64_t>(valore));
}

// Points [primo, oltre) of both columns into the two blocks, the traced ones
// from the walk; returns where each block ends. The cursors are this
// function's own and no call sees them, so they stay in registers.
std::pair<char*, char*> riempi_blocchi(CamminoTracciato& cammino, std::int32_t con_valore,
                                       std::int32_t primo, std::int32_t oltre, char* px,
                                       char* py) {
  std::int32_t m = primo;
  for (; m < std::min({oltre, con_valore, 2}); ++m) {
    px = metti_intero(px, kInizioX[m]);
    py = metti_intero(py, kInizioY[m]);
  }
  const std::int32_t ultimo_tracciato = std::min(oltre, con_valore);
  if (m < ultimo_tracciato) {
    m += cammino.avanza(ultimo_tracciato - m, [&px, &py](double x, double y) {
      px = metti_reale(px, x);
      py = metti_reale(py, y);
    });
  }
  for (; m < oltre; ++m) {
    px = metti_le<2>(px, ProfiloLinea::kVuoto);
    py = metti_le<2>(py, ProfiloLinea::kVuoto);
  }
  return {px, py};
}

// The bytes of a traced profile, all x then all y, worked out from the runs in
// one walk: each block of points fills a block of x and the same points' block
// of y, handed in order to consegna_x and consegna_y. The two blocks are all
// the memory it takes, whatever the length.
template <typename ConsegnaX, typename ConsegnaY>
void emetti_tracciato(const TracciatoLinea& t, BlocchiScrittura& blocchi, ConsegnaX consegna_x,
                      ConsegnaY consegna_y) {
  const std::int32_t punti = std::max(t.punti, 0);
  const std::int32_t con_valore = std::clamp(t.assegnati, 0, punti);
  constexpr auto kPunti = static_cast<std::int32_t>(kPuntiBloccoTracciato);
  CamminoTracciato cammino(t);
  for (std::int32_t primo = 0; primo < punti; primo += std::min(kPunti, punti - primo)) {
    const std::int32_t oltre = primo + std::min(kPunti, punti - primo);
    char* const bx = blocchi.x.get();
    char* const by = blocchi.y.get();
    const auto [fine_x, fine_y] = riempi_blocchi(cammino, con_valore, primo, oltre, bx, by);
    consegna_x(std::string_view(bx, static_cast<std::size_t>(fine_x - bx)));
    consegna_y(std::string_view(by, static_cast<std::size_t>(fine_y - by)));
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

// As scrivi_file, but the bytes are written a block at a time, the y column
// through a second way into the file from where it starts; the whole numbers,
// points 0 and 1, are the same for every profile and always fit.
void scrivi_profilo(const std::string& percorso, const TracciatoLinea& tracciato,
                    BlocchiScrittura& blocchi) {
  FileUscita x = sostituisci(percorso);
  FileUscita y = prosegui(percorso, byte_colonna(tracciato.punti, tracciato.assegnati));
  emetti_tracciato(
      tracciato, blocchi, [&x](std::string_view blocco) { x.scrivi(blocco); },
      [&y](std::string_view blocco) { y.scrivi(blocco); });
  y.chiudi();
  x.chiudi();
}

// The track file a block of cells at a time: no cell can fail to be written.
void scrivi_percorso(const std::string& percorso, const std::vector<Cella>& celle,
                     BlocchiScrittura& blocchi) {
  FileUscita file = sostituisci(percorso);
  for (std::size_t prima = 0; prima < celle.size(); prima += kCelleBlocco) {
    const std::size_t oltre = std::min(celle.size(), prima + kCelleBlocco);
    Cursore cursore(blocchi.x.get());
    for (std::size_t c = prima; c < oltre; ++c) formato::campi_cella(celle[c], cursore);
    file.scrivi(std::string_view(blocchi.x.get(), (oltre - prima) * kByteCella));
  }
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

std::string byte_profilo_linea(const TracciatoLinea& tracciato) {
  const std::size_t colonna = byte_colonna(tracciato.punti, tracciato.assegnati);
  std::string byte(2 * colonna, '\0');
  auto x = byte.begin();
  auto y = byte.begin() + static_cast<std::ptrdiff_t>(colonna);
  BlocchiScrittura blocchi;
  emetti_tracciato(
      tracciato, blocchi,
      [&x](std::string_view blocco) { x = std::copy(blocco.begin(), blocco.end(), x); },
      [&y](std::string_view blocco) { y = std::copy(blocco.begin(), blocco.end(), y); });
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
  std::string byte(celle.size() * kByteCella, '\0');
  Cursore cursore(byte);
  for (const Cella& c : celle) formato::campi_cella(c, cursore);
  return byte;
}

std::vector<std::string> scrivi_file_compilati(const IdentitaScenario& id,
                                               const Cartella& cartella,
                                               const TabelleScenario& tab) {
  BlocchiScrittura blocchi;
  std::vector<std::string> scritti;
  if (tab.flag_profilo != 0) {
    scritti.push_back(nome_profilo_linea(id));
    scrivi_profilo(cartella.file(scritti.back()), tab.profilo, blocchi);
  }
  scritti.push_back(nome_file_scenario(id));
  scrivi_file(cartella.file(scritti.back()), [&] { return byte_file_scenario(tab.record); });
  scritti.push_back(nome_file_percorso(id));
  scrivi_percorso(cartella.file(scritti.back()), tab.celle, blocchi);
  return scritti;
}

}  // namespace gs

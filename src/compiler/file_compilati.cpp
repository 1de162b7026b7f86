#include "compiler/file_compilati.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "shell/arrotondamento.h"
#include "shell/errori.h"
#include "shell/file_system.h"

namespace gs {
namespace {

constexpr std::size_t kByteRecordVuoto = 34;
constexpr std::size_t kByteCella = 15;

// Writes numbers little-endian, and strings after their 16-bit length, at a
// cursor that moves through a buffer already sized for the whole file.
class Cursore {
 public:
  explicit Cursore(std::string& byte) : p_(byte.data()) {}

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
  // Through a local pointer: a store through p_ itself could alias p_.
  template <std::size_t n>
  void le(std::uint64_t valore) {
    char* p = p_;
    for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<char>((valore >> (8 * i)) & 0xFF);
    p_ = p + n;
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

void scrivi_colonna(Cursore& cursore, const ProfiloLinea& profilo,
                    const std::vector<double>& colonna) {
  for (std::size_t punto = 0; punto < colonna.size(); ++punto) {
    const auto etichetta = profilo.etichetta(static_cast<std::int32_t>(punto));
    cursore.u16(etichetta);
    if (etichetta == ProfiloLinea::kIntero) cursore.i16(intero_16(colonna[punto]));
    if (etichetta == ProfiloLinea::kReale) cursore.f64(colonna[punto]);
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

}  // namespace

std::string byte_profilo_linea(const ProfiloLinea& profilo) {
  std::string byte(
      dimensione_colonna(profilo, profilo.x.size()) + dimensione_colonna(profilo, profilo.y.size()),
      '\0');
  Cursore cursore(byte);
  scrivi_colonna(cursore, profilo, profilo.x);
  scrivi_colonna(cursore, profilo, profilo.y);
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
    scrivi_file(cartella.file(nome_profilo_linea(id)),
                [&] { return byte_profilo_linea(tab.profilo); });
  }
  scrivi_file(cartella.file(nome_file_scenario(id)),
              [&] { return byte_file_scenario(tab.record); });
  scrivi_file(cartella.file(nome_file_percorso(id)), [&] { return byte_file_percorso(tab.celle); });
}

}  // namespace gs

#include "compiler/lettura_compilati.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/errore_file.h"
#include "compiler/formato_compilati.h"

namespace gs {
namespace {

// Reads little-endian numbers and length-prefixed strings in sequence; a read
// past the end throws ErroreFormato naming the byte offset.
class Lettore {
 public:
  explicit Lettore(std::string_view byte) : byte_(byte) {}

  bool fine() const { return posizione_ == byte_.size(); }
  std::size_t posizione() const { return posizione_; }

  std::uint8_t u8() { return static_cast<std::uint8_t>(le(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(le(2)); }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(le(4))); }
  double f64() { return std::bit_cast<double>(le(8)); }
  // One field of a field list, by its stored type.
  void operator()(std::string_view, std::uint8_t& valore) { valore = u8(); }
  void operator()(std::string_view, std::int16_t& valore) { valore = i16(); }
  void operator()(std::string_view, std::int32_t& valore) { valore = i32(); }
  void operator()(std::string_view, std::string& valore) { valore = testo(); }

  std::string testo() {
    const std::size_t lunghezza = u16();
    richiedi(lunghezza);
    std::string valore(byte_.substr(posizione_, lunghezza));
    posizione_ += lunghezza;
    return valore;
  }

 private:
  void richiedi(std::size_t quanti) const {
    if (byte_.size() - posizione_ < quanti) {
      throw ErroreFormato("the file ends at byte " + std::to_string(byte_.size()) +
                          " inside a value that starts at byte " + std::to_string(posizione_));
    }
  }
  std::uint64_t le(std::size_t quanti) {
    richiedi(quanti);
    std::uint64_t valore = 0;
    for (std::size_t i = 0; i < quanti; ++i) {
      valore |= std::uint64_t{static_cast<std::uint8_t>(byte_[posizione_ + i])} << (8 * i);
    }
    posizione_ += quanti;
    return valore;
  }

  std::string_view byte_;
  std::size_t posizione_ = 0;
};

// One profile element: its tag and, for tags 2 and 5, its value.
struct Elemento {
  std::uint16_t etichetta = 0;
  double valore = 0.0;
};

Elemento leggi_elemento(Lettore& lettore) {
  const std::size_t inizio = lettore.posizione();
  Elemento e;
  e.etichetta = lettore.u16();
  switch (e.etichetta) {
    case ProfiloLinea::kVuoto: break;
    case ProfiloLinea::kIntero: e.valore = lettore.i16(); break;
    case ProfiloLinea::kReale: e.valore = lettore.f64(); break;
    default:
      throw ErroreFormato("unknown tag " + std::to_string(e.etichetta) + " at byte " +
                          std::to_string(inizio));
  }
  return e;
}

// How many leading elements of a column hold a value; the tags must be those
// the line reader leaves: 2 for points 0 and 1, then 5, then 0 to the end.
std::int32_t punti_assegnati(const std::vector<Elemento>& colonna, std::size_t da,
                             std::size_t quanti) {
  std::size_t assegnati = 0;
  while (assegnati < quanti && colonna[da + assegnati].etichetta != ProfiloLinea::kVuoto) {
    ++assegnati;
  }
  ProfiloLinea atteso;
  atteso.assegnati = static_cast<std::int32_t>(assegnati);
  for (std::size_t punto = 0; punto < quanti; ++punto) {
    if (colonna[da + punto].etichetta != atteso.etichetta(static_cast<std::int32_t>(punto))) {
      throw ErroreFormato("point " + std::to_string(punto) + " has tag " +
                          std::to_string(colonna[da + punto].etichetta) +
                          ", out of the order a line profile has");
    }
  }
  return atteso.assegnati;
}

}  // namespace

std::array<Record, kNumeroRecord> decodifica_file_scenario(std::string_view byte) {
  Lettore lettore(byte);
  std::array<Record, kNumeroRecord> record;
  for (Record& r : record) formato::campi_record(r, lettore);
  if (!lettore.fine()) {
    throw ErroreFormato(std::to_string(byte.size() - lettore.posizione()) +
                        " bytes follow the last of the 87 records");
  }
  return record;
}

std::vector<Cella> decodifica_file_percorso(std::string_view byte) {
  if (byte.empty() || byte.size() % formato::kByteCella != 0) {
    throw ErroreFormato(std::to_string(byte.size()) + " bytes are not a whole number of " +
                        std::to_string(formato::kByteCella) + "-byte cells");
  }
  Lettore lettore(byte);
  std::vector<Cella> celle(byte.size() / formato::kByteCella);
  for (Cella& c : celle) formato::campi_cella(c, lettore);
  return celle;
}

ProfiloLinea decodifica_profilo_linea(std::string_view byte) {
  Lettore lettore(byte);
  std::vector<Elemento> elementi;
  while (!lettore.fine()) elementi.push_back(leggi_elemento(lettore));
  if (elementi.empty() || elementi.size() % 2 != 0) {
    throw ErroreFormato(std::to_string(elementi.size()) +
                        " elements do not make two columns of the same length");
  }
  const std::size_t punti = elementi.size() / 2;
  ProfiloLinea profilo;
  profilo.assegnati = punti_assegnati(elementi, 0, punti);
  if (punti_assegnati(elementi, punti, punti) != profilo.assegnati) {
    throw ErroreFormato("the x and y columns hold values for different points");
  }
  profilo.x.resize(punti);
  profilo.y.resize(punti);
  for (std::size_t punto = 0; punto < punti; ++punto) {
    profilo.x[punto] = elementi[punto].valore;
    profilo.y[punto] = elementi[punti + punto].valore;
  }
  return profilo;
}

std::string leggi_file(const std::string& percorso) {
  std::error_code errore;
  if (std::filesystem::is_directory(percorso, errore)) {
    throw ErroreFile("read", percorso, "it is a directory");
  }
  std::FILE* file = std::fopen(percorso.c_str(), "rb");
  if (file == nullptr) throw ErroreFile("read", percorso, std::strerror(errno));
  std::string byte;
  char blocco[1 << 16];
  std::size_t letti = 0;
  while ((letti = std::fread(blocco, 1, sizeof blocco, file)) > 0) byte.append(blocco, letti);
  const bool guasto = std::ferror(file) != 0;
  const int numero = errno;
  std::fclose(file);
  if (guasto) throw ErroreFile("read", percorso, std::strerror(numero));
  return byte;
}

ScenarioCompilato leggi_scenario_compilato(const IdentitaScenario& id, const Cartella& cartella) {
  ScenarioCompilato scenario;
  scenario.record = decodifica_file_scenario(leggi_file(cartella.file(nome_file_scenario(id))));
  scenario.celle = decodifica_file_percorso(leggi_file(cartella.file(nome_file_percorso(id))));
  const std::string profilo = cartella.file(nome_profilo_linea(id));
  std::error_code errore;
  if (std::filesystem::exists(profilo, errore)) {
    scenario.profilo = decodifica_profilo_linea(leggi_file(profilo));
  }
  return scenario;
}

}  // namespace gs

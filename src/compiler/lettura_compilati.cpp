#include "compiler/lettura_compilati.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "base/errore_file.h"
#include "base/lettura_file.h"
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

// How many elements the bytes hold; every tag is checked on the way.
std::size_t conta_elementi(std::string_view byte) {
  Lettore lettore(byte);
  std::size_t elementi = 0;
  while (!lettore.fine()) {
    leggi_elemento(lettore);
    ++elementi;
  }
  return elementi;
}

// The tag point `punto` must have, given whether the points before it hold a
// value: 2 for points 0 and 1, then 5, then 0 to the end once a point is empty.
void controlla_ordine(std::size_t punto, std::uint16_t etichetta, bool ancora_assegnati) {
  ProfiloLinea atteso;
  atteso.assegnati = ancora_assegnati ? static_cast<std::int32_t>(punto) + 1 : 0;
  const auto attesa = ancora_assegnati ? atteso.etichetta(static_cast<std::int32_t>(punto))
                                       : ProfiloLinea::kVuoto;
  if (etichetta != attesa && !(ancora_assegnati && etichetta == ProfiloLinea::kVuoto)) {
    throw ErroreFormato("point " + std::to_string(punto) + " has tag " +
                        std::to_string(etichetta) + ", out of the order a line profile has");
  }
}

// Walks both columns of a profile of `punti` points side by side, checking the
// order of the tags, and hands each point to `punto`.
template <typename Punto>
void percorri_colonne(std::string_view byte, std::size_t punti, Punto&& punto) {
  Lettore colonna_x(byte);
  Lettore inizio_y(byte);
  for (std::size_t i = 0; i < punti; ++i) leggi_elemento(inizio_y);
  Lettore colonna_y(byte.substr(inizio_y.posizione()));
  bool assegnati = true;
  for (std::size_t i = 0; i < punti; ++i) {
    const Elemento x = leggi_elemento(colonna_x);
    const Elemento y = leggi_elemento(colonna_y);
    controlla_ordine(i, x.etichetta, assegnati);
    controlla_ordine(i, y.etichetta, assegnati);
    if (x.etichetta != y.etichetta) {
      throw ErroreFormato("the x and y columns hold values for different points");
    }
    assegnati = x.etichetta != ProfiloLinea::kVuoto;
    punto(PuntoProfilo{i, static_cast<ProfiloLinea::Etichetta>(x.etichetta), x.valore, y.valore});
  }
}

}  // namespace

std::size_t scorri_profilo_linea(std::string_view byte,
                                 const std::function<void(const PuntoProfilo&)>& punto) {
  const std::size_t elementi = conta_elementi(byte);
  if (elementi == 0 || elementi % 2 != 0) {
    throw ErroreFormato(std::to_string(elementi) +
                        " elements do not make two columns of the same length");
  }
  const std::size_t punti = elementi / 2;
  percorri_colonne(byte, punti, [](const PuntoProfilo&) {});  // every check before any point
  percorri_colonne(byte, punti, punto);
  return punti;
}

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
  ProfiloLinea profilo;
  scorri_profilo_linea(byte, [&profilo](const PuntoProfilo& p) {
    profilo.x.push_back(p.x);
    profilo.y.push_back(p.y);
    if (p.etichetta != ProfiloLinea::kVuoto) profilo.assegnati = static_cast<std::int32_t>(p.indice) + 1;
  });
  return profilo;
}

std::uint64_t byte_massimi(TipoCompilato tipo) {
  switch (tipo) {
    case TipoCompilato::scenario: return formato::kByteMassimiScenario;
    case TipoCompilato::percorso: return formato::kByteMassimiPercorso;
    case TipoCompilato::profilo: break;
  }
  return formato::kByteMassimiProfilo;
}

std::string leggi_file_compilato(const std::string& percorso, TipoCompilato tipo) {
  return leggi_file_regolare(percorso, byte_massimi(tipo));
}

namespace {

bool finisce_con(std::string_view testo, std::string_view coda) {
  return testo.size() >= coda.size() && testo.substr(testo.size() - coda.size()) == coda;
}

bool ha_la_forma(TipoCompilato tipo, std::string_view byte) {
  if (byte.size() > byte_massimi(tipo)) return false;
  try {
    switch (tipo) {
      case TipoCompilato::scenario: decodifica_file_scenario(byte); break;
      case TipoCompilato::profilo: scorri_profilo_linea(byte, [](const PuntoProfilo&) {}); break;
      case TipoCompilato::percorso: decodifica_file_percorso(byte); break;
    }
    return true;
  } catch (const ErroreFormato&) {
    return false;
  }
}

}  // namespace

std::optional<TipoCompilato> tipo_dal_nome(std::string_view nome_file) {
  if (finisce_con(nome_file, "_linea.dat")) return TipoCompilato::profilo;
  if (finisce_con(nome_file, ".sim")) return TipoCompilato::scenario;
  if (finisce_con(nome_file, ".dat")) return TipoCompilato::percorso;
  return std::nullopt;
}

std::string leggi_compilato_forse(const std::string& percorso,
                                  const std::optional<TipoCompilato>& tipo) {
  const std::uint64_t massimi = tipo ? byte_massimi(*tipo)
                                     : std::max({byte_massimi(TipoCompilato::scenario),
                                                 byte_massimi(TipoCompilato::percorso),
                                                 byte_massimi(TipoCompilato::profilo)});
  return leggi_file_regolare(percorso, massimi);
}

std::optional<TipoCompilato> riconosci_compilato(const std::optional<TipoCompilato>& dal_nome,
                                                 std::string_view byte) {
  if (dal_nome) return dal_nome;
  for (const TipoCompilato tipo :
       {TipoCompilato::scenario, TipoCompilato::profilo, TipoCompilato::percorso}) {
    if (ha_la_forma(tipo, byte)) return tipo;
  }
  return std::nullopt;
}

ScenarioCompilato leggi_scenario_compilato(const IdentitaScenario& id, const Cartella& cartella) {
  ScenarioCompilato scenario;
  scenario.record = decodifica_file_scenario(leggi_file_compilato(
      cartella.file(nome_file_scenario(id)), TipoCompilato::scenario));
  scenario.celle = decodifica_file_percorso(leggi_file_compilato(
      cartella.file(nome_file_percorso(id)), TipoCompilato::percorso));
  const std::string profilo = cartella.file(nome_profilo_linea(id));
  std::error_code errore;
  if (std::filesystem::exists(std::filesystem::symlink_status(profilo, errore))) {
    scenario.profilo =
        decodifica_profilo_linea(leggi_file_compilato(profilo, TipoCompilato::profilo));
  }
  return scenario;
}

}  // namespace gs

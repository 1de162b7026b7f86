// Reading compiled files back into tables: the inverse of the writers, for
// the authors' tool. A file that does not have the layout throws ErroreFormato.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "reader/tabelle.h"
#include "base/nomi_file.h"
#include "base/cartella.h"

namespace gs {

// A compiled file whose bytes do not fit its layout; the message says where.
class ErroreFormato : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The 87 records of a scenario file, which must end with the last one.
std::array<Record, kNumeroRecord> decodifica_file_scenario(std::string_view byte);

// The cells of a track file: a whole number of 15-byte cells, at least one.
std::vector<Cella> decodifica_file_percorso(std::string_view byte);

// A line profile file: two columns of the same length of tagged elements,
// tags 2 for the first two points, 5 for later ones, 0 for the unassigned
// rest, assigned points a prefix the same in both columns.
ProfiloLinea decodifica_profilo_linea(std::string_view byte);

// One point of a line profile file, both columns' values together.
struct PuntoProfilo {
  std::size_t indice = 0;
  ProfiloLinea::Etichetta etichetta = ProfiloLinea::kVuoto;
  double x = 0.0;
  double y = 0.0;
};

// Checks a line profile file as decodifica_profilo_linea does and hands its
// points to `punto` in order, holding nothing but the bytes; throws ErroreFormato
// before the first point for bytes that are not the layout. Returns the points
// a column.
std::size_t scorri_profilo_linea(std::string_view byte,
                                 const std::function<void(const PuntoProfilo&)>& punto);

// A compiled scenario as its files hold it; the profile only when its file exists.
struct ScenarioCompilato {
  std::array<Record, kNumeroRecord> record{};
  std::vector<Cella> celle;
  std::optional<ProfiloLinea> profilo;
};

// Reads the compiled files of `id` from `cartella`. A missing or unreadable
// scenario or track file throws ErroreFile; bad bytes throw ErroreFormato.
ScenarioCompilato leggi_scenario_compilato(const IdentitaScenario& id, const Cartella& cartella);

enum class TipoCompilato { scenario, percorso, profilo };

// The most bytes a compiled file of kind `tipo` can hold.
std::uint64_t byte_massimi(TipoCompilato tipo);

// The whole content of a compiled file of kind `tipo`: a regular file no
// larger than its kind allows. Throws ErroreFile naming the path.
std::string leggi_file_compilato(const std::string& percorso, TipoCompilato tipo);

// The kind a file name says ("X_linea.dat", "X.sim", then "X.dat"), if it says one.
std::optional<TipoCompilato> tipo_dal_nome(std::string_view nome_file);

// A compiled file whose kind may be unknown, read whole: a file larger than its
// kind allows (than any kind, when the kind is unknown) is refused before it is
// read. Throws ErroreFile.
std::string leggi_compilato_forse(const std::string& percorso,
                                  const std::optional<TipoCompilato>& tipo);

// The kind of `byte`: `dal_nome` where given, else the first layout the bytes
// fit (scenario, profile, track); none when they fit none.
std::optional<TipoCompilato> riconosci_compilato(const std::optional<TipoCompilato>& dal_nome,
                                                 std::string_view byte);

}  // namespace gs

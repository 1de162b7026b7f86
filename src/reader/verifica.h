// The tolerant pass over both description files: line by line and section by
// section, it never stops at the first problem and reports every one, each
// at the file, line and column of the field at fault. The exact reader stays
// as it is; this pass only tells the author what it will do with their text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gs {

enum class Gravita { errore, avviso };

// Error: the compile fails, or the compiled scenario would not be what the
// author wrote. Warning: it compiles as written, but looks wrong.
struct Diagnostica {
  Gravita gravita = Gravita::errore;
  std::string file;
  std::int64_t riga = 0;     // from 1; 0 for the file as a whole
  std::int64_t colonna = 0;  // from 1, in bytes; 0 for the line as a whole
  std::string codice;        // short and stable: "unknown-keyword", "out-of-order", ...
  std::string messaggio;
};

// The kinds of entry the two files hold.
enum class TipoVoce {
  lunghezza, progressiva, sfondo, ripetizione, pendenza, curva, indicatore, montagna, cartello,
  vetture, massa_frenata, sabbia, orologio, aderenza, velocita, stazione, segnale, rallentamento,
  abbattimento,
};

// One entry as the author wrote it: where it stands and its position in metres
// (0 for kinds without one), so that an error of the exact compile can be put
// at its line.
struct VoceLetta {
  TipoVoce tipo{};
  std::string file;
  std::int64_t riga = 0;
  std::int64_t colonna = 0;
  std::int64_t posizione = 0;
  std::string nome;  // a station's name
};

struct Verifica {
  std::vector<Diagnostica> diagnostiche;
  std::vector<VoceLetta> voci;  // in file order, the line file's first
  std::optional<std::int64_t> lunghezza;  // the route length, where one was read
};

// Checks the two description files, given by their names and bytes.
Verifica verifica_descrizioni(const std::string& nome_linea, std::string_view linea,
                              const std::string& nome_treno, std::string_view treno);

// "FILE:LINE:COL: error: message", the form editors jump to.
std::string testo_diagnostica(const Diagnostica& d);

// Whether any diagnostic is an error (with `severo`, any warning too).
bool con_errori(const std::vector<Diagnostica>& diagnostiche, bool severo = false);

}  // namespace gs

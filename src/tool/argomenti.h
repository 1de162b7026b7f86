// The command line of one scenario_tool command: the shape a command accepts
// (named plain arguments, flags, options with a value) and the parsed form
// the command reads. Bad usage throws ErroreUso.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace gs {

// A command line that does not fit the command; the message says why.
class ErroreUso : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a command accepts.
struct FormaComando {
  std::vector<std::string> posizionali;  // the plain arguments' names: "DIR", "FILE", ...
  std::vector<std::string> interruttori;  // "--force", "--json", ...
  std::vector<std::string> con_valore;    // "--code", "-o", ... each with its value
  std::size_t facoltativi = 0;            // the last this many plain arguments may be left out
};

struct Argomenti {
  std::vector<std::string> posizionali;
  std::set<std::string> interruttori;
  std::map<std::string, std::string> valori;

  bool ha(const std::string& interruttore) const { return interruttori.count(interruttore) > 0; }
  // The option's value, or `predefinito` when it was not given.
  std::string valore(const std::string& opzione, const std::string& predefinito) const;
};

// Parses the arguments that follow the command's name: "--opt value" and
// "--opt=value" alike, "--" ends the options. Returns nothing when "--help"
// or "-h" asks for the command's help. An unknown option, an option given
// twice, a missing value, a flag given a value, or a number of plain
// arguments outside the form's throws ErroreUso.
std::optional<Argomenti> analizza_argomenti(const std::vector<std::string>& argomenti,
                                            const FormaComando& forma);

}  // namespace gs

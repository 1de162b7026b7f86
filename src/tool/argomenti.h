// The command line of scenario_tool: one subcommand's positional arguments,
// its flags and its options with a value. Bad usage throws ErroreUso.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace gs {

// A command line that does not fit the subcommand; the message says why.
class ErroreUso : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a subcommand accepts.
struct FormaComando {
  std::size_t posizionali = 1;           // at least this many plain arguments
  std::set<std::string> interruttori;    // "--force", "--json", ...
  std::set<std::string> con_valore;      // "--code", "-o", ... each followed by its value
  std::size_t facoltativi = 0;           // ... and at most this many more plain ones
};

struct Argomenti {
  std::vector<std::string> posizionali;
  std::set<std::string> interruttori;
  std::map<std::string, std::string> valori;
  bool aiuto = false;  // "--help" or "-h" was given: nothing else is checked

  bool ha(const std::string& interruttore) const { return interruttori.count(interruttore) > 0; }
  // The option's value, or `predefinito` when it was not given.
  std::string valore(const std::string& opzione, const std::string& predefinito) const;
};

// Parses the arguments that follow the subcommand's name. An option given
// twice, an unknown option, a missing value or a number of plain arguments
// outside the form's throws ErroreUso. "--" ends the options.
Argomenti analizza_argomenti(const std::vector<std::string>& argomenti, const FormaComando& forma);

}  // namespace gs

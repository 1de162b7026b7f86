// The codes of the authors' diagnostics (scenario_tool check): one table with
// what each means, an entry that gives it and the usual fix; explain and the
// error catalogue in docs/ read it.
#pragma once

#include <span>
#include <string_view>

namespace gs {

struct VoceDiagnostica {
  std::string_view sigla;        // "unknown-keyword", ...
  std::string_view significato;
  std::string_view esempio;
  std::string_view rimedio;
};

// Every code, in alphabetical order.
std::span<const VoceDiagnostica> voci_diagnostica();

// The row of `sigla`; nullptr for none.
const VoceDiagnostica* voce_diagnostica(std::string_view sigla);

}  // namespace gs

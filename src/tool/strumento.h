// scenario_tool: what authors of new scenarios need around the compiler —
// start from the embedded scenario, compile, inspect and plot.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace gs {

inline constexpr int kStatoStrumentoOk = 0;
inline constexpr int kStatoStrumentoScenario = 1;  // a scenario error (1250/1251 included)
inline constexpr int kStatoStrumentoUso = 2;       // bad usage or a file-system error

// Runs the tool on the arguments after the program's name; returns the exit status.
int esegui_scenario_tool(const std::vector<std::string>& argomenti, std::ostream& uscita,
                         std::ostream& errori);

}  // namespace gs

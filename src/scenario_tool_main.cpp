// scenario_tool: compile, start, inspect and plot scenarios (see --help).
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tool/strumento.h"

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A closed pipe is a failed write to report, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> argomenti(argv + 1, argv + argc);
  return gs::esegui_scenario_tool(argomenti, std::cout, std::cerr);
}

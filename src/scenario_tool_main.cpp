// scenario_tool: compile, start, inspect and plot scenarios (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "tool/strumento.h"

int main(int argc, char** argv) {
  const std::vector<std::string> argomenti(argv + 1, argv + argc);
  return gs::esegui_scenario_tool(argomenti, std::cout, std::cerr);
}

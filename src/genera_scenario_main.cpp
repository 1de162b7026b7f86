// genera_scenario: writes the embedded scenario beside the executable and
// compiles it for the simulator. No arguments, no configuration.
#include <iostream>

#include "base/errore_file.h"
#include "shell/form.h"
#include "shell/piattaforma.h"

int main() {
  try {
    const auto piattaforma = gs::piattaforma_del_sistema(std::cout, std::cerr);
    return gs::esegui_genera_scenario(*piattaforma);
  } catch (const gs::ErroreFile& guasto) {
    std::cerr << "run stopped: " << guasto.what() << std::endl;
    return gs::kStatoErroreFile;
  }
}

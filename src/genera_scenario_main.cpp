// genera_scenario: writes the embedded scenario beside the executable and
// compiles it for the simulator. No arguments, no configuration; only
// "--version" alone prints the version instead.
#include <iostream>
#include <string_view>

#include "base/errore_file.h"
#include "base/versione.h"
#include "shell/form.h"
#include "shell/piattaforma.h"

int main(int argc, char** argv) {
  // Any other arguments are ignored, as they always were.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << gs::testo_versione("genera_scenario") << std::endl;
    return 0;
  }
  try {
    const auto piattaforma = gs::piattaforma_del_sistema(std::cout, std::cerr);
    return gs::esegui_genera_scenario(*piattaforma);
  } catch (const gs::ErroreFile& guasto) {
    std::cerr << "run stopped: " << guasto.what() << std::endl;
    return gs::kStatoErroreFile;
  }
}

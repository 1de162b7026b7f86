#include "base/errore_file.h"

#include <utility>

#include "base/testo_utf8.h"

namespace gs {

ErroreFile::ErroreFile(std::string operazione, std::string percorso, std::string motivo)
    : std::runtime_error(testo_visibile("cannot " + operazione + " '" + percorso + "': " + motivo)),
      operazione_(std::move(operazione)),
      percorso_(std::move(percorso)),
      motivo_(std::move(motivo)) {}

}  // namespace gs

#include "compiler/errore.h"

#include "base/errore_file.h"

namespace gs {

void errore(Piattaforma& piattaforma, const std::string& a) {
  piattaforma.messaggio(" Errore n. " + a);
  throw FineProgramma{kStatoErroreNumerato, a};
}

}  // namespace gs

#include "shell/errore.h"

namespace gs {

void errore(Piattaforma& piattaforma, const std::string& a) {
  piattaforma.messaggio(" Errore n. " + a);
}

}  // namespace gs

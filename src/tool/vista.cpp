#include "tool/vista.h"

namespace gs {

// Placeholder until the viewer lands: an empty model and a bare page.
std::string modello_vista(const Cartella&, const IdentitaScenario&) { return "{}"; }

std::string pagina_vista() { return "<!doctype html><title>scenario</title>\n"; }

std::string pagina_vista_autonoma(const std::string&) { return pagina_vista(); }

}  // namespace gs

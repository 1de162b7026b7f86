#include "tool/documento_json.h"

#include "base/testo_utf8.h"

namespace gs {

DocumentoJson stringa_json(std::string_view testo_1252) { return testo_utf8(testo_1252); }

DocumentoJson stringa_sistema_json(std::string_view testo) { return utf8_o_windows1252(testo); }

DocumentoJson intero_o_nullo(const std::optional<std::int64_t>& valore) {
  return valore ? DocumentoJson(*valore) : DocumentoJson(nullptr);
}

void scrivi_documento(const DocumentoJson& documento, std::ostream& uscita) {
  // Every text is converted on its way in; should one ever slip through
  // unconverted, its bad bytes become U+FFFD rather than end the program.
  uscita << documento.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
         << '\n';
}

}  // namespace gs

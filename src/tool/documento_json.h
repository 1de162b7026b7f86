// The small JSON documents of scenario_tool (check's and compile's results,
// the error object), each built whole before it is written. Text held as
// Windows-1252 bytes, or as system text of unknown encoding, becomes the
// UTF-8 that JSON requires on the way in.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

#include <nlohmann/json.hpp>

namespace gs {

// Members keep the order they were added in.
using DocumentoJson = nlohmann::ordered_json;

// Windows-1252 bytes as a JSON string.
DocumentoJson stringa_json(std::string_view testo_1252);

// Text as it comes from the system, such as a file name: valid UTF-8 stays as
// it is, any other byte is taken as Windows-1252.
DocumentoJson stringa_sistema_json(std::string_view testo);

// The number, or null when there is none.
DocumentoJson intero_o_nullo(const std::optional<std::int64_t>& valore);

// The document on one line, followed by a line end.
void scrivi_documento(const DocumentoJson& documento, std::ostream& uscita);

}  // namespace gs

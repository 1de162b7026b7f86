// A JSON Schema (draft 2020-12) validator for the tests, reading exactly the
// keywords the project's schemas use: type, const, enum, minimum, maximum,
// properties, required, additionalProperties, items, prefixItems, minItems,
// maxItems, oneOf and $ref to "#/$defs/...". Annotations ($schema, $id, title,
// description, $comment) are passed over; any other keyword is refused when the
// schema is loaded, so a schema never asks for a check that silently passes.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace gs::test {

class SchemaJson {
 public:
  // Throws std::invalid_argument for a keyword it does not read, a malformed
  // keyword or a $ref that leads nowhere.
  explicit SchemaJson(nlohmann::json schema);

  // Every way `documento` breaks the schema, each as "PATH: what"; empty when
  // it is valid.
  std::vector<std::string> errori(const nlohmann::json& documento) const;

 private:
  void controlla_schema(const nlohmann::json& schema, const std::string& dove) const;
  const nlohmann::json& risolvi(const std::string& riferimento) const;
  void valida(const nlohmann::json& schema, const nlohmann::json& valore, const std::string& dove,
              std::vector<std::string>& errori) const;
  void valida_oggetto(const nlohmann::json& schema, const nlohmann::json& valore,
                      const std::string& dove, std::vector<std::string>& errori) const;
  void valida_lista(const nlohmann::json& schema, const nlohmann::json& valore,
                    const std::string& dove, std::vector<std::string>& errori) const;

  nlohmann::json radice_;
};

// Reads a schema file; throws std::runtime_error when it is no JSON.
nlohmann::json leggi_json(const std::string& percorso);

}  // namespace gs::test

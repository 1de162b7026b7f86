#include "schema_json.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace gs::test {
namespace {

using nlohmann::json;

const std::set<std::string>& parole_chiave() {
  static const std::set<std::string> parole = {
      "type",        "const",    "enum",     "minimum", "maximum", "properties",
      "required",    "additionalProperties", "items",   "prefixItems", "minItems",
      "maxItems",    "oneOf",    "$ref",     "$defs",   "$schema", "$id",
      "title",       "description", "$comment"};
  return parole;
}

bool di_tipo(const json& valore, const std::string& tipo) {
  if (tipo == "object") return valore.is_object();
  if (tipo == "array") return valore.is_array();
  if (tipo == "string") return valore.is_string();
  if (tipo == "boolean") return valore.is_boolean();
  if (tipo == "null") return valore.is_null();
  if (tipo == "number") return valore.is_number();
  if (tipo == "integer") {
    if (valore.is_number_integer()) return true;
    if (!valore.is_number_float()) return false;
    const double reale = valore.get<double>();
    return std::isfinite(reale) && reale == std::floor(reale);
  }
  throw std::invalid_argument(std::string("unknown type ") += tipo);
}

std::string breve(const json& valore) {
  std::string testo = valore.dump();
  if (testo.size() > 60) testo = testo.substr(0, 57) + "...";
  return testo;
}

}  // namespace

SchemaJson::SchemaJson(json schema) : radice_(std::move(schema)) { controlla_schema(radice_, "#"); }

// Every keyword known, and each of the right shape; subschemas in turn.
void SchemaJson::controlla_schema(const json& schema, const std::string& dove) const {
  if (schema.is_boolean()) return;
  if (!schema.is_object()) throw std::invalid_argument(dove + ": a schema is an object or a boolean");
  for (const auto& [parola, valore] : schema.items()) {
    if (parole_chiave().count(parola) == 0) {
      throw std::invalid_argument(dove + ": keyword " + parola + " is not read by this validator");
    }
    if (parola == "type") {
      const json tipi = valore.is_array() ? valore : json::array({valore});
      for (const json& tipo : tipi) di_tipo(json(), tipo.get<std::string>());
    } else if (parola == "properties" || parola == "$defs") {
      for (const auto& [nome, figlio] : valore.items()) controlla_schema(figlio, dove + "/" + parola + "/" + nome);
    } else if (parola == "additionalProperties" || parola == "items") {
      controlla_schema(valore, dove + "/" + parola);
    } else if (parola == "prefixItems" || parola == "oneOf") {
      if (!valore.is_array()) throw std::invalid_argument(dove + ": " + parola + " needs a list");
      for (std::size_t i = 0; i < valore.size(); ++i) {
        controlla_schema(valore[i], dove + "/" + parola + "/" + std::to_string(i));
      }
    } else if (parola == "required" || parola == "enum") {
      if (!valore.is_array()) throw std::invalid_argument(dove + ": " + parola + " needs a list");
    } else if (parola == "$ref") {
      risolvi(valore.get<std::string>());
    }
  }
}

const json& SchemaJson::risolvi(const std::string& riferimento) const {
  const std::string prefisso = "#/$defs/";
  if (riferimento.rfind(prefisso, 0) != 0) {
    throw std::invalid_argument((std::string("$ref ") += riferimento) += " does not point into #/$defs");
  }
  const std::string nome = riferimento.substr(prefisso.size());
  if (!radice_.contains("$defs") || !radice_["$defs"].contains(nome)) {
    throw std::invalid_argument((std::string("$ref ") += riferimento) += " leads nowhere");
  }
  return radice_["$defs"][nome];
}

std::vector<std::string> SchemaJson::errori(const json& documento) const {
  std::vector<std::string> errori;
  valida(radice_, documento, "", errori);
  return errori;
}

void SchemaJson::valida(const json& schema, const json& valore, const std::string& dove,
                        std::vector<std::string>& errori) const {
  const std::string qui = dove.empty() ? "/" : dove;
  if (schema.is_boolean()) {
    if (!schema.get<bool>()) errori.push_back(qui + ": no value is allowed here");
    return;
  }
  if (schema.contains("$ref")) valida(risolvi(schema["$ref"].get<std::string>()), valore, dove, errori);
  if (schema.contains("type")) {
    const json tipi = schema["type"].is_array() ? schema["type"] : json::array({schema["type"]});
    const bool adatto = std::any_of(tipi.begin(), tipi.end(), [&valore](const json& tipo) {
      return di_tipo(valore, tipo.get<std::string>());
    });
    if (!adatto) errori.push_back(qui + ": " + breve(valore) + " is not of type " + tipi.dump());
  }
  if (schema.contains("const") && valore != schema["const"]) {
    errori.push_back(qui + ": " + breve(valore) + " is not " + schema["const"].dump());
  }
  if (schema.contains("enum")) {
    const json& ammessi = schema["enum"];
    if (std::find(ammessi.begin(), ammessi.end(), valore) == ammessi.end()) {
      errori.push_back(qui + ": " + breve(valore) + " is none of " + ammessi.dump());
    }
  }
  if (valore.is_number()) {
    if (schema.contains("minimum") && valore.get<double>() < schema["minimum"].get<double>()) {
      errori.push_back(qui + ": " + breve(valore) + " is below " + schema["minimum"].dump());
    }
    if (schema.contains("maximum") && valore.get<double>() > schema["maximum"].get<double>()) {
      errori.push_back(qui + ": " + breve(valore) + " is above " + schema["maximum"].dump());
    }
  }
  if (valore.is_object()) valida_oggetto(schema, valore, dove, errori);
  if (valore.is_array()) valida_lista(schema, valore, dove, errori);
  if (schema.contains("oneOf")) {
    int adatti = 0;
    for (const json& ramo : schema["oneOf"]) {
      std::vector<std::string> scarto;
      valida(ramo, valore, dove, scarto);
      if (scarto.empty()) ++adatti;
    }
    if (adatti != 1) {
      errori.push_back(qui + ": " + std::to_string(adatti) + " of the oneOf schemas fit, not 1");
    }
  }
}

void SchemaJson::valida_oggetto(const json& schema, const json& valore, const std::string& dove,
                                std::vector<std::string>& errori) const {
  const std::string qui = dove.empty() ? "/" : dove;
  if (schema.contains("required")) {
    for (const json& nome : schema["required"]) {
      if (!valore.contains(nome.get<std::string>())) {
        errori.push_back(qui + ": the required member " + nome.get<std::string>() + " is missing");
      }
    }
  }
  const json* proprieta = schema.contains("properties") ? &schema["properties"] : nullptr;
  for (const auto& [nome, membro] : valore.items()) {
    const std::string sotto = dove + "/" + nome;
    if (proprieta != nullptr && proprieta->contains(nome)) {
      valida((*proprieta)[nome], membro, sotto, errori);
    } else if (schema.contains("additionalProperties")) {
      const json& altre = schema["additionalProperties"];
      if (altre.is_boolean() && !altre.get<bool>()) {
        errori.push_back(qui + ": the member " + nome + " is not allowed");
      } else {
        valida(altre, membro, sotto, errori);
      }
    }
  }
}

void SchemaJson::valida_lista(const json& schema, const json& valore, const std::string& dove,
                              std::vector<std::string>& errori) const {
  const std::string qui = dove.empty() ? "/" : dove;
  if (schema.contains("minItems") && valore.size() < schema["minItems"].get<std::size_t>()) {
    errori.push_back(qui + ": " + std::to_string(valore.size()) + " items, fewer than " +
                     schema["minItems"].dump());
  }
  if (schema.contains("maxItems") && valore.size() > schema["maxItems"].get<std::size_t>()) {
    errori.push_back(qui + ": " + std::to_string(valore.size()) + " items, more than " +
                     schema["maxItems"].dump());
  }
  std::size_t primi = 0;
  if (schema.contains("prefixItems")) {
    const json& prefisso = schema["prefixItems"];
    primi = std::min(prefisso.size(), valore.size());
    for (std::size_t i = 0; i < primi; ++i) {
      valida(prefisso[i], valore[i], dove + "/" + std::to_string(i), errori);
    }
    primi = prefisso.size();
  }
  if (schema.contains("items")) {
    for (std::size_t i = primi; i < valore.size(); ++i) {
      valida(schema["items"], valore[i], dove + "/" + std::to_string(i), errori);
    }
  }
}

json leggi_json(const std::string& percorso) {
  std::ifstream file(percorso, std::ios::binary);
  if (!file) throw std::runtime_error(std::string("cannot read ") += percorso);
  std::ostringstream testo;
  testo << file.rdbuf();
  return json::parse(testo.str());
}

}  // namespace gs::test

// A small JSON reader for tests: enough to read back what the tools print.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace gs::test {

struct ValoreJson {
  using Oggetto = std::map<std::string, ValoreJson>;
  using Lista = std::vector<ValoreJson>;
  std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<Lista>,
               std::shared_ptr<Oggetto>>
      valore;

  bool nullo() const { return std::holds_alternative<std::nullptr_t>(valore); }
  double numero() const { return std::get<double>(valore); }
  bool booleano() const { return std::get<bool>(valore); }
  const std::string& testo() const { return std::get<std::string>(valore); }
  const Lista& lista() const { return *std::get<std::shared_ptr<Lista>>(valore); }
  const Oggetto& oggetto() const { return *std::get<std::shared_ptr<Oggetto>>(valore); }
  const ValoreJson& operator[](const std::string& chiave) const { return oggetto().at(chiave); }
  const ValoreJson& operator[](std::size_t indice) const { return lista().at(indice); }
};

// Parses one JSON value followed only by blanks; throws std::runtime_error.
ValoreJson analizza_json(const std::string& testo);

}  // namespace gs::test

#include "schema_json.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace gs::test {
namespace {

using nlohmann::json;

// A small schema that uses every keyword the validator reads.
const SchemaJson& schema_prova() {
  static const SchemaJson schema(json::parse(R"({
    "$schema": "https://json-schema.org/draft/2020-12/schema",
    "title": "test",
    "type": "object",
    "required": ["version", "kind", "items"],
    "additionalProperties": false,
    "properties": {
      "version": {"const": 1},
      "kind": {"enum": ["a", "b"]},
      "size": {"$ref": "#/$defs/byte"},
      "pair": {"type": "array", "prefixItems": [{"type": "string"}, {"type": "integer"}],
               "items": false, "minItems": 2},
      "items": {"type": "array", "items": {"$ref": "#/$defs/item"}, "maxItems": 3},
      "maybe": {"type": ["number", "null"]}
    },
    "$defs": {
      "byte": {"type": "integer", "minimum": 0, "maximum": 255},
      "item": {
        "type": "object",
        "required": ["kind"],
        "properties": {"kind": {"type": "string"}, "n": {"type": "integer"}, "s": {"type": "string"}},
        "oneOf": [
          {"properties": {"kind": {"const": "number"}}, "required": ["n"]},
          {"properties": {"kind": {"const": "text"}}, "required": ["s"]}
        ]
      }
    }
  })"));
  return schema;
}

TEST(SchemaJson, AcceptsWhatFits) {
  for (const char* testo : {
           R"({"version": 1, "kind": "a", "items": []})",
           R"({"version": 1.0, "kind": "b", "size": 255, "pair": ["x", 2], "maybe": null,
               "items": [{"kind": "number", "n": 3}, {"kind": "text", "s": "t", "extra": 1}]})",
           R"({"version": 1, "kind": "a", "items": [], "maybe": 2.5, "size": 7.0})",
       }) {
    EXPECT_EQ(schema_prova().errori(json::parse(testo)), std::vector<std::string>{}) << testo;
  }
}

TEST(SchemaJson, RejectsWhatDoesNotFitAndSaysWhere) {
  struct Caso {
    const char* documento;
    const char* errore;
  };
  const Caso casi[] = {
      {R"({"version": 1, "kind": "a"})", "/: the required member items is missing"},
      {R"({"version": 1, "kind": "a", "items": [], "colour": 3})", "the member colour is not allowed"},
      {R"({"version": 2, "kind": "a", "items": []})", "/version: 2 is not 1"},
      {R"({"version": 1, "kind": "c", "items": []})", "/kind: \"c\" is none of"},
      {R"({"version": 1, "kind": "a", "items": {}})", "/items: {} is not of type [\"array\"]"},
      {R"({"version": 1, "kind": "a", "items": [], "size": 256})", "/size: 256 is above 255"},
      {R"({"version": 1, "kind": "a", "items": [], "size": -1})", "/size: -1 is below 0"},
      {R"({"version": 1, "kind": "a", "items": [], "size": 1.5})", "is not of type [\"integer\"]"},
      {R"({"version": 1, "kind": "a", "items": [], "maybe": "x"})", "is not of type [\"number\",\"null\"]"},
      {R"({"version": 1, "kind": "a", "items": [], "pair": [1, 2]})", "/pair/0: 1 is not of type"},
      {R"({"version": 1, "kind": "a", "items": [], "pair": ["x"]})", "/pair: 1 items, fewer than 2"},
      {R"({"version": 1, "kind": "a", "items": [], "pair": ["x", 1, 2]})", "/pair/2: no value is allowed"},
      {R"({"version": 1, "kind": "a", "items": [{}, {}, {}, {}]})", "4 items, more than 3"},
      {R"({"version": 1, "kind": "a", "items": [{"kind": "number"}]})", "/items/0: 0 of the oneOf"},
      {R"({"version": 1, "kind": "a", "items": [{"kind": "text", "n": "3", "s": "t"}]})",
       "/items/0/n: \"3\" is not of type"},
  };
  for (const Caso& caso : casi) {
    const std::vector<std::string> errori = schema_prova().errori(json::parse(caso.documento));
    std::string tutti;
    for (const auto& e : errori) tutti += e + "\n";
    EXPECT_NE(tutti.find(caso.errore), std::string::npos) << caso.documento << "\n" << tutti;
  }
}

// A keyword the validator does not read would pass unchecked: the schema is refused.
TEST(SchemaJson, RefusesASchemaItCannotFullyCheck) {
  for (const char* testo : {
           R"({"type": "object", "patternProperties": {}})",
           R"({"properties": {"a": {"anyOf": []}}})",
           R"({"$ref": "#/$defs/missing"})",
           R"({"$ref": "other.json#/x", "$defs": {}})",
           R"({"type": "decimal"})",
           R"({"required": "a"})",
       }) {
    EXPECT_THROW(SchemaJson(json::parse(testo)), std::invalid_argument) << testo;
  }
}

}  // namespace
}  // namespace gs::test

#include "base/json.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>


namespace gs {
namespace {

TEST(ScrittoreJson, WritesNestedValuesWithCommasWhereTheyBelong) {
  ScrittoreJson j;
  j.apri_oggetto();
  j.chiave("a").intero(-3);
  j.chiave("b").apri_lista().intero(1).nullo().booleano(true).apri_oggetto().chiude_oggetto();
  j.chiude_lista();
  j.chiave("c").apri_lista().chiude_lista();
  j.chiude_oggetto();
  EXPECT_EQ(j.testo(), R"({"a":-3,"b":[1,null,true,{}],"c":[]})");
}

TEST(ScrittoreJson, StringsComeOutAsEscapedUtf8) {
  ScrittoreJson j;
  j.apri_lista().stringa("\"a\\b\"\r\n\t\x01").stringa("citt\xE0 \x80").chiude_lista();
  EXPECT_EQ(j.testo(), "[\"\\\"a\\\\b\\\"\\r\\n\\t\\u0001\",\"citt\xC3\xA0 \xE2\x82\xAC\"]");
  const auto letto = nlohmann::json::parse(j.testo());
  EXPECT_EQ(letto.at(1), "citt\xC3\xA0 \xE2\x82\xAC");
}

TEST(ScrittoreJson, RealsReadBackExactlyAndNonFiniteBecomeNull) {
  const double valori[] = {0.1, -21775.613589406417, 1e300, -0.0, 5e-324};
  for (const double valore : valori) {
    ScrittoreJson j;
    j.apri_lista().reale(valore).chiude_lista();
    EXPECT_EQ(nlohmann::json::parse(j.testo()).at(0).get<double>(), valore) << j.testo();
  }
  ScrittoreJson j;
  j.apri_lista().reale(std::numeric_limits<double>::quiet_NaN()).reale(INFINITY).chiude_lista();
  EXPECT_EQ(j.testo(), "[null,null]");
}

}  // namespace
}  // namespace gs

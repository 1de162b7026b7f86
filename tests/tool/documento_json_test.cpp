#include "tool/documento_json.h"

#include <sstream>

#include <gtest/gtest.h>

namespace gs {
namespace {

TEST(DocumentoJson, TextsComeOutAsUtf8AndStrayBytesNeverEndTheProgram) {
  std::ostringstream uscita;
  DocumentoJson documento;
  documento["converted"] = stringa_json("stazion\xE0");
  documento["unconverted"] = std::string("stazion\xE0");  // a slip: no conversion
  scrivi_documento(documento, uscita);
  EXPECT_EQ(uscita.str(),
            "{\"converted\":\"stazion\xC3\xA0\",\"unconverted\":\"stazion\xEF\xBF\xBD\"}\n");
}

}  // namespace
}  // namespace gs

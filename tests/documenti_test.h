// Reading a written text document back: its bytes and its CR LF lines.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aiuti_test.h"

namespace gs::test {

struct DocumentoLetto {
  std::string byte;
  std::vector<std::string> righe;
  bool tutte_crlf = false;

  // Line n counted from 1, as the documents number them.
  const std::string& riga(std::size_t n) const { return righe.at(n - 1); }
};

inline DocumentoLetto leggi_documento(const std::string& percorso) {
  DocumentoLetto doc;
  doc.byte = leggi_byte(percorso);
  doc.righe = righe_crlf(doc.byte, &doc.tutte_crlf);
  return doc;
}

}  // namespace gs::test

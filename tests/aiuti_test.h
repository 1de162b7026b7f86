// Helpers shared by the tests: a scratch directory removed afterwards, and
// reading a file back as bytes or as CR LF lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/cartella.h"

namespace gs::test {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class CartellaTemporanea {
 public:
  CartellaTemporanea();
  ~CartellaTemporanea();
  CartellaTemporanea(const CartellaTemporanea&) = delete;
  CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

  const std::filesystem::path& percorso() const { return percorso_; }
  Cartella cartella() const { return Cartella{percorso_.string(), '/'}; }
  std::string file(const std::string& nome) const { return (percorso_ / nome).string(); }

 private:
  std::filesystem::path percorso_;
};

std::string leggi_byte(const std::string& percorso);
void scrivi_byte(const std::string& percorso, const std::string& byte);
bool esiste(const std::string& percorso);

// Splits text into lines at CR LF. Sets *tutte_crlf to false when some line
// ends otherwise (a bare CR or LF, or no line end after the last line).
std::vector<std::string> righe_crlf(const std::string& testo, bool* tutte_crlf);

}  // namespace gs::test

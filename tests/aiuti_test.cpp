#include "aiuti_test.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace gs::test {

CartellaTemporanea::CartellaTemporanea() {
  std::random_device casuale;
  const auto base = std::filesystem::temp_directory_path();
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    auto candidato = base / ("gs_test_" + std::to_string(casuale()));
    if (std::filesystem::create_directory(candidato)) {
      percorso_ = std::move(candidato);
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch directory");
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ignora;
  std::filesystem::remove_all(percorso_, ignora);
}

std::string leggi_byte(const std::string& percorso) {
  std::ifstream file(percorso, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + percorso);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void scrivi_byte(const std::string& percorso, const std::string& byte) {
  std::ofstream file(percorso, std::ios::binary | std::ios::trunc);
  file << byte;
  if (!file) throw std::runtime_error("cannot write " + percorso);
}

bool esiste(const std::string& percorso) { return std::filesystem::exists(percorso); }

std::vector<std::string> righe_crlf(const std::string& testo, bool* tutte_crlf) {
  std::vector<std::string> righe;
  *tutte_crlf = true;
  std::string::size_type inizio = 0;
  while (inizio < testo.size()) {
    const auto fine = testo.find("\r\n", inizio);
    if (fine == std::string::npos) {
      righe.push_back(testo.substr(inizio));
      *tutte_crlf = false;
      break;
    }
    std::string riga = testo.substr(inizio, fine - inizio);
    if (riga.find_first_of("\r\n") != std::string::npos) *tutte_crlf = false;
    righe.push_back(std::move(riga));
    inizio = fine + 2;
  }
  return righe;
}

}  // namespace gs::test

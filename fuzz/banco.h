// What both fuzz targets need: a finding that stops the run, and a scratch
// directory of their own with files written into it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "base/cartella.h"

namespace gs::fuzz {

// Reports what broke and aborts, which libFuzzer saves as a finding.
[[noreturn]] inline void scoperta(const std::string& cosa) {
  std::fprintf(stderr, "finding: %s\n", cosa.c_str());
  std::abort();
}

inline void controlla(bool vero, const std::string& cosa) {
  if (!vero) scoperta(cosa);
}

// The scratch directory, made once (in memory where /dev/shm exists) and
// removed with everything in it when the process ends normally.
class Banco {
 public:
  Banco() {
    std::error_code errore;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, errore)) base = std::filesystem::temp_directory_path();
    std::string modello = (base / "gs_fuzz_XXXXXX").string();
    if (mkdtemp(modello.data()) == nullptr) scoperta("cannot make a scratch directory");
    cartella_ = Cartella{modello, '/'};
  }
  ~Banco() {
    std::error_code ignora;
    std::filesystem::remove_all(cartella_.percorso, ignora);
  }
  Banco(const Banco&) = delete;
  Banco& operator=(const Banco&) = delete;

  const Cartella& cartella() const { return cartella_; }

 private:
  Cartella cartella_;
};

inline void scrivi(const std::string& percorso, std::string_view byte) {
  std::ofstream file(percorso, std::ios::binary | std::ios::trunc);
  file.write(byte.data(), static_cast<std::streamsize>(byte.size()));
  file.close();
  if (!file) scoperta("cannot write " + percorso);
}

inline void rimuovi(const std::string& percorso) {
  std::error_code ignora;
  std::filesystem::remove(percorso, ignora);
}

}  // namespace gs::fuzz

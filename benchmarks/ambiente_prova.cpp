#include "ambiente_prova.h"

#include <random>
#include <system_error>

namespace gs {

CartellaProva::CartellaProva() {
  std::random_device casuale;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  do {
    percorso_ = base / ("gs_bench_" + std::to_string(casuale()));
  } while (!std::filesystem::create_directory(percorso_));
}

CartellaProva::~CartellaProva() {
  std::error_code ignora;
  std::filesystem::remove_all(percorso_, ignora);
}

}  // namespace gs

// scenario_peak: the peak resident memory of one compile of the 1,000,000 m
// synthetic route (read, walk, write), as the kernel counts it for this
// process (getrusage, ru_maxrss). A program of its own, so that no timing
// harness adds to the figure. POSIX only; Linux gives ru_maxrss in KiB.
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "ambiente_prova.h"
#include "compiler/memorizza_percorso.h"
#include "percorso_sintetico.h"

namespace {

std::int64_t picco_residente_byte() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return static_cast<std::int64_t>(uso.ru_maxrss) * 1024;
}

double mib(std::int64_t byte) { return static_cast<double>(byte) / (1024.0 * 1024.0); }

// Compiles the synthetic route once; prints the peak before and after it.
int misura() {
  gs::CartellaProva dir;
  gs::scrivi_descrizioni_sintetiche(dir.cartella());
  const std::int64_t prima = picco_residente_byte();

  auto tab = std::make_unique<gs::TabelleScenario>();
  const std::int32_t j = 1;
  gs::memorizza_percorso(j, gs::kSintetico, dir.cartella(), *tab);
  const std::int64_t picco = picco_residente_byte();

  if (const std::string difetto = gs::difetto_percorso_sintetico(*tab); !difetto.empty()) {
    std::fprintf(stderr, "scenario_peak: the synthetic route did not compile cleanly: %s\n",
                 difetto.c_str());
    return 1;
  }
  std::printf("peak resident memory of the process before the compile: %.1f MiB\n", mib(prima));
  std::printf("peak resident memory of the process with the compile:   %.1f MiB (%.1f MB)\n",
              mib(picco), static_cast<double>(picco) / 1e6);
  std::printf("peak_rss_bytes=%lld\n", static_cast<long long>(picco));
  return 0;
}

}  // namespace

int main() {
  try {
    return misura();
  } catch (const std::exception& guasto) {
    std::fprintf(stderr, "scenario_peak: %s\n", guasto.what());
    return 2;
  }
}

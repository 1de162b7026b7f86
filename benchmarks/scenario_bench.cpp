// Timings of the compiler back end: the whole embedded run, a synthetic
// 1,000,000 m route from its description files to the compiled files, and the
// cell walk and the byte images on their own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "compiler/cammino_celle.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza_percorso.h"
#include "reader/memorizza_dati.h"
#include "shell/form.h"

namespace gs {
namespace {

// A platform that shows nothing.
class PiattaformaMuta : public Piattaforma {
 public:
  explicit PiattaformaMuta(Cartella cartella) : cartella_(std::move(cartella)) {}
  Cartella cartella_programma() const override { return cartella_; }
  void mostra_finestra(const Finestra&) override {}
  void ridisegna_finestra() override {}
  void messaggio(const std::string&) override {}
  void segnala_guasto(const std::string&) override {}
  void segnala_errore_scenario(const std::string&) override {}

 private:
  Cartella cartella_;
};

// A scratch directory for one benchmark, removed afterwards.
class CartellaProva {
 public:
  CartellaProva() {
    std::random_device casuale;
    percorso_ = std::filesystem::temp_directory_path() / ("gs_bench_" + std::to_string(casuale()));
    std::filesystem::create_directories(percorso_);
  }
  ~CartellaProva() {
    std::error_code ignora;
    std::filesystem::remove_all(percorso_, ignora);
  }
  Cartella cartella() const { return Cartella{percorso_.string(), '/'}; }

 private:
  std::filesystem::path percorso_;
};

const IdentitaScenario kSintetico{"Sintetico", "10001"};
constexpr int kLunghezzaSintetica = 1000000;

void scrivi_righe(const std::string& percorso, const std::vector<std::string>& righe) {
  std::ofstream file(percorso, std::ios::binary | std::ios::trunc);
  for (const auto& riga : righe) file << riga << "\r\n";
}

// A 1,000,000 m line: a gradient change every km and a curve every 2 km.
std::vector<std::string> linea_sintetica() {
  std::vector<std::string> r = {"inizio_dati",
                                "[generale]",
                                "lunghezza percorso, " + std::to_string(kLunghezzaSintetica),
                                "progressiva chilometrica uno, 0, 0, 0",
                                "progressiva chilometrica due, 0, 0, 0",
                                "progressiva chilometrica tre, 0, 0, 0",
                                "sfondo uno, 1",
                                "sfondo due, 0",
                                "sfondo tre, 0",
                                "ripetizione segnali 4 codici, 0, 0",
                                "[pendenze]"};
  for (int p = 1000; p < kLunghezzaSintetica; p += 1000) {
    r.push_back("pendenza, " + std::to_string(p) + ", " + std::to_string(p / 1000 % 7 - 3));
  }
  r.push_back("[curve]");
  for (int s = 700; s < kLunghezzaSintetica - 2000; s += 2000) {
    r.push_back(std::string(s % 4000 == 700 ? "curvas3, " : "curvad3, ") + std::to_string(s) +
                ", 300");
  }
  r.push_back("[fine]");
  return r;
}

// A train on it: a speed limit every 5 km, a station every 20 km, a slowdown at
// 60 km/h every 10 km and a signal every 2 km.
std::vector<std::string> treno_sintetico() {
  std::vector<std::string> r = {
      "inizio_dati", "[generale]",        "numero vetture, 6", "percentuale massa frenata, 120",
      "sabbia, 300", "orologio, 6, 0, 0", "aderenza, 0, 75"};
  for (int p = 0; p < kLunghezzaSintetica; p += 5000) {
    r.push_back("velocita' limite, " + std::to_string(p) + ", " + (p % 10000 ? "140" : "100"));
  }
  for (int n = 0, p = 15000; p < kLunghezzaSintetica; ++n, p += 20000) {
    r.push_back("stazione, " + std::to_string(p) + ", 2, 400, 0, 0, 0, 1,1,0, 4,1,1, 60, " +
                std::to_string(6 + n / 6) + ", " + std::to_string(n % 6 * 10) + ", 0, STAZIONE " +
                std::to_string(n));
  }
  for (int x = 5500; x < kLunghezzaSintetica; x += 10000) {
    r.push_back("rallentamento, " + std::to_string(x) + ", 60, 1400, 0, 1, 0");
  }
  for (int p = 1000; p < kLunghezzaSintetica; p += 2000) {
    r.push_back("segnale, " + std::to_string(p) + ", 2, 4, 0, 0, 0, 2, 1, 0, 0, 0");
  }
  r.push_back("[fine]");
  return r;
}

void scrivi_descrizioni_sintetiche(const Cartella& cartella) {
  scrivi_righe(cartella.file(nome_descrizione_linea(kSintetico)), linea_sintetica());
  scrivi_righe(cartella.file(nome_descrizione_treno(kSintetico)), treno_sintetico());
}

// The synthetic route read into tables, its description files kept.
TabelleScenario tabelle_sintetiche(const Cartella& cartella) {
  scrivi_descrizioni_sintetiche(cartella);
  TabelleScenario tab;
  tab.flag_profilo = 1;
  memorizza_dati(kSintetico, cartella, tab, OpzioniLettura{false});
  return tab;
}

void BM_EsecuzioneIncorporata(benchmark::State& stato) {
  CartellaProva dir;
  PiattaformaMuta piattaforma(dir.cartella());
  for (auto _ : stato) {
    if (esegui_genera_scenario(piattaforma) != 0) stato.SkipWithError("the embedded run failed");
  }
}
BENCHMARK(BM_EsecuzioneIncorporata)->Unit(benchmark::kMillisecond);

// memorizza_percorso on the synthetic route: read, walk, stamp, write.
void BM_PercorsoSintetico(benchmark::State& stato) {
  CartellaProva dir;
  PiattaformaMuta piattaforma(dir.cartella());
  auto tab = std::make_unique<TabelleScenario>();
  for (auto _ : stato) {
    stato.PauseTiming();
    scrivi_descrizioni_sintetiche(dir.cartella());
    stato.ResumeTiming();
    const std::int32_t j = 1;
    memorizza_percorso(j, kSintetico, dir.cartella(), *tab, piattaforma);
  }
  if (tab->codice_errore != 0 || !percorso_presente(*tab)) {
    stato.SkipWithError(
        ("synthetic route not compiled cleanly, error code " + std::to_string(tab->codice_errore))
            .c_str());
  }
  stato.counters["celle"] = static_cast<double>(tab->celle.size());
}
BENCHMARK(BM_PercorsoSintetico)->Unit(benchmark::kMillisecond);

// Only the reading of the synthetic description files.
void BM_LetturaSintetica(benchmark::State& stato) {
  CartellaProva dir;
  scrivi_descrizioni_sintetiche(dir.cartella());
  for (auto _ : stato) {
    TabelleScenario tab;
    tab.flag_profilo = 1;
    memorizza_dati(kSintetico, dir.cartella(), tab, OpzioniLettura{false});
    benchmark::DoNotOptimize(tab.celle.data());
  }
}
BENCHMARK(BM_LetturaSintetica)->Unit(benchmark::kMillisecond);

// The cell walk over the synthetic track, on a fresh copy each time.
void BM_CamminoCelle(benchmark::State& stato) {
  CartellaProva dir;
  const TabelleScenario letto = tabelle_sintetiche(dir.cartella());
  TabelleScenario tab;
  for (auto _ : stato) {
    stato.PauseTiming();
    tab.celle = letto.celle;
    stato.ResumeTiming();
    cammino_celle(tab);
    benchmark::DoNotOptimize(tab.celle.data());
  }
  stato.counters["celle"] = static_cast<double>(letto.celle.size());
  stato.counters["marcatori"] =
      static_cast<double>(std::count_if(tab.celle.begin(), tab.celle.end(), [](const Cella& c) {
        return c.tipo == kCellaAbbattimento;
      }));
  if (tab.codice_errore != 0) stato.SkipWithError("the synthetic walk met a conflict");
}
BENCHMARK(BM_CamminoCelle)->Unit(benchmark::kMicrosecond);

// The byte images of the three files, built in memory.
void BM_ImmaginiByte(benchmark::State& stato) {
  CartellaProva dir;
  const TabelleScenario tab = tabelle_sintetiche(dir.cartella());
  for (auto _ : stato) {
    benchmark::DoNotOptimize(byte_profilo_linea(tab.profilo));
    benchmark::DoNotOptimize(byte_file_scenario(tab.record));
    benchmark::DoNotOptimize(byte_file_percorso(tab.celle));
  }
  stato.counters["punti"] = static_cast<double>(tab.profilo.x.size());
}
BENCHMARK(BM_ImmaginiByte)->Unit(benchmark::kMillisecond);

// The three files built and written to disk.
void BM_ScritturaFileCompilati(benchmark::State& stato) {
  CartellaProva dir;
  TabelleScenario tab = tabelle_sintetiche(dir.cartella());
  for (auto _ : stato) scrivi_file_compilati(kSintetico, dir.cartella(), tab);
}
BENCHMARK(BM_ScritturaFileCompilati)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gs

BENCHMARK_MAIN();

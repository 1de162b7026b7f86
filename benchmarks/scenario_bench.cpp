// Timings of the program and of the compiler, each beside its yardstick: the
// whole genera_scenario run beside copying its six output files, the compile of
// the 1,000,000 m synthetic route beside copying the three files it writes; then
// the embedded compile and the parts of the long compile on their own.
// Every timed step writes files that do not exist yet, as a copy into a fresh
// directory does: the files of the step before are removed with the clock stopped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ambiente_prova.h"
#include "compiler/cammino_celle.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza_percorso.h"
#include "percorso_sintetico.h"
#include "reader/memorizza_dati.h"
#include "scenario/dati_linea.h"
#include "scenario/dati_treno.h"
#include "shell/form.h"

namespace gs {
namespace {

using NomiFile = std::vector<std::string>;

// The six files a genera_scenario run leaves: three documents, three compiled files.
NomiFile nomi_uscita_esecuzione() {
  const IdentitaScenario id = identita_incorporata();
  return {nome_note(id),          nome_rallentamenti(id), nome_scheda_treno(id),
          nome_profilo_linea(id), nome_file_scenario(id), nome_file_percorso(id)};
}

void rimuovi(const Cartella& cartella, const NomiFile& nomi) {
  for (const auto& nome : nomi) std::filesystem::remove(cartella.file(nome));
}

void copia(const Cartella& da, const Cartella& a, const NomiFile& nomi) {
  for (const auto& nome : nomi) std::filesystem::copy_file(da.file(nome), a.file(nome));
}

bool tutti_presenti(const Cartella& cartella, const NomiFile& nomi) {
  return std::all_of(nomi.begin(), nomi.end(), [&](const std::string& nome) {
    return std::filesystem::is_regular_file(cartella.file(nome));
  });
}

// An empty directory again, with the clock stopped.
void svuota(const CartellaProva& dir) {
  std::filesystem::remove_all(dir.percorso());
  std::filesystem::create_directory(dir.percorso());
}

// The synthetic route compiled once from its description files, which are
// written first; the tables say how it went.
void compila_sintetico(const CartellaProva& dir, TabelleScenario& tab) {
  scrivi_descrizioni_sintetiche(dir.cartella());
  const std::int32_t j = 1;
  memorizza_percorso(j, kSintetico, dir.cartella(), tab);
}

// The synthetic route read into tables, its description files kept.
std::unique_ptr<TabelleScenario> tabelle_sintetiche(const CartellaProva& dir) {
  scrivi_descrizioni_sintetiche(dir.cartella());
  auto tab = std::make_unique<TabelleScenario>();
  tab->flag_profilo = 1;
  memorizza_dati(kSintetico, dir.cartella(), *tab, OpzioniLettura{false});
  return tab;
}

// --- The whole program and its yardstick -------------------------------------

// What genera_scenario does, in this process: the five description files and
// documents written, read back, compiled, the three compiled files written.
// Process start-up is left out, as it is for the copy beside it.
void BM_EsecuzioneIncorporata(benchmark::State& stato) {
  CartellaProva dir;
  PiattaformaMuta piattaforma(dir.cartella());
  const NomiFile uscite = nomi_uscita_esecuzione();
  if (esegui_genera_scenario(piattaforma) != 0 || !tutti_presenti(dir.cartella(), uscite)) {
    stato.SkipWithError("the embedded run did not end cleanly with its six files");
    return;
  }
  for (auto _ : stato) {
    stato.PauseTiming();
    rimuovi(dir.cartella(), uscite);
    stato.ResumeTiming();
    if (esegui_genera_scenario(piattaforma) != 0) stato.SkipWithError("the embedded run failed");
  }
}
BENCHMARK(BM_EsecuzioneIncorporata)->Unit(benchmark::kMillisecond)->UseRealTime();

// Yardstick: the six files of one run copied into an empty directory.
void BM_CopiaUsciteEsecuzione(benchmark::State& stato) {
  CartellaProva sorgente;
  CartellaProva destinazione;
  PiattaformaMuta piattaforma(sorgente.cartella());
  const NomiFile uscite = nomi_uscita_esecuzione();
  if (esegui_genera_scenario(piattaforma) != 0 || !tutti_presenti(sorgente.cartella(), uscite)) {
    stato.SkipWithError("the embedded run did not end cleanly with its six files");
    return;
  }
  for (auto _ : stato) {
    stato.PauseTiming();
    svuota(destinazione);
    stato.ResumeTiming();
    copia(sorgente.cartella(), destinazione.cartella(), uscite);
  }
}
BENCHMARK(BM_CopiaUsciteEsecuzione)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- The 1,000,000 m compile and its yardstick -------------------------------

// memorizza_percorso on the synthetic route: read, walk, stamp, write.
void BM_PercorsoSintetico(benchmark::State& stato) {
  CartellaProva dir;
  auto tab = std::make_unique<TabelleScenario>();
  compila_sintetico(dir, *tab);
  if (const std::string difetto = difetto_percorso_sintetico(*tab); !difetto.empty()) {
    stato.SkipWithError(("the synthetic route did not compile cleanly: " + difetto).c_str());
    return;
  }
  const NomiFile compilati = nomi_compilati_sintetici();
  for (auto _ : stato) {
    stato.PauseTiming();
    rimuovi(dir.cartella(), compilati);
    scrivi_descrizioni_sintetiche(dir.cartella());
    stato.ResumeTiming();
    const std::int32_t j = 1;
    memorizza_percorso(j, kSintetico, dir.cartella(), *tab);
  }
  if (tab->codice_errore != CodiceErrore::nessuno) stato.SkipWithError("the synthetic route failed to compile");
  stato.counters["celle"] = static_cast<double>(tab->celle.size());
  stato.counters["stazioni"] = static_cast<double>(
      std::count_if(tab->celle.begin(), tab->celle.end(),
                    [](const Cella& c) { return c.tipo == kCellaFermata; }));
}
BENCHMARK(BM_PercorsoSintetico)->Unit(benchmark::kMillisecond)->UseRealTime();

// Yardstick: the three compiled files of the synthetic route copied into an
// empty directory.
void BM_CopiaCompilatiSintetici(benchmark::State& stato) {
  CartellaProva sorgente;
  CartellaProva destinazione;
  auto tab = std::make_unique<TabelleScenario>();
  compila_sintetico(sorgente, *tab);
  const NomiFile compilati = nomi_compilati_sintetici();
  if (!difetto_percorso_sintetico(*tab).empty() || !tutti_presenti(sorgente.cartella(), compilati)) {
    stato.SkipWithError("the synthetic route did not compile cleanly");
    return;
  }
  std::uintmax_t byte = 0;
  for (const auto& nome : compilati) byte += std::filesystem::file_size(sorgente.cartella().file(nome));
  for (auto _ : stato) {
    stato.PauseTiming();
    svuota(destinazione);
    stato.ResumeTiming();
    copia(sorgente.cartella(), destinazione.cartella(), compilati);
  }
  stato.SetBytesProcessed(static_cast<std::int64_t>(stato.iterations() * byte));
}
BENCHMARK(BM_CopiaCompilatiSintetici)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- The parts -----------------------------------------------------------------

// The embedded compile alone: its description files read, the walk, the three
// compiled files written.
void BM_CompilazioneIncorporata(benchmark::State& stato) {
  CartellaProva dir;
  const IdentitaScenario id = identita_incorporata();
  const NomiFile compilati = {nome_profilo_linea(id), nome_file_scenario(id), nome_file_percorso(id)};
  auto tab = std::make_unique<TabelleScenario>();
  for (auto _ : stato) {
    stato.PauseTiming();
    rimuovi(dir.cartella(), compilati);
    dati_linea(id, dir.cartella());
    dati_treno(id, dir.cartella());
    stato.ResumeTiming();
    const std::int32_t j = 1;
    memorizza_percorso(j, id, dir.cartella(), *tab);
  }
  if (tab->codice_errore != CodiceErrore::nessuno || !percorso_presente(*tab)) {
    stato.SkipWithError("the embedded compile did not end cleanly");
  }
}
BENCHMARK(BM_CompilazioneIncorporata)->Unit(benchmark::kMillisecond)->UseRealTime();

// Only the reading of the synthetic description files.
void BM_LetturaSintetica(benchmark::State& stato) {
  CartellaProva dir;
  scrivi_descrizioni_sintetiche(dir.cartella());
  auto tab = std::make_unique<TabelleScenario>();
  for (auto _ : stato) {
    *tab = TabelleScenario{};
    tab->flag_profilo = 1;
    memorizza_dati(kSintetico, dir.cartella(), *tab, OpzioniLettura{false});
    benchmark::DoNotOptimize(tab->celle.data());
  }
  if (tab->codice_errore != CodiceErrore::nessuno) stato.SkipWithError("the synthetic route was not read cleanly");
}
BENCHMARK(BM_LetturaSintetica)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cell walk over the synthetic track, on a fresh copy each time.
void BM_CamminoCelle(benchmark::State& stato) {
  CartellaProva dir;
  const auto letto = tabelle_sintetiche(dir);
  auto tab = std::make_unique<TabelleScenario>();
  std::int32_t marcatori = 0;
  for (auto _ : stato) {
    stato.PauseTiming();
    tab->celle = letto->celle;
    stato.ResumeTiming();
    marcatori = cammino_celle(*tab);
    benchmark::DoNotOptimize(tab->celle.data());
  }
  stato.counters["celle"] = static_cast<double>(letto->celle.size());
  stato.counters["marcatori"] = static_cast<double>(marcatori);
  if (tab->codice_errore != CodiceErrore::nessuno) stato.SkipWithError("the synthetic walk met a conflict");
}
BENCHMARK(BM_CamminoCelle)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The byte images of the three files, built in memory.
void BM_ImmaginiByte(benchmark::State& stato) {
  CartellaProva dir;
  const auto tab = tabelle_sintetiche(dir);
  for (auto _ : stato) {
    benchmark::DoNotOptimize(byte_profilo_linea(tab->profilo));
    benchmark::DoNotOptimize(byte_file_scenario(tab->record));
    benchmark::DoNotOptimize(byte_file_percorso(tab->celle));
  }
  stato.counters["punti"] = static_cast<double>(tab->profilo.punti);
}
BENCHMARK(BM_ImmaginiByte)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three files built and written to disk, where none was.
void BM_ScritturaFileCompilati(benchmark::State& stato) {
  CartellaProva dir;
  const auto tab = tabelle_sintetiche(dir);
  const NomiFile compilati = nomi_compilati_sintetici();
  for (auto _ : stato) {
    stato.PauseTiming();
    rimuovi(dir.cartella(), compilati);
    stato.ResumeTiming();
    scrivi_file_compilati(kSintetico, dir.cartella(), *tab);
  }
}
BENCHMARK(BM_ScritturaFileCompilati)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gs

BENCHMARK_MAIN();

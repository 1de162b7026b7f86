// tempo_processi: times two commands as whole processes, side by side. Each
// command is started directly (no shell), its output thrown away, and waited
// for; the two take turns, one untimed round of each first. Before every run the
// command's watched directory is put back as it was at the start: whatever the
// run before left there is removed, with the clock stopped, so every timed run
// writes into the same starting state. Prints the median wall time of each, the
// ratio of the medians and the median peak resident memory (wait4, ru_maxrss).
// POSIX only; Linux gives ru_maxrss in KiB.
//
//   tempo_processi RUNS DIR_A COMMAND_A... -- DIR_B COMMAND_B...
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// One command, the directory its runs write into and what that held at the start.
struct Comando {
  fs::path cartella;
  std::vector<std::string> argomenti;
  std::set<fs::path> iniziali;
  std::vector<double> secondi;
  std::vector<std::int64_t> picchi;  // peak resident memory of each run, bytes
};

struct Esito {
  double secondi = 0;
  std::int64_t picco = 0;
};

std::set<fs::path> contenuto(const fs::path& cartella) {
  std::set<fs::path> voci;
  for (const auto& voce : fs::directory_iterator(cartella)) voci.insert(voce.path());
  return voci;
}

// Removes what runs added to the directory; what it held at the start stays.
void ripristina(const Comando& comando) {
  for (const fs::path& voce : contenuto(comando.cartella)) {
    if (!comando.iniziali.contains(voce)) fs::remove_all(voce);
  }
}

double adesso() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Starts the command with its standard output on /dev/null and waits for it;
// a command that cannot start or does not exit with 0 ends the timing.
Esito esegui(const std::vector<std::string>& argomenti) {
  std::vector<char*> argv;
  for (const std::string& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

  Esito esito;
  pid_t figlio = 0;
  const double inizio = adesso();
  const int errore = posix_spawn(&figlio, argv[0], &azioni, nullptr, argv.data(), environ);
  int stato = 0;
  rusage uso{};
  if (errore == 0) wait4(figlio, &stato, 0, &uso);
  esito.secondi = adesso() - inizio;
  posix_spawn_file_actions_destroy(&azioni);

  if (errore != 0) throw std::system_error(errore, std::generic_category(), "cannot start " + argomenti[0]);
  if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) {
    throw std::runtime_error(argomenti[0] + " did not exit with status 0");
  }
  esito.picco = static_cast<std::int64_t>(uso.ru_maxrss) * 1024;
  return esito;
}

void una_volta(Comando& comando, bool conta) {
  ripristina(comando);
  const Esito esito = esegui(comando.argomenti);
  if (!conta) return;
  comando.secondi.push_back(esito.secondi);
  comando.picchi.push_back(esito.picco);
}

template <typename T>
T mediana(std::vector<T> valori) {
  std::sort(valori.begin(), valori.end());
  const std::size_t n = valori.size();
  return n % 2 ? valori[n / 2] : (valori[n / 2 - 1] + valori[n / 2]) / 2;
}

// DIR COMMAND... up to the end or to the first "--".
Comando leggi_comando(const std::vector<std::string>& parole, std::size_t& i) {
  Comando comando;
  if (i >= parole.size()) throw std::invalid_argument("a directory and a command expected");
  comando.cartella = parole[i++];
  while (i < parole.size() && parole[i] != "--") comando.argomenti.push_back(parole[i++]);
  if (comando.argomenti.empty()) throw std::invalid_argument("no command after " + comando.cartella.string());
  comando.iniziali = contenuto(comando.cartella);
  return comando;
}

void stampa(const char* nome, const Comando& comando) {
  const double ms = mediana(comando.secondi) * 1e3;
  const std::int64_t picco = mediana(comando.picchi);
  std::printf("%s_median_ms=%.3f\n%s_min_ms=%.3f\n%s_peak_rss_bytes=%lld\n", nome, ms, nome,
              *std::min_element(comando.secondi.begin(), comando.secondi.end()) * 1e3, nome,
              static_cast<long long>(picco));
}

int misura(const std::vector<std::string>& parole) {
  std::size_t i = 0;
  const int volte = std::stoi(parole.at(i++));
  if (volte < 1) throw std::invalid_argument("RUNS must be at least 1");
  Comando a = leggi_comando(parole, i);
  if (i >= parole.size()) throw std::invalid_argument("\"--\" and a second command expected");
  ++i;
  Comando b = leggi_comando(parole, i);

  una_volta(a, false);
  una_volta(b, false);
  for (int volta = 0; volta < volte; ++volta) {
    una_volta(a, true);
    una_volta(b, true);
  }
  ripristina(a);
  ripristina(b);
  stampa("a", a);
  stampa("b", b);
  std::printf("ratio=%.3f\n", mediana(a.secondi) / mediana(b.secondi));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return misura(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& guasto) {
    std::fprintf(stderr, "tempo_processi: %s\n", guasto.what());
    std::fprintf(stderr, "usage: tempo_processi RUNS DIR_A COMMAND_A... -- DIR_B COMMAND_B...\n");
    return 2;
  }
}

#include "processo_sfondo.h"

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace gs::test {

namespace {

std::chrono::milliseconds resto_fino(std::chrono::steady_clock::time_point scadenza) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(scadenza -
                                                               std::chrono::steady_clock::now());
}

}  // namespace

ProcessoSfondo::ProcessoSfondo(const std::vector<std::string>& argomenti) {
  int tubo[2];
  if (pipe(tubo) != 0) throw std::runtime_error("cannot make a pipe");
  // Only the program gets the writing end, as its standard output.
  fcntl(tubo[0], F_SETFD, FD_CLOEXEC);
  fcntl(tubo[1], F_SETFD, FD_CLOEXEC);
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  posix_spawn_file_actions_adddup2(&azioni, tubo[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&azioni, tubo[0]);
  posix_spawn_file_actions_addclose(&azioni, tubo[1]);
  std::vector<char*> argv;
  for (const std::string& argomento : argomenti) argv.push_back(const_cast<char*>(argomento.c_str()));
  argv.push_back(nullptr);
  const int esito = posix_spawn(&pid_, argv[0], &azioni, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&azioni);
  close(tubo[1]);
  uscita_ = tubo[0];
  if (esito != 0) {
    close(uscita_);
    throw std::runtime_error("cannot start " + argomenti.front());
  }
}

ProcessoSfondo::~ProcessoSfondo() {
  if (!terminato_) {
    kill(pid_, SIGKILL);
    int stato = 0;
    waitpid(pid_, &stato, 0);
  }
  close(uscita_);
}

bool ProcessoSfondo::leggi(std::chrono::milliseconds limite) {
  if (fine_uscita_) return false;
  pollfd attesa{uscita_, POLLIN, 0};
  if (poll(&attesa, 1, static_cast<int>(std::max<long long>(limite.count(), 0))) <= 0) return false;
  char blocco[4096];
  const ssize_t n = read(uscita_, blocco, sizeof blocco);
  if (n <= 0) {
    fine_uscita_ = true;
    return false;
  }
  letto_.append(blocco, static_cast<std::size_t>(n));
  return true;
}

std::optional<std::string> ProcessoSfondo::riga(std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  while (letto_.find('\n') == std::string::npos) {
    if (fine_uscita_ || resto_fino(scadenza).count() <= 0) return std::nullopt;
    leggi(resto_fino(scadenza));
  }
  const auto fine = letto_.find('\n');
  std::string trovata = letto_.substr(0, fine);
  letto_.erase(0, fine + 1);
  return trovata;
}

std::string ProcessoSfondo::resto(std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  while (!fine_uscita_ && resto_fino(scadenza).count() > 0) leggi(resto_fino(scadenza));
  std::string tutto;
  tutto.swap(letto_);
  return tutto;
}

void ProcessoSfondo::segnala(int segnale) { kill(pid_, segnale); }

std::optional<int> ProcessoSfondo::attendi(std::chrono::milliseconds limite) {
  const auto scadenza = std::chrono::steady_clock::now() + limite;
  for (;;) {
    int stato = 0;
    const pid_t finito = waitpid(pid_, &stato, WNOHANG);
    if (finito == pid_) {
      terminato_ = true;
      if (WIFEXITED(stato)) return WEXITSTATUS(stato);
      return std::nullopt;
    }
    if (resto_fino(scadenza).count() <= 0) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace gs::test

#endif

// A program run in the background from the tests (POSIX only): its standard
// output read line by line as it comes, signals sent to it, its exit awaited
// with a time limit. A process still running at the end is killed.
#pragma once

#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace gs::test {

class ProcessoSfondo {
 public:
  // Starts argomenti[0] (a path) with its arguments; standard error is the tests'.
  explicit ProcessoSfondo(const std::vector<std::string>& argomenti);
  ~ProcessoSfondo();
  ProcessoSfondo(const ProcessoSfondo&) = delete;
  ProcessoSfondo& operator=(const ProcessoSfondo&) = delete;

  // The next line of standard output (without its end), or nothing when the
  // output ends or `limite` passes first.
  std::optional<std::string> riga(std::chrono::milliseconds limite);
  // Everything the output still holds until it ends, within `limite`.
  std::string resto(std::chrono::milliseconds limite);

  void segnala(int segnale);

  // The exit status, or nothing when it did not exit (by a signal, or not
  // within `limite`).
  std::optional<int> attendi(std::chrono::milliseconds limite);

 private:
  // Reads what is there within `limite`; false when the output has ended or nothing came.
  bool leggi(std::chrono::milliseconds limite);

  pid_t pid_ = -1;
  int uscita_ = -1;
  bool terminato_ = false;
  bool fine_uscita_ = false;
  std::string letto_;
};

}  // namespace gs::test

#endif

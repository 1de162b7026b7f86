// The two ways a run ends early: a numbered error shown to the user, and a
// failing file operation outside the reader. Both unwind to the program's main.
#pragma once

#include <stdexcept>
#include <string>

namespace gs {

// Thrown once the program must end at once with `stato` as its exit status
// (after `errore` has shown its message, whose number is `numero`).
struct FineProgramma {
  int stato;
  std::string numero;
};

// A file could not be created, written, closed or deleted. Ends the run with
// exit status 2; files finished before it stay on disk.
class ErroreFile : public std::runtime_error {
 public:
  ErroreFile(std::string operazione, std::string percorso, std::string motivo);

  const std::string& operazione() const { return operazione_; }
  const std::string& percorso() const { return percorso_; }
  const std::string& motivo() const { return motivo_; }

 private:
  std::string operazione_;
  std::string percorso_;
  std::string motivo_;
};

inline constexpr int kStatoErroreNumerato = 1;
inline constexpr int kStatoErroreFile = 2;

}  // namespace gs

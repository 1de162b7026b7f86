// A file operation that failed: what was tried, on which path, and the
// system's reason. Every file the programs write or read reports this way.
#pragma once

#include <stdexcept>
#include <string>

namespace gs {

// A file could not be created, written, closed, read or deleted. The message
// shows control bytes of the path escaped; percorso() keeps it as it is.
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

}  // namespace gs

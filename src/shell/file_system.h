// The file operations of the writers: create-if-missing, delete, and a file
// opened for writing with truncation. Every failure throws ErroreFile naming
// the operation, the path and the system's reason.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace gs {

// Creates the file empty if it does not exist; leaves an existing file as it is.
void crea_se_manca(const std::string& percorso);

// Deletes the file; a missing file is a failure.
void elimina(const std::string& percorso);

// A file opened for writing from byte 0; a missing file is created, an
// existing one truncated. chiudi() must be called to learn whether all
// bytes reached the disk; the destructor only releases the handle.
class FileUscita {
 public:
  explicit FileUscita(std::string percorso);
  ~FileUscita();
  FileUscita(const FileUscita&) = delete;
  FileUscita& operator=(const FileUscita&) = delete;

  void scrivi(std::string_view byte);
  void chiudi();
  const std::string& percorso() const { return percorso_; }

 private:
  std::string percorso_;
  std::FILE* file_;
};

// Replaces a file by the writers' fixed moves: create it if missing, delete it,
// then open it anew, empty. Nothing of an older, longer file survives.
FileUscita sostituisci(const std::string& percorso);

}  // namespace gs

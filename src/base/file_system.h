// The writers' output file: opened for writing with truncation, written,
// closed. Every failure throws ErroreFile naming the operation, the path and
// the system's reason.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace gs {

// A file opened for writing from byte 0; a missing file is created, an
// existing one truncated. chiudi() must be called to learn whether all
// bytes reached the disk; the destructor only releases the handle.
class FileUscita {
 public:
  explicit FileUscita(std::string percorso);
  // The file at `percorso`, which must exist, kept whole and written from
  // byte `posizione` on.
  FileUscita(std::string percorso, std::size_t posizione);
  ~FileUscita();
  FileUscita(const FileUscita&) = delete;
  FileUscita& operator=(const FileUscita&) = delete;

  void scrivi(std::string_view byte);
  void chiudi();
  const std::string& percorso() const { return percorso_; }

 private:
  void senza_buffer();

  std::string percorso_;
  std::FILE* file_;
};

// Replaces a file: opened for writing with truncation, a missing file is
// created and nothing of an older, longer file survives.
FileUscita sostituisci(const std::string& percorso);

// A second way into a file being written: another part of it, from byte
// `posizione` on, written alongside the first. Throws ErroreFile.
FileUscita prosegui(const std::string& percorso, std::size_t posizione);

}  // namespace gs

#include "base/file_system.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "base/errore_file.h"

namespace gs {
namespace {

std::string motivo_di_sistema(int numero) { return std::strerror(numero); }

}  // namespace

FileUscita::FileUscita(std::string percorso)
    : percorso_(std::move(percorso)), file_(std::fopen(percorso_.c_str(), "wb")) {
  if (file_ == nullptr) throw ErroreFile("create", percorso_, motivo_di_sistema(errno));
  senza_buffer();
}

FileUscita::FileUscita(std::string percorso, std::size_t posizione)
    : percorso_(std::move(percorso)), file_(std::fopen(percorso_.c_str(), "r+b")) {
  if (file_ == nullptr) throw ErroreFile("open", percorso_, motivo_di_sistema(errno));
  senza_buffer();
  const auto massima = static_cast<std::size_t>(std::numeric_limits<long>::max());
  const bool raggiungibile = posizione <= massima;
  if (raggiungibile && std::fseek(file_, static_cast<long>(posizione), SEEK_SET) == 0) return;
  const std::string motivo = raggiungibile
                                 ? motivo_di_sistema(errno)
                                 : "byte " + std::to_string(posizione) + " is out of reach";
  std::fclose(std::exchange(file_, nullptr));
  throw ErroreFile("write", percorso_, motivo);
}

// The writers hand over whole files or large blocks: each goes to the system
// in one call, with no copy through a buffer of the library's.
void FileUscita::senza_buffer() { std::setvbuf(file_, nullptr, _IONBF, 0); }

FileUscita::~FileUscita() {
  if (file_ != nullptr) std::fclose(file_);
}

void FileUscita::scrivi(std::string_view byte) {
  if (byte.empty()) return;
  if (std::fwrite(byte.data(), 1, byte.size(), file_) != byte.size()) {
    throw ErroreFile("write", percorso_, motivo_di_sistema(errno));
  }
}

void FileUscita::chiudi() {
  std::FILE* file = std::exchange(file_, nullptr);
  if (file == nullptr) return;
  const bool scritto = std::fflush(file) == 0 && std::ferror(file) == 0;
  const int errore_scrittura = errno;
  if (std::fclose(file) != 0) throw ErroreFile("close", percorso_, motivo_di_sistema(errno));
  if (!scritto) throw ErroreFile("write", percorso_, motivo_di_sistema(errore_scrittura));
}

FileUscita sostituisci(const std::string& percorso) { return FileUscita(percorso); }

FileUscita prosegui(const std::string& percorso, std::size_t posizione) {
  return FileUscita(percorso, posizione);
}

}  // namespace gs

#include "base/lettura_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/errore_file.h"

#ifdef _WIN32
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gs {
namespace {

std::string tipo_non_regolare(std::filesystem::file_type tipo) {
  switch (tipo) {
    case std::filesystem::file_type::directory: return "it is a directory, not a file";
    case std::filesystem::file_type::fifo: return "it is a FIFO, not a regular file";
    case std::filesystem::file_type::socket: return "it is a socket, not a regular file";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character: return "it is a device, not a regular file";
    default: return "it is not a regular file";
  }
}

void controlla_dimensione(const std::string& percorso, std::uint64_t dimensione,
                          std::uint64_t massimo) {
  if (dimensione > massimo) {
    throw ErroreFile("read", percorso,
                     "it holds " + std::to_string(dimensione) + " bytes, more than the " +
                         std::to_string(massimo) + " such a file can hold");
  }
}

#ifdef _WIN32

// Windows has no FIFO a plain open would wait on: the type is checked first.
std::string leggi(const std::string& percorso, std::uint64_t massimo) {
  std::error_code errore;
  const auto stato = std::filesystem::status(percorso, errore);
  if (errore) throw ErroreFile("read", percorso, errore.message());
  if (!std::filesystem::is_regular_file(stato)) {
    throw ErroreFile("read", percorso, tipo_non_regolare(stato.type()));
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(percorso.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw ErroreFile("read", percorso, std::strerror(errno));
  const auto dimensione = std::filesystem::file_size(percorso, errore);
  if (errore) throw ErroreFile("read", percorso, errore.message());
  controlla_dimensione(percorso, dimensione, massimo);
  std::string byte(static_cast<std::size_t>(dimensione), '\0');
  const std::size_t letti = std::fread(byte.data(), 1, byte.size(), file.get());
  if (std::ferror(file.get()) != 0) throw ErroreFile("read", percorso, std::strerror(errno));
  byte.resize(letti);
  return byte;
}

#else

std::filesystem::file_type tipo_posix(mode_t modo) {
  if (S_ISDIR(modo)) return std::filesystem::file_type::directory;
  if (S_ISFIFO(modo)) return std::filesystem::file_type::fifo;
  if (S_ISSOCK(modo)) return std::filesystem::file_type::socket;
  if (S_ISCHR(modo)) return std::filesystem::file_type::character;
  if (S_ISBLK(modo)) return std::filesystem::file_type::block;
  return std::filesystem::file_type::unknown;
}

class Descrittore {
 public:
  explicit Descrittore(int fd) : fd_(fd) {}
  ~Descrittore() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descrittore(const Descrittore&) = delete;
  Descrittore& operator=(const Descrittore&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Opened without blocking, so that a FIFO is seen for what it is instead of
// waiting for a writer; the type and the size are checked on the open file.
std::string leggi(const std::string& percorso, std::uint64_t massimo) {
  const Descrittore file(::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd() < 0) throw ErroreFile("read", percorso, std::strerror(errno));
  struct stat stato {};
  if (::fstat(file.fd(), &stato) != 0) throw ErroreFile("read", percorso, std::strerror(errno));
  if (!S_ISREG(stato.st_mode)) {
    throw ErroreFile("read", percorso, tipo_non_regolare(tipo_posix(stato.st_mode)));
  }
  controlla_dimensione(percorso, static_cast<std::uint64_t>(stato.st_size), massimo);
  std::string byte(static_cast<std::size_t>(stato.st_size), '\0');
  std::size_t letti = 0;
  while (letti < byte.size()) {
    const ssize_t n = ::read(file.fd(), byte.data() + letti, byte.size() - letti);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ErroreFile("read", percorso, std::strerror(errno));
    if (n == 0) break;  // the file shrank while it was read
    letti += static_cast<std::size_t>(n);
  }
  byte.resize(letti);
  return byte;
}

#endif

}  // namespace

std::string leggi_file_regolare(const std::string& percorso, std::uint64_t massimo) {
  return leggi(percorso, massimo);
}

void controlla_file_regolare(const std::string& percorso) {
  std::error_code errore;
  const auto stato = std::filesystem::status(percorso, errore);
  if (errore) throw ErroreFile("read", percorso, errore.message());
  if (!std::filesystem::is_regular_file(stato)) {
    throw ErroreFile("read", percorso, tipo_non_regolare(stato.type()));
  }
}

}  // namespace gs

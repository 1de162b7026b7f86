#include "base/blocco_cartella.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <cwctype>
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace gs {

#ifdef _WIN32

namespace {

// A named mutex stands for the directory: its name is a hash of the
// directory's full path, in lower case as Windows compares names.
std::wstring nome_mutex(const std::string& cartella) {
  std::error_code errore;
  std::wstring percorso = std::filesystem::absolute(cartella, errore).wstring();
  if (errore) percorso = std::filesystem::path(cartella).wstring();
  std::uint64_t hash = 1469598103934665603ull;
  for (const wchar_t c : percorso) {
    hash ^= static_cast<std::uint64_t>(std::towlower(c));
    hash *= 1099511628211ull;
  }
  wchar_t cifre[17];
  for (int i = 15; i >= 0; --i, hash >>= 4) cifre[i] = L"0123456789abcdef"[hash & 0xF];
  cifre[16] = L'\0';
  return std::wstring(L"Local\\genera_scenario.") + cifre;
}

}  // namespace

BloccoCartella::BloccoCartella(const std::string& cartella) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, nome_mutex(cartella).c_str());
  if (mutex == nullptr) return;
  const DWORD esito = WaitForSingleObject(mutex, INFINITE);
  if (esito != WAIT_OBJECT_0 && esito != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return;
  }
  mutex_ = mutex;
}

BloccoCartella::~BloccoCartella() {
  if (mutex_ == nullptr) return;
  ReleaseMutex(static_cast<HANDLE>(mutex_));
  CloseHandle(static_cast<HANDLE>(mutex_));
}

bool BloccoCartella::tenuto() const { return mutex_ != nullptr; }

#else

BloccoCartella::BloccoCartella(const std::string& cartella) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  int esito = 0;
  do {
    esito = ::flock(fd, LOCK_EX);
  } while (esito != 0 && errno == EINTR);
  if (esito != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

BloccoCartella::~BloccoCartella() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool BloccoCartella::tenuto() const { return fd_ >= 0; }

#endif

}  // namespace gs

// Watching files by polling: their presence, size and modification time,
// compared at each look, which works alike on every system and file system.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gs {

// A file as one look sees it.
struct StatoFile {
  bool presente = false;
  std::uintmax_t dimensione = 0;
  std::filesystem::file_time_type modifica{};

  bool operator==(const StatoFile&) const = default;
};

// Never throws: a file that cannot be looked at counts as absent.
StatoFile stato_file(const std::string& percorso);

// The files' states at the last look.
class Sorveglianza {
 public:
  // Takes the first look.
  explicit Sorveglianza(std::vector<std::string> percorsi);

  // Looks again: true when a file appeared, went, or changed its size or its
  // modification time since the last look.
  bool cambiata();

 private:
  std::vector<StatoFile> guarda() const;

  std::vector<std::string> percorsi_;
  std::vector<StatoFile> stati_;
};

// Looks every `intervallo` on a thread of its own and, after a change, calls
// `su_cambio` there. A change whose call threw is handled again at the next
// look. Stops (waiting for a call in progress) at ferma() or when destroyed.
class SorveglianzaPeriodica {
 public:
  SorveglianzaPeriodica(Sorveglianza sorveglianza, std::chrono::milliseconds intervallo,
                        std::function<void()> su_cambio);
  ~SorveglianzaPeriodica();
  SorveglianzaPeriodica(const SorveglianzaPeriodica&) = delete;
  SorveglianzaPeriodica& operator=(const SorveglianzaPeriodica&) = delete;

  void ferma();

 private:
  void ciclo();
  // Waits one interval; false once stopped.
  bool attendi();

  Sorveglianza sorveglianza_;
  std::chrono::milliseconds intervallo_;
  std::function<void()> su_cambio_;
  std::mutex guardia_;
  std::condition_variable sveglia_;
  bool fermata_ = false;
  std::thread filo_;  // last: it starts once everything it uses is ready
};

}  // namespace gs

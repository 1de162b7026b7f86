// An advisory lock on a directory, held while a run writes there: runs that
// take it in the same directory follow one another instead of interleaving.
#pragma once

#include <string>

namespace gs {

// Taken on construction (waiting while another process holds it), released
// on destruction. Where the system offers no lock on the directory (it cannot
// be opened for reading, say), nothing is held and the run goes on unguarded.
class BloccoCartella {
 public:
  explicit BloccoCartella(const std::string& cartella);
  ~BloccoCartella();
  BloccoCartella(const BloccoCartella&) = delete;
  BloccoCartella& operator=(const BloccoCartella&) = delete;

  bool tenuto() const;

 private:
#ifdef _WIN32
  void* mutex_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace gs

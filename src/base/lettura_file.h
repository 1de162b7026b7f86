// Reading an input file whole, safely: only a regular file is read (a FIFO, a
// device or a directory is refused at once, without blocking), and only up to
// the size its kind of file can have.
#pragma once

#include <cstdint>
#include <string>

namespace gs {

// The whole content of the regular file at `percorso`. Throws ErroreFile
// naming the path when it is missing, is not a regular file, holds more than
// `massimo` bytes (checked before reading) or cannot be read.
std::string leggi_file_regolare(const std::string& percorso, std::uint64_t massimo);

// Throws ErroreFile naming `percorso` unless a regular file stands there
// (through a link); opens nothing, so it never waits.
void controlla_file_regolare(const std::string& percorso);

}  // namespace gs

// SHA-256 of a byte string, as lower-case hex: the tests pin whole files by it.
#pragma once

#include <string>
#include <string_view>

namespace gs::test {

std::string sha256_hex(std::string_view byte);

}  // namespace gs::test

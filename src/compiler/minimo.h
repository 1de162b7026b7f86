// minimo: the smaller of two values, the first on a tie.
#pragma once

namespace gs {

template <typename T>
T minimo(const T& x, const T& y) {
  return x > y ? y : x;
}

}  // namespace gs

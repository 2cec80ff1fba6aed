// Unsigned 32-bit numbers as the code table and the registry store them:
// four bytes, least significant first.
#pragma once

#include <cstdint>

namespace navo {

inline uint32_t ReadU32Le(const unsigned char* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
         uint32_t(bytes[3]) << 24;
}

inline void WriteU32Le(unsigned char* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace navo

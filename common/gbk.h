// GBK character stepping, as every program of the system steps through text:
// a lead byte 0x81..0xFE starts a double-byte character, any byte from 0x40
// up may follow it as its trail byte; every other byte is a character alone.
#pragma once

#include <cstddef>

namespace navo {

constexpr unsigned char GbkFirstLeadByte = 0x81;
constexpr unsigned char GbkLastLeadByte = 0xFE;
constexpr unsigned char GbkFirstTrailByte = 0x40;  // the last is 0xFF

constexpr bool IsGbkLeadByte(unsigned char byte) {
  return byte >= GbkFirstLeadByte && byte <= GbkLastLeadByte;
}

constexpr bool IsGbkTrailByte(unsigned char byte) { return byte >= GbkFirstTrailByte; }

// A lead byte and a trail byte: one double-byte character.
constexpr bool IsGbkCharacter(unsigned char lead, unsigned char trail) {
  return IsGbkLeadByte(lead) && IsGbkTrailByte(trail);
}

// The bytes of the character at text: 2 for a lead byte followed by
// anything but the NUL, else 1. Text never ends inside a character.
inline size_t GbkCharacterBytes(const char* text) {
  return IsGbkLeadByte(static_cast<unsigned char>(text[0])) && text[1] != '\0' ? 2 : 1;
}

}  // namespace navo

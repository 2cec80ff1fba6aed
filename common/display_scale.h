// Lengths at the display's scale. Every size the programs fix in pixels is
// meant for a display of 96 DPI (100 %); on another display it is taken
// times dpi / 96, rounded to the nearest pixel with halves away from zero,
// as Windows rounds its own (MulDiv), so that a program's sizes and the
// system's agree to the pixel.
#pragma once

#include <cstdint>

namespace navo {

constexpr int DefaultDpi = 96;

// A DPI the system could not tell (0) is the default one.
constexpr int DpiOrDefault(int dpi) { return dpi > 0 ? dpi : DefaultDpi; }

// value times numerator / denominator (denominator above 0), to the nearest
// whole number, halves away from zero.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
  const int64_t product = int64_t{value} * numerator;
  const int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

// value, meant for 96 DPI, at dpi.
constexpr int ScaleToDpi(int value, int dpi) { return MulDivRounded(value, dpi, DefaultDpi); }

}  // namespace navo

// Screen geometry of the root chart window: points, sizes and rectangles in
// signed 32-bit screen pixels, right and bottom exclusive.
#pragma once

#include <cstdint>

namespace navo::rootwin {

struct Point {
  int32_t x;
  int32_t y;
};

struct Size {
  int32_t w;
  int32_t h;
};

struct Offset {
  int32_t dx;
  int32_t dy;
};

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const Size& a, const Size& b) { return a.w == b.w && a.h == b.h; }
inline bool operator==(const Offset& a, const Offset& b) { return a.dx == b.dx && a.dy == b.dy; }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace navo::rootwin

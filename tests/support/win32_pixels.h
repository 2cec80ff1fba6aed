// Pixels for the Win32 test drivers: a memory canvas to draw on and the
// screen's pixels, both as 0x00RRGGBB values, row by row from the top.
#pragma once

#include <windows.h>

#include <vector>

namespace navo::testing {

// A 32-bit top-down DIB section selected into a memory device context.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~PixelCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  HDC dc() const { return dc_; }

  std::vector<DWORD> Pixels() const {
    GdiFlush();
    const DWORD* first = static_cast<const DWORD*>(bits_);
    std::vector<DWORD> pixels(first, first + width_ * height_);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void* bits_ = nullptr;
};

// What the screen shows in a rectangle, in screen coordinates.
inline std::vector<DWORD> ScreenPixels(int left, int top, int width, int height) {
  PixelCanvas canvas(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.dc(), 0, 0, width, height, screen, left, top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return canvas.Pixels();
}

}  // namespace navo::testing

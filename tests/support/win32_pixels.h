// Pixels for the Win32 test drivers: a memory canvas to draw on, the screen's
// pixels (a rectangle or the whole screen, saved as a .bmp if asked), all as
// 0x00RRGGBB values, row by row from the top.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace navo::testing {

// A COLORREF (0x00BBGGRR) as a pixel value (0x00RRGGBB).
inline DWORD AsPixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

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

// The whole screen at one moment.
struct Screen {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;  // 0x00RRGGBB, top-down
  DWORD At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

inline Screen CaptureScreen() {
  Screen screen;
  screen.width = GetSystemMetrics(SM_CXSCREEN);
  screen.height = GetSystemMetrics(SM_CYSCREEN);
  screen.pixels = ScreenPixels(0, 0, screen.width, screen.height);
  return screen;
}

// Saves the screen as a 24-bit bottom-up .bmp.
inline bool SaveBitmap(const Screen& screen, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const DWORD rowSize = (DWORD(screen.width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + rowSize * screen.height;
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = screen.width;
  info.biHeight = screen.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::fwrite(&header, sizeof header, 1, file);
  std::fwrite(&info, sizeof info, 1, file);
  std::vector<BYTE> row(rowSize, 0);
  for (int y = screen.height - 1; y >= 0; --y) {
    for (int x = 0; x < screen.width; ++x) {
      const DWORD pixel = screen.At(x, y);
      row[3 * x] = BYTE(pixel), row[3 * x + 1] = BYTE(pixel >> 8),
              row[3 * x + 2] = BYTE(pixel >> 16);
    }
    std::fwrite(row.data(), 1, rowSize, file);
  }
  std::fclose(file);
  return true;
}

}  // namespace navo::testing

// Text on the screen as the test drivers find it: a text drawn in a given
// font and colour on the background around it, matched against the screen's
// pixels somewhere in a region; and the characters that a font draws as the
// box it draws for a character no font has.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/win32_pixels.h"

namespace navo::testing {

// The colour most pixels of a region have: the background text is drawn on.
inline DWORD BackgroundOf(const Screen& screen, const RECT& area) {
  std::vector<std::pair<DWORD, int>> counts;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, screen.height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, screen.width); ++x) {
      const DWORD pixel = screen.At(x, y);
      size_t i = 0;
      while (i < counts.size() && counts[i].first != pixel) ++i;
      if (i == counts.size()) counts.push_back({pixel, 0});
      ++counts[i].second;
    }
  DWORD best = 0;
  int most = -1;
  for (const auto& [pixel, count] : counts)
    if (count > most) best = pixel, most = count;
  return best;
}

// The smallest block around the pixels of a text other than the background,
// the text drawn in font and colour on background (a pixel value).
struct InkBlock {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
};

inline InkBlock DrawnInk(const std::wstring& text, const LOGFONTW& logical, COLORREF colour,
                         DWORD background) {
  const int width = 1200, height = 120;
  PixelCanvas canvas(width, height);
  HBRUSH brush = CreateSolidBrush(RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF));
  RECT all = {0, 0, width, height};
  FillRect(canvas.dc(), &all, brush);
  DeleteObject(brush);
  HFONT font = CreateFontIndirectW(&logical);
  HGDIOBJ old = SelectObject(canvas.dc(), font);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), colour);
  TextOutW(canvas.dc(), 20, 20, text.c_str(), int(text.size()));
  SelectObject(canvas.dc(), old);
  DeleteObject(font);
  const std::vector<DWORD> pixels = canvas.Pixels();
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (pixels[size_t(y) * width + x] != background)
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
        bottom = std::max(bottom, y);
  InkBlock block;
  if (right < left) return block;
  block.width = right - left + 1, block.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) block.pixels.push_back(pixels[size_t(y) * width + x]);
  return block;
}

// Screen and memory bitmap may blend an antialiased edge a little apart.
inline bool BlendedAlike(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int difference = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (difference > 48 || difference < -48) return false;
  }
  return true;
}

// True when the block is shown somewhere inside area: every pixel alike but
// for a few blended edges (a wrong glyph differs in dozens).
inline bool ShowsInk(const Screen& screen, const RECT& area, const InkBlock& block) {
  constexpr int MaxBlendingDifferences = 6;
  if (block.pixels.empty()) return false;
  const int right = std::min<int>(area.right, screen.width) - block.width;
  const int bottom = std::min<int>(area.bottom, screen.height) - block.height;
  for (int top = std::max<int>(area.top, 0); top <= bottom; ++top)
    for (int left = std::max<int>(area.left, 0); left <= right; ++left) {
      int differing = 0;
      for (int y = 0; y < block.height && differing <= MaxBlendingDifferences; ++y)
        for (int x = 0; x < block.width; ++x)
          if (!BlendedAlike(screen.At(left + x, top + y), block.pixels[size_t(y) * block.width + x]) &&
              ++differing > MaxBlendingDifferences)
            break;
      if (differing <= MaxBlendingDifferences) return true;
    }
  return false;
}

// One character drawn black on white in font, with the fonts Windows links
// to it, as pixels of a fixed cell.
inline std::vector<DWORD> DrawnCharacter(wchar_t character, const LOGFONTW& logical) {
  const int size = 160;
  PixelCanvas canvas(size, size);
  RECT all = {0, 0, size, size};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = CreateFontIndirectW(&logical);
  HGDIOBJ old = SelectObject(canvas.dc(), font);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  TextOutW(canvas.dc(), 10, 10, &character, 1);
  SelectObject(canvas.dc(), old);
  DeleteObject(font);
  return canvas.Pixels();
}

// How many characters of text (other than spaces) font draws exactly as it
// draws U+0378, a code point no font has: as its missing-glyph box.
inline int MissingGlyphBoxes(const std::wstring& text, const LOGFONTW& logical) {
  const std::vector<DWORD> box = DrawnCharacter(L'\x0378', logical);
  int boxes = 0;
  for (wchar_t character : text)
    if (character != L' ' && DrawnCharacter(character, logical) == box) ++boxes;
  return boxes;
}

// The font of a dialog whose template names face at points, as the dialog
// manager makes it.
inline LOGFONTW DialogTemplateFont(const wchar_t* face, int points) {
  LOGFONTW logical = {};
  HDC dc = GetDC(nullptr);
  logical.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(nullptr, dc);
  logical.lfCharSet = DEFAULT_CHARSET;
  logical.lfQuality = PROOF_QUALITY;
  lstrcpynW(logical.lfFaceName, face, LF_FACESIZE);
  return logical;
}

// The same font in 宋体, the face a program falls back to for Chinese text.
inline LOGFONTW InSongti(LOGFONTW logical) {
  lstrcpynW(logical.lfFaceName, L"\u5B8B\u4F53", LF_FACESIZE);
  logical.lfCharSet = GB2312_CHARSET;
  return logical;
}

inline NONCLIENTMETRICSW NonClientMetrics() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics;
}

// How many leading characters of a window's title the system shows in its
// caption, in the caption font and the caption text colour of an active or
// an inactive window (a title too long for its window ends under the
// caption's buttons).
inline size_t CaptionCharactersShown(const Screen& screen, HWND window, const std::wstring& title) {
  RECT area;
  GetWindowRect(window, &area);
  POINT client = {0, 0};
  ClientToScreen(window, &client);
  area.bottom = client.y;
  const DWORD background = BackgroundOf(screen, area);
  const LOGFONTW font = NonClientMetrics().lfCaptionFont;
  for (size_t shown = title.size(); shown > 0; --shown)
    for (int colour : {COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTIONTEXT})
      if (ShowsInk(screen, area,
                   DrawnInk(title.substr(0, shown), font, GetSysColor(colour), background)))
        return shown;
  return 0;
}

// A control's text as drawn in font, in the window text colour, inside the
// control's area on the screen.
inline bool ControlShows(const Screen& screen, const RECT& area, const std::wstring& text,
                         const LOGFONTW& font) {
  const DWORD background = BackgroundOf(screen, area);
  return ShowsInk(screen, area, DrawnInk(text, font, GetSysColor(COLOR_WINDOWTEXT), background));
}

}  // namespace navo::testing

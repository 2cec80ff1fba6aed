// The font choice of text_font.h on Win32: asks the font actually selected
// for the glyphs of the text, and makes the font chosen when it is another.
#include "common/win32_text_font.h"

#include <cstdint>

#include "common/gbk_wide.h"
#include "common/text_font.h"

namespace navo {
namespace {

// The programs' texts are short; a longer one is judged by its first units.
constexpr int MaxTextUnits = 256;

// The glyphs of text in the font selected into dc, asked of that font alone
// (the fonts Windows links to it are not consulted); 0 when it cannot say.
size_t SelectedFontGlyphs(HDC dc, const wchar_t* text, uint16_t (&glyphs)[MaxTextUnits]) {
  int count = 0;
  while (count < MaxTextUnits && text[count] != L'\0') ++count;
  WORD indices[MaxTextUnits];
  if (count == 0 ||
      GetGlyphIndicesW(dc, text, count, indices, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return 0;
  for (int i = 0; i < count; ++i) glyphs[i] = indices[i];
  return static_cast<size_t>(count);
}

}  // namespace

HFONT FontHoldingText(HFONT font, const wchar_t* text) {
  if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTW logical;
  if (GetObjectW(font, sizeof logical, &logical) != sizeof logical) return font;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  uint16_t glyphs[MaxTextUnits];
  const size_t count = SelectedFontGlyphs(dc, text, glyphs);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);

  char face[2 * LF_FACESIZE];
  WideToGbk(logical.lfFaceName, face, sizeof face);
  const TextFont named = {face, static_cast<int>(logical.lfHeight)};
  const TextFont chosen = ChooseTextFont(named, glyphs, count);
  if (chosen.face == named.face) return font;
  GbkToWide(chosen.face, logical.lfFaceName, LF_FACESIZE);
  logical.lfHeight = chosen.height;
  // The Chinese character set, so that Windows takes the Chinese face.
  logical.lfCharSet = GB2312_CHARSET;
  HFONT made = CreateFontIndirectW(&logical);
  return made ? made : font;
}

void UseFontHoldingText(HWND control, const wchar_t* text) {
  HFONT own = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HFONT chosen = FontHoldingText(own, text);
  if (chosen != own) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
}

}  // namespace navo

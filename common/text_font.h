// The font a program's own Chinese text is drawn in: the one its dialog
// template names ("System" in the lookup window, 华文新魏 in the installer's),
// unless that font lacks a glyph of the text.
// Then 宋体 at the same size, which every Windows with Chinese support has: on
// a Western or Japanese system the template's "System" font, a raster font
// without Chinese glyphs (and Windows links no other font to a raster font),
// would show boxes. On a Chinese system the named fonts hold the texts, and
// nothing changes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace navo {

// GBK, as an escape so that every compiler gives these bytes: 宋体.
constexpr char ChineseFallbackFace[] = "\xCB\xCE\xCC\xE5";

// What the font's glyph query gives a character the font lacks (Windows:
// GetGlyphIndices with GGI_MARK_NONEXISTING_GLYPHS).
constexpr uint16_t MissingGlyph = 0xFFFF;

struct TextFont {
  const char* face;  // GBK
  int height;        // as the font was asked for (LOGFONT lfHeight)
};

// The font for a text whose glyphs in the named font are glyphs[0..count).
inline TextFont ChooseTextFont(const TextFont& named, const uint16_t* glyphs, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (glyphs[i] == MissingGlyph) return TextFont{ChineseFallbackFace, named.height};
  return named;
}

}  // namespace navo

// The programs' own Chinese texts in a font that holds their glyphs, on
// Win32: the glyph query of the font actually selected, and the choice of
// text_font.h applied to a font or to a control.
#pragma once

#include <windows.h>

namespace navo {

// font itself when it holds every glyph of text, otherwise a new font: 宋体 of
// the same height, kept for the life of the program.
HFONT FontHoldingText(HFONT font, const wchar_t* text);

// Gives control a font that holds every glyph of text (its own text, or a
// sample of what it will hold), as FontHoldingText chooses from its font.
void UseFontHoldingText(HWND control, const wchar_t* text);

}  // namespace navo

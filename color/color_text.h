// The text form of the current color shown in EDITCOPY and copied to the
// clipboard: HTML ('#rrggbb'), the RGB macro ('RGB( r, g, b )'), the decimal
// COLORREF, CSS 'rgb(r g b)' or CSS 'hsl(h s% l%)', as the CopyFormat setting
// chooses. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>

#include "color/color.h"

// The settings that shape the text of a color.
struct TextForm {
    int32_t CopyFormat;   // 0 HTML, 1 RGB macro, 2 DWORD, 3 CSS rgb(), 4 CSS hsl()
    int32_t HexCase;      // 0 lower case, 1 upper case
    int32_t SharpPrefix;  // 1: the HTML form starts with '#'
};

// What a missing setting gives.
constexpr TextForm kDefaultTextForm = {0, 0, 1};
// The copy formats there are: 0 .. kCopyFormatCount - 1.
constexpr int32_t kCopyFormatCount = 5;

// ---- Globals owned by the color text ----
extern TextForm g_textForm;

// The longest text any form produces is 'RGB( 255, 255, 255 )'.
constexpr size_t kCopyTextSize = 32;

// Writes the text of the current color into `text` (all `size` bytes cleared
// first). A CopyFormat outside 0..4 gives the empty text.
void FormatCopyText(char* text, size_t size);
// The same for a COLORREF 0x00BBGGRR (a palette swatch): its HTML form made
// from hex texts in the current letter case.
void FormatColorRefText(uint32_t color, char* text, size_t size);

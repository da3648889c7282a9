// The CSS Color 4 texts of a color: "rgb(38 120 200)" and "hsl(210 68% 47%)",
// space-separated as that level writes them. Plain C++: no platform headers,
// no globals; the channels come in as arguments.
#pragma once

#include <cstddef>
#include <cstdint>

#include "color/color.h"

// The longest text either form produces is "hsl(359 100% 100%)" (18 bytes).
constexpr size_t kCssTextSize = 24;

// Hue, saturation and lightness in whole units, each rounded to the nearest,
// halves up: hue 0..359 (a hue that rounds to 360 is 0), saturation and
// lightness 0..100 percent. Computed on whole numbers from the 8-bit channels,
// not from the program's own hue/saturation/value. Greys have hue 0 and
// saturation 0.
struct Hsl {
    int32_t hue;
    int32_t saturation;
    int32_t lightness;
};
Hsl RgbToHsl(Rgb color);

// "rgb(r g b)" and "hsl(h s% l%)". Every byte of `text` is cleared first; a
// text that does not fit is cut off, NUL-terminated. Channels outside 0..255
// are taken as the nearest end.
void FormatCssRgb(Rgb color, char* text, size_t size);
void FormatCssHsl(Rgb color, char* text, size_t size);

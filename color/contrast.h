// The contrast of two colors as the web accessibility guidelines (WCAG 2.x)
// measure it: the relative luminance of each color from its linearised sRGB
// channels, the ratio (lighter + 0.05) / (darker + 0.05), its text with two
// decimals cut off (never rounded up) and the four pass marks. Plain C++: no
// platform headers, no globals; the channels come in as arguments.
#pragma once

#include <cstddef>
#include <cstdint>

#include "color/color.h"

// White's luminance on the scale that ScaledLuminance uses: 10,000 (the
// channel weights 0.2126, 0.7152, 0.0722 in ten-thousandths) times 16,473 (so
// that the straight part of the curve, v / 255 / 12.92, is 5v for v <= 10).
// Every luminance made of channels 0..10 and 255 is then a whole number, and a
// ratio of two of them is exact in a double: black on white is 21.00, never
// 20.99, and (255, 2, 2) against (7, 2, 9) is 5.15 exactly.
constexpr double kWhiteLuminance = 164730000.0;

// The relative luminance of a color times kWhiteLuminance. Channels outside
// 0..255 are taken as the nearest end.
double ScaledLuminance(Rgb color);

// The contrast ratio of two colors in whole hundredths, cut off and not
// rounded: 447 for 4.478..., 2100 for black and white, 100 for one color with
// itself. The order of the two colors does not matter.
int32_t ContrastHundredths(Rgb first, Rgb second);

// The pass marks, judged on the ratio itself: a ratio of 4.4999 fails AA for
// normal text. Judging on the cut-off hundredths gives the same answer, as
// every mark is a whole number of hundredths.
struct ContrastVerdicts {
    bool normalAA;   // >= 4.5
    bool normalAAA;  // >= 7
    bool largeAA;    // >= 3
    bool largeAAA;   // >= 4.5
};
ContrastVerdicts JudgeContrast(int32_t hundredths);

// The ratio as text with two decimals: "4.47:1", "21.00:1". Every byte of
// `text` is cleared first; a text that does not fit is cut off, NUL-terminated.
constexpr size_t kContrastTextSize = 16;
void FormatContrastRatio(int32_t hundredths, char* text, size_t size);

// What the swatch's tip shows: the current color against the reference color
// (with its pass marks), against white and against black.
struct ContrastReport {
    int32_t againstReference;  // hundredths
    int32_t againstWhite;
    int32_t againstBlack;
    ContrastVerdicts verdicts;  // of againstReference
};
ContrastReport ReportContrast(Rgb current, Rgb reference);

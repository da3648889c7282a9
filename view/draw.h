// Drawing of the off-screen surfaces, and the three primitives the painting
// code shares: the sunken edge, the triangle marker and the engraved label.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr int MarkerUp = 0, MarkerLeft = 1;

// Each redraws its surface in full from the current state and ends with the sunken edge.
void DrawSwatchSurface();    // upper half the current color, lower half the reference color
void DrawChannelBars();      // the three channel gradients, each with its percentage
void DrawHueSatSurface();    // hue 2x, saturation 100 - y at the current value; g_current stays as it was
void DrawValueBarSurface();  // value 100 - y at the current hue and saturation, rows 1..99
// The same, only when the color the picture shows changed (a drag across the
// field leaves the value as it is, a drag along the bar hue and saturation);
// true when drawn.
bool DrawHueSatSurfaceIfChanged();
bool DrawValueBarSurfaceIfChanged();
void DrawPaletteSurface();   // the 128 swatches of Palette, 16 by 8, one Geo().paletteCellPitch apart

// A three-dimensional frame through the corner points of `corners` (all four
// edges drawn on): a sunken one has the shadow along the left and top and the
// highlight along the right and bottom, a raised one the other way round.
void DrawFrame(HDC target, const RECT& corners, bool sunken);
// The sunken frame along the border of a surface of width × height, one pixel wide.
void DrawSunkenEdge(HDC target, int width, int height);
// The sunken frame of a surface shown at the 96-DPI rectangle `shownAt`, over
// the physical pixels of that rectangle's border pixels: one pixel wide at 96
// DPI, as wide as a 96-DPI pixel scaled at any other.
struct Surface;
void DrawSurfaceEdge(const Surface& s, const RECT& shownAt);
// A hollow triangle with its apex at (x, y); MarkerUp spans x-5..x+5, y..y+10,
// MarkerLeft x..x+10, y-5..y+5. Any other orientation draws nothing.
void DrawMarker(HDC target, int x, int y, int orientation);
// An engraved label in the target's font and background mode: a highlight copy
// one pixel down and right, then the text itself; leaves the text color COLOR_BTNTEXT.
void DrawShadowText(HDC target, int x, int y, const char* text);

// The percentage text of a channel bar: "%.1f%%" of channel * 100/255 (0 -> "0.0%", 128 -> "50.2%").
void FormatChannelPercent(int32_t channel, char* text, size_t size);

// The main window's tips: the swatch's, with the contrast of the current color
// against the reference color, white and black, and one for each palette
// swatch, with its color in the current copy format and its number.
#pragma once

#include <windows.h>

#include <string>

#include "color/color.h"

// The tools of the tip control: the swatch, and the palette cell n as kFirstCellTool + n.
constexpr UINT_PTR kSwatchTool = 1;
constexpr UINT_PTR kFirstCellTool = 100;

// At the first WM_MOUSEMOVE of the main window: the tip control (into
// g_window.tips) made with its tools, each on its rectangle of the geometry
// table and with its text. Making it at start would cost the start as much as
// the rest of the window.
void CreateTipsAtFirstMove(HWND window);
// A mouse message of the main window at (x, y), as the message gives them,
// handed to the tip control (once made), which shows and hides its tips from
// them; not the moves of a drag with the left button.
void RelayMouseToTips(HWND window, UINT message, int x, int y, UINT keyFlags);
// The tools' rectangles and the tips' width for the window's DPI now (after
// WM_DPICHANGED); nothing while the tips are not made yet.
void PlaceTips(HWND window);

// The swatch's tip, lines apart by "\r\n": the ratio against the reference
// color, the pass marks for normal and for large text, the ratios against
// white and against black.
std::string ContrastTipText(Rgb current, Rgb reference);
// The swatch's tip follows the current and reference colors (once the tips are made).
void UpdateContrastTip();
// A palette swatch's tip: its color as the copy format writes it, and its number 1..128.
std::string SwatchTipText(int cell);
// A shown swatch's tip takes the palette as it is now.
void RefreshShownTip();

// WM_NOTIFY of the main window: a palette swatch's tip asks for its text.
LRESULT OnNotify(HWND window, int id, NMHDR* header);

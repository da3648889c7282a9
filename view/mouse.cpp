#include "view/mouse.h"

#include "color/color.h"
#include "color/palette.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/tips.h"

namespace {

// Where the palette reacts: its surface less the first column and row, i.e. its cells.
RECT PaletteArea() { return LessFirstColumnAndRow(Logical().palette); }

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : (v > high ? high : v); }

// Column x of a channel bar shows the channel at x - the bar's left edge.
void DragChannel(HWND window, const RECT& bar, int32_t& channel, char* hex, size_t hexSize, int x)
{
    channel = Clamp(x - bar.left, 0, 255);
    FormatHex(channel, hex, hexSize);
    RgbToHsv();
    RefreshDuringDrag(window);
}

void DragRgbPickers(HWND window, int x, int y)
{
    const Geometry& g = Logical();
    ColorState& c = g_current;
    if (Contains(g.redDrag, x, y))
        DragChannel(window, g.redBar, c.red, c.redHex, sizeof c.redHex, x);
    else if (Contains(g.greenDrag, x, y))
        DragChannel(window, g.greenBar, c.green, c.greenHex, sizeof c.greenHex, x);
    else if (Contains(g.blueDrag, x, y))
        DragChannel(window, g.blueBar, c.blue, c.blueHex, sizeof c.blueHex, x);
}

// Row y of the value bar shows value 100 - y, and of the field saturation
// 100 - y; column x of the field shows hue 2x (rows and columns counted from
// the picker's top-left).
void DragHsvPickers(HWND window, int x, int y)
{
    const Geometry& g = Logical();
    bool acted = false;
    if (Contains(g.valueDrag, x, y)) {
        g_current.value = Clamp(g.valueBar.bottom - y, 0, 100);
        acted = true;
    }
    if (Contains(g.saturationDrag, x, y)) {
        g_current.saturation = Clamp(g.hueSat.bottom - y, 0, 100);
        acted = true;
    }
    if (Contains(g.hueDrag, x, y)) {
        g_current.hue = Clamp(2 * (x - g.hueSat.left), 0, 359);
        acted = true;
    }
    if (!acted)
        return;
    // Hue, saturation and value stay as set; they are not derived again.
    CompleteFromHsv();
    RefreshDuringDrag(window);
}

// The pickers of the mode shown, less their first column and row, and the palette.
bool InPickCursorArea(int x, int y)
{
    if (InPaletteArea(x, y))
        return true;
    const Geometry& g = Logical();
    const RECT* pickers[3] = {};
    if (g_displayMode == 0) {
        pickers[0] = &g.valueBar;
        pickers[1] = &g.hueSat;
    } else if (g_displayMode == 1) {
        pickers[0] = &g.redBar;
        pickers[1] = &g.greenBar;
        pickers[2] = &g.blueBar;
    }
    for (const RECT* picker : pickers)
        if (picker != nullptr && Contains(LessFirstColumnAndRow(*picker), x, y))
            return true;
    return false;
}

void PickThenDrag(HWND window, int x, int y)
{
    if (InPaletteArea(x, y))
        PickPaletteCell(window, PaletteCellAt(x, y));
    DragPickers(window, x, y);
}

// A coordinate of a mouse message, read as an unsigned 16-bit value as the
// platform packs it, turned into the 96-DPI coordinate it lies in: every area
// below is a 96-DPI one.
int LogicalOfMessage(int v) { return ToLogical(v & 0xFFFF); }

// The press that closed the capture overlay (a pick or a cancel) is still down
// over this window: its moves and its release are not a drag or a store here.
// A message showing that button up ends it, and so does a new press of it
// (the release happened where this window did not see it).
bool PartOfOverlayPress(UINT keyFlags)
{
    if ((keyFlags & g_window.ignoredButton) == 0)
        g_window.ignoredButton = 0;
    return g_window.ignoredButton != 0;
}

// Whether `button` coming up or down ends the overlay's press.
bool EndsOverlayPress(UINT button)
{
    const bool ends = g_window.ignoredButton == button;
    if (ends)
        g_window.ignoredButton = 0;
    return ends;
}

}  // namespace

int PaletteCellAt(int x, int y)
{
    const RECT area = PaletteArea();
    const int pitch = Logical().paletteCellPitch;
    return ((y - area.top) / pitch) * kPaletteColumns + (x - area.left) / pitch;
}

bool InPaletteArea(int x, int y)
{
    return Contains(PaletteArea(), x, y);
}

RECT PaletteCellRect(int cell)
{
    // The cell's 96-DPI rectangle, in the window's pixels: what PaletteCellAt gives it.
    const RECT area = PaletteArea();
    const LONG pitch = Logical().paletteCellPitch;
    const LONG left = area.left + pitch * (cell % kPaletteColumns);
    const LONG top = area.top + pitch * (cell / kPaletteColumns);
    return RECT{Scale(left), Scale(top), Scale(left + pitch), Scale(top + pitch)};
}

void PickPaletteCell(HWND window, int cell)
{
    TakeColor(window, Palette[cell]);
}

void StorePaletteCell(int cell)
{
    SetCursor(g_window.storeCursor);
    Palette[cell] = ColorRefOf(g_current);
    g_paletteChanged = true;
    RedrawPalette();
}

void DragPickers(HWND window, int x, int y)
{
    if (g_displayMode == 1)
        DragRgbPickers(window, x, y);
    else if (g_displayMode == 0)
        DragHsvPickers(window, x, y);
}

void ChooseCursor(HWND window)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    SetCursor(InPickCursorArea(ToLogical(p.x), ToLogical(p.y)) ? g_window.pickCursor : g_window.arrowCursor);
}

void OnLButtonDown(HWND window, BOOL, int x, int y, UINT keyFlags)
{
    RelayMouseToTips(window, WM_LBUTTONDOWN, x, y, keyFlags);
    EndsOverlayPress(MK_LBUTTON);
    PickThenDrag(window, LogicalOfMessage(x), LogicalOfMessage(y));
}

void OnMouseMove(HWND window, int x, int y, UINT keyFlags)
{
    CreateTipsAtFirstMove(window);
    RelayMouseToTips(window, WM_MOUSEMOVE, x, y, keyFlags);
    if (PartOfOverlayPress(keyFlags))
        return;
    x = LogicalOfMessage(x);
    y = LogicalOfMessage(y);
    if (keyFlags & MK_RBUTTON) {
        if (InPaletteArea(x, y))
            StorePaletteCell(PaletteCellAt(x, y));
    } else if (keyFlags & MK_LBUTTON) {
        PickThenDrag(window, x, y);
    }
}

void OnLButtonUp(HWND window, int x, int y, UINT keyFlags)
{
    RelayMouseToTips(window, WM_LBUTTONUP, x, y, keyFlags);
    if (EndsOverlayPress(MK_LBUTTON))
        return;
    g_reference = g_current;
    RedrawSwatch();
}

void OnRButtonDown(HWND window, BOOL, int x, int y, UINT keyFlags)
{
    RelayMouseToTips(window, WM_RBUTTONDOWN, x, y, keyFlags);
    EndsOverlayPress(MK_RBUTTON);
    x = LogicalOfMessage(x);
    y = LogicalOfMessage(y);
    if (InPaletteArea(x, y))
        StorePaletteCell(PaletteCellAt(x, y));
}

void OnRButtonUp(HWND window, int x, int y, UINT keyFlags)
{
    RelayMouseToTips(window, WM_RBUTTONUP, x, y, keyFlags);
    EndsOverlayPress(MK_RBUTTON);
}

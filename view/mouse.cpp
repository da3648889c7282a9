#include "view/mouse.h"

#include "color/color.h"
#include "store/palette_data.h"
#include "store/settings_data.h"
#include "view/layout.h"
#include "view/paint.h"

namespace {

// An inclusive rectangle of client coordinates.
struct Area {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// Where clicks and drags act. They reach over the marker strips and a small margin.
constexpr Area kPaletteArea = {172, 154, 395, 265};
constexpr Area kRedDragArea = {131, 18, 395, 41};
constexpr Area kGreenDragArea = {131, 59, 395, 82};
constexpr Area kBlueDragArea = {131, 100, 395, 123};
constexpr Area kValueDragArea = {361, 13, 389, 121};
constexpr Area kSaturationDragArea = {161, 16, 349, 118};
constexpr Area kHueDragArea = {159, 18, 341, 126};

// Where the eyedropper shows: the drawn pickers less their first column and row.
constexpr Area kValueCursorArea = {361, 18, 379, 116};
constexpr Area kFieldCursorArea = {161, 18, 339, 116};
constexpr Area kRedCursorArea = {136, 18, 390, 31};
constexpr Area kGreenCursorArea = {136, 59, 390, 72};
constexpr Area kBlueCursorArea = {136, 100, 390, 113};

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v < low ? low : (v > high ? high : v); }

void DragChannel(HWND window, int32_t& channel, char* hex, size_t hexSize, int x)
{
    channel = Clamp(x - 135, 0, 255);
    FormatHex(channel, hex, hexSize);
    RgbToHsv();
    RefreshDuringDrag(window);
}

void DragRgbPickers(HWND window, int x, int y)
{
    if (x <= 130)
        return;
    ColorState& c = g_current;
    if (kRedDragArea.Contains(x, y))
        DragChannel(window, c.red, c.redHex, sizeof c.redHex, x);
    else if (kGreenDragArea.Contains(x, y))
        DragChannel(window, c.green, c.greenHex, sizeof c.greenHex, x);
    else if (kBlueDragArea.Contains(x, y))
        DragChannel(window, c.blue, c.blueHex, sizeof c.blueHex, x);
}

void DragHsvPickers(HWND window, int x, int y)
{
    bool acted = false;
    if (kValueDragArea.Contains(x, y)) {
        g_current.value = Clamp(117 - y, 0, 100);
        acted = true;
    }
    if (kSaturationDragArea.Contains(x, y)) {
        g_current.saturation = Clamp(117 - y, 0, 100);
        acted = true;
    }
    if (kHueDragArea.Contains(x, y)) {
        g_current.hue = Clamp(2 * x - 320, 0, 359);
        acted = true;
    }
    if (!acted)
        return;
    // Hue, saturation and value stay as set; they are not derived again.
    CompleteFromHsv();
    RefreshDuringDrag(window);
}

bool InPickCursorArea(int x, int y)
{
    if (kPaletteArea.Contains(x, y))
        return true;
    if (g_settings.DisplayMode == 0)
        return kValueCursorArea.Contains(x, y) || kFieldCursorArea.Contains(x, y);
    if (g_settings.DisplayMode == 1)
        return kRedCursorArea.Contains(x, y) || kGreenCursorArea.Contains(x, y) || kBlueCursorArea.Contains(x, y);
    return false;
}

// The point of a mouse message, read as unsigned 16-bit values as the platform packs them.
void PickThenDrag(HWND window, int x, int y)
{
    if (InPaletteArea(x, y))
        PickPaletteCell(window, PaletteCellAt(x, y));
    DragPickers(window, x, y);
}

int Unsigned16(int v) { return v & 0xFFFF; }

}  // namespace

int PaletteCellAt(int x, int y)
{
    return ((y - 154) / 14) * 16 + (x - 172) / 14;
}

bool InPaletteArea(int x, int y)
{
    return kPaletteArea.Contains(x, y);
}

void PickPaletteCell(HWND window, int cell)
{
    const uint32_t entry = Palette[cell];
    g_current.red = static_cast<int32_t>(entry & 0xFF);
    g_current.green = static_cast<int32_t>((entry >> 8) & 0xFF);
    g_current.blue = static_cast<int32_t>((entry >> 16) & 0xFF);
    RgbToHsv();
    FormatHex(g_current.red, g_current.redHex, sizeof g_current.redHex);
    FormatHex(g_current.green, g_current.greenHex, sizeof g_current.greenHex);
    FormatHex(g_current.blue, g_current.blueHex, sizeof g_current.blueHex);
    g_reference = g_current;
    RefreshColorDisplay(window);
    WriteColorEdits(window);
}

void StorePaletteCell(int cell)
{
    SetCursor(g_storeCursor);
    Palette[cell] = ColorRefOf(g_current);
    RedrawPalette();
}

void DragPickers(HWND window, int x, int y)
{
    if (g_settings.DisplayMode == 1)
        DragRgbPickers(window, x, y);
    else if (g_settings.DisplayMode == 0)
        DragHsvPickers(window, x, y);
}

void ChooseCursor(HWND window)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    SetCursor(InPickCursorArea(p.x, p.y) ? g_pickCursor : g_arrowCursor);
}

void OnLButtonDown(HWND window, BOOL, int x, int y, UINT)
{
    PickThenDrag(window, Unsigned16(x), Unsigned16(y));
}

void OnMouseMove(HWND window, int x, int y, UINT keyFlags)
{
    x = Unsigned16(x);
    y = Unsigned16(y);
    if (keyFlags & MK_RBUTTON) {
        if (InPaletteArea(x, y))
            StorePaletteCell(PaletteCellAt(x, y));
    } else if (keyFlags & MK_LBUTTON) {
        PickThenDrag(window, x, y);
    }
}

void OnLButtonUp(HWND, int, int, UINT)
{
    g_reference = g_current;
    RedrawSwatch();
}

void OnRButtonDown(HWND, BOOL, int x, int y, UINT)
{
    x = Unsigned16(x);
    y = Unsigned16(y);
    if (InPaletteArea(x, y))
        StorePaletteCell(PaletteCellAt(x, y));
}

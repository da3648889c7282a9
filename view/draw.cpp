#include "view/draw.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "color/color.h"
#include "color/palette.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

COLORREF ColorRefOfRgb(const Rgb& c)
{
    return (static_cast<COLORREF>(c.red) & 0xFFu) | ((static_cast<COLORREF>(c.green) & 0xFFu) << 8) |
           ((static_cast<COLORREF>(c.blue) & 0xFFu) << 16);
}

// The same color as a DIB section pixel, 0x00RRGGBB.
uint32_t PixelOf(const Rgb& c)
{
    return ((static_cast<uint32_t>(c.red) & 0xFFu) << 16) | ((static_cast<uint32_t>(c.green) & 0xFFu) << 8) |
           (static_cast<uint32_t>(c.blue) & 0xFFu);
}

HBRUSH CreateSolidBrushIndirect(COLORREF color)
{
    LOGBRUSH brush;
    brush.lbStyle = BS_SOLID;
    brush.lbColor = color;
    brush.lbHatch = 0;
    return CreateBrushIndirect(&brush);
}

// A one-pixel solid line from points[0] through the others; each segment
// includes its first pixel and excludes its last.
void DrawLine(HDC target, COLORREF color, const POINT* points, int count)
{
    ScopedPen pen(CreatePen(PS_SOLID, 1, color));
    SelectGuard selected(target, pen.get());
    MoveToEx(target, points[0].x, points[0].y, nullptr);
    for (int i = 1; i < count; ++i)
        LineTo(target, points[i].x, points[i].y);
}

void FillSolid(HDC target, const RECT& area, COLORREF color)
{
    ScopedBrush brush(CreateSolidBrushIndirect(color));
    FillRect(target, &area, brush.get());
}

// A point and a rectangle given in a surface's own coordinates ((0, 0) its
// top-left corner), where they lie in the bitmap its DC draws on.
POINT On(const Surface& s, LONG x, LONG y)
{
    return POINT{s.origin.x + x, s.origin.y + y};
}

RECT On(const Surface& s, LONG left, LONG top, LONG right, LONG bottom)
{
    return RECT{s.origin.x + left, s.origin.y + top, s.origin.x + right, s.origin.y + bottom};
}

// Column x, rows 0..height-1, in one color: straight into the pixels of a DIB
// section (GdiFlush first), else as a vertical line.
void FillColumn(const Surface& surface, int x, const Rgb& color)
{
    if (surface.pixels != nullptr) {
        const uint32_t pixel = PixelOf(color);
        uint32_t* p = &PixelAt(surface, x, 0);
        for (int y = 0; y < surface.height; ++y, p += surface.stride)
            *p = pixel;
        return;
    }
    const POINT line[] = {On(surface, x, 0), On(surface, x, surface.height)};
    DrawLine(surface.dc, ColorRefOfRgb(color), line, 2);
}

// Row y, columns 0..width-1, in one color, as FillColumn.
void FillRow(const Surface& surface, int y, const Rgb& color)
{
    if (surface.pixels != nullptr) {
        const uint32_t pixel = PixelOf(color);
        uint32_t* p = &PixelAt(surface, 0, y);
        for (int x = 0; x < surface.width; ++x)
            p[x] = pixel;
        return;
    }
    const POINT line[] = {On(surface, 0, y), On(surface, surface.width, y)};
    DrawLine(surface.dc, ColorRefOfRgb(color), line, 2);
}

// The percentage in the bar's own color (`ink`), over the gradient.
void DrawChannelPercent(const Surface& surface, int32_t channel, COLORREF ink)
{
    char text[16];
    FormatChannelPercent(channel, text, sizeof text);
    const int length = static_cast<int>(std::strlen(text));
    SetTextColor(surface.dc, ink);  // over a transparent background, set with the DC
    SelectGuard font(surface.dc, g_window.uiFont);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(surface.dc, text, length, &size);
    const POINT at = On(surface, Geo().percentText.x, (surface.height - size.cy) / 2 + Geo().percentText.y);
    TextOutA(surface.dc, at.x, at.y, text, length);
}

}  // namespace

void FormatChannelPercent(int32_t channel, char* text, size_t size)
{
    std::memset(text, 0, size);
    std::snprintf(text, size, "%.1f%%", channel * 0.39215686274509803);
}

void DrawFrame(HDC target, const RECT& corners, bool sunken)
{
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    const POINT topLeft[] = {{corners.left, corners.bottom}, {corners.left, corners.top}, {corners.right, corners.top}};
    DrawLine(target, sunken ? dark : light, topLeft, 3);
    const POINT bottomRight[] = {
        {corners.right, corners.top}, {corners.right, corners.bottom}, {corners.left, corners.bottom}};
    DrawLine(target, sunken ? light : dark, bottomRight, 3);
}

void DrawSunkenEdge(HDC target, int width, int height)
{
    DrawFrame(target, RECT{0, 0, width - 1, height - 1}, true);
}

void DrawSurfaceEdge(const Surface& s, const RECT& shownAt)
{
    // Where the second and the last 96-DPI column and row begin.
    const LONG left = ScaleFrom(shownAt.left, 1), top = ScaleFrom(shownAt.top, 1);
    const LONG right = ScaleFrom(shownAt.left, Width(shownAt) - 1);
    const LONG bottom = ScaleFrom(shownAt.top, Height(shownAt) - 1);
    const RECT shadow[] = {On(s, 0, 0, left, s.height), On(s, 0, 0, right, top)};
    const RECT highlight[] = {On(s, right, 0, s.width, s.height), On(s, left, bottom, s.width, s.height)};
    for (const RECT& r : shadow)
        FillRect(s.dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    for (const RECT& r : highlight)
        FillRect(s.dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

void DrawMarker(HDC target, int x, int y, int orientation)
{
    const int length = Geo().markerLength;
    const int half = Geo().markerHalfBase;
    if (orientation == MarkerUp) {
        const POINT light[] = {{x, y}, {x - half, y + length}};
        DrawLine(target, GetSysColor(COLOR_BTNHIGHLIGHT), light, 2);
        const POINT dark[] = {{x - half, y + length}, {x + half, y + length}, {x, y}};
        DrawLine(target, GetSysColor(COLOR_BTNSHADOW), dark, 3);
    } else if (orientation == MarkerLeft) {
        const POINT light[] = {{x, y}, {x + length, y - half}};
        DrawLine(target, GetSysColor(COLOR_BTNHIGHLIGHT), light, 2);
        const POINT dark[] = {{x + length, y - half}, {x + length, y + half}, {x, y}};
        DrawLine(target, GetSysColor(COLOR_BTNSHADOW), dark, 3);
    }
}

void DrawShadowText(HDC target, int x, int y, const char* text)
{
    const int length = static_cast<int>(std::strlen(text));
    SetTextColor(target, GetSysColor(COLOR_BTNHIGHLIGHT));
    TextOutA(target, x + 1, y + 1, text, length);
    SetTextColor(target, GetSysColor(COLOR_BTNTEXT));
    TextOutA(target, x, y, text, length);
}

void DrawSwatchSurface()
{
    const Surface& s = g_window.surfaces.swatch;
    const RECT& place = Logical().swatch;
    FillSolid(s.dc, On(s, 0, 0, s.width, s.height), static_cast<COLORREF>(ColorRefOf(g_current)));
    FillSolid(s.dc, On(s, 0, ScaleFrom(place.top, Height(place) / 2), s.width, s.height),
              static_cast<COLORREF>(ColorRefOf(g_reference)));
    DrawSurfaceEdge(s, place);
}

void DrawChannelBars()
{
    const int32_t red = g_current.red;
    const int32_t green = g_current.green;
    const int32_t blue = g_current.blue;
    GdiFlush();  // the pixels are written directly: let earlier GDI drawing land first
    // Each physical column shows the channel value of the 96-DPI column it lies in.
    const LONG left = Logical().redBar.left;
    for (int column = 0; column < g_window.surfaces.redBar.width; ++column) {
        const int32_t x = LogicalFrom(left, column);
        FillColumn(g_window.surfaces.redBar, column, Rgb{x, green, blue});
        FillColumn(g_window.surfaces.greenBar, column, Rgb{red, x, blue});
        FillColumn(g_window.surfaces.blueBar, column, Rgb{red, green, x});
    }
    DrawChannelPercent(g_window.surfaces.redBar, red, 0x000000FF);
    DrawChannelPercent(g_window.surfaces.greenBar, green, 0x0000FF00);
    DrawChannelPercent(g_window.surfaces.blueBar, blue, 0x00FF0000);
    DrawSurfaceEdge(g_window.surfaces.redBar, Logical().redBar);
    DrawSurfaceEdge(g_window.surfaces.greenBar, Logical().greenBar);
    DrawSurfaceEdge(g_window.surfaces.blueBar, Logical().blueBar);
}

namespace {

// The field shows hue 0, 2 .. 358 across and saturation 100 down to 1, one
// step a pixel: column x is hue 2x, row y saturation 100 - y.
constexpr int kHueSteps = 180;
constexpr int kSaturationSteps = 100;

// For every step of the field, the percentages its red, green and blue take
// of the value, as the integer hue/saturation/value conversion computes them
// (100 stands for the value itself). They do not depend on the value, so they
// are worked out once.
struct FieldPercents {
    uint8_t red[kSaturationSteps][kHueSteps];
    uint8_t green[kSaturationSteps][kHueSteps];
    uint8_t blue[kSaturationSteps][kHueSteps];
};

const FieldPercents& HueSatPercents()
{
    static FieldPercents table;
    static bool built = false;
    if (built)
        return table;
    for (int y = 0; y < kSaturationSteps; ++y) {
        const int32_t s = 100 - y;
        for (int x = 0; x < kHueSteps; ++x) {
            // At value 100 the percentages are those of the value itself; at any
            // other value v each becomes (percentage * v) / 100.
            const Rgb percent = HsvToPercents(2 * x, s, 100);
            table.red[y][x] = static_cast<uint8_t>(percent.red);
            table.green[y][x] = static_cast<uint8_t>(percent.green);
            table.blue[y][x] = static_cast<uint8_t>(percent.blue);
        }
    }
    built = true;
    return table;
}

// The 96-DPI columns (rows) of the field that the surface's physical columns
// (rows) lie in.
std::vector<int> FieldColumns(const Surface& s)
{
    std::vector<int> columns(static_cast<size_t>(s.width));
    for (int x = 0; x < s.width; ++x)
        columns[static_cast<size_t>(x)] = LogicalFrom(Logical().hueSat.left, x);
    return columns;
}

std::vector<int> FieldRows(const Surface& s)
{
    std::vector<int> rows(static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y)
        rows[static_cast<size_t>(y)] = LogicalFrom(Logical().hueSat.top, y);
    return rows;
}

// The field at one value: each channel is ((percent * value) / 100 * 255) / 100,
// the truncations of the conversion, looked up from a table of the 101 percents.
void FillHueSatPixels(const Surface& s, int32_t value)
{
    uint32_t channel[101];
    for (int32_t percent = 0; percent <= 100; ++percent)
        channel[percent] = static_cast<uint32_t>(ClampChannel((((percent * value) / 100) * 255) / 100));
    const FieldPercents& table = HueSatPercents();
    const std::vector<int> columns = FieldColumns(s);
    uint32_t* row = s.pixels;
    for (int ly : FieldRows(s)) {
        for (size_t x = 0; x < columns.size(); ++x) {
            const int lx = columns[x];
            row[x] = (channel[table.red[ly][lx]] << 16) | (channel[table.green[ly][lx]] << 8) | channel[table.blue[ly][lx]];
        }
        row += s.stride;
    }
}

}  // namespace

// What the field's picture depends on, the value alone, and the bar's, hue and
// saturation alone, as keys that are never 0.
static uint32_t HueSatKey()
{
    return 1u + static_cast<uint32_t>(g_current.value);
}

static uint32_t ValueBarKey()
{
    return 1u + (static_cast<uint32_t>(g_current.hue) << 8) + static_cast<uint32_t>(g_current.saturation);
}

void DrawHueSatSurface()
{
    // Computed on locals: the current color is only read.
    const Surface& s = g_window.surfaces.hueSat;
    const int32_t value = g_current.value;
    if (s.pixels != nullptr) {
        GdiFlush();
        FillHueSatPixels(s, value);
    } else {
        const std::vector<int> columns = FieldColumns(s);
        const std::vector<int> rows = FieldRows(s);
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x)
                SetPixelV(s.dc, s.origin.x + x, s.origin.y + y, ColorRefOfRgb(HsvToRgbValues(2 * columns[static_cast<size_t>(x)],
                                                                   100 - rows[static_cast<size_t>(y)], value)));
    }
    DrawSurfaceEdge(s, Logical().hueSat);
    g_window.surfaces.hueSat.drawnFor = HueSatKey();
}

void DrawValueBarSurface()
{
    // Each physical row shows the value of the 96-DPI row it lies in; the
    // sunken edge covers the first row.
    const Surface& s = g_window.surfaces.valueBar;
    const int32_t hue = g_current.hue;
    const int32_t saturation = g_current.saturation;
    GdiFlush();
    for (int32_t y = 1; y < s.height; ++y)
        FillRow(s, y, HsvToRgbValues(hue, saturation, 100 - LogicalFrom(Logical().valueBar.top, y)));
    DrawSurfaceEdge(s, Logical().valueBar);
    g_window.surfaces.valueBar.drawnFor = ValueBarKey();
}

bool DrawHueSatSurfaceIfChanged()
{
    if (g_window.surfaces.hueSat.drawnFor == HueSatKey())
        return false;
    DrawHueSatSurface();
    return true;
}

bool DrawValueBarSurfaceIfChanged()
{
    if (g_window.surfaces.valueBar.drawnFor == ValueBarKey())
        return false;
    DrawValueBarSurface();
    return true;
}

void DrawPaletteSurface()
{
    // Each cell a black ring one 96-DPI pixel wide around its swatch, at the
    // cell's 96-DPI place scaled, so that each lies in the cell a click hits.
    const Surface& s = g_window.surfaces.palette;
    const Geometry& g = Logical();
    FillSolid(s.dc, On(s, 0, 0, s.width, s.height), 0x00FFFFFF);
    const auto x = [&g](LONG v) { return ScaleFrom(g.palette.left, v); };
    const auto y = [&g](LONG v) { return ScaleFrom(g.palette.top, v); };
    for (int row = 0; row < kPaletteRows; ++row) {
        const LONG top = g.paletteFirstCell.y + g.paletteCellPitch * row, bottom = top + g.paletteCellSize;
        for (int column = 0; column < kPaletteColumns; ++column) {
            const LONG left = g.paletteFirstCell.x + g.paletteCellPitch * column, right = left + g.paletteCellSize;
            FillSolid(s.dc, On(s, x(left), y(top), x(right), y(bottom)), 0x00000000);
            FillSolid(s.dc, On(s, x(left + 1), y(top + 1), x(right - 1), y(bottom - 1)), Palette[row * kPaletteColumns + column]);
        }
    }
    DrawSurfaceEdge(s, g.palette);
}

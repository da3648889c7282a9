#include "view/paint.h"

#include "color/color.h"
#include "color/color_text.h"
#include "store/settings_data.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

// Where each surface is shown in the client area.
constexpr POINT kSwatchAt = {10, 17};
constexpr POINT kRedBarAt = {135, 17};
constexpr POINT kGreenBarAt = {135, 58};
constexpr POINT kBlueBarAt = {135, 99};
constexpr POINT kHueSatAt = {160, 17};
constexpr POINT kValueBarAt = {360, 17};
constexpr POINT kPaletteAt = {171, 153};

// Label texts in code page 932; "\x81\x46" is the full-width colon.
const char kColorLabel[] = "Color\x81\x46";
const char kRedLabel[] = "Red\x81\x46";
const char kGreenLabel[] = "Green\x81\x46";
const char kBlueLabel[] = "Blue\x81\x46";
const char kPaletteLabel[] = "Palette\x81\x46";
const char* const kEditLabels[6] = {"R\x81\x46", "G\x81\x46", "B\x81\x46", "H\x81\x46", "S\x81\x46", "V\x81\x46"};
const int kEditLabelX[6] = {10, 10, 10, 107, 107, 107};
const int kEditRowY[6] = {140, 163, 186, 140, 163, 186};

void Show(HDC target, const Surface& surface, POINT at)
{
    BitBlt(target, at.x, at.y, surface.width, surface.height, surface.dc, 0, 0, SRCCOPY);
}

SIZE Measure(HDC dc, const char* text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size;
}

void DrawMarkerAt(HDC dc, const MarkerPlace& m)
{
    DrawMarker(dc, m.x, m.y, m.orientation);
}

// A channel bar with its label above it and its marker below it.
void PaintChannelBar(HDC dc, const char* label, const Surface& bar, POINT at, const MarkerPlace& marker)
{
    DrawShadowText(dc, at.x, at.y - Measure(dc, label).cy, label);
    DrawMarkerAt(dc, marker);
    Show(dc, bar, at);
}

void PaintHsvPickers(HDC dc)
{
    SIZE s = Measure(dc, "(0)");
    DrawShadowText(dc, 160, 17 - s.cy, "(0)");
    s = Measure(dc, "(359)");
    DrawShadowText(dc, 340 - s.cx, 17 - s.cy, "(359)");
    s = Measure(dc, "(100)");
    DrawShadowText(dc, 159 - s.cx, 17, "(100)");
    s = Measure(dc, "(0)");
    DrawShadowText(dc, 159 - s.cx, 117 - s.cy, "(0)");
    s = Measure(dc, "Hue/Sat");
    DrawShadowText(dc, 160 + (180 - s.cx) / 2, 17 - s.cy, "Hue/Sat");
    DrawMarkerAt(dc, HueMarker());
    DrawMarkerAt(dc, SaturationMarker());
    Show(dc, g_hueSatSurface, kHueSatAt);
    s = Measure(dc, "Val");
    DrawShadowText(dc, 360 + (20 - s.cx) / 2, 17 - s.cy, "Val");
    DrawMarkerAt(dc, ValueMarker());
    Show(dc, g_valueBarSurface, kValueBarAt);
}

void PaintEtchedLine(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    ScopedPen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    ScopedPen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    {
        SelectGuard select(dc, shadow.get());
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, client.right, 0);
    }
    SelectGuard select(dc, highlight.get());
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, client.right, 1);
}

}  // namespace

MarkerPlace RedMarker() { return {135 + g_current.red, 32, MarkerUp, {130, 32, 396, 43}}; }
MarkerPlace GreenMarker() { return {135 + g_current.green, 73, MarkerUp, {130, 73, 396, 84}}; }
MarkerPlace BlueMarker() { return {135 + g_current.blue, 114, MarkerUp, {130, 114, 396, 125}}; }
MarkerPlace HueMarker() { return {160 + g_current.hue / 2, 117, MarkerUp, {155, 117, 345, 128}}; }
MarkerPlace SaturationMarker() { return {340, 117 - g_current.saturation, MarkerLeft, {340, 12, 351, 123}}; }
MarkerPlace ValueMarker() { return {380, 117 - g_current.value, MarkerLeft, {380, 12, 391, 123}}; }

// Everything the window shows but its child controls, drawn into `dc` where its
// clipping lets it draw.
static void PaintContents(HWND window, HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SelectGuard font(dc, g_uiFont);

    DrawShadowText(dc, 10, 17 - Measure(dc, kColorLabel).cy, kColorLabel);
    Show(dc, g_swatchSurface, kSwatchAt);

    if (g_settings.DisplayMode == 1) {
        PaintChannelBar(dc, kRedLabel, g_redBarSurface, kRedBarAt, RedMarker());
        PaintChannelBar(dc, kGreenLabel, g_greenBarSurface, kGreenBarAt, GreenMarker());
        PaintChannelBar(dc, kBlueLabel, g_blueBarSurface, kBlueBarAt, BlueMarker());
    } else if (g_settings.DisplayMode == 0) {
        PaintHsvPickers(dc);
    }

    PaintEtchedLine(window, dc);

    DrawShadowText(dc, 171, 140, kPaletteLabel);
    Show(dc, g_paletteSurface, kPaletteAt);

    for (int i = 0; i < 6; ++i) {
        const SIZE s = Measure(dc, kEditLabels[i]);
        DrawShadowText(dc, kEditLabelX[i], kEditRowY[i] + (18 - s.cy) / 2, kEditLabels[i]);
    }
}

void PaintMainWindow(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintContents(window, dc);
    EndPaint(window, &ps);
}

// The marker strips wiped to the window's background and painted again, at once
// and straight into the window DC: the markers never show at two places, and no
// paint message has to go round the message queue.
static void RepaintStrips(HWND window, const MarkerPlace (&markers)[3])
{
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    for (const MarkerPlace& m : markers) {
        GdiObject<HRGN> strip(CreateRectRgnIndirect(&m.strip));
        CombineRgn(region.get(), region.get(), strip.get(), RGN_OR);
    }
    SelectClipRgn(g_windowDc, region.get());
    FillRgn(g_windowDc, region.get(), GetSysColorBrush(COLOR_BTNFACE));
    PaintContents(window, g_windowDc);
    SelectClipRgn(g_windowDc, nullptr);
}

void RedrawSwatch()
{
    DrawSwatchSurface();
    Show(g_windowDc, g_swatchSurface, kSwatchAt);
}

void RedrawPalette()
{
    DrawPaletteSurface();
    Show(g_windowDc, g_paletteSurface, kPaletteAt);
}

void UpdateCopyText()
{
    char text[kCopyTextSize];
    FormatCopyText(text, sizeof text);
    SetControlText(g_editCopy, text);
}

bool g_textsBehind;

// The swatch and the pickers of the mode shown, with their markers.
static void RefreshPictures(HWND window)
{
    RedrawSwatch();
    if (g_settings.DisplayMode == 1) {
        DrawChannelBars();
        Show(g_windowDc, g_redBarSurface, kRedBarAt);
        Show(g_windowDc, g_greenBarSurface, kGreenBarAt);
        Show(g_windowDc, g_blueBarSurface, kBlueBarAt);
        RepaintStrips(window, {RedMarker(), GreenMarker(), BlueMarker()});
    } else if (g_settings.DisplayMode == 0) {
        DrawHueSatSurface();
        Show(g_windowDc, g_hueSatSurface, kHueSatAt);
        DrawValueBarSurface();
        Show(g_windowDc, g_valueBarSurface, kValueBarAt);
        RepaintStrips(window, {ValueMarker(), SaturationMarker(), HueMarker()});
    }
}

void RefreshColorDisplay(HWND window)
{
    RefreshPictures(window);
    UpdateCopyText();
}

void RefreshDuringDrag(HWND window)
{
    RefreshPictures(window);
    g_textsBehind = true;
}

void CatchUpTexts(HWND window)
{
    if (!g_textsBehind)
        return;
    g_textsBehind = false;
    UpdateCopyText();
    WriteColorEdits(window);
}

void SwitchDisplayMode(HWND window, int mode)
{
    g_settings.DisplayMode = mode;
    if (mode == 0) {
        DrawHueSatSurface();
        DrawValueBarSurface();
    } else if (mode == 1) {
        DrawChannelBars();
    }
    RECT client;
    GetClientRect(window, &client);
    InvalidateRect(window, &client, TRUE);
    UpdateWindow(window);
}

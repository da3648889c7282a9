#include "view/paint.h"

#include "color/color.h"
#include "color/color_text.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "res/resource.h"
#include "view/geometry.h"
#include "view/strings.h"
#include "view/layout.h"
#include "view/surfaces.h"
#include "view/tips.h"

namespace {

// The labels of the edit rows, R10, G10, B10, H, S, V.
const UINT kEditLabels[6] = {IDS_R_LABEL, IDS_G_LABEL, IDS_B_LABEL, IDS_H_LABEL, IDS_S_LABEL, IDS_V_LABEL};

// Where a label sits in its box, across and down.
enum class Across { Left, Right, Center };
enum class Down { Top, Bottom, Middle };

// A box of no height along the top edge of `r`, for a label standing on it.
RECT Above(const RECT& r) { return RECT{r.left, r.top, r.right, r.top}; }
// A box of no width just left of `r`, for the field's scale on its left.
RECT LeftOf(const RECT& r)
{
    const LONG x = r.left - Geo().scaleLabelGap;
    return RECT{x, r.top, x, r.bottom};
}
// The box of an edit label: its column, the row of its edit.
RECT EditLabelBox(int edit)
{
    const RECT& row = Geo().controls[edit];
    const LONG x = edit < 3 ? Geo().rgbEditLabelX : Geo().hsvEditLabelX;
    return RECT{x, row.top, x, row.bottom};
}
// The edit each label names: R10, G10, B10, H, S, V.
const int kLabelledEdits[6] = {0, 1, 2, 6, 7, 8};

void Show(HDC target, const Surface& surface, const RECT& at)
{
    BitBlt(target, at.left, at.top, surface.width, surface.height, surface.dc, surface.origin.x, surface.origin.y,
           SRCCOPY);
}

SIZE Measure(HDC dc, const char* text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size;
}

// An engraved label placed in its box; measured only when the place depends on its size.
void DrawLabel(HDC dc, UINT label, const RECT& box, Across across, Down down)
{
    const char* text = UiText(label);
    const SIZE s = across == Across::Left && down == Down::Top ? SIZE{0, 0} : Measure(dc, text);
    const LONG x = across == Across::Left ? box.left
                   : across == Across::Right ? box.right - s.cx
                                             : box.left + (Width(box) - s.cx) / 2;
    const LONG y = down == Down::Top ? box.top : down == Down::Bottom ? box.bottom - s.cy : box.top + (Height(box) - s.cy) / 2;
    DrawShadowText(dc, x, y, text);
}

void DrawMarkerAt(HDC dc, const MarkerPlace& m)
{
    DrawMarker(dc, m.x, m.y, m.orientation);
}

// A channel bar with its label above it and its marker below it.
void PaintChannelBar(HDC dc, UINT label, const Surface& bar, const RECT& at, const MarkerPlace& marker)
{
    DrawLabel(dc, label, Above(at), Across::Left, Down::Bottom);
    DrawMarkerAt(dc, marker);
    Show(dc, bar, at);
}

void PaintHsvPickers(HDC dc)
{
    const RECT& field = Geo().hueSat;
    DrawLabel(dc, IDS_SCALE_0, Above(field), Across::Left, Down::Bottom);
    DrawLabel(dc, IDS_SCALE_359, Above(field), Across::Right, Down::Bottom);
    DrawLabel(dc, IDS_SCALE_100, LeftOf(field), Across::Right, Down::Top);
    DrawLabel(dc, IDS_SCALE_0, LeftOf(field), Across::Right, Down::Bottom);
    DrawLabel(dc, IDS_HUESAT_LABEL, Above(field), Across::Center, Down::Bottom);
    DrawMarkerAt(dc, HueMarker());
    DrawMarkerAt(dc, SaturationMarker());
    Show(dc, g_window.surfaces.hueSat, field);
    DrawLabel(dc, IDS_VALUE_LABEL, Above(Geo().valueBar), Across::Center, Down::Bottom);
    DrawMarkerAt(dc, ValueMarker());
    Show(dc, g_window.surfaces.valueBar, Geo().valueBar);
}

// Two lines across the top of the client area, shadow over highlight, each
// as thick as one 96-DPI pixel scaled.
void PaintEtchedLine(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    const RECT shadow = {client.left, client.top, client.right, client.top + Scale(1)};
    const RECT highlight = {client.left, shadow.bottom, client.right, client.top + Scale(2)};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

}  // namespace

// Under a channel bar, at the column that shows the channel's value. Apexes
// are 96-DPI points scaled, so that each stands where its number is shown.
static MarkerPlace UnderBar(const RECT& bar, int32_t channel, const RECT& strip)
{
    return {Scale(bar.left + channel), Scale(bar.bottom), MarkerUp, strip};
}

MarkerPlace RedMarker() { return UnderBar(Logical().redBar, g_current.red, Geo().redStrip); }
MarkerPlace GreenMarker() { return UnderBar(Logical().greenBar, g_current.green, Geo().greenStrip); }
MarkerPlace BlueMarker() { return UnderBar(Logical().blueBar, g_current.blue, Geo().blueStrip); }
// Column x of the field shows hue 2x, row y saturation 100 - y; row y of the value bar value 100 - y.
MarkerPlace HueMarker()
{
    const RECT& field = Logical().hueSat;
    return {Scale(field.left + g_current.hue / 2), Scale(field.bottom), MarkerUp, Geo().hueStrip};
}
MarkerPlace SaturationMarker()
{
    const RECT& field = Logical().hueSat;
    return {Scale(field.right), Scale(field.bottom - g_current.saturation), MarkerLeft, Geo().saturationStrip};
}
MarkerPlace ValueMarker()
{
    const RECT& bar = Logical().valueBar;
    return {Scale(bar.right), Scale(bar.bottom - g_current.value), MarkerLeft, Geo().valueStrip};
}

// Everything the window shows but its child controls, drawn into `dc` where its
// clipping lets it draw.
static void PaintContents(HWND window, HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SelectGuard font(dc, g_window.uiFont);

    const Geometry& g = Geo();
    DrawLabel(dc, IDS_COLOR_LABEL, Above(g.swatch), Across::Left, Down::Bottom);
    Show(dc, g_window.surfaces.swatch, g.swatch);

    if (g_displayMode == 1) {
        PaintChannelBar(dc, IDS_RED_LABEL, g_window.surfaces.redBar, g.redBar, RedMarker());
        PaintChannelBar(dc, IDS_GREEN_LABEL, g_window.surfaces.greenBar, g.greenBar, GreenMarker());
        PaintChannelBar(dc, IDS_BLUE_LABEL, g_window.surfaces.blueBar, g.blueBar, BlueMarker());
    } else if (g_displayMode == 0) {
        PaintHsvPickers(dc);
    }

    PaintEtchedLine(window, dc);

    const RECT paletteLabel = {g.paletteLabel.x, g.paletteLabel.y, g.paletteLabel.x, g.paletteLabel.y};
    DrawLabel(dc, IDS_PALETTE_LABEL, paletteLabel, Across::Left, Down::Top);
    Show(dc, g_window.surfaces.palette, g.palette);

    for (int i = 0; i < 6; ++i)
        DrawLabel(dc, kEditLabels[i], EditLabelBox(kLabelledEdits[i]), Across::Left, Down::Middle);
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
    SelectClipRgn(g_window.windowDc, region.get());
    FillRgn(g_window.windowDc, region.get(), GetSysColorBrush(COLOR_BTNFACE));
    PaintContents(window, g_window.windowDc);
    SelectClipRgn(g_window.windowDc, nullptr);
}

void RedrawSwatch()
{
    DrawSwatchSurface();
    Show(g_window.windowDc, g_window.surfaces.swatch, Geo().swatch);
    UpdateContrastTip();
}

void RedrawPalette()
{
    DrawPaletteSurface();
    Show(g_window.windowDc, g_window.surfaces.palette, Geo().palette);
    RefreshShownTip();
}

void UpdateCopyText()
{
    char text[kCopyTextSize];
    FormatCopyText(text, sizeof text);
    SetControlText(g_window.editCopy, text);
}

void CopyColorText()
{
    SendMessageA(g_window.editCopy, EM_SETSEL, 0, -1);
    SendMessageA(g_window.editCopy, WM_COPY, 0, 0);
    MessageBeep(0);
}

int32_t g_displayMode;

// The swatch and the pickers of the mode shown, with their markers.
static void RefreshPictures(HWND window)
{
    RedrawSwatch();
    if (g_displayMode == 1) {
        DrawChannelBars();
        Show(g_window.windowDc, g_window.surfaces.redBar, Geo().redBar);
        Show(g_window.windowDc, g_window.surfaces.greenBar, Geo().greenBar);
        Show(g_window.windowDc, g_window.surfaces.blueBar, Geo().blueBar);
        RepaintStrips(window, {RedMarker(), GreenMarker(), BlueMarker()});
    } else if (g_displayMode == 0) {
        if (DrawHueSatSurfaceIfChanged())
            Show(g_window.windowDc, g_window.surfaces.hueSat, Geo().hueSat);
        if (DrawValueBarSurfaceIfChanged())
            Show(g_window.windowDc, g_window.surfaces.valueBar, Geo().valueBar);
        RepaintStrips(window, {ValueMarker(), SaturationMarker(), HueMarker()});
    }
}

void RefreshColorDisplay(HWND window)
{
    RefreshPictures(window);
    UpdateCopyText();
}

void CommitCurrentColor(HWND window, EditSet rewrite)
{
    g_reference = g_current;
    RefreshColorDisplay(window);
    WriteColorEdits(window, rewrite);
}

void CommitStartingColor(HWND window)
{
    g_reference = g_current;
    DrawSwatchSurface();
    UpdateContrastTip();
    UpdateCopyText();
    WriteColorEdits(window);
}

void TakeColor(HWND window, uint32_t color)
{
    SetFromColorRef(color);
    CommitCurrentColor(window);
}

// ---- The texts mid-drag ----

namespace {

constexpr unsigned kCopyTextBit = 1u << kColorEditCount;
constexpr unsigned kAllTexts = kAllColorEdits | kCopyTextBit;

// Mid-drag the texts are written all together at most once a display frame:
// written after every step they would cost several times the step itself.
constexpr UINT_PTR kCatchUpTimer = 1;
constexpr DWORD kFrameMs = 16;

// One text brought up to date by itself, because something is about to read it.
void CatchUpText(HWND control)
{
    for (int i = 0; i <= kColorEditCount; ++i) {
        const bool copyText = i == kColorEditCount;
        const unsigned bit = copyText ? kCopyTextBit : EditBit(i);
        if ((g_window.textsLagging & bit) == 0 || control != (copyText ? g_window.editCopy : g_window.editTable[i]))
            continue;
        g_window.textsLagging &= ~bit;
        if (copyText)
            UpdateCopyText();
        else
            WriteColorEdits(GetParent(control), bit);
        return;
    }
}

// Messages that only draw, place or pass over a control, or write it: any
// other may read or act on its text.
bool LeavesTextUnread(UINT message)
{
    switch (message) {
    case WM_PAINT: case WM_NCPAINT: case WM_ERASEBKGND: case WM_SYNCPAINT: case WM_SETTEXT:
    case WM_NCHITTEST: case WM_SETCURSOR: case WM_MOUSEMOVE: case WM_NCMOUSEMOVE: case WM_TIMER:
    case WM_WINDOWPOSCHANGING: case WM_WINDOWPOSCHANGED: case WM_MOVE: case WM_SIZE: case WM_NCCALCSIZE:
    case WM_SHOWWINDOW: case WM_GETFONT: case WM_SETFONT: case WM_SETREDRAW:
        return true;
    default:
        return false;
    }
}

// The subclass of the color edits and EDITCOPY (WatchTextReads): their own
// procedure is kept in GWLP_USERDATA.
LRESULT CALLBACK TextControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_window.textsBehind && !LeavesTextUnread(message))
        CatchUpText(control);
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
    return CallWindowProcA(original, control, message, wParam, lParam);
}

}  // namespace

void WatchTextReads(HWND control)
{
    SetWindowLongPtrA(control, GWLP_USERDATA, GetWindowLongPtrA(control, GWLP_WNDPROC));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextControlProc));
}

void RefreshDuringDrag(HWND window)
{
    RefreshPictures(window);
    g_window.textsBehind = true;
    g_window.textsLagging = kAllTexts;
}

void CatchUpTexts(HWND window)
{
    if (!g_window.textsBehind)
        return;
    g_window.textsBehind = false;
    g_window.textsLagging = 0;
    if (g_window.catchUpTimerSet)
        KillTimer(window, kCatchUpTimer);
    g_window.catchUpTimerSet = false;
    g_window.textsWrittenAt = GetTickCount();
    UpdateCopyText();
    WriteColorEdits(window);
}

void CatchUpTextsWhenDue(HWND window)
{
    if (!g_window.textsBehind)
        return;
    const DWORD since = GetTickCount() - g_window.textsWrittenAt;
    if (since >= kFrameMs) {
        CatchUpTexts(window);
    } else if (!g_window.catchUpTimerSet) {
        // Its WM_TIMER, like any message but a mouse move or a paint, brings the texts up to date.
        SetTimer(window, kCatchUpTimer, kFrameMs - since, nullptr);
        g_window.catchUpTimerSet = true;
    }
}

void OnSysColorChange(HWND window)
{
    DrawSwatchSurface();
    DrawChannelBars();
    DrawHueSatSurface();
    DrawValueBarSurface();
    DrawPaletteSurface();
    if (g_window.tips != nullptr)
        SendMessageA(g_window.tips, WM_SYSCOLORCHANGE, 0, 0);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void SwitchDisplayMode(HWND window, int mode)
{
    g_displayMode = mode;
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

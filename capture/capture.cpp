#include "capture/capture.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "color/color.h"
#include "res/resource.h"
#include "view/dpi.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"

const char kCaptureClass[] = "Capture";

namespace {

// Rows of the screenshot read at once: on a wide virtual screen many small
// reads are far faster than a few large ones (the platform makes a buffer of
// the read's size afresh for each).
constexpr int kStripRows = 16;

// The red, green and blue rows, each with the channel's shift within a COLORREF.
struct ChannelRow {
    UINT label;
    int shift;
};
const ChannelRow kChannelRows[3] = {{IDS_RED_LABEL, 0}, {IDS_GREEN_LABEL, 8}, {IDS_BLUE_LABEL, 16}};

// A monitor in the overlay's client coordinates, and its DPI.
struct MonitorArea {
    RECT rect;
    UINT dpi;
};

// ---- State of the open overlay (the panel's part also between captures) ----
struct OverlayState {
    HDC dc = nullptr;                   // GetDC of the overlay, from its creation to its destruction
    POINT origin = {0, 0};              // the virtual screen's top-left corner, in screen coordinates
    std::vector<MonitorArea> monitors;  // every monitor, in client coordinates
    POINT last = {0, 0};                // the pointer as last seen, in client coordinates
    RECT panelShown = {0, 0, 0, 0};     // where the panel stands on the overlay
    UINT panelDpi = 96;                 // the DPI the panel is drawn for: its monitor's
    Geometry panel = kGeometryAt96Dpi;  // the table at that DPI
    HFONT panelFont = nullptr;          // a font of its own where that DPI is not the main window's
    int zoom = kDefaultZoom;            // of kMagnifierZooms
    int wheel = 0;                      // the wheel's turn not yet a zoom step
    HWND takesPick = nullptr;           // the main window, whose color the pick becomes
    bool copiesPick = false;            // started by the hotkey: the pick's text goes to the clipboard
};
OverlayState g_overlay;

HFONT PanelFont() { return g_overlay.panelFont != nullptr ? g_overlay.panelFont : g_window.uiFont; }

POINT Offset(POINT p, LONG dx, LONG dy) { return POINT{p.x + dx, p.y + dy}; }

bool Holds(const RECT& r, POINT p) { return PtInRect(&r, p) != 0; }

void FillWithColor(HDC dc, const RECT& area, COLORREF color)
{
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(dc, &area, brush.get());
}

// The monitors, in the client coordinates of an overlay at `origin`; the
// whole virtual screen as one where the platform lists none.
std::vector<MonitorArea> ListMonitors(POINT origin)
{
    struct Listing {
        POINT origin;
        std::vector<MonitorArea> areas;
    } listing{origin, {}};
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT rect, LPARAM data) -> BOOL {
            auto* l = reinterpret_cast<Listing*>(data);
            RECT r = *rect;
            OffsetRect(&r, -l->origin.x, -l->origin.y);
            l->areas.push_back(MonitorArea{r, MonitorDpi(monitor)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&listing));
    if (listing.areas.empty())
        listing.areas.push_back(MonitorArea{RECT{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                                 GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                                            SystemDpi()});
    return listing.areas;
}

const MonitorArea* MonitorHolding(POINT p)
{
    for (const MonitorArea& m : g_overlay.monitors)
        if (Holds(m.rect, p))
            return &m;
    return nullptr;
}

// The monitor holding p, or the one nearest to it (the pointer may stand in
// the gap beside a smaller monitor).
const MonitorArea& MonitorNearest(POINT p)
{
    const MonitorArea* nearest = &g_overlay.monitors.front();
    long long best = -1;
    for (const MonitorArea& m : g_overlay.monitors) {
        const long long dx = p.x < m.rect.left ? m.rect.left - p.x : p.x >= m.rect.right ? p.x - m.rect.right + 1 : 0;
        const long long dy = p.y < m.rect.top ? m.rect.top - p.y : p.y >= m.rect.bottom ? p.y - m.rect.bottom + 1 : 0;
        if (best < 0 || dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = &m;
        }
    }
    return *nearest;
}

// The panel drawn for `dpi` from now on: its table, font and surface.
void UsePanelDpi(UINT dpi)
{
    if (dpi == g_overlay.panelDpi)
        return;
    g_overlay.panelDpi = dpi;
    g_overlay.panel = GeometryAt(dpi);
    if (g_overlay.panelFont != nullptr)
        DeleteObject(g_overlay.panelFont);
    g_overlay.panelFont = dpi != g_dpi ? CreateUiFont(g_overlay.panel.uiFontHeight) : nullptr;
    const SIZE size = g_overlay.panel.panel;
    Surface& magnifier = g_window.surfaces.magnifier;
    if (magnifier.width != size.cx || magnifier.height != size.cy)
        ResizeSurface(magnifier, size.cx, size.cy);
}

// ---- The magnifier ----

uint32_t DibPixel(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The screenshot's pixel at (x, y); black where the screenshot holds none.
COLORREF ScreenshotPixel(int x, int y)
{
    const Surface& s = g_window.surfaces.screen;
    if (x < 0 || y < 0 || x >= s.width || y >= s.height)
        return 0;
    if (s.pixels == nullptr) {
        const COLORREF c = GetPixel(s.dc, x, y);
        return c == CLR_INVALID ? 0 : c;
    }
    const uint32_t p = PixelAt(s, x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void FillCell(const Surface& panel, const RECT& cell, COLORREF color)
{
    if (panel.pixels == nullptr) {
        FillWithColor(panel.dc, cell, color);
        return;
    }
    // Kept inside the bitmap even if it could not be made the panel's size.
    const RECT bounds = {0, 0, panel.width, panel.height};
    RECT inside;
    if (!IntersectRect(&inside, &cell, &bounds))
        return;
    for (LONG y = inside.top; y < inside.bottom; ++y) {
        uint32_t* row = &PixelAt(panel, 0, static_cast<int>(y));
        std::fill(row + inside.left, row + inside.right, DibPixel(color));
    }
}

// The magnifier's grid at the zoom in use: its cells, their size, the middle one.
struct Grid {
    int cells;
    LONG cell;
    POINT topLeft;

    RECT Cell(int column, int row) const
    {
        const LONG left = topLeft.x + cell * column, top = topLeft.y + cell * row;
        return RECT{left, top, left + cell, top + cell};
    }
    int Middle() const { return cells / 2; }
    RECT Square() const { return RECT{topLeft.x, topLeft.y, topLeft.x + cell * cells, topLeft.y + cell * cells}; }
};

Grid GridInUse()
{
    const int cells = kMagnifierZooms[g_overlay.zoom];
    const RECT& square = g_overlay.panel.magnifierGrid;
    return Grid{cells, Width(square) / cells, TopLeft(square)};
}

// The cells around (x, y); returns the color of the middle one, the pixel (x, y).
COLORREF DrawCells(const Surface& panel, const Grid& grid, int x, int y)
{
    GdiFlush();  // both pictures are read and written directly
    for (int i = 0; i < grid.cells; ++i)
        for (int j = 0; j < grid.cells; ++j)
            FillCell(panel, grid.Cell(j, i), ScreenshotPixel(x - grid.Middle() + j, y - grid.Middle() + i));
    return ScreenshotPixel(x, y);
}

// The red, green and blue of `color` as labels, decimal and hexadecimal
// numbers, and the two hints below them.
void DrawChannelTexts(HDC dc, COLORREF color)
{
    const Geometry& g = g_overlay.panel;
    SelectGuard font(dc, PanelFont());
    for (int i = 0; i < 3; ++i) {
        const ChannelRow& row = kChannelRows[i];
        const int y = g.channelRowY[i];
        const int32_t v = static_cast<int32_t>((color >> row.shift) & 0xFFu);
        DrawShadowText(dc, g.channelLabelX, y, UiText(row.label));
        char text[16];
        std::memset(text, 0, sizeof text);
        wsprintfA(text, "%d", v);
        TextOutA(dc, g.channelDecimalX, y, text, static_cast<int>(std::strlen(text)));
        FormatHex(v, text, sizeof text);
        TextOutA(dc, g.channelHexX, y, text, static_cast<int>(std::strlen(text)));
    }
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    const std::pair<POINT, UINT> hints[] = {{g.hint, IDS_CAPTURE_HINT}, {g.keysHint, IDS_KEYS_HINT}};
    for (const auto& hint : hints) {
        const char* text = UiText(hint.second);
        TextOutA(dc, hint.first.x, hint.first.y, text, static_cast<int>(std::strlen(text)));
    }
}

// The sample square and the grid sunken, the pointer's cell and the panel raised.
void DrawPanelFrames(HDC dc, const Grid& grid)
{
    const Geometry& g = g_overlay.panel;
    DrawFrame(dc, g.sampleSquare, true);
    DrawFrame(dc, grid.Cell(grid.Middle(), grid.Middle()), false);
    DrawFrame(dc, grid.Square(), true);
    DrawFrame(dc, RECT{0, 0, g.panel.cx - 1, g.panel.cy - 1}, false);
}

// ---- The overlay ----

// The whole virtual screen as it is now into the screen copy surface, in
// strips; what lies on no monitor (the platform reads back anything there) black.
void TakeScreenshot()
{
    const Surface& copy = g_window.surfaces.screen;
    {
        WindowDcGuard screen(nullptr);
        for (int top = 0; top < copy.height; top += kStripRows)
            BitBlt(copy.dc, 0, top, copy.width, std::min(kStripRows, copy.height - top), screen.get(),
                   g_overlay.origin.x, g_overlay.origin.y + top, SRCCOPY);
    }
    GdiObject<HRGN> outside(CreateRectRgn(0, 0, copy.width, copy.height));
    for (const MonitorArea& m : g_overlay.monitors) {
        GdiObject<HRGN> monitor(CreateRectRgnIndirect(&m.rect));
        CombineRgn(outside.get(), outside.get(), monitor.get(), RGN_DIFF);
    }
    FillRgn(copy.dc, outside.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void ShowPanel()
{
    const RECT& at = g_overlay.panelShown;
    BitBlt(g_overlay.dc, at.left, at.top, Width(at), Height(at), g_window.surfaces.magnifier.dc, 0, 0, SRCCOPY);
}

// The panel drawn for the pointer at p, on p's monitor at its DPI; returns
// where it is to stand.
RECT PreparePanelFor(POINT p)
{
    const MonitorArea& monitor = MonitorNearest(p);
    UsePanelDpi(monitor.dpi);
    DrawMagnifier(p.x, p.y);
    return PanelPlace(monitor.rect, g_overlay.panel.panel, p.x);
}

// The pointer at p: the panel follows, and where it stood before the
// screenshot is put back when it moves.
void FollowPointer(POINT p)
{
    g_overlay.last = p;
    const RECT place = PreparePanelFor(p);
    if (!EqualRect(&place, &g_overlay.panelShown)) {
        const RECT& old = g_overlay.panelShown;
        BitBlt(g_overlay.dc, old.left, old.top, Width(old), Height(old), g_window.surfaces.screen.dc, old.left,
               old.top, SRCCOPY);
        g_overlay.panelShown = place;
    }
    ShowPanel();
}

// Closes the overlay on a press of `button` (MK_LBUTTON or MK_RBUTTON), which
// is still down over whatever the overlay uncovers.
void CloseOverlay(HWND overlay, UINT button)
{
    DestroyWindow(overlay);
    g_window.captureActive = false;
    g_window.ignoredButton = button;
}

// Picks the pixel at p from the screenshot and closes the overlay; a point on
// no monitor, or one the screenshot does not hold, picks nothing. `button` is
// the mouse button whose press picks (0 for a key).
void PickAt(HWND overlay, POINT p, UINT button)
{
    g_overlay.last = p;
    const COLORREF color = GetPixel(g_window.surfaces.screen.dc, p.x, p.y);
    if (MonitorHolding(p) == nullptr || color == CLR_INVALID)
        return;
    TakeColor(g_overlay.takesPick, color);
    if (g_overlay.copiesPick)
        CopyColorText();
    CloseOverlay(overlay, button);
}

// An arrow key: the pointer one physical pixel on (ten with Shift), kept on
// the monitors (a point beside a smaller monitor stays on the pointer's own).
void Nudge(LONG dx, LONG dy)
{
    const LONG step = GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
    POINT to = Offset(g_overlay.last, dx * step, dy * step);
    if (MonitorHolding(to) == nullptr) {
        const RECT& on = MonitorNearest(g_overlay.last).rect;
        to.x = std::min(std::max(to.x, on.left), on.right - 1);
        to.y = std::min(std::max(to.y, on.top), on.bottom - 1);
    }
    SetCursorPos(to.x + g_overlay.origin.x, to.y + g_overlay.origin.y);
    FollowPointer(to);
}

}  // namespace

// ---- The overlay's messages, apart from the main window's handlers of the same names ----
namespace overlay {
namespace {

// Readies the capture's surfaces (those of an earlier capture kept where their
// size still fits), takes the screenshot (the overlay is not shown yet) and
// draws the first panel; no overlay when the surfaces cannot be made.
BOOL OnCreate(HWND window, LPCREATESTRUCT create)
{
    g_overlay.origin = POINT{create->x, create->y};
    g_overlay.monitors = ListMonitors(g_overlay.origin);
    POINT pointer;
    GetCursorPos(&pointer);
    g_overlay.last = Offset(pointer, -g_overlay.origin.x, -g_overlay.origin.y);
    const SIZE panel = GeometryAt(MonitorNearest(g_overlay.last).dpi).panel;
    if (!PrepareCaptureSurfaces(create->cx, create->cy, panel))
        return FALSE;
    TakeScreenshot();
    g_window.captureWindow = window;
    g_overlay.dc = GetDC(window);
    g_overlay.zoom = kDefaultZoom;
    g_overlay.wheel = 0;
    g_overlay.panelDpi = 0;  // the first panel settles its table and font
    g_overlay.panelShown = PreparePanelFor(g_overlay.last);
    return TRUE;
}

// Also when the overlay goes some other way than the three closing paths, so
// that the capture can always be started again. The capture's surfaces stay
// for the next capture; the main window's close releases them.
void OnDestroy(HWND window)
{
    if (g_overlay.dc != nullptr)
        ReleaseDC(window, g_overlay.dc);
    g_overlay.dc = nullptr;
    if (g_overlay.panelFont != nullptr)
        DeleteObject(g_overlay.panelFont);
    g_overlay.panelFont = nullptr;
    g_window.captureWindow = nullptr;
    g_window.captureActive = false;
}

// The screenshot covers the whole overlay: erasing it first with the class
// background would only flash the screen gray and cost a full-screen fill.
BOOL OnEraseBkgnd(HWND, HDC)
{
    return TRUE;
}

// The screenshot, unchanged, and the panel where it stands.
void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, Width(r), Height(r), g_window.surfaces.screen.dc, r.left, r.top, SRCCOPY);
    ShowPanel();
    EndPaint(window, &paint);
    DefWindowProcA(window, WM_PAINT, 0, 0);
}

void OnMouseMove(HWND, int x, int y, UINT)
{
    FollowPointer(POINT{x, y});
}

void OnLButtonDown(HWND window, BOOL, int x, int y, UINT)
{
    PickAt(window, POINT{x, y}, MK_LBUTTON);
}

void OnRButtonDown(HWND window, BOOL, int, int, UINT)
{
    CloseOverlay(window, MK_RBUTTON);
}

// Arrows move the pointer; Enter and Space pick as a left click does.
void OnKeyDown(HWND window, UINT key, BOOL, int, UINT)
{
    switch (key) {
    case VK_LEFT: Nudge(-1, 0); break;
    case VK_RIGHT: Nudge(1, 0); break;
    case VK_UP: Nudge(0, -1); break;
    case VK_DOWN: Nudge(0, 1); break;
    case VK_RETURN:
    case VK_SPACE: PickAt(window, g_overlay.last, 0); break;
    default: break;
    }
}

// Each notch forward shows fewer, larger cells; each notch back more, smaller ones.
void OnMouseWheel(HWND, int, int, int delta, UINT)
{
    g_overlay.wheel += delta;
    const int notches = g_overlay.wheel / WHEEL_DELTA;
    g_overlay.wheel -= notches * WHEEL_DELTA;
    const int zoom = std::min(std::max(g_overlay.zoom - notches, 0), kZoomCount - 1);
    if (zoom == g_overlay.zoom)
        return;
    g_overlay.zoom = zoom;
    DrawMagnifier(g_overlay.last.x, g_overlay.last.y);
    ShowPanel();
}

}  // namespace
}  // namespace overlay

int PanelTop(int screenHeight, LONG panelHeight) { return (screenHeight - panelHeight) / 2; }
int LeftPanelX(int screenWidth, LONG panelWidth) { return (screenWidth / 2 - panelWidth) / 2; }
int RightPanelX(int screenWidth, LONG panelWidth) { return LeftPanelX(screenWidth, panelWidth) + screenWidth / 2; }

RECT PanelPlace(const RECT& monitor, SIZE panel, int pointerX)
{
    const int width = Width(monitor);
    const LONG left = monitor.left + (pointerX - monitor.left > width / 2 ? LeftPanelX(width, panel.cx)
                                                                          : RightPanelX(width, panel.cx));
    const LONG top = monitor.top + PanelTop(Height(monitor), panel.cy);
    return RECT{left, top, left + panel.cx, top + panel.cy};
}

int MagnifierCells() { return kMagnifierZooms[g_overlay.zoom]; }

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, overlay::OnCreate);
        HANDLE_MSG(window, WM_DESTROY, overlay::OnDestroy);
        HANDLE_MSG(window, WM_ERASEBKGND, overlay::OnEraseBkgnd);
        HANDLE_MSG(window, WM_PAINT, overlay::OnPaint);
        HANDLE_MSG(window, WM_MOUSEMOVE, overlay::OnMouseMove);
        HANDLE_MSG(window, WM_LBUTTONDOWN, overlay::OnLButtonDown);
        HANDLE_MSG(window, WM_RBUTTONDOWN, overlay::OnRButtonDown);
        HANDLE_MSG(window, WM_KEYDOWN, overlay::OnKeyDown);
        HANDLE_MSG(window, WM_MOUSEWHEEL, overlay::OnMouseWheel);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void StartCapture(HWND mainWindow, HINSTANCE instance, CaptureStart how)
{
    if (g_window.captureActive || g_window.captureWindow != nullptr)
        return;
    const bool fromHotkey = how == CaptureStart::FromHotkey;
    g_overlay.takesPick = mainWindow;
    g_overlay.copiesPick = fromHotkey;
    // Over every monitor; standing alone, from the hotkey, with no button on the taskbar either.
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    HWND overlay = CreateWindowExA(fromHotkey ? WS_EX_TOOLWINDOW : 0, kCaptureClass, UiText(IDS_APP_TITLE), WS_POPUP, x,
                                   y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                   fromHotkey ? nullptr : mainWindow, nullptr, instance, nullptr);
    if (overlay == nullptr)
        return;
    SetWindowPos(overlay, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (fromHotkey)
        SetForegroundWindow(overlay);  // for Esc, with another program in front
    SetFocus(overlay);                 // the arrows, Enter and Space go to it
    UpdateWindow(overlay);
    // Set only if the overlay is still there (its WM_DESTROY forgets it).
    g_window.captureActive = g_window.captureWindow == overlay;
}

void CancelCapture()
{
    if (!g_window.captureActive)
        return;
    DestroyWindow(g_window.captureWindow);
    g_window.captureActive = false;
}

void DrawMagnifier(int x, int y)
{
    const Surface& panel = g_window.surfaces.magnifier;
    if (panel.dc == nullptr)
        return;
    const Grid grid = GridInUse();
    FillWithColor(panel.dc, RECT{0, 0, panel.width, panel.height}, GetSysColor(COLOR_BTNFACE));
    const COLORREF center = DrawCells(panel, grid, x, y);
    DrawChannelTexts(panel.dc, center);
    FillWithColor(panel.dc, g_overlay.panel.sampleSquare, center);
    DrawPanelFrames(panel.dc, grid);
}

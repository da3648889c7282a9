#include "capture/capture.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "color/color.h"
#include "res/resource.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"

const char kCaptureClass[] = "Capture";

namespace {

constexpr int kStripBytes = 1 << 20;  // of the screenshot read at once
constexpr int kMinStripRows = 16;

// The red, green and blue rows, each with the channel's shift within a COLORREF.
struct ChannelRow {
    UINT label;
    int shift;
};
const ChannelRow kChannelRows[3] = {{IDS_RED_LABEL, 0}, {IDS_GREEN_LABEL, 8}, {IDS_BLUE_LABEL, 16}};

// The cell (column, row) of the grid.
RECT GridCell(int column, int row)
{
    const Geometry& g = Geo();
    const LONG left = g.magnifierGrid.x + g.magnifierCell * column;
    const LONG top = g.magnifierGrid.y + g.magnifierCell * row;
    return RECT{left, top, left + g.magnifierCell, top + g.magnifierCell};
}

// ---- State of the open overlay ----
HDC g_overlayDc;     // GetDC of the overlay, from its creation to its destruction
POINT g_lastPoint;   // the pointer as last seen, in screen (= overlay client) coordinates
int g_leftPanelX;    // the panel's left edge in the left half
int g_rightPanelX;   // and in the right half
int g_sideFlag;      // 1: the panel was last put in the left half, 0: in the right half
int g_previousSideFlag;
HWND g_takesPick;    // the main window, whose color the pick becomes
bool g_copiesPick;   // started by the hotkey: the pick's text goes to the clipboard

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// The half the panel goes to for a pointer at x: 1 the left one (the pointer
// is in the right half), 0 the right one.
int PanelSideFor(int x) { return x > ScreenWidth() / 2 ? 1 : 0; }

void FillWithColor(HDC dc, const RECT& area, COLORREF color)
{
    ScopedBrush brush(CreateSolidBrush(color));
    FillRect(dc, &area, brush.get());
}

// The 225 cells; returns the color of the middle one, the pixel (x, y).
// Pixels the screenshot does not hold are black.
COLORREF DrawCells(HDC dc, int x, int y)
{
    COLORREF center = 0;
    for (int i = 0; i < kMagnifierCells; ++i) {
        for (int j = 0; j < kMagnifierCells; ++j) {
            COLORREF c = GetPixel(g_window.surfaces.screen.dc, x - kMagnifierCenterCell + j, y - kMagnifierCenterCell + i);
            if (c == CLR_INVALID)
                c = 0;
            FillWithColor(dc, GridCell(j, i), c);
            if (i == kMagnifierCenterCell && j == kMagnifierCenterCell)
                center = c;
        }
    }
    return center;
}

// The red, green and blue of `color` as labels, decimal and hexadecimal
// numbers, and the hint below them.
void DrawChannelTexts(HDC dc, COLORREF color)
{
    const Geometry& g = Geo();
    SelectGuard font(dc, g_window.uiFont);
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
    const char* hint = UiText(IDS_CAPTURE_HINT);
    TextOutA(dc, g.hint.x, g.hint.y, hint, static_cast<int>(std::strlen(hint)));
}

// The sample square and the grid sunken, the pointer's cell and the panel raised.
void DrawPanelFrames(HDC dc)
{
    const Geometry& g = Geo();
    const RECT grid = {g.magnifierGrid.x, g.magnifierGrid.y, GridCell(kMagnifierCells, 0).left,
                       GridCell(0, kMagnifierCells).top};
    DrawFrame(dc, g.sampleSquare, true);
    DrawFrame(dc, GridCell(kMagnifierCenterCell, kMagnifierCenterCell), false);
    DrawFrame(dc, grid, true);
    DrawFrame(dc, RECT{0, 0, g.panel.cx - 1, g.panel.cy - 1}, false);
}

// The whole screen as it is now into the screen copy surface, which is first
// made the screen's size if the screen has changed since it was made.
//
// Read in strips of about a megabyte: the platform passes a read of the whole
// screen through a buffer of the screen's size made afresh for every read, and
// on a large screen bringing in that new memory costs more than the copy
// itself (a 3840 x 2160 screen is read in less than half the time in strips).
void TakeScreenshot(int width, int height)
{
    if (g_window.surfaces.screen.width != width || g_window.surfaces.screen.height != height)
        ResizeScreenSurface(width, height);
    WindowDcGuard screen(nullptr);
    const int rows = std::max(kMinStripRows, kStripBytes / (4 * std::max(width, 1)));
    for (int top = 0; top < height; top += rows)
        BitBlt(g_window.surfaces.screen.dc, 0, top, width, std::min(rows, height - top), screen.get(), 0, top, SRCCOPY);
}

void ShowPanelAt(int x)
{
    const SIZE panel = Geo().panel;
    BitBlt(g_overlayDc, x, PanelTop(ScreenHeight()), panel.cx, panel.cy, g_window.surfaces.magnifier.dc, 0, 0, SRCCOPY);
}

// Puts the screenshot back where the panel stood at x.
void RestoreScreenshotAt(int x)
{
    const int top = PanelTop(ScreenHeight());
    const SIZE panel = Geo().panel;
    BitBlt(g_overlayDc, x, top, panel.cx, panel.cy, g_window.surfaces.screen.dc, x, top, SRCCOPY);
}

// The panel into the half the pointer is not in, wiping it from the other
// half when it changes sides.
void MovePanel(int x)
{
    g_previousSideFlag = g_sideFlag;
    g_sideFlag = PanelSideFor(x);
    if (g_sideFlag == 1) {
        ShowPanelAt(g_leftPanelX);
        if (g_previousSideFlag == 0)
            RestoreScreenshotAt(g_rightPanelX);
    } else {
        ShowPanelAt(g_rightPanelX);
        if (g_previousSideFlag == 1)
            RestoreScreenshotAt(g_leftPanelX);
    }
}

void CloseOverlay(HWND overlay)
{
    DestroyWindow(overlay);
    g_window.captureActive = false;
}

}  // namespace

// ---- The overlay's messages, apart from the main window's handlers of the same names ----
namespace overlay {
namespace {

// Takes the screenshot (the overlay is not shown yet) and draws the first panel.
BOOL OnCreate(HWND window, LPCREATESTRUCT)
{
    const int width = ScreenWidth();
    TakeScreenshot(width, ScreenHeight());
    g_leftPanelX = LeftPanelX(width);
    g_rightPanelX = RightPanelX(width);
    g_window.captureWindow = window;
    g_overlayDc = GetDC(window);
    GetCursorPos(&g_lastPoint);
    // The side WM_PAINT puts the panel on, so that the first move across wipes it.
    g_sideFlag = g_previousSideFlag = PanelSideFor(g_lastPoint.x);
    DrawMagnifier(g_lastPoint.x, g_lastPoint.y);
    return TRUE;
}

// Also when the overlay goes some other way than the three closing paths, so
// that the capture can always be started again.
void OnDestroy(HWND window)
{
    if (g_overlayDc != nullptr)
        ReleaseDC(window, g_overlayDc);
    g_overlayDc = nullptr;
    g_window.captureWindow = nullptr;
    g_window.captureActive = false;
}

// The screenshot covers the whole overlay: erasing it first with the class
// background would only flash the screen gray and cost a full-screen fill.
BOOL OnEraseBkgnd(HWND, HDC)
{
    return TRUE;
}

// The screenshot, unchanged, and the panel in the half the pointer is not in.
void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    BitBlt(dc, 0, 0, ScreenWidth(), ScreenHeight(), g_window.surfaces.screen.dc, 0, 0, SRCCOPY);
    ShowPanelAt(PanelSideFor(g_lastPoint.x) == 1 ? g_leftPanelX : g_rightPanelX);
    EndPaint(window, &paint);
    DefWindowProcA(window, WM_PAINT, 0, 0);
}

void OnMouseMove(HWND, int x, int y, UINT)
{
    g_lastPoint = POINT{x, y};
    DrawMagnifier(x, y);
    MovePanel(x);
}

// Picks the pixel under the pointer from the screenshot and closes the
// overlay; a point the screenshot does not hold picks nothing.
void OnLButtonDown(HWND window, BOOL, int x, int y, UINT)
{
    g_lastPoint = POINT{x, y};
    const COLORREF color = GetPixel(g_window.surfaces.screen.dc, x, y);
    if (color == CLR_INVALID)
        return;
    TakeColor(g_takesPick, color);
    if (g_copiesPick)
        CopyColorText();
    CloseOverlay(window);
}

void OnRButtonDown(HWND window, BOOL, int, int, UINT)
{
    CloseOverlay(window);
}

}  // namespace
}  // namespace overlay

int PanelTop(int screenHeight) { return (screenHeight - Geo().panel.cy) / 2; }
int LeftPanelX(int screenWidth) { return (screenWidth / 2 - Geo().panel.cx) / 2; }
int RightPanelX(int screenWidth) { return LeftPanelX(screenWidth) + screenWidth / 2; }

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
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void StartCapture(HWND mainWindow, HINSTANCE instance, CaptureStart how)
{
    if (g_window.captureActive || g_window.captureWindow != nullptr)
        return;
    const bool fromHotkey = how == CaptureStart::FromHotkey;
    g_takesPick = mainWindow;
    g_copiesPick = fromHotkey;
    // Standing alone, the overlay needs no button on the taskbar either.
    HWND overlay = CreateWindowExA(fromHotkey ? WS_EX_TOOLWINDOW : 0, kCaptureClass, UiText(IDS_APP_TITLE), WS_POPUP, 0,
                                   0, ScreenWidth(), ScreenHeight(), fromHotkey ? nullptr : mainWindow, nullptr,
                                   instance, nullptr);
    if (overlay == nullptr)
        return;
    SetWindowPos(overlay, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (fromHotkey)
        SetForegroundWindow(overlay);  // for Esc, with another program in front
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
    HDC dc = g_window.surfaces.magnifier.dc;
    FillWithColor(dc, RECT{0, 0, Geo().panel.cx, Geo().panel.cy}, GetSysColor(COLOR_BTNFACE));
    const COLORREF center = DrawCells(dc, x, y);
    DrawChannelTexts(dc, center);
    FillWithColor(dc, Geo().sampleSquare, center);
    DrawPanelFrames(dc);
}

#include "view/layout.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "color/color.h"
#include "res/resource.h"
#include "view/dpi.h"
#include "view/draw.h"
#include "view/geometry.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"
#include "view/tips.h"

MainWindowState g_window;

namespace {

struct ControlRow {
    DWORD exStyle;
    const char* className;
    int id;
    DWORD style;
    UINT text;  // its string, 0 for none
    int limit;  // EM_LIMITTEXT for the color edits, 0 for none
};

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_CENTER | BS_VCENTER;

// In creation order, each placed at its rectangle of Geo().controls; the first
// nine are the edit table.
const ControlRow kControls[] = {
    {WS_EX_CLIENTEDGE, "EDIT", ID_R10, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_G10, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_B10, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_R16, kEditStyle, 0, 2},
    {WS_EX_CLIENTEDGE, "EDIT", ID_G16, kEditStyle, 0, 2},
    {WS_EX_CLIENTEDGE, "EDIT", ID_B16, kEditStyle, 0, 2},
    {WS_EX_CLIENTEDGE, "EDIT", ID_H, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_S, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_V, kEditStyle, 0, 3},
    {WS_EX_CLIENTEDGE, "EDIT", ID_EDITCOPY, kEditStyle | ES_READONLY, 0, 0},
    {0, "BUTTON", ID_COPY, kButtonStyle, IDS_COPY_BUTTON, 0},
    {0, "BUTTON", ID_CAPTURE, kButtonStyle, IDS_CAPTURE_BUTTON, 0},
};

// The window sized so that its client area is exactly Geo().client,
// whatever the frame, title bar and menu bar take, and put where it was
// saved through SetWindowPlacement: GetWindowPlacement gave the position, in
// the same coordinates, whatever the platform makes them.
void SizeAndPlace(HWND window, POINT savedAt)
{
    // A menu bar that wraps onto two lines in a narrow frame fits on one once
    // the frame is wide enough, so the frame is measured again after each
    // change until the client area is right (twice at most in practice).
    const SIZE client = Geo().client;
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT windowRect;
        RECT clientRect;
        GetWindowRect(window, &windowRect);
        GetClientRect(window, &clientRect);
        if (attempt > 0 && Width(clientRect) == client.cx && Height(clientRect) == client.cy)
            return;
        const int width = Width(windowRect) - Width(clientRect) + client.cx;
        const int height = Height(windowRect) - Height(clientRect) + client.cy;
        const POINT at = PlaceOnSomeMonitor(savedAt.x, savedAt.y, width, height);
        WINDOWPLACEMENT placement;
        ZeroMemory(&placement, sizeof placement);
        placement.length = sizeof placement;
        GetWindowPlacement(window, &placement);
        placement.flags = 0;
        placement.showCmd = SW_HIDE;  // shown later, by the start-up
        const RECT normal = {at.x, at.y, at.x + width, at.y + height};
        if (EqualRect(&placement.rcNormalPosition, &normal))
            return;  // created so already (InitialWindowRect)
        placement.rcNormalPosition = normal;
        SetWindowPlacement(window, &placement);
    }
}

// A coordinate brought within a billion pixels of the origin: far beyond every
// monitor still, and room to add a window's size without overflow.
int64_t Near(int64_t v)
{
    return std::min<int64_t>(std::max<int64_t>(v, -(int64_t{1} << 30)), int64_t{1} << 30);
}

RECT RectAt(int64_t x, int64_t y, int width, int height)
{
    const LONG left = static_cast<LONG>(Near(x));
    const LONG top = static_cast<LONG>(Near(y));
    return RECT{left, top, left + width, top + height};
}

// How far a monitor's work area starts from the monitor's corner.
POINT WorkAreaOffset(const MONITORINFO& info)
{
    return POINT{info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// Each control at its place in Geo(), in the UI font.
void PlaceControls(HWND window)
{
    for (size_t i = 0; i < sizeof kControls / sizeof kControls[0]; ++i) {
        HWND control = GetDlgItem(window, kControls[i].id);
        const RECT& r = Geo().controls[i];
        MoveWindow(control, r.left, r.top, Width(r), Height(r), FALSE);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_window.uiFont), FALSE);
    }
}

void CreateControls(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    for (size_t i = 0; i < sizeof kControls / sizeof kControls[0]; ++i) {
        const ControlRow& c = kControls[i];
        const RECT& r = Geo().controls[i];
        const char* text = c.text != 0 ? UiText(c.text) : "";
        HWND control = CreateWindowExA(c.exStyle, c.className, text, c.style, r.left, r.top, Width(r), Height(r),
                                       window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_window.uiFont), FALSE);
        if (c.limit > 0)
            SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
        if (i < kColorEditCount)
            g_window.editTable[i] = control;
        else if (c.id == ID_EDITCOPY)
            g_window.editCopy = control;
        if (i < kColorEditCount || c.id == ID_EDITCOPY)
            WatchTextReads(control);
    }
}

}  // namespace

POINT PlaceOnSomeMonitor(int x, int y, int width, int height)
{
    // In 64 bits: a hand-edited 2147483647 plus the width must not wrap around.
    MONITORINFO info;
    info.cbSize = sizeof info;
    const RECT saved = RectAt(x, y, width, height);
    if (!GetMonitorInfoA(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), &info))
        return POINT{x, y};
    // Only this check needs screen coordinates.
    POINT offset = WorkAreaOffset(info);
    const int64_t screenX = Near(int64_t{x} + offset.x);
    const int64_t screenY = Near(int64_t{y} + offset.y);
    const RECT onScreen = RectAt(screenX, screenY, width, height);
    if (MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL))
        return POINT{x, y};  // partly visible at least: exactly where it was
    if (!GetMonitorInfoA(MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &info))
        return POINT{info.rcWork.left, info.rcWork.top};
    const RECT& work = info.rcWork;
    const int64_t left = std::max<int64_t>(std::min<int64_t>(screenX, int64_t{work.right} - width), work.left);
    const int64_t top = std::max<int64_t>(std::min<int64_t>(screenY, int64_t{work.bottom} - height), work.top);
    offset = WorkAreaOffset(info);
    return POINT{static_cast<LONG>(left - offset.x), static_cast<LONG>(top - offset.y)};
}

RECT InitialWindowRect(DWORD style, DWORD exStyle, POINT savedAt)
{
    // Laid out for the DPI of the monitor it opens on.
    const UINT dpi = MonitorDpi(MonitorFromPoint(savedAt, MONITOR_DEFAULTTONEAREST));
    RECT frame = {0, 0, ScaleTo(Logical().client.cx, dpi), ScaleTo(Logical().client.cy, dpi)};
    AdjustWindowRectEx(&frame, style, TRUE, exStyle);
    const POINT at = PlaceOnSomeMonitor(savedAt.x, savedAt.y, Width(frame), Height(frame));
    // The place is in the coordinates of a window placement; CreateWindowEx
    // wants the screen's, which start where the monitor does, not its work area.
    const RECT placed = RectAt(at.x, at.y, Width(frame), Height(frame));
    MONITORINFO info;
    info.cbSize = sizeof info;
    POINT offset = {0, 0};
    if (GetMonitorInfoA(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &info))
        offset = WorkAreaOffset(info);
    return RECT{at.x + offset.x, at.y + offset.y, at.x + offset.x + Width(frame), at.y + offset.y + Height(frame)};
}

BOOL OnCreate(HWND window, LPCREATESTRUCT create)
{
    // The change guard raised, the focus index at R10, no capture, no texts behind.
    g_window = MainWindowState{};

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    g_window.pickCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_PICK));
    g_window.storeCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_STORE));
    g_window.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);

    UseDpi(WindowDpi(window));
    const auto* savedAt = static_cast<const POINT*>(create->lpCreateParams);
    SizeAndPlace(window, savedAt != nullptr ? *savedAt : POINT{0, 0});
    g_window.uiFont = CreateUiFont();
    CreateControls(window);
    g_window.windowDc = GetDC(window);
    CreateSurfaces(g_window.windowDc);
    return TRUE;
}

void OnDpiChanged(HWND window, UINT dpi, const RECT* suggested)
{
    UseDpi(dpi);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, Width(*suggested), Height(*suggested),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT previousFont = g_window.uiFont;
    g_window.uiFont = CreateUiFont();
    PlaceControls(window);
    PlaceTips(window);
    DeleteObject(previousFont);
    RecreateSurfaces(g_window.windowDc);
    DrawSwatchSurface();
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

void DestroyLayout(HWND window)
{
    DeleteObject(g_window.uiFont);
    g_window.uiFont = nullptr;
    DestroySurfaces();
    ReleaseDC(window, g_window.windowDc);
    g_window.windowDc = nullptr;
}

void SetControlText(HWND control, const char* text)
{
    // Writing an edit is costly (it lays its text out again and notifies its
    // parent twice); a text already shown is left alone.
    char shown[64];
    const int length = GetWindowTextA(control, shown, sizeof shown);
    // Byte for byte: lstrcmpA compares linguistically and takes some different texts for equal.
    if (length < static_cast<int>(sizeof shown) - 1 && std::strcmp(shown, text) == 0)
        return;
    SetWindowTextA(control, text);
}

static void WriteNumber(HWND edit, int32_t number)
{
    char text[16];
    wsprintfA(text, "%u", static_cast<unsigned>(number));
    SetControlText(edit, text);
}

void WriteColorEdits(HWND, EditSet edits)
{
    // What each edit shows: a number, or for R16, G16, B16 a hex text.
    const int32_t numbers[kColorEditCount] = {g_current.red, g_current.green, g_current.blue, 0, 0, 0,
                                              g_current.hue, g_current.saturation, g_current.value};
    const char* const hex[kColorEditCount] = {nullptr, nullptr, nullptr, g_current.redHex, g_current.greenHex,
                                              g_current.blueHex, nullptr, nullptr, nullptr};
    const uint8_t guard = g_window.changeGuard;
    g_window.changeGuard = 0;
    for (int i = 0; i < kColorEditCount; ++i) {
        if ((edits & EditBit(i)) == 0)
            continue;
        if (hex[i] != nullptr)
            SetControlText(g_window.editTable[i], hex[i]);
        else
            WriteNumber(g_window.editTable[i], numbers[i]);
    }
    g_window.changeGuard = guard;
}

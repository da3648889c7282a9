#include "view/layout.h"

#include <windowsx.h>

#include "color/color.h"
#include "res/resource.h"
#include "view/dpi.h"
#include "view/draw.h"
#include "view/geometry.h"
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
// whatever the frame, title bar and menu bar take.
void SizeAndPlace(HWND window, POINT savedAt)
{
    RECT windowRect;
    RECT clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    const SIZE client = Geo().client;
    const int width = Width(windowRect) - Width(clientRect) + client.cx;
    const int height = Height(windowRect) - Height(clientRect) + client.cy;
    const POINT at = PlaceOnSomeMonitor(savedAt.x, savedAt.y, width, height);
    SetWindowPos(window, nullptr, at.x, at.y, width, height, SWP_NOZORDER);
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
    }
}

}  // namespace

POINT PlaceOnSomeMonitor(int x, int y, int width, int height)
{
    POINT at = {x, y};
    const RECT rect = {x, y, x + width, y + height};
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return at;  // partly visible at least: exactly where it was
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return at;
    const RECT& work = info.rcWork;
    at.x = x + width > work.right ? work.right - width : x;
    at.y = y + height > work.bottom ? work.bottom - height : y;
    if (at.x < work.left)
        at.x = work.left;
    if (at.y < work.top)
        at.y = work.top;
    return at;
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
    CreateTips(window);
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
    if (length < static_cast<int>(sizeof shown) - 1 && lstrcmpA(shown, text) == 0)
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
    g_window.changeGuard = 0;
    for (int i = 0; i < kColorEditCount; ++i) {
        if ((edits & EditBit(i)) == 0)
            continue;
        if (hex[i] != nullptr)
            SetControlText(g_window.editTable[i], hex[i]);
        else
            WriteNumber(g_window.editTable[i], numbers[i]);
    }
    g_window.changeGuard = 1;
}

// Prints what the platform reports about the monitors, the DPI and the input
// on the display it runs on, one "name: value" line per fact, so that what the
// multi-monitor and high-DPI code may rely on is measured rather than assumed.
//
//   probe_display [monitors] [dpi] [screen] [input] [dpichange] [timing]
//
// Without arguments it runs every section but the timing.
#include <windows.h>
#include <windowsx.h>
#include <shellscalingapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/rig.h"

namespace {

void Fact(const char* name, const std::string& value) { std::printf("%s: %s\n", name, value.c_str()); }

std::string Int(long v) { return std::to_string(v); }

std::string Rect(const RECT& r)
{
    return "(" + Int(r.left) + "," + Int(r.top) + ")-(" + Int(r.right) + "," + Int(r.bottom) + ")";
}

std::string Point(POINT p) { return "(" + Int(p.x) + "," + Int(p.y) + ")"; }

// ---- monitors ----

std::vector<HMONITOR> Monitors()
{
    std::vector<HMONITOR> list;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR m, HDC, LPRECT, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(m);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

void ProbeMonitors()
{
    Fact("monitors.count", Int(GetSystemMetrics(SM_CMONITORS)));
    Fact("monitors.virtual", Rect(VirtualScreenRect()));
    Fact("monitors.primary_size", Int(GetSystemMetrics(SM_CXSCREEN)) + "x" + Int(GetSystemMetrics(SM_CYSCREEN)));
    int i = 0;
    for (HMONITOR m : Monitors()) {
        MONITORINFOEXA info;
        std::memset(&info, 0, sizeof info);
        info.cbSize = sizeof info;
        GetMonitorInfoA(m, &info);
        UINT dx = 0, dy = 0, rx = 0, ry = 0;
        GetDpiForMonitor(m, MDT_EFFECTIVE_DPI, &dx, &dy);
        GetDpiForMonitor(m, MDT_RAW_DPI, &rx, &ry);
        const std::string key = "monitors." + Int(i++);
        Fact((key + ".rect").c_str(), Rect(info.rcMonitor));
        Fact((key + ".work").c_str(), Rect(info.rcWork));
        Fact((key + ".primary").c_str(), Int((info.dwFlags & MONITORINFOF_PRIMARY) != 0));
        Fact((key + ".device").c_str(), info.szDevice);
        Fact((key + ".dpi_effective").c_str(), Int(static_cast<long>(dx)) + "x" + Int(static_cast<long>(dy)));
        Fact((key + ".dpi_raw").c_str(), Int(static_cast<long>(rx)) + "x" + Int(static_cast<long>(ry)));
    }
    const POINT outside = {VirtualScreenRect().right + 10, 0};
    Fact("monitors.from_point_outside_nearest_is_null",
         Int(MonitorFromPoint(outside, MONITOR_DEFAULTTONULL) == nullptr));
}

// ---- DPI ----

const char* AwarenessName(DPI_AWARENESS a)
{
    switch (a) {
    case DPI_AWARENESS_UNAWARE: return "unaware";
    case DPI_AWARENESS_SYSTEM_AWARE: return "system";
    case DPI_AWARENESS_PER_MONITOR_AWARE: return "per-monitor";
    default: return "invalid";
    }
}

// The version of comctl32 that this process's activation context loads.
std::string CommonControlsVersion()
{
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    DLLVERSIONINFO v;
    std::memset(&v, 0, sizeof v);
    v.cbSize = sizeof v;
    if (get == nullptr || get(&v) != S_OK)
        return "unknown";
    char path[MAX_PATH] = {};
    GetModuleFileNameA(comctl, path, MAX_PATH);
    return Int(static_cast<long>(v.dwMajorVersion)) + "." + Int(static_cast<long>(v.dwMinorVersion)) + " " + path;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp);

HWND MakeWindow(DWORD style, DWORD exStyle, const RECT& r)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc;
        std::memset(&wc, 0, sizeof wc);
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = "ProbeWindow";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(exStyle, "ProbeWindow", "probe", style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A caption window asked for a 406 x 276 client at (100, 100).
HWND MakeMainLikeWindow()
{
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r = {100, 100, 506, 376};
    AdjustWindowRectEx(&r, style, TRUE, 0);
    HWND w = MakeWindow(style | WS_VISIBLE, 0, r);
    PumpFor(200);
    return w;
}

void ProbeDpiOfWindow()
{
    HWND w = MakeMainLikeWindow();
    RECT client, frame;
    GetClientRect(w, &client);
    GetWindowRect(w, &frame);
    Fact("dpi.window_dpi", Int(static_cast<long>(GetDpiForWindow(w))));
    Fact("dpi.window_awareness", AwarenessName(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(w))));
    Fact("dpi.window_client_asked_406x276", Int(client.right) + "x" + Int(client.bottom));
    Fact("dpi.window_frame", Rect(frame));
    // What the screen really shows: a 10 x 10 square at client (20, 20).
    {
        HDC dc = GetDC(w);
        RECT square = {20, 20, 30, 30};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &square, red);
        DeleteObject(red);
        ReleaseDC(w, dc);
    }
    PumpFor(200);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    Fact("dpi.window_client_origin_on_screen", Point(origin));
    std::printf("dpi.window_hwnd: %lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)));
    std::fflush(stdout);
    if (GetEnvironmentVariableA("PROBE_HOLD", nullptr, 0) > 0)
        PumpFor(4000);  // time for a screenshot from outside
    DestroyWindow(w);
}

void ProbeDpi()
{
    Fact("dpi.thread_awareness",
         AwarenessName(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext())));
    PROCESS_DPI_AWARENESS pa = PROCESS_DPI_UNAWARE;
    GetProcessDpiAwareness(nullptr, &pa);
    Fact("dpi.process_awareness", Int(pa));
    Fact("dpi.is_process_dpi_aware", Int(IsProcessDPIAware()));
    Fact("dpi.system", Int(static_cast<long>(GetDpiForSystem())));
    HDC screen = GetDC(nullptr);
    Fact("dpi.logpixelsx", Int(GetDeviceCaps(screen, LOGPIXELSX)));
    Fact("dpi.horzres", Int(GetDeviceCaps(screen, HORZRES)));
    Fact("dpi.desktophorzres", Int(GetDeviceCaps(screen, DESKTOPHORZRES)));
    ReleaseDC(nullptr, screen);
    Fact("dpi.cxscreen", Int(GetSystemMetrics(SM_CXSCREEN)));
    Fact("dpi.cxvirtualscreen", Int(GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    Fact("dpi.cxvscroll", Int(GetSystemMetrics(SM_CXVSCROLL)));
    Fact("dpi.cxvscroll_for_144", Int(GetSystemMetricsForDpi(SM_CXVSCROLL, 144)));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT a = {0, 0, 406, 276}, b = a;
    AdjustWindowRectEx(&a, style, TRUE, 0);
    AdjustWindowRectExForDpi(&b, style, TRUE, 0, 144);
    Fact("dpi.adjust_406x276", Rect(a));
    Fact("dpi.adjust_406x276_for_144", Rect(b));
    Fact("dpi.comctl32_version", CommonControlsVersion());
    Fact("dpi.manifest_dpiAware", ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
    Fact("dpi.manifest_dpiAwareness",
         ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
    ProbeDpiOfWindow();
    // The same window made while the thread is DPI-unaware.
    DPI_AWARENESS_CONTEXT old = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    Fact("dpi.unaware_thread.cxscreen", Int(GetSystemMetrics(SM_CXSCREEN)));
    Fact("dpi.unaware_thread.system", Int(static_cast<long>(GetDpiForSystem())));
    std::printf("-- window made DPI-unaware --\n");
    ProbeDpiOfWindow();
    SetThreadDpiAwarenessContext(old);
}

// ---- the screen DC across the virtual screen ----

// The screen at point p, read through a strip copy of the whole virtual screen.
COLORREF ReadThroughCopy(POINT p)
{
    const RECT v = VirtualScreenRect();
    const std::vector<COLORREF> pixels = ReadScreen(v);
    return pixels[static_cast<size_t>(p.y - v.top) * static_cast<size_t>(v.right - v.left) +
                  static_cast<size_t>(p.x - v.left)];
}

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

void ProbeScreen()
{
    const std::vector<HMONITOR> monitors = Monitors();
    int i = 0;
    for (HMONITOR m : monitors) {
        MONITORINFO info;
        info.cbSize = sizeof info;
        GetMonitorInfoA(m, &info);
        const RECT& r = info.rcMonitor;
        const COLORREF color = RGB(10 + 40 * i, 200, 30 + 20 * i);
        const RECT box = {r.right - 60, r.bottom - 40, r.right - 10, r.bottom - 10};
        HWND w = ColorPopup(box, color);
        const POINT p = {box.left + 5, box.top + 5};
        HDC screen = GetDC(nullptr);
        const std::string key = "screen.monitor" + Int(i++);
        Fact((key + ".shown_at").c_str(), Point(p) + " " + Hex(color));
        Fact((key + ".getpixel").c_str(), Hex(GetPixel(screen, p.x, p.y)));
        ReleaseDC(nullptr, screen);
        Fact((key + ".strip_copy").c_str(), Hex(ReadThroughCopy(p)));
        DestroyWindow(w);
    }
}

// ---- input to a popup over the whole virtual screen ----

struct Seen {
    UINT message = 0;
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    int count = 0;
};
Seen g_lastMove, g_lastButton, g_lastKey, g_dpiChanged;
std::vector<WPARAM> g_keys;

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    switch (m) {
    case WM_MOUSEMOVE: g_lastMove = {m, lp, wp, g_lastMove.count + 1}; return 0;
    case WM_LBUTTONDOWN: g_lastButton = {m, lp, wp, g_lastButton.count + 1}; return 0;
    case WM_KEYDOWN:
        g_lastKey = {m, lp, wp, g_lastKey.count + 1};
        g_keys.push_back(wp);
        if (wp == VK_RIGHT) {  // the pointer one pixel on, as keyboard fine-positioning would
            POINT p;
            GetCursorPos(&p);
            SetCursorPos(p.x + 1, p.y);
        }
        return 0;
    case WM_DPICHANGED: {
        g_dpiChanged = {m, lp, wp, g_dpiChanged.count + 1};
        break;
    }
    }
    return DefWindowProcA(w, m, wp, lp);
}

std::string MessagePoint(const Seen& s)
{
    if (s.count == 0)
        return "none";
    return Point(POINT{GET_X_LPARAM(s.lParam), GET_Y_LPARAM(s.lParam)}) + " #" + Int(s.count);
}

// A point in the middle of the last monitor Wine lists (the second one when there are two).
POINT OnLastMonitor(int dx)
{
    MONITORINFO info;
    info.cbSize = sizeof info;
    GetMonitorInfoA(Monitors().back(), &info);
    return POINT{(info.rcMonitor.left + info.rcMonitor.right) / 2 + dx,
                 (info.rcMonitor.top + info.rcMonitor.bottom) / 2};
}

// The pointer and the screen beside a smaller monitor: inside the virtual
// screen's bounding box but on no monitor. Run last: under Xephyr the pointer
// may not come back.
void ProbeGap(POINT moved)
{
    const RECT v = VirtualScreenRect();
    POINT now;
    SetCursorPos(v.right + 50, v.top - 50);
    PumpFor(300);
    GetCursorPos(&now);
    Fact("input.setcursorpos_beyond_virtual_screen", Point(POINT{v.right + 50, v.top - 50}) + " -> " + Point(now));
    // Below the lower monitor, on none.
    POINT gap = {v.right - 5, v.bottom - 5};
    for (const MonitorSeen& m : ReportedMonitors())
        if (m.rect.bottom < v.bottom)
            gap = POINT{m.rect.left + 5, v.bottom - 5};
    Fact("input.gap_point_on_no_monitor", Int(MonitorFromPoint(gap, MONITOR_DEFAULTTONULL) == nullptr));
    {
        HDC screen = GetDC(nullptr);
        Fact("input.screen_pixel_in_gap", Hex(GetPixel(screen, gap.x, gap.y)));
        ReleaseDC(nullptr, screen);
    }
    SetCursorPos(gap.x, gap.y);
    PumpFor(300);
    GetCursorPos(&now);
    Fact("input.setcursorpos_into_gap", Point(gap) + " -> " + Point(now));
    SetCursorPos(moved.x, moved.y);
    PumpFor(300);
    GetCursorPos(&now);
    Fact("input.setcursorpos_out_of_gap", Point(moved) + " -> " + Point(now));
    SendMouse(moved, 0);
    PumpFor(300);
    GetCursorPos(&now);
    Fact("input.sendinput_out_of_gap", Point(moved) + " -> " + Point(now));
}

void ProbeInput()
{
    const RECT v = VirtualScreenRect();
    HWND w = MakeWindow(WS_POPUP, WS_EX_TOPMOST, v);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    SetForegroundWindow(w);
    SetFocus(w);
    PumpFor(300);
    RECT frame;
    GetWindowRect(w, &frame);
    Fact("input.popup_rect", Rect(frame));
    Fact("input.popup_foreground", Int(GetForegroundWindow() == w));

    const POINT target = OnLastMonitor(0);
    SetCursorPos(target.x, target.y);
    PumpFor(200);
    POINT now;
    GetCursorPos(&now);
    Fact("input.setcursorpos_to", Point(target));
    Fact("input.getcursorpos", Point(now));
    Fact("input.move_after_setcursorpos", MessagePoint(g_lastMove));

    const POINT moved = OnLastMonitor(37);
    SendMouse(moved, 0);
    PumpFor(200);
    GetCursorPos(&now);
    Fact("input.sendinput_move_to", Point(moved));
    Fact("input.sendinput_getcursorpos", Point(now));
    Fact("input.sendinput_move_message", MessagePoint(g_lastMove));
    SendMouse(moved, MOUSEEVENTF_LEFTDOWN);
    SendMouse(moved, MOUSEEVENTF_LEFTUP);
    PumpFor(200);
    Fact("input.sendinput_click_message", MessagePoint(g_lastButton));

    g_keys.clear();
    const int movesBefore = g_lastMove.count;
    SendKey(VK_RIGHT, false);
    SendKey(VK_DOWN, true);
    SendKey(VK_RETURN, false);
    PumpFor(300);
    std::string keys;
    for (WPARAM k : g_keys)
        keys += Int(static_cast<long>(k)) + " ";
    Fact("input.keys_seen (39 right, 40 down, 16 shift, 13 enter)", keys.empty() ? "none" : keys);
    GetCursorPos(&now);
    Fact("input.right_arrow_moved_pointer_from", Point(moved) + " to " + Point(now));
    Fact("input.moves_after_arrow", Int(g_lastMove.count - movesBefore) + ", last " + MessagePoint(g_lastMove));
    ProbeGap(moved);
    DestroyWindow(w);
}

// ---- WM_DPICHANGED ----

void ProbeDpiChange()
{
    HWND w = MakeMainLikeWindow();
    const POINT second = OnLastMonitor(0);
    SetWindowPos(w, nullptr, second.x - 200, second.y - 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpFor(500);
    Fact("dpichange.arrived_on_move_to_last_monitor", Int(g_dpiChanged.count));
    RECT before;
    GetWindowRect(w, &before);
    RECT suggested = {before.left, before.top, before.left + 700, before.top + 500};
    SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    PumpFor(200);
    RECT after;
    GetWindowRect(w, &after);
    Fact("dpichange.sent_ourselves_seen", Int(g_dpiChanged.count));
    Fact("dpichange.defwindowproc_moved_window", Int(!EqualRect(&before, &after)));
    Fact("dpichange.window_dpi_after", Int(static_cast<long>(GetDpiForWindow(w))));
    DestroyWindow(w);
}

// ---- timing ----

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    char text[64];
    std::snprintf(text, sizeof text, "median %.1f ms, max %.1f ms (%zu runs)", ms[ms.size() / 2], ms.back(),
                  ms.size());
    return text;
}

void ProbeTiming()
{
    const RECT v = VirtualScreenRect();
    const int width = v.right - v.left, height = v.bottom - v.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bitmap);
    std::vector<double> strips, whole, paint;
    int rows = std::max(16, (1 << 20) / (4 * width));
    char rowsText[16] = {};
    if (GetEnvironmentVariableA("PROBE_STRIP_ROWS", rowsText, sizeof rowsText) > 0)
        rows = std::max(1, std::atoi(rowsText));
    Fact("timing.strip_rows", Int(rows));
    HWND w = MakeWindow(WS_POPUP, WS_EX_TOPMOST, v);
    for (int run = 0; run < 15; ++run) {
        double t = NowMs();
        for (int top = 0; top < height; top += rows)
            BitBlt(mem, 0, top, width, std::min(rows, height - top), screen, v.left, v.top + top, SRCCOPY);
        strips.push_back(NowMs() - t);
        t = NowMs();
        BitBlt(mem, 0, 0, width, height, screen, v.left, v.top, SRCCOPY);
        whole.push_back(NowMs() - t);
        t = NowMs();
        ShowWindow(w, SW_SHOWNA);
        HDC dc = GetDC(w);
        BitBlt(dc, 0, 0, width, height, mem, 0, 0, SRCCOPY);
        ReleaseDC(w, dc);
        GdiFlush();
        paint.push_back(NowMs() - t);
        ShowWindow(w, SW_HIDE);
        PumpFor(50);
    }
    DestroyWindow(w);
    Fact("timing.virtual_screen", Int(width) + "x" + Int(height));
    Fact("timing.screenshot_in_strips", Median(strips));
    Fact("timing.screenshot_whole", Median(whole));
    Fact("timing.show_and_paint_overlay", Median(paint));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

}  // namespace

int main(int argc, char** argv)
{
    const struct {
        const char* name;
        void (*run)();
        bool byDefault;
    } sections[] = {
        {"monitors", ProbeMonitors, true}, {"dpi", ProbeDpi, true},           {"screen", ProbeScreen, true},
        {"input", ProbeInput, true},       {"dpichange", ProbeDpiChange, true}, {"timing", ProbeTiming, false},
    };
    for (const auto& s : sections) {
        bool wanted = argc == 1 && s.byDefault;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], s.name) == 0;
        if (wanted) {
            s.run();
            std::fflush(stdout);
        }
    }
    return 0;
}

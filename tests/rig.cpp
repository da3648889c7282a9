#include "tests/rig.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "view/gdi.h"

namespace {

std::string Env(const char* name)
{
    char value[256] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? value : "";
}

}  // namespace

std::vector<MonitorSeen> ReportedMonitors()
{
    std::vector<MonitorSeen> list;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info;
            std::memset(&info, 0, sizeof info);
            info.cbSize = sizeof info;
            GetMonitorInfoA(monitor, &info);
            UINT dpiX = 0, dpiY = 0;
            GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY);
            reinterpret_cast<std::vector<MonitorSeen>*>(data)->push_back(
                {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, dpiX});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

std::vector<RECT> RigMonitors()
{
    std::vector<RECT> rects;
    std::istringstream sizes(Env("TINTBOX_MONITORS"));
    std::string size;
    int left = 0;
    while (sizes >> size) {
        const int width = std::atoi(size.c_str());
        const int height = std::atoi(size.c_str() + size.find('x') + 1);
        rects.push_back(RECT{left, 0, left + width, height});
        left += width;
    }
    if (RigPrimaryHead() < rects.size()) {
        const POINT origin = {rects[RigPrimaryHead()].left, rects[RigPrimaryHead()].top};
        for (RECT& r : rects)
            OffsetRect(&r, -origin.x, -origin.y);
    }
    return rects;
}

size_t RigPrimaryHead() { return static_cast<size_t>(std::atoi(Env("TINTBOX_PRIMARY_HEAD").c_str())); }

int RigDpi() { return std::atoi(Env("TINTBOX_DPI").c_str()); }

RECT VirtualScreenRect()
{
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

std::string Text(const RECT& r)
{
    std::ostringstream text;
    text << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return text.str();
}

std::string Text(POINT p)
{
    std::ostringstream text;
    text << "(" << p.x << "," << p.y << ")";
    return text.str();
}

void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

HWND ColorPopup(const RECT& r, COLORREF color)
{
    static const char kClass[] = "RigColorPopup";
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly once registered
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClass, "", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    {
        WindowDcGuard dc(window);
        ScopedBrush brush(CreateSolidBrush(color));
        const RECT all = {0, 0, r.right - r.left, r.bottom - r.top};
        FillRect(dc.get(), &all, brush.get());
    }
    PumpFor(300);
    return window;
}

COLORREF RigPattern(int x, int y)
{
    const unsigned ux = static_cast<unsigned>(x), uy = static_cast<unsigned>(y);
    return RGB(ux & 0xFF, uy & 0xFF, 0x80 | ((ux >> 8) & 7) | (((uy >> 8) & 7) << 3));
}

HWND PatternPopup(const RECT& r)
{
    HWND window = ColorPopup(r, RGB(0, 0, 0));
    {
        WindowDcGuard dc(window);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                SetPixelV(dc.get(), x - r.left, y - r.top, RigPattern(x, y));
    }
    PumpFor(200);
    return window;
}

std::vector<COLORREF> ReadScreen(const RECT& r, int stripRows)
{
    WindowDcGuard screen(nullptr);
    return ReadDc(screen.get(), r, stripRows);
}

std::vector<COLORREF> ReadDc(HDC dc, const RECT& r, int stripRows)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    WindowDcGuard screen(nullptr);
    MemoryDcGuard copy(screen.get());
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    SelectGuard selected(copy.get(), bitmap.get());
    for (int top = 0; top < height; top += stripRows)
        BitBlt(copy.get(), 0, top, width, std::min(stripRows, height - top), dc, r.left, r.top + top, SRCCOPY);
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(copy.get(), x, y));
    return pixels;
}

void SendKey(WORD key, bool shift)
{
    std::vector<INPUT> in;
    const auto add = [&in](WORD k, DWORD flags) {
        INPUT i;
        std::memset(&i, 0, sizeof i);
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    if (shift)
        add(VK_SHIFT, 0);
    add(key, KEYEVENTF_EXTENDEDKEY);
    add(key, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
    if (shift)
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SendMouse(POINT p, DWORD flags)
{
    const RECT v = VirtualScreenRect();
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x - v.left, 65535, v.right - v.left - 1);
    in.mi.dy = MulDiv(p.y - v.top, 65535, v.bottom - v.top - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | flags;
    SendInput(1, &in, sizeof in);
}

std::string ManifestSetting(const wchar_t* space, const wchar_t* name)
{
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, nullptr, space, name, value, 64, &written))
        return "(none)";
    char text[64] = {};
    WideCharToMultiByte(CP_UTF8, 0, value, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

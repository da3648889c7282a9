// What the platform gives a program on a screen of more than 96 DPI, which a
// window and a capture scaled by the DPI build on: the DPI itself, a window's
// client at a scaled size, the screen read in physical pixels, and
// WM_DPICHANGED. Runs through scripts/wine-rig with TINTBOX_DPI set.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/rig.h"

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int g_dpiChanged;  // WM_DPICHANGED seen by PlainProc

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DPICHANGED)
        ++g_dpiChanged;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of the main window's style, with a menu bar, whose frame is the
// one AdjustWindowRectExForDpi gives for a `width` × `height` client at `dpi`.
HWND FramedWindow(int x, int y, int width, int height, UINT dpi)
{
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RigFramed";
    RegisterClassA(&wc);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "File");
    AppendMenuA(menu, MF_STRING, 2, "Options");
    RECT frame = {x, y, x + width, y + height};
    AdjustWindowRectExForDpi(&frame, kMainStyle, TRUE, 0, dpi);
    HWND window = CreateWindowExA(0, "RigFramed", "", kMainStyle | WS_VISIBLE, frame.left, frame.top,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, menu, wc.hInstance,
                                  nullptr);
    PumpFor(200);
    return window;
}

class Dpi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(RigDpi(), 96) << "not run on a high-DPI rig (scripts/wine-rig, TINTBOX_DPI)"; }
    UINT dpi() const { return static_cast<UINT>(RigDpi()); }
};

TEST_F(Dpi, TheScreenAndEveryMonitorHaveTheRigsDpi)
{
    EXPECT_EQ(GetDpiForSystem(), dpi());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), RigDpi());
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), RigDpi());
    ReleaseDC(nullptr, screen);
    for (const MonitorSeen& m : ReportedMonitors())
        EXPECT_EQ(m.dpi, dpi()) << Text(m.rect);
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE)
        << "the program sees physical pixels";
}

TEST_F(Dpi, AWindowFramedForTheDpiGetsTheScaledClient)
{
    const int width = MulDiv(406, RigDpi(), 96), height = MulDiv(276, RigDpi(), 96);
    HWND window = FramedWindow(100, 100, width, height, dpi());
    EXPECT_EQ(GetDpiForWindow(window), dpi());
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(Text(origin), Text(POINT{100, 100}));
    DestroyWindow(window);
}

// Every pixel a color of its own: a scaled or smoothed screen would not give them back.
COLORREF PatternAt(int x, int y) { return RGB(x * 3, y * 5, 0x40 | ((x + y) & 1) << 7); }

TEST_F(Dpi, TheScreenIsReadInPhysicalPixels)
{
    const RECT area = {200, 150, 264, 198};
    HWND popup = ColorPopup(area, RGB(0, 0, 0));
    {
        HDC dc = GetDC(popup);
        for (int y = 0; y < area.bottom - area.top; ++y)
            for (int x = 0; x < area.right - area.left; ++x)
                SetPixel(dc, x, y, PatternAt(x, y));
        ReleaseDC(popup, dc);
    }
    PumpFor(300);
    const std::vector<COLORREF> pixels = ReadScreen(area);
    int wrong = 0;
    for (int y = 0; y < area.bottom - area.top; ++y)
        for (int x = 0; x < area.right - area.left; ++x)
            wrong += pixels[static_cast<size_t>(y * (area.right - area.left) + x)] != PatternAt(x, y);
    EXPECT_EQ(wrong, 0) << "pixels read back otherwise than drawn";
    DestroyWindow(popup);
}

TEST_F(Dpi, WmDpiChangedComesOnlyFromTheProgramAndMovesNothingByItself)
{
    HWND window = FramedWindow(100, 100, 406, 276, dpi());
    g_dpiChanged = 0;
    for (const MonitorSeen& m : ReportedMonitors()) {
        const POINT c = Center(m.rect);
        SetWindowPos(window, nullptr, c.x - 100, c.y - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpFor(200);
    }
    EXPECT_EQ(g_dpiChanged, 0) << "all monitors share one DPI: moving between them changes none";

    RECT before;
    GetWindowRect(window, &before);
    RECT suggested = {before.left + 10, before.top + 10, before.left + 700, before.top + 500};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    PumpFor(100);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(g_dpiChanged, 1);
    EXPECT_EQ(Text(after), Text(before)) << "the window's own handler has to take the suggested rectangle";
    EXPECT_EQ(GetDpiForWindow(window), dpi()) << "a sent WM_DPICHANGED changes no DPI";
    DestroyWindow(window);
}

// The program's manifest is linked into this test as into the program. Only
// its settings are read here: Wine makes every program per-monitor aware with
// or without them (and even when a manifest asks for less).
TEST_F(Dpi, TheManifestIsReadAndKeepsTheClassicControls)
{
    EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), "true/pm");
    EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              "PerMonitorV2, PerMonitor");
    // With a dependency on the version 6 controls they would come from the
    // side-by-side store (Wine's reports version 5.81 all the same).
    char path[MAX_PATH] = {};
    GetModuleFileNameA(LoadLibraryA("comctl32.dll"), path, MAX_PATH);
    EXPECT_NE(std::string(path).find("\\system32\\"), std::string::npos) << path;
}

}  // namespace

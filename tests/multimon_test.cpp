// What the platform gives a program on more than one monitor, which a capture
// of the whole virtual screen builds on: the monitors and their DPI, the
// screen read on each of them, and the pointer and the keys over a popup that
// covers them all. Runs through scripts/wine-rig with TINTBOX_MONITORS set.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/rig.h"

namespace {

bool LeftOf(const RECT& a, const RECT& b) { return a.left < b.left; }

TEST(Monitors, AreReportedAsTheRigLaysThemOut)
{
    std::vector<RECT> expected = RigMonitors();
    ASSERT_GE(expected.size(), 2u) << "not run on a multi-monitor rig (scripts/wine-rig, TINTBOX_MONITORS)";
    const RECT primary = expected[RigPrimaryHead()];
    std::vector<MonitorSeen> seen = ReportedMonitors();
    ASSERT_EQ(seen.size(), expected.size());
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), static_cast<int>(expected.size()));
    std::sort(expected.begin(), expected.end(), LeftOf);
    std::sort(seen.begin(), seen.end(), [](const MonitorSeen& a, const MonitorSeen& b) { return LeftOf(a.rect, b.rect); });
    RECT all = {0, 0, 0, 0};
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(Text(expected[i]));
        EXPECT_EQ(Text(seen[i].rect), Text(expected[i]));
        EXPECT_EQ(Text(seen[i].work), Text(expected[i])) << "no task bar: the work area is the monitor";
        EXPECT_EQ(seen[i].primary, EqualRect(&expected[i], &primary) != 0);
        EXPECT_EQ(seen[i].dpi, GetDpiForSystem()) << "every monitor has the system's DPI";
        UnionRect(&all, &all, &expected[i]);
    }
    EXPECT_EQ(Text(VirtualScreenRect()), Text(all));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), primary.right - primary.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), primary.bottom - primary.top);
}

TEST(Monitors, TheScreenIsReadOnEveryMonitor)
{
    const std::vector<MonitorSeen> monitors = ReportedMonitors();
    ASSERT_GE(monitors.size(), 2u);
    for (size_t i = 0; i < monitors.size(); ++i) {
        const RECT& m = monitors[i].rect;
        SCOPED_TRACE(Text(m));
        const COLORREF color = RGB(20 + 50 * i, 200, 90 + 30 * i);
        // The monitor's bottom-right corner: beside the gap when it is the lower one.
        const RECT box = {m.right - 40, m.bottom - 30, m.right, m.bottom};
        HWND popup = ColorPopup(box, color);
        {
            HDC screen = GetDC(nullptr);
            EXPECT_EQ(GetPixel(screen, m.right - 1, m.bottom - 1), color) << "through GetPixel of the screen";
            ReleaseDC(nullptr, screen);
        }
        // The whole virtual screen in strips from its top-left corner, as a capture reads it.
        const RECT v = VirtualScreenRect();
        const std::vector<COLORREF> pixels = ReadScreen(v);
        const size_t at = static_cast<size_t>(m.bottom - 1 - v.top) * static_cast<size_t>(v.right - v.left) +
                          static_cast<size_t>(m.right - 1 - v.left);
        EXPECT_EQ(pixels[at], color) << "through a copy of the virtual screen";
        DestroyWindow(popup);
    }
}

// ---- A popup over the whole virtual screen, as the capture overlay will be ----

struct Seen {
    int moves = 0;
    POINT move = {0, 0};
    int clicks = 0;
    POINT click = {0, 0};
    int keys = 0;  // arrow keys
};
Seen g_seen;

// An arrow key moves the pointer one pixel, ten with Shift, as keyboard
// fine-positioning would; the move must come back as WM_MOUSEMOVE.
void MovePointerFor(WPARAM key)
{
    if (key == VK_SHIFT)
        return;
    ++g_seen.keys;
    const int step = GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
    POINT p;
    GetCursorPos(&p);
    p.x += key == VK_RIGHT ? step : key == VK_LEFT ? -step : 0;
    p.y += key == VK_DOWN ? step : key == VK_UP ? -step : 0;
    SetCursorPos(p.x, p.y);
}

LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEMOVE: ++g_seen.moves, g_seen.move = p; return 0;
    case WM_LBUTTONDOWN: ++g_seen.clicks, g_seen.click = p; return 0;
    case WM_KEYDOWN: MovePointerFor(wParam); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

class Overlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GE(ReportedMonitors().size(), 2u) << "not run on a multi-monitor rig";
        WNDCLASSA wc;
        std::memset(&wc, 0, sizeof wc);
        wc.lpfnWndProc = OverlayProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = "RigOverlay";
        RegisterClassA(&wc);
        origin_ = VirtualScreenRect();
        window_ = CreateWindowExA(0, "RigOverlay", "", WS_POPUP, origin_.left, origin_.top,
                                  origin_.right - origin_.left, origin_.bottom - origin_.top, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
        SetForegroundWindow(window_);
        PumpFor(300);
        g_seen = Seen();
    }
    void TearDown() override { DestroyWindow(window_); }

    // Where a screen point is in the popup's client area.
    POINT Client(POINT screen) const { return POINT{screen.x - origin_.left, screen.y - origin_.top}; }

    RECT origin_ = {0, 0, 0, 0};
    HWND window_ = nullptr;
};

TEST_F(Overlay, GetsThePointerOnEveryMonitorInClientCoordinates)
{
    for (const MonitorSeen& m : ReportedMonitors()) {
        SCOPED_TRACE(Text(m.rect));
        const POINT center = Center(m.rect);
        SetCursorPos(center.x, center.y);
        PumpFor(200);
        EXPECT_EQ(Text(g_seen.move), Text(Client(center))) << "SetCursorPos";

        const POINT click = {center.x + 37, center.y - 11};
        SendMouse(click, 0);
        SendMouse(click, MOUSEEVENTF_LEFTDOWN);
        SendMouse(click, MOUSEEVENTF_LEFTUP);
        PumpFor(200);
        POINT now;
        GetCursorPos(&now);
        EXPECT_EQ(Text(now), Text(click)) << "SendInput, absolute over the virtual desktop";
        EXPECT_EQ(Text(g_seen.move), Text(Client(click)));
        EXPECT_EQ(Text(g_seen.click), Text(Client(click)));
    }
    // Beyond the virtual screen the pointer stops at its edge.
    SetCursorPos(origin_.right + 50, origin_.top - 50);
    PumpFor(200);
    POINT now;
    GetCursorPos(&now);
    EXPECT_EQ(Text(now), Text(POINT{origin_.right - 1, origin_.top}));
}

TEST_F(Overlay, ArrowKeysMoveThePointerOnTheSecondMonitor)
{
    const std::vector<MonitorSeen> monitors = ReportedMonitors();
    const auto other = std::find_if(monitors.begin(), monitors.end(), [](const MonitorSeen& m) { return !m.primary; });
    ASSERT_NE(other, monitors.end());
    POINT expected = Center(other->rect);
    SetCursorPos(expected.x, expected.y);
    PumpFor(200);
    const struct {
        WORD key;
        bool shift;
        int dx, dy;
    } presses[] = {
        {VK_RIGHT, false, 1, 0}, {VK_DOWN, false, 0, 1}, {VK_LEFT, true, -10, 0}, {VK_UP, true, 0, -10},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.key);
        const Seen before = g_seen;
        SendKey(press.key, press.shift);
        PumpFor(200);
        expected.x += press.dx;
        expected.y += press.dy;
        POINT now;
        GetCursorPos(&now);
        EXPECT_EQ(g_seen.keys, before.keys + 1) << "the key reaches the popup";
        EXPECT_EQ(Text(now), Text(expected));
        EXPECT_GT(g_seen.moves, before.moves);
        EXPECT_EQ(Text(g_seen.move), Text(Client(expected))) << "the move comes back as WM_MOUSEMOVE";
    }
}

}  // namespace

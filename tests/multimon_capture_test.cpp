// The real program's screen capture on two monitors (scripts/wine-rig,
// TINTBOX_MONITORS: 1024 x 768 primary and 800 x 600 beside it, right or left):
// a color shown only on the other monitor is picked by the mouse and by the
// keys, the panel stands in the right half of the pointer's monitor, the
// arrows keep the pointer on the monitors, and what lies on no monitor is
// black and not picked. Input goes through the input queue and the program's
// own message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "color/color.h"
#include "res/resource.h"
#include "store/files.h"
#include "tests/program_loop.h"
#include "tests/rig.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"

namespace {

HACCEL g_keys;

void Pump() { PumpLikeTheProgram(g_keys, 4, 10); }

std::string Hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%06X", static_cast<unsigned>(c));
    return text;
}

RECT MonitorRect(bool primary)
{
    for (const MonitorSeen& m : ReportedMonitors())
        if (m.primary == primary)
            return m.rect;
    return RECT{0, 0, 0, 0};
}
RECT Primary() { return MonitorRect(true); }
RECT Other() { return MonitorRect(false); }

// The overlay's client point of a screen point.
RECT ToClient(RECT r)
{
    const RECT v = VirtualScreenRect();
    OffsetRect(&r, -v.left, -v.top);
    return r;
}

void OpenCaptureAt(POINT p)
{
    SetCursorPos(p.x, p.y);
    Pump();
    SendKey(VK_F5, false);
    Pump();
}

class Capture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_keys = StartProgramInTestFolder();
        ASSERT_NE(g_keys, nullptr);
    }
    void SetUp() override
    {
        ASSERT_EQ(ReportedMonitors().size(), 2u) << "not run on the two-monitor rig (scripts/wine-rig)";
        ASSERT_EQ(Width(Primary()), 1024);
        ASSERT_EQ(Width(Other()), 800);
        ASSERT_EQ(Height(Other()), 600);
        TakeColor(g_mainWindow, RGB(1, 2, 3));
        Pump();
    }
    void TearDown() override
    {
        CancelCapture();
        Pump();
    }
};

TEST_F(Capture, PicksAColorShownOnlyOnTheOtherMonitorByMouseAndByKeys)
{
    const RECT m = Other();
    const POINT start = {m.left + 100, m.top + 100};
    HWND popup = PatternPopup(RECT{start.x - 20, start.y - 20, start.x + 20, start.y + 20});
    struct Press {
        WORD key;
        bool shift;
    };
    const struct {
        const char* way;
        std::vector<Press> moves;
        WORD pick;  // 0: a left click
        POINT at;
    } ways[] = {
        {"left click", {}, 0, {start.x + 7, start.y - 3}},
        {"arrows and Enter", {{VK_RIGHT, true}, {VK_RIGHT, false}, {VK_UP, false}}, VK_RETURN, {start.x + 11, start.y - 1}},
        {"arrows and Space", {{VK_LEFT, false}, {VK_DOWN, true}}, VK_SPACE, {start.x - 1, start.y + 10}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        TakeColor(g_mainWindow, RGB(1, 2, 3));
        OpenCaptureAt(start);
        ASSERT_TRUE(g_window.captureActive);
        for (const Press& press : way.moves) {
            SendKey(press.key, press.shift);
            Pump();
        }
        if (way.pick == 0) {
            SendMouse(way.at, 0);
            SendMouse(way.at, MOUSEEVENTF_LEFTDOWN);
            SendMouse(way.at, MOUSEEVENTF_LEFTUP);
        } else {
            POINT now;
            GetCursorPos(&now);
            EXPECT_EQ(Text(now), Text(way.at)) << "the pointer went where the arrows took it";
            const RECT square = Geo().magnifierGrid;
            const POINT middle = Center(square);
            EXPECT_EQ(Hex(GetPixel(g_window.surfaces.magnifier.dc, middle.x, middle.y)), Hex(RigPattern(way.at.x, way.at.y)))
                << "the magnifier followed";
            SendKey(way.pick, false);
        }
        Pump();
        EXPECT_FALSE(g_window.captureActive);
        EXPECT_EQ(Hex(ColorRefOf(g_current)), Hex(RigPattern(way.at.x, way.at.y)));
        EXPECT_EQ(Hex(ColorRefOf(g_reference)), Hex(RigPattern(way.at.x, way.at.y)));
    }
    DestroyWindow(popup);
}

// In the half of the pointer's monitor that the pointer is not in, vertically
// centred on that monitor; where it stood before, the screenshot again.
TEST_F(Capture, ThePanelStandsOnThePointersMonitorInTheOtherHalf)
{
    const RECT p = Primary(), o = Other();
    const struct {
        POINT pointer;
        POINT panel;  // its top-left corner, screen coordinates
    } moves[] = {
        {{p.left + 100, 300}, {p.left + 683, 264}},
        {{p.left + 513, 700}, {p.left + 171, 264}},
        {{o.left + 399, 50}, {o.left + 515, 180}},
        {{o.left + 401, 590}, {o.left + 115, 180}},
        {{o.left + 10, 10}, {o.left + 515, 180}},
        {{p.left + 512, 10}, {p.left + 683, 264}},
    };
    OpenCaptureAt(moves[0].pointer);
    ASSERT_TRUE(g_window.captureActive);
    HDC overlay = GetDC(g_window.captureWindow);
    RECT before = {0, 0, 0, 0};
    for (const auto& move : moves) {
        SCOPED_TRACE(Text(move.pointer));
        SendMouse(move.pointer, 0);
        Pump();
        const RECT at = ToClient(RECT{move.panel.x, move.panel.y, move.panel.x + 170, move.panel.y + 240});
        EXPECT_EQ(ReadDc(overlay, at), ReadDc(g_window.surfaces.magnifier.dc, RECT{0, 0, 170, 240}))
            << "the panel at " << Text(move.panel);
        if (!IsRectEmpty(&before) && !EqualRect(&before, &at)) {
            EXPECT_EQ(ReadDc(overlay, before), ReadDc(g_window.surfaces.screen.dc, before)) << "the place it left";
        }
        before = at;
    }
    ReleaseDC(g_window.captureWindow, overlay);
}

// Beside the smaller monitor and beyond the virtual screen the cells are black
// and a click picks nothing; the overlay stays.
TEST_F(Capture, WhatLiesOnNoMonitorIsBlackAndNotPicked)
{
    const RECT o = Other(), v = VirtualScreenRect();
    const LONG outer = o.left == v.left ? o.left : o.right - 1;  // its edge at the virtual screen's edge
    const POINT points[] = {{o.left + 200, o.bottom - 3}, {outer, o.bottom - 1}};
    for (const POINT& p : points) {
        SCOPED_TRACE(Text(p));
        HWND popup = PatternPopup(RECT{std::max(p.x - 10, o.left), p.y - 10, std::min(p.x + 10, o.right), o.bottom});
        OpenCaptureAt(p);
        ASSERT_TRUE(g_window.captureActive);
        for (int i = 0; i < kMagnifierCells; ++i) {
            for (int j = 0; j < kMagnifierCells; ++j) {
                const POINT at = {p.x - 7 + j, p.y - 7 + i};
                const COLORREF expected = PtInRect(&o, at) ? RigPattern(at.x, at.y) : RGB(0, 0, 0);
                EXPECT_EQ(Hex(GetPixel(g_window.surfaces.magnifier.dc, 15 + 10 * j, 15 + 10 * i)), Hex(expected))
                    << "cell of " << Text(at);
            }
        }
        const RECT gap = ToClient(RECT{o.left + 200, o.bottom + 20, 0, 0});
        SendMessageA(g_window.captureWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gap.left, gap.top));
        Pump();
        EXPECT_TRUE(g_window.captureActive) << "the overlay stays";
        EXPECT_EQ(Hex(ColorRefOf(g_current)), Hex(RGB(1, 2, 3)));
        CancelCapture();
        Pump();
        DestroyWindow(popup);
    }
}

// One pixel a press (ten with Shift), onto the other monitor where they meet,
// never into the gap beside the smaller one or off the virtual screen.
TEST_F(Capture, ArrowsKeepThePointerOnTheMonitors)
{
    const RECT p = Primary(), o = Other(), v = VirtualScreenRect();
    const bool otherOnTheRight = o.left >= p.right;
    const WORD towardOther = otherOnTheRight ? VK_RIGHT : VK_LEFT;
    const WORD outward = o.left == v.left ? VK_LEFT : VK_RIGHT;
    const LONG primaryEdge = otherOnTheRight ? p.right - 1 : p.left;
    const LONG otherEdge = otherOnTheRight ? o.left : o.right - 1;
    const LONG outerEdge = outward == VK_LEFT ? o.left : o.right - 1;
    const LONG inward = outward == VK_LEFT ? 1 : -1;
    const struct {
        const char* what;
        POINT from;
        WORD key;
        bool shift;
        POINT to;
    } presses[] = {
        {"onto the other monitor", {primaryEdge, 300}, towardOther, false, {otherEdge, 300}},
        {"not into the gap", {primaryEdge, 700}, towardOther, false, {primaryEdge, 700}},
        {"not below the smaller one", {o.left + 50, o.bottom - 1}, VK_DOWN, false, {o.left + 50, o.bottom - 1}},
        {"ten, stopped at its bottom", {o.left + 50, o.bottom - 4}, VK_DOWN, true, {o.left + 50, o.bottom - 1}},
        {"ten, stopped at its outer edge", {outerEdge + 3 * inward, 100}, outward, true, {outerEdge, 100}},
        {"not above the top", {o.left + 50, 0}, VK_UP, true, {o.left + 50, 0}},
        {"ten up", {o.left + 50, 40}, VK_UP, true, {o.left + 50, 30}},
    };
    OpenCaptureAt(presses[0].from);
    ASSERT_TRUE(g_window.captureActive);
    for (const auto& press : presses) {
        SCOPED_TRACE(press.what);
        SetCursorPos(press.from.x, press.from.y);
        Pump();
        SendKey(press.key, press.shift);
        Pump();
        POINT now;
        GetCursorPos(&now);
        EXPECT_EQ(Text(now), Text(press.to));
    }
    EXPECT_TRUE(g_window.captureActive);
}

}  // namespace

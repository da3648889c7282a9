// The real program at 144 DPI on two monitors (scripts/wine-rig, TINTBOX_DPI):
// the window laid out from the table scaled by 1.5, every picker pixel showing
// the color a click there gives, clicks at the physical points of 96-DPI
// points giving the 96-DPI results, WM_DPICHANGED, and the capture's panel at
// its monitor's DPI picking the exact physical pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "color/color.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "tests/program_loop.h"
#include "tests/rig.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/tips.h"

namespace {

HACCEL g_keys;

void Pump() { PumpLikeTheProgram(g_keys, 4, 10); }

// A 96-DPI number at 144 DPI, and the physical pixels a 96-DPI pixel covers.
LONG At144(LONG v) { return MulDiv(v, 144, 96); }
LONG LastAt144(LONG v) { return At144(v + 1) - 1; }

std::string Hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%06X", static_cast<unsigned>(c));
    return text;
}

RECT ClientRect(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, g_mainWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG FontHeight(HFONT font)
{
    LOGFONTA f = {};
    GetObjectA(font, sizeof f, &f);
    return f.lfHeight;
}

// A click on the main window at a physical client point, as the platform delivers it.
void ClickAt(LONG x, LONG y)
{
    SendMessageA(g_mainWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(g_mainWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class Window144 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_keys = StartProgramInTestFolder();
        ASSERT_NE(g_keys, nullptr);
    }
    void SetUp() override
    {
        ASSERT_EQ(RigDpi(), 144) << "not run on the 144-DPI rig (scripts/wine-rig, TINTBOX_DPI)";
        ASSERT_EQ(g_dpi, 144u);
        SwitchDisplayMode(g_mainWindow, 0);
        TakeColor(g_mainWindow, RGB(255, 0, 0));  // value 100
        Pump();
    }
    void TearDown() override
    {
        CancelCapture();
        Pump();
    }
};

TEST_F(Window144, IsLaidOutFromTheTableScaled)
{
    RECT client;
    GetClientRect(g_mainWindow, &client);
    EXPECT_EQ(Text(client), "(0,0)-(609,414)");
    EXPECT_EQ(FontHeight(g_window.uiFont), 18);
    EXPECT_EQ(Text(ClientRect(g_window.editTable[0])), "(42,210)-(87,237)") << "R10";
    for (int i = 0; i < kColorEditCount; ++i) {
        const RECT& r = Logical().controls[i];
        EXPECT_EQ(Text(ClientRect(g_window.editTable[i])),
                  Text(RECT{At144(r.left), At144(r.top), At144(r.right), At144(r.bottom)}))
            << "edit " << i;
    }
    const struct {
        const char* name;
        const Surface& surface;
        LONG width, height;
    } surfaces[] = {
        {"swatch", g_window.surfaces.swatch, 165, 165},   {"red bar", g_window.surfaces.redBar, 384, 22},
        {"field", g_window.surfaces.hueSat, 270, 150},    {"value bar", g_window.surfaces.valueBar, 30, 150},
        {"palette", g_window.surfaces.palette, 337, 169},
    };
    for (const auto& s : surfaces) {
        EXPECT_EQ(s.surface.width, s.width) << s.name;
        EXPECT_EQ(s.surface.height, s.height) << s.name;
    }
}

bool OnLines(LONG v, LONG from, LONG to)
{
    const LONG middle = (from + to) / 2;
    return v == from || v == middle || v == middle + 5 || v == to - 1;
}

// Each physical pixel of a picker shows exactly the color a click on it gives:
// the color of the 96-DPI pixel it lies in. Checked over the physical pixels of
// the picker's 96-DPI inside (its edge is no color of its own): every column
// along four rows and every row along four columns.
TEST_F(Window144, EveryPickerPixelShowsTheColorAClickThereGives)
{
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = RGB(20 + i, 200 - i, 7 + 2 * i);
    RedrawPalette();
    const struct {
        const char* name;
        int mode;
        RECT logical;
    } pickers[] = {
        {"field", 0, Logical().hueSat},   {"value bar", 0, Logical().valueBar}, {"red bar", 1, Logical().redBar},
        {"blue bar", 1, Logical().blueBar}, {"palette", 0, Logical().palette},
    };
    for (const auto& p : pickers) {
        SCOPED_TRACE(p.name);
        SwitchDisplayMode(g_mainWindow, p.mode);
        TakeColor(g_mainWindow, RGB(40, 90, 200));
        const RECT at = {At144(p.logical.left + 1), At144(p.logical.top + 1), At144(p.logical.right - 1),
                         At144(p.logical.bottom - 1)};
        HDC dc = GetDC(g_mainWindow);
        const std::vector<COLORREF> shown = ReadDc(dc, at);
        ReleaseDC(g_mainWindow, dc);
        int checked = 0, wrong = 0;
        for (LONG y = at.top; y < at.bottom; ++y) {
            for (LONG x = at.left; x < at.right; ++x) {
                const COLORREF pixel = shown[static_cast<size_t>((y - at.top) * (at.right - at.left) + (x - at.left))];
                // Left out: the palette's rings and gaps, a bar's percentage in its first quarter.
                const bool text = p.mode == 1 && x < (3 * at.left + at.right) / 4;
                if (!(OnLines(x, at.left, at.right) || (OnLines(y, at.top, at.bottom) && !text)) ||
                    pixel == RGB(0, 0, 0) || pixel == RGB(255, 255, 255))
                    continue;
                ClickAt(x, y);
                ++checked;
                if (ColorRefOf(g_current) != pixel && wrong++ == 0)
                    ADD_FAILURE() << "at (" << x << "," << y << ") shown " << Hex(pixel) << ", picked "
                                  << Hex(ColorRefOf(g_current));
            }
        }
        EXPECT_EQ(wrong, 0) << "of " << checked;
        EXPECT_GT(checked, at.right - at.left) << "the lines were checked";
    }
    Pump();
}

// Both the first and the last physical pixel of a 96-DPI point give what a
// click at that point gives at 96 DPI.
TEST_F(Window144, ClicksAtThePhysicalPointsOfA96DpiPointGiveItsResult)
{
    const struct {
        const char* what;
        int mode;
        POINT logical;
        int32_t ColorState::*field;
        int32_t expected;
    } clicks[] = {
        {"field: saturation", 0, {200, 18}, &ColorState::saturation, 99},
        {"field: hue", 0, {200, 18}, &ColorState::hue, 80},
        {"field: last hue column", 0, {339, 50}, &ColorState::hue, 358},
        {"field: right of it", 0, {340, 50}, &ColorState::hue, 359},
        {"field, right margin: saturation alone", 0, {345, 60}, &ColorState::saturation, 57},
        {"value bar, above it", 0, {361, 13}, &ColorState::value, 100},
        {"value bar, lowest row", 0, {370, 116}, &ColorState::value, 1},
        {"red bar, left margin", 1, {131, 20}, &ColorState::red, 0},
        {"red bar", 1, {200, 20}, &ColorState::red, 65},
        {"blue bar, last column", 1, {390, 101}, &ColorState::blue, 255},
        {"palette cell 1", 0, {186, 154}, &ColorState::red, 21},
        {"palette cell 0, its last pixel", 0, {185, 167}, &ColorState::red, 20},
        {"palette cell 127", 0, {395, 265}, &ColorState::red, 147},
    };
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = RGB(20 + i, 0, 0);
    RedrawPalette();
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.what);
        SwitchDisplayMode(g_mainWindow, c.mode);
        for (const POINT p : {POINT{At144(c.logical.x), At144(c.logical.y)},
                              POINT{LastAt144(c.logical.x), LastAt144(c.logical.y)}}) {
            TakeColor(g_mainWindow, RGB(40, 90, 200));
            POINT screen = p;
            ClientToScreen(g_mainWindow, &screen);
            SendMouse(screen, 0);
            SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
            SendMouse(screen, MOUSEEVENTF_LEFTUP);
            Pump();
            EXPECT_EQ(g_current.*c.field, c.expected) << "at " << Text(p);
        }
    }
}

// The window moved to a monitor of 192 DPI: the suggested rectangle, and
// everything laid out and drawn again for 192; then back.
TEST_F(Window144, WmDpiChangedLaysTheWindowOutAgain)
{
    ASSERT_TRUE(MakeTipsByMouseMove()) << "made at 144 DPI, so the change has to place them again";
    RECT before;
    GetWindowRect(g_mainWindow, &before);
    const RECT suggested = {before.left + 30, before.top + 20, before.left + 30 + 850, before.top + 20 + 630};
    SendMessageA(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    RECT now;
    GetWindowRect(g_mainWindow, &now);
    EXPECT_EQ(Text(now), Text(suggested));
    EXPECT_EQ(g_dpi, 192u);
    EXPECT_EQ(FontHeight(g_window.uiFont), 24);
    EXPECT_EQ(Text(ClientRect(g_window.editTable[0])), "(56,280)-(116,316)") << "R10";
    EXPECT_EQ(g_window.surfaces.hueSat.width, 360);
    EXPECT_EQ(Hex(WindowPixel(2 * 160 + 2, 2 * 17 + 2)), Hex(RGB(255, 12, 2))) << "the field's (1, 1): hue 2, saturation 99";
    EXPECT_EQ(Hex(WindowPixel(2 * 60, 2 * 40)), Hex(RGB(255, 0, 0))) << "the swatch";
    const struct {
        UINT_PTR tool;
        const char* rect;
    } tips[] = {{kSwatchTool, "(20,34)-(240,254)"}, {kFirstCellTool, "(344,308)-(372,336)"},
                {kFirstCellTool + 127, "(764,504)-(792,532)"}};
    for (const auto& tip : tips) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = g_mainWindow;
        tool.uId = tip.tool;
        ASSERT_TRUE(SendMessageA(g_window.tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(Text(tool.rect), tip.rect) << "the tip of tool " << tip.tool << " where it shows at 192 DPI";
    }

    SendMessageA(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&before));
    Pump();
    RECT client;
    GetClientRect(g_mainWindow, &client);
    EXPECT_EQ(Text(client), "(0,0)-(609,414)");
    EXPECT_EQ(FontHeight(g_window.uiFont), 18);
    EXPECT_EQ(Hex(WindowPixel(At144(161), At144(18))), Hex(RGB(255, 12, 2)));
}

// The panel at its monitor's DPI, 255 x 360 with cells of 15 pixels, on
// either monitor, whatever the main window's DPI; the pick is the physical pixel.
TEST_F(Window144, ThePanelHasItsMonitorsDpiAndPicksThePhysicalPixel)
{
    const struct {
        const char* what;
        POINT pointer;
        POINT panel;
        UINT windowDpi;
    } cases[] = {
        {"primary", {300, 300}, {640, 204}, 144},
        {"the other monitor", {1100, 200}, {1496, 120}, 144},
        {"the main window at 192 DPI", {300, 300}, {640, 204}, 192},
    };
    RECT windowRect;
    GetWindowRect(g_mainWindow, &windowRect);
    std::vector<COLORREF> firstPanel;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SendMessageA(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(c.windowDpi, c.windowDpi),
                     reinterpret_cast<LPARAM>(&windowRect));
        HWND popup = PatternPopup(RECT{c.pointer.x - 12, c.pointer.y - 12, c.pointer.x + 12, c.pointer.y + 12});
        SetCursorPos(c.pointer.x, c.pointer.y);
        Pump();
        SendKey(VK_F5, false);
        Pump();
        ASSERT_TRUE(g_window.captureActive);
        EXPECT_EQ(g_window.surfaces.magnifier.width, 255);
        EXPECT_EQ(g_window.surfaces.magnifier.height, 360);
        HDC overlay = GetDC(g_window.captureWindow);
        const RECT v = VirtualScreenRect();
        const RECT at = {c.panel.x - v.left, c.panel.y - v.top, c.panel.x - v.left + 255, c.panel.y - v.top + 360};
        const std::vector<COLORREF> panel = ReadDc(g_window.surfaces.magnifier.dc, RECT{0, 0, 255, 360});
        EXPECT_EQ(ReadDc(overlay, at), panel);
        ReleaseDC(g_window.captureWindow, overlay);
        if (firstPanel.empty()) {
            firstPanel = panel;
        } else if (c.pointer.x == cases[0].pointer.x) {
            EXPECT_EQ(panel, firstPanel) << "the same panel, its texts in the monitor's font";
        }
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                EXPECT_EQ(Hex(GetPixel(g_window.surfaces.magnifier.dc, 15 + 15 * (7 + j) + 7, 15 + 15 * (7 + i) + 7)),
                          Hex(RigPattern(c.pointer.x + j, c.pointer.y + i)))
                    << "the cell of the pixel " << j << ", " << i << " from the pointer";
        SendKey(VK_RIGHT, false);
        SendKey(VK_RETURN, false);
        Pump();
        EXPECT_FALSE(g_window.captureActive);
        EXPECT_EQ(Hex(ColorRefOf(g_current)), Hex(RigPattern(c.pointer.x + 1, c.pointer.y)));
        DestroyWindow(popup);
    }
    SendMessageA(g_mainWindow, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&windowRect));
    Pump();
}

}  // namespace

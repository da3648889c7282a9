// The real main window, created in this process by the program's own start-up,
// checked through its controls, the pixels it shows and its tips.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
#include "capture/capture.h"
#include "color/color.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_data.h"
#include "color/color_text.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/mouse.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"
#include "view/tips.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The color the window shows at client point (x, y), as 0x00BBGGRR.
COLORREF Pixel(int x, int y)
{
    HDC dc = GetDC(g_mainWindow);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(g_mainWindow, dc);
    return c;
}

COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

// The swatch's upper half (the current color) or lower half (the reference color).
COLORREF SwatchPixel(bool upper)
{
    const RECT& s = Geo().swatch;
    return Pixel((s.left + s.right) / 2, upper ? s.top + Height(s) / 4 : s.bottom - Height(s) / 4);
}

std::string Text(HWND control)
{
    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// Any pixel of `color` inside the client rectangle [left, right) × [top, bottom).
bool AnyPixelOf(COLORREF color, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Pixel(x, y) == color)
                return true;
    return false;
}

void SetColor(int r, int g, int b)
{
    g_current.red = r;
    g_current.green = g;
    g_current.blue = b;
    CompleteFromRgb();
    RefreshColorDisplay(g_mainWindow);
    WriteColorEdits(g_mainWindow);
    Pump();
}

void SetHsv(int hue, int saturation, int value)
{
    g_current.hue = hue;
    g_current.saturation = saturation;
    g_current.value = value;
    CompleteFromHsv();
    RefreshColorDisplay(g_mainWindow);
    Pump();
}

void SwitchMode(int mode)
{
    SwitchDisplayMode(g_mainWindow, mode);
    Pump();
}

TestFolder* g_folder;

// Every test opens a window of its own on a program folder of its own, as a
// first run with a palette file: no test depends on what another left.
class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterHostedWindowClasses(); }
    void SetUp() override
    {
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        std::string palette(512, '\0');
        palette[17 * 4 + 0] = 0x12;  // entry 17: (0x12, 0x34, 0x56)
        palette[17 * 4 + 1] = 0x34;
        palette[17 * 4 + 2] = 0x56;
        palette[18 * 4 + 0] = static_cast<char>(0xFF);
        WriteWholeFile(g_folder->file("palette.ini"), palette);
        OpenHostedWindow();
    }
    void TearDown() override
    {
        CloseHostedWindow();
        delete g_folder;
        g_folder = nullptr;
    }
};

TEST_F(MainWindow, ClientAreaAndFrame)
{
    RECT client;
    GetClientRect(g_mainWindow, &client);
    EXPECT_EQ(client.right, Geo().client.cx);
    EXPECT_EQ(client.bottom, Geo().client.cy);
    const LONG style = GetWindowLongA(g_mainWindow, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(IsWindowVisible(g_mainWindow));
    RECT frame;
    GetWindowRect(g_mainWindow, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    char cls[16] = {};
    GetClassNameA(g_mainWindow, cls, sizeof cls);
    EXPECT_STREQ(cls, "tbox");
    EXPECT_EQ(GetClassLongA(g_mainWindow, GCL_STYLE) & CS_OWNDC, static_cast<DWORD>(CS_OWNDC));
    EXPECT_NE(GetMenu(g_mainWindow), nullptr) << "the class menu is the menu bar";
}

// Where the main window was created, as CreateWindowExA was asked (WH_CBT).
RECT g_createdAt;
LRESULT CALLBACK NoteCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* c = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char cls[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::strcmp(cls, "tbox") == 0)
            g_createdAt = {c->x, c->y, c->x + c->cx, c->y + c->cy};
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Created at its final rectangle, wherever it was saved: moving or sizing the
// window again before it is shown costs start-up as much as showing it.
TEST_F(MainWindow, CreatedAtItsFinalRectangle)
{
    MONITORINFO nearest;
    nearest.cbSize = sizeof nearest;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint(POINT{-5000, -5000}, MONITOR_DEFAULTTONEAREST), &nearest));
    const struct {
        const char* saved;  // the Window section of tbox.ini
        LONG x, y;          // where the window stands
    } cases[] = {
        {"", 0, 0},
        {"PosX=40\0PosY=30\0", 40, 30},
        {"PosX=-5000\0PosY=-5000\0", nearest.rcWork.left, nearest.rcWork.top},  // brought back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        CloseHostedWindow();
        WritePrivateProfileSectionA("Window", c.saved, g_folder->file("tbox.ini").c_str());
        g_createdAt = RECT{};
        HHOOK hook = SetWindowsHookExA(WH_CBT, NoteCreation, nullptr, GetCurrentThreadId());
        OpenHostedWindow();
        UnhookWindowsHookEx(hook);
        RECT frame;
        GetWindowRect(g_mainWindow, &frame);
        EXPECT_EQ(frame.left, c.x);
        EXPECT_EQ(frame.top, c.y);
        EXPECT_EQ(g_createdAt.left, frame.left);
        EXPECT_EQ(g_createdAt.top, frame.top);
        EXPECT_EQ(g_createdAt.right, frame.right);
        EXPECT_EQ(g_createdAt.bottom, frame.bottom);
        RECT client;
        GetClientRect(g_mainWindow, &client);
        EXPECT_EQ(client.right, Geo().client.cx);
        EXPECT_EQ(client.bottom, Geo().client.cy);
    }
}

TEST_F(MainWindow, ChildControls)
{
    const struct {
        int id;
        const char* cls;
        DWORD exStyle;
        DWORD style;
        int limit;
        const char* text;
    } controls[] = {
        {ID_R10, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_G10, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_B10, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_R16, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 2, nullptr},
        {ID_G16, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 2, nullptr},
        {ID_B16, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 2, nullptr},
        {ID_H, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_S, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_V, "Edit", WS_EX_CLIENTEDGE, 0x50000000, 3, nullptr},
        {ID_EDITCOPY, "Edit", WS_EX_CLIENTEDGE, 0x50000800, -1, nullptr},
        {ID_COPY, "Button", 0, 0x50000F00, -1, "\x83\x52\x83\x73\x81\x5B"},
        {ID_CAPTURE, "Button", 0, 0x50000F00, -1, "\x89\xE6\x96\xCA\x82\xCC\x90\x46"},
    };
    int index = 0;
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(g_mainWindow, c.id);
        ASSERT_NE(control, nullptr);
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, cls, -1, c.cls, -1), CSTR_EQUAL) << cls;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, c.exStyle);
        // The platform adds bits of its own (e.g. ES_LEFT is 0); those asked for must be there.
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & c.style, c.style);
        EXPECT_FALSE(GetWindowLongA(control, GWL_STYLE) & (ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP))
            << "no digits-only limit, no scrolling, no tab stop";
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, g_mainWindow, reinterpret_cast<POINT*>(&r), 2);
        const RECT& place = Geo().controls[index];
        EXPECT_TRUE(EqualRect(&r, &place)) << "at its place in the geometry table";
        if (c.limit > 0) {
            EXPECT_EQ(SendMessageA(control, EM_GETLIMITTEXT, 0, 0), c.limit);
        }
        if (c.text) {
            EXPECT_EQ(Text(control), c.text);
        }
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), g_window.uiFont);
        if (index < kColorEditCount) {
            EXPECT_EQ(g_window.editTable[index], control) << "the edit table is in R10..V order";
        }
        ++index;
    }
    EXPECT_EQ(g_window.editCopy, GetDlgItem(g_mainWindow, ID_EDITCOPY));
}

TEST_F(MainWindow, FirstRunState)
{
    const char* expected[kColorEditCount] = {"255", "255", "255", "ff", "ff", "ff", "0", "0", "100"};
    for (int i = 0; i < kColorEditCount; ++i)
        EXPECT_EQ(Text(g_window.editTable[i]), expected[i]) << i;
    EXPECT_EQ(Text(g_window.editCopy), "#ffffff");
    EXPECT_EQ(GetFocus(), g_window.editTable[0]);
    DWORD start = 9, end = 9;
    SendMessageA(g_window.editTable[0], EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "the whole red value is selected";
    EXPECT_EQ(g_window.changeGuard, 1);
}

// The top-left pixel of palette cell `cell` in the window.
POINT CellTopLeft(int cell)
{
    const Geometry& g = Geo();
    return {g.palette.left + g.paletteFirstCell.x + g.paletteCellPitch * (cell % kPaletteColumns),
            g.palette.top + g.paletteFirstCell.y + g.paletteCellPitch * (cell / kPaletteColumns)};
}

TEST_F(MainWindow, SurfacesShownAtTheirPlaces)
{
    SetColor(255, 255, 255);
    const Geometry& g = Geo();
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const RECT& sw = g.swatch;
    const RECT& field = g.hueSat;
    const RECT& bar = g.valueBar;
    const POINT cell17 = CellTopLeft(17);
    const POINT cell18 = CellTopLeft(18);
    const LONG inner = g.paletteCellSize - 2;  // the last pixel inside a cell's black ring
    const struct {
        const char* what;
        LONG x, y;
        COLORREF color;
    } pixels[] = {
        {"swatch edge top-left", sw.left, sw.top, shadow},
        {"swatch edge bottom-right", sw.right - 1, sw.bottom - 1, highlight},
        {"swatch upper half", (sw.left + sw.right) / 2, sw.top + Height(sw) / 4, Rgb(255, 255, 255)},
        {"swatch lower half", (sw.left + sw.right) / 2, sw.bottom - Height(sw) / 4, Rgb(255, 255, 255)},
        {"hue-sat (1, 1) at value 100", field.left + 1, field.top + 1, Rgb(255, 12, 2)},
        {"hue-sat edge", field.left, field.top, shadow},
        {"hue-sat right edge", field.right - 1, field.top + Height(field) / 2, highlight},
        {"value bar row 1", bar.left + 5, bar.top + 1, Rgb(252, 252, 252)},
        {"value bar row 98", bar.left + 5, bar.top + 98, Rgb(5, 5, 5)},
        {"value bar row 0 is edge", bar.left + 5, bar.top, shadow},
        {"palette edge", g.palette.left, g.palette.top, shadow},
        {"palette entry 17 ring", cell17.x, cell17.y, Rgb(0, 0, 0)},
        {"palette entry 17 inside", cell17.x + 1, cell17.y + 1, Rgb(0x12, 0x34, 0x56)},
        {"palette entry 17 inside far", cell17.x + inner, cell17.y + inner, Rgb(0x12, 0x34, 0x56)},
        {"palette entry 17 ring far", cell17.x + inner + 1, cell17.y + inner + 1, Rgb(0, 0, 0)},
        {"palette gap", cell18.x - 1, cell17.y + 5, Rgb(255, 255, 255)},
        {"palette entry 18 inside", cell18.x + 1, cell18.y + 5, Rgb(255, 0, 0)},
        {"etched line shadow", g.client.cx / 2, 0, shadow},
        {"etched line highlight", g.client.cx / 2, 1, highlight},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(Pixel(p.x, p.y), p.color) << p.what << " at (" << p.x << ", " << p.y << ")";
}

// A box of `width` just above `r`, where a label standing on it is drawn.
RECT LabelAbove(const RECT& r, LONG fromLeft, LONG width)
{
    return RECT{r.left + fromLeft, r.top - Geo().uiFontHeight - 3, r.left + fromLeft + width, r.top};
}

// The box of an edit row's label: from its column to the edit.
RECT LabelLeftOfEdit(int edit, LONG column)
{
    const RECT& e = Geo().controls[edit];
    return RECT{column, e.top, e.left - 1, e.bottom};
}

TEST_F(MainWindow, LabelsAreDrawnWithTheirShadow)
{
    SetColor(255, 255, 255);
    const Geometry& g = Geo();
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const struct {
        const char* what;
        RECT box;
    } labels[] = {
        {"Color", LabelAbove(g.swatch, 0, 50)},
        {"(0) above", LabelAbove(g.hueSat, 0, 20)},
        {"Hue/Sat", LabelAbove(g.hueSat, 60, 70)},
        {"Val", LabelAbove(g.valueBar, 0, Width(g.valueBar))},
        {"Palette", {g.paletteLabel.x, g.paletteLabel.y, g.paletteLabel.x + 59, g.palette.top}},
        {"R", LabelLeftOfEdit(0, g.rgbEditLabelX)},
        {"H", LabelLeftOfEdit(6, g.hsvEditLabelX)},
        {"V", LabelLeftOfEdit(8, g.hsvEditLabelX)},
        {"(100)", {g.hueSat.left - 35, g.hueSat.top, g.hueSat.left - g.scaleLabelGap, g.hueSat.top + 14}},
    };
    for (const auto& l : labels) {
        const RECT& b = l.box;
        EXPECT_TRUE(AnyPixelOf(text, b.left, b.top, b.right, b.bottom)) << l.what;
        EXPECT_TRUE(AnyPixelOf(highlight, b.left, b.top, b.right + 1, b.bottom + 1)) << l.what << " shadow";
    }
}

// Where the markers' apexes stand: column x of the field shows hue 2x, row y
// saturation 100 - y; the up markers touch the row below their picker, the
// left markers the column right of it.
POINT HueApex(int hue) { return {Geo().hueSat.left + hue / 2, Geo().hueSat.bottom}; }
POINT SaturationApex(int saturation) { return {Geo().hueSat.right, Geo().hueSat.bottom - saturation}; }
POINT ValueApex(int value) { return {Geo().valueBar.right, Geo().valueBar.bottom - value}; }
POINT ChannelApex(const RECT& bar, int channel) { return {bar.left + channel, bar.bottom}; }
COLORREF PixelAt(POINT p, int dx = 0, int dy = 0) { return Pixel(p.x + dx, p.y + dy); }

TEST_F(MainWindow, HsvMarkersFollowTheColorAndLeaveNoTrace)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const int length = Geo().markerLength;
    SetColor(255, 255, 255);  // hue 0, saturation 0, value 100
    EXPECT_EQ(PixelAt(HueApex(0)), highlight) << "hue apex";
    EXPECT_EQ(PixelAt(HueApex(0), 0, length), shadow) << "hue base";
    EXPECT_EQ(PixelAt(SaturationApex(0)), highlight) << "saturation 0 apex";
    EXPECT_EQ(PixelAt(ValueApex(100)), highlight) << "value 100 apex";
    EXPECT_EQ(PixelAt(ValueApex(100), length, -Geo().markerHalfBase), shadow) << "the value marker's back edge";

    SetColor(18, 52, 86);  // hue 210, saturation 79, value 33
    EXPECT_EQ(PixelAt(HueApex(0)), face) << "nothing left at the old hue place";
    EXPECT_EQ(PixelAt(HueApex(0), 0, length), face);
    EXPECT_EQ(PixelAt(ValueApex(100)), face);
    EXPECT_EQ(PixelAt(HueApex(210)), highlight) << "hue 210 apex";
    EXPECT_EQ(PixelAt(HueApex(210), 0, length), shadow);
    EXPECT_EQ(PixelAt(SaturationApex(79)), highlight);
    EXPECT_EQ(PixelAt(ValueApex(33)), highlight);
    EXPECT_EQ(SwatchPixel(true), Rgb(18, 52, 86)) << "swatch upper half: the current color";
    EXPECT_EQ(SwatchPixel(false), Rgb(255, 255, 255)) << "lower half: the reference color, not yet committed";
    EXPECT_EQ(Text(g_window.editCopy), "#123456");

    // Hue 359 puts the apex on the field's last column.
    SetHsv(359, 100, 100);
    EXPECT_EQ(HueApex(359).x, Geo().hueSat.right - 1) << "the last column of the field";
    EXPECT_EQ(PixelAt(HueApex(359)), highlight);
    EXPECT_EQ(PixelAt(HueApex(210)), face);
}

COLORREF Shown(const ::Rgb& c) { return Rgb(c.red, c.green, c.blue); }

// The HSV pickers are redrawn only when what they show changed; whatever
// changes, one channel at a time or across a mode switch, each shows the
// current color: the field its value, the bar its hue and saturation.
TEST_F(MainWindow, HsvPickersShowTheCurrentColorWhateverChanged)
{
    const struct {
        const char* what;
        int hue, saturation, value;
        int switchTo;  // a mode switched to and back from before the step, -1: none
    } steps[] = {
        {"a color", 210, 79, 33, -1},          {"the hue alone", 30, 79, 33, -1},
        {"the saturation alone", 30, 20, 33, -1}, {"the value alone", 30, 20, 90, -1},
        {"the value back", 30, 20, 33, -1},    {"hue and saturation back", 210, 79, 33, -1},
        {"after the RGB mode", 120, 50, 60, 1}, {"after the mode without pickers", 300, 90, 15, 2},
    };
    const RECT& field = Geo().hueSat;
    const RECT& bar = Geo().valueBar;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.switchTo >= 0) {
            SwitchMode(s.switchTo);
            SetHsv(s.hue, s.saturation, s.value);
            SwitchMode(0);
        } else {
            SetHsv(s.hue, s.saturation, s.value);
        }
        for (const int x : {5, 90, 170}) {
            const int y = 40;
            EXPECT_EQ(Pixel(field.left + x, field.top + y), Shown(HsvToRgbValues(2 * x, 100 - y, s.value)))
                << "field column " << x;
        }
        for (const int y : {10, 50, 95})
            EXPECT_EQ(Pixel(bar.left + 5, bar.top + y), Shown(HsvToRgbValues(s.hue, s.saturation, 100 - y)))
                << "bar row " << y;
    }
}

TEST_F(MainWindow, RgbModeShowsTheChannelBars)
{
    const Geometry& g = Geo();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    SetColor(18, 52, 86);
    SwitchMode(1);
    EXPECT_EQ(Pixel(g.redBar.left + 100, g.redBar.top + 12), Rgb(100, 52, 86)) << "red bar column 100";
    EXPECT_EQ(Pixel(g.greenBar.left + 200, g.greenBar.top + 12), Rgb(18, 200, 86)) << "green bar column 200";
    EXPECT_EQ(Pixel(g.blueBar.left + 7, g.blueBar.top + 12), Rgb(18, 52, 7)) << "blue bar column 7";
    EXPECT_EQ(PixelAt(ChannelApex(g.redBar, 18)), highlight) << "red apex";
    EXPECT_EQ(PixelAt(ChannelApex(g.greenBar, 52)), highlight) << "green apex";
    EXPECT_EQ(PixelAt(ChannelApex(g.blueBar, 86)), highlight) << "blue apex";
    EXPECT_EQ(Pixel(g.hueSat.left + 40, g.hueSat.top + 33), face) << "no hue-sat field in RGB mode";
    EXPECT_EQ(Pixel(g.valueBar.left + 10, g.valueBar.top + 33), face) << "no value bar";

    SetColor(255, 0, 0);
    EXPECT_EQ(PixelAt(ChannelApex(g.redBar, 255)), highlight) << "red 255 apex";
    EXPECT_EQ(PixelAt(ChannelApex(g.redBar, 18)), face) << "old red apex gone";
    EXPECT_EQ(PixelAt(ChannelApex(g.greenBar, 52)), face) << "old green apex gone";
    EXPECT_EQ(PixelAt(ChannelApex(g.greenBar, 0)), highlight) << "green 0 apex";
    SwitchMode(0);
    EXPECT_EQ(Pixel(g.hueSat.left + 1, g.hueSat.top + 1), Rgb(255, 12, 2)) << "after the switch the field shows value 100";
    EXPECT_EQ(PixelAt(HueApex(0)), highlight);
}

TEST_F(MainWindow, OtherDisplayModeShowsNoPicker)
{
    const Geometry& g = Geo();
    SetColor(18, 52, 86);
    SwitchMode(2);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Pixel(g.hueSat.left + 90, g.hueSat.top + 43), face);
    EXPECT_EQ(Pixel(g.valueBar.left + 10, g.valueBar.top + 43), face);
    EXPECT_EQ(Pixel(g.redBar.left + 65, g.redBar.top + 8), face);
    EXPECT_EQ(PixelAt(HueApex(210)), face) << "no marker";
    const RECT label = LabelAbove(g.hueSat, 60, 70);
    EXPECT_FALSE(AnyPixelOf(GetSysColor(COLOR_BTNTEXT), label.left, label.top, label.right, label.bottom))
        << "no picker label";
    EXPECT_EQ(SwatchPixel(true), Rgb(18, 52, 86)) << "the swatch is still shown";
    SetColor(0, 0, 255);
    EXPECT_EQ(SwatchPixel(true), Rgb(0, 0, 255));
    EXPECT_EQ(Text(g_window.editCopy), "#0000ff");
    EXPECT_EQ(Pixel(g.hueSat.left + 90, g.hueSat.top + 43), face);
    SwitchMode(0);
}

TEST_F(MainWindow, CopyTextFollowsTheSettings)
{
    SetColor(18, 52, 86);
    const struct {
        int format, sharp, hexCase;
        const char* text;
    } cases[] = {
        {0, 1, 0, "#123456"}, {0, 0, 0, "123456"}, {1, 1, 0, "RGB( 18, 52, 86 )"}, {2, 1, 0, "5649426"}, {7, 1, 0, ""},
    };
    for (const auto& c : cases) {
        g_textForm.CopyFormat = c.format;
        g_textForm.SharpPrefix = c.sharp;
        g_textForm.HexCase = c.hexCase;
        UpdateCopyText();
        EXPECT_EQ(Text(g_window.editCopy), c.text);
    }
    g_textForm.CopyFormat = 0;
    g_textForm.SharpPrefix = 1;
    UpdateCopyText();
}

TEST_F(MainWindow, WritingTheEditsChangesNoColor)
{
    SetColor(200, 100, 50);
    g_current.hue = 359;  // a state not derived from the channels must survive the writes
    const ColorState before = g_current;
    WriteColorEdits(g_mainWindow);
    Pump();
    EXPECT_EQ(std::memcmp(&before, &g_current, sizeof before), 0);
    EXPECT_EQ(Text(g_window.editTable[6]), "359");
    EXPECT_EQ(Text(g_window.editTable[3]), "c8");
    EXPECT_EQ(g_window.changeGuard, 1);
}

// A window's state is its own: what an earlier window left (a lowered guard, a
// focus index, texts behind, an open capture, released handles) is not taken over.
TEST_F(MainWindow, ANewWindowStartsAfresh)
{
    g_window.changeGuard = 0;
    g_window.focusIndex = 5;
    g_window.textsBehind = true;
    g_window.captureActive = true;
    const HWND oldEdit = g_window.editTable[0];
    DestroyLayout(g_mainWindow);
    DestroyWindow(g_mainWindow);
    Pump();
    OpenMainWindow();
    Pump();
    EXPECT_EQ(g_window.changeGuard, 1);
    EXPECT_EQ(g_window.focusIndex, 0);
    EXPECT_FALSE(g_window.textsBehind);
    EXPECT_FALSE(g_window.captureActive);
    EXPECT_NE(g_window.uiFont, nullptr);
    EXPECT_NE(g_window.windowDc, nullptr);
    EXPECT_NE(g_window.surfaces.palette.dc, nullptr);
    EXPECT_NE(g_window.editTable[0], oldEdit);
    EXPECT_EQ(GetFocus(), g_window.editTable[0]);
}

// WM_CLOSE as the close button sends it, answered as the program's loop
// answers it; whether the quit message (exit code 0) came.
bool CloseLikeTheUser()
{
    SendMessageA(g_mainWindow, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return msg.wParam == 0;
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    return false;
}

// Closing writes both files and leaves the window on screen until the process ends.
TEST_F(MainWindow, CloseWritesSettingsAndPalette)
{
    SetColor(18, 52, 86);
    g_textForm.CopyFormat = 1;
    Palette[5] = 0x00ABCDEF;
    EXPECT_TRUE(CloseLikeTheUser()) << "WM_DESTROY was posted and answered with the quit message";
    const std::string ini = g_folder->file("tbox.ini");
    EXPECT_EQ(GetPrivateProfileIntA("Color", "R", -1, ini.c_str()), 18u);
    EXPECT_EQ(GetPrivateProfileIntA("Color", "Copy", -1, ini.c_str()), 1u);
    const std::string palette = ReadWholeFile(g_folder->file("palette.ini"));
    ASSERT_EQ(palette.size(), 512u);
    EXPECT_EQ(palette.substr(20, 4), std::string("\xEF\xCD\xAB\x00", 4));
    EXPECT_EQ(palette.substr(68, 3), std::string("\x12\x34\x56", 3));
    EXPECT_EQ(g_window.uiFont, nullptr) << "the font was released";
}

// The close leaves "palette.ini" alone when this run changed no swatch and the
// file is not the one it read: another instance saved since, or it could not be read.
TEST_F(MainWindow, CloseKeepsAPaletteFileWrittenByAnotherInstance)
{
    CloseHostedWindow();
    const std::string mine(512, '\x11'), other(512, '\x22');
    std::string exact;  // a palette as the close writes it: each entry's fourth byte 0
    for (int i = 0; i < kPaletteEntries; ++i)
        exact += std::string(3, static_cast<char>(i)) + '\0';
    const struct {
        const char* what;
        const char* atStart;  // null: no file
        bool locked;          // held open without sharing while the window opens
        bool store;           // a swatch stored in this run
        const char* meanwhile;  // written by another instance while the window is open
        bool deleted;         // deleted while the window is open
        bool closeWrites;
    } cases[] = {
        {"another instance saved since", mine.c_str(), false, false, other.c_str(), false, false},
        {"another instance saved since, this run stored a swatch", mine.c_str(), false, true, other.c_str(), false, true},
        {"unreadable at start", mine.c_str(), true, false, nullptr, false, false},
        {"missing at start, made since", nullptr, false, false, other.c_str(), false, false},
        {"a first run", nullptr, false, false, nullptr, false, true},
        {"a short file, unchanged", "\x33\x33", false, false, nullptr, false, true},
        {"the palette exactly, another instance saved since", exact.c_str(), false, false, other.c_str(), false, false},
        {"the palette exactly, deleted since", exact.c_str(), false, false, nullptr, true, true},
        {"the palette exactly, this run stored a swatch", exact.c_str(), false, true, nullptr, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = g_folder->file("palette.ini");
        DeleteFileA(file.c_str());
        if (c.atStart)
            WriteWholeFile(file, c.atStart == exact.c_str() ? exact : std::string(c.atStart));
        HANDLE lock = c.locked ? CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        OpenHostedWindow();
        if (lock)
            CloseHandle(lock);
        const POINT cell = {Geo().palette.left + 5, Geo().palette.top + 5};
        if (c.store)
            SendMessageA(g_mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cell.x, cell.y));
        if (c.meanwhile)
            WriteWholeFile(file, c.meanwhile);
        if (c.deleted)
            DeleteFileA(file.c_str());
        const std::string ours(reinterpret_cast<const char*>(Palette), sizeof Palette);
        const std::string onDisk = ReadWholeFile(file);
        EXPECT_TRUE(CloseLikeTheUser());
        EXPECT_EQ(ReadWholeFile(file), c.closeWrites ? ours : onDisk);
        CloseHostedWindow();
    }
    OpenHostedWindow();
}

// The sunken edges are drawn from the system's colors: when they change, every
// surface shows the new ones, in either display mode.
TEST_F(MainWindow, SystemColorsChangedRedrawTheEdges)
{
    const int elements[] = {COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    const COLORREF before[] = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
    const COLORREF changed[] = {RGB(12, 34, 56), RGB(210, 190, 170)};
    ASSERT_TRUE(SetSysColors(2, elements, changed));
    SendMessageA(g_mainWindow, WM_SYSCOLORCHANGE, 0, 0);
    Pump();
    for (int mode : {1, 0}) {
        SwitchDisplayMode(g_mainWindow, mode);
        const RECT* edged[] = {&Geo().swatch, &Geo().palette, mode == 1 ? &Geo().redBar : &Geo().hueSat,
                               mode == 1 ? &Geo().blueBar : &Geo().valueBar};
        for (const RECT* r : edged) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " at " << r->left << "," << r->top);
            EXPECT_EQ(Pixel(r->left, r->top + 3), changed[0]) << "shadow, left edge";
            EXPECT_EQ(Pixel(r->right - 1, r->top + 3), changed[1]) << "highlight, right edge";
        }
    }
    SetSysColors(2, elements, before);
    SendMessageA(g_mainWindow, WM_SYSCOLORCHANGE, 0, 0);
    Pump();
    EXPECT_EQ(Pixel(Geo().swatch.left, Geo().swatch.top + 3), before[0]);
}

// A window class that cannot be registered, or a main window that cannot be
// made: a message box says so and the program ends with exit code 1.
std::string g_boxText;
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", nullptr);
    if (!box)
        return;
    KillTimer(nullptr, timer);
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_boxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK RefuseTheMainWindow(int code, WPARAM wParam, LPARAM lParam)
{
    char cls[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
    return code == HCBT_CREATEWND && std::strcmp(cls, "tbox") == 0 ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindow, AStartThatCannotOpenItsWindowSaysSoAndEndsWithCodeOne)
{
    CloseHostedWindow();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (bool classTaken : {true, false}) {
        UnregisterClassA("tbox", instance);
        UnregisterClassA(kCaptureClass, instance);
        WNDCLASSA other = {};
        other.lpfnWndProc = DefWindowProcA;
        other.hInstance = instance;
        other.lpszClassName = "tbox";
        HHOOK hook = nullptr;
        if (classTaken)
            RegisterClassA(&other);
        else
            hook = SetWindowsHookExA(WH_CBT, RefuseTheMainWindow, nullptr, GetCurrentThreadId());
        g_boxText.clear();
        SetTimer(nullptr, 0, 50, AnswerTheBox);
        EXPECT_EQ(RunProgram(instance), 1) << classTaken;
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(g_boxText.substr(0, 31), "Tintbox\x82\xF0\x8B\x4E\x93\xAE\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"
                                           "\x82\xC5\x82\xB5\x82\xBD\x81\x42") << classTaken;  // Tintboxを起動できませんでした。
    }
    UnregisterClassA("tbox", instance);
    UnregisterClassA(kCaptureClass, instance);
    RegisterHostedWindowClasses();
    OpenHostedWindow();
}

}  // namespace

namespace {

TEST(WindowPlacement, OnlyAWindowNoMonitorShowsIsBroughtBack)
{
    MONITORINFO info;
    info.cbSize = sizeof info;
    const POINT origin = {0, 0};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info));
    const RECT work = info.rcWork;
    const RECT screen = info.rcMonitor;
    const int w = 412;
    const int h = 320;
    const struct {
        const char* what;
        int x, y;
        int expectedX, expectedY;
    } cases[] = {
        {"first run", 0, 0, 0, 0},
        {"inside", 300, 200, 300, 200},
        {"partly off the left", -300, 50, -300, 50},
        {"partly off the bottom right", screen.right - 20, screen.bottom - 20, screen.right - 20, screen.bottom - 20},
        {"wholly right of every monitor", screen.right + 500, 100, work.right - w, 100},
        {"wholly below", 100, screen.bottom + 10, 100, work.bottom - h},
        {"wholly left and above", -5000, -5000, work.left, work.top},
        {"just off the right edge", screen.right, 40, work.right - w, 40},
        {"the largest int", INT_MAX, INT_MAX, work.right - w, work.bottom - h},
        {"the smallest int", INT_MIN, INT_MIN, work.left, work.top},
        {"smallest and largest", INT_MIN, INT_MAX, work.left, work.bottom - h},
        {"a window's width below the largest", INT_MAX - w + 1, 100, work.right - w, 100},
    };
    for (const auto& c : cases) {
        const POINT at = PlaceOnSomeMonitor(c.x, c.y, w, h);
        EXPECT_EQ(at.x, c.expectedX) << c.what;
        EXPECT_EQ(at.y, c.expectedY) << c.what;
    }
}

// ---- The tips, read back from the real tip control with TTM_GETTEXTW and
// seen on screen by hovering: the swatch's contrast, checked against the
// guidelines' formula written out here in floating point, and the palette
// swatches' texts in every copy format as the menu sets it ----

// ---- Contrast as the guidelines define it, in doubles ----

double Linear(int v)
{
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF c)
{
    return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

// Two decimals cut off. The exact ratios (black on white is 21 exactly) come
// out a few units in the last place low in doubles, hence the nudge.
std::wstring RatioText(double ratio)
{
    const long hundredths = static_cast<long>(std::floor(ratio * 100.0 + 1e-9));
    wchar_t text[32];
    std::swprintf(text, 32, L"%ld.%02ld:1", hundredths / 100, hundredths % 100);
    return text;
}

const wchar_t* Verdict(bool pass) { return pass ? L"合格" : L"不合格"; }

std::wstring ExpectedContrastTip(COLORREF current, COLORREF reference)
{
    const double r = Contrast(current, reference);
    return L"参照色とのコントラスト比  " + RatioText(r) + L"\r\n通常の文字  AA " + Verdict(r >= 4.5) + L"  AAA " +
           Verdict(r >= 7) + L"\r\n大きな文字  AA " + Verdict(r >= 3) + L"  AAA " + Verdict(r >= 4.5) +
           L"\r\n白に対して " + RatioText(Contrast(current, RGB(255, 255, 255))) + L"  黒に対して " +
           RatioText(Contrast(current, RGB(0, 0, 0)));
}

// ---- The tip control ----

void PumpFor(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;)
        PumpLikeTheProgram(nullptr, 1, 10);
}

// The pointer rests on a client point long enough for the tip to show; the
// tip shown, or null.
HWND HoverAt(POINT client)
{
    ClientToScreen(g_mainWindow, &client);
    SetCursorPos(client.x, client.y);
    PumpFor(200);
    SetCursorPos(client.x + 1, client.y + 1);
    PumpFor(1500);
    return IsWindowVisible(g_window.tips) ? g_window.tips : nullptr;
}

std::wstring ShownText(HWND tip)
{
    wchar_t text[1024] = {};
    GetWindowTextW(tip, text, 1024);
    return text;
}

void Command(int id)
{
    SendMessageA(g_mainWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
    PumpLikeTheProgram(nullptr);
}

// The tips over a palette whose swatch 77 is (38, 120, 200), besides the
// fixture's swatch 17, (18, 52, 86), and the black and white ends.
class Tips : public MainWindow {
protected:
    void SetUp() override
    {
        // The window opens with the pointer away from it, as a start from the keyboard has it.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        MainWindow::SetUp();
        Palette[77] = RGB(38, 120, 200);
        Palette[127] = RGB(255, 255, 255);
        RedrawPalette();
    }
};

// While a drag leaves the reference behind, the tip follows both colors; the
// release commits and the tip follows again.
TEST_F(Tips, SwatchTipShowsTheContrastAsTheColorsChange)
{
    const struct {
        COLORREF current, reference;
        const wchar_t* ratio;  // where the issue gives it
    } cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), L"21.00:1"},      {RGB(255, 255, 255), RGB(255, 255, 255), L"1.00:1"},
        {RGB(0x77, 0x77, 0x77), RGB(255, 255, 255), L"4.47:1"}, {RGB(0x76, 0x76, 0x76), RGB(255, 255, 255), L"4.54:1"},
        {RGB(255, 255, 255), RGB(0, 0, 0), L"21.00:1"},      {RGB(38, 120, 200), RGB(255, 255, 0), nullptr},
        {RGB(255, 0, 0), RGB(0, 0, 255), nullptr},            {RGB(0, 128, 0), RGB(240, 240, 240), nullptr},
        {RGB(89, 89, 89), RGB(0, 0, 0), nullptr},             {RGB(200, 30, 140), RGB(20, 20, 60), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.current << " on " << c.reference);
        TakeColor(g_mainWindow, c.reference);
        SetFromColorRef(c.current);
        RefreshDuringDrag(g_mainWindow);
        const std::wstring tip = TipText(kSwatchTool);
        EXPECT_EQ(tip, ExpectedContrastTip(c.current, c.reference));
        if (c.ratio) {
            EXPECT_NE(tip.find(std::wstring(L"比  ") + c.ratio + L"\r\n"), std::wstring::npos) << c.ratio;
        }
        SendMessageA(g_mainWindow, WM_LBUTTONUP, 0, MAKELPARAM(200, 60));
        EXPECT_EQ(TipText(kSwatchTool), ExpectedContrastTip(c.current, c.current)) << "the release commits";
    }
}

// Every copy format, letter case and "#" as the settings menu sets them.
TEST_F(Tips, PaletteSwatchTipsWriteTheCopyFormat)
{
    const struct {
        int command;
        const wchar_t* cell17;  // (18, 52, 86)
        const wchar_t* cell77;  // (38, 120, 200)
    } steps[] = {
        {ID_HTMLFORMAT, L"#123456  18番", L"#2678c8  78番"},
        {ID_UPPERCASE, L"#123456  18番", L"#2678C8  78番"},
        {ID_SHARP, L"123456  18番", L"2678C8  78番"},
        {ID_RGBFORMAT, L"RGB( 18, 52, 86 )  18番", L"RGB( 38, 120, 200 )  78番"},
        {ID_DWORDFORMAT, L"5649426  18番", L"13137958  78番"},
        {ID_CSSRGBFORMAT, L"rgb(18 52 86)  18番", L"rgb(38 120 200)  78番"},
        {ID_CSSHSLFORMAT, L"hsl(210 65% 20%)  18番", L"hsl(210 68% 47%)  78番"},
        {ID_HTMLFORMAT, L"123456  18番", L"2678C8  78番"},
        {ID_LOWERCASE, L"123456  18番", L"2678c8  78番"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.command);
        Command(s.command);
        EXPECT_EQ(TipText(kFirstCellTool + 17), s.cell17);
        EXPECT_EQ(TipText(kFirstCellTool + 77), s.cell77);
    }
    EXPECT_EQ(TipText(kFirstCellTool + 0), L"000000  1番");
    EXPECT_EQ(TipText(kFirstCellTool + 127), L"ffffff  128番");
}

// Hovering the swatch and a cell shows the text the control holds, and a
// palette change or a store into the cell under the pointer shows at once.
TEST_F(Tips, HoveringShowsTheTipsOnTheirRectangles)
{
    const Geometry& g = Geo();
    TakeColor(g_mainWindow, RGB(0x77, 0x77, 0x77));
    HWND tip = HoverAt(POINT{(g.swatch.left + g.swatch.right) / 2, g.swatch.top + 20});
    ASSERT_NE(tip, nullptr) << "the swatch's tip shows";
    EXPECT_EQ(SendMessageA(g_window.tips, TTM_GETTOOLCOUNT, 0, 0), 1 + kPaletteEntries);
    EXPECT_EQ(ShownText(tip), ExpectedContrastTip(RGB(0x77, 0x77, 0x77), RGB(0x77, 0x77, 0x77)));
    RECT shown;
    GetWindowRect(tip, &shown);
    EXPECT_GT(Height(shown), 3 * Geo().uiFontHeight) << "four lines, not one";

    const RECT cell = PaletteCellRect(77);
    tip = HoverAt(POINT{cell.left + 5, cell.top + 5});
    ASSERT_NE(tip, nullptr) << "a swatch's tip shows";
    EXPECT_EQ(ShownText(tip), L"#2678c8  78番");
    // The palette replaced while the tip shows (Ctrl+I, Ctrl+O leave the pointer where it is).
    Palette[77] = RGB(1, 2, 3);
    RedrawPalette();
    PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(ShownText(tip), L"#010203  78番") << "the shown tip follows the palette";
    // A store with the right button.
    SendMessageA(g_mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cell.left + 6, cell.top + 6));
    EXPECT_EQ(TipText(kFirstCellTool + 77), L"#777777  78番");
}

// The tips are not made with the window but at the first mouse move over it,
// holding what changed before, and that one move shows the tip under the pointer.
TEST_F(Tips, TheFirstMoveMakesTheTipsAndShowsOne)
{
    Command(ID_UPPERCASE);
    TakeColor(g_mainWindow, RGB(255, 255, 255));
    SetFromColorRef(RGB(0, 0, 0));
    RefreshDuringDrag(g_mainWindow);
    EXPECT_EQ(g_window.tips, nullptr) << "not made at start";

    POINT at = {PaletteCellRect(77).left + 5, PaletteCellRect(77).top + 5};
    ClientToScreen(g_mainWindow, &at);
    SetCursorPos(at.x, at.y);
    PumpFor(1500);
    ASSERT_NE(g_window.tips, nullptr) << "made at the first move";
    EXPECT_TRUE(IsWindowVisible(g_window.tips)) << "that move shows the tip";
    EXPECT_EQ(ShownText(g_window.tips), L"#2678C8  78番");
    EXPECT_EQ(TipText(kSwatchTool), ExpectedContrastTip(RGB(0, 0, 0), RGB(255, 255, 255)));
}

}  // namespace

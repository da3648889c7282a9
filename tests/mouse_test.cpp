// The mouse on the real main window: mouse messages with their key-state flags
// posted to it and handled by the program's own message loop, the cursor chosen
// for the real pointer position, and the results read from the color, the
// palette, the edits and the pixels shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "color/color.h"
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

namespace {

HACCEL g_keys;

// Handles what is queued as the program's message loop does.
void Pump()
{
    PumpLikeTheProgram(g_keys, 3, 5);
}

// A mouse message as the platform sends it: the key-state flags and the client point.
void Send(UINT message, WPARAM keys, int x, int y)
{
    PostMessageA(g_mainWindow, message, keys, MAKELPARAM(x, y));
    Pump();
}

void LeftDown(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
void LeftUp(int x, int y) { Send(WM_LBUTTONUP, 0, x, y); }
void LeftClick(int x, int y)
{
    LeftDown(x, y);
    LeftUp(x, y);
}

std::string EditText(int index)
{
    char text[32] = {};
    GetWindowTextA(g_window.editTable[index], text, sizeof text);
    return text;
}

COLORREF Pixel(int x, int y) { return WindowPixel(x, y); }

// Points named by what they are in: the table's rectangles, a cell of the
// palette, a point inside a rectangle.
const Geometry& G() { return Geo(); }
RECT PaletteCells() { return LessFirstColumnAndRow(G().palette); }
// Pixel (dx, dy) of palette cell (column, row), its first pixel (0, 0).
POINT InCell(int column, int row, int dx, int dy)
{
    const int pitch = G().paletteCellPitch;
    return {PaletteCells().left + pitch * column + dx, PaletteCells().top + pitch * row + dy};
}
POINT At(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy}; }
// The last pixel of a cell, across or down.
int CellEnd() { return G().paletteCellPitch - 1; }

// Red, green and blue of a palette entry.
int RedOf(uint32_t c) { return static_cast<int>(c & 0xFF); }
int GreenOf(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int BlueOf(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// Every entry different, none black: entry i is (2i + 1, 255 - i, 7i mod 256).
void NumberThePalette()
{
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = static_cast<uint32_t>((2 * i + 1) & 0xFF) | static_cast<uint32_t>((255 - i) & 0xFF) << 8 |
                     static_cast<uint32_t>((7 * i) & 0xFF) << 16;
    RedrawPalette();
}

void ShowColor(int r, int g, int b)
{
    TakeColor(g_mainWindow, RGB(r, g, b));
    Pump();
}

// The edits show the current color, as every change of it leaves them.
void ExpectEditsShowTheColor()
{
    char hex[3][3];
    std::snprintf(hex[0], 3, "%02x", static_cast<unsigned>(g_current.red));
    std::snprintf(hex[1], 3, "%02x", static_cast<unsigned>(g_current.green));
    std::snprintf(hex[2], 3, "%02x", static_cast<unsigned>(g_current.blue));
    const std::string expected[kColorEditCount] = {
        std::to_string(g_current.red), std::to_string(g_current.green), std::to_string(g_current.blue),
        hex[0], hex[1], hex[2],
        std::to_string(g_current.hue), std::to_string(g_current.saturation), std::to_string(g_current.value)};
    for (int i = 0; i < kColorEditCount; ++i)
        EXPECT_EQ(EditText(i), expected[i]) << "edit " << i;
    EXPECT_EQ(SwatchCurrent(), RGB(g_current.red, g_current.green, g_current.blue));
}

struct Hsv {
    int hue, saturation, value;
};

// Hue, saturation and value of a color, by the color model's own conversion.
Hsv HsvOf(int r, int g, int b)
{
    const ColorState saved = g_current;
    g_current.red = r;
    g_current.green = g;
    g_current.blue = b;
    RgbToHsv();
    const Hsv hsv = {g_current.hue, g_current.saturation, g_current.value};
    g_current = saved;
    return hsv;
}

TestFolder* g_folder;

class Mouse : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (g_mainWindow != nullptr)
            return;
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        ASSERT_TRUE(StartUp(GetModuleHandleA(nullptr)));
        g_keys = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDA_ACCELERATORS));
        Pump();
    }
    void SetUp() override
    {
        g_textForm.HexCase = 0;
        SetMode(0);
        NumberThePalette();
        ShowColor(18, 52, 86);
    }
    static void SetMode(int mode)
    {
        if (g_displayMode != mode)
            SwitchDisplayMode(g_mainWindow, mode);
        Pump();
    }
};

// ---- The palette ----

TEST_F(Mouse, CellIndexAtTheCellBorders)
{
    const int end = CellEnd();
    const struct {
        POINT p;
        int cell;
    } cases[] = {
        {InCell(0, 0, 0, 0), 0},     {InCell(0, 0, end, 0), 0},   {InCell(0, 0, end, end), 0},
        {InCell(1, 0, 0, 0), 1},     {InCell(0, 1, 0, 0), 16},    {InCell(1, 1, 0, 0), 17},
        {InCell(14, 0, end, 0), 14}, {InCell(15, 0, 0, 0), 15},   {InCell(15, 0, end, 0), 15},
        {InCell(0, 7, 0, end), 112}, {InCell(15, 7, end, end), 127}, {InCell(9, 3, 2, 4), 57},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.p.x) + ", " + std::to_string(c.p.y));
        EXPECT_EQ(PaletteCellAt(c.p.x, c.p.y), c.cell);
        ShowColor(0, 0, 0);
        LeftClick(c.p.x, c.p.y);
        const uint32_t entry = Palette[c.cell];
        EXPECT_EQ(g_current.red, RedOf(entry));
        EXPECT_EQ(g_current.green, GreenOf(entry));
        EXPECT_EQ(g_current.blue, BlueOf(entry));
        const Hsv hsv = HsvOf(RedOf(entry), GreenOf(entry), BlueOf(entry));
        EXPECT_EQ(g_current.hue, hsv.hue);
        EXPECT_EQ(g_current.saturation, hsv.saturation);
        EXPECT_EQ(g_current.value, hsv.value);
        ExpectEditsShowTheColor();
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "a pick commits at once";
        EXPECT_EQ(SwatchReference(), entry);
    }
}

TEST_F(Mouse, PointsJustOutsideThePaletteDoNothing)
{
    const RECT cells = PaletteCells();
    const POINT points[] = {{cells.left - 1, cells.top},      {cells.right, cells.top},
                            {cells.left, cells.top - 1},      {cells.left, cells.bottom},
                            {cells.right, cells.bottom},      {cells.left - 1, cells.bottom - 1}};
    for (int mode = 0; mode <= 2; ++mode) {
        SetMode(mode);
        for (const auto& p : points) {
            SCOPED_TRACE(std::to_string(p.x) + ", " + std::to_string(p.y) + " mode " + std::to_string(mode));
            const ColorState before = g_current;
            LeftClick(p.x, p.y);
            Send(WM_RBUTTONDOWN, MK_RBUTTON, p.x, p.y);
            Send(WM_RBUTTONUP, 0, p.x, p.y);
            EXPECT_TRUE(SameColor(before, g_current));
            for (int i = 0; i < kPaletteEntries; ++i)
                ASSERT_EQ(Palette[i] & 0xFF, static_cast<uint32_t>((2 * i + 1) & 0xFF)) << "entry " << i;
        }
    }
}

TEST_F(Mouse, RightDragStoresIntoEveryCellCrossedAndKeepsTheColors)
{
    const ColorState before = g_current;
    const uint32_t stored = 0x00563412;  // (18, 52, 86)
    // Cells 0, 1, 2, then down to 18 and 34.
    const POINT path[] = {InCell(0, 0, 3, 3), InCell(1, 0, 3, 3), InCell(2, 0, 3, 6), InCell(2, 1, 3, 4),
                          InCell(2, 2, 5, 8)};
    Send(WM_RBUTTONDOWN, MK_RBUTTON, path[0].x, path[0].y);
    EXPECT_EQ(GetCursor(), LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_STORE))) << "the bucket while storing";
    for (int i = 1; i < 5; ++i)
        Send(WM_MOUSEMOVE, MK_RBUTTON, path[i].x, path[i].y);
    EXPECT_EQ(GetCursor(), LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_STORE)));
    Send(WM_RBUTTONUP, 0, path[4].x, path[4].y);
    const int crossed[] = {0, 1, 2, 18, 34};
    for (int i = 0; i < kPaletteEntries; ++i) {
        bool isCrossed = false;
        for (int c : crossed)
            isCrossed = isCrossed || c == i;
        if (isCrossed) {
            EXPECT_EQ(Palette[i], stored) << "entry " << i;
            EXPECT_EQ(PaletteCellPixel(i), RGB(18, 52, 86)) << "cell " << i << " shows it at once";
        } else {
            EXPECT_NE(Palette[i], stored) << "entry " << i;
        }
    }
    EXPECT_TRUE(SameColor(before, g_current));
    EXPECT_TRUE(SameColor(before, g_reference));
    EXPECT_EQ(SwatchCurrent(), RGB(18, 52, 86));
}

TEST_F(Mouse, RightButtonOutsideThePaletteStoresNothing)
{
    SetMode(1);
    const ColorState before = g_current;
    const POINT red = At(G().redBar, 65, 3);
    const POINT green = At(G().greenBar, 115, 2);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, red.x, red.y);
    Send(WM_MOUSEMOVE, MK_RBUTTON, green.x, green.y);
    Send(WM_RBUTTONUP, 0, green.x, green.y);
    EXPECT_TRUE(SameColor(before, g_current));
    for (int i = 0; i < kPaletteEntries; ++i)
        EXPECT_NE(Palette[i], 0x00563412u);
}

TEST_F(Mouse, LeftDragAcrossThePalettePicksEveryCellAndTheReferenceFollows)
{
    const struct {
        UINT message;
        POINT p;
        int cell;
    } steps[] = {
        {WM_LBUTTONDOWN, InCell(3, 3, 1, 4), 51}, {WM_MOUSEMOVE, InCell(4, 3, 1, 4), 52},
        {WM_MOUSEMOVE, InCell(4, 4, 1, 5), 68},   {WM_MOUSEMOVE, InCell(5, 5, 1, 5), 85},
    };
    for (const auto& s : steps) {
        Send(s.message, MK_LBUTTON, s.p.x, s.p.y);
        EXPECT_EQ(g_current.red, RedOf(Palette[s.cell])) << "cell " << s.cell;
        EXPECT_EQ(g_current.blue, BlueOf(Palette[s.cell])) << "cell " << s.cell;
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "cell " << s.cell;
        EXPECT_EQ(SwatchReference(), Palette[s.cell]);
    }
    LeftUp(steps[3].p.x, steps[3].p.y);
}

TEST_F(Mouse, BothButtonsOverThePaletteStoreAndNeverPick)
{
    const ColorState before = g_current;
    const POINT cell57 = InCell(9, 3, 2, 4);
    const POINT field = At(G().hueSat, 40, 33);
    const POINT red = At(G().redBar, 65, 3);
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, cell57.x, cell57.y);
    EXPECT_EQ(Palette[57], 0x00563412u);
    EXPECT_TRUE(SameColor(before, g_current));
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, field.x, field.y);
    EXPECT_TRUE(SameColor(before, g_current)) << "a picker ignores moves with the right button held";
    SetMode(1);
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, red.x, red.y);
    EXPECT_TRUE(SameColor(before, g_current));
}

TEST_F(Mouse, MovesWithoutAButtonDoNothing)
{
    const ColorState before = g_current;
    const POINT cell57 = InCell(9, 3, 2, 4);
    const POINT field = At(G().hueSat, 40, 33);
    const POINT value = At(G().valueBar, 10, 33);
    Send(WM_MOUSEMOVE, 0, cell57.x, cell57.y);
    Send(WM_MOUSEMOVE, 0, field.x, field.y);
    Send(WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, value.x, value.y);
    EXPECT_TRUE(SameColor(before, g_current));
    EXPECT_EQ(Palette[57] & 0xFF, 115u);
}

// ---- The pickers ----

struct DragCase {
    LONG x, y;
    bool acts;
    int a, b, c;  // RGB mode: red, green, blue; HSV mode: hue, saturation, value
};

TEST_F(Mouse, ChannelBarAreasAtTheirBorders)
{
    SetMode(1);
    // Column x of a bar shows its channel at x - the bar's left edge; the drag
    // areas reach a little beyond the bars.
    const RECT& red = G().redBar;
    const RECT& rd = G().redDrag;
    const RECT& gd = G().greenDrag;
    const RECT& bd = G().blueDrag;
    const LONG x65 = red.left + 65;
    const DragCase cases[] = {
        {rd.left, red.top + 3, true, 0, 52, 86},           {red.right - 1, red.top + 3, true, 255, 52, 86},
        {rd.right - 1, red.top + 3, true, 255, 52, 86},    {red.left, rd.bottom - 1, true, 0, 52, 86},
        {x65, rd.top, true, 65, 52, 86},                   {G().greenBar.left + 1, gd.top, true, 18, 1, 86},
        {rd.right - 1, gd.bottom - 1, true, 18, 255, 86},  {x65, bd.top, true, 18, 52, 65},
        {x65, bd.bottom - 1, true, 18, 52, 65},
        {rd.left - 1, red.top + 3, false, 0, 0, 0},        {x65, rd.top - 1, false, 0, 0, 0},
        {x65, rd.bottom, false, 0, 0, 0},                  {rd.right, red.top + 3, false, 0, 0, 0},
        {x65, gd.top - 1, false, 0, 0, 0},                 {x65, gd.bottom, false, 0, 0, 0},
        {x65, bd.top - 1, false, 0, 0, 0},                 {x65, bd.bottom, false, 0, 0, 0},
        {G().swatch.left + 40, G().swatch.top + 43, false, 0, 0, 0},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        ShowColor(18, 52, 86);
        const ColorState before = g_current;
        LeftDown(c.x, c.y);
        if (!c.acts) {
            EXPECT_TRUE(SameColor(before, g_current));
            LeftUp(c.x, c.y);
            continue;
        }
        EXPECT_EQ(g_current.red, c.a);
        EXPECT_EQ(g_current.green, c.b);
        EXPECT_EQ(g_current.blue, c.c);
        const Hsv hsv = HsvOf(c.a, c.b, c.c);
        EXPECT_EQ(g_current.hue, hsv.hue);
        EXPECT_EQ(g_current.saturation, hsv.saturation);
        EXPECT_EQ(g_current.value, hsv.value);
        ExpectEditsShowTheColor();
        EXPECT_EQ(Pixel(red.left + c.a, red.bottom), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the red marker moved";
        EXPECT_TRUE(SameColor(before, g_reference)) << "not committed before the release";
        EXPECT_EQ(SwatchReference(), RGB(18, 52, 86));
        LeftUp(c.x, c.y);
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "committed on release";
        EXPECT_EQ(SwatchReference(), RGB(c.a, c.b, c.c));
    }
}

TEST_F(Mouse, HueSaturationFieldAndValueBarAtTheirBorders)
{
    // From (18, 52, 86): hue 210, saturation 79, value 33. Row y of the value
    // bar and of the field shows value and saturation 100 - y, column x of the
    // field hue 2x (counted from the picker's top-left); the drag areas reach
    // beyond the pickers.
    const RECT& f = G().hueSat;
    const RECT& vd = G().valueDrag;
    const RECT& sd = G().saturationDrag;
    const RECT& hd = G().hueDrag;
    const LONG x40 = f.left + 40;     // hue 80
    const LONG y43 = f.top + 43;      // saturation 57
    const LONG yValue = f.top + 33;   // value 67 on the value bar
    const DragCase cases[] = {
        {vd.left - 1, yValue, false, 0, 0, 0},          {vd.left, vd.top, true, 210, 79, 100},
        {vd.left, vd.bottom - 1, true, 210, 79, 0},     {vd.right - 1, yValue, true, 210, 79, 67},
        {vd.right, yValue, false, 0, 0, 0},             {vd.left, vd.top - 1, false, 0, 0, 0},
        {x40, sd.top, true, 210, 100, 33},              {x40, f.top, true, 210, 100, 33},
        {x40, hd.top, true, 80, 99, 33},                {x40, sd.bottom + 1, true, 80, 79, 33},
        {sd.right - 5, y43, true, 210, 57, 33},         {sd.right - 1, sd.bottom - 1, true, 210, 0, 33},
        {f.right - 1, y43, true, 358, 57, 33},          {f.right, y43, true, 359, 57, 33},
        {hd.right - 1, y43, true, 359, 57, 33},         {hd.left, y43, true, 0, 79, 33},
        {f.left, y43, true, 0, 79, 33},                 {f.left + 1, y43, true, 2, 57, 33},
        {hd.left, hd.bottom - 1, true, 0, 79, 33},      {hd.right, sd.bottom, false, 0, 0, 0},
        {x40, hd.bottom, false, 0, 0, 0},               {hd.left - 1, y43, false, 0, 0, 0},
        {sd.right, y43, false, 0, 0, 0},                {x40, sd.top - 1, false, 0, 0, 0},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        ShowColor(18, 52, 86);
        const ColorState before = g_current;
        LeftDown(c.x, c.y);
        if (!c.acts) {
            EXPECT_TRUE(SameColor(before, g_current));
            LeftUp(c.x, c.y);
            continue;
        }
        EXPECT_EQ(g_current.hue, c.a);
        EXPECT_EQ(g_current.saturation, c.b);
        EXPECT_EQ(g_current.value, c.c);
        // The channels follow; hue, saturation and value stay as set.
        const Rgb rgb = HsvToRgbValues(c.a, c.b, c.c);
        EXPECT_EQ(g_current.red, rgb.red);
        EXPECT_EQ(g_current.green, rgb.green);
        EXPECT_EQ(g_current.blue, rgb.blue);
        ExpectEditsShowTheColor();
        EXPECT_EQ(Pixel(f.left + c.a / 2, f.bottom), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the hue marker moved";
        EXPECT_TRUE(SameColor(before, g_reference));
        LeftUp(c.x, c.y);
        EXPECT_TRUE(SameColor(g_reference, g_current));
        EXPECT_EQ(SwatchReference(), RGB(rgb.red, rgb.green, rgb.blue));
    }
}

TEST_F(Mouse, DragCommitsOnlyOnRelease)
{
    const RECT& f = G().hueSat;
    LeftDown(f.left + 40, f.top + 33);
    Send(WM_MOUSEMOVE, MK_LBUTTON, f.left + 90, f.top + 43);
    Send(WM_MOUSEMOVE, MK_LBUTTON, f.left + 140, f.top + 53);
    EXPECT_EQ(g_current.hue, 280);
    EXPECT_EQ(g_current.saturation, 47);
    EXPECT_EQ(g_reference.red, 18) << "the reference color waits for the release";
    EXPECT_EQ(SwatchReference(), RGB(18, 52, 86));
    const POINT off = At(G().swatch, 40, Height(G().swatch) + 5);  // below the swatch, off every area
    Send(WM_MOUSEMOVE, MK_LBUTTON, off.x, off.y);
    EXPECT_EQ(g_current.hue, 280);
    LeftUp(off.x, off.y);
    EXPECT_TRUE(SameColor(g_reference, g_current));
    EXPECT_EQ(SwatchReference(), RGB(g_current.red, g_current.green, g_current.blue));
}

// Another program reading the texts mid-drag, between the move and the
// program's idle step (the program thread answers sent messages only, as it
// does while it checks whether more input waits): each text it reads already
// follows the move, whichever way it asks.
struct Reading {
    HWND control;
    UINT message;
    std::string text;  // what came back: the text, or the length as a number
};

DWORD WINAPI ReadFromAnotherThread(void* param)
{
    for (Reading& r : *static_cast<std::vector<Reading>*>(param)) {
        char text[64] = {};
        *reinterpret_cast<WORD*>(text) = sizeof text;  // EM_GETLINE: the buffer's size first
        DWORD_PTR result = 0;
        const WPARAM wParam = r.message == WM_GETTEXT ? sizeof text : 0;
        const LPARAM lParam = r.message == WM_GETTEXTLENGTH || r.message == EM_LINELENGTH ? 0 : reinterpret_cast<LPARAM>(text);
        SendMessageTimeoutA(r.control, r.message, wParam, lParam, SMTO_NORMAL, 5000, &result);
        r.text = r.message == WM_GETTEXT ? std::string(text)
                 : r.message == EM_GETLINE ? std::string(text, result) : std::to_string(result);
    }
    return 0;
}

TEST_F(Mouse, TextsReadMidDragFollowTheMove)
{
    const RECT& f = G().hueSat;
    LeftDown(f.left + 40, f.top + 33);
    PostMessageA(g_mainWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(f.left + 140, f.top + 53));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    ProcessMessage(msg, g_keys);
    ASSERT_TRUE(g_window.textsBehind) << "the move left the texts to be written later";
    ASSERT_EQ(g_current.hue, 280);

    char copy[kCopyTextSize];
    FormatCopyText(copy, sizeof copy);
    const std::string shown[kColorEditCount + 1] = {
        std::to_string(g_current.red), std::to_string(g_current.green), std::to_string(g_current.blue),
        g_current.redHex, g_current.greenHex, g_current.blueHex,
        std::to_string(g_current.hue), std::to_string(g_current.saturation), std::to_string(g_current.value), copy};
    std::vector<Reading> readings;
    std::vector<std::string> expected;
    const UINT messages[] = {WM_GETTEXT, WM_GETTEXTLENGTH, EM_GETLINE, EM_LINELENGTH};
    for (int i = 0; i <= kColorEditCount; ++i) {
        // Each text by one way of asking, in turn.
        const UINT message = messages[i % 4];
        readings.push_back({i < kColorEditCount ? g_window.editTable[i] : g_window.editCopy, message, ""});
        expected.push_back(message == WM_GETTEXT || message == EM_GETLINE ? shown[i] : std::to_string(shown[i].size()));
    }
    HANDLE reader = CreateThread(nullptr, 0, ReadFromAnotherThread, &readings, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &reader, FALSE, 5000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // answers what was sent, takes nothing
    CloseHandle(reader);
    for (size_t i = 0; i < readings.size(); ++i)
        EXPECT_EQ(readings[i].text, expected[i]) << "text " << i << ", message 0x" << std::hex << readings[i].message;
    LeftUp(f.left + 140, f.top + 53);
}

// Moves in quick succession: the texts follow once a frame, by a timer, even
// when a loop other than the program's own (a dialog's) takes its message.
TEST_F(Mouse, TextsFollowAFastDragWithinAFrameWhateverLoopRuns)
{
    const RECT& f = G().hueSat;
    LeftDown(f.left + 40, f.top + 33);
    // A move right after the texts were written: the idle step leaves them
    // behind, for a frame has not passed (tried again should the machine stall).
    int x = f.left + 41;
    for (int attempt = 0; attempt < 10 && !g_window.textsBehind; ++attempt, ++x) {
        CatchUpTexts(g_mainWindow);
        PostMessageA(g_mainWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, f.top + 43));
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
        ProcessMessage(msg, g_keys);
        OnIdle();  // what the program's loop does once nothing waits
    }
    ASSERT_TRUE(g_window.textsBehind) << "a frame had not passed since the texts were last written";
    const DWORD start = GetTickCount();
    while (g_window.textsBehind && GetTickCount() - start < 1000) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);  // a plain loop: no catch-up of its own
        else
            Sleep(1);
    }
    EXPECT_FALSE(g_window.textsBehind) << "the timer's message, dispatched by a plain loop, wrote the texts";
    ExpectEditsShowTheColor();
    LeftUp(x, f.top + 43);
}

TEST_F(Mouse, AnotherDisplayModeLeavesOnlyThePalette)
{
    SetMode(2);
    const ColorState before = g_current;
    const POINT pickerPoints[] = {At(G().redBar, 65, 3), At(G().hueSat, 40, 33), At(G().valueBar, 10, 33),
                                  At(G().hueSat, 40, Height(G().hueSat) + 3)};
    for (const auto& p : pickerPoints) {
        LeftClick(p.x, p.y);
        EXPECT_TRUE(SameColor(before, g_current)) << p.x << ", " << p.y;
    }
    const POINT cell57 = InCell(9, 3, 2, 4);
    LeftClick(cell57.x, cell57.y);
    EXPECT_EQ(g_current.red, RedOf(Palette[57]));
}

// ---- The press that closes the capture overlay ----

// Real input through the platform: the button `flags` at client point `p`
// (MOUSEEVENTF_MOVE alone: a move), handled by the program's loop.
void Input(DWORD flags, POINT p)
{
    ClientToScreen(g_mainWindow, &p);
    SetCursorPos(p.x, p.y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    PumpLikeTheProgram(g_keys, 6, 10);
}

// Its moves with the button held and its release over the main window are
// not a store, a pick or a drag there; an ordinary drag that leaves the
// client area and comes back still goes on.
TEST_F(Mouse, ThePressThatClosesTheOverlayStaysOffTheWindow)
{
    const struct {
        const char* what;
        bool overlay;
        DWORD down, up;
        POINT press, moves[2];
        int value;  // after an ordinary drag over the value bar; -1: none
    } cases[] = {
        {"cancel over the palette", true, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, InCell(3, 2, 5, 5),
         {InCell(4, 2, 5, 5), InCell(6, 3, 5, 5)}, -1},
        {"pick over the palette", true, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, InCell(3, 2, 5, 5),
         {InCell(4, 2, 5, 5), InCell(6, 3, 5, 5)}, -1},
        {"pick over the field", true, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, At(G().hueSat, 30, 30),
         {At(G().hueSat, 60, 50), At(G().hueSat, 120, 70)}, -1},
        {"a drag out and back", false, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, At(G().valueBar, 10, 20),
         {At(G().valueBar, 10, -60), At(G().valueBar, 10, 60)}, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NumberThePalette();
        ShowColor(18, 52, 86);
        const ColorState start = g_current;
        if (c.overlay)
            StartCapture(g_mainWindow, g_instance);
        Input(c.down, c.press);
        const ColorState afterPress = g_current;
        if (c.overlay) {
            EXPECT_EQ(!SameColor(afterPress, start), c.down == MOUSEEVENTF_LEFTDOWN) << "a pick picks, a cancel does not";
        }
        const std::string palette(reinterpret_cast<const char*>(Palette), sizeof Palette);
        for (POINT p : c.moves)
            Input(MOUSEEVENTF_MOVE, p);
        Input(c.up, c.moves[1]);
        EXPECT_FALSE(g_window.captureActive);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(Palette), sizeof Palette), palette);
        if (c.value < 0)
            EXPECT_TRUE(SameColor(g_current, afterPress));
        else
            EXPECT_EQ(g_current.value, c.value);
        EXPECT_TRUE(SameColor(g_reference, g_current));
    }
}

// ---- The cursor ----

class Cursor : public Mouse {
protected:
    // The cursor the program sets for the pointer at client point (x, y).
    static HCURSOR CursorAt(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(g_mainWindow, &p);
        SetCursorPos(p.x, p.y);
        SetCursor(nullptr);
        SendMessageA(g_mainWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(g_mainWindow),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
};

TEST_F(Cursor, AreasInEveryDisplayMode)
{
    const HCURSOR pick = LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_PICK));
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(pick, nullptr);
    // The eyedropper over the palette's cells and the pickers of the mode
    // shown less their first column and row; the arrow elsewhere.
    const RECT cells = PaletteCells();
    const RECT& f = G().hueSat;
    const RECT& v = G().valueBar;
    const RECT& r = G().redBar;
    const RECT& gb = G().greenBar;
    const RECT& bb = G().blueBar;
    const POINT inField = At(f, 40, 3);
    const POINT inValue = At(v, 10, 33);
    const struct {
        int mode;
        LONG x, y;
        bool pick;
    } cases[] = {
        // The palette, in every mode.
        {0, cells.left, cells.top, true}, {0, cells.left - 1, cells.top, false},
        {0, cells.right - 1, cells.bottom - 1, true}, {0, cells.right, cells.bottom - 1, false},
        {0, cells.left, cells.top - 1, false}, {1, cells.left, cells.top, true},
        {1, cells.right - 1, cells.bottom, false}, {2, InCell(9, 3, 2, 4).x, InCell(9, 3, 2, 4).y, true},
        {2, cells.left - 1, cells.bottom - 1, false},
        // HSV: the value bar and the field, less their first column and row.
        {0, v.left + 1, v.top + 1, true}, {0, v.left, v.top + 1, false}, {0, v.right - 1, v.bottom - 1, true},
        {0, v.right, v.bottom - 1, false}, {0, v.left + 1, v.bottom, false}, {0, v.left + 1, v.top, false},
        {0, f.left + 1, f.top + 1, true}, {0, f.left, f.top + 1, false}, {0, f.right - 1, f.bottom - 1, true},
        {0, f.right, f.top + 43, false}, {0, f.left + 1, f.top, false}, {0, inField.x, f.bottom, false},
        {0, inField.x, inField.y, true},
        // ... where RGB mode shows no picker.
        {1, inValue.x, inValue.y, false}, {1, f.left + 90, r.bottom + 18, false},
        // RGB: the three bars.
        {1, r.left + 1, r.top + 1, true}, {1, r.left, r.top + 1, false}, {1, r.right - 1, r.bottom - 1, true},
        {1, r.right, r.bottom - 1, false}, {1, r.left + 1, r.bottom, false}, {1, r.left + 1, r.top, false},
        {1, gb.left + 1, gb.top + 1, true}, {1, gb.right - 1, gb.bottom - 1, true}, {1, gb.left + 1, gb.bottom, false},
        {1, bb.left + 1, bb.top + 1, true}, {1, bb.right - 1, bb.bottom - 1, true}, {1, bb.right - 1, bb.bottom, false},
        // Inside the drag areas but outside the pickers.
        {1, G().redDrag.left, r.top + 3, false}, {1, G().redDrag.right - 1, r.top + 3, false},
        {0, G().saturationDrag.right - 5, f.top + 43, false}, {0, G().valueDrag.right - 5, inValue.y, false},
        // HSV pickers' places in RGB mode and the reverse; another mode shows none.
        {0, inField.x, inField.y, true}, {0, gb.left + 1, gb.top + 1, false}, {2, inField.x, inField.y + 30, false},
        {2, inField.x, inField.y, false}, {2, inValue.x, inValue.y, false},
        // Elsewhere, and above the client area.
        {0, G().swatch.left + 50, G().swatch.top + 43, false}, {0, inField.x, -5, false}, {1, f.left + 140, -20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y) + " mode " + std::to_string(c.mode));
        SetMode(c.mode);
        EXPECT_EQ(CursorAt(c.x, c.y), c.pick ? pick : arrow);
    }
}

}  // namespace

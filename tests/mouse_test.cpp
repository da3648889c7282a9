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
#include "color/color.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_data.h"
#include "color/color_text.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
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
    const struct {
        int x, y, cell;
    } cases[] = {
        {172, 154, 0},   {185, 154, 0},   {185, 167, 0},   {186, 154, 1},   {172, 168, 16},  {186, 168, 17},
        {381, 154, 14},  {382, 154, 15},  {395, 154, 15},  {172, 265, 112}, {395, 265, 127}, {300, 200, 57},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
        EXPECT_EQ(PaletteCellAt(c.x, c.y), c.cell);
        ShowColor(0, 0, 0);
        LeftClick(c.x, c.y);
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
    const struct {
        int x, y;
    } points[] = {{171, 154}, {396, 154}, {172, 153}, {172, 266}, {396, 266}, {171, 265}};
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
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 175, 157);
    EXPECT_EQ(GetCursor(), LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_STORE))) << "the bucket while storing";
    Send(WM_MOUSEMOVE, MK_RBUTTON, 189, 157);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 203, 160);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 203, 172);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 205, 190);
    EXPECT_EQ(GetCursor(), LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_STORE)));
    Send(WM_RBUTTONUP, 0, 205, 190);
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
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 200, 20);   // red bar
    Send(WM_MOUSEMOVE, MK_RBUTTON, 250, 60);     // green bar
    Send(WM_RBUTTONUP, 0, 250, 60);
    EXPECT_TRUE(SameColor(before, g_current));
    for (int i = 0; i < kPaletteEntries; ++i)
        EXPECT_NE(Palette[i], 0x00563412u);
}

TEST_F(Mouse, LeftDragAcrossThePalettePicksEveryCellAndTheReferenceFollows)
{
    const struct {
        UINT message;
        int x, y, cell;
    } steps[] = {
        {WM_LBUTTONDOWN, 215, 200, 51}, {WM_MOUSEMOVE, 229, 200, 52}, {WM_MOUSEMOVE, 229, 215, 68},
        {WM_MOUSEMOVE, 243, 229, 85},
    };
    for (const auto& s : steps) {
        Send(s.message, MK_LBUTTON, s.x, s.y);
        EXPECT_EQ(g_current.red, RedOf(Palette[s.cell])) << "cell " << s.cell;
        EXPECT_EQ(g_current.blue, BlueOf(Palette[s.cell])) << "cell " << s.cell;
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "cell " << s.cell;
        EXPECT_EQ(SwatchReference(), Palette[s.cell]);
    }
    LeftUp(243, 229);
}

TEST_F(Mouse, BothButtonsOverThePaletteStoreAndNeverPick)
{
    const ColorState before = g_current;
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 300, 200);  // cell 57
    EXPECT_EQ(Palette[57], 0x00563412u);
    EXPECT_TRUE(SameColor(before, g_current));
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 200, 50);  // the hue-saturation field
    EXPECT_TRUE(SameColor(before, g_current)) << "a picker ignores moves with the right button held";
    SetMode(1);
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 200, 20);
    EXPECT_TRUE(SameColor(before, g_current));
}

TEST_F(Mouse, MovesWithoutAButtonDoNothing)
{
    const ColorState before = g_current;
    Send(WM_MOUSEMOVE, 0, 300, 200);
    Send(WM_MOUSEMOVE, 0, 200, 50);
    Send(WM_MOUSEMOVE, MK_SHIFT | MK_CONTROL, 370, 50);
    EXPECT_TRUE(SameColor(before, g_current));
    EXPECT_EQ(Palette[57] & 0xFF, 115u);
}

// ---- The pickers ----

struct DragCase {
    int x, y;
    bool acts;
    int a, b, c;  // RGB mode: red, green, blue; HSV mode: hue, saturation, value
};

TEST_F(Mouse, ChannelBarAreasAtTheirBorders)
{
    SetMode(1);
    const DragCase cases[] = {
        {131, 20, true, 0, 52, 86},    {390, 20, true, 255, 52, 86}, {395, 20, true, 255, 52, 86},
        {135, 41, true, 0, 52, 86},    {200, 18, true, 65, 52, 86},  {136, 59, true, 18, 1, 86},
        {395, 82, true, 18, 255, 86},  {200, 100, true, 18, 52, 65}, {200, 123, true, 18, 52, 65},
        {130, 20, false, 0, 0, 0},     {200, 17, false, 0, 0, 0},    {200, 42, false, 0, 0, 0},
        {396, 20, false, 0, 0, 0},     {200, 58, false, 0, 0, 0},    {200, 83, false, 0, 0, 0},
        {200, 99, false, 0, 0, 0},     {200, 124, false, 0, 0, 0},   {50, 60, false, 0, 0, 0},
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
        EXPECT_EQ(Pixel(135 + c.a, 32), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the red marker moved";
        EXPECT_TRUE(SameColor(before, g_reference)) << "not committed before the release";
        EXPECT_EQ(SwatchReference(), RGB(18, 52, 86));
        LeftUp(c.x, c.y);
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "committed on release";
        EXPECT_EQ(SwatchReference(), RGB(c.a, c.b, c.c));
    }
}

TEST_F(Mouse, HueSaturationFieldAndValueBarAtTheirBorders)
{
    // From (18, 52, 86): hue 210, saturation 79, value 33.
    const DragCase cases[] = {
        {360, 50, false, 0, 0, 0},     {361, 13, true, 210, 79, 100},  {361, 121, true, 210, 79, 0},
        {389, 50, true, 210, 79, 67},  {390, 50, false, 0, 0, 0},      {361, 12, false, 0, 0, 0},
        {200, 16, true, 210, 100, 33}, {200, 17, true, 210, 100, 33},  {200, 18, true, 80, 99, 33},
        {200, 120, true, 80, 79, 33},  {345, 60, true, 210, 57, 33},   {349, 118, true, 210, 0, 33},
        {339, 60, true, 358, 57, 33},  {340, 60, true, 359, 57, 33},   {341, 60, true, 359, 57, 33},
        {159, 60, true, 0, 79, 33},    {160, 60, true, 0, 79, 33},     {161, 60, true, 2, 57, 33},
        {159, 126, true, 0, 79, 33},   {342, 119, false, 0, 0, 0},     {200, 127, false, 0, 0, 0},
        {158, 60, false, 0, 0, 0},     {350, 60, false, 0, 0, 0},      {200, 15, false, 0, 0, 0},
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
        EXPECT_EQ(Pixel(160 + c.a / 2, 117), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the hue marker moved";
        EXPECT_TRUE(SameColor(before, g_reference));
        LeftUp(c.x, c.y);
        EXPECT_TRUE(SameColor(g_reference, g_current));
        EXPECT_EQ(SwatchReference(), RGB(rgb.red, rgb.green, rgb.blue));
    }
}

TEST_F(Mouse, DragCommitsOnlyOnRelease)
{
    LeftDown(200, 50);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 250, 60);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 300, 70);
    EXPECT_EQ(g_current.hue, 280);
    EXPECT_EQ(g_current.saturation, 47);
    EXPECT_EQ(g_reference.red, 18) << "the reference color waits for the release";
    EXPECT_EQ(SwatchReference(), RGB(18, 52, 86));
    Send(WM_MOUSEMOVE, MK_LBUTTON, 50, 250);  // off every area: nothing changes
    EXPECT_EQ(g_current.hue, 280);
    LeftUp(50, 250);
    EXPECT_TRUE(SameColor(g_reference, g_current));
    EXPECT_EQ(SwatchReference(), RGB(g_current.red, g_current.green, g_current.blue));
}

TEST_F(Mouse, AnotherDisplayModeLeavesOnlyThePalette)
{
    SetMode(2);
    const ColorState before = g_current;
    const int pickerPoints[][2] = {{200, 20}, {200, 50}, {370, 50}, {200, 120}};
    for (const auto& p : pickerPoints) {
        LeftClick(p[0], p[1]);
        EXPECT_TRUE(SameColor(before, g_current)) << p[0] << ", " << p[1];
    }
    LeftClick(300, 200);
    EXPECT_EQ(g_current.red, RedOf(Palette[57]));
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
    const struct {
        int mode, x, y;
        bool pick;
    } cases[] = {
        // The palette, in every mode.
        {0, 172, 154, true}, {0, 171, 154, false}, {0, 395, 265, true}, {0, 396, 265, false}, {0, 172, 153, false},
        {1, 172, 154, true}, {1, 395, 266, false}, {2, 300, 200, true}, {2, 171, 265, false},
        // HSV: the value bar and the field, less their first column and row.
        {0, 361, 18, true}, {0, 360, 18, false}, {0, 379, 116, true}, {0, 380, 116, false}, {0, 361, 117, false},
        {0, 361, 17, false}, {0, 161, 18, true}, {0, 160, 18, false}, {0, 339, 116, true}, {0, 340, 60, false},
        {0, 161, 17, false}, {0, 200, 117, false}, {0, 200, 20, true},
        // ... where RGB mode shows no picker.
        {1, 370, 50, false}, {1, 250, 50, false},
        // RGB: the three bars.
        {1, 136, 18, true}, {1, 135, 18, false}, {1, 390, 31, true}, {1, 391, 31, false}, {1, 136, 32, false},
        {1, 136, 17, false}, {1, 136, 59, true}, {1, 390, 72, true}, {1, 136, 73, false}, {1, 136, 100, true},
        {1, 390, 113, true}, {1, 390, 114, false},
        // Inside the drag areas but outside the bars.
        {1, 131, 20, false}, {1, 395, 20, false}, {0, 345, 60, false}, {0, 385, 50, false},
        // HSV pickers' places in RGB mode and the reverse; another mode shows none.
        {0, 200, 20, true}, {0, 136, 59, false}, {2, 200, 50, false}, {2, 200, 20, false}, {2, 370, 50, false},
        // Elsewhere, and above the client area.
        {0, 60, 60, false}, {0, 200, -5, false}, {1, 300, -20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y) + " mode " + std::to_string(c.mode));
        SetMode(c.mode);
        EXPECT_EQ(CursorAt(c.x, c.y), c.pick ? pick : arrow);
    }
}

}  // namespace

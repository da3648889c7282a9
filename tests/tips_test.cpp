// The main window's tips, read back from its real tip control with
// TTM_GETTEXTW and seen on screen by hovering: the swatch's contrast, checked
// against the guidelines' formula written out here in floating point, and the
// palette swatches' texts in every copy format as the menu sets it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_data.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/mouse.h"
#include "view/paint.h"
#include "view/tips.h"

namespace {

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

std::wstring TipText(UINT_PTR tool)
{
    wchar_t text[1024] = {};
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = g_mainWindow;
    info.uId = tool;
    info.lpszText = text;
    SendMessageW(g_window.tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    return text;
}

RECT ToolRect(UINT_PTR tool)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = g_mainWindow;
    info.uId = tool;
    SendMessageA(g_window.tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
    return info.rect;
}

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

TestFolder* g_folder;

class Tips : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterHostedWindowClasses(); }
    void SetUp() override
    {
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        std::string palette(kPaletteFileSize, '\0');
        const COLORREF cells[][2] = {{17, RGB(18, 52, 86)}, {77, RGB(38, 120, 200)}, {127, RGB(255, 255, 255)}};
        for (const auto& c : cells)
            for (int i = 0; i < 3; ++i)
                palette[c[0] * 4 + static_cast<unsigned>(i)] = static_cast<char>((c[1] >> (8 * i)) & 0xFF);
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

// The tools lie where the swatch and the cells are; hovering shows the text
// the control holds, and a store into the cell under the pointer shows at once.
TEST_F(Tips, HoveringShowsTheTipsOnTheirRectangles)
{
    const Geometry& g = Geo();
    const RECT swatch = ToolRect(kSwatchTool);
    EXPECT_TRUE(EqualRect(&swatch, &g.swatch));
    const int cells[] = {0, 17, 77, 127};
    for (int cell : cells) {
        const RECT tool = ToolRect(kFirstCellTool + static_cast<UINT_PTR>(cell));
        EXPECT_EQ(PaletteCellAt(tool.left, tool.top), cell);
        EXPECT_EQ(PaletteCellAt(tool.right - 1, tool.bottom - 1), cell);
        EXPECT_EQ(Width(tool), g.paletteCellPitch);
    }
    EXPECT_EQ(SendMessageA(g_window.tips, TTM_GETTOOLCOUNT, 0, 0), 1 + kPaletteEntries);

    TakeColor(g_mainWindow, RGB(0x77, 0x77, 0x77));
    HWND tip = HoverAt(POINT{(g.swatch.left + g.swatch.right) / 2, g.swatch.top + 20});
    ASSERT_NE(tip, nullptr) << "the swatch's tip shows";
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
    // A store with the right button hides the tip, as any click does; it comes back with the new color.
    SendMessageA(g_mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(cell.left + 6, cell.top + 6));
    EXPECT_EQ(TipText(kFirstCellTool + 77), L"#777777  78番");
    tip = HoverAt(POINT{cell.left + 7, cell.top + 7});
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(ShownText(tip), L"#777777  78番");
}

}  // namespace

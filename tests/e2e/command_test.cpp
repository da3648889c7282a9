// The menu commands, their keys and the program's own dialogs, each scenario
// in a program of its own, driven from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {
namespace {

const Rgb kStart = {18, 52, 86};

Session* Start(std::unique_ptr<Session>& holder, Rgb color, StartFiles setup = StartFiles())
{
    setup.settings = ColorSettings(color) + setup.settings;
    holder.reset(new Session(setup));
    return holder.get();
}

// ---- The one-step transforms, by their keys and by the menu ----

TEST(Commands, Transforms)
{
    const struct {
        const char* what;
        std::vector<WORD> keys;
        int id;
        std::vector<std::string> once, twice;  // after the key, then after the menu command as well
        Rgb onceColor, twiceColor;
    } cases[] = {
        {"web-safe", {VK_CONTROL, 'B'}, kWebSafe, EditTexts({0, 51, 102}), EditTexts({0, 51, 102}), {0, 51, 102},
         {0, 51, 102}},
        {"grayscale", {VK_CONTROL, 'G'}, kGrayscale, EditTexts({45, 45, 45}), EditTexts({45, 45, 45}), {45, 45, 45},
         {45, 45, 45}},
        {"invert", {VK_CONTROL, 'R'}, kInvert, EditTexts({237, 203, 169}), EditTexts(kStart), {237, 203, 169},
         kStart},
        // Lighter and darker step the value alone; hue and saturation stay.
        {"lighter", {VK_CONTROL, VK_ADD}, kLighter, EditTexts(ToRgb({210, 79, 34}), {210, 79, 34}),
         EditTexts(ToRgb({210, 79, 35}), {210, 79, 35}), ToRgb({210, 79, 34}), ToRgb({210, 79, 35})},
        {"darker", {VK_CONTROL, VK_SUBTRACT}, kDarker, EditTexts(ToRgb({210, 79, 32}), {210, 79, 32}),
         EditTexts(ToRgb({210, 79, 31}), {210, 79, 31}), ToRgb({210, 79, 32}), ToRgb({210, 79, 31})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Session> holder;
        Session& s = *Start(holder, kStart);
        ASSERT_TRUE(s.Ready());
        s.Keys(c.keys);
        EXPECT_EQ(s.Edits(), c.once);
        EXPECT_EQ(s.SwatchCurrent(), c.onceColor);
        EXPECT_EQ(s.SwatchReference(), c.onceColor) << "a transform commits the color";
        s.Command(c.id);
        EXPECT_EQ(s.Edits(), c.twice);
        EXPECT_EQ(s.SwatchCurrent(), c.twiceColor);
        EXPECT_EQ(s.CopyText(), "#" + c.twice[3] + c.twice[4] + c.twice[5]);
        ASSERT_EQ(s.Close(), 0);
        EXPECT_EQ(IniInt(s.file("tbox.ini"), "Color", "B"), c.twiceColor.b);
        Report(std::string(c.what) + ": " + c.once[3] + c.once[4] + c.once[5] + " then " + c.twice[3] + c.twice[4] +
               c.twice[5]);
    }
    // The main keyboard's minus and plus are not bound.
    std::unique_ptr<Session> holder;
    Session& s = *Start(holder, kStart);
    ASSERT_TRUE(s.Ready());
    s.Keys({VK_CONTROL, VK_OEM_MINUS});
    s.Keys({VK_CONTROL, VK_OEM_PLUS});
    EXPECT_EQ(s.Edits(), EditTexts(kStart));
    EXPECT_EQ(s.Close(), 0);
}

// ---- The settings menu ----

TEST(Commands, SettingsMenuItems)
{
    std::unique_ptr<Session> holder;
    Session& s = *Start(holder, {171, 205, 239});
    ASSERT_TRUE(s.Ready());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(s.CopyText(), "#abcdef");
    const struct {
        int id;
        const char* copy;
        const char* r16;
    } steps[] = {
        {kRgbFormat, "RGB( 171, 205, 239 )", "ab"},
        {kDwordFormat, "15715755", "ab"},
        {kHtmlFormat, "#abcdef", "ab"},
        {kUpperCase, "#ABCDEF", "AB"},
        {kSharp, "ABCDEF", "AB"},
        {kSharp, "#ABCDEF", "AB"},
        {kLowerCase, "#abcdef", "ab"},
        {kUpperCase, "#ABCDEF", "AB"},
        {kSharp, "ABCDEF", "AB"},
        {kRgbFormat, "RGB( 171, 205, 239 )", "AB"},
    };
    for (const auto& step : steps) {
        s.Command(step.id);
        EXPECT_EQ(s.CopyText(), step.copy) << step.id;
        EXPECT_EQ(s.Text(kR16), step.r16) << step.id;
    }
    // The display modes, each also when already shown: the pickers and a
    // repaint of the whole window (a scribble over the labels goes).
    const POINT red100 = At(Geo().redBar, 100, 12);     // red bar, column 100
    const POINT valueTop = At(Geo().valueBar, 5, 1);    // value bar, top row: value 99
    const struct {
        int id;
        LONG x, y;
        COLORREF shown;
    } modes[] = {
        {kRgbMode, red100.x, red100.y, RGB(100, 205, 239)},
        {kRgbMode, red100.x, red100.y, RGB(100, 205, 239)},
        {kHsvMode, valueTop.x, valueTop.y, 0},
        {kHsvMode, valueTop.x, valueTop.y, 0},
    };
    const Hsv hsv = ToHsv({171, 205, 239});
    const Rgb top = ToRgb({hsv.h, hsv.s, 99});
    for (const auto& m : modes) {
        HDC dc = GetDC(s.main());
        // Over the label above the swatch.
        const RECT& swatch = Geo().swatch;
        RECT scribble = {swatch.left, swatch.top - 15, swatch.left + 50, swatch.top - 5};
        FillRect(dc, &scribble, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(s.main(), dc);
        GdiFlush();
        bool scribbled = false;
        for (int i = 0; i < 50 && !scribbled; ++i, Sleep(20))
            scribbled = s.Pixel(scribble.left + 2, scribble.top + 1) == RGB(0, 0, 0);
        ASSERT_TRUE(scribbled) << "the scribble is on screen before the command";
        s.Command(m.id);
        EXPECT_EQ(s.Pixel(m.x, m.y), m.shown ? m.shown : RGB(top.r, top.g, top.b)) << m.id;
        EXPECT_EQ(s.Pixel(scribble.left + 2, scribble.top + 1), face) << "the whole window was repainted";
    }
    s.Command(kRgbMode);
    ASSERT_EQ(s.Close(), 0);
    const std::string ini = s.file("tbox.ini");
    EXPECT_EQ(IniInt(ini, "Color", "Mode"), 1);
    EXPECT_EQ(IniInt(ini, "Color", "Copy"), 1);
    EXPECT_EQ(IniInt(ini, "Color", "Char"), 1);
    EXPECT_EQ(IniInt(ini, "Color", "Sharp"), 0);
    Report("formats, letter case, '#', both modes; saved Mode=1 Copy=1 Char=1 Sharp=0");
}

// ---- Tab, Shift+Tab and Esc ----

TEST(Commands, TabShiftTabAndEsc)
{
    std::unique_ptr<Session> holder;
    Session& s = *Start(holder, kStart);
    ASSERT_TRUE(s.Ready());
    ASSERT_EQ(s.Focus(), s.Control(kR10));
    for (int step = 1; step <= 10; ++step) {
        s.Keys({VK_TAB});
        EXPECT_EQ(s.Focus(), s.Control(kColorEdits[step % 9])) << "Tab " << step;
    }
    // At G10 now; Shift+Tab goes back across R10 and wraps to V, then S.
    for (int step = 0; step < 3; ++step)
        s.Keys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(s.Focus(), s.Control(kS));
    s.Type("50");
    EXPECT_EQ(s.Text(kS), "50");
    s.Keys({VK_SHIFT, VK_TAB});
    EXPECT_EQ(s.Focus(), s.Control(kH));
    // The whole text of the edit reached is selected: typing replaces it.
    s.Type("0");
    EXPECT_EQ(s.Text(kH), "0");
    const std::vector<std::string> shown = s.Edits();
    EXPECT_EQ(shown, EditTexts(ToRgb({0, 50, 33}), {0, 50, 33}));
    // Esc without a capture running changes nothing.
    s.Keys({VK_ESCAPE});
    EXPECT_EQ(s.Edits(), shown);
    EXPECT_EQ(s.Focus(), s.Control(kH));
    EXPECT_TRUE(s.Alive());
    EXPECT_EQ(s.Close(), 0);
    Report("Tab walks and wraps the nine edits, Shift+Tab back, Esc alone does nothing");
}

// ---- Leaving the program ----

TEST(Commands, EveryWayOfClosingSaves)
{
    const struct {
        const char* how;
        int way;
    } ways[] = {{"WM_CLOSE", 0}, {"Ctrl+Q", 1}, {"Alt+F4", 2}, {"exit menu item", 3}};
    for (const auto& w : ways) {
        SCOPED_TRACE(w.how);
        std::unique_ptr<Session> holder;
        Session& s = *Start(holder, kStart);
        ASSERT_TRUE(s.Ready());
        s.Keys({VK_CONTROL, 'R'});  // something to save: the inverted color
        long code = -1;
        switch (w.way) {
        case 0: code = s.Close(); break;
        case 1: s.Keys({VK_CONTROL, 'Q'}); code = s.WaitForExit(); break;
        case 2: s.Keys({VK_MENU, VK_F4}); code = s.WaitForExit(); break;
        case 3: PostMessageA(s.main(), WM_COMMAND, kExit, 0); code = s.WaitForExit(); break;
        }
        EXPECT_EQ(code, 0);
        const std::string ini = s.file("tbox.ini");
        EXPECT_EQ(IniInt(ini, "Color", "R"), 237);
        EXPECT_EQ(IniInt(ini, "Color", "G"), 203);
        EXPECT_EQ(IniInt(ini, "Color", "B"), 169);
        EXPECT_EQ(ReadWholeFile(s.file("palette.ini")).size(), 512u);
        Report(std::string(w.how) + " ends with code 0 and saves");
    }
}

// ---- The version dialog ----

TEST(Commands, VersionDialog)
{
    std::unique_ptr<Session> holder;
    Session& s = *Start(holder, kStart);
    ASSERT_TRUE(s.Ready());
    PostMessageA(s.main(), WM_COMMAND, kAbout, 0);
    HWND dialog = s.WaitForDialog(kAboutCaption);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, 1000)), "Tintbox Ver.1.12");
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDOK)), "\x95\xC2\x82\xB6\x82\xE9");  // 閉じる
    // The maker's name is there, greyed; the rights notice beside it.
    std::vector<std::pair<std::string, bool>> statics;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        statics.emplace_back(Caption(child), IsWindowEnabled(child) != FALSE);
    EXPECT_NE(std::find(statics.begin(), statics.end(), std::make_pair(std::string("Quillmark"), false)),
              statics.end());
    EXPECT_NE(std::find(statics.begin(), statics.end(), std::make_pair(std::string("Copyright (C) 2024"), true)),
              statics.end());
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), s.main());
    EXPECT_FALSE(IsWindowEnabled(s.main())) << "the dialog is modal";
    PressButton(dialog, IDOK);
    EXPECT_TRUE(s.WaitGone(dialog));
    EXPECT_TRUE(s.Alive());
    EXPECT_TRUE(IsWindowEnabled(s.main()));
    EXPECT_EQ(s.Edits(), EditTexts(kStart));
    EXPECT_EQ(s.Close(), 0);
    Report("version dialog shows 'Tintbox Ver.1.12' and closes");
}

// ---- Resetting the palette from the factory palette ----

TEST(Commands, PaletteInitialise)
{
    const std::string factory = ReadWholeFile(HostPathToWindows(PALINI_FILE));
    ASSERT_EQ(factory.size(), 512u);
    const std::string own = NumberedPalette(9);
    ASSERT_NE(own, factory);
    const struct {
        const char* how;
        int answer;
        bool byKey;
    } cases[] = {{"Ctrl+I, yes", IDYES, true}, {"menu, no", IDNO, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        StartFiles setup;
        setup.palette = own;
        setup.factoryPalette = true;
        std::unique_ptr<Session> holder;
        Session& s = *Start(holder, kStart, setup);
        ASSERT_TRUE(s.Ready());
        if (c.byKey) {
            SetForegroundWindow(s.main());
            s.Keys({VK_CONTROL, 'I'});
        } else {
            PostMessageA(s.main(), WM_COMMAND, kPaletteInit, 0);
        }
        HWND box = s.WaitForDialog(kInitialiseCaption);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), kReplaceQuestion);
        EXPECT_NE(FindControl(box, "Button", IDYES), nullptr);
        EXPECT_NE(FindControl(box, "Button", IDNO), nullptr);
        PressButton(box, c.answer);
        EXPECT_TRUE(s.WaitGone(box));
        s.Sync();
        const std::string& shown = c.answer == IDYES ? factory : own;
        for (int cell : {0, 50, 127})
            EXPECT_EQ(s.PaletteCell(cell), PaletteEntry(shown, cell)) << cell;
        ASSERT_EQ(s.Close(), 0);
        std::string expected = shown;
        for (size_t i = 3; i < expected.size(); i += 4)
            expected[i] = '\0';
        EXPECT_EQ(ReadWholeFile(s.file("palette.ini")), expected);
        EXPECT_EQ(IniString(s.file("tbox.ini"), "Palette", "File"), "") << "the palette file path is not changed";
        Report(std::string(c.how) + (c.answer == IDYES ? ": factory palette shown and saved" : ": palette kept"));
    }
}

}  // namespace
}  // namespace e2e

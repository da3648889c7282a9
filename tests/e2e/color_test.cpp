// Every way a user changes the color, each in a program of its own: typing in
// the three kinds of edit, dragging on the pickers of both modes, a palette
// pick, a screen capture, the standard color dialog and the one-step
// transforms. What the window shows and what tbox.ini keeps must agree.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {
namespace {

const Rgb kStart = {18, 52, 86};

void ExpectShows(Session& s, Rgb c, const std::vector<std::string>& edits)
{
    EXPECT_EQ(s.Edits(), edits);
    EXPECT_EQ(s.CopyText(), "#" + edits[3] + edits[4] + edits[5]);
    EXPECT_EQ(s.SwatchCurrent(), c);
}

// The color kept at close.
void ExpectSavedColor(Session& s, Rgb c)
{
    ASSERT_EQ(s.Close(), 0);
    const std::string ini = s.file("tbox.ini");
    EXPECT_EQ(IniInt(ini, "Color", "R"), c.r);
    EXPECT_EQ(IniInt(ini, "Color", "G"), c.g);
    EXPECT_EQ(IniInt(ini, "Color", "B"), c.b);
}

TEST(ChangeColor, TypingInEachKindOfEdit)
{
    const struct {
        const char* what;
        int tabs;  // from R10, where the focus is at start
        const char* keys;
        Rgb color;
        std::vector<std::string> edits;
    } cases[] = {
        {"decimal R10", 0, "200", {200, 52, 86}, EditTexts({200, 52, 86})},
        {"decimal B10", 2, "7", {18, 52, 7}, EditTexts({18, 52, 7})},
        // The hex text stays as typed, case included.
        {"hex G16", 4, "Ab", {18, 171, 86}, {"18", "171", "86", "12", "Ab", "56", "147", "89", "67"}},
        // Hue, saturation and value stay as typed; the channels follow.
        {"hue H", 6, "120", ToRgb({120, 79, 33}), EditTexts(ToRgb({120, 79, 33}), {120, 79, 33})},
        {"saturation S", 7, "20", ToRgb({210, 20, 33}), EditTexts(ToRgb({210, 20, 33}), {210, 20, 33})},
        {"value V", 8, "90", ToRgb({210, 79, 90}), EditTexts(ToRgb({210, 79, 90}), {210, 79, 90})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartFiles setup;
        setup.settings = ColorSettings(kStart);
        Session s(setup);
        ASSERT_TRUE(s.Ready());
        ASSERT_EQ(s.Focus(), s.Control(kR10)) << "the focus starts in R10";
        for (int i = 0; i < c.tabs; ++i)
            s.Keys({VK_TAB});
        ASSERT_EQ(s.Focus(), s.Control(kColorEdits[c.tabs]));
        s.Type(c.keys);
        std::vector<std::string> edits = c.edits;
        ExpectShows(s, c.color, edits);
        EXPECT_EQ(s.SwatchReference(), c.color) << "typing commits the color";
        ExpectSavedColor(s, c.color);
        Report(std::string(c.what) + " typed '" + c.keys + "' gives " + edits[3] + edits[4] + edits[5]);
    }
}

TEST(ChangeColor, DragOnTheHueSaturationFieldAndTheValueBar)
{
    StartFiles setup;
    setup.settings = ColorSettings(kStart);
    Session s(setup);
    ASSERT_TRUE(s.Ready());
    // Across the field: column x hue 2x, row y saturation 100 - y; the button still held.
    const RECT& field = Geo().hueSat;
    const RECT& valueBar = Geo().valueBar;
    const POINT end = At(field, 90, 13);
    s.Drag(At(field, 40, 73), end, 10, false);
    Hsv hsv = {180, 87, 33};
    Rgb rgb = ToRgb(hsv);
    ExpectShows(s, rgb, EditTexts(rgb, hsv));
    EXPECT_EQ(s.SwatchReference(), kStart) << "the drag is not committed before the release";
    s.ReleaseLeft(end.x, end.y);
    EXPECT_EQ(s.SwatchReference(), rgb);
    // Down the value bar: row y value 100 - y.
    s.Drag(At(valueBar, 10, 3), At(valueBar, 10, 23), 5);
    hsv.v = 77;
    rgb = ToRgb(hsv);
    ExpectShows(s, rgb, EditTexts(rgb, hsv));
    EXPECT_EQ(s.SwatchReference(), rgb);
    // The value bar is drawn for the new hue and saturation: its top row is value 99.
    EXPECT_EQ(s.Pixel(valueBar.left + 5, valueBar.top + 1), RGB(ToRgb({180, 87, 99}).r, ToRgb({180, 87, 99}).g, ToRgb({180, 87, 99}).b));
    ExpectSavedColor(s, rgb);
    Report("field drag to hue 180 saturation 87, value bar to 77");
}

TEST(ChangeColor, DragOnTheChannelBars)
{
    StartFiles setup;
    setup.settings = ColorSettings(kStart);
    Session s(setup);
    ASSERT_TRUE(s.Ready());
    s.Command(kRgbMode);
    // Column x of a bar is its channel x - the bar's left edge; the drag area
    // reaches past the bar's right end.
    const Geometry& g = Geo();
    const struct {
        LONG y;
        LONG x;
        Rgb after;
    } drags[] = {
        {g.redBar.top + 8, g.redBar.left + 100, {100, 52, 86}},
        {g.greenBar.top + 7, g.greenBar.left + 200, {100, 200, 86}},
        {g.blueBar.top + 6, g.blueDrag.right - 1, {100, 200, 255}},  // clamped at 255
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.y);
        s.Drag({g.redBar.left + 65, d.y}, {d.x, d.y}, 8);
        ExpectShows(s, d.after, EditTexts(d.after));
        EXPECT_EQ(s.SwatchReference(), d.after);
        // The red bar shows this green and blue, column c being red c.
        EXPECT_EQ(s.Pixel(g.redBar.left + 40, g.redBar.top + 12), RGB(40, d.after.g, d.after.b));
    }
    // Left of the drag areas and between them nothing changes.
    const LONG x = g.redBar.left + 65;
    for (POINT p : {POINT{g.redDrag.left - 1, g.redBar.top + 8}, POINT{x, g.redDrag.bottom + 3},
                    POINT{x, g.greenDrag.bottom + 7}}) {
        s.Click(p.x, p.y);
        EXPECT_EQ(s.Edits(), EditTexts({100, 200, 255})) << p.x << "," << p.y;
    }
    ExpectSavedColor(s, {100, 200, 255});
    EXPECT_EQ(IniInt(s.file("tbox.ini"), "Color", "Mode"), 1);
    Report("red bar to 100, green bar to 200, blue bar clamped at 255");
}

TEST(ChangeColor, PalettePickAndStore)
{
    const std::string palette = NumberedPalette(3);
    StartFiles setup;
    setup.settings = ColorSettings(kStart);
    setup.palette = palette;
    Session s(setup);
    ASSERT_TRUE(s.Ready());
    for (int cell : {0, 37, 127}) {
        SCOPED_TRACE(cell);
        const Rgb entry = PaletteEntry(palette, cell);
        EXPECT_EQ(s.PaletteCell(cell), entry) << "the swatch shows palette.ini";
        const POINT p = InCell(cell, 5, 5);
        s.Click(p.x, p.y);
        ExpectShows(s, entry, EditTexts(entry));
        EXPECT_EQ(s.SwatchReference(), entry);
    }
    // A right click stores the current color (cell 127's) into cell 2.
    const Rgb last = PaletteEntry(palette, 127);
    const POINT cell2 = InCell(2, 3, 3);
    s.RightClick(cell2.x, cell2.y);
    EXPECT_EQ(s.PaletteCell(2), last);
    ExpectSavedColor(s, last);
    std::string expected = palette;
    expected[8] = static_cast<char>(last.r);
    expected[9] = static_cast<char>(last.g);
    expected[10] = static_cast<char>(last.b);
    EXPECT_EQ(ReadWholeFile(s.file("palette.ini")), expected);
    Report("picked cells 0, 37, 127; stored into cell 2");
}

}  // namespace
}  // namespace e2e

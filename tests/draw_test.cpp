// The UI font, the surfaces and their drawings, read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "color/color.h"
#include "store/palette_data.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

HDC g_screenDc;

// The surfaces live for the whole run, created once from the screen's DC.
class SurfacesEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::memset(&g_current, 0, sizeof g_current);
        std::memset(&g_reference, 0, sizeof g_reference);
        g_screenDc = GetDC(nullptr);
        g_window.uiFont = CreateUiFont();
        CreateSurfaces(g_screenDc);
        PrepareCaptureSurfaces(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), Geo().panel);
    }
    void TearDown() override
    {
        DestroySurfaces();
        DeleteObject(g_window.uiFont);
        g_window.uiFont = nullptr;
        ReleaseDC(nullptr, g_screenDc);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SurfacesEnvironment);

COLORREF Rgb3(int r, int g, int b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}

COLORREF At(const Surface& s, int x, int y) { return GetPixel(s.dc, s.origin.x + x, s.origin.y + y); }

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

// The integer hue/saturation/value rules written out once more inside the test,
// so that a fault in the program's conversion draws pixels that do not match.
// Sector k of six takes its channels from the value V and the three percents
// p, q and t in the order the letters of kSectorOrder[k] give.
COLORREF ExpectedHsvPixel(int h, int s, int v)
{
    if (s == 0)
        return Rgb3(v * 255 / 100, v * 255 / 100, v * 255 / 100);
    static const char* const kSectorOrder[6] = {"Vtp", "qVp", "pVt", "pqV", "tpV", "Vpq"};
    const int f = h * 6 % 360;
    int percent[128] = {};
    percent['V'] = v;
    percent['p'] = (100 - s) * v / 100;
    percent['q'] = (100 - s * f / 360) * v / 100;
    percent['t'] = (100 - s * (360 - f) / 360) * v / 100;
    const char* order = kSectorOrder[h * 6 / 360];
    return Rgb3(percent[static_cast<int>(order[0])] * 255 / 100, percent[static_cast<int>(order[1])] * 255 / 100,
                percent[static_cast<int>(order[2])] * 255 / 100);
}

void SetCurrentRgb(int32_t r, int32_t g, int32_t b)
{
    g_current.red = r;
    g_current.green = g;
    g_current.blue = b;
}

void SetCurrentHsv(int32_t h, int32_t s, int32_t v)
{
    g_current.hue = h;
    g_current.saturation = s;
    g_current.value = v;
}

void Clear(const Surface& s, COLORREF color)
{
    ScopedBrush brush(CreateSolidBrush(color));
    const RECT all = {s.origin.x, s.origin.y, s.origin.x + s.width, s.origin.y + s.height};
    FillRect(s.dc, &all, brush.get());
}

struct DrawnSurface {
    const char* name;
    Surface* surface;
    void (*draw)();
    int width;
    int height;
};

const DrawnSurface kDrawn[] = {
    {"swatch", &g_window.surfaces.swatch, DrawSwatchSurface, 110, 110},
    {"red bar", &g_window.surfaces.redBar, DrawChannelBars, 256, 15},
    {"green bar", &g_window.surfaces.greenBar, DrawChannelBars, 256, 15},
    {"blue bar", &g_window.surfaces.blueBar, DrawChannelBars, 256, 15},
    {"hue-saturation", &g_window.surfaces.hueSat, DrawHueSatSurface, 180, 100},
    {"value bar", &g_window.surfaces.valueBar, DrawValueBarSurface, 20, 100},
    {"palette", &g_window.surfaces.palette, DrawPaletteSurface, 225, 113},
};

// ---- The UI font ----

TEST(UiFont, HasJapaneseGlyphsAndATwelvePixelCell)
{
    ASSERT_NE(g_window.uiFont, nullptr);
    MemoryDcGuard dc(g_screenDc);
    SelectGuard font(dc.get(), g_window.uiFont);
    char face[LF_FACESIZE] = {};
    ASSERT_GT(GetTextFaceA(dc.get(), LF_FACESIZE, face), 0);
    std::printf("UI font face: \"%s\"\n", face);

    char chosen[LF_FACESIZE];
    ChooseUiFontFace(chosen);
    EXPECT_EQ(lstrcmpiA(face, chosen), 0) << "the font got a substitute for " << chosen;

    TEXTMETRICA metrics = {};
    ASSERT_TRUE(GetTextMetricsA(dc.get(), &metrics));
    EXPECT_EQ(metrics.tmHeight, 12);
    // The TMPF_FIXED_PITCH bit set means a proportional face.
    EXPECT_NE(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "want a proportional face";

    // "パレット" (palette), "コピー" (copy), "画面の色" (screen color).
    for (const wchar_t* text : {L"\u30D1\u30EC\u30C3\u30C8", L"\u30B3\u30D4\u30FC", L"\u753B\u9762\u306E\u8272"}) {
        const int length = lstrlenW(text);
        std::vector<WORD> glyphs(static_cast<size_t>(length), 0);
        ASSERT_EQ(GetGlyphIndicesW(dc.get(), text, length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS),
                  static_cast<DWORD>(length));
        for (WORD glyph : glyphs)
            EXPECT_NE(glyph, 0xFFFF) << "a Japanese character has no glyph in " << face;
    }
}

TEST(UiFont, AsksForTheWantedFaceByItsCodePage932Name)
{
    // "ＭＳ Ｐゴシック" with the single-byte space between the words.
    const unsigned char expected[] = {0x82, 0x6C, 0x82, 0x72, 0x20, 0x82, 0x6F, 0x83,
                                      0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E, 0x00};
    char face[LF_FACESIZE];
    WantedUiFontFace(face);
    EXPECT_EQ(std::memcmp(face, expected, sizeof expected), 0);
}

// ---- Surfaces ----

TEST(Surfaces, SizesFormatAndTextModes)
{
    struct Expected {
        const char* name;
        const Surface* surface;
        int width, height;
    };
    const Expected table[] = {
        {"swatch", &g_window.surfaces.swatch, 110, 110},
        {"red bar", &g_window.surfaces.redBar, 256, 15},
        {"green bar", &g_window.surfaces.greenBar, 256, 15},
        {"blue bar", &g_window.surfaces.blueBar, 256, 15},
        {"hue-saturation", &g_window.surfaces.hueSat, 180, 100},
        {"value bar", &g_window.surfaces.valueBar, 20, 100},
        {"palette", &g_window.surfaces.palette, 225, 113},
        {"screen copy", &g_window.surfaces.screen, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        {"magnifier", &g_window.surfaces.magnifier, 170, 240},
    };
    const Surface& sheet = g_window.surfaces.sheet;
    std::vector<RECT> parts;
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const Surface& s = *e.surface;
        EXPECT_EQ(s.width, e.width);
        EXPECT_EQ(s.height, e.height);
        EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
        BITMAP info = {};
        ASSERT_EQ(GetObjectA(s.bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmBitsPixel, 32);
        ASSERT_NE(s.pixels, nullptr);
        EXPECT_EQ(s.stride, info.bmWidth);
        if (parts.size() < 7) {
            // The window's seven: parts of one bitmap, side by side, none over another.
            EXPECT_EQ(s.dc, sheet.dc);
            EXPECT_EQ(s.bitmap, sheet.bitmap);
            EXPECT_EQ(s.pixels, sheet.pixels + s.origin.y * sheet.stride + s.origin.x);
            const RECT part = {s.origin.x, s.origin.y, s.origin.x + s.width, s.origin.y + s.height};
            EXPECT_LE(part.right, info.bmWidth);
            EXPECT_LE(part.bottom, info.bmHeight);
            for (const RECT& other : parts) {
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &part, &other));
            }
            parts.push_back(part);
        } else {
            EXPECT_NE(s.dc, sheet.dc);
            EXPECT_EQ(s.origin.x, 0);
            EXPECT_EQ(s.origin.y, 0);
            EXPECT_EQ(info.bmWidth, e.width);
            EXPECT_EQ(info.bmHeight, e.height);
            EXPECT_NE(s.previous, nullptr);
        }
    }
    EXPECT_EQ(GetBkMode(g_window.surfaces.magnifier.dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(g_window.surfaces.magnifier.dc), 0u);
}

// The seven share one bitmap: each drawing changes its own part and nothing
// around it, also through GDI (lines, text, fills) and at a part's edges.
TEST(Surfaces, EachDrawingStaysInsideItsPart)
{
    const Surface& sheet = g_window.surfaces.sheet;
    SetCurrentRgb(0, 128, 255);
    SetCurrentHsv(200, 50, 70);
    for (const DrawnSurface& d : kDrawn) {
        SCOPED_TRACE(d.name);
        const uint32_t mark = 0x00123456;
        GdiFlush();
        std::fill(sheet.pixels, sheet.pixels + sheet.stride * sheet.height, mark);
        d.draw();
        GdiFlush();
        // The parts this drawing draws: the three channel bars are drawn together.
        std::vector<RECT> drawn;
        int area = 0;
        for (const DrawnSurface& e : kDrawn)
            if (e.draw == d.draw) {
                const Surface& s = *e.surface;
                drawn.push_back(RECT{s.origin.x, s.origin.y, s.origin.x + s.width, s.origin.y + s.height});
                area += e.width * e.height;
            }
        int inside = 0, outside = 0;
        for (int y = 0; y < sheet.height; ++y)
            for (int x = 0; x < sheet.stride; ++x) {
                const POINT p = {x, y};
                const bool in = std::any_of(drawn.begin(), drawn.end(), [&p](const RECT& r) { return PtInRect(&r, p) != 0; });
                const bool changed = sheet.pixels[y * sheet.stride + x] != mark;
                inside += in && changed;
                outside += !in && changed;
            }
        EXPECT_EQ(inside, area) << "every pixel of the part drawn";
        EXPECT_EQ(outside, 0);
    }
    for (const DrawnSurface& d : kDrawn)
        d.draw();
}

TEST(Surfaces, PixelsAreTopDown0x00RRGGBB)
{
    SetCurrentHsv(0, 100, 100);
    DrawHueSatSurface();
    GdiFlush();
    const Surface& s = g_window.surfaces.hueSat;
    // (1, 1) is hue 2, saturation 99: red 255, green 12, blue 2.
    EXPECT_EQ(PixelAt(s, 1, 1), 0x00FF0C02u);
    EXPECT_EQ(At(s, 1, 1), Rgb3(255, 12, 2));
    // Row 98 (saturation 2) lies near the bottom of the memory, not the top:
    // hue 2, saturation 2 is red 255, green 252, blue 249.
    EXPECT_EQ(At(s, 1, 98), Rgb3(255, 252, 249));
    EXPECT_EQ(PixelAt(s, 1, 98), 0x00FFFCF9u);
}

// Every drawing gives the same pixels on a plain device bitmap (drawn through
// GDI alone) as on the surfaces' DIB sections (gradients written directly).
TEST(Surfaces, DirectPixelsMatchPlainGdiDrawing)
{
    SetCurrentRgb(30, 140, 250);
    SetCurrentHsv(211, 63, 88);
    g_reference = g_current;
    g_reference.red = 7;
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = Rgb3(i, 2 * i, 255 - i);
    for (const DrawnSurface& d : kDrawn) {
        SCOPED_TRACE(d.name);
        Surface& live = *d.surface;
        ScopedBitmap bitmap(CreateCompatibleBitmap(g_screenDc, live.width, live.height));
        MemoryDcGuard dc(g_screenDc);
        SelectGuard selected(dc.get(), bitmap.get());
        SetBkMode(dc.get(), GetBkMode(live.dc));
        Surface plain = {dc.get(), bitmap.get(), nullptr, live.width, live.height, nullptr, 0, POINT{0, 0}, live.width};

        std::swap(live, plain);
        d.draw();
        std::swap(live, plain);
        d.draw();
        int differing = 0;
        for (int y = 0; y < live.height; ++y)
            for (int x = 0; x < live.width; ++x)
                differing += GetPixel(dc.get(), x, y) != At(live, x, y);
        EXPECT_EQ(differing, 0);
    }
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = 0;
}

TEST(Surfaces, DestroyReleasesEverythingAndCreateDrawsThePickers)
{
    std::vector<HDC> dcs;
    std::vector<HBITMAP> bitmaps;
    for (const Surface* s : {&g_window.surfaces.swatch, &g_window.surfaces.redBar, &g_window.surfaces.greenBar, &g_window.surfaces.blueBar,
                             &g_window.surfaces.hueSat, &g_window.surfaces.valueBar, &g_window.surfaces.palette, &g_window.surfaces.screen,
                             &g_window.surfaces.magnifier}) {
        dcs.push_back(s->dc);
        bitmaps.push_back(s->bitmap);
    }
    DestroySurfaces();
    for (size_t i = 0; i < dcs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetObjectType(dcs[i]), 0u);
        EXPECT_EQ(GetObjectType(bitmaps[i]), 0u);
    }
    EXPECT_EQ(g_window.surfaces.hueSat.dc, nullptr);
    EXPECT_EQ(g_window.surfaces.hueSat.pixels, nullptr);

    // Creation draws the channel bars, the field, the value bar and the palette at once.
    SetCurrentRgb(0, 0, 0);
    SetCurrentHsv(0, 0, 100);
    Palette[0] = Rgb3(10, 200, 30);
    CreateSurfaces(g_screenDc);
    EXPECT_EQ(g_window.surfaces.screen.dc, nullptr) << "the capture's surfaces are the capture's to make";
    EXPECT_TRUE(PrepareCaptureSurfaces(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), Geo().panel));
    EXPECT_EQ(At(g_window.surfaces.hueSat, 1, 1), Rgb3(255, 12, 2));
    EXPECT_EQ(At(g_window.surfaces.valueBar, 5, 1), Rgb3(252, 252, 252));
    EXPECT_EQ(At(g_window.surfaces.redBar, 200, 1), Rgb3(200, 0, 0));
    EXPECT_EQ(At(g_window.surfaces.blueBar, 200, 1), Rgb3(0, 0, 200));
    EXPECT_EQ(At(g_window.surfaces.palette, 5, 5), Rgb3(10, 200, 30));
    EXPECT_EQ(At(g_window.surfaces.palette, 14, 5), Rgb3(255, 255, 255));
    for (const DrawnSurface& d : kDrawn) {
        if (d.surface != &g_window.surfaces.swatch) {
            EXPECT_EQ(At(*d.surface, 0, 0), GetSysColor(COLOR_BTNSHADOW)) << d.name;
        }
    }
    Palette[0] = 0;
}

// ---- The sunken edge ----

TEST(SunkenEdge, ShadowLeftAndTopHighlightRightAndBottom)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, highlight);
    // Content in the shadow color, the hardest to tell apart from the edge.
    SetCurrentRgb(static_cast<int32_t>(shadow & 0xFF), static_cast<int32_t>((shadow >> 8) & 0xFF),
                  static_cast<int32_t>((shadow >> 16) & 0xFF));
    SetCurrentHsv(0, 0, 100);
    for (const DrawnSurface& d : kDrawn) {
        SCOPED_TRACE(d.name);
        const Surface& s = *d.surface;
        Clear(s, Rgb3(1, 2, 3));
        d.draw();
        const int w = d.width, h = d.height;
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(At(s, 0, y), shadow) << "left column, y " << y;
            EXPECT_EQ(At(s, w - 1, y), highlight) << "right column, y " << y;
        }
        for (int x = 1; x < w - 1; ++x) {
            EXPECT_EQ(At(s, x, 0), shadow) << "top row, x " << x;
            EXPECT_EQ(At(s, x, h - 1), highlight) << "bottom row, x " << x;
        }
        // The corners where the two lines meet.
        EXPECT_EQ(At(s, w - 1, 0), highlight);
        EXPECT_EQ(At(s, 0, h - 1), shadow);
        // Nothing spills inside.
        EXPECT_NE(At(s, 1, 1), Rgb3(1, 2, 3));
    }
}

TEST(SunkenEdge, OnlyTheBorderOfTheGivenSize)
{
    const Surface& s = g_window.surfaces.magnifier;
    Clear(s, Rgb3(9, 9, 9));
    DrawSunkenEdge(s.dc, 30, 20);
    EXPECT_EQ(At(s, 0, 19), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(s, 28, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(s, 29, 19), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(s, 1, 19), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(s, 30, 0), Rgb3(9, 9, 9));
    EXPECT_EQ(At(s, 0, 20), Rgb3(9, 9, 9));
    EXPECT_EQ(At(s, 15, 10), Rgb3(9, 9, 9));
}

// ---- Swatch ----

TEST(Swatch, UpperHalfCurrentLowerHalfReference)
{
    SetCurrentRgb(10, 20, 30);
    g_reference = g_current;
    g_reference.red = 200;
    g_reference.green = 100;
    g_reference.blue = 50;
    DrawSwatchSurface();
    const Surface& s = g_window.surfaces.swatch;
    for (int x : {1, 50, 108}) {
        for (int y : {1, 30, 54})
            EXPECT_EQ(At(s, x, y), Rgb3(10, 20, 30)) << x << "," << y;
        for (int y : {55, 80, 108})
            EXPECT_EQ(At(s, x, y), Rgb3(200, 100, 50)) << x << "," << y;
    }
}

TEST(Swatch, TakesTheLowByteOfEachChannel)
{
    SetCurrentRgb(256 + 7, 512 + 8, 9);
    g_reference = g_current;
    DrawSwatchSurface();
    EXPECT_EQ(At(g_window.surfaces.swatch, 60, 60), Rgb3(7, 8, 9));
}

TEST(Swatch, EqualColorsShowOneUniformSquare)
{
    SetCurrentRgb(90, 160, 230);
    g_reference = g_current;
    DrawSwatchSurface();
    for (int y = 1; y < 109; ++y)
        for (int x = 1; x < 109; ++x)
            ASSERT_EQ(At(g_window.surfaces.swatch, x, y), Rgb3(90, 160, 230)) << x << "," << y;
}

// ---- Channel bars ----

TEST(ChannelBars, PercentText)
{
    struct Case {
        int32_t channel;
        const char* text;
    };
    const Case cases[] = {{0, "0.0%"},   {1, "0.4%"},   {2, "0.8%"},   {64, "25.1%"},
                          {127, "49.8%"}, {128, "50.2%"}, {254, "99.6%"}, {255, "100.0%"}};
    for (const Case& c : cases) {
        char text[16];
        std::memset(text, 'x', sizeof text);
        FormatChannelPercent(c.channel, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.channel;
    }
}

TEST(ChannelBars, EachColumnVariesItsOwnChannel)
{
    SetCurrentRgb(10, 20, 30);
    DrawChannelBars();
    struct Bar {
        const char* name;
        const Surface* surface;
        std::function<COLORREF(int)> column;
    };
    const Bar bars[] = {
        {"red", &g_window.surfaces.redBar, [](int x) { return Rgb3(x, 20, 30); }},
        {"green", &g_window.surfaces.greenBar, [](int x) { return Rgb3(10, x, 30); }},
        {"blue", &g_window.surfaces.blueBar, [](int x) { return Rgb3(10, 20, x); }},
    };
    for (const Bar& bar : bars) {
        SCOPED_TRACE(bar.name);
        for (int x = 1; x <= 254; ++x)
            EXPECT_EQ(At(*bar.surface, x, 1), bar.column(x)) << "x " << x;
        // Right of the text, the whole column inside the edge.
        for (int x : {60, 128, 254})
            for (int y = 1; y <= 13; ++y)
                EXPECT_EQ(At(*bar.surface, x, y), bar.column(x)) << x << "," << y;
    }
}

// The text lies where TextOutA puts it at (3, 2), the place a 12-pixel cell gives.
TEST(ChannelBars, PercentTextAtThreeTwo)
{
    struct Case {
        int32_t r, g, b;
        const char* texts[3];
    };
    const Case cases[] = {{0, 128, 255, {"0.0%", "50.2%", "100.0%"}}, {1, 254, 64, {"0.4%", "99.6%", "25.1%"}}};
    const struct {
        Surface* surface;
        COLORREF ink;
    } bars[] = {{&g_window.surfaces.redBar, 0x0000FF}, {&g_window.surfaces.greenBar, 0x00FF00}, {&g_window.surfaces.blueBar, 0xFF0000}};
    for (const Case& c : cases) {
        SetCurrentRgb(c.r, c.g, c.b);
        DrawChannelBars();
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(c.texts[i]);
            ScopedBitmap bitmap(CreateCompatibleBitmap(g_screenDc, 256, 15));
            MemoryDcGuard dc(g_screenDc);
            SelectGuard selected(dc.get(), bitmap.get());
            const RECT all = {0, 0, 256, 15};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            SetBkMode(dc.get(), TRANSPARENT);
            SetTextColor(dc.get(), bars[i].ink);
            {
                SelectGuard font(dc.get(), g_window.uiFont);
                TextOutA(dc.get(), 3, 2, c.texts[i], lstrlenA(c.texts[i]));
            }
            int inked = 0, misplaced = 0;
            for (int y = 1; y < 14; ++y)
                for (int x = 1; x < 100; ++x) {
                    const bool want = GetPixel(dc.get(), x, y) == bars[i].ink;
                    inked += want;
                    misplaced += want != (At(*bars[i].surface, x, y) == bars[i].ink);
                }
            EXPECT_GT(inked, 5);
            EXPECT_EQ(misplaced, 0);
        }
    }
}

// ---- Hue-saturation field ----

TEST(HueSat, PixelsAreHsvToRgbOfTwiceXAndHundredMinusY)
{
    struct Spot {
        int x, y;
        COLORREF expected;
        int value = 100;
    };
    // Hue 2x, saturation 100 - y, worked by hand from the integer rules: sector
    // 6h / 360, f = 6h mod 360, then the percents p, q, t and each channel
    // percent * 255 / 100. The corners and edges inside the sunken edge are
    // (1|178, 1|50|98) and (90, 1|98).
    const Spot spots[] = {
        {1, 1, Rgb3(255, 12, 2)},     // hue 2, saturation 99
        {60, 1, Rgb3(2, 255, 2)},     // hue 120
        {120, 1, Rgb3(2, 2, 255)},    // hue 240
        {90, 50, Rgb3(127, 255, 255)},  // hue 180, saturation 50
        {45, 98, Rgb3(252, 255, 249)},  // hue 90, saturation 2
        {178, 1, Rgb3(255, 2, 20)},     // hue 356: sector 5, f 336, p 1, q 100 - 92 = 8
        {1, 98, Rgb3(255, 252, 249)},   // sector 0, f 12: t 100 - 1 = 99, p 98
        {178, 98, Rgb3(255, 249, 252)}, // sector 5: p 98, q 100 - 1 = 99
        {90, 1, Rgb3(2, 255, 255)},     // sector 3, f 0: p 1, q 100
        {90, 98, Rgb3(249, 255, 255)},  // sector 3: p 98
        {1, 50, Rgb3(255, 132, 127)},   // sector 0: t 100 - 48 = 52, p 50
        {178, 50, Rgb3(255, 127, 137)}, // sector 5: p 50, q 100 - 46 = 54
        {150, 30, Rgb3(255, 76, 255)},  // hue 300: sector 5, f 0, p 30, q 100
        {135, 50, Rgb3(191, 127, 255)}, // hue 270: sector 4, f 180, t 100 - 25 = 75, p 50
        {1, 1, Rgb3(127, 5, 0), 50},    // value 50: t (100 - 95) * 50 / 100 = 2, p 0
        {178, 1, Rgb3(127, 0, 10), 50}, // p 0, q 8 * 50 / 100 = 4
        {1, 98, Rgb3(127, 124, 124), 50},    // t 99 * 50 / 100 = 49, p 49
        {178, 98, Rgb3(127, 124, 124), 50},  // p 49, q 49
        {1, 50, Rgb3(127, 66, 63), 50},      // t 26, p 25
        {178, 50, Rgb3(127, 63, 68), 50},    // p 25, q 27
        {90, 1, Rgb3(0, 127, 127), 50},
        {135, 50, Rgb3(94, 63, 127), 50},    // t 75 * 50 / 100 = 37, p 25
    };
    for (const Spot& s : spots) {
        SetCurrentHsv(0, 0, s.value);
        DrawHueSatSurface();
        EXPECT_EQ(Hex(At(g_window.surfaces.hueSat, s.x, s.y)), Hex(s.expected)) << s.x << "," << s.y << " value " << s.value;
    }
}

TEST(HueSat, WholeFieldAgreesWithTheConversionAtSeveralValues)
{
    for (int32_t value : {100, 73, 50, 1}) {
        SetCurrentHsv(300, 17, value);
        DrawHueSatSurface();
        int wrong = 0;
        for (int y = 1; y < 99; ++y)
            for (int x = 1; x < 179; ++x)
                if (At(g_window.surfaces.hueSat, x, y) != ExpectedHsvPixel(2 * x, 100 - y, value))
                    ++wrong;
        EXPECT_EQ(wrong, 0) << "value " << value;
    }
}

TEST(HueSat, ValueZeroIsBlackInside)
{
    SetCurrentHsv(200, 80, 0);
    DrawHueSatSurface();
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 179; ++x)
            ASSERT_EQ(At(g_window.surfaces.hueSat, x, y), Rgb3(0, 0, 0)) << x << "," << y;
}

TEST(HueSat, CurrentColorUnchangedFieldForField)
{
    // A state reached from hue/saturation/value: not what RgbToHsv would give.
    std::memset(&g_current, 0, sizeof g_current);
    SetCurrentRgb(2, 0, 2);
    SetCurrentHsv(359, 1, 1);
    std::memcpy(g_current.redHex, "A", 2);
    std::memcpy(g_current.greenHex, "0f", 3);
    const ColorState before = g_current;
    DrawHueSatSurface();
    EXPECT_EQ(std::memcmp(&before, &g_current, sizeof before), 0);
    EXPECT_EQ(g_current.hue, 359);
    EXPECT_EQ(g_current.red, 2);
}

// ---- Value bar ----

TEST(ValueBar, GreyRampAtSaturationZero)
{
    SetCurrentHsv(123, 0, 40);
    DrawValueBarSurface();
    const Surface& s = g_window.surfaces.valueBar;
    for (int y = 1; y <= 98; ++y) {
        const int level = (100 - y) * 255 / 100;
        for (int x = 1; x <= 18; ++x)
            ASSERT_EQ(At(s, x, y), Rgb3(level, level, level)) << x << "," << y;
    }
    EXPECT_EQ(At(s, 10, 1), Rgb3(252, 252, 252));
    EXPECT_EQ(At(s, 10, 98), Rgb3(5, 5, 5));
    EXPECT_EQ(At(s, 10, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(s, 10, 99), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(ValueBar, FollowsHueAndSaturationWithoutTouchingTheCurrentColor)
{
    std::memset(&g_current, 0, sizeof g_current);
    SetCurrentRgb(1, 2, 3);
    SetCurrentHsv(0, 100, 7);
    const ColorState before = g_current;
    DrawValueBarSurface();
    EXPECT_EQ(std::memcmp(&before, &g_current, sizeof before), 0);
    // Hue 0, saturation 100: pure red at value 100 - y.
    for (int y : {1, 20, 50, 98}) {
        const int level = (100 - y) * 255 / 100;
        EXPECT_EQ(At(g_window.surfaces.valueBar, 10, y), Rgb3(level, 0, 0)) << y;
    }
    SetCurrentHsv(240, 50, 7);
    DrawValueBarSurface();
    EXPECT_EQ(At(g_window.surfaces.valueBar, 10, 1), Rgb3(124, 124, 252));  // value 99
}

TEST(ValueBar, TopMiddleAndBottomRowsWorkedByHand)
{
    const struct {
        int32_t hue, saturation;
        int y;
        COLORREF expected;
    } rows[] = {
        {300, 17, 1, Rgb3(252, 209, 252)},  // sector 5, f 0: value 99, p 83 * 99 / 100 = 82, q 99
        {300, 17, 50, Rgb3(127, 104, 127)}, // value 50: p 41
        {300, 17, 98, Rgb3(5, 2, 5)},       // value 2: p 1
        {90, 60, 1, Rgb3(175, 252, 99)},    // sector 1, f 180: p 40 * 99 / 100 = 39, q 70 * 99 / 100 = 69
        {90, 60, 50, Rgb3(89, 127, 51)},    // p 20, q 35
        {90, 60, 98, Rgb3(2, 5, 0)},        // p 0, q 1
        {200, 100, 1, Rgb3(0, 168, 252)},   // sector 3, f 120: p 0, q (100 - 33) * 99 / 100 = 66
        {200, 100, 98, Rgb3(0, 2, 5)},      // q 67 * 2 / 100 = 1
        {250, 80, 1, Rgb3(84, 48, 252)},    // sector 4, f 60: t (100 - 66) * 99 / 100 = 33, p 19
        {250, 80, 50, Rgb3(43, 25, 127)},   // t 17, p 10
    };
    for (const auto& r : rows) {
        SetCurrentHsv(r.hue, r.saturation, 7);
        DrawValueBarSurface();
        for (int x : {1, 10, 18})
            EXPECT_EQ(Hex(At(g_window.surfaces.valueBar, x, r.y)), Hex(r.expected))
                << "hue " << r.hue << " saturation " << r.saturation << " at " << x << "," << r.y;
    }
}

TEST(ValueBar, WholeBarAgreesWithTheRulesAtSeveralHues)
{
    for (int32_t hue : {0, 59, 60, 119, 181, 239, 299, 359}) {
        SetCurrentHsv(hue, 37, 100);
        DrawValueBarSurface();
        int wrong = 0;
        for (int y = 1; y < 99; ++y)
            for (int x = 1; x < 19; ++x)
                wrong += At(g_window.surfaces.valueBar, x, y) != ExpectedHsvPixel(hue, 37, 100 - y);
        EXPECT_EQ(wrong, 0) << "hue " << hue;
    }
}

// ---- Palette ----

COLORREF PaletteTestColor(int i) { return Rgb3(i + 1, 255 - i, (i * 7 + 40) & 0xFF); }

TEST(PaletteSurface, CellsRingsAndGaps)
{
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = PaletteTestColor(i);
    DrawPaletteSurface();
    const Surface& s = g_window.surfaces.palette;
    const COLORREF black = Rgb3(0, 0, 0), white = Rgb3(255, 255, 255);

    // Entry 17 (row 1, column 1): the square (15, 15)..(27, 27).
    for (int t = 15; t <= 27; ++t) {
        EXPECT_EQ(At(s, t, 15), black) << "top ring " << t;
        EXPECT_EQ(At(s, t, 27), black) << "bottom ring " << t;
        EXPECT_EQ(At(s, 15, t), black) << "left ring " << t;
        EXPECT_EQ(At(s, 27, t), black) << "right ring " << t;
        EXPECT_EQ(At(s, 14, t), white) << "gap column 14, " << t;
        EXPECT_EQ(At(s, 28, t), white) << "gap column 28, " << t;
        EXPECT_EQ(At(s, t, 14), white) << "gap row 14, " << t;
        EXPECT_EQ(At(s, t, 28), white) << "gap row 28, " << t;
    }
    for (int y = 16; y <= 26; ++y)
        for (int x = 16; x <= 26; ++x)
            ASSERT_EQ(At(s, x, y), PaletteTestColor(17)) << x << "," << y;

    // Every entry in index order, row-major.
    for (int i = 0; i < kPaletteEntries; ++i) {
        const int left = 1 + 14 * (i % 16), top = 1 + 14 * (i / 16);
        EXPECT_EQ(At(s, left + 6, top + 6), PaletteTestColor(i)) << "entry " << i;
        EXPECT_EQ(At(s, left, top + 6), black) << "entry " << i;
        EXPECT_EQ(At(s, left + 12, top + 6), black) << "entry " << i;
    }
    // The last column's and last row's rings lie right inside the edge.
    EXPECT_EQ(At(s, 223, 50), black);
    EXPECT_EQ(At(s, 100, 111), black);
    EXPECT_EQ(At(s, 223, 56), white);  // the gap row 56 runs up to the edge
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = 0;
}

// ---- Markers ----

struct MarkerCase {
    const char* name;
    int orientation;
    int x, y;
    struct Pixel {
        int dx, dy;
        int what;  // 0 background, 1 highlight, 2 shadow
    } pixels[14];
};

const MarkerCase kMarkers[] = {
    // Apex: first pixel of the light edge; the closing dark edge stops short of it.
    // Base ends: the light edge stops short of the left one, the dark edge starts there.
    // On the slopes: exact points of the light and the dark edge. Then the inside
    // and the pixels just outside the triangle keep the background.
    {"up", MarkerUp, 60, 40,
     {{0, 0, 1}, {-5, 10, 2}, {5, 10, 2}, {0, 10, 2}, {-3, 6, 1}, {3, 6, 2}, {0, 5, 0},
      {0, -1, 0}, {0, 11, 0}, {-6, 10, 0}, {6, 10, 0}, {-6, 9, 0}, {6, 9, 0}, {2, 2, 0}}},
    {"left", MarkerLeft, 40, 100,
     {{0, 0, 1}, {10, -5, 2}, {10, 5, 2}, {10, 0, 2}, {6, -3, 1}, {6, 3, 2}, {5, 0, 0},
      {-1, 0, 0}, {11, 0, 0}, {10, -6, 0}, {10, 6, 0}, {9, -6, 0}, {9, 6, 0}, {2, -2, 0}}},
};

TEST(Marker, HollowTriangleWithLightAndDarkEdges)
{
    const COLORREF background = Rgb3(0, 128, 128);
    const COLORREF colors[] = {background, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
    for (const MarkerCase& m : kMarkers) {
        SCOPED_TRACE(m.name);
        Clear(g_window.surfaces.magnifier, background);
        DrawMarker(g_window.surfaces.magnifier.dc, m.x, m.y, m.orientation);
        for (const auto& p : m.pixels)
            EXPECT_EQ(Hex(At(g_window.surfaces.magnifier, m.x + p.dx, m.y + p.dy)), Hex(colors[p.what]))
                << "offset " << p.dx << "," << p.dy;
        EXPECT_EQ(GetCurrentObject(g_window.surfaces.magnifier.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    }
}

TEST(Marker, OtherOrientationsDrawNothing)
{
    for (int orientation : {2, -1, 7}) {
        Clear(g_window.surfaces.magnifier, Rgb3(0, 128, 128));
        DrawMarker(g_window.surfaces.magnifier.dc, 60, 60, orientation);
        GdiFlush();
        int changed = 0;
        for (int i = 0; i < g_window.surfaces.magnifier.width * g_window.surfaces.magnifier.height; ++i)
            changed += g_window.surfaces.magnifier.pixels[i] != 0x008080u;
        EXPECT_EQ(changed, 0) << "orientation " << orientation;
    }
}

// ---- Shadowed label ----

TEST(ShadowText, HighlightCopyOneDownAndRightThenTextColor)
{
    const COLORREF background = Rgb3(0, 128, 128);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(text, light);
    const Surface& s = g_window.surfaces.magnifier;
    Clear(s, background);
    SetTextColor(s.dc, Rgb3(255, 0, 0));
    {
        SelectGuard font(s.dc, g_window.uiFont);
        DrawShadowText(s.dc, 20, 30, "Hue/Sat \x83\x70\x83\x8C\x83\x62\x83\x67");  // "Hue/Sat パレット"
    }
    EXPECT_EQ(GetTextColor(s.dc), text);
    SetTextColor(s.dc, 0);

    std::vector<POINT> dark, bright;
    int other = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < s.width; ++x) {
            const COLORREF c = At(s, x, y);
            if (c == text)
                dark.push_back({x, y});
            else if (c == light)
                bright.push_back({x, y});
            else if (c != background)
                ++other;
        }
    ASSERT_GT(dark.size(), 20u);
    ASSERT_GT(bright.size(), 20u);
    auto isDark = [&](LONG x, LONG y) { return At(s, x, y) == text; };
    auto isLight = [&](LONG x, LONG y) { return At(s, x, y) == light; };
    LONG darkLeft = 1000, darkTop = 1000, darkRight = 0, darkBottom = 0;
    for (const POINT& p : dark) {
        darkLeft = std::min(darkLeft, p.x);
        darkTop = std::min(darkTop, p.y);
        darkRight = std::max(darkRight, p.x);
        darkBottom = std::max(darkBottom, p.y);
    }
    if (other == 0) {
        // Plain (not smoothed) glyphs: every light pixel has a dark twin up and
        // left, and every dark pixel's lower-right neighbour is light or dark,
        // so the light copy reaches exactly one pixel further right and down.
        LONG lightLeft = 1000, lightTop = 1000, lightRight = 0, lightBottom = 0;
        for (const POINT& p : bright) {
            EXPECT_TRUE(isDark(p.x - 1, p.y - 1)) << p.x << "," << p.y;
            lightLeft = std::min(lightLeft, p.x);
            lightTop = std::min(lightTop, p.y);
            lightRight = std::max(lightRight, p.x);
            lightBottom = std::max(lightBottom, p.y);
        }
        for (const POINT& p : dark)
            EXPECT_TRUE(isDark(p.x + 1, p.y + 1) || isLight(p.x + 1, p.y + 1)) << p.x << "," << p.y;
        EXPECT_EQ(lightRight, darkRight + 1);
        EXPECT_EQ(lightBottom, darkBottom + 1);
        EXPECT_GT(lightLeft, darkLeft);
        EXPECT_GT(lightTop, darkTop);
    }
    EXPECT_GE(darkLeft, 20);
    EXPECT_GE(darkTop, 30);
}

// ---- No GDI object outlives its drawing or stays selected ----

TEST(Hygiene, EveryDrawingPutsBackTheDcsObjects)
{
    SetCurrentRgb(100, 150, 200);
    SetCurrentHsv(210, 50, 78);
    g_reference = g_current;
    for (const DrawnSurface& d : kDrawn) {
        SCOPED_TRACE(d.name);
        const HDC dc = d.surface->dc;
        const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
        d.draw();
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), d.surface->bitmap);
    }
    DrawSunkenEdge(g_window.surfaces.magnifier.dc, 50, 50);
    EXPECT_EQ(GetCurrentObject(g_window.surfaces.magnifier.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
}

// ---- Speed, for the record ----

TEST(Timing, HueSatRedraw)
{
    SetCurrentHsv(0, 0, 100);
    constexpr int kRuns = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        g_current.value = 100 - i % 101;
        DrawHueSatSurface();
    }
    GdiFlush();
    const auto elapsed = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start);
    std::printf("DrawHueSatSurface: %.1f us on average over %d calls\n", elapsed.count() / kRuns, kRuns);
    // The field is the last value's: 100 - 199 % 101 = 2.
    EXPECT_EQ(At(g_window.surfaces.hueSat, 1, 1), ExpectedHsvPixel(2, 99, 2));
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "color/color.h"
#include "color/color_text.h"

namespace {

struct Triple {
    int32_t a, b, c;
};

void SetRgb(Triple rgb)
{
    g_current.red = rgb.a;
    g_current.green = rgb.b;
    g_current.blue = rgb.c;
}

void SetHsv(Triple hsv)
{
    g_current.hue = hsv.a;
    g_current.saturation = hsv.b;
    g_current.value = hsv.c;
}

Triple Rgb3() { return {g_current.red, g_current.green, g_current.blue}; }
Triple Hsv3() { return {g_current.hue, g_current.saturation, g_current.value}; }

bool operator==(Triple x, Triple y) { return x.a == y.a && x.b == y.b && x.c == y.c; }
std::ostream& operator<<(std::ostream& o, Triple t) { return o << "(" << t.a << ", " << t.b << ", " << t.c << ")"; }

class ColorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(&g_current, 0, sizeof g_current);
        g_textForm.HexCase = 0;
    }
    void TearDown() override { g_textForm.HexCase = 0; }
};

struct WorkedExample {
    Triple rgb;
    Triple hsv;
    const char* lower[3];
    const char* upper[3];
    Triple back;
};

const WorkedExample kWorked[] = {
    {{255, 0, 0}, {0, 100, 100}, {"ff", "00", "00"}, {"FF", "00", "00"}, {255, 0, 0}},
    {{128, 128, 128}, {0, 0, 50}, {"80", "80", "80"}, {"80", "80", "80"}, {127, 127, 127}},
    {{18, 52, 86}, {210, 79, 33}, {"12", "34", "56"}, {"12", "34", "56"}, {15, 51, 84}},
    {{255, 0, 255}, {300, 100, 100}, {"ff", "00", "ff"}, {"FF", "00", "FF"}, {255, 0, 255}},
    {{200, 100, 50}, {20, 75, 78}, {"c8", "64", "32"}, {"C8", "64", "32"}, {198, 99, 48}},
    {{1, 0, 0}, {0, 100, 0}, {"01", "00", "00"}, {"01", "00", "00"}, {0, 0, 0}},
    {{255, 254, 254}, {0, 0, 100}, {"ff", "fe", "fe"}, {"FF", "FE", "FE"}, {255, 255, 255}},
};

TEST_F(ColorTest, WorkedExamplesFromRgbAndBack)
{
    for (const WorkedExample& e : kWorked) {
        SCOPED_TRACE(::testing::Message() << "rgb " << e.rgb);
        for (int32_t hexCase = 0; hexCase <= 1; ++hexCase) {
            g_textForm.HexCase = hexCase;
            SetRgb(e.rgb);
            CompleteFromRgb();
            EXPECT_EQ(Hsv3(), e.hsv);
            EXPECT_EQ(Rgb3(), e.rgb) << "channels must stay as they were";
            const char* const* hex = hexCase ? e.upper : e.lower;
            EXPECT_STREQ(g_current.redHex, hex[0]);
            EXPECT_STREQ(g_current.greenHex, hex[1]);
            EXPECT_STREQ(g_current.blueHex, hex[2]);
        }
        CompleteFromHsv();
        EXPECT_EQ(Rgb3(), e.back);
        EXPECT_EQ(Hsv3(), e.hsv) << "hue, saturation and value are not derived again";
    }
}

TEST_F(ColorTest, HsvToRgbResults)
{
    const struct {
        Triple hsv, rgb;
    } cases[] = {
        {{0, 100, 100}, {255, 0, 0}},     {{0, 0, 50}, {127, 127, 127}},   {{30, 100, 100}, {255, 127, 0}},
        {{210, 100, 100}, {0, 127, 255}}, {{359, 100, 100}, {255, 0, 5}},  {{45, 60, 80}, {204, 173, 81}},
        {{359, 1, 1}, {2, 0, 2}},         {{2, 99, 100}, {255, 12, 2}},    {{0, 0, 100}, {255, 255, 255}},
        {{120, 100, 100}, {0, 255, 0}},   {{240, 100, 100}, {0, 0, 255}},  {{300, 100, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SetHsv(c.hsv);
        HsvToRgb();
        EXPECT_EQ(Rgb3(), c.rgb) << "hsv " << c.hsv;
        EXPECT_EQ(Hsv3(), c.hsv) << "HsvToRgb leaves hue, saturation and value";
        const Rgb values = HsvToRgbValues(c.hsv.a, c.hsv.b, c.hsv.c);
        EXPECT_EQ((Triple{values.red, values.green, values.blue}), c.rgb);
    }
}

TEST_F(ColorTest, RgbToHsvTiesAndTruncations)
{
    const struct {
        Triple rgb, hsv;
    } cases[] = {
        {{255, 0, 255}, {300, 100, 100}},  // red beats blue for the maximum, then wraps
        {{0, 255, 255}, {180, 100, 100}},  // green beats blue
        {{255, 255, 0}, {60, 100, 100}},   // red beats green
        {{255, 255, 255}, {0, 0, 100}},
        {{0, 0, 0}, {0, 0, 0}},
        {{254, 254, 254}, {0, 0, 99}},
        {{2, 0, 2}, {300, 100, 0}},
        {{237, 203, 169}, {30, 28, 92}},
        {{0, 51, 102}, {210, 100, 40}},
        {{255, 0, 5}, {358, 100, 100}},    // hue 359 does not come back exactly
    };
    for (const auto& c : cases) {
        SetRgb(c.rgb);
        g_current.hue = g_current.saturation = g_current.value = -1;
        RgbToHsv();
        EXPECT_EQ(Hsv3(), c.hsv) << "rgb " << c.rgb;
        EXPECT_EQ(Rgb3(), c.rgb);
    }
}

TEST_F(ColorTest, RoundTripsStayCloseAndInRange)
{
    // Every RGB color of a coarse lattice: RGB -> HSV -> RGB loses at most the
    // truncations, and the results are always in range.
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 15)
            for (int b = 0; b <= 255; b += 15) {
                SetRgb({r, g, b});
                RgbToHsv();
                ASSERT_GE(g_current.hue, 0);
                ASSERT_LE(g_current.hue, 359);
                ASSERT_LE(g_current.saturation, 100);
                ASSERT_LE(g_current.value, 100);
                HsvToRgb();
                EXPECT_NEAR(g_current.red, r, 12) << r << "," << g << "," << b;
                EXPECT_NEAR(g_current.green, g, 12) << r << "," << g << "," << b;
                EXPECT_NEAR(g_current.blue, b, 12) << r << "," << g << "," << b;
            }
    // Every hue at full saturation and value converts back to itself within one degree per step.
    for (int h = 0; h < 360; ++h) {
        SetHsv({h, 100, 100});
        HsvToRgb();
        RgbToHsv();
        EXPECT_NEAR(g_current.hue, h, 2) << "hue " << h;
        EXPECT_EQ(g_current.saturation, 100);
        EXPECT_EQ(g_current.value, 100);
    }
}

TEST_F(ColorTest, CompleteFromHsvKeepsTheHsvThatWasSet)
{
    SetHsv({359, 1, 1});
    std::strcpy(g_current.redHex, "zz");
    CompleteFromHsv();
    EXPECT_EQ(Rgb3(), (Triple{2, 0, 2}));
    EXPECT_EQ(Hsv3(), (Triple{359, 1, 1}));
    EXPECT_STREQ(g_current.redHex, "02");
    EXPECT_STREQ(g_current.greenHex, "00");
    EXPECT_STREQ(g_current.blueHex, "02");
}

TEST_F(ColorTest, FormatHexByCase)
{
    const struct {
        int32_t hexCase, value;
        const char* text;
    } cases[] = {
        {0, 0, "00"}, {0, 10, "0a"}, {0, 15, "0f"}, {0, 16, "10"}, {0, 171, "ab"}, {0, 255, "ff"},
        {1, 10, "0A"}, {1, 171, "AB"}, {1, 255, "FF"}, {2, 10, ""},   {-1, 171, ""},  {7, 0, ""},
        {1, 15, "0F"}, {1, 16, "10"}, {1, 0, "00"},  // the one-digit boundary in upper case
    };
    for (const auto& c : cases) {
        g_textForm.HexCase = c.hexCase;
        char text[3] = {'x', 'x', 'x'};
        FormatHex(c.value, text, sizeof text);
        EXPECT_EQ(std::string(text, strnlen(text, sizeof text)), c.text) << "case " << c.hexCase << " value " << c.value;
        EXPECT_EQ(text[2], '\0');
    }
}

TEST_F(ColorTest, FormatHexNeverWritesPastItsBuffer)
{
    // Channels outside 0..255 cannot reach FormatHex from the program, but if one
    // did, the text stays within its three bytes.
    for (int32_t value : {256, 4095, 65536, -1, -16, 0x7FFFFFFF}) {
        char guard[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
        FormatHex(value, guard, 3);
        EXPECT_EQ(guard[2], '\0');
        EXPECT_EQ(guard[3], 'x') << value;
    }
}

TEST_F(ColorTest, ParseHexTexts)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},    {"9", 9},    {"0", 0},    {"a", 10},   {"F", 15},    {"g", 0},     {" ", 0},
        {"-", 0},   {"ff", 255}, {"Ff", 255}, {"0a", 10},  {"a0", 160},  {"7F", 127},  {"1g", 16},
        {"g1", 1},  {"zz", 0},   {"fff", 255}, {"12z", 18}, {"\x82\xa0", 0}, {"\x82", 0}, {"-1", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHex(c.text), c.value) << "'" << c.text << "'";
}

TEST_F(ColorTest, ColorRefTakesTheLowBytes)
{
    const struct {
        Triple rgb;
        uint32_t ref;
    } cases[] = {
        {{255, 255, 255}, 16777215u}, {{255, 0, 0}, 255u}, {{0, 0, 255}, 16711680u},
        {{18, 52, 86}, 5649426u},     {{0, 0, 0}, 0u},     {{256, 0, 0}, 0u},
    };
    for (const auto& c : cases) {
        SetRgb(c.rgb);
        EXPECT_EQ(ColorRefOf(g_current), c.ref) << c.rgb;
    }
}

}  // namespace


namespace {

struct CopyTextCase {
    int32_t format, sharp, hexCase;
    Triple rgb;
    const char* greenHexOverride;  // what the user typed into G16, or null
    const char* text;
};

TEST(CopyText, FormsOfTheCurrentColor)
{
    const CopyTextCase cases[] = {
        {0, 1, 0, {18, 52, 86}, nullptr, "#123456"},
        {0, 0, 0, {18, 52, 86}, nullptr, "123456"},
        {0, 1, 0, {255, 255, 255}, nullptr, "#ffffff"},
        {0, 1, 1, {255, 255, 255}, nullptr, "#FFFFFF"},
        {0, 0, 0, {255, 255, 255}, nullptr, "ffffff"},
        {0, 5, 0, {171, 0, 10}, nullptr, "#ab000a"},
        {0, 1, 0, {18, 52, 86}, "", "#1256"},
        {0, 1, 0, {18, 52, 86}, "F", "#12F56"},
        {0, 1, 2, {18, 52, 86}, nullptr, "#"},
        {0, 0, 2, {18, 52, 86}, nullptr, ""},
        {1, 1, 0, {18, 52, 86}, nullptr, "RGB( 18, 52, 86 )"},
        {1, 0, 1, {255, 255, 255}, nullptr, "RGB( 255, 255, 255 )"},
        {1, 1, 0, {0, 0, 0}, nullptr, "RGB( 0, 0, 0 )"},
        {2, 1, 0, {255, 255, 255}, nullptr, "16777215"},
        {2, 0, 1, {0, 0, 0}, nullptr, "0"},
        {2, 1, 0, {18, 52, 86}, nullptr, "5649426"},
        {2, 1, 0, {0, 0, 255}, nullptr, "16711680"},
        {3, 1, 1, {18, 52, 86}, nullptr, "rgb(18 52 86)"},
        {3, 0, 0, {255, 255, 255}, nullptr, "rgb(255 255 255)"},
        {3, 1, 0, {18, 52, 86}, "", "rgb(18 52 86)"},
        {4, 1, 1, {18, 52, 86}, nullptr, "hsl(210 65% 20%)"},
        {4, 0, 0, {255, 0, 0}, nullptr, "hsl(0 100% 50%)"},
        {4, 1, 0, {128, 128, 128}, nullptr, "hsl(0 0% 50%)"},
        {5, 1, 0, {18, 52, 86}, nullptr, ""},
        {-1, 1, 0, {18, 52, 86}, nullptr, ""},
    };
    for (const CopyTextCase& c : cases) {
        g_textForm.CopyFormat = c.format;
        g_textForm.SharpPrefix = c.sharp;
        g_textForm.HexCase = c.hexCase;
        SetRgb(c.rgb);
        CompleteFromRgb();
        if (c.greenHexOverride)
            std::strcpy(g_current.greenHex, c.greenHexOverride);
        char text[kCopyTextSize];
        std::memset(text, 'x', sizeof text);
        FormatCopyText(text, sizeof text);
        EXPECT_STREQ(text, c.text) << "format " << c.format << " sharp " << c.sharp << " case " << c.hexCase;
        EXPECT_EQ(text[sizeof text - 1], '\0');
    }
    g_textForm.CopyFormat = 0;
    g_textForm.SharpPrefix = 1;
    g_textForm.HexCase = 0;
}

}  // namespace


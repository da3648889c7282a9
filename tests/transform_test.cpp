// The one-step transforms of the current color on plain numbers: web-safe
// snapping, grayscale, inversion, lighter and darker, and taking a COLORREF.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "color/color.h"
#include "color/transforms.h"
#include "color/color_text.h"

namespace {

struct Expected {
    int32_t red, green, blue;
    const char* redHex;
    const char* greenHex;
    const char* blueHex;
    int32_t hue, saturation, value;
};

void ExpectCurrent(const Expected& e)
{
    EXPECT_EQ(g_current.red, e.red);
    EXPECT_EQ(g_current.green, e.green);
    EXPECT_EQ(g_current.blue, e.blue);
    EXPECT_STREQ(g_current.redHex, e.redHex);
    EXPECT_STREQ(g_current.greenHex, e.greenHex);
    EXPECT_STREQ(g_current.blueHex, e.blueHex);
    EXPECT_EQ(g_current.hue, e.hue);
    EXPECT_EQ(g_current.saturation, e.saturation);
    EXPECT_EQ(g_current.value, e.value);
}

// The current color as a palette pick leaves it: channels, hex texts, hue/saturation/value.
void SetCurrent(int32_t r, int32_t g, int32_t b)
{
    g_current.red = r;
    g_current.green = g;
    g_current.blue = b;
    CompleteFromRgb();
}

class Transform : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_textForm.HexCase = 0;
        std::memset(&g_current, 0, sizeof g_current);
        std::memset(&g_reference, 0x5A, sizeof g_reference);
        reference_ = g_reference;
    }
    // Only app/transforms.h commits; these steps never touch the reference color.
    void TearDown() override { EXPECT_EQ(std::memcmp(&reference_, &g_reference, sizeof g_reference), 0); }

    ColorState reference_;
};

TEST(WebSafeLevel, ThresholdsOfEveryLevel)
{
    const struct {
        int32_t channel, level;
    } cases[] = {
        {0, 0},     {25, 0},    {26, 51},   {51, 51},   {76, 51},   {77, 102},  {127, 102},
        {128, 153}, {178, 153}, {179, 204}, {229, 204}, {230, 255}, {254, 255}, {255, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebSafeLevel(c.channel), c.level) << c.channel;
}

TEST(WebSafeLevel, EveryChannelGoesToTheNearestMultipleOf51)
{
    for (int32_t x = 0; x <= 255; ++x) {
        const int32_t level = WebSafeLevel(x);
        EXPECT_EQ(level % 51, 0) << x;
        const int32_t distance = level > x ? level - x : x - level;
        EXPECT_LE(distance, 25) << x;
    }
}

TEST(GrayLevel, LumaWeights)
{
    const struct {
        int32_t r, g, b, gray;
    } cases[] = {
        {255, 0, 0, 76}, {0, 255, 0, 150}, {0, 0, 255, 27}, {255, 255, 255, 255}, {128, 128, 128, 128},
        {18, 52, 86, 45}, {0, 0, 0, 0},     {1, 1, 1, 1},     {200, 100, 50, 124},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GrayLevel(c.r, c.g, c.b), c.gray) << c.r << ", " << c.g << ", " << c.b;
}

TEST(GrayLevel, AnyGreyStaysItself)
{
    for (int32_t v = 0; v <= 255; ++v)
        EXPECT_EQ(GrayLevel(v, v, v), v);
}

TEST_F(Transform, WebSafeSnapsTheChannelsAndDerivesTheRest)
{
    const struct {
        int32_t r, g, b;
        Expected result;
    } cases[] = {
        {18, 52, 86, {0, 51, 102, "00", "33", "66", 210, 100, 40}},
        {25, 26, 76, {0, 51, 51, "00", "33", "33", 180, 100, 20}},
        {77, 229, 230, {102, 204, 255, "66", "cc", "ff", 200, 60, 100}},
        {255, 254, 128, {255, 255, 153, "ff", "ff", "99", 60, 40, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.r);
        SetCurrent(c.r, c.g, c.b);
        ApplyWebSafe();
        ExpectCurrent(c.result);
    }
}

TEST_F(Transform, GrayscaleLeavesHueAndSaturationZero)
{
    const struct {
        int32_t r, g, b;
        Expected result;
    } cases[] = {
        {255, 0, 0, {76, 76, 76, "4c", "4c", "4c", 0, 0, 29}},
        {0, 255, 0, {150, 150, 150, "96", "96", "96", 0, 0, 58}},
        {0, 0, 255, {27, 27, 27, "1b", "1b", "1b", 0, 0, 10}},
        {255, 255, 255, {255, 255, 255, "ff", "ff", "ff", 0, 0, 100}},
        {128, 128, 128, {128, 128, 128, "80", "80", "80", 0, 0, 50}},
        {18, 52, 86, {45, 45, 45, "2d", "2d", "2d", 0, 0, 17}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.r);
        SetCurrent(c.r, c.g, c.b);
        ApplyGrayscale();
        ExpectCurrent(c.result);
    }
}

TEST_F(Transform, InvertTurnsEachChannelOver)
{
    SetCurrent(18, 52, 86);
    ApplyInversion();
    ExpectCurrent({237, 203, 169, "ed", "cb", "a9", 30, 28, 92});
    g_textForm.HexCase = 1;
    ApplyInversion();
    ExpectCurrent({18, 52, 86, "12", "34", "56", 210, 79, 33});
    ApplyInversion();
    ExpectCurrent({237, 203, 169, "ED", "CB", "A9", 30, 28, 92});
}

TEST_F(Transform, InvertTwiceRestoresEveryColor)
{
    for (int32_t r = 0; r <= 255; r += 15)
        for (int32_t g = 0; g <= 255; g += 17)
            for (int32_t b = 0; b <= 255; b += 51) {
                SetCurrent(r, g, b);
                const ColorState before = g_current;
                ApplyInversion();
                EXPECT_EQ(g_current.red + r, 255);
                ApplyInversion();
                ASSERT_EQ(std::memcmp(&before, &g_current, sizeof before), 0) << r << ", " << g << ", " << b;
            }
}

TEST_F(Transform, LighterAndDarkerMoveOnlyTheValue)
{
    const struct {
        void (*step)();
        int times;
        Expected result;
    } cases[] = {
        {ApplyLighter, 1, {17, 51, 86, "11", "33", "56", 210, 79, 34}},
        {ApplyDarker, 1, {15, 48, 81, "0f", "30", "51", 210, 79, 32}},
        {ApplyLighter, 3, {17, 53, 91, "11", "35", "5b", 210, 79, 36}},
        {ApplyDarker, 2, {15, 45, 79, "0f", "2d", "4f", 210, 79, 31}},
        {ApplyDarker, 40, {0, 0, 0, "00", "00", "00", 210, 79, 0}},
        {ApplyLighter, 80, {53, 155, 255, "35", "9b", "ff", 210, 79, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.times);
        SetCurrent(18, 52, 86);  // hue 210, saturation 79, value 33
        for (int i = 0; i < c.times; ++i)
            c.step();
        ExpectCurrent(c.result);
    }
}

TEST_F(Transform, AtTheirLimitsLighterAndDarkerStillRebuildTheChannels)
{
    SetCurrent(254, 255, 255);  // value 100 already
    ApplyLighter();
    ExpectCurrent({255, 255, 255, "ff", "ff", "ff", 0, 0, 100});

    SetCurrent(1, 0, 0);  // value 0, saturation 100
    ApplyDarker();
    ExpectCurrent({0, 0, 0, "00", "00", "00", 0, 100, 0});

    // A typed hue/saturation/value state that RgbToHsv would not give back.
    g_current.hue = 359;
    g_current.saturation = 1;
    g_current.value = 0;
    ApplyLighter();
    ExpectCurrent({2, 0, 2, "02", "00", "02", 359, 1, 1});
}

TEST_F(Transform, ColorRefTakesItsThreeLowBytes)
{
    const struct {
        uint32_t color;
        Expected result;
    } cases[] = {
        {0x00563412u, {18, 52, 86, "12", "34", "56", 210, 79, 33}},
        {0xFF563412u, {18, 52, 86, "12", "34", "56", 210, 79, 33}},
        {0x000000FFu, {255, 0, 0, "ff", "00", "00", 0, 100, 100}},
        {0x00FFFFFFu, {255, 255, 255, "ff", "ff", "ff", 0, 0, 100}},
        {0x00000000u, {0, 0, 0, "00", "00", "00", 0, 0, 0}},
        {0x003264C8u, {200, 100, 50, "c8", "64", "32", 20, 75, 78}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.color);
        SetCurrent(1, 2, 3);
        std::strcpy(g_current.redHex, "g");  // as typed into R16
        SetFromColorRef(c.color);
        ExpectCurrent(c.result);
    }
}

TEST_F(Transform, TypedHexTextIsReplacedByTheFormattedOne)
{
    const struct {
        const char* what;
        void (*apply)();
    } transforms[] = {
        {"web-safe", ApplyWebSafe}, {"grayscale", ApplyGrayscale}, {"invert", ApplyInversion},
        {"lighter", ApplyLighter},  {"darker", ApplyDarker},
    };
    for (const auto& t : transforms) {
        SCOPED_TRACE(t.what);
        SetCurrent(255, 52, 86);
        std::strcpy(g_current.redHex, "F");  // typed, not yet formatted
        t.apply();
        EXPECT_EQ(std::strlen(g_current.redHex), 2u);
        char formatted[3];
        FormatHex(g_current.red, formatted, sizeof formatted);
        EXPECT_STREQ(g_current.redHex, formatted);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "color/css_text.h"

namespace {

struct CssCase {
    Rgb color;
    const char* rgb;
    const char* hsl;
};

TEST(CssText, PublishedExamplesAndRounding)
{
    const CssCase cases[] = {
        // CSS Color 4's examples: red, lime, dark green, light green, blue, yellow.
        {{255, 0, 0}, "rgb(255 0 0)", "hsl(0 100% 50%)"},       {{0, 255, 0}, "rgb(0 255 0)", "hsl(120 100% 50%)"},
        {{0, 128, 0}, "rgb(0 128 0)", "hsl(120 100% 25%)"},     {{128, 255, 128}, "rgb(128 255 128)", "hsl(120 100% 75%)"},
        {{0, 0, 255}, "rgb(0 0 255)", "hsl(240 100% 50%)"},     {{255, 255, 0}, "rgb(255 255 0)", "hsl(60 100% 50%)"},
        // Its pastel green hsl(120 75% 85%) is (188, 245, 188) in 8 bits, which is 74% saturated.
        {{188, 245, 188}, "rgb(188 245 188)", "hsl(120 74% 85%)"},
        {{38, 120, 200}, "rgb(38 120 200)", "hsl(210 68% 47%)"},
        {{0, 0, 0}, "rgb(0 0 0)", "hsl(0 0% 0%)"},              {{255, 255, 255}, "rgb(255 255 255)", "hsl(0 0% 100%)"},
        {{128, 128, 128}, "rgb(128 128 128)", "hsl(0 0% 50%)"},
        {{255, 0, 1}, "rgb(255 0 1)", "hsl(0 100% 50%)"},       // hue 359.76 rounds to 360, which is 0
        {{200, 81, 80}, "rgb(200 81 80)", "hsl(1 52% 55%)"},    // hue 0.5 rounds up
        {{18, 14, 14}, "rgb(18 14 14)", "hsl(0 13% 6%)"},       // saturation 12.5% rounds up
        {{-1, 256, 0}, "rgb(0 255 0)", "hsl(120 100% 50%)"},    // out of range: the nearest end
    };
    for (const CssCase& c : cases) {
        char text[kCssTextSize];
        std::memset(text, 'x', sizeof text);
        FormatCssRgb(c.color, text, sizeof text);
        EXPECT_STREQ(text, c.rgb);
        std::memset(text, 'x', sizeof text);
        FormatCssHsl(c.color, text, sizeof text);
        EXPECT_STREQ(text, c.hsl);
        EXPECT_EQ(text[sizeof text - 1], '\0');
    }
    char small[6];
    FormatCssHsl({255, 255, 255}, small, sizeof small);
    EXPECT_STREQ(small, "hsl(0");
}

// CSS Color 4's floating-point conversion, rounded to whole units. A value
// within 1e-9 of a half is a true half (every quotient here has a denominator
// of at most 510), and halves go up; `halves` counts them.
Hsl FloatingHsl(Rgb c, int32_t& halves)
{
    const double r = c.red / 255.0, g = c.green / 255.0, b = c.blue / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min, l = (max + min) / 2;
    double h = 0, s = 0;
    if (d > 0) {
        s = (max - l) / std::min(l, 1 - l);
        h = 60 * (max == r ? (g - b) / d + (g < b ? 6 : 0) : max == g ? (b - r) / d + 2 : (r - g) / d + 4);
    }
    auto whole = [&halves](double x) {
        const bool half = std::fabs(x - std::floor(x) - 0.5) < 1e-9;
        halves += half;
        return static_cast<int32_t>(half ? std::ceil(x) : std::floor(x + 0.5));
    };
    const int32_t hue = whole(h);
    return {hue == 360 ? 0 : hue, whole(s * 100), whole(l * 100)};
}

TEST(CssText, HslAgreesWithFloatingPointOnEveryColor)
{
    int32_t halves = 0;
    for (int32_t rgb = 0; rgb < (1 << 24); ++rgb) {
        const Rgb c{rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF};
        const Hsl expected = FloatingHsl(c, halves), got = RgbToHsl(c);
        ASSERT_TRUE(got.hue == expected.hue && got.saturation == expected.saturation &&
                    got.lightness == expected.lightness)
            << c.red << "," << c.green << "," << c.blue << ": " << got.hue << " " << got.saturation << " "
            << got.lightness << " expected " << expected.hue << " " << expected.saturation << " " << expected.lightness;
    }
    EXPECT_GT(halves, 1000) << "the halves were reached";
}

}  // namespace

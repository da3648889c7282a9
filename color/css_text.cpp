#include "color/css_text.h"

#include <cstdio>
#include <cstring>

namespace {

// numerator / denominator rounded to the nearest whole number, halves up;
// both non-negative, the denominator above 0.
int32_t RoundedQuotient(int32_t numerator, int32_t denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

// The hue in degrees times delta: 0 up to (not including) 360 * delta.
int32_t HueTimesDelta(int32_t r, int32_t g, int32_t b, int32_t max, int32_t delta)
{
    if (r == max) {
        const int32_t h = 60 * (g - b);
        return h < 0 ? h + 360 * delta : h;
    }
    if (g == max)
        return 60 * (b - r) + 120 * delta;
    return 60 * (r - g) + 240 * delta;
}

}  // namespace

Hsl RgbToHsl(Rgb color)
{
    const int32_t r = ClampChannel(color.red);
    const int32_t g = ClampChannel(color.green);
    const int32_t b = ClampChannel(color.blue);
    const int32_t max = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int32_t min = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int32_t sum = max + min;    // lightness = sum / 510
    const int32_t delta = max - min;  // chroma = delta / 255
    Hsl hsl{0, 0, RoundedQuotient(100 * sum, 510)};
    if (delta == 0)
        return hsl;
    // saturation = chroma / (1 - |2 lightness - 1|) = delta / (255 - |sum - 255|)
    const int32_t room = sum <= 255 ? sum : 510 - sum;
    hsl.saturation = RoundedQuotient(100 * delta, room);
    const int32_t hue = RoundedQuotient(HueTimesDelta(r, g, b, max, delta), delta);
    hsl.hue = hue == 360 ? 0 : hue;
    return hsl;
}

void FormatCssRgb(Rgb color, char* text, size_t size)
{
    std::memset(text, 0, size);
    if (size == 0)
        return;
    std::snprintf(text, size, "rgb(%d %d %d)", static_cast<int>(ClampChannel(color.red)),
                  static_cast<int>(ClampChannel(color.green)), static_cast<int>(ClampChannel(color.blue)));
}

void FormatCssHsl(Rgb color, char* text, size_t size)
{
    std::memset(text, 0, size);
    if (size == 0)
        return;
    const Hsl hsl = RgbToHsl(color);
    std::snprintf(text, size, "hsl(%d %d%% %d%%)", static_cast<int>(hsl.hue), static_cast<int>(hsl.saturation),
                  static_cast<int>(hsl.lightness));
}

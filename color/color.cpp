#include "color/color.h"

#include <cstdio>
#include <cstring>

#include "color/color_text.h"

ColorState g_current;
ColorState g_reference;

void RgbToHsv()
{
    const int32_t r = g_current.red;
    const int32_t g = g_current.green;
    const int32_t b = g_current.blue;

    // The comparisons fix which channel is read on ties.
    int32_t max;
    int32_t min;
    if (r > g) {
        max = r > b ? r : b;
        min = g >= b ? b : g;
    } else {
        max = g > b ? g : b;
        min = r >= b ? b : r;
    }

    g_current.value = (max * 100) / 255;
    if (max == 0) {
        g_current.saturation = 0;
        g_current.hue = 0;
        return;
    }
    const int32_t delta = max - min;
    g_current.saturation = (delta * 100) / max;
    if (g_current.saturation == 0) {
        g_current.hue = 0;
        return;
    }
    const int32_t rc = ((max - r) * 60) / delta;
    const int32_t gc = ((max - g) * 60) / delta;
    const int32_t bc = ((max - b) * 60) / delta;
    int32_t hue;
    if (r == max)
        hue = bc - gc;  // red wins a tie for the maximum, then green
    else if (g == max)
        hue = rc - bc + 120;
    else
        hue = gc - rc + 240;
    if (hue < 0)
        hue += 360;
    g_current.hue = hue;
}

static int32_t PercentToChannel(int32_t percent)
{
    return ClampChannel((percent * 255) / 100);
}

Rgb HsvToPercents(int32_t hue, int32_t saturation, int32_t value)
{
    const int32_t s = saturation;
    const int32_t v = value;
    if (s == 0)
        return Rgb{v, v, v};
    // Unsigned division, as the sector and the offset within it are defined on it.
    const uint32_t scaled = static_cast<uint32_t>(hue) * 6u;
    const uint32_t sector = scaled / 360u;
    const int32_t f = static_cast<int32_t>(scaled % 360u);

    const int32_t p = ((100 - s) * v) / 100;
    const int32_t q = ((100 - (s * f) / 360) * v) / 100;
    const int32_t t = ((100 - (s * (360 - f)) / 360) * v) / 100;

    switch (sector) {
    case 0: return Rgb{v, t, p};
    case 1: return Rgb{q, v, p};
    case 2: return Rgb{p, v, t};
    case 3: return Rgb{p, q, v};
    case 4: return Rgb{t, p, v};
    default: return Rgb{v, p, q};
    }
}

Rgb HsvToRgbValues(int32_t hue, int32_t saturation, int32_t value)
{
    if (saturation == 0) {
        const int32_t grey = (value * 255) / 100;
        return Rgb{grey, grey, grey};
    }
    const Rgb percent = HsvToPercents(hue, saturation, value);
    return Rgb{PercentToChannel(percent.red), PercentToChannel(percent.green), PercentToChannel(percent.blue)};
}

void HsvToRgb()
{
    const Rgb rgb = HsvToRgbValues(g_current.hue, g_current.saturation, g_current.value);
    g_current.red = rgb.red;
    g_current.green = rgb.green;
    g_current.blue = rgb.blue;
}

void FormatHex(int32_t value, char* text, size_t size)
{
    std::memset(text, 0, size);
    const char* format;
    if (g_textForm.HexCase == 0)
        format = value < 16 ? "0%x" : "%x";
    else if (g_textForm.HexCase == 1)
        format = value < 16 ? "0%X" : "%X";
    else
        return;
    // Callers pass channels in 0..255; the buffer bound keeps any other value safe.
    std::snprintf(text, size, format, static_cast<unsigned>(value));
}

static int32_t HexDigitValue(char c)
{
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= '0' && c <= '9')
        return c - '0';
    return 0;
}

int32_t ParseHex(const char* text)
{
    const size_t length = std::strlen(text);
    int32_t result;
    if (length == 0) {
        result = 0;
    } else if (length == 1) {
        // One character: a hex letter, else the decimal reading of a one-character
        // text, which is the digit's value or 0 for anything that is not a digit.
        result = HexDigitValue(text[0]);
    } else {
        result = 16 * HexDigitValue(text[0]) + HexDigitValue(text[1]);
    }
    return ClampChannel(result);
}

void FormatHexTexts()
{
    FormatHex(g_current.red, g_current.redHex, sizeof g_current.redHex);
    FormatHex(g_current.green, g_current.greenHex, sizeof g_current.greenHex);
    FormatHex(g_current.blue, g_current.blueHex, sizeof g_current.blueHex);
}

void CompleteFromRgb()
{
    FormatHexTexts();
    RgbToHsv();
}

void CompleteFromHsv()
{
    HsvToRgb();
    FormatHexTexts();
}

void SetFromColorRef(uint32_t color)
{
    g_current.red = static_cast<int32_t>(color & 0xFFu);
    g_current.green = static_cast<int32_t>((color >> 8) & 0xFFu);
    g_current.blue = static_cast<int32_t>((color >> 16) & 0xFFu);
    CompleteFromRgb();
}

#include "color/color_text.h"

#include <cstdio>
#include <cstring>

#include "color/css_text.h"

TextForm g_textForm = kDefaultTextForm;

static_assert(kCssTextSize <= kCopyTextSize, "the CSS texts fit the copy text");

namespace {

void FormatColorText(const ColorState& c, char* text, size_t size)
{
    std::memset(text, 0, size);
    const Rgb rgb = {c.red, c.green, c.blue};
    switch (g_textForm.CopyFormat) {
    case 0:
        // The hex texts as stored: right after typing into a hex edit they hold
        // exactly what was typed, in its case and length.
        std::snprintf(text, size, g_textForm.SharpPrefix != 0 ? "#%s%s%s" : "%s%s%s", c.redHex, c.greenHex,
                      c.blueHex);
        break;
    case 1:
        std::snprintf(text, size, "RGB( %d, %d, %d )", static_cast<int>(c.red), static_cast<int>(c.green),
                      static_cast<int>(c.blue));
        break;
    case 2: std::snprintf(text, size, "%d", static_cast<int>(ColorRefOf(c))); break;
    case 3: FormatCssRgb(rgb, text, size); break;
    case 4: FormatCssHsl(rgb, text, size); break;
    default: break;
    }
}

}  // namespace

void FormatCopyText(char* text, size_t size)
{
    FormatColorText(g_current, text, size);
}

void FormatColorRefText(uint32_t color, char* text, size_t size)
{
    ColorState c = {};
    c.red = static_cast<int32_t>(color & 0xFFu);
    c.green = static_cast<int32_t>((color >> 8) & 0xFFu);
    c.blue = static_cast<int32_t>((color >> 16) & 0xFFu);
    FormatHex(c.red, c.redHex, sizeof c.redHex);
    FormatHex(c.green, c.greenHex, sizeof c.greenHex);
    FormatHex(c.blue, c.blueHex, sizeof c.blueHex);
    FormatColorText(c, text, size);
}

#include "color/color_text.h"

#include <cstdio>
#include <cstring>

#include "color/color.h"

TextForm g_textForm = kDefaultTextForm;

void FormatCopyText(char* text, size_t size)
{
    std::memset(text, 0, size);
    switch (g_textForm.CopyFormat) {
    case 0:
        // The hex texts as stored: right after typing into a hex edit they hold
        // exactly what was typed, in its case and length.
        std::snprintf(text, size, g_textForm.SharpPrefix != 0 ? "#%s%s%s" : "%s%s%s", g_current.redHex,
                      g_current.greenHex, g_current.blueHex);
        break;
    case 1:
        std::snprintf(text, size, "RGB( %d, %d, %d )", static_cast<int>(g_current.red),
                      static_cast<int>(g_current.green), static_cast<int>(g_current.blue));
        break;
    case 2:
        std::snprintf(text, size, "%d", static_cast<int>(ColorRefOf(g_current)));
        break;
    default:
        break;
    }
}

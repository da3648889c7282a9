// Writes the factory palette "palini.dll": a grey ramp from white to black on
// the top row, then sixteen hues in seven rows running from pale tints through
// the pure colors to deep shades. Usage: mkpalette OUTPUT
#include <cstdio>

#include "color/color.h"
#include "store/palette_data.h"

namespace {

struct Tone {
    int saturation;
    int value;
};

// Rows 1 to 7, top to bottom.
const Tone kTones[kPaletteRows - 1] = {
    {20, 100}, {45, 100}, {75, 100}, {100, 100}, {100, 80}, {100, 60}, {100, 40},
};

uint32_t ColorRef(const Rgb& c)
{
    return static_cast<uint32_t>(c.red) | (static_cast<uint32_t>(c.green) << 8) |
           (static_cast<uint32_t>(c.blue) << 16);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkpalette OUTPUT\n");
        return 2;
    }
    PaletteEntries palette = {};
    for (int column = 0; column < kPaletteColumns; ++column) {
        const int32_t level = 255 - 17 * column;
        palette[column] = ColorRef(Rgb{level, level, level});
    }
    for (int row = 1; row < kPaletteRows; ++row) {
        for (int column = 0; column < kPaletteColumns; ++column) {
            const int32_t hue = column * 360 / kPaletteColumns;
            const Tone& tone = kTones[row - 1];
            palette[row * kPaletteColumns + column] = ColorRef(HsvToRgbValues(hue, tone.saturation, tone.value));
        }
    }
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(bytes, 1, sizeof bytes, out) != sizeof bytes || std::fclose(out) != 0) {
        std::fprintf(stderr, "mkpalette: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

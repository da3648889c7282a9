// One palette format's reader on any bytes (the format is FUZZ_FORMAT, one
// target per format): a reading is whole or refused, applying it changes
// exactly the swatches it names, and parse -> write -> parse gives back the
// same 128 colours, written the same way again. A .tbp reading is checked
// against ApplyPaletteBytes, the platform-file path's own reading.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "store/palette_formats.h"

#ifndef FUZZ_FORMAT
#error "FUZZ_FORMAT names the format under test"
#endif

namespace {

constexpr PaletteFormat kFormat = static_cast<PaletteFormat>(FUZZ_FORMAT);

void CheckRead(const PaletteRead& read)
{
    if (read.error != PaletteError::None) {
        FUZZ_CHECK(read.colors.empty() && read.total == 0 && read.partialBytes == 0);
        return;
    }
    FUZZ_CHECK(read.total >= 1);
    FUZZ_CHECK(read.colors.size() == (read.total < 128 ? read.total : 128));
    for (uint32_t color : read.colors)
        FUZZ_CHECK(color <= 0x00FFFFFFu);
    FUZZ_CHECK(read.partialBytes < 4);
    FUZZ_CHECK(kFormat == PaletteFormat::Tbp || read.partialBytes == 0);
}

// A palette with a nonzero fourth byte in every entry, which a reading must clear where it writes.
void Fill(uint32_t (&palette)[kPaletteEntries])
{
    for (uint32_t i = 0; i < kPaletteEntries; ++i)
        palette[i] = 0x7F000000u | (i * 0x010305u + 0x203040u) % 0x01000000u;
}

void CheckApply(const PaletteRead& read, const uint8_t* data, size_t size, uint32_t (&palette)[kPaletteEntries])
{
    uint32_t before[kPaletteEntries];
    Fill(palette);
    std::memcpy(before, palette, sizeof before);
    FUZZ_CHECK(ApplyPaletteRead(read, palette) == (read.error == PaletteError::None));
    for (size_t i = 0; i < kPaletteEntries; ++i) {
        if (i >= read.colors.size())
            FUZZ_CHECK(palette[i] == before[i]);
        else if (i + 1 < read.colors.size() || read.partialBytes == 0)
            FUZZ_CHECK(palette[i] == read.colors[i]);
    }
    if (kFormat == PaletteFormat::Tbp && read.error == PaletteError::None) {
        Fill(Palette);
        ApplyPaletteBytes(Palette, data, size);
        FUZZ_CHECK(std::memcmp(Palette, palette, sizeof palette) == 0);
    }
}

// A palette name from the input's first bytes taken as UTF-16: control
// characters, lone surrogates and all.
std::u16string NameOf(const uint8_t* data, size_t size)
{
    std::u16string name;
    for (size_t i = 0; i + 1 < size && i < 64; i += 2)
        name += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    return name;
}

void CheckRoundTrip(const uint32_t (&palette)[kPaletteEntries], const std::u16string& name)
{
    const std::vector<uint8_t> file = WritePaletteFormat(kFormat, palette, name);
    const std::string fileName = std::string("C:\\fuzz\\palette") + PaletteFormatExtension(kFormat);
    FUZZ_CHECK(DetectPaletteFormat(fileName, file.data(), file.size()) == kFormat);
    const PaletteRead again = ReadPaletteFormat(kFormat, file.data(), file.size());
    FUZZ_CHECK(again.error == PaletteError::None && again.total == kPaletteEntries);
    uint32_t back[kPaletteEntries];
    std::memcpy(back, palette, sizeof back);
    FUZZ_CHECK(ApplyPaletteRead(again, back));
    for (size_t i = 0; i < kPaletteEntries; ++i)
        FUZZ_CHECK(back[i] == (palette[i] & 0x00FFFFFFu));
    FUZZ_CHECK(WritePaletteFormat(kFormat, back, name) == file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PaletteRead read = ReadPaletteFormat(kFormat, data, size);
    CheckRead(read);
    const PaletteFormat detected = DetectPaletteFormat("fuzz.dat", data, size);
    FUZZ_CHECK(static_cast<int>(detected) >= 0 && static_cast<int>(detected) < kPaletteFormatCount);

    uint32_t palette[kPaletteEntries];
    CheckApply(read, data, size, palette);
    if (read.error == PaletteError::None)
        CheckRoundTrip(palette, NameOf(data, size));
    return 0;
}

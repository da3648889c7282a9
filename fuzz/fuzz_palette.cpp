// ApplyPaletteBytes on input of any length: the bytes land where the file
// format puts them, the fourth byte of each entry touched is cleared, nothing
// else changes and nothing is read past the input; PaletteToBytes gives it
// back. EnsurePaletteExtension on the same input taken as a path.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "store/palette_data.h"

namespace {

// A palette with every byte set, fourth bytes included, and no two entries alike.
void FillPattern(uint8_t (&expected)[kPaletteFileSize])
{
    uint32_t x = 0x2545F491u;
    for (int e = 0; e < kPaletteEntries; ++e) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        Palette[e] = x | 0x01000000u;
    }
    for (size_t i = 0; i < kPaletteFileSize; ++i)
        expected[i] = static_cast<uint8_t>(Palette[i / 4] >> (8 * (i % 4)));
}

void CheckApply(const uint8_t* data, size_t size)
{
    uint8_t before[kPaletteFileSize];
    FillPattern(before);
    ApplyPaletteBytes(Palette, data, size);

    uint8_t after[kPaletteFileSize];
    PaletteToBytes(Palette, after);
    const size_t used = size < kPaletteFileSize ? size : kPaletteFileSize;
    const size_t touchedEntries = (used + 3) / 4;
    for (size_t i = 0; i < kPaletteFileSize; ++i) {
        const bool touched = i / 4 < touchedEntries;
        uint8_t expected = i < used ? data[i] : before[i];
        if (touched && i % 4 == 3)
            expected = 0;
        FUZZ_CHECK(after[i] == expected);
    }
    for (int e = 0; e < kPaletteEntries; ++e)
        FUZZ_CHECK(static_cast<size_t>(e) >= touchedEntries || (Palette[e] >> 24) == 0);

    // The 512 bytes put back as a file: every entry is touched, so only the
    // fourth bytes change; put back once more, nothing changes at all.
    const std::unique_ptr<uint8_t[]> file(new uint8_t[kPaletteFileSize]);
    std::memcpy(file.get(), after, kPaletteFileSize);
    ApplyPaletteBytes(Palette, file.get(), kPaletteFileSize);
    uint8_t again[kPaletteFileSize];
    PaletteToBytes(Palette, again);
    for (size_t i = 0; i < kPaletteFileSize; ++i)
        FUZZ_CHECK(again[i] == (i % 4 == 3 ? 0 : after[i]));
    std::memcpy(file.get(), again, kPaletteFileSize);
    ApplyPaletteBytes(Palette, file.get(), kPaletteFileSize);
    uint8_t third[kPaletteFileSize];
    PaletteToBytes(Palette, third);
    FUZZ_CHECK(std::memcmp(again, third, kPaletteFileSize) == 0);
}

void CheckExtension(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::string path(bytes, strnlen(bytes, size - 1));
    // The first byte gives the room left after the path's NUL; 255 stands for a
    // buffer the path fills with no NUL at all.
    const bool unterminated = data[0] == 255;
    const size_t room = unterminated ? path.size() : path.size() + 1 + data[0] % 9u;
    if (room == 0)
        return;
    // Exactly that many bytes, so a write or read past them is caught.
    const std::unique_ptr<char[]> buffer(new char[room]);
    std::memset(buffer.get(), 0, room);
    std::memcpy(buffer.get(), path.data(), path.size());

    const bool done = EnsurePaletteExtension(buffer.get(), room);
    const std::string held(buffer.get(), strnlen(buffer.get(), room));
    const bool endsInTbp = path.size() >= 4 && path.compare(path.size() - 4, 4, ".tbp") == 0;
    if (unterminated) {
        FUZZ_CHECK(!done);
        FUZZ_CHECK(std::memcmp(buffer.get(), path.data(), path.size()) == 0);
    } else if (endsInTbp) {
        FUZZ_CHECK(done && held == path);
    } else if (path.size() + 5 <= room) {
        FUZZ_CHECK(done && held == path + ".tbp");
    } else {
        FUZZ_CHECK(!done && held == path);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckApply(data, size);
    CheckExtension(data, size);
    return 0;
}

#include "store/palette_data.h"

#include <cstring>

void ApplyPaletteBytes(PaletteEntries& palette, const uint8_t* bytes, size_t count)
{
    if (count > kPaletteFileSize)
        count = kPaletteFileSize;
    for (size_t i = 0; i < count; ++i) {
        uint32_t& entry = palette[i / 4];
        const unsigned shift = static_cast<unsigned>(8 * (i % 4));
        entry = (entry & ~(0xFFu << shift)) | (static_cast<uint32_t>(bytes[i]) << shift);
    }
    const size_t touched = (count + 3) / 4;
    for (size_t e = 0; e < touched; ++e)
        palette[e] &= 0x00FFFFFFu;
}

void PaletteToBytes(const PaletteEntries& palette, uint8_t (&bytes)[kPaletteFileSize])
{
    for (size_t i = 0; i < kPaletteFileSize; ++i)
        bytes[i] = static_cast<uint8_t>(palette[i / 4] >> (8 * (i % 4)));
}

bool EnsurePaletteExtension(char* path, size_t size, const char* extension)
{
    const size_t length = strnlen(path, size);
    if (length == size)
        return false;  // not terminated inside its buffer
    const size_t added = std::strlen(extension);
    // The name's end compared with the extension and its NUL: nothing may follow.
    if (length >= added && std::memcmp(path + length - added, extension, added + 1) == 0)
        return true;
    if (length + added + 1 > size)
        return false;
    std::memcpy(path + length, extension, added + 1);
    return true;
}

bool PaletteFileWanted(bool changedThisRun, const FileBytes& atStart, const FileBytes& now)
{
    if (changedThisRun || now.state == FileBytes::Missing)
        return true;
    return atStart.state == FileBytes::Read && now.state == FileBytes::Read && now.bytes == atStart.bytes;
}

bool BytesHoldPalette(const FileBytes& file, const PaletteEntries& palette)
{
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(palette, bytes);
    return file.state == FileBytes::Read && file.bytes.size() == sizeof bytes &&
           std::memcmp(file.bytes.data(), bytes, sizeof bytes) == 0;
}

bool PaletteKeptAsRead(bool changedThisRun, const FileBytes& atStart, const PaletteEntries& palette)
{
    return !changedThisRun && BytesHoldPalette(atStart, palette);
}

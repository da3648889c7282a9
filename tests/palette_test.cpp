#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "store/palette_file.h"
#include "tests/test_folder.h"

namespace {

// A palette whose every byte tells where it is: entry i is (i, 255 - i, i ^ 0x5A).
void FillPattern()
{
    for (int i = 0; i < kPaletteEntries; ++i)
        Palette[i] = static_cast<uint32_t>(i) | (static_cast<uint32_t>(255 - i) << 8) |
                     (static_cast<uint32_t>(i ^ 0x5A) << 16);
}

std::string Bytes(size_t count, uint8_t seed)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return bytes;
}

std::string CurrentBytes()
{
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(Palette, bytes);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

TEST(PaletteFile, WriteThenReadIsByteExact)
{
    TestFolder folder;
    const std::string path = folder.file("palette.ini");
    FillPattern();
    const std::string written = CurrentBytes();
    ASSERT_TRUE(WritePaletteFile(path.c_str(), Palette));
    EXPECT_EQ(ReadWholeFile(path), written);
    std::memset(Palette, 0, sizeof Palette);
    ASSERT_TRUE(ReadPaletteFile(path.c_str(), Palette));
    EXPECT_EQ(CurrentBytes(), written);
    EXPECT_FALSE(FileExists(path + ".new")) << "no temporary file is left behind";
}

TEST(PaletteFile, ShortAndLongFilesReplaceWhatTheyHold)
{
    TestFolder folder;
    const std::string path = folder.file("p.tbp");
    for (size_t size : {0u, 1u, 3u, 4u, 101u, 511u, 512u, 513u, 1000u, 1u << 20}) {
        SCOPED_TRACE(size);
        FillPattern();
        for (uint32_t& entry : Palette)
            entry |= 0xA5000000u;  // nonzero fourth bytes, so an entry left uncleared shows
        const std::string before = CurrentBytes();
        std::string file = Bytes(size, 3);
        for (size_t i = 3; i < file.size(); i += 4)
            file[i] = static_cast<char>(0xC3);  // a nonzero fourth byte in every entry
        WriteWholeFile(path, file);
        ASSERT_TRUE(ReadPaletteFile(path.c_str(), Palette));
        const std::string after = CurrentBytes();
        const size_t replaced = std::min<size_t>(size, kPaletteFileSize);
        for (size_t i = 0; i < kPaletteFileSize; ++i) {
            const bool fourth = i % 4 == 3;
            if (i < replaced)
                ASSERT_EQ(after[i], fourth ? '\0' : file[i]) << "byte " << i;
            else if (fourth && i / 4 < (replaced + 3) / 4)
                ASSERT_EQ(after[i], '\0') << "byte " << i;
            else
                ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
}

TEST(PaletteFile, HundredAndOneBytesReplaceEntriesZeroToTwentyFourAndOneRedByte)
{
    TestFolder folder;
    const std::string path = folder.file("short.tbp");
    FillPattern();
    const uint32_t entry25 = Palette[25];
    const uint32_t entry26 = Palette[26];
    WriteWholeFile(path, std::string(101, '\x11'));
    ReadPaletteFile(path.c_str(), Palette);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(Palette[i], 0x00111111u) << i;
    EXPECT_EQ(Palette[25], (entry25 & 0x00FFFF00u) | 0x11u);
    EXPECT_EQ(Palette[26], entry26);
}

TEST(PaletteFile, MissingFileLeavesThePalette)
{
    TestFolder folder;
    FillPattern();
    const std::string before = CurrentBytes();
    EXPECT_FALSE(ReadPaletteFile(folder.file("absent.tbp").c_str(), Palette));
    EXPECT_FALSE(ReadPaletteFile(folder.path().c_str(), Palette)) << "a folder is not a palette";
    EXPECT_EQ(CurrentBytes(), before);
}

TEST(PaletteFile, ReplacesALongerFileWithExactly512Bytes)
{
    TestFolder folder;
    const std::string path = folder.file("palette.ini");
    WriteWholeFile(path, Bytes(2000, 9));
    FillPattern();
    ASSERT_TRUE(WritePaletteFile(path.c_str(), Palette));
    EXPECT_EQ(ReadWholeFile(path), CurrentBytes());
}

TEST(PaletteFile, ALongLeftoverTemporaryFileDoesNotLengthenTheSave)
{
    TestFolder folder;
    const std::string path = folder.file("palette.ini");
    // A temporary file left behind by a save that was cut off, longer than a palette.
    WriteWholeFile(path + ".new", Bytes(1000, 21));
    FillPattern();
    ASSERT_TRUE(WritePaletteFile(path.c_str(), Palette));
    EXPECT_EQ(ReadWholeFile(path), CurrentBytes());
}

TEST(PaletteFile, FailedWritesKeepTheOldFile)
{
    TestFolder folder;
    const std::string path = folder.file("palette.ini");
    const std::string old = Bytes(512, 77);
    FillPattern();

    // Held open without sharing by another handle.
    WriteWholeFile(path, old);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WritePaletteFile(path.c_str(), Palette));
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_FALSE(FileExists(path + ".new"));

    // Held open for writing without sharing, as an editor might.
    held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WritePaletteFile(path.c_str(), Palette));
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), old);

    // The temporary file itself cannot be made: its name is taken by a folder.
    ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
    EXPECT_FALSE(WritePaletteFile(path.c_str(), Palette));
    EXPECT_EQ(ReadWholeFile(path), old);
    RemoveDirectoryA((path + ".new").c_str());

    // A folder that does not exist.
    const std::string nowhere = folder.file("gone\\palette.ini");
    EXPECT_FALSE(WritePaletteFile(nowhere.c_str(), Palette));
    EXPECT_FALSE(FileExists(nowhere));

    // The target is a folder.
    EXPECT_FALSE(WritePaletteFile(folder.path().c_str(), Palette));

    // Once free again, the write goes through.
    EXPECT_TRUE(WritePaletteFile(path.c_str(), Palette));
    EXPECT_EQ(ReadWholeFile(path), CurrentBytes());
}

TEST(PaletteData, ByteOrderIsRedGreenBlueZero)
{
    std::memset(Palette, 0, sizeof Palette);
    Palette[0] = 0x00563412u;
    Palette[127] = 0x00FFFFFFu;
    uint8_t bytes[kPaletteFileSize];
    PaletteToBytes(Palette, bytes);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0x34);
    EXPECT_EQ(bytes[2], 0x56);
    EXPECT_EQ(bytes[3], 0x00);
    EXPECT_EQ(bytes[508], 0xFF);
    EXPECT_EQ(bytes[511], 0x00);
}

TEST(PaletteData, TbpExtensionRule)
{
    const struct {
        const char* chosen;
        const char* result;
        const char* extension = ".tbp";  // the format chosen in the save dialog
    } cases[] = {
        {"C:\\p\\colors", "C:\\p\\colors.tbp"},
        {"C:\\p\\colors.tbp", "C:\\p\\colors.tbp"},
        {"C:\\p\\colors.TBP", "C:\\p\\colors.TBP.tbp"},
        {"C:\\p\\colors.Tbp", "C:\\p\\colors.Tbp.tbp"},
        {"C:\\p\\colors.tbpx", "C:\\p\\colors.tbpx.tbp"},
        {"C:\\p\\colors.txt", "C:\\p\\colors.txt.tbp"},
        {"tbp", "tbp.tbp"},
        {".tbp", ".tbp"},
        {"", ".tbp"},
        {"C:\\p\\colors.gpl", "C:\\p\\colors.gpl", ".gpl"},
        {"C:\\p\\colors.GPL", "C:\\p\\colors.GPL.gpl", ".gpl"},
        {"C:\\p\\colors.tbp", "C:\\p\\colors.tbp.hex", ".hex"},
        {"C:\\p\\colors.hexx", "C:\\p\\colors.hexx.hex", ".hex"},
    };
    for (const auto& c : cases) {
        char path[64] = {};
        std::strcpy(path, c.chosen);
        EXPECT_TRUE(EnsurePaletteExtension(path, sizeof path, c.extension));
        EXPECT_STREQ(path, c.result);
    }
}

TEST(PaletteData, TbpExtensionNearTheEndOfTheBuffer)
{
    // 16 bytes hold 15 characters: "abcdefghijk" (11) takes ".tbp", one more does not.
    for (size_t length = 9; length <= 15; ++length) {
        char path[20];
        std::memset(path, '#', sizeof path);
        std::string name(length, 'n');
        std::memcpy(path, name.c_str(), length + 1);
        const bool fits = length + 5 <= 16;
        EXPECT_EQ(EnsurePaletteExtension(path, 16), fits) << length;
        EXPECT_EQ(std::string(path), fits ? name + ".tbp" : name);
        for (size_t i = 16; i < sizeof path; ++i)
            EXPECT_EQ(path[i], '#') << "written past the buffer at " << i;
    }
    char full[8];
    std::memset(full, 'x', sizeof full);  // no terminator at all
    EXPECT_FALSE(EnsurePaletteExtension(full, sizeof full));
    // The bytes right after the buffer would complete a ".tbp" name: they are not read.
    char past[16] = "abcdefgh.tbp";
    EXPECT_FALSE(EnsurePaletteExtension(past, 8));
    EXPECT_EQ(std::string(past), "abcdefgh.tbp");
    char tight[9] = "name.tbp";  // already right, with no room to spare
    EXPECT_TRUE(EnsurePaletteExtension(tight, sizeof tight));
    EXPECT_STREQ(tight, "name.tbp");
}

}  // namespace

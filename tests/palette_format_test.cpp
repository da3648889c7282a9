// The palette formats on files made by hand from each format's published
// layout; every expected colour is worked out here, not by the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "store/palette_formats.h"

namespace {

using Format = PaletteFormat;
using Error = PaletteError;

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

PaletteRead Read(Format format, const std::string& text)
{
    return ReadPaletteFormat(format, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Big-endian bytes as the Adobe formats lay them out.
struct Be {
    std::string bytes;
    Be& u16(uint32_t v) { return raw({static_cast<char>(v >> 8), static_cast<char>(v)}); }
    Be& u32(uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    Be& f32(float f)
    {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    Be& raw(const std::string& s) { bytes += s; return *this; }
    Be& name(const std::u16string& s, bool wide)  // a length (16 or 32 bits, terminator included), then UTF-16
    {
        if (wide)
            u32(static_cast<uint32_t>(s.size() + 1));
        else
            u16(static_cast<uint32_t>(s.size() + 1));
        for (char16_t c : s)
            u16(c);
        return u16(0);
    }
};

// An .ase colour block of the given model and values.
std::string AseColor(const char* model, std::vector<float> values, uint32_t type = 0x0001)
{
    Be body;
    body.name(u"swatch", false).raw(model);
    for (float v : values)
        body.f32(v);
    body.u16(2);
    return Be().u16(type).u32(static_cast<uint32_t>(body.bytes.size())).raw(body.bytes).bytes;
}

std::string AseFile(const std::vector<std::string>& blocks)
{
    Be file;
    file.raw("ASEF").u16(1).u16(0).u32(static_cast<uint32_t>(blocks.size()));
    for (const std::string& block : blocks)
        file.raw(block);
    return file.bytes;
}

// A version 1 .aco file of one entry.
std::string AcoEntry(uint32_t space, uint32_t w, uint32_t x, uint32_t y, uint32_t z)
{
    return Be().u16(1).u16(1).u16(space).u16(w).u16(x).u16(y).u16(z).bytes;
}

void ExpectColors(const PaletteRead& read, const std::vector<uint32_t>& colors)
{
    EXPECT_EQ(read.error, Error::None);
    EXPECT_EQ(read.total, colors.size());
    EXPECT_EQ(read.colors, colors);
}

// 128 colours with every channel differing from its neighbours'.
void Pattern(uint32_t (&colors)[kPaletteEntries])
{
    for (uint32_t i = 0; i < kPaletteEntries; ++i)
        colors[i] = Rgb(2 * i + 1, 255 - i, (i * 37) % 256);
}

TEST(PaletteFormats, FormatFollowsTheExtensionThenTheContent)
{
    const struct {
        const char* name;
        std::string content;
        Format expected;
    } cases[] = {
        {"C:\\colors\\a.gpl", "", Format::Gpl},           {"a.GPL", "ASEF", Format::Gpl},
        {"b.Ase", "GIMP Palette", Format::Ase},          {"c.aco", "", Format::Aco},
        {"d.PAL", "RIFF", Format::Jasc},                 {"e.txt", "", Format::PaintNet},
        {"f.hex", "", Format::Hex},                      {"g.tbp", "GIMP Palette", Format::Tbp},
        {"h.dat", "GIMP Palette\n", Format::Gpl},        {"noext", "\xEF\xBB\xBFGIMP Palette", Format::Gpl},
        {"i.bin", "ASEF\0\1", Format::Ase},              {"j.ini", "JASC-PAL\r\n", Format::Jasc},
        {"k", ";  Paint.NET Palette File", Format::PaintNet}, {"l.x", "ff0000\n", Format::Tbp},
        {"m.x", "GIMP", Format::Tbp},                    {"dir.gpl\\n", "", Format::Tbp},
        {"a.gpl.bak", "", Format::Tbp},                  {"a.gp", "", Format::Tbp},
        {"C:\\\x95\x5C\\\x83\x5C.aco", "", Format::Aco},  // code page 932 names whose trail bytes are backslashes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectPaletteFormat(c.name, reinterpret_cast<const uint8_t*>(c.content.data()), c.content.size()),
                  c.expected);
    }
}

TEST(PaletteFormats, GimpPaletteWithCommentsNameTabsBlankLinesAndBothLineEnds)
{
    const std::string file = "GIMP Palette\r\nName: Sample \xE8\xA6\x8B\xE6\x9C\xAC\r\nColumns: 4\n# a comment\n\n"
                             "255   0   0\tRed\n  0 128 255\tsky blue\r\n\t 12\t34\t56\n   \n# 9 9 9\n1 2 3";
    ExpectColors(Read(Format::Gpl, file), {Rgb(255, 0, 0), Rgb(0, 128, 255), Rgb(12, 34, 56), Rgb(1, 2, 3)});
}

TEST(PaletteFormats, SwatchExchangeWithGroupCmykLabAndGray)
{
    const std::string file = AseFile({
        Be().u16(0xC001).u32(14).name(u"Brand", false).bytes,
        AseColor("RGB ", {1.0f, 0.5f, 0.25f}),          // 255, 127.5, 63.75
        AseColor("CMYK", {0.2f, 0.4f, 0.6f, 0.1f}),     // 255 * 0.8 * 0.9 = 183.6, 137.7, 91.8
        Be().u16(0xC002).u32(0).bytes,
        AseColor("LAB ", {0.5f, 0.0f, 0.0f}),           // L* 50 is sRGB 119 grey
        AseColor("LAB ", {0.5429f, 80.80f, 69.89f}),    // sRGB red in Lab D50
        AseColor("LAB ", {0.2957f, 68.30f, -112.03f}),  // sRGB blue in Lab D50
        AseColor("Gray", {0.25f}),                      // 63.75
        AseColor("RGB ", {0.0f, 0.0f, 0.0f}, 0x0003),   // a block of another type is passed over
    });
    ExpectColors(Read(Format::Ase, file), {Rgb(255, 128, 64), Rgb(184, 138, 92), Rgb(119, 119, 119), Rgb(255, 0, 0),
                                           Rgb(0, 0, 255), Rgb(64, 64, 64)});
}

TEST(PaletteFormats, SwatchesInEveryColourSpace)
{
    const struct {
        uint32_t space, w, x, y, z;
        Error error;
        uint32_t expected;
    } cases[] = {
        {0, 65535, 32768, 0, 0, Error::None, Rgb(255, 128, 0)},         // 32768 / 257 = 127.502
        {0, 257 * 10, 257 * 200 + 128, 257 * 7 + 129, 0, Error::None, Rgb(10, 200, 8)},
        {1, 0, 65535, 65535, 0, Error::None, Rgb(255, 0, 0)},           // hue 0
        {1, 21845, 65535, 65535, 0, Error::None, Rgb(0, 255, 0)},       // hue 120
        {1, 43690, 65535, 32768, 0, Error::None, Rgb(0, 0, 128)},       // hue 240, brightness 0.500008
        {1, 10923, 65535, 65535, 0, Error::None, Rgb(255, 255, 0)},     // hue 60.0
        {1, 0, 32768, 65535, 0, Error::None, Rgb(255, 127, 127)},       // 255 * (1 - 0.500008) = 127.498
        {1, 65535, 0, 65535, 0, Error::None, Rgb(255, 255, 255)},       // hue 360, no saturation
        {2, 0, 65535, 65535, 65535, Error::None, Rgb(0, 255, 255)},     // pure cyan: 0 is full ink
        {2, 65535, 65535, 65535, 32768, Error::None, Rgb(128, 128, 128)},
        {7, 5000, 0, 0, 0, Error::None, Rgb(119, 119, 119)},
        {7, 8782, 0x10000 - 7929, 8099, 0, Error::None, Rgb(0, 255, 0)},  // sRGB green in Lab D50
        {7, 10000, 0, 0, 0, Error::None, Rgb(255, 255, 255)},
        {8, 0, 0, 0, 0, Error::None, Rgb(255, 255, 255)},
        {8, 2500, 0, 0, 0, Error::None, Rgb(191, 191, 191)},             // 255 * 0.75 = 191.25
        {8, 10000, 0, 0, 0, Error::None, Rgb(0, 0, 0)},
        {8, 10001, 0, 0, 0, Error::OutOfRange, 0},
        {7, 10001, 0, 0, 0, Error::OutOfRange, 0},
        {7, 5000, 12701, 0, 0, Error::OutOfRange, 0},
        {7, 5000, 0, 0x10000 - 12801, 0, Error::OutOfRange, 0},
        {3, 1, 2, 3, 4, Error::Unsupported, 0},                          // a colour book entry
        {9, 1, 2, 3, 4, Error::Unsupported, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.space << ' ' << c.w << ' ' << c.x << ' ' << c.y << ' ' << c.z);
        const PaletteRead read = Read(Format::Aco, AcoEntry(c.space, c.w, c.x, c.y, c.z));
        EXPECT_EQ(read.error, c.error);
        if (c.error == Error::None)
            ExpectColors(read, {c.expected});
    }
}

TEST(PaletteFormats, SwatchesWithBothSectionsTakeTheNamedOnes)
{
    Be file;
    file.u16(1).u16(2).u16(0).u16(0xFFFF).u16(0).u16(0).u16(0).u16(8).u16(5000).u16(0).u16(0).u16(0);
    file.u16(2).u16(2).u16(0).u16(0).u16(0xFFFF).u16(0).u16(0).name(u"Green", true);
    file.u16(8).u16(5000).u16(0).u16(0).u16(0).name(u"", true);
    ExpectColors(Read(Format::Aco, file.bytes), {Rgb(0, 255, 0), Rgb(128, 128, 128)});
    ExpectColors(Read(Format::Aco, file.bytes.substr(0, 24)), {Rgb(255, 0, 0), Rgb(128, 128, 128)});
    EXPECT_EQ(Read(Format::Aco, file.bytes.substr(0, 24) + std::string("\0\3", 2)).error, Error::Malformed);
}

TEST(PaletteFormats, JascFileOf256ColoursFillsAllSwatchesAndCountsTheRest)
{
    std::string file = "JASC-PAL\r\n0100\r\n256\r\n";
    std::vector<uint32_t> first;
    for (uint32_t i = 0; i < 256; ++i) {
        file += std::to_string(i) + ' ' + std::to_string(255 - i) + ' ' + std::to_string(i * 7 % 256) + "\r\n";
        if (i < 128)
            first.push_back(Rgb(i, 255 - i, i * 7 % 256));
    }
    const PaletteRead read = Read(Format::Jasc, file);
    EXPECT_EQ(read.error, Error::None);
    EXPECT_EQ(read.total, 256u);
    EXPECT_EQ(read.colors, first);
}

TEST(PaletteFormats, PaintNetWithCommentsAndHexLists)
{
    ExpectColors(Read(Format::PaintNet, "; paint.net Palette File\r\n; Colors: 3\r\nFFFF0000\r\n 8000ff00 ; green\n"
                                        "\n;\n00102030"),
                 {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0x10, 0x20, 0x30)});
    ExpectColors(Read(Format::Hex, "\xEF\xBB\xBF#ff8000\r\nFF8001\n\n  00aAbB  \n"),
                 {Rgb(255, 128, 0), Rgb(255, 128, 1), Rgb(0, 0xAA, 0xBB)});
}

TEST(PaletteFormats, FaultsAreNamed)
{
    const std::string gimp = "GIMP Palette\n", jasc = "JASC-PAL\r\n0100\r\n";
    const struct {
        Format format;
        std::string file;
        Error expected;
    } cases[] = {
        {Format::Gpl, "", Error::NoColors},                      {Format::Gpl, gimp + "# none\n", Error::NoColors},
        {Format::Gpl, "GIMP palette\n1 2 3", Error::NotThisFormat}, {Format::Gpl, gimp + "1 2\n", Error::Malformed},
        {Format::Gpl, gimp + "1 2 3x", Error::Malformed},        {Format::Gpl, gimp + "1 2 256", Error::OutOfRange},
        {Format::Gpl, gimp + "1 -2 3", Error::OutOfRange},
        {Format::Gpl, gimp + "99999999999999999999 0 0", Error::OutOfRange},
        {Format::Jasc, "RIFF\0\0\0\0PAL ", Error::NotThisFormat}, {Format::Jasc, "JASC-PAL", Error::Truncated},
        {Format::Jasc, "JASC-PAL\n0200\n1\n1 2 3", Error::Unsupported},
        {Format::Jasc, jasc + "0\r\n", Error::NoColors},         {Format::Jasc, jasc + "x\r\n", Error::Malformed},
        {Format::Jasc, jasc + "3\r\n1 2 3\r\n4 5 6\r\n", Error::Truncated},
        {Format::Jasc, jasc + "4294967296\r\n1 2 3", Error::Truncated},
        {Format::Jasc, jasc + "1\r\n1 2 3 4\r\n", Error::Malformed},
        {Format::Jasc, jasc + "1\r\n300 0 0", Error::OutOfRange},
        {Format::PaintNet, "FF00FF\n", Error::NotThisFormat},   {Format::PaintNet, "FFFF0000\nGG000000", Error::Malformed},
        {Format::PaintNet, "; only a comment\n", Error::NoColors},
        {Format::Hex, "hello\n", Error::NotThisFormat},          {Format::Hex, "ff0000\nff00", Error::Malformed},
        {Format::Ase, "ASEG", Error::NotThisFormat},            {Format::Ase, "AS", Error::Truncated},
        {Format::Ase, Be().raw("ASEF").u16(2).u16(0).u32(0).bytes, Error::Unsupported},
        {Format::Ase, AseFile({}), Error::NoColors},
        {Format::Ase, AseFile({AseColor("RGB ", {0.5f, 1.01f, 0.0f})}), Error::OutOfRange},
        {Format::Ase, AseFile({AseColor("Gray", {std::nanf("")})}), Error::OutOfRange},
        {Format::Ase, AseFile({AseColor("LAB ", {1.5f, 0.0f, 0.0f})}), Error::OutOfRange},
        {Format::Ase, AseFile({AseColor("XYZ ", {0.5f, 0.5f, 0.5f})}), Error::Unsupported},
        {Format::Ase, AseFile({Be().u16(1).u32(6).name(u"ab", false).bytes}), Error::Malformed},
        {Format::Aco, std::string("\0\3\0\0", 4), Error::NotThisFormat},
        {Format::Aco, std::string("\0\1\0\0", 4), Error::NoColors},
        {Format::Tbp, "", Error::NoColors},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.format) << ": " << c.file);
        const PaletteRead read = Read(c.format, c.file);
        EXPECT_EQ(read.error, c.expected);
        EXPECT_TRUE(read.colors.empty());
    }
    const std::string huge(kPaletteFileLimit + 1, '\n');
    for (int f = 0; f < kPaletteFormatCount; ++f) {
        EXPECT_EQ(Read(static_cast<Format>(f), huge).error, Error::TooLarge);
        EXPECT_NE(Read(static_cast<Format>(f), huge.substr(1)).error, Error::TooLarge);
    }
}

// Every format written, detected by its extension (and by its content where
// it has a signature), and read back to the same 128 colours.
TEST(PaletteFormats, EveryWriterIsReadBackExactly)
{
    uint32_t colors[kPaletteEntries];
    Pattern(colors);
    const std::vector<uint32_t> expected(colors, colors + kPaletteEntries);
    for (int f = 0; f < kPaletteFormatCount; ++f) {
        const Format format = static_cast<Format>(f);
        SCOPED_TRACE(PaletteFormatExtension(format));
        const std::vector<uint8_t> file = WritePaletteFormat(format, colors, u"\u30D1\u30EC\u30C3\u30C8");
        const std::string name = std::string("C:\\x\\Palette") + PaletteFormatExtension(format);
        EXPECT_EQ(DetectPaletteFormat(name, file.data(), file.size()), format);
        const bool hasSignature = format == Format::Gpl || format == Format::Ase || format == Format::Jasc ||
                             format == Format::PaintNet;
        EXPECT_EQ(DetectPaletteFormat("x.dat", file.data(), file.size()), hasSignature ? format : Format::Tbp);
        ExpectColors(ReadPaletteFormat(format, file.data(), file.size()), expected);
    }
}

TEST(PaletteFormats, WritersLayOutTheirFilesAsPublished)
{
    uint32_t colors[kPaletteEntries];
    Pattern(colors);  // colour 0 is 1, 255, 0
    const std::u16string kName = u"\u30D1\u30EC\u30C3\u30C8\nx";  // the newline must not break a text line
    const std::string name = "\xE3\x83\x91\xE3\x83\xAC\xE3\x83\x83\xE3\x83\x88";  // the UTF-8 of the name below
    const std::string aseFirst = Be().u16(1).u32(36).name(u"#01ff00", false).raw("RGB ").u32(0x3B808081)
                                     .u32(0x3F800000).u32(0).u16(2).bytes;
    const struct {
        Format format;
        std::string start;
        size_t size;
    } cases[] = {
        {Format::Gpl, "GIMP Palette\nName: " + name + " x\nColumns: 16\n#\n  1 255   0\t#01ff00\n", 0},
        {Format::Ase, Be().raw("ASEF").u16(1).u16(0).u32(130).u16(0xC001).u32(16).name(kName, false).bytes,
         12 + 6 + 16 + 128 * 42 + 6},
        {Format::Aco, Be().u16(1).u16(128).u16(0).u16(257).u16(65535).u16(0).u16(0).bytes, 4 + 1280 + 4 + 128 * 30},
        {Format::Jasc, "JASC-PAL\r\n0100\r\n128\r\n1 255 0\r\n3 254 37\r\n", 0},
        {Format::PaintNet, "; paint.net Palette File\r\n; " + name + " x\r\n; Colors: 128\r\nFF01FF00\r\nFF03FE25\r\n", 0},
        {Format::Hex, "01ff00\r\n03fe25\r\n", 128 * 8},
        {Format::Tbp, std::string("\1\xFF\0\0\3\xFE\x25\0", 8), 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PaletteFormatExtension(c.format));
        const std::vector<uint8_t> file = WritePaletteFormat(c.format, colors, kName);
        EXPECT_EQ(std::string(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(c.start.size())), c.start);
        if (c.size != 0) {
            EXPECT_EQ(file.size(), c.size);
        }
    }
    const std::vector<uint8_t> ase = WritePaletteFormat(Format::Ase, colors, kName);
    EXPECT_EQ(std::string(ase.begin() + 34, ase.begin() + 34 + static_cast<std::ptrdiff_t>(aseFirst.size())), aseFirst);
}

// A binary file cut at any length is refused whole, except where a shorter
// file is complete: the .aco version 1 section, and any .tbp.
TEST(PaletteFormats, BinaryFilesCutAtEveryLength)
{
    uint32_t colors[kPaletteEntries];
    Pattern(colors);
    for (Format format : {Format::Ase, Format::Aco}) {
        const std::vector<uint8_t> file = WritePaletteFormat(format, colors, u"cut");
        for (size_t size = 0; size < file.size(); ++size) {
            const PaletteRead read = ReadPaletteFormat(format, file.data(), size);
            const bool whole = format == Format::Aco && size == 4 + 1280;
            ASSERT_EQ(read.error, size == 0 ? Error::NoColors : whole ? Error::None : Error::Truncated) << size;
            ASSERT_EQ(read.colors.size(), whole ? 128u : 0u) << size;
        }
    }
    // A .tbp of any length replaces exactly what the platform-file reading replaces.
    const std::vector<uint8_t> tbp = WritePaletteFormat(Format::Tbp, colors, u"");
    std::vector<uint8_t> file(tbp);
    file.insert(file.end(), tbp.begin(), tbp.begin() + 9);
    for (size_t i = 3; i < file.size(); i += 4)
        file[i] = 0x5A;  // a fourth byte that must not reach the palette
    for (size_t size = 0; size <= file.size(); ++size) {
        uint32_t expected[kPaletteEntries], actual[kPaletteEntries];
        for (uint32_t i = 0; i < kPaletteEntries; ++i)
            Palette[i] = actual[i] = 0xC0000000u | Rgb(i, i ^ 0x33, 200);
        ApplyPaletteBytes(Palette, file.data(), size);
        std::memcpy(expected, Palette, sizeof expected);
        const PaletteRead read = ReadPaletteFormat(Format::Tbp, file.data(), size);
        EXPECT_EQ(ApplyPaletteRead(read, actual), size > 0) << size;
        ASSERT_EQ(std::memcmp(actual, expected, sizeof actual), 0) << size;
        EXPECT_EQ(read.total, (std::min<size_t>(size, 512) + 3) / 4) << size;
    }
}

TEST(PaletteFormats, ApplyingFillsFromSwatchZeroAndAFaultChangesNothing)
{
    uint32_t palette[kPaletteEntries], before[kPaletteEntries];
    for (uint32_t i = 0; i < kPaletteEntries; ++i)
        palette[i] = before[i] = Rgb(i, 100, 200);
    EXPECT_FALSE(ApplyPaletteRead(Read(Format::Gpl, "GIMP Palette\n1 2 3\n4 5 300\n"), palette));
    EXPECT_EQ(std::memcmp(palette, before, sizeof palette), 0);
    EXPECT_TRUE(ApplyPaletteRead(Read(Format::Gpl, "GIMP Palette\n1 2 3\n4 5 6\n"), palette));
    EXPECT_EQ(palette[0], Rgb(1, 2, 3));
    EXPECT_EQ(palette[1], Rgb(4, 5, 6));
    EXPECT_EQ(std::memcmp(palette + 2, before + 2, sizeof palette - 2 * sizeof palette[0]), 0);
}

}  // namespace

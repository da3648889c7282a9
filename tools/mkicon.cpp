// Turns pixel-art text files into a Windows icon or cursor file.
//
//   mkicon icon OUTPUT.ico ART...   one 8-bit image per art file
//   mkicon cursor OUTPUT.cur ART    one monochrome image with its hot spot
//
// An art file is plain text. Lines starting with ';' and blank lines are
// ignored; ';' also starts a comment after a setting. The settings:
//
//   size W H        the image's width and height in pixels (1 to 256)
//   hotspot X Y     cursors only: the pixel the cursor points with
//   color C RRGGBB  the character C paints this color (hexadecimal red,
//                   green, blue); "color C none" makes C transparent
//   pixels          H rows of exactly W characters follow, top row first
//
// In a cursor only none, 000000 (black) and FFFFFF (white) may be used, and
// the hot spot must be an opaque pixel.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct PaletteEntry {
    char symbol;
    bool transparent;
    uint32_t rgb;  // 0xRRGGBB
};

struct Art {
    std::string path;
    int width = 0;
    int height = 0;
    bool hasHotspot = false;
    int hotX = 0;
    int hotY = 0;
    std::vector<PaletteEntry> palette;
    std::vector<std::string> rows;

    const PaletteEntry* Find(char symbol) const
    {
        for (const PaletteEntry& e : palette)
            if (e.symbol == symbol)
                return &e;
        return nullptr;
    }
    const PaletteEntry& At(int x, int y) const
    {
        return *Find(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
    }
};

[[noreturn]] void Fail(const std::string& where, const std::string& message)
{
    std::fprintf(stderr, "%s: error: %s\n", where.c_str(), message.c_str());
    std::exit(1);
}

std::string Where(const std::string& path, int line) { return path + ":" + std::to_string(line); }

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

bool ParseRgb(const std::string& text, uint32_t& rgb)
{
    if (text.size() != 6)
        return false;
    uint32_t v = 0;
    for (char c : text) {
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return false;
        v = v * 16 + digit;
    }
    rgb = v;
    return true;
}

std::string StripComment(const std::string& line)
{
    const size_t semicolon = line.find(';');
    std::string text = semicolon == std::string::npos ? line : line.substr(0, semicolon);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.pop_back();
    return text;
}

Art ReadArt(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail(path, "cannot read the file");
    Art art;
    art.path = path;
    std::string line;
    int number = 0;
    bool inPixels = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = Where(path, number);
        if (inPixels) {
            if (static_cast<int>(art.rows.size()) == art.height) {
                if (!StripComment(line).empty())
                    Fail(where, "more rows than the size gives");
                continue;
            }
            if (static_cast<int>(line.size()) != art.width)
                Fail(where, "a row must have exactly " + std::to_string(art.width) + " characters");
            for (size_t x = 0; x < line.size(); ++x)
                if (!art.Find(line[x]))
                    Fail(where, std::string("no color is given for '") + line[x] + "' (column " + std::to_string(x) +
                                    ")");
            art.rows.push_back(line);
            continue;
        }
        std::istringstream words(StripComment(line));
        std::string keyword;
        if (!(words >> keyword))
            continue;
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);
        if (keyword == "size") {
            if (args.size() != 2 || !ParseInt(args[0], art.width) || !ParseInt(args[1], art.height) ||
                art.width < 1 || art.width > 256 || art.height < 1 || art.height > 256)
                Fail(where, "expected: size WIDTH HEIGHT, each 1 to 256");
        } else if (keyword == "hotspot") {
            if (args.size() != 2 || !ParseInt(args[0], art.hotX) || !ParseInt(args[1], art.hotY))
                Fail(where, "expected: hotspot X Y");
            art.hasHotspot = true;
        } else if (keyword == "color") {
            PaletteEntry entry{};
            if (args.size() != 2 || args[0].size() != 1)
                Fail(where, "expected: color CHARACTER RRGGBB (or none)");
            entry.symbol = args[0][0];
            if (art.Find(entry.symbol))
                Fail(where, std::string("'") + entry.symbol + "' is given a color twice");
            if (args[1] == "none")
                entry.transparent = true;
            else if (!ParseRgb(args[1], entry.rgb))
                Fail(where, "a color is six hexadecimal digits RRGGBB, or none");
            art.palette.push_back(entry);
        } else if (keyword == "pixels") {
            if (art.width == 0)
                Fail(where, "the size must come before the pixels");
            inPixels = true;
        } else {
            Fail(where, "unknown setting '" + keyword + "'");
        }
    }
    if (!inPixels)
        Fail(path, "no pixels");
    if (static_cast<int>(art.rows.size()) != art.height)
        Fail(path, "fewer rows than the size gives");
    if (art.hasHotspot && (art.hotX >= art.width || art.hotY >= art.height))
        Fail(path, "the hot spot lies outside the image");
    return art;
}

// Little-endian writer.
class Bytes {
public:
    void U8(unsigned v) { data_.push_back(static_cast<uint8_t>(v & 0xFF)); }
    void U16(unsigned v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
    size_t size() const { return data_.size(); }
    const std::vector<uint8_t>& data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

uint32_t RowBytes(int width, int bitsPerPixel) { return static_cast<uint32_t>((width * bitsPerPixel + 31) / 32 * 4); }

void BitmapHeader(Bytes& out, const Art& art, unsigned bitsPerPixel, uint32_t imageSize)
{
    out.U32(40);                                    // biSize
    out.U32(static_cast<uint32_t>(art.width));      // biWidth
    out.U32(static_cast<uint32_t>(art.height * 2)); // biHeight: color and mask halves
    out.U16(1);                                     // biPlanes
    out.U16(bitsPerPixel);                          // biBitCount
    out.U32(0);                                     // biCompression: BI_RGB
    out.U32(imageSize);                             // biSizeImage
    out.U32(0);                                     // biXPelsPerMeter
    out.U32(0);                                     // biYPelsPerMeter
    out.U32(0);                                     // biClrUsed: all 2^bitsPerPixel
    out.U32(0);                                     // biClrImportant
}

void RgbQuad(Bytes& out, uint32_t rgb)
{
    out.U8(rgb);        // blue
    out.U8(rgb >> 8);   // green
    out.U8(rgb >> 16);  // red
    out.U8(0);
}

// The AND mask: a set bit leaves the screen pixel (transparent). Rows bottom up.
void AndMask(Bytes& out, const Art& art)
{
    const uint32_t stride = RowBytes(art.width, 1);
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<unsigned> row(stride, 0);
        for (int x = 0; x < art.width; ++x)
            if (art.At(x, y).transparent)
                row[static_cast<size_t>(x / 8)] |= 0x80u >> (x % 8);
        for (unsigned b : row)
            out.U8(b);
    }
}

// 8 bits per pixel: index 0 is black, used under transparent pixels; the
// art's colors follow from index 1 in the order they are listed.
Bytes IconImage(const Art& art)
{
    if (art.hasHotspot)
        Fail(art.path, "an icon image has no hot spot");
    if (art.palette.size() > 255)
        Fail(art.path, "an 8-bit image holds at most 255 colors besides transparency");
    const uint32_t stride = RowBytes(art.width, 8);
    const uint32_t imageSize = stride * static_cast<uint32_t>(art.height) +
                               RowBytes(art.width, 1) * static_cast<uint32_t>(art.height);
    Bytes out;
    BitmapHeader(out, art, 8, imageSize);
    RgbQuad(out, 0x000000);
    for (size_t i = 0; i < 255; ++i)
        RgbQuad(out, i < art.palette.size() && !art.palette[i].transparent ? art.palette[i].rgb : 0);
    for (int y = art.height - 1; y >= 0; --y) {
        for (int x = 0; x < art.width; ++x) {
            const PaletteEntry& e = art.At(x, y);
            out.U8(e.transparent ? 0u : static_cast<unsigned>(&e - art.palette.data() + 1));
        }
        for (uint32_t pad = static_cast<uint32_t>(art.width); pad < stride; ++pad)
            out.U8(0);
    }
    AndMask(out, art);
    return out;
}

// 1 bit per pixel: index 0 black, 1 white. Transparent pixels are black with
// the mask bit set.
Bytes CursorImage(const Art& art)
{
    if (!art.hasHotspot)
        Fail(art.path, "a cursor needs a hot spot");
    for (const PaletteEntry& e : art.palette)
        if (!e.transparent && e.rgb != 0x000000 && e.rgb != 0xFFFFFF)
            Fail(art.path, std::string("a cursor is black and white only; '") + e.symbol + "' is neither");
    if (art.At(art.hotX, art.hotY).transparent)
        Fail(art.path, "the hot spot must be an opaque pixel");
    const uint32_t stride = RowBytes(art.width, 1);
    const uint32_t imageSize = 2 * stride * static_cast<uint32_t>(art.height);
    Bytes out;
    BitmapHeader(out, art, 1, imageSize);
    RgbQuad(out, 0x000000);
    RgbQuad(out, 0xFFFFFF);
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<unsigned> row(stride, 0);
        for (int x = 0; x < art.width; ++x) {
            const PaletteEntry& e = art.At(x, y);
            if (!e.transparent && e.rgb == 0xFFFFFF)
                row[static_cast<size_t>(x / 8)] |= 0x80u >> (x % 8);
        }
        for (unsigned b : row)
            out.U8(b);
    }
    AndMask(out, art);
    return out;
}

// The icon or cursor file: a directory of 16-byte entries, then the images.
// In a cursor the planes and bit count fields of an entry hold the hot spot.
void WriteIconFile(const std::string& path, bool cursor, const std::vector<Art>& arts)
{
    std::vector<Bytes> images;
    for (const Art& art : arts)
        images.push_back(cursor ? CursorImage(art) : IconImage(art));
    Bytes out;
    out.U16(0);               // reserved
    out.U16(cursor ? 2 : 1);  // type
    out.U16(static_cast<unsigned>(arts.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * arts.size());
    for (size_t i = 0; i < arts.size(); ++i) {
        const Art& art = arts[i];
        out.U8(art.width == 256 ? 0u : static_cast<unsigned>(art.width));
        out.U8(art.height == 256 ? 0u : static_cast<unsigned>(art.height));
        out.U8(cursor ? 2 : 0);  // colors in the palette; 0 means 256 or more
        out.U8(0);
        out.U16(cursor ? static_cast<unsigned>(art.hotX) : 1);
        out.U16(cursor ? static_cast<unsigned>(art.hotY) : 8);
        out.U32(static_cast<uint32_t>(images[i].size()));
        out.U32(offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        out.Append(image);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(out.data().data(), 1, out.size(), file) == out.size();
    if (file && std::fclose(file) != 0)
        ok = false;
    if (!ok) {
        std::remove(path.c_str());
        Fail(path, "cannot write the file");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    const bool cursor = kind == "cursor";
    if ((kind != "icon" && !cursor) || argc < 4 || (cursor && argc != 4)) {
        std::fprintf(stderr, "usage: mkicon icon OUTPUT.ico ART...\n       mkicon cursor OUTPUT.cur ART\n");
        return 2;
    }
    std::vector<Art> arts;
    for (int i = 3; i < argc; ++i)
        arts.push_back(ReadArt(argv[i]));
    WriteIconFile(argv[2], cursor, arts);
    return 0;
}

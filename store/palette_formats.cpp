#include "store/palette_formats.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// ---- Colour models to 8-bit channels ----
//
// Every colour read ends as three 8-bit channels, rounded to the nearest value
// (halves up) and clamped to 0..255:
//   16-bit channel v (0..65535):         round(v / 257)
//   float channel f (0..1):              round(255 f)
//   grey g (0..1, 0 black):              R = G = B = round(255 g)
//   CMYK c, m, y, k (0..1, 1 full ink):  R = 255 (1 - c)(1 - k), G = 255 (1 - m)(1 - k), B = 255 (1 - y)(1 - k)
//   HSB h (0..360 degrees), s, b (0..1): chroma C = b s, h' = h / 60, X = C (1 - |h' mod 2 - 1|);
//       (R, G, B) = (C, X, 0), (X, C, 0), (0, C, X), (0, X, C), (X, 0, C), (C, 0, X) for h' in
//       [0,1), [1,2), [2,3), [3,4), [4,5), [5,6); each plus b - C, times 255
//   Lab L (0..100), a, b against the D50 white (Xw, Yw, Zw) = (0.96422, 1, 0.82521):
//       fy = (L + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
//       g(t) = t^3 when t > 6/29, else 3 (6/29)^2 (t - 4/29);
//       X = Xw g(fx), Y = Yw g(fy), Z = Zw g(fz);
//       XYZ adapted from D50 to D65 by the Bradford matrix kBradfordD50ToD65, then linear sRGB by
//       kXyzToLinearSrgb; each channel clamped to 0..1 and encoded: 12.92 v up to 0.0031308,
//       else 1.055 v^(1/2.4) - 0.055; times 255.

constexpr double kBradfordD50ToD65[3][3] = {
    {0.9555766, -0.0230393, 0.0631636},
    {-0.0282895, 1.0099416, 0.0210077},
    {0.0122982, -0.0204830, 1.3299098},
};
constexpr double kXyzToLinearSrgb[3][3] = {
    {3.2404542, -1.5371385, -0.4985314},
    {-0.9692660, 1.8760108, 0.0415560},
    {0.0556434, -0.2040259, 1.0572252},
};

uint32_t Channel(double unit)
{
    if (!(unit > 0.0))
        return 0;
    if (unit >= 1.0)
        return 255;
    return static_cast<uint32_t>(std::floor(unit * 255.0 + 0.5));
}

uint32_t ColorRef(double red, double green, double blue)
{
    return Channel(red) | (Channel(green) << 8) | (Channel(blue) << 16);
}

uint32_t Channel16(uint32_t value) { return (value + 128) / 257; }

uint32_t Rgb16(uint32_t red, uint32_t green, uint32_t blue)
{
    return Channel16(red) | (Channel16(green) << 8) | (Channel16(blue) << 16);
}

uint32_t Cmyk(double c, double m, double y, double k)
{
    return ColorRef((1.0 - c) * (1.0 - k), (1.0 - m) * (1.0 - k), (1.0 - y) * (1.0 - k));
}

uint32_t Hsb(double hue, double saturation, double brightness)
{
    const double chroma = brightness * saturation;
    const double sector = std::fmod(hue, 360.0) / 60.0;
    const double x = chroma * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
    const double m = brightness - chroma;
    double rgb[3] = {m, m, m};
    static const int kPlaces[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {2, 0}, {0, 2}};  // (C, X) channels
    const int s = static_cast<int>(sector) % 6;
    rgb[kPlaces[s][0]] += chroma;
    rgb[kPlaces[s][1]] += x;
    return ColorRef(rgb[0], rgb[1], rgb[2]);
}

double LabInverse(double t)
{
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta ? t * t * t : 3.0 * kDelta * kDelta * (t - 4.0 / 29.0);
}

double Encode(double linear)
{
    if (!(linear > 0.0))
        return 0.0;
    if (linear >= 1.0)
        return 1.0;
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

uint32_t Lab(double lightness, double a, double b)
{
    const double fy = (lightness + 16.0) / 116.0;
    const double d50[3] = {0.96422 * LabInverse(fy + a / 500.0), LabInverse(fy), 0.82521 * LabInverse(fy - b / 200.0)};
    double d65[3];
    double rgb[3];
    for (int i = 0; i < 3; ++i)
        d65[i] = kBradfordD50ToD65[i][0] * d50[0] + kBradfordD50ToD65[i][1] * d50[1] + kBradfordD50ToD65[i][2] * d50[2];
    for (int i = 0; i < 3; ++i)
        rgb[i] = Encode(kXyzToLinearSrgb[i][0] * d65[0] + kXyzToLinearSrgb[i][1] * d65[1] +
                        kXyzToLinearSrgb[i][2] * d65[2]);
    return ColorRef(rgb[0], rgb[1], rgb[2]);
}

// ---- Results ----

// Collects the colours of a file: all are counted, the first 128 kept.
struct Collector {
    PaletteRead read;
    void Add(uint32_t color)
    {
        if (read.colors.size() < static_cast<size_t>(kPaletteEntries))
            read.colors.push_back(color & 0x00FFFFFFu);
        ++read.total;
    }
    PaletteRead Finish(PaletteError error = PaletteError::None)
    {
        if (error == PaletteError::None && read.total == 0)
            error = PaletteError::NoColors;
        if (error != PaletteError::None)
            read = PaletteRead{};
        read.error = error;
        return read;
    }
};

PaletteRead Failed(PaletteError error) { return Collector{}.Finish(error); }

// A binary format's signature: absent, cut short, or there.
PaletteError CheckMagic(const uint8_t* data, size_t size, const char* magic, size_t length)
{
    if (size == 0)
        return PaletteError::NoColors;
    if (std::memcmp(data, magic, size < length ? size : length) != 0)
        return PaletteError::NotThisFormat;
    return size < length ? PaletteError::Truncated : PaletteError::None;
}

// ---- Big-endian bytes ----

// A window on bytes; every read is preceded by Has() for its length.
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos;
    bool Has(size_t count) const { return count <= size - pos; }
    uint32_t U16()
    {
        const uint32_t value = static_cast<uint32_t>(data[pos]) << 8 | data[pos + 1];
        pos += 2;
        return value;
    }
    uint32_t U32()
    {
        const uint32_t high = U16();
        return high << 16 | U16();
    }
    float F32()
    {
        const uint32_t bits = U32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFFu);
}

void PutF32(std::vector<uint8_t>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Put32(out, bits);
}

void PutUtf16(std::vector<uint8_t>& out, const std::u16string& text)
{
    for (char16_t unit : text)
        Put16(out, unit);
    Put16(out, 0);
}

uint32_t RedOf(uint32_t c) { return c & 0xFFu; }
uint32_t GreenOf(uint32_t c) { return (c >> 8) & 0xFFu; }
uint32_t BlueOf(uint32_t c) { return (c >> 16) & 0xFFu; }

// "#rrggbb", the name every writer gives a colour.
std::string HexName(uint32_t color)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (uint32_t channel : {RedOf(color), GreenOf(color), BlueOf(color)}) {
        text += kDigits[channel >> 4];
        text += kDigits[channel & 15];
    }
    return text;
}

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// ---- Adobe Swatch Exchange ----

constexpr uint32_t kAseColorBlock = 0x0001;
constexpr uint32_t kAseGroupStart = 0xC001;
constexpr uint32_t kAseGroupEnd = 0xC002;

bool InUnit(float v) { return v >= 0.0f && v <= 1.0f; }
bool InRange(float v, float low, float high) { return v >= low && v <= high; }

// One colour block's body: name, model, values, type.
PaletteError ReadAseColor(Cursor block, uint32_t& color)
{
    if (!block.Has(2))
        return PaletteError::Malformed;
    const size_t nameBytes = 2 * size_t{block.U16()};
    if (!block.Has(nameBytes + 4))
        return PaletteError::Malformed;
    block.pos += nameBytes;
    char model[4];
    std::memcpy(model, block.data + block.pos, sizeof model);
    block.pos += 4;
    const bool rgb = std::memcmp(model, "RGB ", 4) == 0, cmyk = std::memcmp(model, "CMYK", 4) == 0;
    const bool lab = std::memcmp(model, "LAB ", 4) == 0;
    const bool gray = std::memcmp(model, "Gray", 4) == 0 || std::memcmp(model, "GRAY", 4) == 0;
    const size_t count = rgb || lab ? 3 : cmyk ? 4 : gray ? 1 : 0;
    if (count == 0)
        return PaletteError::Unsupported;
    if (!block.Has(4 * count))
        return PaletteError::Malformed;
    float v[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < count; ++i)
        v[i] = block.F32();
    if (lab) {
        if (!InUnit(v[0]) || !InRange(v[1], -128, 128) || !InRange(v[2], -128, 128))
            return PaletteError::OutOfRange;
        color = Lab(100.0 * v[0], v[1], v[2]);
        return PaletteError::None;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!InUnit(v[i]))
            return PaletteError::OutOfRange;
    }
    color = rgb ? ColorRef(v[0], v[1], v[2]) : cmyk ? Cmyk(v[0], v[1], v[2], v[3]) : ColorRef(v[0], v[0], v[0]);
    return PaletteError::None;
}

// "ASEF", version 1.x, the block count, then blocks of type, length and body.
// Groups are flattened; blocks of other types are passed over.
PaletteRead ReadAse(const uint8_t* data, size_t size)
{
    const PaletteError magic = CheckMagic(data, size, "ASEF", 4);
    if (magic != PaletteError::None)
        return Failed(magic);
    Cursor in{data, size, 4};
    if (!in.Has(8))
        return Failed(PaletteError::Truncated);
    if (in.U16() != 1)
        return Failed(PaletteError::Unsupported);
    in.pos += 2;  // minor version
    Collector colors;
    for (uint32_t blocks = in.U32(); blocks > 0; --blocks) {
        if (!in.Has(6))
            return colors.Finish(PaletteError::Truncated);
        const uint32_t type = in.U16();
        const uint32_t length = in.U32();
        if (!in.Has(length))
            return colors.Finish(PaletteError::Truncated);
        const Cursor block{data + in.pos, length, 0};
        in.pos += length;
        if (type != kAseColorBlock)
            continue;
        uint32_t color = 0;
        const PaletteError error = ReadAseColor(block, color);
        if (error != PaletteError::None)
            return colors.Finish(error);
        colors.Add(color);
    }
    return colors.Finish();
}

void PutAseBlock(std::vector<uint8_t>& out, uint32_t type, const std::vector<uint8_t>& body)
{
    Put16(out, type);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

// One group named after the palette holding the 128 colours as RGB.
std::vector<uint8_t> WriteAse(const uint32_t (&colors)[kPaletteEntries], const std::u16string& name)
{
    std::vector<uint8_t> out = {'A', 'S', 'E', 'F', 0, 1, 0, 0};
    Put32(out, kPaletteEntries + 2);
    const std::u16string groupName = name.substr(0, 0xFFFE);  // the length, terminator included, is 16-bit
    std::vector<uint8_t> body;
    Put16(body, static_cast<uint32_t>(groupName.size() + 1));
    PutUtf16(body, groupName);
    PutAseBlock(out, kAseGroupStart, body);
    for (uint32_t color : colors) {
        body.clear();
        const std::u16string colorName = Utf16(HexName(color));
        Put16(body, static_cast<uint32_t>(colorName.size() + 1));
        PutUtf16(body, colorName);
        body.insert(body.end(), {'R', 'G', 'B', ' '});
        for (uint32_t channel : {RedOf(color), GreenOf(color), BlueOf(color)})
            PutF32(body, static_cast<float>(channel / 255.0));
        Put16(body, 2);  // a normal (process) colour
        PutAseBlock(out, kAseColorBlock, body);
    }
    PutAseBlock(out, kAseGroupEnd, {});
    return out;
}

// ---- Adobe colour swatches ----

// One entry's colour space and its four 16-bit values.
PaletteError AcoColor(uint32_t space, const uint32_t (&v)[4], uint32_t& color)
{
    const auto signedValue = [](uint32_t value) { return static_cast<int32_t>(value) - (value >= 0x8000u ? 0x10000 : 0); };
    switch (space) {
    case 0:  // RGB
        color = Rgb16(v[0], v[1], v[2]);
        return PaletteError::None;
    case 1:  // HSB, the hue 0..65535 for 0..360 degrees
        color = Hsb(v[0] * 360.0 / 65535.0, v[1] / 65535.0, v[2] / 65535.0);
        return PaletteError::None;
    case 2:  // CMYK, 65535 for no ink and 0 for full ink
        color = Cmyk(1.0 - v[0] / 65535.0, 1.0 - v[1] / 65535.0, 1.0 - v[2] / 65535.0, 1.0 - v[3] / 65535.0);
        return PaletteError::None;
    case 7: {  // Lab: L 0..10000, a and b signed -12800..12700, all in hundredths
        const int32_t a = signedValue(v[1]), b = signedValue(v[2]);
        if (v[0] > 10000 || a < -12800 || a > 12700 || b < -12800 || b > 12700)
            return PaletteError::OutOfRange;
        color = Lab(v[0] / 100.0, a / 100.0, b / 100.0);
        return PaletteError::None;
    }
    case 8:  // grey as the share of black ink: 0 white, 10000 black
        if (v[0] > 10000)
            return PaletteError::OutOfRange;
        color = ColorRef((10000 - v[0]) / 10000.0, (10000 - v[0]) / 10000.0, (10000 - v[0]) / 10000.0);
        return PaletteError::None;
    default:  // colour books (Pantone, Focoltone, ...) and models without a published meaning
        return PaletteError::Unsupported;
    }
}

// One section: its count, then entries of a colour space and four values,
// in version 2 each followed by a UTF-16 name with its length.
PaletteError ReadAcoSection(Cursor& in, uint32_t version, Collector& colors)
{
    if (!in.Has(2))
        return PaletteError::Truncated;
    for (uint32_t count = in.U16(); count > 0; --count) {
        if (!in.Has(10))
            return PaletteError::Truncated;
        const uint32_t space = in.U16();
        const uint32_t values[4] = {in.U16(), in.U16(), in.U16(), in.U16()};
        if (version == 2) {
            if (!in.Has(4))
                return PaletteError::Truncated;
            const size_t units = in.U32();
            if (!in.Has(units) || !in.Has(2 * units))
                return PaletteError::Truncated;
            in.pos += 2 * units;
        }
        uint32_t color = 0;
        const PaletteError error = AcoColor(space, values, color);
        if (error != PaletteError::None)
            return error;
        colors.Add(color);
    }
    return PaletteError::None;
}

// A version 1 section, then the named version 2 section when bytes follow (its
// colours are the ones taken); or a file that begins with version 2.
PaletteRead ReadAco(const uint8_t* data, size_t size)
{
    if (size == 0)
        return Failed(PaletteError::NoColors);
    if (data[0] != 0 || (size >= 2 && data[1] != 1 && data[1] != 2))
        return Failed(PaletteError::NotThisFormat);
    if (size < 2)
        return Failed(PaletteError::Truncated);
    Cursor in{data, size, 0};
    const uint32_t version = in.U16();
    Collector first;
    PaletteError error = ReadAcoSection(in, version, first);
    if (error != PaletteError::None || version == 2 || !in.Has(1))
        return first.Finish(error);
    if (!in.Has(2))
        return Failed(PaletteError::Truncated);
    if (in.U16() != 2)
        return Failed(PaletteError::Malformed);
    Collector second;
    error = ReadAcoSection(in, 2, second);
    return second.Finish(error);
}

// Both sections, the colours as 16-bit RGB, in version 2 named "#rrggbb".
std::vector<uint8_t> WriteAco(const uint32_t (&colors)[kPaletteEntries])
{
    std::vector<uint8_t> out;
    for (uint32_t version : {1u, 2u}) {
        Put16(out, version);
        Put16(out, kPaletteEntries);
        for (uint32_t color : colors) {
            Put16(out, 0);
            for (uint32_t channel : {RedOf(color), GreenOf(color), BlueOf(color), 0u})
                Put16(out, channel * 257);
            if (version == 2) {
                const std::u16string name = Utf16(HexName(color));
                Put32(out, static_cast<uint32_t>(name.size() + 1));
                PutUtf16(out, name);
            }
        }
    }
    return out;
}

// ---- Text lines ----

// The lines of a text file: split at line feeds, a UTF-8 byte order mark at
// the start passed over. A carriage return before a line feed is one of the
// spaces every reader trims.
class Lines {
public:
    Lines(const uint8_t* data, size_t size) : text_(reinterpret_cast<const char*>(data), size)
    {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            text_.remove_prefix(3);
    }
    bool Next(std::string_view& line)
    {
        if (done_)
            return false;
        const size_t end = text_.find('\n');
        done_ = end == std::string_view::npos;
        line = text_.substr(0, end);
        text_.remove_prefix(done_ ? text_.size() : end + 1);
        done_ = done_ || text_.empty();
        return true;
    }

private:
    std::string_view text_;
    bool done_ = false;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal number, spaces before it passed over, a minus sign allowed; the
// text after it is left in `text`. Past nine digits it stays at 10^9, so
// nothing overflows and any such number is out of every range.
bool TakeNumber(std::string_view& text, int64_t& number)
{
    text = TrimLeft(text);
    const bool negative = !text.empty() && text.front() == '-';
    size_t i = negative ? 1 : 0;
    const size_t first = i;
    number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        number = number >= 1000000000 ? number : number * 10 + (text[i] - '0');
    if (i == first)
        return false;
    number = negative ? -number : number;
    text.remove_prefix(i);
    return true;
}

// "R G B" at the start of a line, each 0..255; the rest of the line, which
// must be empty or begin with a space, is left in `text`.
PaletteError TakeRgb(std::string_view& text, uint32_t& color)
{
    int64_t v[3];
    for (int64_t& channel : v) {
        if (!TakeNumber(text, channel))
            return PaletteError::Malformed;
    }
    if (!text.empty() && !IsSpace(text.front()))
        return PaletteError::Malformed;
    for (int64_t channel : v) {
        if (channel < 0 || channel > 255)
            return PaletteError::OutOfRange;
    }
    color = static_cast<uint32_t>(v[0] | v[1] << 8 | v[2] << 16);
    return PaletteError::None;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void PutText(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// The palette name as UTF-8 on one line: control characters become spaces and
// a lone surrogate the replacement character.
std::string Utf8Line(const std::u16string& name)
{
    std::string text;
    for (size_t i = 0; i < name.size(); ++i) {
        uint32_t c = name[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00u);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x20 || c == 0x7F)
            c = ' ';
        const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static const uint32_t kLead[4] = {0x00, 0xC0, 0xE0, 0xF0};
        text += static_cast<char>(kLead[extra] | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k)
            text += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return text;
}

// A text format's first line, which is its signature.
PaletteError FirstLine(Lines& lines, size_t size, std::string_view signature)
{
    std::string_view line;
    if (size == 0)
        return PaletteError::NoColors;
    return lines.Next(line) && Trim(line) == signature ? PaletteError::None : PaletteError::NotThisFormat;
}

// ---- GIMP palette ----

// "GIMP Palette", then lines of "R G B" and an optional name, among "#"
// comments, "Name:" and "Columns:" lines and blank lines.
PaletteRead ReadGpl(const uint8_t* data, size_t size)
{
    Lines lines(data, size);
    std::string_view line;
    const PaletteError start = FirstLine(lines, size, "GIMP Palette");
    if (start != PaletteError::None)
        return Failed(start);
    Collector colors;
    while (lines.Next(line)) {
        line = TrimLeft(line);
        if (line.empty() || line.front() == '#' || StartsWith(line, "Name:") || StartsWith(line, "Columns:"))
            continue;
        uint32_t color = 0;
        const PaletteError error = TakeRgb(line, color);
        if (error != PaletteError::None)
            return colors.Finish(error);
        colors.Add(color);
    }
    return colors.Finish();
}

std::vector<uint8_t> WriteGpl(const uint32_t (&colors)[kPaletteEntries], const std::u16string& name)
{
    std::vector<uint8_t> out;
    PutText(out, "GIMP Palette\nName: " + Utf8Line(name) + "\nColumns: 16\n#\n");
    for (uint32_t color : colors) {
        char line[32];
        std::snprintf(line, sizeof line, "%3u %3u %3u\t", RedOf(color), GreenOf(color), BlueOf(color));
        PutText(out, line + HexName(color) + "\n");
    }
    return out;
}

// ---- JASC palette ----

// "JASC-PAL", "0100", the count, then that many "R G B" lines.
PaletteRead ReadJasc(const uint8_t* data, size_t size)
{
    Lines lines(data, size);
    std::string_view line;
    const PaletteError start = FirstLine(lines, size, "JASC-PAL");
    if (start != PaletteError::None)
        return Failed(start);
    if (!lines.Next(line))
        return Failed(PaletteError::Truncated);
    if (Trim(line) != "0100")
        return Failed(PaletteError::Unsupported);
    int64_t count = 0;
    if (!lines.Next(line))
        return Failed(PaletteError::Truncated);
    if (!TakeNumber(line, count) || count < 0 || !Trim(line).empty())
        return Failed(PaletteError::Malformed);
    Collector colors;
    for (; count > 0; --count) {
        if (!lines.Next(line))
            return colors.Finish(PaletteError::Truncated);
        uint32_t color = 0;
        PaletteError error = TakeRgb(line, color);
        if (error == PaletteError::None && !Trim(line).empty())
            error = PaletteError::Malformed;
        if (error != PaletteError::None)
            return colors.Finish(error);
        colors.Add(color);
    }
    return colors.Finish();
}

std::vector<uint8_t> WriteJasc(const uint32_t (&colors)[kPaletteEntries])
{
    std::vector<uint8_t> out;
    PutText(out, "JASC-PAL\r\n0100\r\n" + std::to_string(kPaletteEntries) + "\r\n");
    for (uint32_t color : colors)
        PutText(out, std::to_string(RedOf(color)) + " " + std::to_string(GreenOf(color)) + " " +
                         std::to_string(BlueOf(color)) + "\r\n");
    return out;
}

// ---- Paint.NET palette and plain hex list ----

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly `digits` hexadecimal digits; the last six are RRGGBB.
bool ParseHexColor(std::string_view text, size_t digits, uint32_t& color)
{
    if (text.size() != digits)
        return false;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    color = ((value >> 16) & 0xFFu) | (value & 0xFF00u) | ((value & 0xFFu) << 16);
    return true;
}

// One colour of `digits` hex digits a line (an optional "#" before them in a
// plain list); in Paint.NET files ";" begins a comment. A file whose first
// such line is no colour is not of this format.
PaletteRead ReadHexLines(const uint8_t* data, size_t size, bool paintNet)
{
    Lines lines(data, size);
    std::string_view line;
    Collector colors;
    while (lines.Next(line)) {
        if (paintNet)
            line = line.substr(0, line.find(';'));
        line = Trim(line);
        if (line.empty())
            continue;
        if (!paintNet && line.front() == '#')
            line.remove_prefix(1);
        uint32_t color = 0;
        if (!ParseHexColor(line, paintNet ? 8 : 6, color))
            return colors.Finish(colors.read.total == 0 ? PaletteError::NotThisFormat : PaletteError::Malformed);
        colors.Add(color);
    }
    return colors.Finish();
}

// Paint.NET: a header comment with the palette's name, then FFRRGGBB lines.
// A plain list: rrggbb lines.
std::vector<uint8_t> WriteHexLines(const uint32_t (&colors)[kPaletteEntries], const std::u16string& name,
                                   bool paintNet)
{
    std::vector<uint8_t> out;
    if (paintNet)
        PutText(out, "; paint.net Palette File\r\n; " + Utf8Line(name) + "\r\n; Colors: 128\r\n");
    for (uint32_t color : colors) {
        char line[16];
        std::snprintf(line, sizeof line, paintNet ? "FF%02X%02X%02X\r\n" : "%02x%02x%02x\r\n", RedOf(color),
                      GreenOf(color), BlueOf(color));
        PutText(out, line);
    }
    return out;
}

// ---- The program's own .tbp ----

// The entries as they lie in the first 512 bytes; an entry cut short replaces
// only the bytes it holds (see ApplyPaletteRead), the bytes past 512 are not read.
PaletteRead ReadTbp(const uint8_t* data, size_t size)
{
    const size_t used = size < kPaletteFileSize ? size : kPaletteFileSize;
    Collector colors;
    for (size_t i = 0; i < used; i += 4) {
        uint32_t color = 0;
        for (size_t b = 0; b < 3 && i + b < used; ++b)
            color |= static_cast<uint32_t>(data[i + b]) << (8 * b);
        colors.Add(color);
    }
    PaletteRead read = colors.Finish();
    if (read.error == PaletteError::None)
        read.partialBytes = used % 4;
    return read;
}

std::vector<uint8_t> WriteTbp(const uint32_t (&colors)[kPaletteEntries])
{
    std::vector<uint8_t> out;
    for (uint32_t color : colors)
        out.insert(out.end(), {static_cast<uint8_t>(RedOf(color)), static_cast<uint8_t>(GreenOf(color)),
                               static_cast<uint8_t>(BlueOf(color)), 0});
    return out;
}

// ---- Names and signatures ----

struct FormatName {
    PaletteFormat format;
    const char* extension;
};
constexpr FormatName kFormats[kPaletteFormatCount] = {
    {PaletteFormat::Tbp, ".tbp"},  {PaletteFormat::Gpl, ".gpl"},      {PaletteFormat::Ase, ".ase"},
    {PaletteFormat::Aco, ".aco"},  {PaletteFormat::Jasc, ".pal"},     {PaletteFormat::PaintNet, ".txt"},
    {PaletteFormat::Hex, ".hex"},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

// The format whose signature the text begins with; Tbp for none.
PaletteFormat FormatOfContent(std::string_view text)
{
    if (StartsWith(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (StartsWith(text, "GIMP Palette"))
        return PaletteFormat::Gpl;
    if (StartsWith(text, "ASEF"))
        return PaletteFormat::Ase;
    if (StartsWith(text, "JASC-PAL"))
        return PaletteFormat::Jasc;
    if (StartsWith(text, ";")) {
        const std::string_view rest = TrimLeft(text.substr(1));
        if (EqualNoCase(rest.substr(0, 9), "paint.net"))
            return PaletteFormat::PaintNet;
    }
    return PaletteFormat::Tbp;
}

}  // namespace

PaletteFormat DetectPaletteFormat(const std::string& fileName, const uint8_t* data, size_t size)
{
    // A code page 932 trail byte is never a dot, and a lead byte never an ASCII
    // letter, so comparing bytes finds only a real extension.
    const size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && fileName.find_first_of("\\/", dot) == std::string::npos) {
        const std::string_view extension = std::string_view(fileName).substr(dot);
        for (const FormatName& known : kFormats) {
            if (EqualNoCase(extension, known.extension))
                return known.format;
        }
    }
    return FormatOfContent(std::string_view(reinterpret_cast<const char*>(data), size));
}

const char* PaletteFormatExtension(PaletteFormat format)
{
    for (const FormatName& known : kFormats) {
        if (known.format == format)
            return known.extension;
    }
    return ".tbp";
}

PaletteRead ReadPaletteFormat(PaletteFormat format, const uint8_t* data, size_t size)
{
    if (size > kPaletteFileLimit)
        return Failed(PaletteError::TooLarge);
    switch (format) {
    case PaletteFormat::Gpl: return ReadGpl(data, size);
    case PaletteFormat::Ase: return ReadAse(data, size);
    case PaletteFormat::Aco: return ReadAco(data, size);
    case PaletteFormat::Jasc: return ReadJasc(data, size);
    case PaletteFormat::PaintNet: return ReadHexLines(data, size, true);
    case PaletteFormat::Hex: return ReadHexLines(data, size, false);
    case PaletteFormat::Tbp: break;
    }
    return ReadTbp(data, size);
}

std::vector<uint8_t> WritePaletteFormat(PaletteFormat format, const uint32_t (&colors)[kPaletteEntries],
                                        const std::u16string& name)
{
    switch (format) {
    case PaletteFormat::Gpl: return WriteGpl(colors, name);
    case PaletteFormat::Ase: return WriteAse(colors, name);
    case PaletteFormat::Aco: return WriteAco(colors);
    case PaletteFormat::Jasc: return WriteJasc(colors);
    case PaletteFormat::PaintNet: return WriteHexLines(colors, name, true);
    case PaletteFormat::Hex: return WriteHexLines(colors, name, false);
    case PaletteFormat::Tbp: break;
    }
    return WriteTbp(colors);
}

bool ApplyPaletteRead(const PaletteRead& read, uint32_t (&palette)[kPaletteEntries])
{
    if (read.error != PaletteError::None)
        return false;
    const size_t count = read.colors.size() < size_t{kPaletteEntries} ? read.colors.size() : size_t{kPaletteEntries};
    for (size_t i = 0; i < count; ++i) {
        uint32_t mask = 0x00FFFFFFu;
        if (i + 1 == count && read.partialBytes > 0 && read.partialBytes < 4)
            mask = (1u << (8 * read.partialBytes)) - 1;
        palette[i] = ((palette[i] & ~mask) | (read.colors[i] & mask)) & 0x00FFFFFFu;
    }
    return true;
}

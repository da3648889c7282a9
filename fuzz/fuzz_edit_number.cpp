// ReadEditNumber on any text, checked against a reading of its own; then three
// such numbers go through the stage-one limits into the color, which must come
// out with every field in range and every copy text within its bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "color/color.h"
#include "color/color_text.h"
#include "color/edit_number.h"
#include "fuzz/fuzz_check.h"

namespace {

// The documented reading done on strings: spaces, then the digits; no digits,
// or a number past 4294967295, is 0; the unsigned number taken as signed.
int32_t ExpectedNumber(const std::string& text)
{
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return 0;
    const size_t end = text.find_first_not_of("0123456789", start);
    std::string digits = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (digits.empty())
        return 0;
    const size_t nonZero = digits.find_first_not_of('0');
    if (nonZero == std::string::npos)
        return 0;
    digits.erase(0, nonZero);
    if (digits.size() > 10 || (digits.size() == 10 && digits > "4294967295"))
        return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(std::stoull(digits)));
}

// Below 2^31, where a number is never negative.
bool BelowSignBit(const std::string& text)
{
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return true;
    const size_t end = text.find_first_not_of("0123456789", start);
    std::string digits = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t nonZero = digits.find_first_not_of('0');
    if (nonZero == std::string::npos)
        return true;
    digits.erase(0, nonZero);
    return digits.size() < 10 || (digits.size() == 10 && digits < "2147483648");
}

// The limits the command applies to a number read from an edit.
int32_t Limit(int32_t number, int32_t highest)
{
    return number < 0 ? 0 : (number > highest ? highest : number);
}

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

// A channel's hex text: two digits of the current letter case, reading back as the channel.
void CheckHexText(const char (&hex)[3], int32_t channel)
{
    const char* digits = g_textForm.HexCase == 0 ? "0123456789abcdef" : "0123456789ABCDEF";
    FUZZ_CHECK(hex[2] == '\0');
    FUZZ_CHECK(hex[0] != '\0' && std::strchr(digits, hex[0]) != nullptr);
    FUZZ_CHECK(hex[1] != '\0' && std::strchr(digits, hex[1]) != nullptr);
    FUZZ_CHECK(ParseHex(hex) == channel);
}

void CheckColor()
{
    FUZZ_CHECK(InRange(g_current.red, 0, 255));
    FUZZ_CHECK(InRange(g_current.green, 0, 255));
    FUZZ_CHECK(InRange(g_current.blue, 0, 255));
    FUZZ_CHECK(InRange(g_current.hue, 0, 359));
    FUZZ_CHECK(InRange(g_current.saturation, 0, 100));
    FUZZ_CHECK(InRange(g_current.value, 0, 100));
    CheckHexText(g_current.redHex, g_current.red);
    CheckHexText(g_current.greenHex, g_current.green);
    CheckHexText(g_current.blueHex, g_current.blue);
}

// Every copy form of the current color: at most 20 characters, terminated,
// and exactly the text the form describes.
void CheckCopyTexts()
{
    for (int32_t format = 0; format <= 5; ++format) {
        for (int32_t sharp = 0; sharp <= 1; ++sharp) {
            g_textForm.CopyFormat = format;
            g_textForm.SharpPrefix = sharp;
            char text[kCopyTextSize];
            std::memset(text, 'x', sizeof text);
            FormatCopyText(text, sizeof text);
            const size_t length = strnlen(text, sizeof text);
            FUZZ_CHECK(length < sizeof text);
            FUZZ_CHECK(length <= 20);
            std::string expected;
            if (format == 0) {
                expected = std::string(sharp != 0 ? "#" : "") + g_current.redHex + g_current.greenHex + g_current.blueHex;
            } else if (format == 1) {
                expected = "RGB( " + std::to_string(g_current.red) + ", " + std::to_string(g_current.green) + ", " +
                           std::to_string(g_current.blue) + " )";
            } else if (format == 2) {
                expected = std::to_string(g_current.red + 256 * g_current.green + 65536 * g_current.blue);
            } else if (format == 3) {
                expected = "rgb(" + std::to_string(g_current.red) + " " + std::to_string(g_current.green) + " " +
                           std::to_string(g_current.blue) + ")";
            }
            if (format == 4)
                FUZZ_CHECK(std::strncmp(text, "hsl(", 4) == 0 && length > 6 && std::strcmp(text + length - 2, "%)") == 0);
            else
                FUZZ_CHECK(expected == text);
            for (size_t i = length; i < sizeof text; ++i)
                FUZZ_CHECK(text[i] == '\0');
        }
    }
    g_textForm.CopyFormat = 0;
    g_textForm.SharpPrefix = 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string text(bytes, strnlen(bytes, size));
    const int32_t number = ReadEditNumber(text.c_str());
    FUZZ_CHECK(number == ExpectedNumber(text));
    if (BelowSignBit(text))
        FUZZ_CHECK(number >= 0);

    // Three edits' texts: the input cut at its first two line ends.
    std::string fields[3];
    size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t cut = i < 2 ? text.find('\n', from) : std::string::npos;
        fields[i] = text.substr(from, cut == std::string::npos ? std::string::npos : cut - from);
        if (cut == std::string::npos) {
            from = text.size();
        } else {
            from = cut + 1;
        }
    }
    int32_t read[3];
    for (int i = 0; i < 3; ++i)
        read[i] = ReadEditNumber(fields[i].c_str());

    for (int32_t hexCase = 0; hexCase <= 1; ++hexCase) {
        g_textForm.HexCase = hexCase;

        // Red, green and blue edits.
        std::memset(&g_current, 0, sizeof g_current);
        g_current.red = Limit(read[0], 255);
        g_current.green = Limit(read[1], 255);
        g_current.blue = Limit(read[2], 255);
        const Rgb typed{g_current.red, g_current.green, g_current.blue};
        CompleteFromRgb();
        FUZZ_CHECK(g_current.red == typed.red && g_current.green == typed.green && g_current.blue == typed.blue);
        CheckColor();
        CheckCopyTexts();

        // Hue, saturation and value edits: they stay as typed, the channels follow.
        std::memset(&g_current, 0, sizeof g_current);
        g_current.hue = Limit(read[0], 359);
        g_current.saturation = Limit(read[1], 100);
        g_current.value = Limit(read[2], 100);
        const int32_t hue = g_current.hue;
        const int32_t saturation = g_current.saturation;
        const int32_t value = g_current.value;
        CompleteFromHsv();
        FUZZ_CHECK(g_current.hue == hue && g_current.saturation == saturation && g_current.value == value);
        CheckColor();
        CheckCopyTexts();
    }
    g_textForm.HexCase = 0;
    return 0;
}

// ParseHex on any text, checked against a digit table of its own, and FormatHex
// of the result in both letter cases read back by ParseHex.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "color/color.h"
#include "fuzz/fuzz_check.h"
#include "color/color_text.h"

namespace {

// The value of one hexadecimal digit in either case; any other character is 0.
int32_t DigitValue(char c)
{
    static const char kLower[] = "0123456789abcdef";
    static const char kUpper[] = "0123456789ABCDEF";
    for (int32_t i = 0; i < 16; ++i) {
        if (c == kLower[i] || c == kUpper[i])
            return i;
    }
    return 0;
}

int32_t ExpectedHex(const std::string& text)
{
    if (text.empty())
        return 0;
    if (text.size() == 1)
        return DigitValue(text[0]);
    return 16 * DigitValue(text[0]) + DigitValue(text[1]);
}

bool AllOf(const char* text, const char* alphabet)
{
    for (; *text != '\0'; ++text) {
        if (std::strchr(alphabet, *text) == nullptr)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The text a hex edit would hand over: the bytes up to the first NUL.
    const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    const int32_t value = ParseHex(text.c_str());
    FUZZ_CHECK(value >= 0 && value <= 255);
    FUZZ_CHECK(value == ExpectedHex(text));

    for (int32_t hexCase = 0; hexCase <= 1; ++hexCase) {
        g_textForm.HexCase = hexCase;
        // Exactly the three bytes of a channel's hex text, so a write past them is caught.
        std::unique_ptr<char[]> hex(new char[3]);
        std::memset(hex.get(), 'x', 3);
        FormatHex(value, hex.get(), 3);
        FUZZ_CHECK(hex[2] == '\0');
        FUZZ_CHECK(std::strlen(hex.get()) == 2);
        FUZZ_CHECK(AllOf(hex.get(), hexCase == 0 ? "0123456789abcdef" : "0123456789ABCDEF"));
        FUZZ_CHECK(ParseHex(hex.get()) == value);

        // A larger buffer is cleared beyond the two characters.
        char wide[8];
        std::memset(wide, 'x', sizeof wide);
        FormatHex(value, wide, sizeof wide);
        FUZZ_CHECK(std::strcmp(wide, hex.get()) == 0);
        for (size_t i = 2; i < sizeof wide; ++i)
            FUZZ_CHECK(wide[i] == '\0');
    }

    // Any other letter case writes nothing; any value stays inside the buffer.
    int32_t other = 0;
    std::memcpy(&other, data, size < sizeof other ? size : sizeof other);
    g_textForm.HexCase = (other & 1) != 0 ? 2 : -1;
    char cleared[3] = {'x', 'x', 'x'};
    FormatHex(value, cleared, sizeof cleared);
    FUZZ_CHECK(cleared[0] == '\0' && cleared[1] == '\0' && cleared[2] == '\0');
    g_textForm.HexCase = 1;
    std::unique_ptr<char[]> any(new char[3]);
    FormatHex(other, any.get(), 3);
    FUZZ_CHECK(any[2] == '\0');
    g_textForm.HexCase = 0;
    return 0;
}

#include "store/profile_section.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// 0..9 for the digits, 10..35 for the letters in either case, 99 for anything else.
uint32_t DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return static_cast<uint32_t>(c - 'A' + 10);
    return 99;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(const std::string& a, const char* b)
{
    const size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The value as the profile functions copy it into a buffer of `capacity`
// characters: an opening quote (" or ') that the last character matches is
// dropped, at most capacity - 1 characters are kept, and then one more goes
// if the quoted text fitted (the closing quote, unless the buffer cut it off).
std::string Copied(const std::string& value, size_t capacity)
{
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    const std::string rest = quoted ? value.substr(1) : value;
    std::string copy = rest.substr(0, capacity - 1);
    if (quoted && capacity >= rest.size() && !copy.empty())
        copy.pop_back();
    return copy;
}

}  // namespace

ProfileSection::ProfileSection(const char* block, size_t size)
{
    size_t start = 0;
    while (start < size) {
        const size_t length = strnlen(block + start, size - start);
        if (length == 0)
            break;  // the empty string that closes the block
        const std::string line(block + start, length);
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            lines_.push_back({Trimmed(line), std::string(), false});
        else
            lines_.push_back({Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), true});
        start += length + 1;
    }
}

bool ProfileSection::SameLines(const ProfileSection& other) const
{
    if (lines_.size() != other.lines_.size())
        return false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& a = lines_[i];
        const Line& b = other.lines_[i];
        if (a.key != b.key || a.hasValue != b.hasValue || a.value != b.value)
            return false;
    }
    return true;
}

const ProfileSection::Line* ProfileSection::Find(const char* key) const
{
    for (const Line& line : lines_)
        if (SameKey(line.key, key))
            return &line;
    return nullptr;
}

std::string ProfileSection::String(const char* key, const std::string& fallback, size_t capacity) const
{
    const Line* line = Find(key);
    return Copied(line != nullptr && line->hasValue ? line->value : fallback, capacity);
}

int32_t ProfileSection::Int(const char* key, int32_t fallback) const
{
    // The platform reads the value into a buffer of 30 characters first.
    const std::string text = String(key, std::string(), 30);
    if (text.empty())
        return fallback;
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        base = prefix == 'x' ? 16u : (prefix == 'o' ? 8u : (prefix == 'b' ? 2u : 10u));
        if (base != 10)
            i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const uint32_t digit = DigitValue(text[i]);
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return static_cast<int32_t>(negative ? 0u - total : total);
}

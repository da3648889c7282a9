#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "color/edit_number.h"

namespace {

struct Reading {
    const char* text;
    int32_t number;
};

// What the decimal edits can hold (three characters) and what can only be set
// from code, read the documented way.
const Reading kReadings[] = {
    {"", 0},
    {"0", 0},
    {"7", 7},
    {"12", 12},
    {"255", 255},
    {"359", 359},
    {"999", 999},
    {"007", 7},
    {"12a", 12},
    {"1a2", 1},
    {"1 2", 1},
    {"5.9", 5},
    {" 12", 12},
    {"  7", 7},
    {" ", 0},
    {"   ", 0},
    {"a", 0},
    {"a12", 0},
    {"x10", 0},
    {"0x1", 0},
    {"+", 0},
    {"-", 0},
    {"+5", 0},
    {"-5", 0},
    {"-0", 0},
    {" -5", 0},
    {" +5", 0},
    {"\t5", 0},
    {"\n5", 0},
    {"\r5", 0},
    {"\v5", 0},
    {"\f5", 0},
    {"5\t", 5},
    {"\x82\x54", 0},       // a full-width 5 in code page 932
    {"\x81\x40" "5", 0},   // a full-width space first
    {"\xA0" "5", 0},
    {"\xFF", 0},
    {"5\xFF", 5},
    {"42\x81", 42},
    {"2147483647", 2147483647},
    {"2147483648", INT32_MIN},
    {"3000000000", -1294967296},
    {"4294967295", -1},
    {"4294967296", 0},
    {"99999999999", 0},
    {"18446744073709551621", 0},  // 2^64 + 5: no number, not a wrapped 5
    {"18446744073709551616", 0},  // 2^64
    {"36893488147419103242", 0},  // 2^65 + 10
    {"00000000004294967295", -1},
    {"00000000000000000000000000000000000000042", 42},
};

TEST(ReadEditNumber, ReadsTheTable)
{
    for (const Reading& r : kReadings)
        EXPECT_EQ(ReadEditNumber(r.text), r.number) << "text \"" << r.text << "\"";
}

TEST(ReadEditNumber, NullReadsAsEmpty)
{
    EXPECT_EQ(ReadEditNumber(nullptr), 0);
}

TEST(ReadEditNumber, LongTextsAreReadWithoutWrapping)
{
    // Far more digits than any number holds: once past the unsigned range it
    // stays 0 however the later digits would wrap it.
    std::string ones(100000, '1');
    EXPECT_EQ(ReadEditNumber(ones.c_str()), 0);
    std::string power = "1" + std::string(32, '0');  // 10^32, which is 0 modulo 2^32
    EXPECT_EQ(ReadEditNumber(power.c_str()), 0);
    std::string zeros = std::string(100000, '0') + "8";
    EXPECT_EQ(ReadEditNumber(zeros.c_str()), 8);
    std::string blanks = std::string(100000, ' ') + "19x";
    EXPECT_EQ(ReadEditNumber(blanks.c_str()), 19);
}

// ---- The same texts through a real edit and the platform's reading ----

constexpr int kEditId = 100;

class PlatformEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        // Hidden: a top-level window never shown, holding one edit.
        host_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 200, 60, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(host_, nullptr);
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 150, 20, host_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override
    {
        if (host_ != nullptr)
            DestroyWindow(host_);
    }

    // Puts `text` into the edit; returns the text the edit then holds, which is
    // what both readings see.
    std::string Put(const std::string& text)
    {
        EXPECT_TRUE(SetDlgItemTextA(host_, kEditId, text.c_str()));
        char held[256] = {};
        GetDlgItemTextA(host_, kEditId, held, sizeof held);
        return held;
    }
    uint32_t PlatformReading() const { return GetDlgItemInt(host_, kEditId, nullptr, FALSE); }

    HWND host_ = nullptr;
    HWND edit_ = nullptr;
};

// Texts whose reading depends on nothing but leading spaces and digits: with
// them the documented rule and every implementation of the platform agree.
bool PlainText(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return true;
    return std::string("+-\t\n\v\f\r").find(text[first]) == std::string::npos;
}

// Some platforms read further than the documented rule: they also skip tabs and
// line ends before the digits, and take one '+' or '-' (a minus wrapping the
// unsigned result; past the unsigned range a minus gives 1, anything else 0).
uint32_t ExtendedReading(const std::string& text)
{
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return 0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return 0;
    uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && magnitude <= UINT32_MAX; ++i)
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
    if (magnitude > UINT32_MAX)
        return negative ? 1u : 0u;
    const uint32_t m = static_cast<uint32_t>(magnitude);
    return negative ? 0u - m : m;
}

// The stage-one limit of a channel: below 0 reads 0, above 255 reads 255.
int32_t Channel(int32_t n) { return n < 0 ? 0 : (n > 255 ? 255 : n); }

struct Tally {
    int plain = 0;
    int other = 0;
    int extended = 0;  // other texts this platform read the extended way
};

// Compares the two readings of the text the edit holds after `text` was put into it.
void Compare(const std::string& text, Tally& tally, const std::string& held, uint32_t platform)
{
    const int32_t ours = ReadEditNumber(held.c_str());
    if (PlainText(held)) {
        ++tally.plain;
        // Exactly 4294967295 is in range, but some platforms read it as 0 once
        // any earlier reading of the thread went past the range (they keep the
        // range error of their string conversion and look at it again).
        if (ours == -1 && platform == 0)
            return;
        EXPECT_EQ(ours, static_cast<int32_t>(platform)) << "text \"" << text << "\", edit holds \"" << held << "\"";
        return;
    }
    ++tally.other;
    // A sign or another blank where the digits would start: documented as 0.
    EXPECT_EQ(ours, 0) << "text \"" << held << "\"";
    if (platform != static_cast<uint32_t>(ours)) {
        ++tally.extended;
        EXPECT_EQ(platform, ExtendedReading(held)) << "text \"" << held << "\"";
    }
    // A minus read the extended way gives a negative number, which the limits
    // turn into 0 all the same.
    const size_t first = held.find_first_not_of(" \t\n\v\f\r");
    if (first != std::string::npos && held[first] == '-' && held.size() < 10) {
        EXPECT_EQ(Channel(static_cast<int32_t>(platform)), 0) << "text \"" << held << "\"";
    }
}

TEST_F(PlatformEdit, ReadsTheTableAsThePlatformDoes)
{
    Tally tally;
    for (const Reading& r : kReadings) {
        if (std::string(r.text).size() > 29)
            continue;  // the platform may read only the start of a long text
        const std::string text = r.text;
        const std::string held = Put(text);
        bool ascii = true;
        for (char c : text)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (ascii) {
            ASSERT_EQ(held, text) << "the edit changed an ASCII text";
        }
        Compare(r.text, tally, held, PlatformReading());
    }
    EXPECT_GT(tally.plain, 30);
}

TEST_F(PlatformEdit, ReadsEverySingleByteBeforeAndAfterADigit)
{
    Tally tally;
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        for (const std::string& text : {std::string(1, c), std::string(1, c) + "5", "5" + std::string(1, c),
                                         " " + std::string(1, c) + "7", std::string(1, c) + "42"}) {
            const std::string held = Put(text);
            Compare(text, tally, held, PlatformReading());
        }
    }
    EXPECT_GT(tally.plain, 1000);
}

TEST_F(PlatformEdit, ReadsRandomShortTextsAsThePlatformDoes)
{
    // Digits most often, so that numbers, blanks before them and what stops them all come up.
    const std::string pieces[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "1", "2", "5", "9",
                                  " ", " ", "\t", "\n", "\r", "\v", "\f", "+", "-", "a", "f", "Z", "x", ".", ","};
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> length(0, 9);
    std::uniform_int_distribution<size_t> piece(0, sizeof pieces / sizeof pieces[0] + 3);
    std::uniform_int_distribution<int> high(0x80, 0xFF);
    Tally tally;
    int nonZero = 0;
    for (int n = 0; n < 4000; ++n) {
        std::string text;
        const int count = length(random);
        for (int k = 0; k < count; ++k) {
            const size_t p = piece(random);
            if (p < sizeof pieces / sizeof pieces[0])
                text += pieces[p];
            else
                text += static_cast<char>(high(random));  // a byte of a multi-byte character, or a lone one
        }
        const std::string held = Put(text);
        const uint32_t platform = PlatformReading();
        Compare(text, tally, held, platform);
        if (platform != 0)
            ++nonZero;
    }
    // The draw must reach every kind of text for the comparison to mean something.
    EXPECT_GT(tally.plain, 2500);
    EXPECT_GT(tally.other, 300);
    EXPECT_GT(nonZero, 1000);
    std::printf("compared %d plain texts, %d beginning with a sign or another blank (%d read further by this "
                "platform)\n",
                tally.plain, tally.other, tally.extended);
}

}  // namespace

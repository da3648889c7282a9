#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "color/contrast.h"

namespace {

// The textbook formula in long double, apart from the program's scaled sums.
long double Linear(int32_t v)
{
    const long double c = v / 255.0L;
    return c <= 0.04045L ? c / 12.92L : std::pow((c + 0.055L) / 1.055L, 2.4L);
}
long double Luminance(Rgb c) { return 0.2126L * Linear(c.red) + 0.7152L * Linear(c.green) + 0.0722L * Linear(c.blue); }
long double Ratio(Rgb a, Rgb b)
{
    const long double x = Luminance(a) + 0.05L, y = Luminance(b) + 0.05L;
    return x > y ? x / y : y / x;
}
Rgb Hex(uint32_t rrggbb) { return {int32_t(rrggbb >> 16), int32_t((rrggbb >> 8) & 0xFF), int32_t(rrggbb & 0xFF)}; }

struct ContrastCase {
    uint32_t first, second;
    int32_t hundredths;
    const char* text;
    const char* marks;  // normal AA, normal AAA, large AA, large AAA: 'y' passes
};

TEST(Contrast, RatiosTextsAndMarks)
{
    const ContrastCase cases[] = {
        {0x000000, 0xffffff, 2100, "21.00:1", "yyyy"}, {0xffffff, 0xffffff, 100, "1.00:1", "nnnn"},
        {0x777777, 0xffffff, 447, "4.47:1", "nnyn"},  // 4.478 is cut off, not rounded to 4.48
        {0x767676, 0xffffff, 454, "4.54:1", "ynyy"},
        // Luminances that are exact fractions, whose ratio is exactly a whole hundredth.
        {0x090801, 0x020009, 104, "1.04:1", "nnnn"}, {0xff0202, 0x070209, 515, "5.15:1", "ynyy"},
        // Of all 8-bit pairs, those nearest to each mark from below and from above (6e-14 .. 6e-13).
        {0x89bb09, 0x8212db, 299, "2.99:1", "nnnn"}, {0x32f120, 0xbf39c2, 300, "3.00:1", "nnyn"},
        {0x898cb8, 0x3e2217, 449, "4.49:1", "nnyn"}, {0xbe64db, 0x480b1d, 450, "4.50:1", "ynyy"},
        {0x63d2ad, 0x013740, 699, "6.99:1", "ynyy"}, {0x47ef91, 0x184646, 700, "7.00:1", "yyyy"},
    };
    for (const ContrastCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ContrastHundredths(Hex(c.first), Hex(c.second)), c.hundredths);
        EXPECT_EQ(ContrastHundredths(Hex(c.second), Hex(c.first)), c.hundredths);
        char text[kContrastTextSize];
        std::memset(text, 'x', sizeof text);
        FormatContrastRatio(c.hundredths, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(text[sizeof text - 1], '\0');
        const ContrastVerdicts v = JudgeContrast(c.hundredths);
        const std::string marks{v.normalAA ? 'y' : 'n', v.normalAAA ? 'y' : 'n', v.largeAA ? 'y' : 'n',
                                v.largeAAA ? 'y' : 'n'};
        EXPECT_EQ(marks, c.marks);
        EXPECT_EQ(v.normalAA, Ratio(Hex(c.first), Hex(c.second)) >= 4.5L) << "judged on the true ratio";
    }
    EXPECT_EQ(ContrastHundredths({-5, 300, 0}, {0, 0, 0}), ContrastHundredths({0, 255, 0}, {0, 0, 0}));
    char small[4];
    FormatContrastRatio(2100, small, sizeof small);
    EXPECT_STREQ(small, "21.");
}

// The cut-off hundredths of the textbook ratio; false when it lies so near a
// whole hundredth that long double cannot tell the side.
bool TrueHundredths(Rgb a, Rgb b, int32_t& hundredths)
{
    const long double h = Ratio(a, b) * 100;
    hundredths = static_cast<int32_t>(std::floor(h));
    return h - std::floor(h) < 1 - 1e-9L && h - std::floor(h) > 1e-9L;
}

TEST(Contrast, AgreesWithTheTextbookFormulaOnRandomPairs)
{
    std::mt19937 random(13);
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    int32_t undecided = 0;
    for (int i = 0; i < 200000; ++i) {
        const Rgb a = Hex(static_cast<uint32_t>(random() & 0xFFFFFFu)), b = Hex(static_cast<uint32_t>(random() & 0xFFFFFFu));
        SCOPED_TRACE(::testing::Message() << a.red << "," << a.green << "," << a.blue << " / " << b.red << ","
                                          << b.green << "," << b.blue);
        ASSERT_NEAR(ScaledLuminance(a) / kWhiteLuminance, static_cast<double>(Luminance(a)), 1e-15);
        const ContrastReport report = ReportContrast(a, b);
        int32_t truth = 0;
        if (TrueHundredths(a, b, truth)) {
            ASSERT_EQ(report.againstReference, truth);
        } else {
            ++undecided;
        }
        if (TrueHundredths(a, white, truth)) {
            ASSERT_EQ(report.againstWhite, truth);
        }
        if (TrueHundredths(a, black, truth)) {
            ASSERT_EQ(report.againstBlack, truth);
        }
        ASSERT_EQ(report.verdicts.largeAA, Ratio(a, b) >= 3.0L);
        ASSERT_EQ(report.verdicts.normalAAA, Ratio(a, b) >= 7.0L);
    }
    EXPECT_LE(undecided, 2);
}

}  // namespace

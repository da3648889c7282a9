#include "color/contrast.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr double kScalePerWeight = 16473.0;  // one ten-thousandth of white's luminance
constexpr double kOffset = 0.05 * kWhiteLuminance;  // 8,236,500, a whole number
constexpr int32_t kRedWeight = 2126;    // ten-thousandths
constexpr int32_t kGreenWeight = 7152;
constexpr int32_t kBlueWeight = 722;

// One channel linearised, times kScalePerWeight. v / 255 <= 0.04045 holds for
// v <= 10 exactly; there the curve is v / 255 / 12.92, which is 5v on this scale.
double ScaledLinear(int32_t v)
{
    if (v <= 10)
        return 5.0 * v;
    if (v >= 255)
        return kScalePerWeight;
    const double c = v / 255.0;
    return kScalePerWeight * std::pow((c + 0.055) / 1.055, 2.4);
}

const double* LinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int32_t v = 0; v < 256; ++v)
            t[static_cast<size_t>(v)] = ScaledLinear(v);
        return t;
    }();
    return table.data();
}

}  // namespace

double ScaledLuminance(Rgb color)
{
    const double* linear = LinearTable();
    return kRedWeight * linear[ClampChannel(color.red)] + kGreenWeight * linear[ClampChannel(color.green)] +
           kBlueWeight * linear[ClampChannel(color.blue)];
}

int32_t ContrastHundredths(Rgb first, Rgb second)
{
    double lighter = ScaledLuminance(first);
    double darker = ScaledLuminance(second);
    if (lighter < darker)
        std::swap(lighter, darker);
    // Both sums are whole numbers below 2^53 when every channel is 0..10 or 255,
    // so the quotient is then rounded once and its floor is exact; any other
    // luminance is irrational and lies far from a whole hundredth compared with
    // the few units in the last place a double loses here.
    const double hundredths = std::floor(100.0 * (lighter + kOffset) / (darker + kOffset));
    if (hundredths < 100.0)
        return 100;
    return hundredths > 2100.0 ? 2100 : static_cast<int32_t>(hundredths);
}

ContrastVerdicts JudgeContrast(int32_t hundredths)
{
    return {hundredths >= 450, hundredths >= 700, hundredths >= 300, hundredths >= 450};
}

void FormatContrastRatio(int32_t hundredths, char* text, size_t size)
{
    std::memset(text, 0, size);
    if (size == 0)
        return;
    const int32_t h = hundredths < 0 ? 0 : hundredths;
    std::snprintf(text, size, "%d.%02d:1", static_cast<int>(h / 100), static_cast<int>(h % 100));
}

ContrastReport ReportContrast(Rgb current, Rgb reference)
{
    ContrastReport report;
    report.againstReference = ContrastHundredths(current, reference);
    report.againstWhite = ContrastHundredths(current, Rgb{255, 255, 255});
    report.againstBlack = ContrastHundredths(current, Rgb{0, 0, 0});
    report.verdicts = JudgeContrast(report.againstReference);
    return report;
}

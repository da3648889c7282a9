#include "color/transforms.h"

#include "color/color.h"

namespace {

// The highest channel value that still snaps to each level.
struct WebSafeStep {
    int32_t upTo;
    int32_t level;
};
constexpr WebSafeStep kWebSafeSteps[] = {{25, 0}, {76, 51}, {127, 102}, {178, 153}, {229, 204}};

void StepValue(int32_t step)
{
    int32_t value = g_current.value + step;
    if (value > 100)
        value = 100;
    if (value < 0)
        value = 0;
    g_current.value = value;
    // Hue and saturation stay as they are, so repeated steps move only the value.
    CompleteFromHsv();
}

}  // namespace

int32_t WebSafeLevel(int32_t channel)
{
    for (const WebSafeStep& step : kWebSafeSteps)
        if (channel <= step.upTo)
            return step.level;
    return 255;
}

int32_t GrayLevel(int32_t red, int32_t green, int32_t blue)
{
    const int32_t gray = (red * 77 + green * 151 + blue * 28) / 256;
    return gray > 255 ? 255 : gray;
}

void ApplyWebSafe()
{
    g_current.red = WebSafeLevel(g_current.red);
    g_current.green = WebSafeLevel(g_current.green);
    g_current.blue = WebSafeLevel(g_current.blue);
    CompleteFromRgb();
}

void ApplyGrayscale()
{
    const int32_t gray = GrayLevel(g_current.red, g_current.green, g_current.blue);
    g_current.red = gray;
    g_current.green = gray;
    g_current.blue = gray;
    CompleteFromRgb();
}

void ApplyInversion()
{
    g_current.red = 255 - g_current.red;
    g_current.green = 255 - g_current.green;
    g_current.blue = 255 - g_current.blue;
    CompleteFromRgb();
}

void ApplyLighter()
{
    StepValue(1);
}

void ApplyDarker()
{
    StepValue(-1);
}

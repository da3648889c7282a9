// The one-step transforms of the current color: web-safe snapping, grayscale,
// inversion, a step lighter or darker. Each brings the
// derived fields up to date the way its transform needs; none commits the color
// to the reference color or touches the screen (app/transforms.h does that).
// Plain C++: no platform headers.
#pragma once

#include <cstdint>

// The web-safe level nearest to a channel: a multiple of 51.
int32_t WebSafeLevel(int32_t channel);
// The BT.601 luma of a color, with the weights in 256ths (77, 151, 28); at most 255.
int32_t GrayLevel(int32_t red, int32_t green, int32_t blue);

// Each channel snapped with its hex text, then hue, saturation and value.
void ApplyWebSafe();
// All three channels become the gray level; hex texts, then hue, saturation and value.
void ApplyGrayscale();
// Each channel becomes 255 minus itself; hex texts, then hue, saturation and value.
void ApplyInversion();
// Value one step up (at most 100) or down (at least 0); the channels are rebuilt
// from hue, saturation and value, which are not derived again.
void ApplyLighter();
void ApplyDarker();

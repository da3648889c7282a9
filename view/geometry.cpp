#include "view/geometry.h"

UINT g_dpi = 96;

namespace {

Geometry g_geometry = kGeometryAt96Dpi;

// a / b rounded down, also for a negative a.
LONG FloorDiv(LONG a, LONG b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

Geometry GeometryAt(UINT dpi)
{
    Geometry g = kGeometryAt96Dpi;
    LONG* number = reinterpret_cast<LONG*>(&g);
    for (size_t i = 0; i < sizeof g / sizeof(LONG); ++i)
        number[i] = ScaleTo(number[i], dpi);
    return g;
}

const Geometry& Geo() { return g_geometry; }

void UseDpi(UINT dpi)
{
    g_dpi = dpi;
    g_geometry = GeometryAt(dpi);
}

LONG ScaleTo(LONG v, UINT dpi) { return MulDiv(v, static_cast<int>(dpi), 96); }
LONG Scale(LONG v) { return ScaleTo(v, g_dpi); }

// MulDiv rounds half away from zero, so for v >= 0 Scale(v) <= p exactly when
// v * dpi <= 96 * p + 47; below zero halves round the other way, which the
// step back or on settles.
LONG ToLogical(LONG physical)
{
    LONG v = FloorDiv(96 * physical + 47, static_cast<LONG>(g_dpi));
    while (Scale(v) > physical)
        --v;
    while (Scale(v + 1) <= physical)
        ++v;
    return v;
}

LONG ScaleFrom(LONG origin, LONG v) { return Scale(origin + v) - Scale(origin); }
LONG LogicalFrom(LONG origin, LONG physical) { return ToLogical(Scale(origin) + physical) - origin; }

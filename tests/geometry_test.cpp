// The geometry table holds together: what must lie inside, beside or outside
// what, stated as relations rather than as the numbers again.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "color/color.h"
#include "store/palette_data.h"
#include "view/draw.h"
#include "view/geometry.h"
#include "view/paint.h"

namespace {

struct Named {
    std::string name;
    RECT r;
    int mode = -1;  // the display mode it shows in; -1 for every mode
};

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != 0;
}

std::vector<Named> Controls()
{
    std::vector<Named> all;
    for (int i = 0; i < 12; ++i)
        all.push_back({"control " + std::to_string(i), Geo().controls[i]});
    return all;
}

std::vector<Named> Surfaces()
{
    const Geometry& g = Geo();
    return {{"swatch", g.swatch},       {"red bar", g.redBar, 1},     {"green bar", g.greenBar, 1},
            {"blue bar", g.blueBar, 1}, {"field", g.hueSat, 0},       {"value bar", g.valueBar, 0},
            {"palette", g.palette}};
}

// A marker's triangle, right and bottom excluded.
RECT Extent(const MarkerPlace& m)
{
    const LONG length = Geo().markerLength;
    const LONG half = Geo().markerHalfBase;
    if (m.orientation == MarkerUp)
        return RECT{m.x - half, m.y, m.x + half + 1, m.y + length + 1};
    return RECT{m.x, m.y - half, m.x + length + 1, m.y + half + 1};
}

TEST(Geometry, EverythingLiesInTheClientAreaAndNothingOverlaps)
{
    const RECT client = {0, 0, Geo().client.cx, Geo().client.cy};
    std::vector<Named> all = Controls();
    for (const Named& s : Surfaces())
        all.push_back(s);
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_TRUE(Inside(all[i].r, client)) << all[i].name;
        for (size_t j = i + 1; j < all.size(); ++j) {
            // The pickers of one mode stand where the other mode's stand.
            const bool shownTogether = all[i].mode < 0 || all[j].mode < 0 || all[i].mode == all[j].mode;
            if (shownTogether) {
                EXPECT_FALSE(Overlap(all[i].r, all[j].r)) << all[i].name << " and " << all[j].name;
            }
        }
    }
}

// Each strip holds its marker at every value of its range, and lies off every
// surface shown with it, so that wiping it never touches a picker just copied.
TEST(Geometry, MarkerStripsHoldTheirMarkersAndStayOffTheSurfaces)
{
    const struct {
        const char* name;
        int32_t ColorState::*field;
        int32_t highest;
        std::function<MarkerPlace()> place;
        int mode;
    } markers[] = {
        {"red", &ColorState::red, 255, RedMarker, 1},
        {"green", &ColorState::green, 255, GreenMarker, 1},
        {"blue", &ColorState::blue, 255, BlueMarker, 1},
        {"hue", &ColorState::hue, 359, HueMarker, 0},
        {"saturation", &ColorState::saturation, 100, SaturationMarker, 0},
        {"value", &ColorState::value, 100, ValueMarker, 0},
    };
    const ColorState saved = g_current;
    for (const auto& m : markers) {
        g_current.*m.field = 0;
        RECT reached = Extent(m.place());
        for (int32_t v = 0; v <= m.highest; ++v) {
            g_current.*m.field = v;
            const MarkerPlace place = m.place();
            const RECT extent = Extent(place);
            ASSERT_TRUE(Inside(extent, place.strip)) << m.name << " " << v;
            UnionRect(&reached, &reached, &extent);
        }
        const RECT strip = m.place().strip;
        EXPECT_TRUE(EqualRect(&reached, &strip)) << m.name << ": the strip is no larger than its marker's reach";
        for (const Named& s : Surfaces()) {
            if (s.mode < 0 || s.mode == m.mode) {
                EXPECT_FALSE(Overlap(strip, s.r)) << m.name << " strip and " << s.name;
            }
        }
    }
    g_current = saved;
}

// A click reaches further than the eyedropper shows, never less; the palette
// and the pickers of one mode are apart.
TEST(Geometry, DragAreasCoverTheirPickersAndStayApart)
{
    const Geometry& g = Geo();
    const struct {
        const char* name;
        RECT picker, drag;
    } pickers[] = {
        {"red", g.redBar, g.redDrag},       {"green", g.greenBar, g.greenDrag},
        {"blue", g.blueBar, g.blueDrag},    {"value", g.valueBar, g.valueDrag},
        {"saturation", g.hueSat, g.saturationDrag},
    };
    for (const auto& p : pickers) {
        EXPECT_TRUE(Inside(LessFirstColumnAndRow(p.picker), p.drag)) << p.name;
        EXPECT_FALSE(Overlap(p.drag, g.palette)) << p.name;
    }
    // Hue covers the field's columns but not its first row (that is saturation 100 alone).
    EXPECT_EQ(g.hueDrag.top, g.hueSat.top + 1);
    EXPECT_LE(g.hueDrag.left, g.hueSat.left);
    EXPECT_GE(g.hueDrag.right, g.hueSat.right);
    EXPECT_FALSE(Overlap(g.redDrag, g.greenDrag));
    EXPECT_FALSE(Overlap(g.greenDrag, g.blueDrag));
    EXPECT_FALSE(Overlap(g.valueDrag, g.saturationDrag));
}

TEST(Geometry, PaletteCellsFillTheirSurface)
{
    const Geometry& g = Geo();
    const POINT first = g.paletteFirstCell;
    EXPECT_EQ(Width(g.palette), first.x + kPaletteColumns * g.paletteCellPitch) << "cells, gaps and the edge";
    EXPECT_EQ(Height(g.palette), first.y + kPaletteRows * g.paletteCellPitch);
    EXPECT_EQ(g.paletteCellPitch, g.paletteCellSize + 1) << "one pixel between cells";
}

TEST(Geometry, MagnifierPanelHoldsItsParts)
{
    const Geometry& g = Geo();
    const RECT panel = {0, 0, g.panel.cx, g.panel.cy};
    // Its frame's right and bottom lines included.
    const RECT grid = {g.magnifierGrid.left, g.magnifierGrid.top, g.magnifierGrid.right + 1, g.magnifierGrid.bottom + 1};
    EXPECT_EQ(Width(g.magnifierGrid), Height(g.magnifierGrid)) << "a square";
    for (int cells : kMagnifierZooms) {
        EXPECT_EQ(Width(g.magnifierGrid) % cells, 0) << cells << " whole cells fill the square exactly";
        EXPECT_EQ(cells % 2, 1) << cells << " cells have a middle one";
    }
    EXPECT_TRUE(Inside(grid, panel));
    EXPECT_TRUE(Inside(g.sampleSquare, panel));
    EXPECT_FALSE(Overlap(grid, g.sampleSquare));
    for (LONG y : g.channelRowY) {
        EXPECT_GE(y, grid.bottom) << "the rows stand below the grid";
        EXPECT_LT(g.channelHexX, g.sampleSquare.left) << "the numbers stand left of the sample";
    }
    EXPECT_GT(g.hint.y, g.sampleSquare.bottom) << "the hints stand below the rows and the sample";
    EXPECT_GT(g.hint.y, g.channelRowY[2] + g.uiFontHeight);
    EXPECT_GE(g.keysHint.y, g.hint.y + g.uiFontHeight);
    EXPECT_LT(g.keysHint.y + g.uiFontHeight, panel.bottom - 1) << "above the panel's raised edge";
}

}  // namespace

namespace {

// Every physical coordinate lies in exactly one 96-DPI one: logical v covers
// Scale(v) .. Scale(v + 1) - 1, at scales where MulDiv's rounding falls on
// halves (120, 144) and quarters (120, 168) alike, negative ones included; and
// within a surface, LogicalFrom undoes ScaleFrom.
TEST(Geometry, EachPhysicalPixelLiesInTheLogicalPixelThatCoversIt)
{
    for (const UINT dpi : {96u, 120u, 144u, 168u, 192u}) {
        SCOPED_TRACE(dpi);
        UseDpi(dpi);
        int wrong = 0;
        for (LONG v = -60; v < 300; ++v)
            for (LONG p = Scale(v); p < Scale(v + 1); ++p)
                if (ToLogical(p) != v && wrong++ == 0)
                    ADD_FAILURE() << "physical " << p << " gives " << ToLogical(p) << ", not " << v;
        EXPECT_EQ(wrong, 0);
        for (const LONG origin : {0L, 17L, 131L})
            for (LONG v = 0; v < 120; ++v)
                EXPECT_EQ(LogicalFrom(origin, ScaleFrom(origin, v)), v) << "origin " << origin;
    }
    UseDpi(96);
}

}  // namespace

#include "tools/bench_dpi.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/app.h"
#include "tools/bench_timing.h"
#include "color/color.h"
#include "view/draw.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

constexpr int kSteps = 500;

using bench::Now;

// What a drag step redraws: the swatch, the three bars, the field and the value bar.
const Surface* const kDrawn[] = {&g_window.surfaces.swatch, &g_window.surfaces.redBar, &g_window.surfaces.greenBar,
                                  &g_window.surfaces.blueBar, &g_window.surfaces.hueSat, &g_window.surfaces.valueBar};

void DrawStep(int i)
{
    SetFromColorRef(static_cast<uint32_t>(RGB(i % 256, (3 * i) % 256, (7 * i) % 256)));
    DrawSwatchSurface();
    DrawChannelBars();
    DrawHueSatSurface();
    DrawValueBarSurface();
}

// The window laid out for `dpi`, as a move to a monitor of that DPI does.
void UseWindowDpi(UINT dpi)
{
    RECT r;
    GetWindowRect(g_mainWindow, &r);
    OnDpiChanged(g_mainWindow, dpi, &r);
}

void Report(const char* what, UINT dpi, const std::vector<double>& ms)
{
    const bench::Stats stats = bench::Summarise(ms);
    std::printf("  %3u DPI, %-36s median %6.3f ms   p99 %6.3f ms\n", dpi, what, stats.median, stats.p99);
}

void DrawPhysical(UINT dpi)
{
    UseWindowDpi(dpi);
    std::vector<double> ms;
    for (int i = 0; i < kSteps; ++i) {
        const double start = Now();
        DrawStep(i);
        GdiFlush();
        ms.push_back(Now() - start);
    }
    Report("drawn at the physical size", dpi, ms);
}

void DrawStretched(UINT dpi)
{
    UseWindowDpi(96);
    std::vector<HDC> targets;
    std::vector<HBITMAP> bitmaps;
    for (const Surface* s : kDrawn) {
        targets.push_back(CreateCompatibleDC(g_window.windowDc));
        bitmaps.push_back(CreateCompatibleBitmap(g_window.windowDc, ScaleTo(s->width, dpi), ScaleTo(s->height, dpi)));
        SelectObject(targets.back(), bitmaps.back());
        SetStretchBltMode(targets.back(), COLORONCOLOR);
    }
    std::vector<double> ms;
    for (int i = 0; i < kSteps; ++i) {
        const double start = Now();
        DrawStep(i);
        for (size_t k = 0; k < targets.size(); ++k)
            StretchBlt(targets[k], 0, 0, ScaleTo(kDrawn[k]->width, dpi), ScaleTo(kDrawn[k]->height, dpi),
                       kDrawn[k]->dc, 0, 0, kDrawn[k]->width, kDrawn[k]->height, SRCCOPY);
        GdiFlush();
        ms.push_back(Now() - start);
    }
    Report("drawn at 96 DPI and stretched", dpi, ms);
    for (size_t k = 0; k < targets.size(); ++k) {
        DeleteDC(targets[k]);
        DeleteObject(bitmaps[k]);
    }
}

}  // namespace

void BenchDpiDrawing()
{
    const UINT was = g_dpi;
    std::printf("A drag step's pickers (swatch, bars, field, value bar) above 96 DPI\n");
    for (const UINT dpi : {144u, 192u}) {
        DrawPhysical(dpi);
        DrawStretched(dpi);
    }
    UseWindowDpi(was);
}

// Where the close's release of the main window's nine surfaces goes: round after
// round the surfaces are made and drawn as start-up makes and draws them, shown
// by a paint, and released as the close releases them, each DC and each bitmap
// timed on its own; then the same release with the screen copy filled as a
// capture fills it, the release in the other order (each surface's DC, then at
// once its bitmap), and one DIB section as large as the seven drawn surfaces.
#include "tools/bench_close.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/app.h"
#include "tools/bench_timing.h"
#include "view/draw.h"
#include "view/gdi.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

constexpr int kRounds = 40;
constexpr size_t kCount = 9;

struct Named {
    const char* name;
    Surface Surfaces::*member;
};
const Named kInOrder[kCount] = {
    {"swatch", &Surfaces::swatch},     {"red bar", &Surfaces::redBar},     {"green bar", &Surfaces::greenBar},
    {"blue bar", &Surfaces::blueBar},  {"hue-saturation", &Surfaces::hueSat}, {"value bar", &Surfaces::valueBar},
    {"palette", &Surfaces::palette},   {"screen copy", &Surfaces::screen}, {"magnifier", &Surfaces::magnifier},
};

Surface& Of(const Named& n) { return g_window.surfaces.*(n.member); }

// The surfaces made, drawn and shown as at start-up; with `captured` the screen
// copy and the magnifier also filled, as a capture leaves them.
void MakeAsAtStart(bool captured)
{
    CreateSurfaces(g_window.windowDc);
    DrawSwatchSurface();
    InvalidateRect(g_mainWindow, nullptr, FALSE);
    UpdateWindow(g_mainWindow);
    if (captured) {
        HDC screen = GetDC(nullptr);
        const Surface& s = g_window.surfaces.screen;
        BitBlt(s.dc, 0, 0, s.width, s.height, screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        const Surface& m = g_window.surfaces.magnifier;
        PatBlt(m.dc, 0, 0, m.width, m.height, WHITENESS);
        GdiFlush();
    }
}

struct Timings {
    std::vector<double> dc[kCount], bitmap[kCount], whole;
};

// The close's order: every DC in creation order, then every bitmap.
void ReleaseTimed(Timings& t)
{
    const double start = bench::Now();
    for (size_t i = 0; i < kCount; ++i) {
        const double t0 = bench::Now();
        ReleaseSurfaceDc(Of(kInOrder[i]));
        t.dc[i].push_back(bench::Now() - t0);
    }
    for (size_t i = 0; i < kCount; ++i) {
        const double t0 = bench::Now();
        ReleaseSurfaceBitmap(Of(kInOrder[i]));
        t.bitmap[i].push_back(bench::Now() - t0);
    }
    t.whole.push_back(bench::Now() - start);
}

double ReleaseEachAtOnce()
{
    const double start = bench::Now();
    for (const Named& n : kInOrder) {
        ReleaseSurfaceDc(Of(n));
        ReleaseSurfaceBitmap(Of(n));
    }
    return bench::Now() - start;
}

void PrintLine(const char* what, const std::vector<double>& ms)
{
    const bench::Stats s = bench::Summarise(ms);
    std::printf("  %-44s median %6.3f ms   min %6.3f   max %6.3f\n", what, s.median, s.min, s.max);
}

void PrintTimings(const Timings& t)
{
    for (size_t i = 0; i < kCount; ++i) {
        char what[96];
        std::snprintf(what, sizeof what, "%s: its DC", kInOrder[i].name);
        PrintLine(what, t.dc[i]);
        std::snprintf(what, sizeof what, "%s: its bitmap", kInOrder[i].name);
        PrintLine(what, t.bitmap[i]);
    }
    PrintLine("all nine", t.whole);
}

// One DIB section as large as the seven surfaces start-up draws together
// (the idea of fewer surfaces), its pixels all written, drawn on and shown,
// then deleted.
double ReleaseOneDibOfTheirSize()
{
    size_t pixels = 0;
    for (const Named& n : kInOrder)
        if (n.member != &Surfaces::screen && n.member != &Surfaces::magnifier)
            pixels += static_cast<size_t>(Of(n).width) * static_cast<size_t>(Of(n).height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 256;
    info.bmiHeader.biHeight = -static_cast<LONG>((pixels + 255) / 256);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(g_window.windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        return 0.0;
    ZeroMemory(bits, 256 * 4 * static_cast<size_t>(-info.bmiHeader.biHeight));
    {
        // Drawn on and shown through a DC, as a surface is.
        MemoryDcGuard dc(g_window.windowDc);
        SelectGuard selected(dc.get(), bitmap);
        PatBlt(dc.get(), 0, 0, 256, 64, WHITENESS);
        BitBlt(g_window.windowDc, 0, 0, 256, 64, dc.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const double t0 = bench::Now();
    DeleteObject(bitmap);
    return bench::Now() - t0;
}

}  // namespace

void BenchSurfaceRelease()
{
    DestroySurfaces();  // those of start-up: each round makes its own
    Timings asAtStart, afterCapture;
    std::vector<double> eachAtOnce, oneDib;
    for (int round = 0; round < kRounds; ++round) {
        MakeAsAtStart(false);
        ReleaseTimed(asAtStart);
        MakeAsAtStart(true);
        ReleaseTimed(afterCapture);
        MakeAsAtStart(false);
        eachAtOnce.push_back(ReleaseEachAtOnce());
        MakeAsAtStart(false);
        oneDib.push_back(ReleaseOneDibOfTheirSize());
        DestroySurfaces();
    }
    MakeAsAtStart(false);  // the window keeps surfaces to the end
    std::printf("Releasing the surfaces at close (%d rounds, made and drawn as at start-up)\n", kRounds);
    PrintTimings(asAtStart);
    std::printf("The same after a capture filled the screen copy and the magnifier\n");
    PrintTimings(afterCapture);
    std::printf("The other order, as at start-up\n");
    PrintLine("each surface's DC, then its bitmap", eachAtOnce);
    std::printf("Fewer surfaces: one DIB section holding the seven drawn ones' pixels\n");
    PrintLine("its bitmap", oneDib);
}

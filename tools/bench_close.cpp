// Where the close's release of the main window's surfaces goes: round after
// round the surfaces are made and drawn as start-up makes and draws them, shown
// by a paint, and released as the close releases them: the window's seven
// (one bitmap and one DC), then the capture's two, empty and after a capture
// filled them. For comparison, seven DIB sections of the seven surfaces' sizes,
// each written, drawn on through a DC of its own and shown, then released as
// the window once released its surfaces.
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

Surface Surfaces::*const kSeven[] = {
    &Surfaces::swatch, &Surfaces::redBar, &Surfaces::greenBar, &Surfaces::blueBar,
    &Surfaces::hueSat, &Surfaces::valueBar, &Surfaces::palette,
};

// The surfaces made, drawn and shown as at start-up; with `captured` the screen
// copy and the magnifier also made and filled, as a capture leaves them.
void MakeAsAtStart(bool captured)
{
    CreateSurfaces(g_window.windowDc);
    DrawSwatchSurface();
    InvalidateRect(g_mainWindow, nullptr, FALSE);
    UpdateWindow(g_mainWindow);
    if (captured) {
        PrepareCaptureSurfaces(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), Geo().panel);
        HDC screen = GetDC(nullptr);
        const Surface& s = g_window.surfaces.screen;
        BitBlt(s.dc, 0, 0, s.width, s.height, screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        const Surface& m = g_window.surfaces.magnifier;
        PatBlt(m.dc, 0, 0, m.width, m.height, WHITENESS);
        GdiFlush();
    }
}

template <typename F>
double Timed(F release)
{
    const double t0 = bench::Now();
    release();
    return bench::Now() - t0;
}

// Seven DIB sections of the seven surfaces' sizes, each written in full, drawn
// on and shown through a DC of its own, then released DC first: the time of the
// release.
double ReleaseSevenDibs()
{
    struct Made {
        HDC dc;
        HBITMAP bitmap;
        HGDIOBJ previous;
    } made[7] = {};
    for (size_t i = 0; i < 7; ++i) {
        const Surface& s = g_window.surfaces.*kSeven[i];
        uint32_t* bits = nullptr;
        made[i].bitmap = CreateSurfaceBitmap(g_window.windowDc, s.width, s.height, &bits);
        if (bits == nullptr)
            return 0.0;
        ZeroMemory(bits, 4 * static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
        made[i].dc = CreateCompatibleDC(g_window.windowDc);
        made[i].previous = SelectObject(made[i].dc, made[i].bitmap);
        PatBlt(made[i].dc, 0, 0, s.width, 2, WHITENESS);
        BitBlt(g_window.windowDc, 0, 0, s.width, s.height, made[i].dc, 0, 0, SRCCOPY);
    }
    GdiFlush();
    return Timed([&made] {
        for (Made& m : made) {
            SelectObject(m.dc, m.previous);
            DeleteDC(m.dc);
        }
        for (Made& m : made)
            DeleteObject(m.bitmap);
    });
}

void PrintLine(const char* what, const std::vector<double>& ms)
{
    const bench::Stats s = bench::Summarise(ms);
    std::printf("  %-52s median %6.3f ms   min %6.3f   max %6.3f\n", what, s.median, s.min, s.max);
}

}  // namespace

void BenchSurfaceRelease()
{
    DestroySurfaces();  // those of start-up: each round makes its own
    std::vector<double> window, captureEmpty, windowAfterCapture, captureFilled, sevenDibs;
    for (int round = 0; round < kRounds; ++round) {
        MakeAsAtStart(false);
        window.push_back(Timed(DestroyWindowSurfaces));
        captureEmpty.push_back(Timed(DestroyCaptureSurfaces));
        MakeAsAtStart(true);
        windowAfterCapture.push_back(Timed(DestroyWindowSurfaces));
        captureFilled.push_back(Timed(DestroyCaptureSurfaces));
        MakeAsAtStart(false);
        sevenDibs.push_back(ReleaseSevenDibs());
        DestroySurfaces();
    }
    MakeAsAtStart(false);  // the window keeps surfaces to the end
    std::printf("Releasing the surfaces at close (%d rounds, made and drawn as at start-up)\n", kRounds);
    PrintLine("the window's seven: one bitmap and its DC", window);
    PrintLine("the capture's two, never made", captureEmpty);
    PrintLine("the window's seven, after a capture", windowAfterCapture);
    PrintLine("the capture's two, filled by a capture", captureFilled);
    std::printf("For comparison: a DIB section and a DC for each of the seven\n");
    PrintLine("the seven DCs, then the seven bitmaps", sevenDibs);
}

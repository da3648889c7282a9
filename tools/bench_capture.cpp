// Times the screen capture on the screen as it is: from the capture command
// to the overlay painted (into its window, and until the screen shows it), and
// one magnifier update per mouse move, within one half and across the middle.
// Prints the median and the 99th percentile of each.
#include "tools/bench_capture.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "res/resource.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/surfaces.h"

namespace {

// Each opening costs a closing too, which under a bare X server waits about
// two seconds for a window manager that is not there; so few openings.
constexpr int kOpenings = 15;
constexpr int kMoves = 2000;

double TickMs()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Now()
{
    static const double tickMs = TickMs();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * tickMs;
}

struct Figures {
    double median;
    double p99;
    size_t count;
};

Figures Summarise(std::vector<double> ms)
{
    if (ms.empty())
        return {0.0, 0.0, 0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[(ms.size() * 99) / 100], ms.size()};
}

Figures Time(int steps, const std::function<void(int)>& step)
{
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(steps));
    for (int i = 0; i < steps; ++i) {
        const double start = Now();
        step(i);
        ms.push_back(Now() - start);
    }
    return Summarise(ms);
}

void Print(const char* what, Figures f)
{
    std::printf("  %-34s median %7.3f ms   p99 %7.3f ms   (%zu)\n", what, f.median, f.p99, f.count);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Three pixels of the panel standing in the right half: its raised edge's
// highlight and shadow corners and its face.
struct Probe {
    int x, y;
    COLORREF color;
};

bool ScreenShows(const Probe (&probes)[3])
{
    HDC screen = GetDC(nullptr);
    bool all = true;
    for (const Probe& p : probes)
        all = all && GetPixel(screen, p.x, p.y) == p.color;
    ReleaseDC(nullptr, screen);
    return all;
}

// A point of a back-and-forth sweep across [from, to].
int Sweep(int i, int from, int to)
{
    const int span = to - from;
    const int k = i % (2 * span);
    return from + (k < span ? k : 2 * span - k);
}

// One update at each zoom: the panel drawn alone, and a whole mouse move.
void MeasureMoves(int width, int height)
{
    HWND overlay = g_window.captureWindow;
    const int y0 = height / 4, y1 = height * 3 / 4;
    for (const int notches : {0, 1, -2}) {
        const short delta = static_cast<short>(notches * WHEEL_DELTA);
        SendMessageA(overlay, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
        std::printf("  at %d x %d cells:\n", MagnifierCells(), MagnifierCells());
        Print("DrawMagnifier", Time(kMoves, [&](int i) { DrawMagnifier(Sweep(i, 20, width / 2 - 20), Sweep(i, y0, y1)); }));
        Print("mouse move within a half", Time(kMoves, [&](int i) {
                  SendMessageA(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(Sweep(i, 20, width / 2 - 20), Sweep(i, y0, y1)));
              }));
    }
    Print("mouse move across the middle", Time(kMoves, [&](int i) {
              const int x = width / 2 + (i % 2 == 0 ? 1 : 0);
              SendMessageA(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(x, Sweep(i, y0, y1)));
          }));
    if (!IsWindowVisible(overlay))
        std::printf("  (the overlay was not on the screen all along: the moves above do not count)\n");
    Pump();
}

}  // namespace

void BenchCapture()
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::printf("Screen capture on a %d x %d screen, a virtual screen of %d x %d\n", width, height,
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));

    // The pointer in the left half puts the panel in the right one.
    const int panelX = RightPanelX(width);
    const int top = PanelTop(height);
    const Probe probes[3] = {
        {panelX, top, GetSysColor(COLOR_BTNHIGHLIGHT)},
        {panelX + Geo().panel.cx - 1, top + Geo().panel.cy - 1, GetSysColor(COLOR_BTNSHADOW)},
        {panelX + 5, top + 5, GetSysColor(COLOR_BTNFACE)},
    };
    // What making the screen copy afresh at each opening costs: the platform
    // hands its memory over as it is first written. Against one kept and written again.
    const int virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN), virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const size_t bytes = static_cast<size_t>(virtualWidth) * static_cast<size_t>(virtualHeight) * 4;
    const auto fill = [bytes] {
        if (g_window.surfaces.screen.pixels != nullptr)
            std::memset(g_window.surfaces.screen.pixels, 0, bytes);
    };
    Print("screen copy made, filled, released", Time(kOpenings, [&](int) {
              if (PrepareCaptureSurfaces(virtualWidth, virtualHeight, Geo().panel))
                  fill();
              DestroyCaptureSurfaces();
          }));
    if (PrepareCaptureSurfaces(virtualWidth, virtualHeight, Geo().panel)) {
        fill();
        Print("the same screen copy filled again", Time(kOpenings, [&](int) { fill(); }));
    }
    DestroyCaptureSurfaces();  // as a window that has not captured yet
    std::vector<double> painted, seen;
    for (int i = 0; i < kOpenings; ++i) {
        SetCursorPos(width / 4, height / 2);
        Pump();
        if (ScreenShows(probes)) {
            std::printf("  the screen shows a panel before the capture; no figures\n");
            return;
        }
        const double start = Now();
        SendMessageA(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_CAPTURE, 0), 0);
        painted.push_back(Now() - start);
        if (!g_window.captureActive) {
            std::printf("  the overlay could not be opened\n");
            return;
        }
        // Letting the thread go idle hands the window's picture to the screen.
        bool shown = false;
        while (!shown && Now() - start < 5000.0) {
            Pump();
            shown = ScreenShows(probes);
        }
        if (shown)
            seen.push_back(Now() - start);
        if (i == kOpenings - 1)
            MeasureMoves(width, height);
        SendMessageA(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_CANCELCAPTURE, 0), 0);
        Pump();
    }
    // The first opening makes the capture's surfaces; the others find them kept.
    std::printf("  first capture (surfaces made)      %7.3f ms painted\n", painted.front());
    Print("capture to overlay painted", Summarise(painted));
    Print("capture to overlay on the screen", Summarise(seen));
}

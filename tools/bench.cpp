// Times the real main window under load: one RefreshColorDisplay, and one drag
// step delivered as WM_MOUSEMOVE with the left button held, in HSV and in RGB
// mode, next to a message that does nothing, all on the same window in the same
// run. Prints the median and the 99th percentile of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "tools/bench_capture.h"
#include "tools/bench_close.h"
#include "tools/bench_dpi.h"
#include "tools/bench_launch.h"
#include "tools/bench_text.h"
#include "tools/bench_timing.h"
#include "color/color.h"
#include "store/files.h"
#include "color/color_text.h"
#include "view/draw.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/surfaces.h"

namespace {

constexpr int kSteps = 2000;

double g_tickMs;

struct Figures {
    double median;
    double p99;
};

Figures Summarize(std::vector<double>& ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[(ms.size() * 99) / 100]};
}

// Each step timed as a whole.
Figures Time(int steps, const std::function<void(int)>& step)
{
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(steps));
    for (int i = 0; i < steps; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        step(i);
        QueryPerformanceCounter(&b);
        ms.push_back(static_cast<double>(b.QuadPart - a.QuadPart) * g_tickMs);
    }
    return Summarize(ms);
}

// Each step times the part that counts itself and returns it in milliseconds.
Figures TimeParts(int steps, const std::function<double(int)>& step)
{
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(steps));
    for (int i = 0; i < steps; ++i)
        ms.push_back(step(i));
    return Summarize(ms);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Print(const char* what, Figures f)
{
    std::printf("  %-34s median %7.3f ms   p99 %7.3f ms\n", what, f.median, f.p99);
}

void SwitchMode(int mode)
{
    SwitchDisplayMode(g_mainWindow, mode);
    Pump();
}

using bench::Sweep;

void Measure(const char* mode, int x0, int x1, int y0, int y1)
{
    std::printf("%s mode (%d steps each)\n", mode, kSteps);
    Print("no-op message (WM_NULL)", Time(kSteps, [](int) { SendMessageA(g_mainWindow, WM_NULL, 0, 0); }));
    Print("RefreshColorDisplay", Time(kSteps, [](int i) {
              g_current.red = i & 0xFF;
              g_current.green = (i * 7) & 0xFF;
              g_current.blue = (i * 13) & 0xFF;
              CompleteFromRgb();
              RefreshColorDisplay(g_mainWindow);
          }));
    Print("WriteColorEdits (all nine change)", Time(kSteps, [](int i) {
              g_current.red = i & 0xFF;
              g_current.green = (i * 7) & 0xFF;
              g_current.blue = (i * 13) & 0xFF;
              CompleteFromRgb();
              WriteColorEdits(g_mainWindow);
          }));
    Print("drag step (WM_MOUSEMOVE)", Time(kSteps, [&](int i) {
              const int x = Sweep(i, x0, x1);
              const int y = Sweep(i / 3, y0, y1);
              SendMessageA(g_mainWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
          }));
    CatchUpTexts(g_mainWindow);
    Print("  its texts, written at idle", TimeParts(kSteps, [&](int i) {
              const int x = Sweep(i, x0, x1);
              const int y = Sweep(i / 3, y0, y1);
              SendMessageA(g_mainWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
              LARGE_INTEGER a, b;
              QueryPerformanceCounter(&a);
              CatchUpTexts(g_mainWindow);
              QueryPerformanceCounter(&b);
              return static_cast<double>(b.QuadPart - a.QuadPart) * g_tickMs;
          }));
    Print("drag step with its texts at once", Time(kSteps, [&](int i) {
              const int x = Sweep(i, x0, x1);
              const int y = Sweep(i / 3, y0, y1);
              SendMessageA(g_mainWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
              CatchUpTexts(g_mainWindow);
          }));
    Pump();
}

std::string MakeFolder()
{
    char temp[MAX_PATH + 1];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "tintbox-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The programs run from outside: "launch" (then "runs=N" and paths of further
// builds to compare, in any order) times start and close; "drag" (then paths
// of further builds) the drag.
int BenchFromOutside(int argc, char** argv)
{
    int runs = DefaultLaunchRuns();
    std::vector<std::string> others;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("runs=", 0) == 0)
            runs = std::atoi(arg.c_str() + 5);
        else
            others.push_back(arg);
    }
    if (std::string(argv[1]) == "launch")
        BenchLaunch(runs > 0 ? runs : DefaultLaunchRuns(), others);
    else
        BenchDragAcross(others);
    return 0;
}

}  // namespace

// With the argument "capture" only the screen capture is timed, with "release"
// only the release of the surfaces, with "dpi" only the pickers drawn above
// 96 DPI; with "launch" or "drag" only the programs run from outside
// (BenchFromOutside).
int main(int argc, char** argv)
{
    if (argc > 1 && (std::string(argv[1]) == "launch" || std::string(argv[1]) == "drag"))
        return BenchFromOutside(argc, argv);
    const std::string only = argc > 1 ? argv[1] : "";
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);

    const std::string folder = MakeFolder();
    g_programDir = folder;
    if (!StartUp(GetModuleHandleA(nullptr))) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    Pump();

    if (only == "dpi") {
        BenchDpiDrawing();
        return 0;
    }
    if (only.empty()) {
        // Sweeps over the hue-saturation field, and over the red bar's drag area.
        const Geometry& g = Geo();
        SwitchMode(0);
        Measure("HSV", g.hueSat.left, g.hueSat.right, g.hueSat.top + 1, g.hueSat.bottom);
        SwitchMode(1);
        Measure("RGB", g.redDrag.left, g.redDrag.right - 1, g.redDrag.top, g.redDrag.bottom - 1);
        BenchTextWrite();
        BenchDpiDrawing();
    }
    if (only.empty() || only == "release")
        BenchSurfaceRelease();
    if (only.empty() || only == "capture")
        BenchCapture();

    DeleteFileA(ProgramFilePath("tbox.ini").c_str());
    DeleteFileA(ProgramFilePath("palette.ini").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}

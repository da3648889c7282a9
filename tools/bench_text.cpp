// Where the time of one edit write goes under the platform: the bare
// SetWindowTextA on an edit of a plain window, the edit's repaint, the
// notifications to its parent, the caret, and the same on the real window's edits.
#include "tools/bench_text.h"

#include <windows.h>

#include <cstdio>
#include <functional>

#include "app/app.h"
#include "color/color.h"
#include "res/resource.h"
#include "tools/bench_timing.h"
#include "view/geometry.h"
#include "view/layout.h"

namespace {

constexpr int kWrites = 2000;

// Two texts of the widths a color edit shows, so that every write changes the text.
const char* TextFor(int i) { return i % 2 == 0 ? "128" : "64"; }

void Print(const char* what, const std::function<void(int)>& step)
{
    std::vector<double> ms;
    ms.reserve(kWrites);
    for (int i = 0; i < kWrites; ++i) {
        const double t0 = bench::Now();
        step(i);
        ms.push_back(bench::Now() - t0);
    }
    const bench::Stats s = bench::Summarise(ms);
    std::printf("  %-52s median %6.3f ms   p99 %6.3f ms\n", what, s.median, s.p99);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// A top-level window of the default class procedure with one edit like R10.
HWND MakePlainEdit(HWND* frame)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = "tbplain";
    RegisterClassA(&wc);
    *frame = CreateWindowExA(0, "tbplain", "plain", WS_OVERLAPPED | WS_VISIBLE, 500, 0, 200, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
    const RECT& r10 = Geo().controls[0];
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, r10.left, 40, Width(r10),
                                Height(r10), *frame, nullptr, wc.hInstance, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_window.uiFont), FALSE);
    Pump();
    return edit;
}

void Write(HWND edit, int i) { SetWindowTextA(edit, TextFor(i)); }

}  // namespace

void BenchTextWrite()
{
    std::printf("One edit write (%d each, the text changing every time)\n", kWrites);
    HWND frame = nullptr;
    HWND plain = MakePlainEdit(&frame);
    HWND hue = g_window.editTable[6];
    HWND focused = g_window.editTable[0];
    SetFocus(focused);
    Pump();

    Print("platform floor: SetWindowTextA, plain window's edit", [&](int i) { Write(plain, i); });
    Print("  ... and its repaint (UpdateWindow)", [&](int i) { Write(plain, i); UpdateWindow(plain); });
    Print("  ... redraw off (WM_SETREDRAW FALSE)", [&](int i) {
        SendMessageA(plain, WM_SETREDRAW, FALSE, 0);
        Write(plain, i);
    });
    SendMessageA(plain, WM_SETREDRAW, TRUE, 0);
    Print("  repaint alone (invalidate + UpdateWindow)", [&](int) {
        InvalidateRect(plain, nullptr, TRUE);
        UpdateWindow(plain);
    });

    g_window.changeGuard = 0;
    Print("H: SetWindowTextA (notifies our window twice)", [&](int i) { Write(hue, i); });
    Print("  ... and its repaint (UpdateWindow)", [&](int i) { Write(hue, i); UpdateWindow(hue); });
    Print("  one notification (WM_COMMAND EN_CHANGE, guard 0)", [&](int) {
        SendMessageA(g_mainWindow, WM_COMMAND, MAKEWPARAM(ID_H, EN_CHANGE), reinterpret_cast<LPARAM>(hue));
    });
    Print("R10 with the focus and caret: SetWindowTextA", [&](int i) { Write(focused, i); });
    Print("  ... and its repaint (UpdateWindow)", [&](int i) { Write(focused, i); UpdateWindow(focused); });
    Print("EDITCOPY: SetWindowTextA", [&](int i) { SetWindowTextA(g_window.editCopy, i % 2 ? "#808080" : "#404040"); });
    g_window.changeGuard = 1;

    Print("nine edits and EDITCOPY all changed, with their repaint", [&](int i) {
        g_current.red = i & 0xFF;
        g_current.green = (i * 7) & 0xFF;
        g_current.blue = (i * 13) & 0xFF;
        CompleteFromRgb();
        WriteColorEdits(g_mainWindow);
        UpdateWindow(g_mainWindow);
    });
    Pump();
    DestroyWindow(frame);
    Pump();
}

#include "tests/program_loop.h"

#include <commctrl.h>

#include <cstring>

#include "app/app.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_data.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"
#include "tests/test_folder.h"

void PumpLikeTheProgram(HACCEL accelerators, int quietRounds, DWORD pauseMs)
{
    for (int quiet = 0; quiet < quietRounds;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quiet = 0;
            ProcessMessage(msg, accelerators);
        } else {
            if (g_window.textsBehind)
                OnIdle();
            ++quiet;
            Sleep(pauseMs);
        }
    }
}

void RegisterHostedWindowClasses()
{
    g_instance = GetModuleHandleA(nullptr);
    ChooseUiLanguage(g_instance);
    RegisterMainWindowClass();
    RegisterCaptureWindowClass();
}

void OpenHostedWindow()
{
    LoadProgramState();
    OpenMainWindow();
    PumpLikeTheProgram(nullptr, 3, 5);
}

void CloseHostedWindow()
{
    if (g_window.uiFont != nullptr)
        DestroyLayout(g_mainWindow);
    DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    PumpLikeTheProgram(nullptr, 3, 5);
}

HACCEL StartProgramInTestFolder()
{
    static TestFolder* folder = new TestFolder;
    g_programDir = folder->path();
    if (!StartUp(GetModuleHandleA(nullptr)))
        return nullptr;
    const HACCEL keys = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDA_ACCELERATORS));
    PumpLikeTheProgram(keys);
    return keys;
}

COLORREF WindowPixel(int x, int y)
{
    HDC dc = GetDC(g_mainWindow);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(g_mainWindow, dc);
    return c;
}

COLORREF SwatchCurrent()
{
    const RECT& s = Geo().swatch;
    return WindowPixel((s.left + s.right) / 2, s.top + Height(s) / 4);
}

COLORREF SwatchReference()
{
    const RECT& s = Geo().swatch;
    return WindowPixel((s.left + s.right) / 2, s.bottom - Height(s) / 4);
}

COLORREF PaletteCellPixel(int cell)
{
    const Geometry& g = Geo();
    const int middle = g.paletteCellSize / 2;
    return WindowPixel(g.palette.left + g.paletteFirstCell.x + g.paletteCellPitch * (cell % kPaletteColumns) + middle,
                       g.palette.top + g.paletteFirstCell.y + g.paletteCellPitch * (cell / kPaletteColumns) + middle);
}

bool SameColor(const ColorState& a, const ColorState& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool MakeTipsByMouseMove()
{
    POINT was;
    GetCursorPos(&was);
    // Two points, so the pointer moves even if it rested on the first.
    for (POINT corner : {POINT{1, 1}, POINT{2, 2}}) {
        ClientToScreen(g_mainWindow, &corner);
        SetCursorPos(corner.x, corner.y);
        PumpLikeTheProgram(nullptr);
    }
    SetCursorPos(was.x, was.y);
    PumpLikeTheProgram(nullptr);
    return g_window.tips != nullptr;
}

std::wstring TipText(UINT_PTR tool)
{
    if (g_window.tips == nullptr)
        MakeTipsByMouseMove();
    wchar_t text[1024] = {};
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = g_mainWindow;
    info.uId = tool;
    info.lpszText = text;
    SendMessageW(g_window.tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    return text;
}

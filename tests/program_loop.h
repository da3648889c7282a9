// The program's own message loop, run by a test that hosts the real main
// window in its process: each message through ProcessMessage (texts caught up,
// accelerators, dispatch), the idle step when the queue is empty.
#pragma once

#include <windows.h>

#include <string>

#include "color/color.h"

// Handles what is queued until nothing has arrived for `quietRounds` rounds of
// `pauseMs` milliseconds (input sent with SendInput comes through the server).
void PumpLikeTheProgram(HACCEL accelerators, int quietRounds = 4, DWORD pauseMs = 10);

// For a test that opens a window of its own for every test: the window classes
// registered once, in the interface language of this run's code page.
void RegisterHostedWindowClasses();
// The program's state loaded from g_programDir and the main window opened on
// it; CloseHostedWindow releases what the window holds and destroys it.
void OpenHostedWindow();
void CloseHostedWindow();
// For a suite that hosts one window for all its tests: the program started as
// its entry point does, its files in a test folder of its own kept for the
// whole run; its accelerators, or null when it did not start.
HACCEL StartProgramInTestFolder();

// The color the main window shows at a client point, as 0x00BBGGRR.
COLORREF WindowPixel(int x, int y);
// The upper half of the swatch shows the current color, the lower half the reference color.
COLORREF SwatchCurrent();
COLORREF SwatchReference();
// The middle of a palette cell.
COLORREF PaletteCellPixel(int cell);

bool SameColor(const ColorState& a, const ColorState& b);

// The tips made as the program makes them, by the first mouse move over the
// main window's client area: the pointer moved onto a corner no tip covers,
// then back where it was. False when they are still not made.
bool MakeTipsByMouseMove();

// The whole text the tip control holds for a tool of the main window (read
// with TTM_GETTEXTW: the ANSI message stops at 80 bytes under Wine); the tips
// are made first when they are not yet.
std::wstring TipText(UINT_PTR tool);

// The programs timed from outside, as a user meets them, against a minimal
// window program (tintbox_minwin.exe) that stands for the least any program
// needs to be on screen.
#pragma once

#include <string>
#include <vector>

// Start (CreateProcess, WaitForInputIdle, the window found, a WM_NULL round
// trip) and close (WM_CLOSE posted to the process gone, tbox.ini and
// palette.ini then holding the state) of the minimal window, tintbox.exe and any
// `others` (paths of further builds to compare), alternating run by run.
// Prints median, min and max and the ratio to the minimal window.
void BenchLaunch(int runs, const std::vector<std::string>& others);
int DefaultLaunchRuns();  // 15

// A drag from another process: each WM_MOUSEMOVE posted, then the program's
// edit read until it shows that move, in HSV mode (reading H) and in RGB mode
// (reading R10, which has the focus and the caret), for tintbox.exe and any
// `others`; next to the same against the minimal window writing one edit per
// move, without and with the focus (the platform's floors).
void BenchDragAcross(const std::vector<std::string>& others);

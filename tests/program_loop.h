// The program's own message loop, run by a test that hosts the real main
// window in its process: each message through ProcessMessage (texts caught up,
// accelerators, dispatch), the idle step when the queue is empty.
#pragma once

#include <windows.h>

// Handles what is queued until nothing has arrived for `quietRounds` rounds of
// `pauseMs` milliseconds (input sent with SendInput comes through the server).
void PumpLikeTheProgram(HACCEL accelerators, int quietRounds = 4, DWORD pauseMs = 10);

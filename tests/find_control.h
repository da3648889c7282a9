// A control anywhere inside a window (a dialog of the platform's, say), by
// window class and control ID; null when there is none.
#pragma once

#include <windows.h>

HWND FindControl(HWND parent, const char* cls, int id);

// A top-level window of process `processId` by window class (a visible one
// only, if asked); null when there is none.
HWND FindProcessWindow(DWORD processId, const char* cls, bool visibleOnly = false);

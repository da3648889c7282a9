// The full-screen capture overlay that picks a color from a screenshot.
#pragma once

#include <windows.h>

// ---- Globals owned by the capture ----
extern bool g_captureActive;   // an overlay is open
extern HWND g_captureWindow;   // the overlay while it is open

// The window procedure of the "Capture" class.
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes a screenshot and opens the overlay over it; nothing while one is open.
void StartCapture(HWND mainWindow);
// Closes the overlay without picking; nothing when none is open.
void CancelCapture();

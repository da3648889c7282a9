// The full-screen capture overlay that picks a color from a screenshot, and
// its magnifier panel.
#pragma once

#include <windows.h>

// The overlay's window class, registered at start-up.
extern const char kCaptureClass[];

// The window procedure of the "Capture" class.
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes a screenshot and opens the overlay over it, a window of `instance`
// owned by the main window; nothing while one is open.
void StartCapture(HWND mainWindow, HINSTANCE instance);
// Closes the overlay without picking; nothing when none is open.
void CancelCapture();

// Draws the magnifier panel (the pixels around the pointer enlarged, over the
// red, green and blue of the pixel under it) for the screen point (x, y) into the magnifier surface,
// reading the screenshot; does not put it on the screen.
void DrawMagnifier(int x, int y);

// Where the panel stands on a screen `screenWidth` × `screenHeight`: its top,
// and its left edge in the left and in the right half.
int PanelTop(int screenHeight);
int LeftPanelX(int screenWidth);
int RightPanelX(int screenWidth);

// The full-screen capture overlay that picks a color from a screenshot, and
// its magnifier panel.
#pragma once

#include <windows.h>

// The overlay's window class, registered at start-up.
extern const char kCaptureClass[];

// The window procedure of the "Capture" class.
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// How a capture was started: from the main window (F5, the button, the menu),
// or by the hotkey from anywhere, the main window perhaps behind other windows
// or minimised.
enum class CaptureStart { FromWindow, FromHotkey };

// Takes a screenshot and opens the overlay over it, a window of `instance`;
// nothing while one is open. The pick becomes the main window's color. From
// the window, the overlay is owned by it; from the hotkey, the overlay stands
// alone, so that closing it does not bring the main window forward, and the
// pick's text also goes to the clipboard.
void StartCapture(HWND mainWindow, HINSTANCE instance, CaptureStart how = CaptureStart::FromWindow);
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

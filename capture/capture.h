// The full-screen capture overlay that picks a color from a screenshot, and
// its magnifier panel.
#pragma once

#include <windows.h>

#include "view/geometry.h"

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
// red, green and blue of the pixel under it, and the hints) into the magnifier
// surface, reading the screenshot, for the point (x, y) of the screenshot: the
// overlay's client coordinates, the screen's less the virtual screen's
// top-left corner. Does not put it on the screen; nothing without the surface.
void DrawMagnifier(int x, int y);
// How many cells across the magnifier shows now (each capture starts at 15).
int MagnifierCells();

// Where a panel of panelWidth × panelHeight stands on a monitor of
// `screenWidth` × `screenHeight`, relative to the monitor: its top, and its
// left edge in the left and in the right half.
int PanelTop(int screenHeight, LONG panelHeight = Geo().panel.cy);
int LeftPanelX(int screenWidth, LONG panelWidth = Geo().panel.cx);
int RightPanelX(int screenWidth, LONG panelWidth = Geo().panel.cx);
// The panel's rectangle on `monitor` (any coordinates) for the pointer at
// pointerX: in the half of the monitor the pointer is not in, vertically centred.
RECT PanelPlace(const RECT& monitor, SIZE panel, int pointerX);

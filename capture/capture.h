// The full-screen capture overlay that picks a color from a screenshot, and
// its magnifier panel.
#pragma once

#include <windows.h>

#include "view/geometry.h"

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

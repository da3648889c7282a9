// The mouse on the main window: picking and storing palette swatches, dragging
// on the pickers, the reference color on release, and the cursor shown.
#pragma once

#include <windows.h>

// Points here are 96-DPI client points; the handlers turn the physical points
// of their messages into them.
//
// The palette cell under a point of the palette area: row-major, one cell a
// Logical().paletteCellPitch from the first cell's top-left. The bounds are not tested here.
int PaletteCellAt(int x, int y);
bool InPaletteArea(int x, int y);
// The area of the palette that picks cell `cell`, in client (physical) coordinates.
RECT PaletteCellRect(int cell);

// Makes a cell's color the current and the reference color.
void PickPaletteCell(HWND window, int cell);
// Stores the current color into a cell.
void StorePaletteCell(int cell);
// Applies a point to the pickers of the display mode shown.
void DragPickers(HWND window, int x, int y);
// WM_SETCURSOR: the eyedropper over the areas the mouse acts on, else the arrow.
void ChooseCursor(HWND window);

void OnLButtonDown(HWND window, BOOL doubleClick, int x, int y, UINT keyFlags);
void OnMouseMove(HWND window, int x, int y, UINT keyFlags);
void OnLButtonUp(HWND window, int x, int y, UINT keyFlags);
void OnRButtonDown(HWND window, BOOL doubleClick, int x, int y, UINT keyFlags);
void OnRButtonUp(HWND window, int x, int y, UINT keyFlags);

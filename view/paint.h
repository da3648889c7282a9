// Putting the main window's picture on the screen and keeping it in step with
// the current color.
#pragma once

#include <windows.h>

#include <cstdint>

#include "view/layout.h"

// WM_PAINT: labels, surfaces, markers and the etched line, clipped to the update region.
void PaintMainWindow(HWND window);

// After every change of the current color: redraws the swatch and the pickers
// of the mode shown, copies them to the window, repaints the marker strips and
// rebuilds the EDITCOPY text.
void RefreshColorDisplay(HWND window);

// Every way of taking a color ends here, the current color complete: it
// becomes the reference color, the window shows it (RefreshColorDisplay) and
// the edits of `rewrite` are written (typing leaves out the edit typed into
// and those the typing did not change).
void CommitCurrentColor(HWND window, EditSet rewrite = kAllColorEdits);
// The same at start-up, before the window is first shown: only what the first
// paint needs and creating the surfaces has not drawn, the swatch (and its
// contrast tip), and the texts. (The pickers are drawn as their surfaces are made, and copying
// anything to a window not yet on the screen is wasted: the first paint
// copies it all.)
void CommitStartingColor(HWND window);
// A COLORREF 0x00BBGGRR becomes the current color, complete, and is committed:
// a palette pick, a screen pick, the color dialog's choice.
void TakeColor(HWND window, uint32_t color);

// ---- Globals owned by the painting ----
extern int32_t g_displayMode;  // 0 the HSV pickers, 1 the RGB pickers, any other value none

// A drag step: the swatch, pickers and markers follow the color at once; the
// texts (each edit write costs more than a whole picker) follow by
// CatchUpTexts before any other message is handled, by CatchUpTextsWhenDue
// once the queue is empty, and one by one whenever a text is read.
void RefreshDuringDrag(HWND window);
// Writes the nine edits and EDITCOPY if they lag behind the color.
void CatchUpTexts(HWND window);
// Once nothing is waiting: the texts written if a display frame (16 ms) has
// passed since they were last written all together, else a timer set for
// when one has, so that a fast drag writes them once a frame, not every step.
void CatchUpTextsWhenDue(HWND window);
// Subclasses a color edit or EDITCOPY so that any message that may read or act
// on its text (WM_GETTEXT from another program, say) first brings that text
// up to date: a text lagging behind mid-drag is never seen.
void WatchTextReads(HWND control);

// Shows another display mode: the surfaces of that mode are redrawn first (only
// those of the mode shown are kept up to date), then the whole window repaints.
void SwitchDisplayMode(HWND window, int mode);

// WM_SYSCOLORCHANGE: the look is drawn from the system's colors, so every
// surface is drawn again with the new ones (their sunken edges), the tip
// control is told, and the whole window repaints.
void OnSysColorChange(HWND window);

// The swatch (current over reference color) and the palette, redrawn and shown,
// and their tips following them.
void RedrawSwatch();
void RedrawPalette();

// Rebuilds the text of EDITCOPY from the current color.
void UpdateCopyText();
// The whole text of EDITCOPY to the clipboard, through the edit itself, with a beep.
void CopyColorText();

// A marker strip: the area one marker can cover, right and bottom excluded.
struct MarkerPlace {
    int x, y;           // apex
    int orientation;
    RECT strip;
};
// The six markers for the current color: red, green, blue (mode 1) and
// hue, saturation, value (mode 0).
MarkerPlace RedMarker();
MarkerPlace GreenMarker();
MarkerPlace BlueMarker();
MarkerPlace HueMarker();
MarkerPlace SaturationMarker();
MarkerPlace ValueMarker();

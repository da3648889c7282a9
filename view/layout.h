// The main window's fixed layout: its client size and position, the cursors,
// the twelve child controls, the window DC and the off-screen surfaces.
#pragma once

#include <windows.h>

#include <cstdint>

#include "view/surfaces.h"

constexpr int kColorEditCount = 9;

// Everything the main window holds. OnCreate starts it afresh and makes the
// font, cursors, controls, window DC and surfaces; DestroyLayout releases the
// font, the surfaces and the window DC at close.
struct MainWindowState {
    HFONT uiFont;                        // the 12-pixel font of every control and label
    HCURSOR pickCursor;                  // the eyedropper, over the areas the mouse acts on
    HCURSOR storeCursor;                 // the paint bucket, while the right button stores into the palette
    HCURSOR arrowCursor;
    HWND editTable[kColorEditCount];     // R10, G10, B10, R16, G16, B16, H, S, V
    HWND editCopy;                       // EDITCOPY, the read-only text of the color
    HDC windowDc;                        // the window's own DC, kept until close
    Surfaces surfaces;
    int focusIndex;                      // position in editTable the focus commands start from
    uint8_t changeGuard = 1;             // 1: the edits' notifications are acted upon; 0 while the program writes them
    bool textsBehind;                    // mid-drag: the nine edits and EDITCOPY (some of them) lag behind the color
    unsigned textsLagging;               // which: EditBit(0..8) the color edits, bit 9 EDITCOPY
    DWORD textsWrittenAt;                // GetTickCount when they were last written all together
    bool catchUpTimerSet;                // the timer that writes them once a frame has passed since then
    bool captureActive;                  // the capture overlay is open
    HWND captureWindow;                  // the overlay while it is open
    UINT ignoredButton;                  // MK_LBUTTON or MK_RBUTTON: the press that closed the overlay,
                                         // whose moves and release are not this window's; 0 once it is up
    HWND focusOnLeaving;                 // the child that had the focus when the window was deactivated
    HWND tips;                           // the tip control: the swatch's contrast, the palette swatches' texts;
                                         // null until the first mouse move over the client area
    bool tipsTried;                      // that move has come: the tips are made (or cannot be)
};

// ---- Globals owned by the layout ----
extern MainWindowState g_window;

// WM_CREATE of the main window: starts the window's state afresh and builds it.
// The creation data is the POINT the window was saved at (none: the top-left corner).
BOOL OnCreate(HWND window, LPCREATESTRUCT create);

// Where a main window of `style` saved at `savedAt` is best created: the frame
// around a client area of Geo().client under a one-line menu bar, placed as
// OnCreate places it. OnCreate then has nothing to correct, and the window is
// not moved or sized again before it is shown (which costs as much as creating
// it); it still corrects a frame the system makes otherwise (a menu bar on two lines).
RECT InitialWindowRect(DWORD style, DWORD exStyle, POINT savedAt);

// WM_DPICHANGED: the window moved to a monitor of `dpi` (or that monitor's DPI
// changed). Takes the suggested window rectangle and lays the window out for
// the new DPI: the font, the controls and the surfaces made again, everything redrawn.
void OnDpiChanged(HWND window, UINT dpi, const RECT* suggested);
// As the platform's message crackers call a handler: WM_DPICHANGED's new DPI and rectangle.
#define HANDLE_WM_DPICHANGED(window, wParam, lParam, fn) \
    ((fn)((window), LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)), 0L)

// Releases the font, the surfaces and the window DC (at close).
void DestroyLayout(HWND window);

// Where a window of `width` × `height` saved at (x, y) is to open: where it
// was, unless no monitor shows any of it; then on the nearest monitor's work
// area. The position is in the coordinates of GetWindowPlacement, the way it
// was saved and the way it goes back (on Windows relative to the work area of
// the monitor, which leaves out a taskbar at the top or left); any int will do.
POINT PlaceOnSomeMonitor(int x, int y, int width, int height);

// Sets a control's text unless it already shows exactly that text.
void SetControlText(HWND control, const char* text);

// A set of the nine color edits: one bit an edit, in edit-table order (R10 is bit 0).
using EditSet = unsigned;
constexpr EditSet kRgbColorEdits = 0x03F;  // R10, G10, B10, R16, G16, B16
constexpr EditSet kHsvColorEdits = 0x1C0;  // H, S, V
constexpr EditSet kAllColorEdits = kRgbColorEdits | kHsvColorEdits;
constexpr EditSet EditBit(int position) { return 1u << position; }

// Writes the current color into the edits of `edits`, in edit-table order,
// without their notifications acting (the change guard is lowered meanwhile,
// then set back as it was).
void WriteColorEdits(HWND window, EditSet edits = kAllColorEdits);

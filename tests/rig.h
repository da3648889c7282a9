// Helpers of the suites, and of tools/probe_display.cpp, that run on a rig (scripts/wine-rig): more than one
// monitor, a screen of more than 96 DPI. The rig says what it set up through
// TINTBOX_MONITORS, TINTBOX_PRIMARY_HEAD and TINTBOX_DPI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MonitorSeen {
    RECT rect;
    RECT work;
    bool primary;
    UINT dpi;  // effective DPI
};

// The monitors as the platform reports them, in its order.
std::vector<MonitorSeen> ReportedMonitors();
// The monitors as the rig lays them out: the sizes of TINTBOX_MONITORS side by
// side from the left, top edges aligned, the TINTBOX_PRIMARY_HEAD-th one's
// top-left corner at (0, 0). Empty outside a multi-monitor rig.
std::vector<RECT> RigMonitors();
size_t RigPrimaryHead();
// TINTBOX_DPI, or 0 when the rig did not say.
int RigDpi();

// SM_XVIRTUALSCREEN .. SM_CYVIRTUALSCREEN as a rectangle.
RECT VirtualScreenRect();
POINT Center(const RECT& r);
std::string Text(const RECT& r);
std::string Text(POINT p);

// Handles messages for about `ms` milliseconds.
void PumpFor(DWORD ms);

// A shown, painted top-most popup of one color over `r` (screen coordinates).
HWND ColorPopup(const RECT& r, COLORREF color);

// A color of its own for every screen point near another (never black), and a
// shown, painted top-most popup over `r` (screen coordinates) showing it.
COLORREF RigPattern(int x, int y);
HWND PatternPopup(const RECT& r);

// The screen's pixels in `r` (screen coordinates), row by row, read through
// the screen DC in strips of `stripRows` rows as the capture reads it.
std::vector<COLORREF> ReadScreen(const RECT& r, int stripRows = 16);
// What `dc` shows in `r` (its own coordinates), row by row.
std::vector<COLORREF> ReadDc(HDC dc, const RECT& r, int stripRows = 16);

// Through the input queue, as a user would: `key` pressed and released, with
// Shift held around it when `shift`; the pointer moved to screen point `p`
// with `flags` (MOUSEEVENTF_LEFTDOWN ...) as an absolute move over the virtual desktop.
void SendKey(WORD key, bool shift);
void SendMouse(POINT p, DWORD flags);

// A setting of this program's manifest as the platform reads it
// (QueryActCtxSettingsW), in UTF-8; "(none)" when it has none.
std::string ManifestSetting(const wchar_t* space, const wchar_t* name);

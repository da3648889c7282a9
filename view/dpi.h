// The DPI the platform gives a window, a monitor or the system. The per-window
// and per-monitor calls exist only on newer systems: they are looked up at
// run time, and where they are missing the screen's LOGPIXELSX stands in.
#pragma once

#include <windows.h>

UINT SystemDpi();
UINT WindowDpi(HWND window);
UINT MonitorDpi(HMONITOR monitor);

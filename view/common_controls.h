// The platform's common controls (the tooltips, the hotkey control). Their
// library is loaded the first time a class is asked for: imported, it would
// load with the program, before its window is on the screen.
#pragma once

#include <windows.h>

// Registers the common control classes `classes` (ICC_...); false when the
// library or its function cannot be had.
bool InitCommonControlClasses(DWORD classes);

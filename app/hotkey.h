// The hotkey that starts a screen pick from anywhere, with Tintbox in the
// background or minimised: registered on the main window, changed in its
// dialog, kept in "tbox.ini".
#pragma once

#include <windows.h>

#include "store/settings_data.h"

// A chord as RegisterHotKey takes it: MOD_* bits and a virtual key, 0 for none.
struct HotkeyChord {
    UINT modifiers;
    UINT key;
};

// ---- Globals owned by the hotkey ----
extern HotkeySetting g_hotkey;  // as chosen; kept in the settings
extern HotkeyChord g_pickHotkey;      // registered on the main window now; key 0 while none is

// The ID the main window's hotkey is registered under.
constexpr int kPickHotkeyId = 1;

// Registers the chosen chord on the main window; the default Win+Shift+C,
// when another program holds it, gives way to Win+Alt+C. False when no chord
// could be registered (or none is chosen).
bool RegisterPickHotkey(HWND window);
void UnregisterPickHotkey(HWND window);
// Registers the hotkey as the main window opens and, the first time ever that
// a chosen hotkey cannot be had, says so.
void StartPickHotkey(HWND window);

// WM_HOTKEY of the main window: the screen pick, unless one is running or a
// dialog or message box holds the window.
void OnHotKey(HWND window, int id, UINT modifiers, UINT key);

// The hotkey dialog (resource 109), modal on the main window.
void ShowHotkeyDialog(HWND window);

// The hotkey control's flags name Shift and Alt the other way round from the
// MOD_* bits (HOTKEYF_SHIFT 1, HOTKEYF_ALT 4; MOD_ALT 1, MOD_SHIFT 4), and the
// control has no Windows key.
BYTE HotkeyControlFlags(UINT modifiers);
UINT ModifiersOfControl(BYTE flags, bool win);

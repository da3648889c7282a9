// The program's frame: start-up, the main window procedure and shutdown.
#pragma once

#include <windows.h>

#include "store/settings_data.h"

// ---- Globals owned by the frame ----
extern HINSTANCE g_instance;   // the module, for every resource load and window creation
extern HWND g_mainWindow;      // set once CreateWindowExA of the main window returns
extern uint32_t g_customColors[kCustomColorCount];  // the color dialog's, COLORREFs
extern char g_paletteFile[kPathBufferSize];         // the last palette file opened or saved; empty when none

// The settings read at start handed to their owners: the display mode to the
// view, the text form and the color to the color model, the rest to the frame.
void ApplySettings(const Settings& settings);
// The settings as they are now, gathered from their owners, for saving.
Settings GatherSettings();

// With the program directory found: chooses the interface language, loads the
// program's state, registers the window classes, opens the main window and
// registers the hotkey. False when a window class cannot be registered.
bool StartUp(HINSTANCE instance);

// Its steps. The program's state before any window: the settings handed to
// their owners, the palette, the color completed from its red, green and blue.
void LoadProgramState();
// The main window's class and the capture overlay's; false when refused.
bool RegisterMainWindowClass();
bool RegisterCaptureWindowClass();
// Creates the main window (its class registered), shows it with the current
// color committed, and puts the focus into R10 with its text selected.
void OpenMainWindow();

// The message loop, with the accelerators; returns the exit code.
int RunMessageLoop();
// One message of the loop: texts caught up where needed, accelerators, dispatch.
void ProcessMessage(MSG& msg, HACCEL accelerators);
// What the loop does once no message is waiting.
void OnIdle();

// Finds the executable's folder and keeps it as the program directory.
void FindProgramDirectory();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_COMMAND of the main window: the color edits, menu commands, accelerators, buttons.
void OnCommand(HWND window, int id, HWND control, UINT code);

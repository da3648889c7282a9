// The user's settings as held in memory, and the text blocks of "tbox.ini".
// Plain C++: the reading and writing through the platform is in settings.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "color/color.h"
#include "color/color_text.h"

// Room for the longest path the platform can name (32,767 characters) and a NUL.
constexpr size_t kPathBufferSize = 32768;
constexpr int kCustomColorCount = 16;

// The hotkey that starts a screen pick from anywhere: the platform's modifier
// bits (1 Alt, 2 Ctrl, 4 Shift, 8 Win) and a virtual key, 0 for no hotkey.
struct HotkeySetting {
    int32_t Modifiers;
    int32_t Key;
    int32_t Notified;  // 1 once the user was told that no hotkey could be had
};
constexpr int32_t kHotkeyModifierBits = 0x000F;
// Win+Shift+C; when another program holds it, Win+Alt+C is taken instead.
constexpr HotkeySetting kDefaultHotkey = {0x000C, 'C', 0};

// What "tbox.ini" holds. Loading returns it and saving takes it; while the
// program runs each part lives with its owner, and the app hands it over.
struct Settings {
    int32_t PosX;          // restored left of the main window
    int32_t PosY;          // restored top of the main window
    int32_t DisplayMode;   // 0 HSV picker, 1 RGB picker
    TextForm Text;         // copy format, hex letter case, '#' prefix
    Rgb Color;             // red, green and blue of the current color
    uint32_t CustColors[kCustomColorCount];  // COLORREFs of the color dialog's custom colors
    char PaletteFile[kPathBufferSize];       // last palette file opened or saved; empty when none
    HotkeySetting Hotkey;
};

// What a missing file, section or key gives.
constexpr int32_t kDefaultPosX = 0;
constexpr int32_t kDefaultPosY = 0;
constexpr int32_t kDefaultDisplayMode = 0;
constexpr int32_t kDefaultChannel = 255;
constexpr uint32_t kDefaultCustColor = 0x00FFFFFF;

// One section of the settings file as handed to the platform: NUL-terminated
// "Key = value" lines laid end to end and closed by one more NUL.
struct SettingsSection {
    std::string name;
    std::string block;
};

// The sections written at close, in file order: Window, Color, CustColor,
// Palette, Hotkey. A negative position is written as 0.
std::vector<SettingsSection> BuildSettingsSections(const Settings& settings);
// The Window section for a window whose restored rectangle stands at (left, top).
SettingsSection WindowSection(int32_t left, int32_t top);

// A hotkey as read from the file: modifiers other than the four dropped, a
// key outside 1..254 taken as no hotkey.
HotkeySetting SaneHotkey(HotkeySetting read);

// A stored palette path as read back: one pair of double quotes around it is removed.
void StripPathQuotes(char* path);

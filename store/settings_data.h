// The user's settings as held in memory, and the text blocks of "tbox.ini".
// Plain C++: the reading and writing through the platform is in settings.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Room for the longest path the platform can name (32,767 characters) and a NUL.
constexpr size_t kPathBufferSize = 32768;
constexpr int kCustomColorCount = 16;

struct Settings {
    int32_t PosX;          // restored left of the main window
    int32_t PosY;          // restored top of the main window
    int32_t DisplayMode;   // 0 HSV picker, 1 RGB picker
    int32_t CopyFormat;    // 0 HTML, 1 RGB macro, 2 DWORD
    int32_t HexCase;       // 0 lower case, 1 upper case
    int32_t SharpPrefix;   // 1: the HTML form starts with '#'
    uint32_t CustColors[kCustomColorCount];  // COLORREFs of the color dialog's custom colors
    char PaletteFile[kPathBufferSize];       // last palette file opened or saved; empty when none
};

// ---- Globals owned by the settings ----
extern Settings g_settings;

// What a missing file, section or key gives.
constexpr int32_t kDefaultPosX = 0;
constexpr int32_t kDefaultPosY = 0;
constexpr int32_t kDefaultDisplayMode = 0;
constexpr int32_t kDefaultCopyFormat = 0;
constexpr int32_t kDefaultHexCase = 0;
constexpr int32_t kDefaultSharpPrefix = 1;
constexpr int32_t kDefaultChannel = 255;
constexpr uint32_t kDefaultCustColor = 0x00FFFFFF;

// One section of the settings file as handed to the platform: NUL-terminated
// "Key = value" lines laid end to end and closed by one more NUL.
struct SettingsSection {
    std::string name;
    std::string block;
};

// The four sections written at close, in file order: Window, Color, CustColor,
// Palette. The position is the restored rectangle's; negatives are written as 0.
std::vector<SettingsSection> BuildSettingsSections(const Settings& settings, int32_t left, int32_t top,
                                                   int32_t red, int32_t green, int32_t blue);

// A stored palette path as read back: one pair of double quotes around it is removed.
void StripPathQuotes(char* path);

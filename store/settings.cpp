#include "store/settings.h"

#include <cstring>

#include "store/files.h"

static_assert(kDefaultHotkey.Modifiers == (MOD_WIN | MOD_SHIFT), "Win+Shift+C");
static_assert(kHotkeyModifierBits == (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN), "the four modifiers");

// The private-profile functions take paths of fewer than MAX_PATH characters;
// handed a longer one they may read or write some other file. Such a settings
// file is neither read (the defaults apply) nor written.
static bool ProfilePathUsable(const std::string& path)
{
    return path.size() < MAX_PATH;
}

static int32_t ReadInt(const char* section, const char* key, int32_t fallback, const std::string& path)
{
    if (!ProfilePathUsable(path))
        return fallback;
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path.c_str()));
}

Settings LoadSettings()
{
    const std::string path = ProgramFilePath("tbox.ini");
    Settings s;
    std::memset(&s, 0, sizeof s);
    s.PosX = ReadInt("Window", "PosX", kDefaultPosX, path);
    s.PosY = ReadInt("Window", "PosY", kDefaultPosY, path);
    s.DisplayMode = ReadInt("Color", "Mode", kDefaultDisplayMode, path);
    s.Text.CopyFormat = ReadInt("Color", "Copy", kDefaultTextForm.CopyFormat, path);
    s.Text.HexCase = ReadInt("Color", "Char", kDefaultTextForm.HexCase, path);
    s.Text.SharpPrefix = ReadInt("Color", "Sharp", kDefaultTextForm.SharpPrefix, path);
    // A hand-edited channel outside 0..255 would break the two-digit hex text.
    s.Color.red = ClampChannel(ReadInt("Color", "R", kDefaultChannel, path));
    s.Color.green = ClampChannel(ReadInt("Color", "G", kDefaultChannel, path));
    s.Color.blue = ClampChannel(ReadInt("Color", "B", kDefaultChannel, path));
    for (int i = 0; i < kCustomColorCount; ++i) {
        char key[16];
        wsprintfA(key, "Color%d", i);
        s.CustColors[i] = static_cast<uint32_t>(ReadInt("CustColor", key, static_cast<int32_t>(kDefaultCustColor), path));
    }

    s.Hotkey = SaneHotkey({ReadInt("Hotkey", "Modifiers", kDefaultHotkey.Modifiers, path),
                           ReadInt("Hotkey", "Key", kDefaultHotkey.Key, path),
                           ReadInt("Hotkey", "Notified", kDefaultHotkey.Notified, path)});

    if (!ProfilePathUsable(path))
        return s;
    const DWORD length =
        GetPrivateProfileStringA("Palette", "File", "", s.PaletteFile, sizeof s.PaletteFile, path.c_str());
    if (length >= sizeof s.PaletteFile - 1)
        ZeroMemory(s.PaletteFile, sizeof s.PaletteFile);  // cut short: no usable path
    StripPathQuotes(s.PaletteFile);
    return s;
}

bool GetRestoredPosition(HWND window, int32_t* left, int32_t* top)
{
    WINDOWPLACEMENT placement;
    ZeroMemory(&placement, sizeof placement);
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    *left = placement.rcNormalPosition.left;
    *top = placement.rcNormalPosition.top;
    return true;
}

bool SaveSettings(const Settings& settings, HWND placementWindow)
{
    const std::string path = ProgramFilePath("tbox.ini");
    if (!ProfilePathUsable(path))
        return false;
    std::vector<SettingsSection> sections = BuildSettingsSections(settings);
    int32_t left = 0;
    int32_t top = 0;
    if (placementWindow && GetRestoredPosition(placementWindow, &left, &top))
        sections[0] = WindowSection(left, top);

    bool written = true;
    for (const SettingsSection& section : sections) {
        if (!WritePrivateProfileSectionA(section.name.c_str(), section.block.data(), path.c_str()))
            written = false;
    }
    return written;
}

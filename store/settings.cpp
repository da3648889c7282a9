#include "store/settings.h"

#include "color/color.h"
#include "store/files.h"

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

void LoadSettings()
{
    const std::string path = ProgramFilePath("tbox.ini");
    Settings& s = g_settings;
    s.PosX = ReadInt("Window", "PosX", kDefaultPosX, path);
    s.PosY = ReadInt("Window", "PosY", kDefaultPosY, path);
    s.DisplayMode = ReadInt("Color", "Mode", kDefaultDisplayMode, path);
    s.CopyFormat = ReadInt("Color", "Copy", kDefaultCopyFormat, path);
    s.HexCase = ReadInt("Color", "Char", kDefaultHexCase, path);
    s.SharpPrefix = ReadInt("Color", "Sharp", kDefaultSharpPrefix, path);
    // A hand-edited channel outside 0..255 would break the two-digit hex text.
    g_current.red = ClampChannel(ReadInt("Color", "R", kDefaultChannel, path));
    g_current.green = ClampChannel(ReadInt("Color", "G", kDefaultChannel, path));
    g_current.blue = ClampChannel(ReadInt("Color", "B", kDefaultChannel, path));
    for (int i = 0; i < kCustomColorCount; ++i) {
        char key[16];
        wsprintfA(key, "Color%d", i);
        s.CustColors[i] = static_cast<uint32_t>(ReadInt("CustColor", key, static_cast<int32_t>(kDefaultCustColor), path));
    }

    ZeroMemory(s.PaletteFile, sizeof s.PaletteFile);
    if (!ProfilePathUsable(path))
        return;
    const DWORD length =
        GetPrivateProfileStringA("Palette", "File", "", s.PaletteFile, sizeof s.PaletteFile, path.c_str());
    if (length >= sizeof s.PaletteFile - 1)
        ZeroMemory(s.PaletteFile, sizeof s.PaletteFile);  // cut short: no usable path
    StripPathQuotes(s.PaletteFile);
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

bool SaveSettings(HWND placementWindow)
{
    const std::string path = ProgramFilePath("tbox.ini");
    if (!ProfilePathUsable(path))
        return false;
    int32_t left = g_settings.PosX;
    int32_t top = g_settings.PosY;
    if (placementWindow)
        GetRestoredPosition(placementWindow, &left, &top);

    bool written = true;
    for (const SettingsSection& section :
         BuildSettingsSections(g_settings, left, top, g_current.red, g_current.green, g_current.blue)) {
        if (!WritePrivateProfileSectionA(section.name.c_str(), section.block.data(), path.c_str()))
            written = false;
    }
    return written;
}

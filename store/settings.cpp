#include "store/settings.h"

#include <cstring>
#include <vector>

#include "store/files.h"
#include "store/profile_section.h"

static_assert(kDefaultHotkey.Modifiers == (MOD_WIN | MOD_SHIFT), "Win+Shift+C");
static_assert(kHotkeyModifierBits == (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN), "the four modifiers");

// The private-profile functions take paths of fewer than MAX_PATH characters;
// handed a longer one they may read or write some other file. Such a settings
// file is neither read (the defaults apply) nor written.
static bool ProfilePathUsable(const std::string& path)
{
    return path.size() < MAX_PATH;
}

// A whole section in one platform call (the file is opened and checked once
// per call, which makes a read per key cost a millisecond or more in all);
// empty when the file or section is missing or the path unusable.
static ProfileSection ReadSection(const char* section, const std::string& path)
{
    if (!ProfilePathUsable(path))
        return ProfileSection();
    std::vector<char> block(4096);
    for (;;) {
        const DWORD size = static_cast<DWORD>(block.size());
        const DWORD length = GetPrivateProfileSectionA(section, block.data(), size, path.c_str());
        if (length + 2 < size || size >= (1u << 24))  // size - 2 means cut short
            return ProfileSection(block.data(), length);
        block.resize(block.size() * 2);
    }
}

namespace {

constexpr size_t kSettingsSections = 5;

// The file as LoadSettings found it, to tell at close whether writing would change it.
struct LoadedFile {
    bool present;
    WIN32_FILE_ATTRIBUTE_DATA attributes;  // taken before the sections were read
    ProfileSection sections[kSettingsSections];  // Window, Color, CustColor, Palette, Hotkey
};
LoadedFile s_loaded;

bool SameSizeAndTime(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b)
{
    return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// The file is as LoadSettings found it and each section held exactly the lines
// to be written: writing would leave the settings as they are. (Most sessions
// end with the settings they started with; a rewrite of the file per section
// costs far more than telling so.)
bool SettingsFileHoldsAlready(const std::string& path, const std::vector<SettingsSection>& sections)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!s_loaded.present || sections.size() != kSettingsSections || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &now) ||
        !SameSizeAndTime(now, s_loaded.attributes))
        return false;
    for (size_t i = 0; i < kSettingsSections; ++i)
        if (!ProfileSection(sections[i].block.data(), sections[i].block.size()).SameLines(s_loaded.sections[i]))
            return false;
    return true;
}

}  // namespace

Settings LoadSettings()
{
    const std::string path = ProgramFilePath("tbox.ini");
    s_loaded.present = ProfilePathUsable(path) &&
                       GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &s_loaded.attributes);
    const ProfileSection window = ReadSection("Window", path);
    const ProfileSection color = ReadSection("Color", path);
    const ProfileSection custColor = ReadSection("CustColor", path);
    const ProfileSection palette = ReadSection("Palette", path);
    const ProfileSection hotkey = ReadSection("Hotkey", path);
    s_loaded.sections[0] = window;
    s_loaded.sections[1] = color;
    s_loaded.sections[2] = custColor;
    s_loaded.sections[3] = palette;
    s_loaded.sections[4] = hotkey;
    Settings s;
    std::memset(&s, 0, sizeof s);
    s.PosX = window.Int("PosX", kDefaultPosX);
    s.PosY = window.Int("PosY", kDefaultPosY);
    s.DisplayMode = color.Int("Mode", kDefaultDisplayMode);
    s.Text.CopyFormat = color.Int("Copy", kDefaultTextForm.CopyFormat);
    s.Text.HexCase = color.Int("Char", kDefaultTextForm.HexCase);
    s.Text.SharpPrefix = color.Int("Sharp", kDefaultTextForm.SharpPrefix);
    // A hand-edited channel outside 0..255 would break the two-digit hex text.
    s.Color.red = ClampChannel(color.Int("R", kDefaultChannel));
    s.Color.green = ClampChannel(color.Int("G", kDefaultChannel));
    s.Color.blue = ClampChannel(color.Int("B", kDefaultChannel));
    for (int i = 0; i < kCustomColorCount; ++i) {
        char key[16];
        wsprintfA(key, "Color%d", i);
        s.CustColors[i] = static_cast<uint32_t>(custColor.Int(key, static_cast<int32_t>(kDefaultCustColor)));
    }

    s.Hotkey = SaneHotkey({hotkey.Int("Modifiers", kDefaultHotkey.Modifiers), hotkey.Int("Key", kDefaultHotkey.Key),
                           hotkey.Int("Notified", kDefaultHotkey.Notified)});

    const std::string file = palette.String("File", "", sizeof s.PaletteFile);
    if (file.size() >= sizeof s.PaletteFile - 1)
        return s;  // cut short: no usable path
    file.copy(s.PaletteFile, file.size());
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
    if (!ProfilePathUsable(path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::vector<SettingsSection> sections = BuildSettingsSections(settings);
    int32_t left = 0;
    int32_t top = 0;
    if (placementWindow && GetRestoredPosition(placementWindow, &left, &top))
        sections[0] = WindowSection(left, top);
    if (SettingsFileHoldsAlready(path, sections))
        return true;

    bool written = true;
    DWORD reason = ERROR_SUCCESS;  // of the first section refused
    for (const SettingsSection& section : sections) {
        if (!WritePrivateProfileSectionA(section.name.c_str(), section.block.data(), path.c_str()) && written) {
            reason = GetLastError();
            written = false;
        }
    }
    SetLastError(reason);
    return written;
}

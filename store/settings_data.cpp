#include "store/settings_data.h"

#include <cstdio>
#include <cstring>

namespace {

// Appends one "Key = value" line and its terminating NUL.
void AppendLine(std::string& block, const char* key, int32_t number)
{
    char line[64];
    std::snprintf(line, sizeof line, "%s = %d", key, static_cast<int>(number));
    block += line;
    block += '\0';
}

}  // namespace

SettingsSection WindowSection(int32_t left, int32_t top)
{
    SettingsSection section;
    section.name = "Window";
    AppendLine(section.block, "PosX", left < 0 ? 0 : left);
    AppendLine(section.block, "PosY", top < 0 ? 0 : top);
    section.block += '\0';  // the empty string that closes the block
    return section;
}

std::vector<SettingsSection> BuildSettingsSections(const Settings& s)
{
    std::vector<SettingsSection> sections(5);
    sections[0] = WindowSection(s.PosX, s.PosY);

    sections[1].name = "Color";
    AppendLine(sections[1].block, "Mode", s.DisplayMode);
    AppendLine(sections[1].block, "Copy", s.Text.CopyFormat);
    AppendLine(sections[1].block, "Char", s.Text.HexCase);
    AppendLine(sections[1].block, "Sharp", s.Text.SharpPrefix);
    AppendLine(sections[1].block, "R", s.Color.red);
    AppendLine(sections[1].block, "G", s.Color.green);
    AppendLine(sections[1].block, "B", s.Color.blue);

    sections[2].name = "CustColor";
    for (int i = 0; i < kCustomColorCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "Color%d", i);
        // A COLORREF never exceeds 0x00FFFFFF, so the signed decimal is its plain value.
        AppendLine(sections[2].block, key, static_cast<int32_t>(s.CustColors[i]));
    }

    sections[3].name = "Palette";
    sections[3].block = "File = \"";
    sections[3].block += s.PaletteFile;
    sections[3].block += '"';
    sections[3].block += '\0';

    sections[4].name = "Hotkey";
    AppendLine(sections[4].block, "Modifiers", s.Hotkey.Modifiers);
    AppendLine(sections[4].block, "Key", s.Hotkey.Key);
    AppendLine(sections[4].block, "Notified", s.Hotkey.Notified);

    for (size_t i = 1; i < sections.size(); ++i)
        sections[i].block += '\0';  // the empty string that closes the block
    return sections;
}

HotkeySetting SaneHotkey(HotkeySetting read)
{
    HotkeySetting sane = read;
    sane.Modifiers &= kHotkeyModifierBits;
    if (read.Key < 1 || read.Key > 254)
        sane.Key = 0;
    sane.Notified = read.Notified != 0 ? 1 : 0;
    return sane;
}

void StripPathQuotes(char* path)
{
    const size_t length = std::strlen(path);
    if (length >= 2 && path[0] == '"' && path[length - 1] == '"') {
        std::memmove(path, path + 1, length - 2);
        path[length - 2] = '\0';
    }
}

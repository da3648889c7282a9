#include "store/settings_data.h"

#include <cstdio>
#include <cstring>

Settings g_settings = {
    kDefaultPosX, kDefaultPosY, kDefaultDisplayMode, kDefaultCopyFormat, kDefaultHexCase, kDefaultSharpPrefix,
    {kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor,
     kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor,
     kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor, kDefaultCustColor,
     kDefaultCustColor},
    {},
};

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

std::vector<SettingsSection> BuildSettingsSections(const Settings& s, int32_t left, int32_t top, int32_t red,
                                                   int32_t green, int32_t blue)
{
    std::vector<SettingsSection> sections(4);

    sections[0].name = "Window";
    AppendLine(sections[0].block, "PosX", left < 0 ? 0 : left);
    AppendLine(sections[0].block, "PosY", top < 0 ? 0 : top);

    sections[1].name = "Color";
    AppendLine(sections[1].block, "Mode", s.DisplayMode);
    AppendLine(sections[1].block, "Copy", s.CopyFormat);
    AppendLine(sections[1].block, "Char", s.HexCase);
    AppendLine(sections[1].block, "Sharp", s.SharpPrefix);
    AppendLine(sections[1].block, "R", red);
    AppendLine(sections[1].block, "G", green);
    AppendLine(sections[1].block, "B", blue);

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

    for (SettingsSection& section : sections)
        section.block += '\0';  // the empty string that closes the block
    return sections;
}

void StripPathQuotes(char* path)
{
    const size_t length = std::strlen(path);
    if (length >= 2 && path[0] == '"' && path[length - 1] == '"') {
        std::memmove(path, path + 1, length - 2);
        path[length - 2] = '\0';
    }
}

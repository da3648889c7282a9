#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "color/color.h"
#include "store/settings_data.h"
#include "store/files.h"
#include "store/settings.h"
#include "tests/test_folder.h"

namespace {

// The settings as the program would hold them: what loading returned, what saving takes.
Settings g_held;

// Every setting at a value no file gives.
void ResetSettings()
{
    g_held.PosX = g_held.PosY = -12345;
    g_held.DisplayMode = g_held.Text.CopyFormat = g_held.Text.HexCase = g_held.Text.SharpPrefix = -12345;
    for (uint32_t& c : g_held.CustColors)
        c = 0xDEADBEEF;
    std::memset(g_held.PaletteFile, 'x', sizeof g_held.PaletteFile - 1);
    g_held.PaletteFile[sizeof g_held.PaletteFile - 1] = '\0';
    g_held.Color = Rgb{-7, -7, -7};
    g_held.Hotkey = HotkeySetting{-7, -7, -7};
}

void SetPaletteFile(const std::string& path)
{
    std::memset(g_held.PaletteFile, 0, sizeof g_held.PaletteFile);
    path.copy(g_held.PaletteFile, sizeof g_held.PaletteFile - 1);
}

// Lines joined as a section block: each ended by a NUL, the block by one more.
std::string Block(std::initializer_list<const char*> lines)
{
    std::string block;
    for (const char* line : lines) {
        block += line;
        block += '\0';
    }
    return block + '\0';
}

std::string ReadString(const std::string& file, const char* section, const char* key)
{
    std::vector<char> buffer(65536);
    GetPrivateProfileStringA(section, key, "<missing>", buffer.data(), static_cast<DWORD>(buffer.size()),
                             file.c_str());
    return buffer.data();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_programDir = folder.path();
        ResetSettings();
    }
    std::string ini() const { return folder.file("tbox.ini"); }
    TestFolder folder;
};

TEST_F(SettingsTest, FirstRunGivesTheDefaults)
{
    g_held = LoadSettings();
    EXPECT_EQ(g_held.PosX, 0);
    EXPECT_EQ(g_held.PosY, 0);
    EXPECT_EQ(g_held.DisplayMode, 0);
    EXPECT_EQ(g_held.Text.CopyFormat, 0);
    EXPECT_EQ(g_held.Text.HexCase, 0);
    EXPECT_EQ(g_held.Text.SharpPrefix, 1);
    EXPECT_EQ(g_held.Color.red, 255);
    EXPECT_EQ(g_held.Color.green, 255);
    EXPECT_EQ(g_held.Color.blue, 255);
    for (uint32_t c : g_held.CustColors)
        EXPECT_EQ(c, 16777215u);
    EXPECT_STREQ(g_held.PaletteFile, "");
    EXPECT_EQ(g_held.Hotkey.Modifiers, MOD_WIN | MOD_SHIFT);
    EXPECT_EQ(g_held.Hotkey.Key, 'C');
    EXPECT_EQ(g_held.Hotkey.Notified, 0);
    EXPECT_FALSE(FileExists(ini())) << "reading must not create the file";
}

TEST_F(SettingsTest, ReadingFollowsTheProfileRules)
{
    struct Case {
        const char* name;
        const char* text;
        int32_t posX, posY, mode, copy, hexCase, sharp, r, g, b;
        uint32_t color3;
        const char* palette;
    };
    const Case cases[] = {
        {"only some keys", "[Color]\r\nMode=1\r\nR=10\r\n", 0, 0, 1, 0, 0, 1, 10, 255, 255, 16777215u, ""},
        {"other case and blanks",
         "[window]\r\nposx = 33\r\n  POSY   =   44  \r\n[COLOR]\r\ncopy = 2\r\nchar=1\r\nsharp = 0\r\n"
         "r = 18\r\ng =52\r\nb= 86\r\n[custcolor]\r\ncolor3 = 255\r\n[palette]\r\nfile = \"C:\\my pal.tbp\"\r\n",
         33, 44, 0, 2, 1, 0, 18, 52, 86, 255u, "C:\\my pal.tbp"},
        {"out of range kept or clamped",
         "[Color]\r\nMode=7\r\nCopy=-3\r\nChar=5\r\nSharp=9\r\nR=300\r\nG=-5\r\nB=1000000\r\n[Window]\r\nPosX=-20\r\n",
         -20, 0, 7, -3, 5, 9, 255, 0, 255, 16777215u, ""},
        {"unquoted path", "[Palette]\r\nFile=D:\\a b\\c.tbp\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255, 16777215u,
         "D:\\a b\\c.tbp"},
        {"empty quoted path", "[Palette]\r\nFile = \"\"\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255, 16777215u, ""},
        {"lone quote", "[Palette]\r\nFile = \"\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255, 16777215u, "\""},
        {"unclosed quote", "[Palette]\r\nFile = \"C:\\a.tbp\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255, 16777215u,
         "\"C:\\a.tbp"},
        {"doubled quotes", "[Palette]\r\nFile = \"\"C:\\a.tbp\"\"\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255,
         16777215u, "C:\\a.tbp"},
        {"garbage", "\x01\x02 not an ini \xff\xfe\r\n[[[\r\n=\r\n", 0, 0, 0, 0, 0, 1, 255, 255, 255, 16777215u, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSettings();
        WriteWholeFile(ini(), c.text);
        g_held = LoadSettings();
        EXPECT_EQ(g_held.PosX, c.posX);
        EXPECT_EQ(g_held.PosY, c.posY);
        EXPECT_EQ(g_held.DisplayMode, c.mode);
        EXPECT_EQ(g_held.Text.CopyFormat, c.copy);
        EXPECT_EQ(g_held.Text.HexCase, c.hexCase);
        EXPECT_EQ(g_held.Text.SharpPrefix, c.sharp);
        EXPECT_EQ(g_held.Color.red, c.r);
        EXPECT_EQ(g_held.Color.green, c.g);
        EXPECT_EQ(g_held.Color.blue, c.b);
        EXPECT_EQ(g_held.CustColors[3], c.color3);
        EXPECT_EQ(g_held.CustColors[4], 16777215u);
        EXPECT_STREQ(g_held.PaletteFile, c.palette);
    }
}

// Each setting as the platform reads it from the file key by key.
struct KeyByKey {
    int32_t ints[9 + kCustomColorCount];
    std::string palette;
    HotkeySetting hotkey;
};

KeyByKey ReadKeyByKey(const std::string& file)
{
    static const char* const keys[9][2] = {{"Window", "PosX"}, {"Window", "PosY"}, {"Color", "Mode"},
                                           {"Color", "Copy"},  {"Color", "Char"},  {"Color", "Sharp"},
                                           {"Color", "R"},     {"Color", "G"},     {"Color", "B"}};
    static const int32_t fallbacks[9] = {0, 0, 0, 0, 0, 1, 255, 255, 255};
    KeyByKey read;
    for (int i = 0; i < 9; ++i)
        read.ints[i] = static_cast<int32_t>(GetPrivateProfileIntA(keys[i][0], keys[i][1], fallbacks[i], file.c_str()));
    for (int i = 0; i < kCustomColorCount; ++i)
        read.ints[9 + i] = static_cast<int32_t>(
            GetPrivateProfileIntA("CustColor", ("Color" + std::to_string(i)).c_str(), 16777215, file.c_str()));
    std::vector<char> path(kPathBufferSize);
    GetPrivateProfileStringA("Palette", "File", "", path.data(), static_cast<DWORD>(path.size()), file.c_str());
    read.palette = path.data();
    const auto hotkey = [&](const char* key, int32_t fallback) {
        return static_cast<int32_t>(GetPrivateProfileIntA("Hotkey", key, fallback, file.c_str()));
    };
    read.hotkey = SaneHotkey({hotkey("Modifiers", kDefaultHotkey.Modifiers), hotkey("Key", kDefaultHotkey.Key),
                              hotkey("Notified", kDefaultHotkey.Notified)});
    return read;
}

// ---- Counting the profile reads: this executable's import table entries of
// the platform's profile-reading functions pointed at counters ----

int g_profileReads;
decltype(&GetPrivateProfileIntA) g_readInt;
decltype(&GetPrivateProfileStringA) g_readString;
decltype(&GetPrivateProfileSectionA) g_readSection;

UINT WINAPI CountedReadInt(LPCSTR section, LPCSTR key, INT fallback, LPCSTR file)
{
    ++g_profileReads;
    return g_readInt(section, key, fallback, file);
}
DWORD WINAPI CountedReadString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR text, DWORD size, LPCSTR file)
{
    ++g_profileReads;
    return g_readString(section, key, fallback, text, size, file);
}
DWORD WINAPI CountedReadSection(LPCSTR section, LPSTR text, DWORD size, LPCSTR file)
{
    ++g_profileReads;
    return g_readSection(section, text, size, file);
}

// The import table slot of kernel32's `name` in this executable; null when it imports no such function.
void** ImportSlot(const char* name)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "kernel32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Points the slot of `name` at `with`; returns what it pointed at (null when there is no slot).
void* ReplaceImport(const char* name, void* with)
{
    void** slot = ImportSlot(name);
    if (slot == nullptr)
        return nullptr;
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    void* previous = *slot;
    *slot = with;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return previous;
}

// While it lives, every profile read of this executable counts in g_profileReads.
class ProfileReadCounter {
public:
    ProfileReadCounter()
    {
        g_readInt = reinterpret_cast<decltype(g_readInt)>(
            ReplaceImport("GetPrivateProfileIntA", reinterpret_cast<void*>(&CountedReadInt)));
        g_readString = reinterpret_cast<decltype(g_readString)>(
            ReplaceImport("GetPrivateProfileStringA", reinterpret_cast<void*>(&CountedReadString)));
        g_readSection = reinterpret_cast<decltype(g_readSection)>(
            ReplaceImport("GetPrivateProfileSectionA", reinterpret_cast<void*>(&CountedReadSection)));
    }
    ~ProfileReadCounter()
    {
        ReplaceImport("GetPrivateProfileIntA", reinterpret_cast<void*>(g_readInt));
        ReplaceImport("GetPrivateProfileStringA", reinterpret_cast<void*>(g_readString));
        ReplaceImport("GetPrivateProfileSectionA", reinterpret_cast<void*>(g_readSection));
    }
    ProfileReadCounter(const ProfileReadCounter&) = delete;
    ProfileReadCounter& operator=(const ProfileReadCounter&) = delete;
};

// LoadSettings reads each of the four sections in one call (a read per key
// costs a millisecond or more in all) and finds the keys itself; what it finds
// must be what the platform's key-by-key reading finds.
TEST_F(SettingsTest, SectionReadingAgreesWithThePlatformKeyByKey)
{
    const std::string digits29(29, '7');
    const char* const texts[] = {
        "[Window]\r\nPosX=12\r\nPosY=-34\r\n[Color]\r\nMode=1\r\nR=10\r\n",
        "[Color]\r\nR='12'\r\nG=\"34\"\r\nB='56\"\r\nMode=\"\r\nCopy=''\r\nChar=\" 7\"\r\n",
        "[Color]\r\nR=+7\r\nG=- 7\r\nB=  -8x\r\nMode=0x10\r\nCopy=1e3\r\nChar=\t5\r\nSharp=\x82\x54\r\n",
        "[Color]\r\nR=0X10\r\nG=0b101\r\nB=0o17\r\nMode=0x\r\nCopy=-0x10\r\nChar=0xfg\r\nSharp=0b12\r\n",
        "[Color]\r\nR=4294967297\r\nG=99999999999\r\nB=-4294967295\r\nMode=2147483648\r\n",
        "[Color]\r\nR=\r\nG\r\nG=5\r\nB=6\r\nB=7\r\nMode=1=2\r\n;Copy=2\r\n = 3\r\n",
        "[color]\r\nr=1\r\n[COLOR]\r\ng=2\r\n[Color]\r\nB=3\r\n[ Window ]\r\nposx=4\r\n",
        "\r\n\r\n  [Window]  \r\n  PosX  =  5  \r\nPosY\t=\t6\t\r\n[CustColor]\nColor0=1\nColor15 = 2\n",
        "[CustColor]\r\nColor1=255\r\nColor 2=3\r\ncolor3=4\r\nColor4='5'\r\nColor16=6\r\n",
        "[Palette]\r\nFile=\"C:\\a b\\c.tbp\"\r\n",
        "[Palette]\r\nFile='\"q.tbp\"'\r\n",
        "[Palette]\r\nFile= D:\\\x83\x70\x83\x8C\x83\x62\x83\x67.tbp \r\nFile=other\r\n",
        "[Palette]\r\nFile\r\n[Palette]\r\nFile=second\r\n",
        "no section at all\r\nR=5\r\n[Color\r\nG=6\r\n[]\r\nB=7\r\n",
        "[Hotkey]\r\nModifiers=0x7\r\nKey=' 65'\r\nNotified=\r\nKey=66\r\n",
        "[hotkey]\r\n modifiers = 3 \r\nKEY=-1\r\nNotified=2x\r\n",
    };
    std::vector<std::string> cases(std::begin(texts), std::end(texts));
    // 29 and 30 characters reach the edge of the platform's number buffer, quoted or not.
    cases.push_back("[Color]\r\nR=" + digits29 + "\r\nG=" + digits29 + "1\r\nB=\"" + digits29 + "\"\r\nMode=\"" +
                    digits29.substr(1) + "\"\r\nCopy='" + digits29 + "1'\r\n");
    ProfileReadCounter counter;
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        ResetSettings();
        WriteWholeFile(ini(), text);
        const KeyByKey want = ReadKeyByKey(ini());
        g_profileReads = 0;
        g_held = LoadSettings();
        EXPECT_EQ(g_profileReads, 5) << "one read a section";
        const int32_t got[9] = {g_held.PosX,           g_held.PosY,         g_held.DisplayMode,
                                g_held.Text.CopyFormat, g_held.Text.HexCase, g_held.Text.SharpPrefix,
                                g_held.Color.red,       g_held.Color.green,  g_held.Color.blue};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(got[i], want.ints[i]) << "setting " << i;
        for (int i = 6; i < 9; ++i)
            EXPECT_EQ(got[i], want.ints[i] < 0 ? 0 : (want.ints[i] > 255 ? 255 : want.ints[i])) << "channel " << i;
        for (int i = 0; i < kCustomColorCount; ++i)
            EXPECT_EQ(g_held.CustColors[i], static_cast<uint32_t>(want.ints[9 + i])) << "custom color " << i;
        std::vector<char> palette(want.palette.begin(), want.palette.end());
        palette.push_back('\0');
        StripPathQuotes(palette.data());
        EXPECT_STREQ(g_held.PaletteFile, palette.data());
        EXPECT_EQ(g_held.Hotkey.Modifiers, want.hotkey.Modifiers);
        EXPECT_EQ(g_held.Hotkey.Key, want.hotkey.Key);
        EXPECT_EQ(g_held.Hotkey.Notified, want.hotkey.Notified);
    }
}

// The hotkey's section: Win+Shift+C when missing, a key outside 1..254 for
// none, modifiers beyond the four dropped.
TEST_F(SettingsTest, HotkeySectionIsReadWithinItsRanges)
{
    const struct {
        const char* text;
        int32_t modifiers, key, notified;
    } cases[] = {
        {"", MOD_WIN | MOD_SHIFT, 'C', 0},
        {"[Hotkey]\r\nNotified=1\r\n", MOD_WIN | MOD_SHIFT, 'C', 1},
        {"[hotkey]\r\nmodifiers = 3\r\nkey = 120\r\n", MOD_ALT | MOD_CONTROL, VK_F9, 0},
        {"[Hotkey]\r\nModifiers=0\r\nKey=0\r\nNotified=0\r\n", 0, 0, 0},
        {"[Hotkey]\r\nModifiers=255\r\nKey=254\r\nNotified=7\r\n", 15, 254, 1},
        {"[Hotkey]\r\nModifiers=16388\r\nKey=255\r\n", MOD_SHIFT, 0, 0},
        {"[Hotkey]\r\nModifiers=-1\r\nKey=-67\r\n", 15, 0, 0},
        {"[Hotkey]\r\nKey=1000067\r\n", MOD_WIN | MOD_SHIFT, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteWholeFile(ini(), c.text);
        g_held = LoadSettings();
        EXPECT_EQ(g_held.Hotkey.Modifiers, c.modifiers);
        EXPECT_EQ(g_held.Hotkey.Key, c.key);
        EXPECT_EQ(g_held.Hotkey.Notified, c.notified);
    }
}

TEST(SettingsData, OnePairOfQuotesAroundTheWholePathIsRemoved)
{
    const struct {
        const char* stored;
        const char* path;
    } cases[] = {
        {"\"C:\\a.tbp\"", "C:\\a.tbp"},
        {"\"\"C:\\a.tbp\"\"", "\"C:\\a.tbp\""},  // only one pair
        {"\"C:\\a.tbp", "\"C:\\a.tbp"},            // unclosed: left as it is
        {"C:\\a.tbp\"", "C:\\a.tbp\""},
        {"\"", "\""},                              // a lone quote is not a pair
        {"\"\"", ""},
        {"", ""},
        {"C:\\a b.tbp", "C:\\a b.tbp"},
    };
    for (const auto& c : cases) {
        char path[32];
        std::memset(path, '#', sizeof path);
        std::strcpy(path, c.stored);
        StripPathQuotes(path);
        EXPECT_STREQ(path, c.path) << "stored " << c.stored;
        EXPECT_EQ(path[sizeof path - 1], '#') << "written past the text";
    }
}

TEST(SettingsSections, BlocksHandedToThePlatform)
{
    Settings s{};
    s.DisplayMode = 1;
    s.Text = TextForm{2, 1, 0};
    for (int i = 0; i < kCustomColorCount; ++i)
        s.CustColors[i] = 16777215u;
    s.CustColors[1] = 255;
    s.CustColors[2] = 16711680u;
    std::memset(s.PaletteFile, 0, sizeof s.PaletteFile);
    std::strcpy(s.PaletteFile, "C:\\a b\\p.tbp");

    s.PosX = -5;
    s.PosY = 77;
    s.Color = Rgb{18, 52, 86};
    s.Hotkey = HotkeySetting{MOD_CONTROL | MOD_ALT, VK_F9, 1};
    const std::vector<SettingsSection> sections = BuildSettingsSections(s);
    ASSERT_EQ(sections.size(), 5u);
    EXPECT_EQ(sections[0].name, "Window");
    EXPECT_EQ(sections[0].block, Block({"PosX = -5", "PosY = 77"}));
    EXPECT_EQ(sections[1].name, "Color");
    EXPECT_EQ(sections[1].block,
              Block({"Mode = 1", "Copy = 2", "Char = 1", "Sharp = 0", "R = 18", "G = 52", "B = 86"}));
    EXPECT_EQ(sections[2].name, "CustColor");
    std::string cust;
    for (int i = 0; i < kCustomColorCount; ++i)
        cust += "Color" + std::to_string(i) + " = " + std::to_string(s.CustColors[i]) + '\0';
    cust += '\0';
    EXPECT_EQ(sections[2].block, cust);
    EXPECT_NE(sections[2].block.find(std::string("Color1 = 255\0", 13)), std::string::npos);
    EXPECT_NE(sections[2].block.find(std::string("Color2 = 16711680\0", 18)), std::string::npos);
    EXPECT_EQ(sections[3].name, "Palette");
    EXPECT_EQ(sections[3].block, Block({"File = \"C:\\a b\\p.tbp\""}));
    // A section of its own after the four, which stay as they were.
    EXPECT_EQ(sections[4].name, "Hotkey");
    EXPECT_EQ(sections[4].block, Block({"Modifiers = 3", "Key = 120", "Notified = 1"}));

    s.PaletteFile[0] = '\0';
    s.PosX = 10;
    s.PosY = -1;
    EXPECT_EQ(BuildSettingsSections(s)[3].block, Block({"File = \"\""}));
    EXPECT_EQ(BuildSettingsSections(s)[0].block, Block({"PosX = 10", "PosY = -1"}));
}

TEST_F(SettingsTest, SavedFileReadsBackKeyByKeyInOrder)
{
    g_held = LoadSettings();
    g_held.PosX = 120;
    g_held.PosY = 64;
    g_held.DisplayMode = 1;
    g_held.Text.CopyFormat = 1;
    g_held.Text.HexCase = 1;
    g_held.Text.SharpPrefix = 0;
    g_held.CustColors[0] = 255;
    g_held.CustColors[15] = 16711680u;
    SetPaletteFile("C:\\Users\\me\\My Palettes\\spring colors.tbp");
    g_held.Color.red = 18;
    g_held.Color.green = 52;
    g_held.Color.blue = 86;
    g_held.Hotkey = HotkeySetting{MOD_WIN | MOD_ALT, 'K', 1};
    ASSERT_TRUE(SaveSettings(g_held, nullptr));

    EXPECT_EQ(ProfileSectionNames(ini()),
              (std::vector<std::string>{"Window", "Color", "CustColor", "Palette", "Hotkey"}));
    EXPECT_EQ(ProfileSectionLines(ini(), "Window"), (std::vector<std::string>{"PosX=120", "PosY=64"}));
    EXPECT_EQ(ProfileSectionLines(ini(), "Color"), (std::vector<std::string>{"Mode=1", "Copy=1", "Char=1", "Sharp=0", "R=18",
                                                                      "G=52", "B=86"}));
    std::vector<std::string> cust;
    for (int i = 0; i < kCustomColorCount; ++i)
        cust.push_back("Color" + std::to_string(i) + "=" + (i == 0 ? "255" : i == 15 ? "16711680" : "16777215"));
    EXPECT_EQ(ProfileSectionLines(ini(), "CustColor"), cust);
    EXPECT_EQ(ProfileSectionLines(ini(), "Palette"),
              (std::vector<std::string>{"File=\"C:\\Users\\me\\My Palettes\\spring colors.tbp\""}));
    EXPECT_EQ(ProfileSectionLines(ini(), "Hotkey"), (std::vector<std::string>{"Modifiers=9", "Key=75", "Notified=1"}));

    // And the whole round trip through LoadSettings.
    ResetSettings();
    g_held = LoadSettings();
    EXPECT_EQ(g_held.PosX, 120);
    EXPECT_EQ(g_held.PosY, 64);
    EXPECT_EQ(g_held.DisplayMode, 1);
    EXPECT_EQ(g_held.Text.CopyFormat, 1);
    EXPECT_EQ(g_held.Text.HexCase, 1);
    EXPECT_EQ(g_held.Text.SharpPrefix, 0);
    EXPECT_EQ(g_held.CustColors[0], 255u);
    EXPECT_EQ(g_held.CustColors[7], 16777215u);
    EXPECT_EQ(g_held.CustColors[15], 16711680u);
    EXPECT_STREQ(g_held.PaletteFile, "C:\\Users\\me\\My Palettes\\spring colors.tbp");
    EXPECT_EQ(g_held.Color.red, 18);
    EXPECT_EQ(g_held.Color.green, 52);
    EXPECT_EQ(g_held.Color.blue, 86);
    EXPECT_EQ(g_held.Hotkey.Modifiers, MOD_WIN | MOD_ALT);
    EXPECT_EQ(g_held.Hotkey.Key, 'K');
    EXPECT_EQ(g_held.Hotkey.Notified, 1);
}

// Closing with the settings the session started with leaves tbox.ini alone;
// any change, in the settings or in the file since it was read, writes it.
TEST_F(SettingsTest, NothingChangedSinceReadingWritesNothing)
{
    const struct {
        const char* what;
        void (*between)(const std::string& ini);  // after LoadSettings, before SaveSettings
        bool written;
    } cases[] = {
        {"nothing changed", [](const std::string&) {}, false},
        {"the color changed", [](const std::string&) { g_held.Color.green = 53; }, true},
        {"the position changed", [](const std::string&) { g_held.PosX = 121; }, true},
        {"a custom color changed", [](const std::string&) { g_held.CustColors[9] = 7; }, true},
        {"the palette file changed", [](const std::string&) { SetPaletteFile("C:\\other.tbp"); }, true},
        {"another program wrote the file",
         [](const std::string& file) { WritePrivateProfileStringA("Color", "R", "99", file.c_str()); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The file as a close leaves it, given a time long past.
        g_held = LoadSettings();
        g_held.PosX = 120;
        g_held.Color.red = 18;
        g_held.Color.green = 52;
        ASSERT_TRUE(SaveSettings(g_held, nullptr));
        const std::string saved = ReadWholeFile(ini());
        ASSERT_TRUE(AgeFile(ini()));
        g_held = LoadSettings();
        c.between(ini());
        const unsigned long long time = LastWriteTime(ini());
        ASSERT_TRUE(SaveSettings(g_held, nullptr));
        EXPECT_EQ(LastWriteTime(ini()) != time, c.written);
        if (!c.written)
            EXPECT_EQ(ReadWholeFile(ini()), saved);
        else
            EXPECT_EQ(GetPrivateProfileIntA("Color", "R", -1, ini().c_str()), 18u) << "the session's settings";
        DeleteFileA(ini().c_str());
    }
}

TEST_F(SettingsTest, HandAddedKeysVanishOtherSectionsStay)
{
    WriteWholeFile(ini(),
                   "[Mine]\r\nNote=keep me\r\n[Window]\r\nPosX=5\r\nExtra=1\r\n[Color]\r\nMode=1\r\nShade=3\r\n"
                   "[CustColor]\r\nColor99=1\r\n[Palette]\r\nFile=x\r\nOther=y\r\n[Zeta]\r\nZ=26\r\n");
    g_held = LoadSettings();
    ASSERT_TRUE(SaveSettings(g_held, nullptr));
    EXPECT_EQ(ReadString(ini(), "Window", "Extra"), "<missing>");
    EXPECT_EQ(ReadString(ini(), "Color", "Shade"), "<missing>");
    EXPECT_EQ(ReadString(ini(), "CustColor", "Color99"), "<missing>");
    EXPECT_EQ(ReadString(ini(), "Palette", "Other"), "<missing>");
    EXPECT_EQ(ReadString(ini(), "Mine", "Note"), "keep me");
    EXPECT_EQ(ReadString(ini(), "Zeta", "Z"), "26");
    EXPECT_EQ(ReadString(ini(), "Window", "PosX"), "5");
    EXPECT_EQ(ReadString(ini(), "Color", "Mode"), "1");
    EXPECT_EQ(ReadString(ini(), "Palette", "File"), "x");
    EXPECT_EQ(ProfileSectionLines(ini(), "Color").size(), 7u);
}

TEST_F(SettingsTest, PositionIsTheRestoredRectangleNegativesIncluded)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SettingsTestWindow";
    RegisterClassA(&wc);
    const struct {
        int x, y;
        bool minimize;
        int32_t savedX, savedY;
    } cases[] = {
        {150, 90, false, 150, 90},
        {-40, 70, false, -40, 70},
        {60, -30, false, 60, -30},
        {-10, -10, false, -10, -10},
        {210, 130, true, 210, 130},
    };
    // One window for every case: under a bare X server, tearing a shown window
    // down waits for a window manager that is not there.
    HWND window = CreateWindowExA(0, wc.lpszClassName, "t", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << (c.minimize ? " minimized" : ""));
        ShowWindow(window, SW_SHOWNORMAL);
        SetWindowPos(window, nullptr, c.x, c.y, 200, 150, SWP_NOZORDER);
        if (c.minimize)
            ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(SaveSettings(g_held, window));
        EXPECT_EQ(ReadString(ini(), "Window", "PosX"), std::to_string(c.savedX));
        EXPECT_EQ(ReadString(ini(), "Window", "PosY"), std::to_string(c.savedY));
    }
    // The minimized window really is elsewhere: only its restored rectangle was saved.
    RECT now;
    GetWindowRect(window, &now);
    EXPECT_NE(now.left, 210);
}

TEST_F(SettingsTest, LongPalettePathsRoundTrip)
{
    for (size_t length : {250u, 300u, 511u, 512u, 600u, 1000u, 4000u}) {
        SCOPED_TRACE(length);
        std::string path = "C:\\";
        while (path.size() < length - 4)
            path += (path.size() % 40 == 39) ? '\\' : static_cast<char>('a' + path.size() % 26);
        path.resize(length - 4);
        path += ".tbp";
        ASSERT_EQ(path.size(), length);
        ResetSettings();
        g_held = LoadSettings();
        SetPaletteFile(path);
        g_held.Color.red = 1;
        ASSERT_TRUE(SaveSettings(g_held, nullptr));
        ResetSettings();
        g_held = LoadSettings();
        EXPECT_EQ(std::string(g_held.PaletteFile), path);
        EXPECT_EQ(g_held.Color.red, 1) << "the rest of the file is intact";
        EXPECT_EQ(g_held.Color.green, 255);
    }
}

TEST_F(SettingsTest, AStoredPalettePathLongerThanItsBufferIsDropped)
{
    // 32,767 characters fill the buffer exactly and cannot be told from a path cut short there.
    for (size_t length : {32766u, 32768u, 40000u}) {
        SCOPED_TRACE(length);
        std::string path = "C:\\";
        while (path.size() < length - 4)
            path += (path.size() % 100 == 99) ? '\\' : static_cast<char>('a' + path.size() % 26);
        path += ".tbp";
        ASSERT_EQ(path.size(), length);
        WriteWholeFile(ini(), "[Color]\r\nR=18\r\n[Palette]\r\nFile = \"" + path + "\"\r\n");
        ResetSettings();
        g_held = LoadSettings();
        EXPECT_EQ(std::string(g_held.PaletteFile), length < kPathBufferSize - 1 ? path : "");
        EXPECT_EQ(g_held.Color.red, 18) << "the rest of the file is read";
    }
}

TEST_F(SettingsTest, SaveReportsAFileHeldOpenByAnotherProgram)
{
    const std::string old = "[Color]\r\nR=18\r\n";
    WriteWholeFile(ini(), old);
    g_held = LoadSettings();
    g_held.Color.red = 200;
    HANDLE held = CreateFileA(ini().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SaveSettings(g_held, nullptr));
    CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(ini()), old);
    // Once free again, the save goes through.
    EXPECT_TRUE(SaveSettings(g_held, nullptr));
    EXPECT_EQ(ReadString(ini(), "Color", "R"), "200");
}

TEST(SettingsLongFolders, ProgramFolderOfAnyLengthKeepsOrRefusesItsSettings)
{
    // A settings file just used, which the platform may still hold in its cache:
    // a refused long path must not land in it.
    TestFolder other;
    g_programDir = other.path();
    g_held = LoadSettings();
    g_held.Color.red = 7;
    ASSERT_TRUE(SaveSettings(g_held, nullptr));
    const std::string otherIni = other.file("tbox.ini");
    const std::string otherBytes = ReadWholeFile(otherIni);

    for (size_t length : {200u, 250u, 300u, 600u}) {
        SCOPED_TRACE(length);
        TestFolder base;
        const std::string dir = MakeLongFolder(base.path(), length);
        ASSERT_EQ(dir.size(), length);
        g_programDir = dir;
        ResetSettings();
        g_held = LoadSettings();
        g_held.DisplayMode = 1;
        g_held.Color.red = 42;
        const bool saved = SaveSettings(g_held, nullptr);
        ResetSettings();
        g_held = LoadSettings();
        EXPECT_EQ(saved, dir.size() + sizeof "\\tbox.ini" - 1 < MAX_PATH)
            << "the profile functions take paths shorter than MAX_PATH";
        if (saved) {
            EXPECT_EQ(g_held.DisplayMode, 1);
            EXPECT_EQ(g_held.Color.red, 42);
        } else {
            // The platform cannot reach such a folder: the defaults come back and
            // nothing was written anywhere else, such as at a cut-off path.
            EXPECT_EQ(g_held.DisplayMode, 0);
            EXPECT_EQ(g_held.Color.red, 255);
            EXPECT_EQ(CountFilesBelow(base.path()), 0);
        }
        EXPECT_EQ(ReadWholeFile(otherIni), otherBytes) << "another settings file was touched";
        std::printf("program folder of %zu characters: settings %s\n", dir.size(),
                    saved ? "saved and read back" : "refused by the platform");
    }
}

}  // namespace

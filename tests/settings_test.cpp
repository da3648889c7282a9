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
    EXPECT_EQ(sections[0].block, Block({"PosX = 0", "PosY = 77"}));
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
    EXPECT_EQ(BuildSettingsSections(s)[0].block, Block({"PosX = 10", "PosY = 0"}));
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

TEST_F(SettingsTest, PositionIsTheRestoredRectangleWithNegativesAsZero)
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
        {-40, 70, false, 0, 70},
        {60, -30, false, 60, 0},
        {-10, -10, false, 0, 0},
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

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/app_driver.h"
#include "tests/test_folder.h"

namespace {

TEST(App, StartsShowsItsWindowAndClosesWithCodeZero)
{
    TestFolder folder;
    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no main window appeared";

    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Tintbox");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right - client.left, 406);
    EXPECT_EQ(client.bottom - client.top, 276);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 0) << "a first run opens at the screen's corner";
    EXPECT_EQ(frame.top, 0);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);

    const std::string ini = folder.file("tbox.ini");
    char value[64];
    GetPrivateProfileStringA("Color", "R", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "255");
    GetPrivateProfileStringA("Palette", "File", "<missing>", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "");
    EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")), std::string(512, '\0'))
        << "a first run keeps a black palette";
}

TEST(App, KeepsThePaletteAndSettingsBetweenRuns)
{
    TestFolder folder;
    std::string palette(512, '\0');
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = (i % 4 == 3) ? '\0' : static_cast<char>(i & 0xFF);
    WriteWholeFile(folder.file("palette.ini"), palette);
    WriteWholeFile(folder.file("tbox.ini"), "[Window]\r\nPosX=40\r\nPosY=30\r\n[Color]\r\nR=18\r\nG=52\r\nB=86\r\n");

    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);

    EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")), palette);
    const std::string ini = folder.file("tbox.ini");
    EXPECT_EQ(GetPrivateProfileIntA("Color", "R", -1, ini.c_str()), 18u);
    EXPECT_EQ(GetPrivateProfileIntA("Color", "B", -1, ini.c_str()), 86u);
    EXPECT_EQ(GetPrivateProfileIntA("Window", "PosX", -1, ini.c_str()), 40u);
    EXPECT_EQ(GetPrivateProfileIntA("Window", "PosY", -1, ini.c_str()), 30u);
}

TEST(App, CloseWritesEverySectionAndKeyInOrder)
{
    TestFolder folder;
    WriteWholeFile(folder.file("tbox.ini"),
                   "[Color]\r\nMode=1\r\nCopy=2\r\nChar=1\r\nSharp=0\r\nR=18\r\nG=52\r\nB=86\r\n"
                   "[CustColor]\r\nColor1=255\r\nColor2=16711680\r\n[Palette]\r\nFile=\"C:\\my palettes\\a.tbp\"\r\n"
                   "[Window]\r\nPosX=25\r\nPosY=35\r\n");
    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(), 0);

    const std::string ini = folder.file("tbox.ini");
    // Sections already in the file keep their places; each is rewritten whole.
    EXPECT_EQ(ProfileSectionNames(ini),
              (std::vector<std::string>{"Color", "CustColor", "Palette", "Window", "Hotkey"}));
    EXPECT_EQ(ProfileSectionLines(ini, "Window"), (std::vector<std::string>{"PosX=25", "PosY=35"}));
    EXPECT_EQ(ProfileSectionLines(ini, "Color"),
              (std::vector<std::string>{"Mode=1", "Copy=2", "Char=1", "Sharp=0", "R=18", "G=52", "B=86"}));
    std::vector<std::string> custom;
    for (int i = 0; i < 16; ++i)
        custom.push_back("Color" + std::to_string(i) + "=" + (i == 1 ? "255" : i == 2 ? "16711680" : "16777215"));
    EXPECT_EQ(ProfileSectionLines(ini, "CustColor"), custom);
    EXPECT_EQ(ProfileSectionLines(ini, "Palette"), (std::vector<std::string>{"File=\"C:\\my palettes\\a.tbp\""}));
    // The hotkey's section follows, new: Win+Shift+C, or Win+Alt+C where another program holds that.
    const std::vector<std::string> hotkey = ProfileSectionLines(ini, "Hotkey");
    EXPECT_EQ(hotkey, (std::vector<std::string>{"Modifiers=12", "Key=67", "Notified=0"}));
    EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")).size(), 512u);
}

TEST(App, AWindowSavedOffEveryMonitorOpensOnScreen)
{
    TestFolder folder;
    WriteWholeFile(folder.file("tbox.ini"), "[Window]\r\nPosX=6000\r\nPosY=4000\r\n");
    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_LE(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(frame.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GE(frame.left, 0);
    EXPECT_GE(frame.top, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
    const std::string ini = folder.file("tbox.ini");
    EXPECT_EQ(GetPrivateProfileIntA("Window", "PosX", -1, ini.c_str()), static_cast<UINT>(frame.left))
        << "the place it was brought to is what is saved";
}

TEST(App, FactoryPaletteIsBuiltBesideTheProgram)
{
    const std::string bytes = ReadWholeFile(HostPathToWindows(PALINI_FILE));
    ASSERT_EQ(bytes.size(), 512u);
    int distinct = 0;
    for (size_t i = 0; i < bytes.size(); i += 4) {
        EXPECT_EQ(bytes[i + 3], '\0') << "entry " << i / 4;
        bool seen = false;
        for (size_t j = 0; j < i; j += 4)
            seen = seen || bytes.compare(j, 3, bytes, i, 3) == 0;
        distinct += seen ? 0 : 1;
    }
    EXPECT_GE(distinct, 120) << "a useful spread, not a handful of colors";
    EXPECT_EQ(bytes.substr(0, 3), std::string("\xff\xff\xff", 3)) << "the grey ramp starts at white";
    EXPECT_EQ(bytes.substr(60, 3), std::string("\0\0\0", 3)) << "and ends at black";
}

}  // namespace

namespace {

TEST(Platform, TestsRunWithTheJapaneseCodePage)
{
    EXPECT_EQ(GetACP(), 932u) << "the texts of the program are code page 932";
}

}  // namespace

// The real program handed damaged, odd and unwritable files: it starts, shows
// its window, closes with exit code 0 and never loses what it cannot replace.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include <string>
#include <vector>

#include "tests/app_driver.h"
#include "tests/test_folder.h"
#include "view/geometry.h"

namespace {

std::string Repeat(const std::string& piece, size_t times)
{
    std::string s;
    for (size_t i = 0; i < times; ++i)
        s += piece;
    return s;
}

// Pseudo-random bytes, the same for the same seed.
std::string RandomBytes(size_t count, uint32_t seed)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// Starts the program in `folder`, checks its window shows, closes it the
// user's way and returns its exit code.
long RunAndClose(const TestFolder& folder)
{
    RunningApp app(folder);
    if (!app.started())
        return -2;
    HWND window = app.WaitForWindow();
    if (!window)
        return -3;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return app.WaitForExit();
}

// Every key of a settings file written at close is there, in order, with a number.
void ExpectCompleteSettingsFile(const std::string& ini)
{
    const std::vector<std::string> sections = ProfileSectionNames(ini);
    for (const char* name : {"Window", "Color", "CustColor", "Palette"})
        EXPECT_NE(std::find(sections.begin(), sections.end(), name), sections.end()) << name;
    const struct {
        const char* section;
        std::vector<std::string> keys;
    } layout[] = {
        {"Window", {"PosX", "PosY"}},
        {"Color", {"Mode", "Copy", "Char", "Sharp", "R", "G", "B"}},
        {"CustColor", {"Color0", "Color1", "Color2", "Color3", "Color4", "Color5", "Color6", "Color7", "Color8",
                       "Color9", "Color10", "Color11", "Color12", "Color13", "Color14", "Color15"}},
        {"Palette", {"File"}},
    };
    for (const auto& l : layout) {
        const std::vector<std::string> lines = ProfileSectionLines(ini, l.section);
        ASSERT_EQ(lines.size(), l.keys.size()) << l.section;
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), l.keys[i]) << l.section;
    }
    for (const char* key : {"R", "G", "B"}) {
        const UINT channel = GetPrivateProfileIntA("Color", key, 999, ini.c_str());
        EXPECT_LE(channel, 255u) << key;
    }
}

TEST(BadSettings, EachStartsAndClosingWritesAValidFile)
{
    const std::string longPath = "C:\\" + Repeat("palettes\\", 110) + "p.tbp";  // about 1,000 characters
    const struct {
        const char* what;
        std::string text;
        int red, green, blue;  // read back after close; -1 where the platform's reading of the number decides
        std::string palette;   // the palette path read back
    } cases[] = {
        {"garbage bytes", RandomBytes(4096, 7), 255, 255, 255, ""},
        {"huge numbers", "[Color]\r\nR=99999999999\r\nG=4294967296\r\nB=2147483648\r\nMode=99999999999\r\n"
                         "[Window]\r\nPosX=99999999\r\nPosY=-99999999\r\n",
         -1, -1, -1, ""},
        {"negative numbers", "[Color]\r\nR=-1\r\nG=-300\r\nB=-2147483648\r\nCopy=-5\r\nChar=-1\r\n", 0, 0, 0, ""},
        {"missing sections", "[Palette]\r\nFile=\"C:\\x.tbp\"\r\n", 255, 255, 255, "C:\\x.tbp"},
        {"a 100 KB line", "[Color]\r\nR=" + Repeat("7", 100 * 1024) + "\r\nG=12\r\nB=34\r\n", -1, 12, 34, ""},
        {"a 1,000-character palette path", "[Color]\r\nR=1\r\nG=2\r\nB=3\r\n[Palette]\r\nFile=\"" + longPath + "\"\r\n", 1,
         2, 3, longPath},
        {"empty file", "", 255, 255, 255, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        WriteWholeFile(folder.file("tbox.ini"), c.text);
        ASSERT_EQ(RunAndClose(folder), 0);
        const std::string ini = folder.file("tbox.ini");
        ExpectCompleteSettingsFile(ini);
        const struct {
            const char* key;
            int expected;
        } channels[] = {{"R", c.red}, {"G", c.green}, {"B", c.blue}};
        for (const auto& channel : channels) {
            if (channel.expected >= 0) {
                EXPECT_EQ(GetPrivateProfileIntA("Color", channel.key, 999, ini.c_str()),
                          static_cast<UINT>(channel.expected))
                    << channel.key;
            }
        }
        std::vector<char> path(4096);
        GetPrivateProfileStringA("Palette", "File", "<missing>", path.data(), static_cast<DWORD>(path.size()),
                                 ini.c_str());
        EXPECT_EQ(std::string(path.data()), c.palette);
        EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")).size(), 512u);
    }
}

TEST(BadPalettes, EachLoadsWhatItHoldsAndIsSavedAs512Bytes)
{
    for (size_t size : {0u, 1u, 3u, 511u, 512u, 513u, 1u << 20}) {
        SCOPED_TRACE(size);
        TestFolder folder;
        const std::string bytes = RandomBytes(size, static_cast<uint32_t>(size) + 1);
        WriteWholeFile(folder.file("palette.ini"), bytes);
        ASSERT_EQ(RunAndClose(folder), 0);
        const std::string saved = ReadWholeFile(folder.file("palette.ini"));
        ASSERT_EQ(saved.size(), 512u);
        for (size_t i = 0; i < 512; ++i) {
            // The palette starts black; the file replaces what it holds, and the
            // fourth byte of every entry it touched is cleared.
            char expected = i < size ? bytes[i] : '\0';
            if (i % 4 == 3)
                expected = '\0';
            ASSERT_EQ(saved[i], expected) << "byte " << i;
        }
    }
}

// The close names the file it cannot write in a message box owned by the
// main window, then ends as usual.
TEST(FailingWrites, FilesThatCannotBeReplacedStayAsTheyWere)
{
    const std::string oldPalette = RandomBytes(512, 99);
    const std::string oldSettings = "[Color]\r\nR=18\r\nG=52\r\nB=86\r\n";
    for (const char* held : {"palette.ini", "tbox.ini"}) {
        SCOPED_TRACE(held);
        TestFolder folder;
        WriteWholeFile(folder.file("palette.ini"), oldPalette);
        WriteWholeFile(folder.file("tbox.ini"), oldSettings);
        RunningApp app(folder);
        ASSERT_TRUE(app.started());
        HWND window = app.WaitForWindow();
        ASSERT_NE(window, nullptr);
        // A swatch stored, so that the palette has to be written.
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(Geo().palette.left + 5, Geo().palette.top + 5));
        // Another program holds the file open without sharing it.
        HANDLE lock = CreateFileA(folder.file(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        PostMessageA(window, WM_CLOSE, 0, 0);
        const std::vector<std::string> boxes = app.AnswerMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].find("tbox: \x81\x75" + folder.file(held) + "\x81\x76\x82\xC9\x8F\x91\x82\xAB"), 0u)
            << boxes[0];  // 「...」に書き
        EXPECT_EQ(app.WaitForExit(), 0);
        CloseHandle(lock);
        if (std::string(held) == "palette.ini") {
            EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")), oldPalette);
        } else {
            EXPECT_EQ(ReadWholeFile(folder.file("tbox.ini")), oldSettings);
            EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")).size(), 512u) << "the palette was still saved";
        }
        EXPECT_EQ(CountFilesBelow(folder.path()), 3) << "no temporary file is left behind";
    }
}

// Logging off, shutting down: the files are saved as the close saves them,
// and no message box holds the ending up, not even for a file held open.
TEST(EndOfSession, SavesAsTheCloseDoesWithoutAsking)
{
    for (bool held : {false, true}) {
        SCOPED_TRACE(held);
        TestFolder folder;
        const std::string ini = folder.file("tbox.ini");
        WriteWholeFile(ini, "[Color]\r\nR=18\r\nG=52\r\nB=86\r\n");
        RunningApp app(folder);
        HWND window = app.WaitForWindow();
        ASSERT_NE(window, nullptr);
        SendMessageA(window, WM_COMMAND, 40032, 0);  // invert: red 237
        HANDLE lock = held ? CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, 0, 5000, &answer));
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
        EXPECT_TRUE(SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, 0, 5000, &answer));
        if (lock)
            CloseHandle(lock);
        EXPECT_EQ(GetPrivateProfileIntA("Color", "R", -1, ini.c_str()), held ? 18u : 237u);
        EXPECT_EQ(ReadWholeFile(folder.file("palette.ini")).size(), 512u);
    }
}

TEST(FailingWrites, AProgramFolderThatVanishedEndsNormally)
{
    TestFolder folder("program");
    const std::string oldPalette = RandomBytes(512, 5);
    WriteWholeFile(folder.file("palette.ini"), oldPalette);
    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    // The folder is moved away while the program runs (with the folder above it:
    // the platform keeps the folder of a running program itself in place).
    const std::string parent = folder.path().substr(0, folder.path().rfind('\\'));
    const std::string movedParent = parent + "-moved";
    ASSERT_TRUE(MoveFileA(parent.c_str(), movedParent.c_str())) << GetLastError();
    const std::string moved = movedParent + "\\program";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.AnswerMessageBoxes().size(), 2u) << "neither file could be written";
    EXPECT_EQ(app.WaitForExit(), 0);
    EXPECT_EQ(ReadWholeFile(moved + "\\palette.ini"), oldPalette);
    EXPECT_FALSE(FileExists(folder.path())) << "nothing recreated the vanished folder";
    MoveFileA(movedParent.c_str(), parent.c_str());
}

}  // namespace

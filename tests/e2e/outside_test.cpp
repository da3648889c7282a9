// What the program exchanges with the world outside its window: the screen it
// picks from, the platform's color and file dialogs, the clipboard, the shell,
// and the files it reads at start and writes at close.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "store/palette_formats.h"
#include "tests/e2e/driver.h"
#include "tests/shell_recorder.h"

namespace e2e {
namespace {

const Rgb kStart = {18, 52, 86};

std::unique_ptr<Session> StartWith(Rgb color, StartFiles setup = StartFiles())
{
    setup.settings = ColorSettings(color) + setup.settings;
    return std::unique_ptr<Session>(new Session(setup));
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// ---- The screen capture ----

// A borderless window of one color that this process shows on screen: above
// all without taking the focus, or, `front`, as the window the user works in.
class ColorWindow {
public:
    ColorWindow(COLORREF color, RECT at, bool front = false) : brush_(CreateSolidBrush(color))
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = "E2eColorWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(front ? 0 : WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "E2eColorWindow", "",
                                  WS_POPUP, at.left, at.top, at.right - at.left, at.bottom - at.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window_, front ? SW_SHOW : SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
        if (front)
            SetForegroundWindow(window_);
        Pump();
    }
    ~ColorWindow()
    {
        DestroyWindow(window_);
        UnregisterClassA("E2eColorWindow", GetModuleHandleA(nullptr));
        DeleteObject(brush_);
    }
    HWND get() const { return window_; }
    static void Pump()
    {
        for (int i = 0; i < 10; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(10);
        }
    }

private:
    HBRUSH brush_;
    HWND window_ = nullptr;
};

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

// The pixel once it shows `expected`, or as it stands after three seconds: on a
// loaded machine the X server may put a blit on the screen a little later.
COLORREF ScreenPixelOnceShown(int x, int y, COLORREF expected)
{
    COLORREF c = ScreenPixel(x, y);
    for (int i = 0; i < 150 && c != expected; ++i, Sleep(20))
        c = ScreenPixel(x, y);
    return c;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(Outside, ScreenCapturePicksAPixelOrIsCancelled)
{
    const Rgb known = {60, 180, 113};
    const RECT area = {600, 400, 700, 500};
    const struct {
        const char* how;
        int way;  // 0 left click picks, 1 Esc cancels, 2 right click cancels
    } cases[] = {{"left click", 0}, {"Esc", 1}, {"right click", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        ColorWindow shown(RGB(known.r, known.g, known.b), area);
        ASSERT_EQ(ScreenPixel(650, 450), RGB(known.r, known.g, known.b)) << "the test's window is on screen";
        auto s = StartWith(kStart);
        ASSERT_TRUE(s->Ready());
        s->Keys({VK_F5});
        HWND overlay = nullptr;
        for (int i = 0; i < 200 && !overlay; ++i, Sleep(20))
            overlay = s->FindTopLevel("Capture");
        ASSERT_NE(overlay, nullptr) << "F5 opens the capture overlay";
        // F5 again while it is open opens no second one.
        s->Keys({VK_F5});
        // Over the known window: the panel goes to the left half and shows the pixel.
        PostMessageA(overlay, WM_MOUSEMOVE, 0, At(650, 450));
        s->Sync();
        const SIZE panel = Geo().panel;
        const RECT& sample = Geo().sampleSquare;
        const int panelLeft = (GetSystemMetrics(SM_CXSCREEN) / 2 - panel.cx) / 2;
        const int panelTop = (GetSystemMetrics(SM_CYSCREEN) - panel.cy) / 2;
        EXPECT_EQ(ScreenPixelOnceShown(panelLeft + (sample.left + sample.right) / 2,
                                       panelTop + (sample.top + sample.bottom) / 2, RGB(known.r, known.g, known.b)),
                  RGB(known.r, known.g, known.b))
            << "the sample square of the magnifier";
        switch (c.way) {
        case 0:
            PostMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(650, 450));
            PostMessageA(overlay, WM_LBUTTONUP, 0, At(650, 450));
            break;
        case 1: s->Keys({VK_ESCAPE}); break;
        case 2: PostMessageA(overlay, WM_RBUTTONDOWN, MK_RBUTTON, At(650, 450)); break;
        }
        s->Sync();
        EXPECT_TRUE(s->WaitGone(overlay)) << "the overlay closes";
        const Rgb now = c.way == 0 ? known : kStart;
        EXPECT_EQ(s->Edits(), EditTexts(now));
        EXPECT_EQ(s->SwatchCurrent(), now);
        EXPECT_EQ(s->SwatchReference(), now);
        // The capture can be started again after it ended.
        s->Keys({VK_F5});
        HWND again = nullptr;
        for (int i = 0; i < 200 && !again; ++i, Sleep(20))
            again = s->FindTopLevel("Capture");
        EXPECT_NE(again, nullptr);
        if (again)
            PostMessageA(again, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
        s->Sync();
        ASSERT_EQ(s->Close(), 0);
        EXPECT_EQ(IniInt(s->file("tbox.ini"), "Color", "G"), now.g);
        Report(std::string(c.how) + (c.way == 0 ? " picked 3cb471 from the test's window" : " cancelled the capture"));
    }
}

// ---- The standard color dialog ----

TEST(Outside, StandardColorDialog)
{
    const int chosen = 200 + (100 << 8) + (50 << 16);
    const struct {
        const char* how;
        bool change;
        bool ok;
    } cases[] = {{"fields set, added, OK", true, true}, {"OK alone", false, true}, {"fields set, cancel", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        auto s = StartWith(kStart);
        ASSERT_TRUE(s->Ready());
        s->Keys({VK_CONTROL, 'W'});
        HWND dialog = s->WaitForDialog("");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), s->main());
        // Opened on the current color, custom part shown.
        EXPECT_EQ(ControlText(FindControl(dialog, "Edit", 706)), "18");
        EXPECT_EQ(ControlText(FindControl(dialog, "Edit", 707)), "52");
        EXPECT_EQ(ControlText(FindControl(dialog, "Edit", 708)), "86");
        EXPECT_TRUE(IsWindowVisible(FindControl(dialog, "Edit", 706)));
        if (c.change) {
            const char* texts[] = {"200", "100", "50"};
            for (int i = 0; i < 3; ++i) {
                DWORD_PTR result = 0;
                SendMessageTimeoutA(FindControl(dialog, "Edit", 706 + i), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(texts[i]), SMTO_NORMAL, 5000, &result);
            }
            PressButton(dialog, 712);  // add to the custom colors
        }
        PressButton(dialog, c.ok ? IDOK : IDCANCEL);
        EXPECT_TRUE(s->WaitGone(dialog));
        s->Sync();
        const Rgb now = c.change && c.ok ? Rgb{200, 100, 50} : kStart;
        EXPECT_EQ(s->Edits(), EditTexts(now));
        EXPECT_EQ(s->SwatchReference(), now);
        ASSERT_EQ(s->Close(), 0);
        const std::string ini = s->file("tbox.ini");
        int added = 0, white = 0;
        for (int i = 0; i < 16; ++i) {
            const int v = IniInt(ini, "CustColor", ("Color" + std::to_string(i)).c_str());
            added += v == chosen ? 1 : 0;
            white += v == 0xFFFFFF ? 1 : 0;
        }
        // What was done to the custom colors stays, also when the color itself is cancelled.
        EXPECT_EQ(added, c.change ? 1 : 0) << "the custom color added reaches CustColor";
        EXPECT_EQ(white, 16 - added);
        EXPECT_EQ(IniInt(ini, "Color", "R"), now.r);
        Report(std::string(c.how) + ": color " + std::to_string(now.r) + "," + std::to_string(now.g) + "," +
               std::to_string(now.b) + ", custom colors added " + std::to_string(added));
    }
}

// ---- The clipboard ----

std::string ClipboardText()
{
    std::string text = "<nothing>";
    for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i)
        Sleep(20);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const char* text)
{
    for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i)
        Sleep(20);
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(GlobalLock(data), text, strlen(text) + 1);
    GlobalUnlock(data);
    SetClipboardData(CF_TEXT, data);
    CloseClipboard();
}

// What a Linux program pasting from the X11 clipboard gets.
std::string X11ClipboardText()
{
    const std::string unixFile = "/tmp/tintbox-e2e-xclip-" + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::string file = HostPathToWindows(unixFile);
    DeleteFileA(file.c_str());
    std::string command = "/bin/sh -c \"xclip -o -selection clipboard > " + unixFile + ".part && mv " + unixFile +
                          ".part " + unixFile + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("/bin/sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return "<xclip did not start>";
    for (int i = 0; i < 500 && !FileExists(file); ++i)
        Sleep(10);
    const std::string text = FileExists(file) ? ReadWholeFile(file) : "<no answer from xclip>";
    DeleteFileA(file.c_str());
    return text;
}

TEST(Outside, CopyPutsTheTextOnTheClipboard)
{
    auto s = StartWith(kStart);
    ASSERT_TRUE(s->Ready());
    const struct {
        int format;  // command choosing the form
        bool byKey;
        const char* text;
    } forms[] = {
        {kHtmlFormat, true, "#123456"},
        {kRgbFormat, false, "RGB( 18, 52, 86 )"},
        {kDwordFormat, true, "5649426"},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.text);
        s->Command(f.format);
        PutOnClipboard("something else");
        if (f.byKey)
            s->Keys({VK_CONTROL, 'C'});
        else
            s->Command(kCopy);
        EXPECT_EQ(s->CopyText(), f.text);
        EXPECT_EQ(ClipboardText(), f.text);
        EXPECT_EQ(X11ClipboardText(), f.text);
        EXPECT_EQ(s->Focus(), s->Control(kR10)) << "the focus does not move";
        Report(std::string("copied '") + f.text + "' " + (f.byKey ? "with Ctrl+C" : "from the menu"));
    }
    EXPECT_EQ(s->Close(), 0);
}

// ---- Help and the maker's page, through the shell ----

TEST(Outside, HelpAndWebSiteGoToTheShell)
{
    StartFiles setup;
    setup.helpPage = true;
    auto s = StartWith(kStart, setup);
    ASSERT_TRUE(s->Ready());
    ShellRecorder recorder(s->folder().path());
    s->Keys({VK_F1});
    EXPECT_TRUE(SamePath(recorder.OpenedPage(), s->file("help.html"))) << recorder.OpenedPage();
    s->Command(kWebSite);
    EXPECT_EQ(recorder.OpenedAddress(), "https://quillmark.example/tintbox/");
    // The page handed over is the built help page.
    EXPECT_EQ(ReadWholeFile(s->file("help.html")).compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_EQ(s->Edits(), EditTexts(kStart));
    EXPECT_EQ(s->Close(), 0);
    Report("F1 opened help.html beside the program; the web site item opened the maker's page");
}

// ---- Palette files of the user's own ----

TEST(Outside, SaveAPaletteFileAndOpenItBack)
{
    const std::string original = NumberedPalette(5);
    StartFiles setup;
    setup.palette = original;
    auto s = StartWith({250, 1, 2}, setup);
    ASSERT_TRUE(s->Ready());
    const std::string saved = s->file("mine.tbp");

    // Saved under a name typed without its extension.
    s->Keys({VK_CONTROL, 'S'});
    HWND save = s->WaitForDialog(kSaveCaption);
    ASSERT_NE(save, nullptr);
    HWND name = FindControl(save, "Edit", 0x47C);
    ASSERT_NE(name, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.substr(0, saved.size() - 4).c_str()),
                        SMTO_NORMAL, 5000, &result);
    PressButton(save, IDOK);
    ASSERT_TRUE(s->WaitGone(save));
    s->Sync();
    EXPECT_EQ(ReadWholeFile(saved), original) << "saved with .tbp appended";
    EXPECT_FALSE(FileExists(saved.substr(0, saved.size() - 4)));

    // The palette changed: the current color stored into cells 0 and 1.
    s->RightClick(InCell(0, 3, 3).x, InCell(0, 3, 3).y);
    s->RightClick(InCell(1, 3, 3).x, InCell(1, 3, 3).y);
    ASSERT_EQ(s->PaletteCell(0), (Rgb{250, 1, 2}));

    // Opened back: first the confirmation, then the file dialog with the same caption.
    s->Keys({VK_CONTROL, 'O'});
    HWND box = s->WaitForDialog(kOpenCaption);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), kReplaceQuestion);
    PressButton(box, IDYES);
    ASSERT_TRUE(s->WaitGone(box));
    HWND open = s->WaitForDialog(kOpenCaption);
    ASSERT_NE(open, nullptr);
    HWND openName = FindControl(open, "Edit", 0x47C);
    ASSERT_NE(openName, nullptr);
    EXPECT_NE(ControlText(openName).find("mine.tbp"), std::string::npos)
        << "the last palette file is the dialog's initial name: " << ControlText(openName);
    SendMessageTimeoutA(openName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()), SMTO_NORMAL, 5000, &result);
    PressButton(open, IDOK);
    ASSERT_TRUE(s->WaitGone(open));
    s->Sync();
    for (int cell : {0, 1, 64})
        EXPECT_EQ(s->PaletteCell(cell), PaletteEntry(original, cell)) << cell;

    ASSERT_EQ(s->Close(), 0);
    EXPECT_EQ(ReadWholeFile(s->file("palette.ini")), original);
    EXPECT_TRUE(SamePath(IniString(s->file("tbox.ini"), "Palette", "File"), saved))
        << IniString(s->file("tbox.ini"), "Palette", "File");
    Report("saved 'mine' as mine.tbp, changed two cells, opened mine.tbp back");
}

TEST(Outside, DeclinedPaletteDialogsChangeNothing)
{
    const std::string original = NumberedPalette(11);
    StartFiles files;
    files.palette = original;
    auto s = StartWith(kStart, files);
    ASSERT_TRUE(s->Ready());
    const struct {
        const char* how;
        std::vector<WORD> keys;
        const char* caption;
        int firstAnswer;   // in the first dialog
        bool fileDialog;   // a file dialog follows, and is cancelled
    } cases[] = {
        {"open, answered no", {VK_CONTROL, 'O'}, kOpenCaption, IDNO, false},
        {"open, yes, then cancelled", {VK_CONTROL, 'O'}, kOpenCaption, IDYES, true},
        {"save cancelled", {VK_CONTROL, 'S'}, kSaveCaption, IDCANCEL, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        s->Keys(c.keys);
        HWND first = s->WaitForDialog(c.caption);
        ASSERT_NE(first, nullptr);
        PressButton(first, c.firstAnswer);
        ASSERT_TRUE(s->WaitGone(first));
        if (c.fileDialog) {
            HWND open = s->WaitForDialog(c.caption);
            ASSERT_NE(open, nullptr);
            PressButton(open, IDCANCEL);
            ASSERT_TRUE(s->WaitGone(open));
        }
        s->Sync();
        EXPECT_EQ(s->FindTopLevel("#32770"), nullptr) << "no further dialog";
        for (int cell : {0, 99})
            EXPECT_EQ(s->PaletteCell(cell), PaletteEntry(original, cell)) << cell;
        EXPECT_EQ(s->Edits(), EditTexts(kStart));
        Report(std::string(c.how) + ": palette and color unchanged");
    }
    ASSERT_EQ(s->Close(), 0);
    EXPECT_EQ(ReadWholeFile(s->file("palette.ini")), original);
    EXPECT_EQ(IniString(s->file("tbox.ini"), "Palette", "File"), "");
    EXPECT_EQ(CountFilesBelow(s->folder().path()), 3) << "tintbox.exe, tbox.ini and palette.ini only";
}

// ---- Palette files of other colour tools ----

// 16-bit big-endian words, as the Adobe formats lay out their numbers.
std::string Be(std::initializer_list<uint32_t> words)
{
    std::string bytes;
    for (uint32_t w : words)
        bytes += {static_cast<char>(w >> 8), static_cast<char>(w & 0xFF)};
    return bytes;
}

// A name typed into a file dialog, then OK.
void ChooseFile(Session& s, HWND dialog, const std::string& name)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(FindControl(dialog, "Edit", 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                        SMTO_NORMAL, 5000, &result);
    PressButton(dialog, IDOK);
    ASSERT_TRUE(s.WaitGone(dialog));
    s.Sync();
}

TEST(Outside, PaletteFilesOfOtherToolsSaveAndOpen)
{
    const std::string original = NumberedPalette(7);
    StartFiles setup;
    setup.palette = original;
    auto s = StartWith(kStart, setup);
    ASSERT_TRUE(s->Ready());

    // Saved once in each format, chosen by the filter, the name typed without extension.
    const char* const extensions[] = {".tbp", ".gpl", ".ase", ".aco", ".pal", ".txt", ".hex"};
    for (int filter = 0; filter < 7; ++filter) {
        const std::string saved = s->file("saved" + std::to_string(filter)) + extensions[filter];
        SCOPED_TRACE(saved);
        s->Keys({VK_CONTROL, 'S'});
        HWND save = s->WaitForDialog(kSaveCaption);
        ASSERT_NE(save, nullptr);
        HWND types = FindControl(save, "ComboBox", 0x470);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(types, CB_SETCURSEL, static_cast<WPARAM>(filter), 0, SMTO_NORMAL, 5000, &result);
        for (int code : {CBN_SELCHANGE, CBN_SELENDOK})  // as a choice in the list notifies its dialog
            SendMessageTimeoutA(save, WM_COMMAND, MAKEWPARAM(0x470, static_cast<WORD>(code)),
                                reinterpret_cast<LPARAM>(types), SMTO_NORMAL, 5000, &result);
        ChooseFile(*s, save, saved.substr(0, saved.size() - 4));
        const std::string bytes = ReadWholeFile(saved);
        const PaletteRead read = ReadPaletteFormat(static_cast<PaletteFormat>(filter),
                                                   reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ASSERT_EQ(read.colors.size(), 128u);
        for (int i = 0; i < 128; ++i) {
            const Rgb c = PaletteEntry(original, i);
            EXPECT_EQ(read.colors[static_cast<size_t>(i)], static_cast<uint32_t>(c.r | c.g << 8 | c.b << 16)) << i;
        }
    }
    EXPECT_NE(ReadWholeFile(s->file("saved1.gpl")).find("Name: saved1\n"), std::string::npos);

    // Opened with the dialog's first filter (.tbp) showing: the extension chooses the reader.
    const struct {
        const char* name;
        std::string bytes;
        std::vector<Rgb> colors;
    } files[] = {
        {"a.gpl", "GIMP Palette\r\nName: mine\r\n# comment\r\n\r\n255\t0\t0\tred\r\n  0 128 255\tsky\r\n",
         {{255, 0, 0}, {0, 128, 255}}},
        // One block: an RGB colour named "c" of 0.2, 0.6 and 1.0 as 32-bit floats.
        {"b.ase", "ASEF" + Be({1, 0, 0, 1, 1, 0, 24, 2, 'c', 0}) + "RGB " +
                      Be({0x3E4C, 0xCCCD, 0x3F19, 0x999A, 0x3F80, 0, 2}), {{51, 153, 255}}},
        // Version 1 with orange, then version 2 with a named grey of 25 % black: the named one is taken.
        {"c.aco", Be({1, 1, 0, 65535, 32896, 0, 0, 2, 1, 8, 2500, 0, 0, 0, 0, 2, 'c', 0}), {{191, 191, 191}}},
        {"d.pal", "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5 6\r\n7 8 9\r\n", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
        {"e.txt", "; paint.net Palette File\r\nFF102030\r\n80405060\r\n", {{16, 32, 48}, {64, 80, 96}}},
        {"f.hex", "ff8000\n#00ff80\n", {{255, 128, 0}, {0, 255, 128}}},
    };
    std::vector<Rgb> shown;
    for (int i = 0; i < 128; ++i)
        shown.push_back(PaletteEntry(original, i));
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        WriteWholeFile(s->file(f.name), f.bytes);
        s->Keys({VK_CONTROL, 'O'});
        HWND box = s->WaitForDialog(kOpenCaption);
        ASSERT_NE(box, nullptr);
        PressButton(box, IDYES);
        ASSERT_TRUE(s->WaitGone(box));
        HWND open = s->WaitForDialog(kOpenCaption);
        ASSERT_NE(open, nullptr);
        ChooseFile(*s, open, s->file(f.name));
        std::copy(f.colors.begin(), f.colors.end(), shown.begin());
        for (size_t cell = 0; cell <= f.colors.size(); ++cell)  // and the first cell after them, as it was
            EXPECT_EQ(s->PaletteCell(static_cast<int>(cell)), shown[cell]) << cell;
        EXPECT_EQ(s->FindTopLevel("#32770"), nullptr) << "no message";
    }
    ASSERT_EQ(s->Close(), 0);
    EXPECT_TRUE(SamePath(IniString(s->file("tbox.ini"), "Palette", "File"), s->file("f.hex")));
    Report("saved in each of the 7 formats and read back; opened one file of each of the 6 other formats");
}

// ---- The hotkey, pressed from another program ----

HWND WaitForOverlay(Session& s, DWORD ms)
{
    HWND overlay = nullptr;
    for (DWORD start = GetTickCount(); !overlay && GetTickCount() - start < ms; Sleep(20))
        overlay = s.FindTopLevel("Capture");
    return overlay;
}

// Whether `lower` lies below `upper` in the order of top-level windows.
bool Below(HWND lower, HWND upper)
{
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

// Win+Shift+C from this process, with Tintbox behind another window or
// minimised: the capture opens without bringing Tintbox forward, the pick
// becomes its color and its text, in the format of an older settings file's
// CSS value, goes to the clipboard.
TEST(Outside, HotkeyPicksFromAnywhereAndCopiesThePick)
{
    const Rgb known = {38, 120, 200};
    const struct {
        const char* how;
        bool minimised;
    } cases[] = {{"behind another window", false}, {"minimised", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        StartFiles setup;
        setup.settings = "[Color]\r\nCopy=4\r\nR=18\r\nG=52\r\nB=86\r\n";
        Session s(setup);
        ASSERT_TRUE(s.Ready());
        ColorWindow front(RGB(known.r, known.g, known.b), RECT{600, 400, 700, 500}, true);
        if (c.minimised)
            ShowWindow(s.main(), SW_MINIMIZE);
        s.Sync();
        ASSERT_EQ(GetForegroundWindow(), front.get());
        PutOnClipboard("something else");
        PressKeys({VK_LWIN, VK_SHIFT, 'C'});
        HWND overlay = WaitForOverlay(s, 5000);
        ASSERT_NE(overlay, nullptr) << "the hotkey opens the capture";
        EXPECT_NE(GetForegroundWindow(), s.main());
        PostMessageA(overlay, WM_MOUSEMOVE, 0, At(650, 450));
        PostMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON, At(650, 450));
        PostMessageA(overlay, WM_LBUTTONUP, 0, At(650, 450));
        EXPECT_TRUE(s.WaitGone(overlay));
        s.Sync();
        EXPECT_EQ(ClipboardText(), "hsl(210 68% 47%)");
        EXPECT_EQ(s.CopyText(), "hsl(210 68% 47%)");
        EXPECT_EQ(s.Edits(), EditTexts(known));
        EXPECT_NE(GetForegroundWindow(), s.main()) << "Tintbox stays where it was";
        EXPECT_EQ(IsIconic(s.main()) != FALSE, c.minimised);
        if (!c.minimised) {
            EXPECT_TRUE(Below(s.main(), front.get()));
            EXPECT_EQ(s.SwatchReference(), known);
        }
        ASSERT_EQ(s.Close(), 0);
        EXPECT_EQ(IniInt(s.file("tbox.ini"), "Color", "Copy"), 4);
        Report(std::string(c.how) + ": Win+Shift+C picked 2678c8 and copied 'hsl(210 68% 47%)'");
    }
}

// Another program holds Win+Shift+C: Tintbox takes Win+Alt+C. With both held
// there is no hotkey, and it says so once, the first time only. Each run
// starts from the settings file the run before left.
TEST(Outside, HotkeyFallsBackWhenAnotherProgramHoldsIt)
{
    const struct {
        bool holdAlt;  // this program takes Win+Alt+C as well before the run
        bool told, altOpens;
        int notified;  // afterwards
    } runs[] = {{false, false, true, 0}, {true, true, false, 1}, {false, false, false, 1}};
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_WIN | MOD_SHIFT | MOD_NOREPEAT, 'C')) << "this program holds it";
    StartFiles setup;
    for (const auto& r : runs) {
        SCOPED_TRACE(testing::Message() << "told " << r.told << ", Win+Alt+C opens " << r.altOpens);
        if (r.holdAlt) {
            ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_WIN | MOD_ALT, 'C'));
        }
        Session s(setup);
        ASSERT_TRUE(s.Ready());
        HWND box = s.WaitForDialog("Tintbox", r.told ? 5000 : 1500);
        ASSERT_EQ(box != nullptr, r.told) << "told the first time only";
        if (box) {
            EXPECT_NE(ControlText(GetDlgItem(box, 0xFFFF)).find("\x83\x7A\x83\x62\x83\x67\x83\x4C\x81\x5B"),
                      std::string::npos)
                << "about the hotkey (ホットキー)";
            PressButton(box, IDOK);
            EXPECT_TRUE(s.WaitGone(box));
        }
        PressKeys({VK_LWIN, VK_SHIFT, 'C'});
        EXPECT_EQ(WaitForOverlay(s, 1000), nullptr) << "Win+Shift+C is the other program's";
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) << "and reached it";
        PressKeys({VK_LWIN, VK_MENU, 'C'});
        HWND overlay = WaitForOverlay(s, r.altOpens ? 5000 : 1000);
        ASSERT_EQ(overlay != nullptr, r.altOpens);
        if (overlay) {
            PostMessageA(overlay, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
            EXPECT_TRUE(s.WaitGone(overlay));
        }
        ASSERT_EQ(s.Close(), 0);
        EXPECT_EQ(IniInt(s.file("tbox.ini"), "Hotkey", "Modifiers"), MOD_WIN | MOD_SHIFT) << "the choice stays";
        EXPECT_EQ(IniInt(s.file("tbox.ini"), "Hotkey", "Notified"), r.notified);
        setup.settings = ReadWholeFile(s.file("tbox.ini"));
    }
    UnregisterHotKey(nullptr, 2);
    UnregisterHotKey(nullptr, 1);
    Report("Win+Shift+C held elsewhere: Win+Alt+C; both held: no hotkey, told once");
}

// ---- tbox.ini read at start and written at close ----

TEST(Outside, SettingsFileIsReadAtStartAndWrittenAtClose)
{
    std::string settings =
        "[Window]\r\nPosX=120\r\nPosY=90\r\n"
        "[Color]\r\nMode=1\r\nCopy=1\r\nChar=1\r\nSharp=0\r\nR=171\r\nG=205\r\nB=239\r\n"
        "[CustColor]\r\n";
    std::vector<int> custom;
    for (int i = 0; i < 16; ++i) {
        custom.push_back(i * 1000003 % 16777216);
        settings += "Color" + std::to_string(i) + "=" + std::to_string(custom.back()) + "\r\n";
    }
    const std::string palettePath = "C:\\some folder\\my colors.tbp";
    settings += "[Palette]\r\nFile=\"" + palettePath + "\"\r\n";
    StartFiles setup;
    setup.settings = settings;
    Session s(setup);
    ASSERT_TRUE(s.Ready());

    RECT r;
    GetWindowRect(s.main(), &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(s.Edits(), (std::vector<std::string>{"171", "205", "239", "AB", "CD", "EF", "210", "28", "93"}));
    EXPECT_EQ(s.CopyText(), "RGB( 171, 205, 239 )");
    EXPECT_EQ(s.Pixel(135 + 100, 29), RGB(100, 205, 239)) << "RGB mode: the red bar shows";
    s.Command(kHtmlFormat);
    EXPECT_EQ(s.CopyText(), "ABCDEF") << "upper case, no '#'";

    // The user moves the window and changes the color.
    SetWindowPos(s.main(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    s.Keys({VK_CONTROL, 'R'});
    ASSERT_EQ(s.Close(), 0);
    const std::string ini = s.file("tbox.ini");
    const struct {
        const char* section;
        const char* key;
        int value;
    } keys[] = {
        {"Window", "PosX", 200}, {"Window", "PosY", 150}, {"Color", "Mode", 1}, {"Color", "Copy", 0},
        {"Color", "Char", 1},    {"Color", "Sharp", 0},   {"Color", "R", 84},  {"Color", "G", 50},
        {"Color", "B", 16},
    };
    for (const auto& k : keys)
        EXPECT_EQ(IniInt(ini, k.section, k.key), k.value) << k.section << "/" << k.key;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(IniInt(ini, "CustColor", ("Color" + std::to_string(i)).c_str()), custom[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(IniString(ini, "Palette", "File"), palettePath);
    Report("position, mode, format, case, '#', color, custom colors and palette path read and written back");
}

TEST(Outside, FirstRunWritesDefaults)
{
    Session s;
    ASSERT_TRUE(s.Ready());
    EXPECT_EQ(s.Edits(), EditTexts({255, 255, 255}));
    EXPECT_EQ(s.CopyText(), "#ffffff");
    for (int cell : {0, 127})
        EXPECT_EQ(s.PaletteCell(cell), (Rgb{0, 0, 0})) << "without palette.ini the swatches are black";
    ASSERT_EQ(s.Close(), 0);
    const std::string ini = s.file("tbox.ini");
    const std::vector<std::string> sections = ProfileSectionNames(ini);
    EXPECT_EQ(sections, (std::vector<std::string>{"Window", "Color", "CustColor", "Palette", "Hotkey"}));
    EXPECT_EQ(IniInt(ini, "Color", "Mode"), 0);
    EXPECT_EQ(IniInt(ini, "Color", "Sharp"), 1);
    EXPECT_EQ(IniInt(ini, "CustColor", "Color15"), 0xFFFFFF);
    EXPECT_EQ(ReadWholeFile(s.file("palette.ini")), std::string(512, '\0'));
    Report("first run: white, black palette, every section written");
}

}  // namespace
}  // namespace e2e

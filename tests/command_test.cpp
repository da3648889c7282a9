// The commands of the real main window, driven the way a user drives them:
// keys sent through the platform's input queue and the program's own
// accelerators, menus opened from the keyboard, and the platform's own dialog
// boxes answered from a second thread while the program waits in them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/hotkey.h"
#include "capture/capture.h"
#include "color/color.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_data.h"
#include "store/palette_formats.h"
#include "color/color_text.h"
#include "tests/find_control.h"
#include "tests/shell_recorder.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"
#include "view/tips.h"

namespace {

// ---- The program's loop ----

HACCEL g_keys;

// Handles what is queued as the program's message loop does.
void Pump()
{
    PumpLikeTheProgram(g_keys);
}

// ---- Keyboard ----

void SendKey(WORD vk, bool up)
{
    INPUT input;
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}

// Holds the keys down in order and lets them go in reverse order.
void Chord(const std::vector<WORD>& keys)
{
    for (WORD vk : keys)
        SendKey(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        SendKey(*it, true);
}

void Press(const std::vector<WORD>& keys)
{
    Chord(keys);
    Pump();
}

// Types digits and lower-case letters with their keys, upper-case letters with
// Shift; '\b' is Backspace and '\x7f' Delete. One key is handled before the next.
void Type(const std::string& text)
{
    for (char c : text) {
        if (c == '\b')
            Chord({VK_BACK});
        else if (c == '\x7f')
            Chord({VK_DELETE});
        else if (c == '-')
            Chord({VK_OEM_MINUS});
        else if (c == '+')
            Chord({VK_SHIFT, VK_OEM_PLUS});
        else if (std::isupper(static_cast<unsigned char>(c)))
            Chord({VK_SHIFT, static_cast<WORD>(c)});
        else
            Chord({static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)))});
        Pump();
    }
}

// A menu item chosen from the keyboard: Alt with the pop-up's mnemonic, then the item's.
void ChooseMenu(WORD popup, WORD item)
{
    Chord({VK_MENU, popup});
    Chord({item});
    Pump();
}

// ---- What the window shows ----

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string EditText(int index) { return Text(g_window.editTable[index]); }

COLORREF Pixel(int x, int y) { return WindowPixel(x, y); }

struct Hsv {
    int hue, saturation, value;
};

void ExpectColor(int r, int g, int b, Hsv hsv)
{
    EXPECT_EQ(g_current.red, r);
    EXPECT_EQ(g_current.green, g);
    EXPECT_EQ(g_current.blue, b);
    EXPECT_EQ(g_current.hue, hsv.hue);
    EXPECT_EQ(g_current.saturation, hsv.saturation);
    EXPECT_EQ(g_current.value, hsv.value);
}

void ExpectEdits(const std::vector<std::string>& texts)
{
    for (int i = 0; i < kColorEditCount; ++i)
        EXPECT_EQ(EditText(i), texts[static_cast<size_t>(i)]) << "edit " << i;
}

// The whole visible state that a command which does nothing must leave alone.
struct Snapshot {
    ColorState current;
    ColorState reference;
    uint32_t palette[kPaletteEntries];
    std::string edits[kColorEditCount];
    std::string copy;
    int focusIndex;
    COLORREF swatch[2];
    COLORREF cells[3];

    static Snapshot Take()
    {
        Snapshot s;
        s.current = g_current;
        s.reference = g_reference;
        std::memcpy(s.palette, Palette, sizeof Palette);
        for (int i = 0; i < kColorEditCount; ++i)
            s.edits[i] = EditText(i);
        s.copy = Text(g_window.editCopy);
        s.focusIndex = g_window.focusIndex;
        s.swatch[0] = SwatchCurrent();
        s.swatch[1] = SwatchReference();
        s.cells[0] = PaletteCellPixel(0);
        s.cells[1] = PaletteCellPixel(17);
        s.cells[2] = PaletteCellPixel(127);
        return s;
    }
    void ExpectUnchanged() const
    {
        const Snapshot now = Take();
        EXPECT_TRUE(SameColor(current, now.current)) << "current color";
        EXPECT_TRUE(SameColor(reference, now.reference)) << "reference color";
        EXPECT_EQ(std::memcmp(palette, now.palette, sizeof palette), 0) << "palette";
        for (int i = 0; i < kColorEditCount; ++i)
            EXPECT_EQ(edits[i], now.edits[i]) << "edit " << i;
        EXPECT_EQ(copy, now.copy);
        EXPECT_EQ(focusIndex, now.focusIndex);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(swatch[i], now.swatch[i]) << "swatch half " << i;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(cells[i], now.cells[i]) << "palette cell pixel " << i;
    }
};

// ---- The platform's dialog boxes, answered from a second thread ----

void Click(HWND dialog, int id)
{
    SendMessageA(FindControl(dialog, "Button", id), BM_CLICK, 0, 0);
}

// A window's text without sending it a message, so that looking at the
// program's windows from another thread never waits for the program.
std::string TextUnsent(HWND window)
{
    wchar_t wide[256] = {};
    InternalGetWindowText(window, wide, 256);
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

struct DialogSearch {
    std::string caption;  // empty: any
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window) &&
        (search->caption.empty() || TextUnsent(window) == search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog box of the thread with the caption (any caption when empty).
HWND FindDialog(DWORD thread, const std::string& caption)
{
    DialogSearch search = {caption, nullptr};
    EnumThreadWindows(thread, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One dialog box that a command is expected to show, and what the user does in it.
struct DialogStep {
    std::string caption;  // empty: any
    std::function<void(HWND)> answer;
};

// Waits on a second thread for the dialog boxes of this thread, one after the
// other as the steps list them, and answers each. Any further dialog box is
// noted as unexpected and cancelled; so is everything once a step has waited
// in vain, so that a test fails instead of hanging.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<DialogStep> steps)
        : steps_(std::move(steps)), uiThread_(GetCurrentThreadId()), thread_([this] { Run(); })
    {
    }
    ~DialogAnswerer() { Stop(); }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Stops watching; whether every step's dialog box showed up and was answered.
    bool Answered()
    {
        Stop();
        return answered_ == steps_.size();
    }
    // The captions of dialog boxes that no step expected.
    std::vector<std::string> Unexpected()
    {
        Stop();
        return unexpected_;
    }

private:
    static constexpr DWORD kPatience = 10000;

    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    void CancelAll()
    {
        for (int i = 0; i < 20; ++i) {
            HWND stray = FindDialog(uiThread_, "");
            if (!stray)
                return;
            unexpected_.push_back(TextUnsent(stray));
            PostMessageA(stray, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
    }
    void Run()
    {
        for (const DialogStep& step : steps_) {
            HWND dialog = nullptr;
            for (DWORD start = GetTickCount(); !dialog && GetTickCount() - start < kPatience; Sleep(20)) {
                if (stop_)
                    return;
                dialog = FindDialog(uiThread_, step.caption);
            }
            if (!dialog) {
                CancelAll();
                return;
            }
            Sleep(100);  // let it finish its own set-up
            step.answer(dialog);
            ++answered_;
            // Answered dialogs hide at once; wait for that before looking for the next.
            for (DWORD start = GetTickCount(); IsWindowVisible(dialog) && GetTickCount() - start < kPatience;)
                Sleep(20);
        }
        while (!stop_) {
            CancelAll();
            Sleep(20);
        }
    }

    std::vector<DialogStep> steps_;
    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> answered_{0};
    std::vector<std::string> unexpected_;  // written by the second thread only until Stop
    std::thread thread_;
};

// The confirmation asked before the palette is replaced, as the program shows it.
struct MessageBoxSeen {
    std::string text;
    HICON icon = nullptr;
    bool questionIcon = false;
    bool yesAndNoOnly = false;
};

std::function<void(HWND)> AnswerMessageBox(MessageBoxSeen& seen, int button)
{
    return [&seen, button](HWND box) {
        seen.text = Text(GetDlgItem(box, 0xFFFF));
        HWND icon = FindControl(box, "Static", 0x440);
        seen.icon = icon ? reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)) : nullptr;
        seen.questionIcon = icon && seen.icon == LoadIconA(nullptr, IDI_QUESTION);
        seen.yesAndNoOnly = FindControl(box, "Button", IDYES) && FindControl(box, "Button", IDNO) &&
                            !FindControl(box, "Button", IDOK) && !FindControl(box, "Button", IDCANCEL);
        Click(box, button);
    };
}

// The file name typed into the platform's file dialog, then OK.
std::function<void(HWND)> AnswerFileDialog(const std::string& name)
{
    return [name](HWND dialog) {
        SendMessageA(FindControl(dialog, "Edit", 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        Click(dialog, IDOK);
    };
}

std::function<void(HWND)> CancelDialog()
{
    return [](HWND dialog) { Click(dialog, IDCANCEL); };
}

// 現在のﾊﾟﾚｯﾄは削除されます。続行してもよろしいですか？
const std::string kReplaceQuestion =
    "\x8C\xBB\x8D\xDD\x82\xCC\xCA\xDF\xDA\xAF\xC4\x82\xCD\x8D\xED\x8F\x9C\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42"
    "\x91\xB1\x8D\x73\x82\xB5\x82\xC4\x82\xE0\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";
const std::string kInitialiseCaption = "\xCA\xDF\xDA\xAF\xC4\x8F\x89\x8A\xFA\x89\xBB";  // ﾊﾟﾚｯﾄ初期化
const std::string kOpenCaption = "\xCA\xDF\xDA\xAF\xC4\x82\xF0\x8A\x4A\x82\xAD";       // ﾊﾟﾚｯﾄを開く
const std::string kSaveCaption = "\xCA\xDF\xDA\xAF\xC4\x82\xF0\x95\xDB\x91\xB6";       // ﾊﾟﾚｯﾄを保存
const std::string kAboutCaption = "\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1";      // ﾊﾞｰｼﾞｮﾝ情報
const std::string kHotkeyCaption = "\x83\x7A\x83\x62\x83\x67\x83\x4C\x81\x5B";  // ホットキー

// ---- The running program ----

TestFolder* g_folder;

// A palette whose every entry differs from the others and from black.
std::string NumberedPalette(int seed)
{
    std::string bytes(kPaletteFileSize, '\0');
    for (int i = 0; i < kPaletteEntries; ++i) {
        bytes[static_cast<size_t>(4 * i)] = static_cast<char>((i * 2 + seed) & 0xFF);
        bytes[static_cast<size_t>(4 * i + 1)] = static_cast<char>((255 - i + seed) & 0xFF);
        bytes[static_cast<size_t>(4 * i + 2)] = static_cast<char>((i * 7 + seed) & 0xFF);
    }
    return bytes;
}

// Palette swatch `cell`'s tip as the tip control holds it, and as entry
// `cell` of a palette file gives it in the HTML form: "#rrggbb  n番".
std::wstring SwatchTip(int cell) { return TipText(kFirstCellTool + static_cast<UINT_PTR>(cell)); }

std::wstring ExpectedSwatchTip(const std::string& bytes, int cell)
{
    wchar_t text[64];
    const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[static_cast<size_t>(4 * cell + i)]); };
    std::swprintf(text, 64, L"#%02x%02x%02x  %d\u756a", byte(0), byte(1), byte(2), cell + 1);
    return text;
}

std::string PaletteBytes()
{
    return std::string(reinterpret_cast<const char*>(Palette), kPaletteFileSize);
}

void SetPalette(const std::string& bytes)
{
    std::memcpy(Palette, bytes.data(), kPaletteFileSize);
    RedrawPalette();
}

// Setting up a test: the color as a palette pick would leave it.
void ShowColor(int r, int g, int b)
{
    TakeColor(g_mainWindow, RGB(r, g, b));
    Pump();
}

// The focus put into an edit as a click would, whole text selected.
void FocusEdit(int index)
{
    SetFocus(g_window.editTable[index]);
    SendMessageA(g_window.editTable[index], EM_SETSEL, 0, -1);
    Pump();
}

class RunningProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (g_mainWindow != nullptr)
            return;
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        WriteWholeFile(g_folder->file("palini.dll"), NumberedPalette(1));
        WriteWholeFile(g_folder->file("help.html"), ReadWholeFile(HostPathToWindows(HELP_FILE)));
        ASSERT_TRUE(StartUp(GetModuleHandleA(nullptr)));
        g_keys = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDA_ACCELERATORS));
        Pump();
    }
    void SetUp() override
    {
        ASSERT_NE(g_window.uiFont, nullptr) << "the main window was closed by an earlier test";
        g_textForm.CopyFormat = 0;
        g_textForm.HexCase = 0;
        g_textForm.SharpPrefix = 1;
        if (g_displayMode != 0)
            SwitchDisplayMode(g_mainWindow, 0);
        SetForegroundWindow(g_mainWindow);
        ShowColor(18, 52, 86);
        FocusEdit(0);
    }
};

// ---- Typing into the nine edits ----

class Typing : public RunningProgram {};

TEST_F(Typing, EachEditChangesTheColorAndTheOtherEdits)
{
    const struct {
        int edit;
        const char* keys;
        int r, g, b;
        Hsv hsv;
        std::vector<std::string> edits;  // R10 G10 B10 R16 G16 B16 H S V
        const char* copy;
    } cases[] = {
        // A number above the limit counts as the limit and stays on screen as typed.
        {0, "300", 255, 52, 86, {349, 79, 100}, {"300", "52", "86", "ff", "34", "56", "349", "79", "100"}, "#ff3456"},
        {0, "12a", 12, 52, 86, {207, 86, 33}, {"12a", "52", "86", "0c", "34", "56", "207", "86", "33"}, "#0c3456"},
        {0, "a", 0, 52, 86, {203, 100, 33}, {"a", "52", "86", "00", "34", "56", "203", "100", "33"}, "#003456"},
        {0, "\x7f", 0, 52, 86, {203, 100, 33}, {"", "52", "86", "00", "34", "56", "203", "100", "33"}, "#003456"},
        // A sign where the digits would start reads as no number at all.
        {0, "+5", 0, 52, 86, {203, 100, 33}, {"+5", "52", "86", "00", "34", "56", "203", "100", "33"}, "#003456"},
        {0, "-9", 0, 52, 86, {203, 100, 33}, {"-9", "52", "86", "00", "34", "56", "203", "100", "33"}, "#003456"},
        // The edit takes three characters; the fourth key is refused.
        {0, "1234", 123, 52, 86, {331, 57, 48}, {"123", "52", "86", "7b", "34", "56", "331", "57", "48"}, "#7b3456"},
        {2, "99", 18, 52, 99, {214, 81, 38}, {"18", "52", "99", "12", "34", "63", "214", "81", "38"}, "#123463"},
        // A hex text stays exactly as typed, and the copy text uses it unchanged.
        {3, "g", 0, 52, 86, {203, 100, 33}, {"0", "52", "86", "g", "34", "56", "203", "100", "33"}, "#g3456"},
        {3, "f", 15, 52, 86, {208, 82, 33}, {"15", "52", "86", "f", "34", "56", "208", "82", "33"}, "#f3456"},
        {4, "\x7f", 18, 0, 86, {253, 100, 33}, {"18", "0", "86", "12", "", "56", "253", "100", "33"}, "#1256"},
        {4, "Ab", 18, 171, 86, {147, 89, 67}, {"18", "171", "86", "12", "Ab", "56", "147", "89", "67"}, "#12Ab56"},
        // Hue, saturation and value stay as typed (limited); the channels follow.
        {6, "400", 84, 15, 17, {359, 79, 33}, {"84", "15", "17", "54", "0f", "11", "400", "79", "33"}, "#540f11"},
        {7, "150", 0, 40, 84, {210, 100, 33}, {"0", "40", "84", "00", "28", "54", "210", "150", "33"}, "#002854"},
        {8, "5", 2, 7, 12, {210, 79, 5}, {"2", "7", "12", "02", "07", "0c", "210", "79", "5"}, "#02070c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("edit ") + std::to_string(c.edit) + " typed '" + c.keys + "'");
        ShowColor(18, 52, 86);
        FocusEdit(c.edit);
        Type(c.keys);
        ExpectColor(c.r, c.g, c.b, c.hsv);
        ExpectEdits(c.edits);
        EXPECT_EQ(Text(g_window.editCopy), c.copy);
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "typing commits the color";
        EXPECT_EQ(SwatchCurrent(), RGB(c.r, c.g, c.b));
        EXPECT_EQ(SwatchReference(), RGB(c.r, c.g, c.b));
        EXPECT_EQ(g_window.focusIndex, c.edit);
        EXPECT_EQ(g_window.changeGuard, 1);
        EXPECT_EQ(GetFocus(), g_window.editTable[c.edit]) << "the focus stays where the user typed";
    }
}

TEST_F(Typing, EveryKeystrokeActsAtOnce)
{
    const struct {
        char key;
        int red;
        const char* hex;
    } steps[] = {{'3', 3, "03"}, {'0', 30, "1e"}, {'0', 255, "ff"}, {'\b', 30, "1e"}, {'\b', 3, "03"}, {'\b', 0, "00"}};
    for (const auto& s : steps) {
        Type(std::string(1, s.key));
        EXPECT_EQ(g_current.red, s.red);
        EXPECT_EQ(EditText(3), s.hex);
        EXPECT_EQ(SwatchCurrent(), RGB(s.red, 52, 86));
    }
}

// ---- Focus: Tab and Shift+Tab ----

class Focus : public RunningProgram {
protected:
    void ExpectFocusOn(int index)
    {
        EXPECT_EQ(GetFocus(), g_window.editTable[index]) << "edit " << index;
        EXPECT_EQ(g_window.focusIndex, index);
        DWORD start = 9, end = 9;
        SendMessageA(g_window.editTable[index], EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, static_cast<DWORD>(EditText(index).size())) << "the whole text is selected";
    }
    void ClickOn(HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT input[2];
        ZeroMemory(input, sizeof input);
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof input[0]);
        Pump();
    }
};

TEST_F(Focus, TabWalksTheNineEditsAndWraps)
{
    Type("1");  // typing into R10 puts the focus index there
    for (int step = 1; step <= 10; ++step) {
        Press({VK_TAB});
        ExpectFocusOn(step % kColorEditCount);
    }
    for (int step = 10; step >= 0; --step) {
        Press({VK_SHIFT, VK_TAB});
        ExpectFocusOn((step + kColorEditCount - 1) % kColorEditCount);
    }
}

TEST_F(Focus, WrapsAtBothEnds)
{
    FocusEdit(8);
    Type("5");
    Press({VK_TAB});
    ExpectFocusOn(0);
    Press({VK_SHIFT, VK_TAB});
    ExpectFocusOn(8);
}

TEST_F(Focus, StartsFromTheEditLastTypedIntoNotTheOneClicked)
{
    FocusEdit(1);
    Type("7");
    ClickOn(g_window.editTable[7]);
    ASSERT_EQ(GetFocus(), g_window.editTable[7]) << "the click put the focus into S";
    EXPECT_EQ(g_window.focusIndex, 1);
    Press({VK_TAB});
    ExpectFocusOn(2);
}

TEST_F(Focus, NeverReachesTheCopyTextOrTheButtons)
{
    FocusEdit(5);
    Type("a");
    ClickOn(g_window.editCopy);
    ASSERT_EQ(GetFocus(), g_window.editCopy);
    Press({VK_TAB});
    ExpectFocusOn(6);
    SetFocus(GetDlgItem(g_mainWindow, ID_COPY));
    Press({VK_SHIFT, VK_TAB});
    ExpectFocusOn(5);
}

// ---- The settings menu ----

class SettingsMenu : public RunningProgram {};

TEST_F(SettingsMenu, LetterCaseRederivesHueSaturationAndValue)
{
    FocusEdit(6);
    Type("359");
    FocusEdit(7);
    Type("1");
    FocusEdit(8);
    Type("1");
    ExpectColor(2, 0, 2, {359, 1, 1});
    ExpectEdits({"2", "0", "2", "02", "00", "02", "359", "1", "1"});

    ChooseMenu('C', 'B');  // 大文字(&B)
    EXPECT_EQ(g_textForm.HexCase, 1);
    ExpectColor(2, 0, 2, {300, 100, 0});
    ExpectEdits({"2", "0", "2", "02", "00", "02", "300", "100", "0"});
    EXPECT_EQ(g_window.focusIndex, 5) << "each hex write was taken as typing; B16 came last";
    EXPECT_TRUE(SameColor(g_reference, g_current));
    Press({VK_TAB});
    EXPECT_EQ(GetFocus(), g_window.editTable[6]);
}

TEST_F(SettingsMenu, LetterCaseRewritesTheHexEditsAndTheText)
{
    ShowColor(171, 205, 239);
    ChooseMenu('C', 'B');  // 大文字(&B)
    ExpectEdits({"171", "205", "239", "AB", "CD", "EF", "210", "28", "93"});
    EXPECT_EQ(Text(g_window.editCopy), "#ABCDEF");
    ChooseMenu('C', 'S');  // 小文字(&S)
    EXPECT_EQ(g_textForm.HexCase, 0);
    ExpectEdits({"171", "205", "239", "ab", "cd", "ef", "210", "28", "93"});
    EXPECT_EQ(Text(g_window.editCopy), "#abcdef");
}

TEST_F(SettingsMenu, TypedHexTextIsReformattedByTheLetterCase)
{
    FocusEdit(3);
    Type("f");
    EXPECT_EQ(EditText(3), "f");
    ChooseMenu('C', 'S');  // 小文字(&S), the case already set
    EXPECT_EQ(EditText(3), "0f");
    EXPECT_EQ(Text(g_window.editCopy), "#0f3456");
}

TEST_F(SettingsMenu, SharpTwiceRestoresSettingAndText)
{
    const struct {
        int sharp;
        const char* text;
    } steps[] = {{0, "123456"}, {1, "#123456"}, {0, "123456"}};
    for (const auto& s : steps) {
        ChooseMenu('C', 'A');  // 「#」を追加する(&A)
        EXPECT_EQ(g_textForm.SharpPrefix, s.sharp);
        EXPECT_EQ(Text(g_window.editCopy), s.text);
    }
}

TEST_F(SettingsMenu, CopyFormats)
{
    const struct {
        WORD item;
        int format;
        const char* text;
    } formats[] = {{'G', 1, "RGB( 18, 52, 86 )"}, {'D', 2, "5649426"},          {'C', 3, "rgb(18 52 86)"},
                   {'L', 4, "hsl(210 65% 20%)"},  {'T', 0, "#123456"}};
    for (const auto& f : formats) {
        ChooseMenu('C', f.item);
        EXPECT_EQ(g_textForm.CopyFormat, f.format);
        EXPECT_EQ(Text(g_window.editCopy), f.text);
    }
}

TEST_F(SettingsMenu, DisplayModeRepaintsTheWholeWindow)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const struct {
        WORD item;
        int mode;
        int x, y;
        COLORREF shown;  // a pixel of the mode's pickers
    } modes[] = {
        {'R', 1, 135 + 100, 17 + 12, RGB(100, 52, 86)},  // red bar, column 100
        {'R', 1, 135 + 100, 17 + 12, RGB(100, 52, 86)},  // the mode already shown
        {'H', 0, 365, 18, RGB(51, 153, 252)},            // value bar, row 1: value 99
        {'H', 0, 365, 18, RGB(51, 153, 252)},
    };
    for (const auto& m : modes) {
        // A scribble over the labels that only a repaint of the whole window removes.
        {
            HDC dc = GetDC(g_mainWindow);
            RECT scribble = {10, 2, 60, 12};
            FillRect(dc, &scribble, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ReleaseDC(g_mainWindow, dc);
        }
        ASSERT_EQ(Pixel(12, 3), RGB(0, 0, 0));
        ChooseMenu('C', m.item);
        EXPECT_EQ(g_displayMode, m.mode);
        EXPECT_EQ(Pixel(m.x, m.y), m.shown);
        EXPECT_EQ(Pixel(12, 3), face) << "the whole window was repainted";
    }
}

// The marks of the settings menu, read from the real menu after WM_INITMENUPOPUP.
TEST_F(SettingsMenu, MarksFollowTheSettings)
{
    HMENU settings = GetSubMenu(GetMenu(g_mainWindow), 1);
    ASSERT_NE(settings, nullptr);
    const int items[] = {ID_HSVMODE,      ID_RGBMODE,      ID_HTMLFORMAT, ID_RGBFORMAT, ID_DWORDFORMAT,
                         ID_CSSRGBFORMAT, ID_CSSHSLFORMAT, ID_LOWERCASE,  ID_UPPERCASE, ID_SHARP};
    const struct {
        int mode, format, hexCase, sharp;
        bool checked[10];  // in the order of `items`
    } cases[] = {
        {0, 0, 0, 1, {true, false, true, false, false, false, false, true, false, true}},
        {1, 1, 1, 0, {false, true, false, true, false, false, false, false, true, false}},
        {2, 2, 7, 5, {false, true, false, false, true, false, false, false, true, true}},
        {0, 3, 0, 0, {true, false, false, false, false, true, false, true, false, false}},
        {1, 4, 1, 1, {false, true, false, false, false, false, true, false, true, true}},
        // A copy format outside the five leaves its marks as they were.
        {0, 9, 0, 0, {true, false, false, false, false, false, true, true, false, false}},
        {0, -1, 1, 1, {true, false, false, false, false, false, true, false, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        g_displayMode = c.mode;
        g_textForm.CopyFormat = c.format;
        g_textForm.HexCase = c.hexCase;
        g_textForm.SharpPrefix = c.sharp;
        SendMessageA(g_mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(settings), MAKELPARAM(1, FALSE));
        for (size_t i = 0; i < 10; ++i) {
            const UINT state = GetMenuState(settings, static_cast<UINT>(items[i]), MF_BYCOMMAND);
            EXPECT_EQ((state & MF_CHECKED) != 0, c.checked[i]) << "item " << items[i];
        }
    }
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(settings, ID_HSVMODE, FALSE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << "the choices are marked as radio items";
    GetMenuItemInfoA(settings, ID_CSSHSLFORMAT, FALSE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << "the CSS forms too";
    g_displayMode = 0;
    g_textForm.CopyFormat = 0;
    g_textForm.HexCase = 0;
    g_textForm.SharpPrefix = 1;
}

TEST_F(SettingsMenu, OpeningTheMenuSetsItsMarks)
{
    HMENU settings = GetSubMenu(GetMenu(g_mainWindow), 1);
    g_textForm.CopyFormat = 2;
    g_textForm.SharpPrefix = 0;
    // Esc closes the pop-up, a second Esc leaves the menu bar; both are queued
    // before the menu's own loop starts reading them.
    Chord({VK_MENU, 'C'});
    Chord({VK_ESCAPE});
    Chord({VK_ESCAPE});
    Pump();
    EXPECT_TRUE(GetMenuState(settings, ID_DWORDFORMAT, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(settings, ID_HTMLFORMAT, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(settings, ID_SHARP, MF_BYCOMMAND) & MF_CHECKED);
}

// ---- Copying the text ----

class Clipboard : public RunningProgram {
protected:
    static std::string ClipboardText()
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return "<clipboard busy>";
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* p = static_cast<const char*>(GlobalLock(data))) {
                text = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }
    static void PutOnClipboard(const char* text)
    {
        ASSERT_TRUE(OpenClipboard(g_mainWindow));
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
        std::memcpy(GlobalLock(data), text, std::strlen(text) + 1);
        GlobalUnlock(data);
        SetClipboardData(CF_TEXT, data);
        CloseClipboard();
    }
    // What a Linux program pasting from the X11 clipboard gets, read with xclip
    // while this process, the clipboard's owner, keeps running.
    static std::string X11ClipboardText()
    {
        const std::string unixFile = "/tmp/tintbox-xclip-" + std::to_string(GetCurrentProcessId()) + ".txt";
        const std::string file = HostPathToWindows(unixFile);
        DeleteFileA(file.c_str());
        std::string command = "/bin/sh -c \"xclip -o -selection clipboard > " + unixFile + ".part && mv " +
                              unixFile + ".part " + unixFile + "\"";
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        ZeroMemory(&process, sizeof process);
        if (!CreateProcessA("/bin/sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return "<xclip did not start>";
        // A Linux process gives no handle to wait on: wait for its output instead.
        for (int i = 0; i < 500 && !FileExists(file); ++i) {
            Pump();
            Sleep(10);
        }
        const std::string text = FileExists(file) ? ReadWholeFile(file) : "<no answer from xclip>";
        DeleteFileA(file.c_str());
        return text;
    }
};

TEST_F(Clipboard, CtrlCCopiesTheTextInEveryForm)
{
    const struct {
        int format, hexCase, sharp;
        const char* text;
    } forms[] = {
        {0, 0, 1, "#123456"}, {0, 1, 0, "123456"}, {1, 0, 1, "RGB( 18, 52, 86 )"}, {2, 0, 1, "5649426"},
        {3, 1, 0, "rgb(18 52 86)"}, {4, 1, 1, "hsl(210 65% 20%)"},
    };
    ShowColor(18, 52, 86);
    for (const auto& f : forms) {
        SCOPED_TRACE(f.text);
        g_textForm.CopyFormat = f.format;
        g_textForm.HexCase = f.hexCase;
        g_textForm.SharpPrefix = f.sharp;
        UpdateCopyText();
        PutOnClipboard("something else");
        FocusEdit(2);
        Press({VK_CONTROL, 'C'});
        EXPECT_EQ(ClipboardText(), f.text);
        EXPECT_EQ(GetFocus(), g_window.editTable[2]) << "the focus does not move";
        DWORD start = 9, end = 9;
        SendMessageA(g_window.editCopy, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, std::strlen(f.text)) << "the copied text stays selected";
        EXPECT_EQ(EditText(2), "86") << "the edit with the focus is not what was copied";
    }
}

TEST_F(Clipboard, TheButtonAndTheMenuCopyToo)
{
    PutOnClipboard("something else");
    SendMessageA(GetDlgItem(g_mainWindow, ID_COPY), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(ClipboardText(), "#123456");
    ShowColor(255, 255, 255);
    ChooseMenu('I', 'C');  // クリップボードにコピー(&C)
    EXPECT_EQ(ClipboardText(), "#ffffff");
}

TEST_F(Clipboard, LinuxProgramsPasteTheSameText)
{
    ShowColor(200, 100, 50);
    g_textForm.CopyFormat = 1;
    UpdateCopyText();
    Press({VK_CONTROL, 'C'});
    ASSERT_EQ(ClipboardText(), "RGB( 200, 100, 50 )");
    EXPECT_EQ(X11ClipboardText(), "RGB( 200, 100, 50 )");
}

// ---- Palette commands and their confirmations ----

class PaletteCommands : public RunningProgram {
protected:
    void SetUp() override
    {
        RunningProgram::SetUp();
        SetPalette(NumberedPalette(100));
        std::strcpy(g_paletteFile, "C:\\before.tbp");
    }
};

TEST_F(PaletteCommands, InitialiseAfterYesLoadsTheFactoryPalette)
{
    ASSERT_EQ(SwatchTip(5), ExpectedSwatchTip(NumberedPalette(100), 5));
    MessageBoxSeen seen;
    DialogAnswerer answerer({{kInitialiseCaption, AnswerMessageBox(seen, IDYES)}});
    Press({VK_CONTROL, 'I'});
    ASSERT_TRUE(answerer.Answered());
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(seen.text, kReplaceQuestion);
    EXPECT_TRUE(seen.questionIcon);
    EXPECT_TRUE(seen.yesAndNoOnly);
    EXPECT_EQ(PaletteBytes(), NumberedPalette(1));
    EXPECT_EQ(PaletteCellPixel(5), Palette[5]) << "the palette is shown at once";
    EXPECT_EQ(PaletteCellPixel(127), Palette[127]);
    EXPECT_EQ(SwatchTip(5), ExpectedSwatchTip(NumberedPalette(1), 5)) << "the tips follow";
    EXPECT_EQ(SwatchTip(127), ExpectedSwatchTip(NumberedPalette(1), 127));
    EXPECT_STREQ(g_paletteFile, "C:\\before.tbp") << "the palette file path is not changed";
}

TEST_F(PaletteCommands, AnsweringNoChangesNothing)
{
    const struct {
        WORD key;
        std::string caption;
    } commands[] = {{'I', kInitialiseCaption}, {'O', kOpenCaption}};
    for (const auto& c : commands) {
        SCOPED_TRACE(c.caption);
        const Snapshot before = Snapshot::Take();
        MessageBoxSeen seen;
        DialogAnswerer answerer({{c.caption, AnswerMessageBox(seen, IDNO)}});
        Press({VK_CONTROL, c.key});
        ASSERT_TRUE(answerer.Answered());
        EXPECT_EQ(seen.text, kReplaceQuestion);
        EXPECT_TRUE(answerer.Unexpected().empty()) << "no file dialog after no";
        before.ExpectUnchanged();
        EXPECT_STREQ(g_paletteFile, "C:\\before.tbp");
    }
}

TEST_F(PaletteCommands, OpenAfterYesLoadsTheChosenFile)
{
    const std::string file = g_folder->file("chosen.tbp");
    WriteWholeFile(file, NumberedPalette(42));
    MessageBoxSeen seen;
    // The confirmation, then the file dialog with the same caption.
    DialogAnswerer answerer({{kOpenCaption, AnswerMessageBox(seen, IDYES)}, {kOpenCaption, AnswerFileDialog(file)}});
    Press({VK_CONTROL, 'O'});
    ASSERT_TRUE(answerer.Answered());
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(seen.text, kReplaceQuestion);
    EXPECT_EQ(PaletteBytes(), NumberedPalette(42));
    EXPECT_EQ(PaletteCellPixel(64), Palette[64]);
    EXPECT_EQ(SwatchTip(64), ExpectedSwatchTip(NumberedPalette(42), 64)) << "the tips follow";
    EXPECT_EQ(std::string(g_paletteFile), file);
}

TEST_F(PaletteCommands, OpenCancelledInTheFileDialogChangesNothing)
{
    const Snapshot before = Snapshot::Take();
    MessageBoxSeen seen;
    DialogAnswerer answerer({{kOpenCaption, AnswerMessageBox(seen, IDYES)}, {kOpenCaption, CancelDialog()}});
    ChooseMenu('F', 'O');  // パレットを開く(&O)...
    ASSERT_TRUE(answerer.Answered());
    EXPECT_TRUE(answerer.Unexpected().empty());
    before.ExpectUnchanged();
    EXPECT_STREQ(g_paletteFile, "C:\\before.tbp");
}

TEST_F(PaletteCommands, SaveAsksNothingAndWritesTheChosenFile)
{
    const std::string typed = g_folder->file("saved");
    DialogAnswerer answerer({{kSaveCaption, AnswerFileDialog(typed)}});
    Press({VK_CONTROL, 'S'});
    ASSERT_TRUE(answerer.Answered());
    EXPECT_TRUE(answerer.Unexpected().empty()) << "no confirmation before saving";
    EXPECT_EQ(std::string(g_paletteFile), typed + ".tbp");
    EXPECT_EQ(ReadWholeFile(typed + ".tbp"), NumberedPalette(100));
}

TEST_F(PaletteCommands, SaveCancelledWritesNothing)
{
    const Snapshot before = Snapshot::Take();
    DialogAnswerer answerer({{kSaveCaption, CancelDialog()}});
    ChooseMenu('F', 'S');  // パレットを保存(&S)...
    ASSERT_TRUE(answerer.Answered());
    before.ExpectUnchanged();
    EXPECT_STREQ(g_paletteFile, "C:\\before.tbp");
    EXPECT_FALSE(FileExists("C:\\before.tbp"));
}

// ---- Palette files of other colour tools dropped onto the window ----

// A text as the Japanese interface shows it, in code page 932.
std::string Cp932(const std::wstring& text)
{
    char bytes[1024] = {};
    WideCharToMultiByte(932, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

// A real HDROP of the paths, as the shell hands one to a window that accepts files.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    std::string list;
    for (const std::string& path : paths)
        list += path + '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop + 1), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Dropped files open as if chosen in the open dialog (which the end-to-end suite drives).
TEST_F(PaletteCommands, DroppedFilesOpenOrTellWhatIsWrongByName)
{
    // 200 "rrggbb" lines, line i red i, green 7, blue 255 - i; the first 128 are taken.
    std::string lines;
    std::vector<uint32_t> first128;
    for (uint32_t i = 0; i < 200; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "%02x07%02x\n", i, 255 - i);
        lines += line;
        if (i < 128)
            first128.push_back(i | 7u << 8 | (255 - i) << 16);
    }
    const std::wstring unchanged = L"\nﾊﾟﾚｯﾄは変更していません。";
    const struct {
        std::vector<std::pair<std::string, std::string>> files;  // name and bytes; the first is opened
        int answer;                   // to the confirmation
        std::wstring message;         // shown after the path and a blank line; empty: none
        LPCSTR icon;
        std::vector<uint32_t> first;  // the palette's first entries after; empty: unchanged
    } cases[] = {
        {{{"jasc.gpl", "JASC-PAL\r\n0100\r\n1\r\n1 2 3\r\n"}}, IDYES,
         L"ﾌｧｲﾙの中身が拡張子の形式と合いません。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"cut.ase", std::string("ASEF\0\1\0\0\0\0\0\1\0\1\0\0\0\x40" "abcd", 22)}}, IDYES,
         L"ﾌｧｲﾙが途中で切れています。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"big.hex", std::string(kPaletteFileLimit + 1, '\n')}}, IDYES,
         L"ﾌｧｲﾙが大きすぎます（1 MB まで）。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"range.gpl", "GIMP Palette\n1 2 3\tok\n300 0 0\tred\n"}}, IDYES,
         L"範囲外の色の値があります。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"bad.hex", "ff0000\nnot a colour\n"}}, IDYES,
         L"この形式にない行またはﾌﾞﾛｯｸがあります。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"v2.pal", "JASC-PAL\r\n0200\r\n1\r\n1 2 3\r\n"}}, IDYES,
         L"読み込めないﾊﾞｰｼﾞｮﾝまたはｶﾗｰﾓﾃﾞﾙです。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"none.txt", "; paint.net Palette File\r\n; no colours\r\n"}}, IDYES,
         L"色が 1 つもありません。" + unchanged, IDI_EXCLAMATION, {}},
        {{{"empty.tbp", ""}}, IDYES, L"", nullptr, {}},
        {{{"many.hex", lines}}, IDYES,
         L"このﾌｧｲﾙには 200 色あります。ﾊﾟﾚｯﾄには最初の 128 色を読み込み、残りの 72 色は読み込みませんでした。",
         IDI_INFORMATION, first128},
        {{{"no extension", "GIMP Palette\n# by content\n1 2 3\n"}}, IDYES, L"", nullptr, {0x030201}},
        {{{"one.hex", "0a141e\n"}}, IDYES, L"", nullptr, {0x1E140A}},
        {{{"no.hex", "0a141e\n"}}, IDNO, L"", nullptr, {}},
        {{{"first.gpl", "GIMP Palette\n\n10 20 30\n"}, {"second.hex", "ffffff\n"}}, IDYES,
         L"2 個のﾌｧｲﾙがﾄﾞﾛｯﾌﾟされました。開くのは最初のこのﾌｧｲﾙだけです。", IDI_INFORMATION, {0x1E140A}},
    };
    EXPECT_TRUE(GetWindowLongPtrA(g_mainWindow, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "files may be dropped";
    const std::string before = NumberedPalette(100);
    for (const auto& c : cases) {
        const std::string path = g_folder->file(c.files[0].first);
        SCOPED_TRACE(path);
        SetPalette(before);
        std::strcpy(g_paletteFile, "C:\\before.tbp");
        std::vector<std::string> paths;
        for (const auto& file : c.files) {
            paths.push_back(g_folder->file(file.first));
            WriteWholeFile(paths.back(), file.second);
        }
        MessageBoxSeen confirmation, message;
        std::vector<DialogStep> steps = {{kOpenCaption, AnswerMessageBox(confirmation, c.answer)}};
        if (!c.message.empty())
            steps.push_back({kOpenCaption, AnswerMessageBox(message, IDOK)});
        DialogAnswerer answerer(steps);
        PostMessageA(g_mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
        Pump();
        ASSERT_TRUE(answerer.Answered());
        EXPECT_TRUE(answerer.Unexpected().empty());
        EXPECT_EQ(confirmation.text, kReplaceQuestion);
        EXPECT_EQ(message.text, c.message.empty() ? "" : path + "\n\n" + Cp932(c.message));
        EXPECT_EQ(message.icon, c.icon ? LoadIconA(nullptr, c.icon) : nullptr);
        std::string expected = before;
        std::memcpy(&expected[0], c.first.data(), 4 * c.first.size());
        EXPECT_EQ(PaletteBytes(), expected);
        EXPECT_EQ(PaletteCellPixel(0), Palette[0]) << "the palette is shown";
        // A file that could not be read leaves the palette file path as it was.
        const bool read = c.answer == IDYES && c.icon != IDI_EXCLAMATION;
        EXPECT_EQ(std::string(g_paletteFile), read ? path : "C:\\before.tbp");
    }
}

// ---- The image menu's transforms, from their keys ----

class Transforms : public RunningProgram {};

TEST_F(Transforms, KeysRunTheTransformsAndCommitTheColor)
{
    const struct {
        const char* what;
        std::vector<WORD> keys;
        int r, g, b;
        Hsv hsv;
        const char* copy;
    } cases[] = {
        {"web-safe", {VK_CONTROL, 'B'}, 0, 51, 102, {210, 100, 40}, "#003366"},
        {"grayscale", {VK_CONTROL, 'G'}, 45, 45, 45, {0, 0, 17}, "#2d2d2d"},
        {"invert", {VK_CONTROL, 'R'}, 237, 203, 169, {30, 28, 92}, "#edcba9"},
        {"lighter", {VK_CONTROL, VK_ADD}, 17, 51, 86, {210, 79, 34}, "#113356"},
        {"darker", {VK_CONTROL, VK_SUBTRACT}, 15, 48, 81, {210, 79, 32}, "#0f3051"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShowColor(18, 52, 86);
        g_reference.red = 1;  // as after a drag not yet released
        RedrawSwatch();
        Press(c.keys);
        ExpectColor(c.r, c.g, c.b, c.hsv);
        EXPECT_TRUE(SameColor(g_reference, g_current)) << "the reference color follows";
        char hex[3][3];
        std::snprintf(hex[0], 3, "%02x", static_cast<unsigned>(c.r));
        std::snprintf(hex[1], 3, "%02x", static_cast<unsigned>(c.g));
        std::snprintf(hex[2], 3, "%02x", static_cast<unsigned>(c.b));
        ExpectEdits({std::to_string(c.r), std::to_string(c.g), std::to_string(c.b), hex[0], hex[1], hex[2],
                     std::to_string(c.hsv.hue), std::to_string(c.hsv.saturation), std::to_string(c.hsv.value)});
        EXPECT_EQ(Text(g_window.editCopy), c.copy);
        EXPECT_EQ(SwatchCurrent(), RGB(c.r, c.g, c.b));
        EXPECT_EQ(SwatchReference(), RGB(c.r, c.g, c.b)) << "the whole swatch shows one color";
        EXPECT_EQ(g_window.changeGuard, 1);
    }
}

TEST_F(Transforms, LighterAndDarkerStepOnlyTheValue)
{
    ShowColor(18, 52, 86);  // hue 210, saturation 79, value 33
    for (int i = 0; i < 3; ++i)
        Press({VK_CONTROL, VK_ADD});
    ExpectColor(17, 53, 91, {210, 79, 36});
    for (int i = 0; i < 5; ++i)
        Press({VK_CONTROL, VK_SUBTRACT});
    ExpectColor(15, 45, 79, {210, 79, 31});
    ShowColor(254, 255, 255);  // value 100 already
    Press({VK_CONTROL, VK_ADD});
    ExpectColor(255, 255, 255, {0, 0, 100});
    EXPECT_EQ(EditText(0), "255");
}

TEST_F(Transforms, TheMainKeyboardsPlusAndMinusDoNothing)
{
    const std::vector<WORD> chords[] = {
        {VK_CONTROL, VK_OEM_PLUS},
        {VK_CONTROL, VK_OEM_MINUS},
        {VK_CONTROL, VK_SHIFT, VK_OEM_PLUS},
        {VK_CONTROL, VK_SHIFT, VK_OEM_MINUS},
    };
    FocusEdit(8);
    for (const auto& chord : chords) {
        const Snapshot before = Snapshot::Take();
        Press(chord);
        before.ExpectUnchanged();
    }
}

TEST_F(Transforms, EscWithoutACaptureDoesNothing)
{
    ASSERT_FALSE(g_window.captureActive);
    FocusEdit(4);
    const Snapshot before = Snapshot::Take();
    Press({VK_ESCAPE});
    before.ExpectUnchanged();
    EXPECT_FALSE(g_window.captureActive);
    EXPECT_EQ(GetFocus(), g_window.editTable[4]);
    EXPECT_TRUE(IsWindowVisible(g_mainWindow));
}

// ---- The platform's color dialog ----

class ColorDialog : public RunningProgram {};

struct ColorDialogSeen {
    std::string red, green, blue;
    bool fullOpen = false;
    HWND owner = nullptr;
};

TEST_F(ColorDialog, ChosenColorIsCommittedAndCustomColorsKept)
{
    for (uint32_t& c : g_customColors)
        c = 0x00FFFFFF;
    ColorDialogSeen seen;
    DialogAnswerer dialog({{"", [&seen](HWND d) {
        seen.red = Text(FindControl(d, "Edit", 706));
        seen.green = Text(FindControl(d, "Edit", 707));
        seen.blue = Text(FindControl(d, "Edit", 708));
        seen.fullOpen = IsWindowVisible(FindControl(d, "Edit", 706)) && !IsWindowEnabled(FindControl(d, "Button", 719));
        seen.owner = GetWindow(d, GW_OWNER);
        SendMessageA(FindControl(d, "Edit", 706), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("200"));
        SendMessageA(FindControl(d, "Edit", 707), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("100"));
        SendMessageA(FindControl(d, "Edit", 708), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("50"));
        Click(d, 712);  // add to the custom colors
        Click(d, IDOK);
    }}});
    Press({VK_CONTROL, 'W'});
    ASSERT_TRUE(dialog.Answered());
    EXPECT_EQ(seen.red, "18") << "the dialog opens on the current color";
    EXPECT_EQ(seen.green, "52");
    EXPECT_EQ(seen.blue, "86");
    EXPECT_TRUE(seen.fullOpen) << "the custom color part is open";
    EXPECT_EQ(seen.owner, g_mainWindow);
    ExpectColor(200, 100, 50, {20, 75, 78});
    EXPECT_TRUE(SameColor(g_reference, g_current));
    ExpectEdits({"200", "100", "50", "c8", "64", "32", "20", "75", "78"});
    EXPECT_EQ(Text(g_window.editCopy), "#c86432");
    EXPECT_EQ(SwatchReference(), RGB(200, 100, 50));
    int added = 0;
    for (uint32_t c : g_customColors)
        added += c == RGB(200, 100, 50) ? 1 : 0;
    EXPECT_EQ(added, 1) << "the custom color added in the dialog is kept";
}

TEST_F(ColorDialog, CancelChangesNothing)
{
    const Snapshot before = Snapshot::Take();
    const std::vector<uint32_t> custom(g_customColors, g_customColors + kCustomColorCount);
    DialogAnswerer dialog({{"", [](HWND d) {
                                SendMessageA(FindControl(d, "Edit", 706), WM_SETTEXT, 0,
                                             reinterpret_cast<LPARAM>("1"));
                                Click(d, IDCANCEL);
                            }}});
    ChooseMenu('I', 'W');  // Windows標準ダイアログ(&W)
    ASSERT_TRUE(dialog.Answered());
    EXPECT_TRUE(std::equal(custom.begin(), custom.end(), g_customColors));
    before.ExpectUnchanged();
}

// ---- The hotkey and its dialog ----

class HotkeyDialog : public RunningProgram {
protected:
    void TearDown() override  // the default chord again, for the tests after
    {
        UnregisterPickHotkey(g_mainWindow);
        g_hotkey = kDefaultHotkey;
        RegisterPickHotkey(g_mainWindow);
    }
};

// Whether another program could take the chord: tried from this thread and given back.
bool ChordFree(HotkeyChord c)
{
    const bool free = RegisterHotKey(nullptr, 77, c.modifiers, c.key) != FALSE;
    if (free)
        UnregisterHotKey(nullptr, 77);
    return free;
}

// The dialog as it opened (the control, "Win +", the chord greyed out by "no
// hotkey") and the complaint that OK brought, if any.
struct HotkeySeen {
    WORD control = 0;
    bool win = false, off = false;
    std::string complaint;
};

// Reads the dialog, presses the hotkey (ignored while the dialog is open),
// sets the chord, "Win +" and "no hotkey", presses OK; a complaint is read and
// closed, and the dialog then cancelled.
std::function<void(HWND)> AnswerHotkeyDialog(HotkeySeen& seen, WORD chord, bool win, bool off, DWORD uiThread)
{
    return [&seen, chord, win, off, uiThread](HWND dialog) {
        HWND control = FindControl(dialog, "msctls_hotkey32", IDC_HOTKEY_KEY);
        HWND winBox = FindControl(dialog, "Button", IDC_HOTKEY_WIN);
        seen.control = LOWORD(SendMessageA(control, HKM_GETHOTKEY, 0, 0));
        seen.win = SendMessageA(winBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
        seen.off = !IsWindowEnabled(control);
        SendMessageA(g_mainWindow, WM_HOTKEY, kPickHotkeyId, MAKELPARAM(MOD_WIN | MOD_SHIFT, 'C'));
        SendMessageA(control, HKM_SETHOTKEY, chord, 0);
        SendMessageA(winBox, BM_SETCHECK, win ? BST_CHECKED : BST_UNCHECKED, 0);
        if (off != seen.off)
            Click(dialog, IDC_HOTKEY_OFF);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        for (DWORD start = GetTickCount(); IsWindowVisible(dialog) && GetTickCount() - start < 3000; Sleep(20)) {
            if (HWND box = FindDialog(uiThread, "Tintbox")) {
                Sleep(100);
                seen.complaint = Text(GetDlgItem(box, 0xFFFF));
                Click(box, IDOK);
                Sleep(200);
                Click(dialog, IDCANCEL);
                break;
            }
        }
    };
}

// Each row opens the dialog from the menu and shows what the row before left;
// the chord chosen replaces the old one, or the dialog complains and the old
// one stays. The control's Shift and Alt are MOD_SHIFT and MOD_ALT the other
// way round.
TEST_F(HotkeyDialog, ChoosesRegistersOrRefusesTheChord)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, 78, MOD_CONTROL | MOD_SHIFT, 'J')) << "another program's chord";
    const WORD shiftC = MAKEWORD('C', HOTKEYF_SHIFT), ctrlAltK = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    const WORD shiftAltF9 = MAKEWORD(VK_F9, HOTKEYF_SHIFT | HOTKEYF_ALT);
    const HotkeyChord winShiftC = {MOD_WIN | MOD_SHIFT, 'C'};
    const struct {
        WORD shown;
        bool shownWin, shownOff;
        WORD chord;
        bool win, off;
        UINT complaint;
        HotkeyChord registered;  // afterwards; key 0 for none
    } rows[] = {
        {shiftC, true, false, ctrlAltK, false, false, 0, {MOD_CONTROL | MOD_ALT, 'K'}},
        {ctrlAltK, false, false, shiftAltF9, true, false, 0, {MOD_WIN | MOD_SHIFT | MOD_ALT, VK_F9}},
        {shiftAltF9, true, false, MAKEWORD('Q', HOTKEYF_CONTROL), false, true, 0, {0, 0}},
        {shiftC, true, true, shiftC, true, false, 0, winShiftC},
        {shiftC, true, false, MAKEWORD('K', 0), false, false, IDS_HOTKEY_BARE, winShiftC},
        {shiftC, true, false, MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_SHIFT), false, false, IDS_HOTKEY_TAKEN, winShiftC},
    };
    HotkeyChord before = g_pickHotkey;
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "row registering " << r.registered.modifiers << "+" << r.registered.key);
        HotkeySeen seen;
        DialogAnswerer answerer({{kHotkeyCaption, AnswerHotkeyDialog(seen, r.chord, r.win, r.off, GetCurrentThreadId())}});
        ChooseMenu('C', 'K');  // ホットキー(&K)...
        ASSERT_TRUE(answerer.Answered());
        EXPECT_EQ(seen.control, r.shown);
        EXPECT_EQ(seen.win, r.shownWin);
        EXPECT_EQ(seen.off, r.shownOff);
        EXPECT_EQ(seen.complaint, r.complaint ? UiText(r.complaint) : "");
        EXPECT_FALSE(g_window.captureActive) << "the hotkey does nothing while the dialog is open";
        EXPECT_EQ(g_pickHotkey.modifiers, r.registered.modifiers);
        EXPECT_EQ(g_pickHotkey.key, r.registered.key);
        EXPECT_EQ(g_hotkey.Modifiers, static_cast<int32_t>(r.registered.modifiers)) << "kept in the settings";
        EXPECT_EQ(g_hotkey.Key, static_cast<int32_t>(r.registered.key));
        for (const HotkeyChord& c : {before, r.registered}) {
            const bool now = c.modifiers == r.registered.modifiers && c.key == r.registered.key;
            if (c.key != 0) {
                EXPECT_EQ(ChordFree(c), !now) << "only the chord registered now is held";
            }
        }
        before = r.registered;
    }
    UnregisterHotKey(nullptr, 78);
}

// ---- The version dialog ----

class AboutDialog : public RunningProgram {};

struct AboutSeen {
    std::string text;
    LONG textWeight = 0;
    LONG dialogWeight = 0;
    HFONT boldFont = nullptr;
    bool focusOnClose = false;
    HWND owner = nullptr;
};

std::function<void(HWND)> LookAtAbout(AboutSeen& seen, std::function<void(HWND)> close)
{
    return [&seen, close](HWND d) {
        seen.text = Text(GetDlgItem(d, 1000));
        seen.boldFont = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(d, 1000), WM_GETFONT, 0, 0));
        LOGFONTA font;
        ZeroMemory(&font, sizeof font);
        GetObjectA(seen.boldFont, sizeof font, &font);
        seen.textWeight = font.lfWeight;
        ZeroMemory(&font, sizeof font);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)), sizeof font, &font);
        seen.dialogWeight = font.lfWeight;
        GUITHREADINFO info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info);
        seen.focusOnClose = info.hwndFocus == GetDlgItem(d, IDOK);
        seen.owner = GetWindow(d, GW_OWNER);
        close(d);
    };
}

TEST_F(AboutDialog, ShowsTheVersionInBoldAndClosesEveryWay)
{
    const struct {
        const char* how;
        std::function<void(HWND)> close;
    } ways[] = {
        {"close button", [](HWND d) { Click(d, IDOK); }},
        {"Esc", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Enter", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 0); }},
        {"caption's close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        const Snapshot before = Snapshot::Take();
        AboutSeen seen;
        DialogAnswerer dialog({{kAboutCaption, LookAtAbout(seen, way.close)}});
        ChooseMenu('O', 'A');  // バージョン情報(&A)...
        ASSERT_TRUE(dialog.Answered());
        EXPECT_EQ(FindDialog(GetCurrentThreadId(), kAboutCaption), nullptr) << "the dialog is closed";
        EXPECT_EQ(seen.text, "Tintbox Ver.1.12");
        EXPECT_EQ(seen.textWeight, 700);
        EXPECT_LT(seen.dialogWeight, 700) << "only the version text is bold";
        EXPECT_TRUE(seen.focusOnClose) << "the focus is on the close button";
        EXPECT_EQ(seen.owner, g_mainWindow);
        EXPECT_EQ(GetObjectType(seen.boldFont), 0u) << "the bold font went with the dialog";
        before.ExpectUnchanged();
    }
}

// ---- Help and the maker's page, through the shell ----

class Shell : public RunningProgram {};

TEST_F(Shell, F1OpensTheHelpPageBesideTheProgram)
{
    ShellRecorder recorder(g_folder->path());
    const Snapshot before = Snapshot::Take();
    Press({VK_F1});
    EXPECT_EQ(recorder.OpenedPage(), g_folder->file("help.html"));
    before.ExpectUnchanged();
}

TEST_F(Shell, TheWebSiteItemOpensTheMakersPage)
{
    ShellRecorder recorder(g_folder->path());
    ChooseMenu('O', 'W');  // Quillmark Webサイト(&W)...
    EXPECT_EQ(recorder.OpenedAddress(), "https://quillmark.example/tintbox/");
    EXPECT_STREQ(kMakerHomePage, "https://quillmark.example/tintbox/");
}

// The page the help command opens: built beside the program, in Japanese,
// covering every menu command, the keys, the capture and the files.
TEST(HelpPage, IsBesideTheProgramAndCoversEverything)
{
    const std::string page = ReadWholeFile(HostPathToWindows(HELP_FILE));
    ASSERT_FALSE(page.empty()) << HELP_FILE;
    EXPECT_EQ(page.compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("lang=\"ja\""), std::string::npos);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, page.data(), static_cast<int>(page.size()),
                                  nullptr, 0) > 0,
              true)
        << "the page is valid UTF-8";
    const char* const mentions[] = {
        // Every menu item, as the menu shows it.
        "パレットを開く", "パレットを保存", "パレット初期化", "終了", "HSV形式", "RGB形式", "HTML", "RGBマクロ", "DWORD",
        "小文字", "大文字", "「#」を追加する", "画面上の色を取得", "クリップボードにコピー", "Webセーフカラー",
        "グレースケール", "階調の反転", "少し明るく", "少し暗く", "Windows標準ダイアログ", "ヘルプ", "Quillmark",
        "バージョン情報",
        // Keys.
        "Ctrl+C", "Ctrl+Q", "Ctrl+O", "Ctrl+S", "Ctrl+I", "Ctrl+B", "Ctrl+G", "Ctrl+R", "Ctrl+W", "F1", "F5", "Esc",
        "Tab", "Shift+Tab", "テンキー",
        // The capture and the files.
        "右クリック", "拡大", "tbox.ini", "palette.ini", "palini.dll", ".tbp",
        // The formats of other programs, their formulas, and dropping files.
        ".gpl", ".ase", ".aco", ".pal", ".txt", ".hex", "R = 255×(1−C)×(1−K)", "Bradford", "ドロップ",
        // The tips, the CSS forms and the hotkey.
        "CSS RGB", "CSS HSL", "rgb(18 52 86)", "hsl(210 65% 20%)", "コントラスト比", "ホットキー", "Win+Shift+C",
        "Win+Alt+C",
    };
    for (const char* m : mentions)
        EXPECT_NE(page.find(m), std::string::npos) << m;
}

// ---- Last: the exit command closes the program ----

class Exit : public RunningProgram {};

TEST_F(Exit, CtrlQSavesAndEndsTheLoop)
{
    ShowColor(18, 52, 86);
    g_textForm.CopyFormat = 2;
    Palette[9] = 0x00ABCDEF;
    Chord({VK_CONTROL, 'Q'});
    bool quit = false;
    MSG msg = {};
    for (int i = 0; i < 1000 && !quit; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                break;
            }
            ProcessMessage(msg, g_keys);
        }
        Sleep(10);
    }
    ASSERT_TRUE(quit);
    EXPECT_EQ(msg.wParam, 0u);
    const std::string ini = g_folder->file("tbox.ini");
    EXPECT_EQ(GetPrivateProfileIntA("Color", "Copy", -1, ini.c_str()), 2u);
    EXPECT_EQ(GetPrivateProfileIntA("Color", "G", -1, ini.c_str()), 52u);
    EXPECT_EQ(ReadWholeFile(g_folder->file("palette.ini")).substr(36, 4), std::string("\xEF\xCD\xAB\x00", 4));
}

}  // namespace

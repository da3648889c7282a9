// The English interface, run with LANG=en_US.UTF-8 (ANSI code page 1252): the
// built program's first start seen from outside, and the real main window in
// this process with its menus, labels, dialog, confirmation and capture hint.
// Every text the user can see must be plain ASCII, or it shows as garbage on
// a code page other than 932.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "capture/capture.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "tests/app_driver.h"
#include "tests/program_loop.h"
#include "tests/test_folder.h"
#include "view/draw.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/surfaces.h"
#include "view/tips.h"

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// The bytes of `text` that are not plain ASCII, as "0x81 at 3" notes; empty when there are none.
std::string NonAscii(const std::string& text)
{
    std::string found;
    for (size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            found += "0x" + std::to_string(static_cast<unsigned char>(text[i])) + " at " + std::to_string(i) + " ";
    return found;
}

// As the window itself answers (GetWindowTextA gives another process's controls only their first text).
std::string WindowText(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Every item of a menu bar and its pop-ups: the texts (separators left out) and the command IDs.
struct MenuItems {
    std::vector<std::string> texts;
    std::vector<UINT> ids;
};

MenuItems Walk(HMENU bar)
{
    MenuItems items;
    for (int p = 0; p < GetMenuItemCount(bar); ++p) {
        char text[256] = {};
        GetMenuStringA(bar, static_cast<UINT>(p), text, sizeof text, MF_BYPOSITION);
        items.texts.push_back(text);
        HMENU popup = GetSubMenu(bar, p);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const UINT id = GetMenuItemID(popup, i);
            if (id == 0)
                continue;  // a separator
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            items.texts.push_back(text);
            items.ids.push_back(id);
        }
    }
    return items;
}

bool IsStatic(HWND window)
{
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, "Static") == 0;
}

// The texts of the children; an icon's static holds the icon's resource number, not a text.
BOOL CALLBACK CollectChildText(HWND child, LPARAM texts)
{
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsStatic(child))
        reinterpret_cast<std::vector<std::string>*>(texts)->push_back(WindowText(child));
    return TRUE;
}

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

TEST(English, TheRunIsOnAnotherCodePage)
{
    EXPECT_NE(GetACP(), 932u) << "this suite runs with LANG=en_US.UTF-8";
    EXPECT_EQ(LanguageForCodePage(GetACP()), kEnglish);
    EXPECT_EQ(LanguageForCodePage(932), kJapanese);
    EXPECT_EQ(LanguageForCodePage(1251), kEnglish);
}

// The built program, started in a folder of its own as a user starts it.
TEST(English, FirstStartShowsPlainAsciiEverywhere)
{
    TestFolder folder;
    RunningApp app(folder, true);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    // Its menus belong to its process (the in-process tests below read them).
    std::vector<std::string> texts = ChildTexts(window);
    ASSERT_EQ(texts.size(), 12u) << "the twelve controls";
    texts.push_back(WindowText(window));
    for (const std::string& text : texts)
        EXPECT_EQ(NonAscii(text), "") << "\"" << text << "\"";
    EXPECT_EQ(WindowText(window), "Tintbox");
    EXPECT_EQ(WindowText(GetDlgItem(window, ID_COPY)), "Copy");
    EXPECT_EQ(WindowText(GetDlgItem(window, ID_EDITCOPY)), "#ffffff") << "a first run starts on white";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

// ---- The real main window in this process ----

TestFolder* g_folder;

class EnglishWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterHostedWindowClasses(); }
    void SetUp() override
    {
        g_folder = new TestFolder;
        g_programDir = g_folder->path();
        OpenHostedWindow();
    }
    void TearDown() override
    {
        CloseHostedWindow();
        delete g_folder;
        g_folder = nullptr;
    }
};

TEST_F(EnglishWindow, MenuBarHasEveryCommandInPlainEnglish)
{
    const MenuItems english = Walk(GetMenu(g_mainWindow));
    const struct {
        size_t at;
        const char* text;
    } expected[] = {
        {0, "&File"}, {1, "&Open Palette...\tCtrl+O"}, {4, "E&xit\tCtrl+Q"}, {5, "&Settings"},
        {11, "&CSS RGB\tex: rgb(255 255 255)"}, {12, "CSS H&SL\tex: hsl(0 0% 100%)"}, {16, "Hot&key..."},
        {17, "&Image"}, {18, "Pick from &Screen\tF5"}, {26, "&Help"}, {29, "&About Tintbox..."},
    };
    ASSERT_EQ(english.texts.size(), 30u) << "four pop-ups and 26 items";
    for (const auto& e : expected)
        EXPECT_EQ(english.texts[e.at], e.text);
    for (const std::string& text : english.texts)
        EXPECT_EQ(NonAscii(text), "") << "\"" << text << "\"";

    // The same commands in the same places as the Japanese menu bar.
    HRSRC japanese = FindResourceExA(g_instance, RT_MENU, MAKEINTRESOURCEA(IDM_MAINMENU), kJapanese);
    ASSERT_NE(japanese, nullptr);
    HMENU reference = LoadMenuIndirectA(static_cast<const MENUTEMPLATEA*>(LockResource(LoadResource(g_instance, japanese))));
    EXPECT_EQ(Walk(reference).ids, english.ids);
    DestroyMenu(reference);

    // The one accelerator table serves both languages.
    HACCEL keys = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDA_ACCELERATORS));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(keys, nullptr, 0), 16);
    DestroyAcceleratorTable(keys);
}

// Every text of the string table, in English.
TEST_F(EnglishWindow, EveryStringHasAPlainEnglishText)
{
    const UINT all[] = {IDS_APP_TITLE,   IDS_VERSION,       IDS_HELP_FILE,     IDS_COPY_BUTTON,  IDS_CAPTURE_BUTTON,
                        IDS_COLOR_LABEL, IDS_RED_LABEL,     IDS_GREEN_LABEL,   IDS_BLUE_LABEL,   IDS_SCALE_0,
                        IDS_SCALE_359,   IDS_SCALE_100,     IDS_HUESAT_LABEL,  IDS_VALUE_LABEL,  IDS_PALETTE_LABEL,
                        IDS_R_LABEL,     IDS_G_LABEL,       IDS_B_LABEL,       IDS_H_LABEL,      IDS_S_LABEL,
                        IDS_V_LABEL,     IDS_CAPTURE_HINT,  IDS_KEYS_HINT,  IDS_PALETTE_FILTER, IDS_OPEN_PALETTE, IDS_SAVE_PALETTE,
                        IDS_RESET_PALETTE, IDS_REPLACE_PALETTE, IDS_FORMAT_FILTERS, IDS_ALL_PALETTES_FILTER,
                        IDS_PALETTE_UNCHANGED, IDS_COLORS_LEFT_OUT, IDS_FIRST_DROPPED, IDS_FILE_NOT_THIS_FORMAT,
                        IDS_FILE_TRUNCATED, IDS_FILE_TOO_LARGE, IDS_FILE_OUT_OF_RANGE, IDS_FILE_MALFORMED,
                        IDS_FILE_UNSUPPORTED, IDS_FILE_NO_COLORS, IDS_CONTRAST_REFERENCE, IDS_CONTRAST_NORMAL,
                        IDS_CONTRAST_LARGE, IDS_CONTRAST_WHITE_BLACK, IDS_CONTRAST_PASS, IDS_CONTRAST_FAIL,
                        IDS_SWATCH_TIP, IDS_HOTKEY_NONE, IDS_HOTKEY_TAKEN, IDS_HOTKEY_BARE, IDS_CANNOT_READ,
                        IDS_CANNOT_WRITE, IDS_CONFIRM_REPLACE, IDS_CANNOT_START};
    for (UINT id : all) {
        const std::string text = UiText(id);
        EXPECT_FALSE(text.empty()) << "string " << id;
        EXPECT_EQ(NonAscii(text), "") << "string " << id << " \"" << text << "\"";
        EXPECT_NE(FindResourceExA(g_instance, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), kEnglish), nullptr)
            << "string " << id << " comes from the English table";
    }
    const struct {
        UINT id;
        const char* text;
    } expected[] = {
        {IDS_COPY_BUTTON, "Copy"}, {IDS_COLOR_LABEL, "Color:"}, {IDS_R_LABEL, "R:"},
        {IDS_HELP_FILE, "help_en.html"}, {IDS_CAPTURE_HINT, "Esc or right click: cancel"},
        {IDS_CANNOT_WRITE, "Cannot write \"%1\".\n\n%2"},
        {IDS_KEYS_HINT, "Arrow keys move, Enter picks"},
        {IDS_CONTRAST_PASS, "pass"}, {IDS_SWATCH_TIP, "%s  No. %s"},
    };
    for (const auto& e : expected)
        EXPECT_STREQ(UiText(e.id), e.text);
    EXPECT_EQ(std::string(UiText(IDS_PALETTE_FILTER), 28), std::string("Palette Files (*.tbp)\0*.tbp\0", 28));
    EXPECT_EQ(std::string(UiText(IDS_FORMAT_FILTERS), 27), std::string("GIMP Palette (*.gpl)\0*.gpl\0", 27));
    for (const std::string& text : ChildTexts(g_mainWindow))
        EXPECT_EQ(NonAscii(text), "") << "\"" << text << "\"";
    EXPECT_EQ(WindowText(GetDlgItem(g_mainWindow, ID_CAPTURE)), "Screen Color");
}

// The face asked for is the message boxes' (the system may draw it with a
// face it substitutes), at the 12-pixel cell of the Japanese interface.
TEST_F(EnglishWindow, UiFontIsTheMessageFontAtTwelvePixels)
{
    char face[LF_FACESIZE];
    MessageFontFace(face);
    ASSERT_NE(face[0], '\0');
    EXPECT_EQ(NonAscii(face), "");
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(g_window.uiFont, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, face);
    EXPECT_EQ(font.lfHeight, Geo().uiFontHeight) << "positive: the cell height";
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(g_mainWindow, ID_COPY), WM_GETFONT, 0, 0)),
              g_window.uiFont);
}

// ---- Modal windows, looked at from a timer while the program waits in them ----

struct Seen {
    std::string caption;
    std::vector<std::string> texts;
    UINT answer;  // the button pressed to close it
    bool found = false;
};
Seen g_seen;

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM found)
{
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookAtTheDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialogOfThread, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_seen.found = true;
    g_seen.caption = WindowText(dialog);
    g_seen.texts = ChildTexts(dialog);
    PostMessageA(dialog, WM_COMMAND, g_seen.answer, 0);
}

// Runs a command that opens a modal window and returns what that window showed.
Seen SeeModal(int command, UINT answer)
{
    g_seen = Seen{};
    g_seen.answer = answer;
    SetTimer(nullptr, 0, 50, LookAtTheDialog);
    SendMessageA(g_mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
    return g_seen;
}

TEST_F(EnglishWindow, VersionDialogAndConfirmationAreEnglish)
{
    const struct {
        int command;
        UINT answer;
        const char* caption;
        const char* shows;
    } cases[] = {
        {ID_ABOUT, IDOK, "About Tintbox", "Tintbox Ver.1.12"},
        {ID_PALETTEINIT, IDNO, "Reset Palette", "The current palette will be replaced. Continue?"},
        {ID_OPENPALETTE, IDNO, "Open Palette", "The current palette will be replaced. Continue?"},
        {ID_HOTKEYDIALOG, IDCANCEL, "Hotkey", "&No hotkey"},
    };
    Palette[3] = 0x00010203;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const Seen seen = SeeModal(c.command, c.answer);
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, c.caption);
        bool shown = false;
        for (const std::string& text : seen.texts) {
            EXPECT_EQ(NonAscii(text), "") << "\"" << text << "\"";
            shown = shown || text == c.shows;
        }
        EXPECT_TRUE(shown) << c.shows;
    }
    EXPECT_EQ(Palette[3], 0x00010203u) << "answering no changed nothing";
}

// A first run is white on white over a black palette: both tips in English.
TEST_F(EnglishWindow, TipsAreEnglish)
{
    EXPECT_EQ(TipText(kSwatchTool), L"Contrast with the reference color: 1.00:1\r\nNormal text: AA fail, AAA fail\r\n"
                                    L"Large text: AA fail, AAA fail\r\nAgainst white 1.00:1, against black 21.00:1");
    EXPECT_EQ(TipText(kFirstCellTool + 127), L"#000000  No. 128");
}

// The hints fit in the panel and are drawn there, in the shadow color.
TEST_F(EnglishWindow, CaptureHintsAreEnglishAndFitThePanel)
{
    const Geometry& g = Geo();
    ASSERT_TRUE(PrepareCaptureSurfaces(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), g.panel));
    DrawMagnifier(100, 100);
    HDC dc = g_window.surfaces.magnifier.dc;
    const struct {
        UINT id;
        POINT at;
    } hints[] = {{IDS_CAPTURE_HINT, g.hint}, {IDS_KEYS_HINT, g.keysHint}};
    for (const auto& h : hints) {
        const char* hint = UiText(h.id);
        SCOPED_TRACE(hint);
        HGDIOBJ previous = SelectObject(dc, g_window.uiFont);
        SIZE size = {};
        GetTextExtentPoint32A(dc, hint, lstrlenA(hint), &size);
        SelectObject(dc, previous);
        EXPECT_LT(h.at.x + size.cx, g.panel.cx - 1) << "inside the panel's raised edge";
        const COLORREF ink = GetSysColor(COLOR_BTNSHADOW);
        int inked = 0;
        for (LONG y = h.at.y; y < h.at.y + size.cy; ++y)
            for (LONG x = h.at.x; x < h.at.x + size.cx; ++x)
                inked += GetPixel(dc, x, y) == ink ? 1 : 0;
        EXPECT_GT(inked, lstrlenA(hint)) << "the hint is drawn where it belongs";
    }
    DestroyCaptureSurfaces();
}

// Before an edit is written its text is compared byte for byte: on this code
// page a linguistic comparison counts a soft hyphen (0xAD) for nothing.
TEST_F(EnglishWindow, AnEditShowingALookAlikeOfItsNewTextIsWritten)
{
    const struct {
        int edit;
        const char* shown;
        COLORREF color;
        const char* written;
    } cases[] = {{ID_R10, "1\xAD" "2", RGB(12, 0, 0), "12"}, {ID_V, "\xAD" "50", RGB(128, 128, 0), "50"}};
    for (const auto& c : cases) {
        SetWindowTextA(GetDlgItem(g_mainWindow, c.edit), c.shown);
        TakeColor(g_mainWindow, c.color);
        EXPECT_EQ(WindowText(GetDlgItem(g_mainWindow, c.edit)), c.written) << c.shown;
    }
}

}  // namespace

// The built program used from outside, as a user uses it: started in a folder
// of its own, keys typed through the input queue, clicks and drags posted to
// its window with their key-state flags, menu commands sent as the menu sends
// them, its dialogs found on screen and answered, what it shows read back from
// its controls and from the screen, and the files it leaves read after it ends.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/app_driver.h"
#include "tests/test_folder.h"

#include "color/palette.h"
#include "tests/find_control.h"
#include "view/geometry.h"

// Points of the window named by what they lie in: pixel (dx, dy) of a
// rectangle of the geometry table, and of a palette cell (its first pixel 0, 0).
inline POINT At(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy}; }
inline POINT InCell(int cell, int dx, int dy)
{
    const Geometry& g = Geo();
    return {g.palette.left + g.paletteFirstCell.x + g.paletteCellPitch * (cell % kPaletteColumns) + dx,
            g.palette.top + g.paletteFirstCell.y + g.paletteCellPitch * (cell / kPaletteColumns) + dy};
}

namespace e2e {

// Control and command IDs of the program, as its menus and controls carry them.
enum : int {
    kExit = 40001,
    kR10 = 40003, kG10, kB10, kR16, kG16, kB16, kH, kS, kV,
    kHsvMode = 40012,
    kRgbMode = 40013,
    kEditCopy = 40016,
    kCopy = 40017,
    kHtmlFormat = 40018,
    kRgbFormat = 40020,
    kDwordFormat = 40021,
    kPaletteInit = 40022,
    kLighter = 40023,
    kDarker = 40024,
    kGrayscale = 40026,
    kWebSite = 40027,
    kAbout = 40028,
    kHelp = 40029,
    kOpenPalette = 40030,
    kSavePalette = 40031,
    kInvert = 40032,
    kUpperCase = 40033,
    kLowerCase = 40034,
    kCapture = 40035,
    kColorDialog = 40036,
    kWebSafe = 40044,
    kSharp = 40048,
};

// The nine color edits in Tab order.
extern const int kColorEdits[9];

// Window captions in code page 932.
extern const char kInitialiseCaption[];  // ﾊﾟﾚｯﾄ初期化
extern const char kOpenCaption[];        // ﾊﾟﾚｯﾄを開く
extern const char kSaveCaption[];        // ﾊﾟﾚｯﾄを保存
extern const char kAboutCaption[];       // ﾊﾞｰｼﾞｮﾝ情報
extern const char kReplaceQuestion[];    // 現在のﾊﾟﾚｯﾄは削除されます。続行してもよろしいですか？

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
struct Hsv {
    int h, s, v;
};

// The integer conversions the program is built on, written out here on their
// own so that the expected numbers do not come from the program's code.
Hsv ToHsv(Rgb c);
Rgb ToRgb(Hsv c);
// The nine edit texts (lower-case hex) of a color and its hue, saturation and value.
std::vector<std::string> EditTexts(Rgb c, Hsv hsv);
std::vector<std::string> EditTexts(Rgb c);

// What the program folder holds before the program starts.
struct StartFiles {
    std::string settings;       // tbox.ini; empty: none
    std::string palette;        // palette.ini; empty: none
    bool factoryPalette = false;  // palini.dll of the build
    bool helpPage = false;        // help.html of the build
};

// A palette file whose every entry differs from the others and from black.
std::string NumberedPalette(int seed);
// Entry `index` of a palette file's bytes as a color.
Rgb PaletteEntry(const std::string& bytes, int index);
// A settings file with only the color.
std::string ColorSettings(Rgb c);

class Session {
public:
    explicit Session(const StartFiles& setup = StartFiles());
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Whether the program started and showed its main window.
    bool Ready() const { return main_ != nullptr; }
    HWND main() const { return main_; }
    DWORD thread() const { return thread_; }
    const TestFolder& folder() const { return *folder_; }
    std::string file(const std::string& name) const { return folder_->file(name); }

    // Waits until the program has handled everything sent so far and has been idle.
    void Sync();
    // Whether the program still answers.
    bool Alive();

    // ---- Reading what it shows ----
    std::string Text(int id);
    std::vector<std::string> Edits();
    std::string CopyText() { return Text(kEditCopy); }
    // A pixel of the client area, read from the screen.
    COLORREF Pixel(int x, int y);
    Rgb SwatchCurrent();    // upper half of the big swatch
    Rgb SwatchReference();  // lower half
    Rgb PaletteCell(int cell);
    // The control with the keyboard focus, or null.
    HWND Focus();
    HWND Control(int id) { return GetDlgItem(main_, id); }

    // ---- Keyboard ----
    // Brings the window to the front, then holds the keys in order and lets them go in reverse.
    void Keys(const std::vector<WORD>& keys);
    // Digits and letters with their keys (capitals with Shift), each handled before the next.
    void Type(const std::string& text);

    // ---- Mouse, posted to the main window with the buttons' key-state flags ----
    void Mouse(UINT message, int x, int y, WPARAM flags);
    void Click(int x, int y);
    void RightClick(int x, int y);
    // Left button down at `from`, moves through `steps` points to `to`; the
    // button is released only if `release`.
    void Drag(POINT from, POINT to, int steps, bool release = true);
    void ReleaseLeft(int x, int y);

    // ---- Commands as the menu sends them ----
    void Command(int id);

    // ---- Dialogs ----
    // A visible dialog box (class "#32770") of the program with the caption
    // (any, when empty), waited for up to `ms`.
    HWND WaitForDialog(const std::string& caption, DWORD ms = 10000);
    // Waits until the window is gone or hidden.
    bool WaitGone(HWND window, DWORD ms = 10000);
    // A visible top-level window of the program's class `cls`.
    HWND FindTopLevel(const char* cls);

    // ---- Ending ----
    // Closes the window with WM_CLOSE (unless already asked some other way) and
    // returns the exit code.
    long Close();
    long WaitForExit(DWORD ms = 15000) { return app_->WaitForExit(ms); }

private:
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<RunningApp> app_;
    HWND main_ = nullptr;
    DWORD thread_ = 0;
    int marker_ = 0;
    DWORD lastSync_ = 0;
};

// FindControl (tests/find_control.h) finds a child control of a window of
// another process, by class and ID.
using ::FindControl;
// Presses a dialog's button as a click does.
void PressButton(HWND dialog, int id);
// The text of a control of another process (WM_GETTEXT, sent with a timeout).
std::string ControlText(HWND control);
// The caption of a top-level window, without sending it a message.
std::string Caption(HWND window);

// An integer key of a settings file, as the platform reads it; -1 when missing.
int IniInt(const std::string& ini, const char* section, const char* key);
std::string IniString(const std::string& ini, const char* section, const char* key);

// Holds the keys in order and lets them go in reverse, through the input
// queue, to whichever window has the focus.
void PressKeys(const std::vector<WORD>& keys);

// Prints one line for the scenario to the test output.
void Report(const std::string& line);

}  // namespace e2e

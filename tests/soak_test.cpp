// A long run of the real program under random user input: tens of thousands of
// clicks and drags on the pickers and the palette, keystrokes into the color
// edits and display commands, posted to its windows from outside as the
// platform delivers them. Seeded and repeatable: TINTBOX_SOAK_SEED picks the
// run (0 for a new one), TINTBOX_SOAK_ACTIONS its length. All along, the program must stay
// alive and answer, and show exactly what a model of those inputs says; at the
// end its window must still draw the color, the pickers and the palette, and
// closing must save the settings and the palette the inputs left.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "color/color.h"
#include "color/color_text.h"
#include "color/edit_number.h"
#include "store/palette_data.h"
#include "tests/app_driver.h"
#include "tests/soak_model.h"
#include "tests/test_folder.h"
#include "view/geometry.h"
#include "view/surfaces.h"

namespace {

constexpr int kEditIds[kModelEditCount] = {40003, 40004, 40005, 40006, 40007, 40008, 40009, 40010, 40011};
constexpr int kEditCopyId = 40016;
const int kClientWidth = Geo().client.cx;
const int kClientHeight = Geo().client.cy;

constexpr int kCheckEvery = 250;        // actions between two full checks
constexpr UINT kAnswerTimeout = 20000;  // milliseconds the program may take to answer a message

// What is typed into the edits besides digits and hex letters. No '+': how a
// number with a leading plus sign reads differs between platforms (Wine reads
// "+5" as 5), so the model could not say what the program takes from it.
const char kDigits[] = "0123456789";
const char kHexLetters[] = "abcdefABCDEF";
const char kOtherCharacters[] = " .-gxzkG#%W";

// ---- Random numbers: SplitMix64, the same sequence for the same seed ----

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    // low .. high
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int chance) { return Below(100) < chance; }
    char From(const std::string& set) { return set[static_cast<size_t>(Below(static_cast<int>(set.size())))]; }

private:
    uint64_t state_;
};

uint64_t EnvironmentNumber(const char* name, uint64_t fallback)
{
    char text[64] = {};
    const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    if (length == 0 || length >= sizeof text)
        return fallback;
    return std::strtoull(text, nullptr, 10);
}

LPARAM PointParam(int x, int y)
{
    return static_cast<LPARAM>(((static_cast<DWORD>(y) & 0xFFFFu) << 16) | (static_cast<DWORD>(x) & 0xFFFFu));
}

// A key message's lParam: one repeat, the key's scan code, and for a release
// the previous-state and transition bits.
LPARAM KeyParam(UINT virtualKey, bool release)
{
    DWORD bits = 1u | ((MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) & 0xFFu) << 16);
    if (release)
        bits |= 0xC0000000u;
    return static_cast<LPARAM>(bits);
}

COLORREF RefOf(const Rgb& c)
{
    return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

std::string Describe(COLORREF c)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%u, %u, %u)", static_cast<unsigned>(GetRValue(c)),
                  static_cast<unsigned>(GetGValue(c)), static_cast<unsigned>(GetBValue(c)));
    return text;
}

// ---- Which characters a color edit takes in full ----

// A color edit takes no more characters than its width shows, so only
// characters of which the edit holds its whole limit are typed: the model then
// knows every text. Measured on an edit like the program's (size, frame, UI
// font, limit), made here.
struct TypableCharacters {
    std::string forThree;  // R10, G10, B10, H, S, V
    std::string forTwo;    // R16, G16, B16
};

TypableCharacters MeasureTypableCharacters(const std::string& candidates)
{
    TypableCharacters result;
    HFONT font = CreateUiFont();
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    const RECT r = Geo().controls[0];  // R10
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, r.left, r.top, Width(r), Height(r), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), nullptr, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (int limit : {3, 2}) {
        SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
        for (char c : candidates) {
            SetWindowTextA(edit, "");
            for (int i = 0; i < limit; ++i)
                SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
            char text[16] = {};
            GetWindowTextA(edit, text, sizeof text);
            if (std::string(text) == std::string(static_cast<size_t>(limit), c))
                (limit == 3 ? result.forThree : result.forTwo) += c;
        }
    }
    DestroyWindow(parent);
    DeleteObject(font);
    return result;
}

std::string OnlyThose(const std::string& set, const std::string& allowed)
{
    std::string kept;
    for (char c : set)
        if (allowed.find(c) != std::string::npos)
            kept += c;
    return kept;
}

// ---- The soak itself ----

struct Figures {
    long actions = 0;
    long clicks = 0, drags = 0, rightClicks = 0, rightDrags = 0, keystrokes = 0, commands = 0, focusSteps = 0;
    long moves = 0;
    long posted = 0;
    long checks = 0, pixelChecks = 0;
    DWORD gdiStart = 0, userStart = 0, gdiEnd = 0, userEnd = 0, gdiPeak = 0, userPeak = 0;
};

class Soak {
public:
    Soak(HWND window, DWORD processId, uint64_t seed, const TypableCharacters& typable)
        : main_(window), random_(seed)
    {
        for (int i = 0; i < kModelEditCount; ++i)
            edits_[i] = GetDlgItem(window, kEditIds[i]);
        editCopy_ = GetDlgItem(window, kEditCopyId);
        thread_ = GetWindowThreadProcessId(window, nullptr);
        process_ = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId);
        digits3_ = OnlyThose(kDigits, typable.forThree);
        hex3_ = OnlyThose(kHexLetters, typable.forThree);
        other3_ = OnlyThose(kOtherCharacters, typable.forThree);
        digits2_ = OnlyThose(kDigits, typable.forTwo);
        hex2_ = OnlyThose(kHexLetters, typable.forTwo);
        other2_ = OnlyThose(kOtherCharacters, typable.forTwo);
    }
    ~Soak()
    {
        if (process_)
            CloseHandle(process_);
    }
    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    ProgramModel& model() { return model_; }
    Figures& figures() { return figures_; }
    bool HandlesFound() const
    {
        for (HWND edit : edits_)
            if (!edit)
                return false;
        return editCopy_ && process_;
    }

    // Sends the actions, checking everything every kCheckEvery of them (and
    // now and then in the middle of a drag); false, with the failure reported,
    // at the first disagreement. After `moveAt` actions the window is moved.
    bool Run(long actions, int moveAt)
    {
        if (!Check())
            return false;
        figures_.gdiStart = figures_.gdiPeak = GuiObjects(GR_GDIOBJECTS);
        figures_.userStart = figures_.userPeak = GuiObjects(GR_USEROBJECTS);
        long nextCheck = kCheckEvery;
        bool moved = false;
        while (figures_.actions < actions) {
            line_ = "#" + std::to_string(figures_.actions) + " ";
            OneGesture();
            Remember(line_);
            if (failed_)
                return false;
            if (!Answers())
                return Fail("the program stopped answering");
            if (!moved && figures_.actions >= moveAt) {
                moved = true;
                if (!MoveWindowElsewhere())
                    return false;
            }
            if (figures_.actions >= nextCheck) {
                nextCheck += kCheckEvery;
                if (!Check())
                    return false;
            }
        }
        if (!Check())
            return false;
        figures_.gdiEnd = GuiObjects(GR_GDIOBJECTS);
        figures_.userEnd = GuiObjects(GR_USEROBJECTS);
        return true;
    }

    bool Alive() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

private:
    // ---- Posting input ----

    void Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
    {
        // A key the loop translates into a character queues that character
        // behind whatever was posted meanwhile: let it land first.
        if (translating_)
            Drain();
        PostRaw(target, message, wParam, lParam);
    }

    void PostRaw(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
    {
        PostMessageA(target, message, wParam, lParam);
        ++figures_.posted;
    }

    void Point(const char* what, int x, int y)
    {
        char text[48];
        std::snprintf(text, sizeof text, "%s(%d,%d) ", what, x, y);
        line_ += text;
    }

    void LeftDown(int x, int y)
    {
        Post(main_, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
        model_.LeftButtonDown(x & 0xFFFF, y & 0xFFFF);
        Point("Ldown", x, y);
    }

    void Move(int x, int y, unsigned keys)
    {
        Post(main_, WM_MOUSEMOVE, keys, PointParam(x, y));
        model_.MouseMove(x & 0xFFFF, y & 0xFFFF, keys);
        ++figures_.moves;
        Point(keys == MK_LBUTTON ? "" : (keys == MK_RBUTTON ? "R" : "LR"), x, y);
    }

    void LeftUp(int x, int y)
    {
        Post(main_, WM_LBUTTONUP, 0, PointParam(x, y));
        model_.LeftButtonUp();
        line_ += "Lup ";
    }

    void RightDown(int x, int y, WPARAM keys = MK_RBUTTON)
    {
        Post(main_, WM_RBUTTONDOWN, keys, PointParam(x, y));
        model_.RightButtonDown(x & 0xFFFF, y & 0xFFFF);
        Point("Rdown", x, y);
    }

    // Handed to the default procedure, which asks for a context menu: none
    // over the client area, where every release is sent.
    void RightUp(int x, int y, WPARAM keys = 0)
    {
        Post(main_, WM_RBUTTONUP, keys, PointParam(x, y));
        model_.OtherMessage();
        line_ += "Rup ";
    }

    void Command(int id)
    {
        Post(main_, WM_COMMAND, static_cast<WPARAM>(id), 0);
        model_.Command(id);
        line_ += "cmd" + std::to_string(id) + " ";
    }

    HWND FocusedEdit() const { return edits_[model_.FocusedEdit()]; }

    // A key pressed and released over the focused edit. Keys that make a
    // character reach the edit as that character, translated by the loop.
    void Key(UINT virtualKey, bool makesCharacter)
    {
        HWND edit = FocusedEdit();
        Post(edit, WM_KEYDOWN, virtualKey, KeyParam(virtualKey, false));
        PostRaw(edit, WM_KEYUP, virtualKey, KeyParam(virtualKey, true));
        translating_ = translating_ || makesCharacter;
    }

    void Character(char c)
    {
        Post(FocusedEdit(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)),
             KeyParam(static_cast<UINT>(VkKeyScanA(c) & 0xFF), false));
        model_.Character(c);
        line_ += "'";
        line_ += c;
        line_ += "' ";
    }

    // ---- The gestures ----

    void OneGesture()
    {
        const int choice = random_.Below(100);
        if (choice < 28)
            PickerDrag();
        else if (choice < 36)
            PaletteLeft();
        else if (choice < 46)
            PaletteRight();
        else if (choice < 51)
            ClickAnywhere();
        else if (choice < 87)
            TypingBurst();
        else
            SettingCommand();
    }

    // A point of the pickers of either display mode, a little beyond them at times.
    void PickerPoint(int& x, int& y)
    {
        const Geometry& g = Geo();
        if (model_.Settings().mode == 1 && random_.Percent(80)) {
            x = random_.Between(g.redBar.left - 11, g.redBar.right + 9);
            const RECT* bars[3] = {&g.redBar, &g.greenBar, &g.blueBar};
            const RECT& bar = *bars[random_.Below(3)];
            y = random_.Between(bar.top - 5, bar.top + 29);
        } else {
            x = random_.Between(g.hueSat.left - 10, g.valueBar.right + 15);
            y = random_.Between(g.hueSat.top - 9, g.hueSat.bottom + 15);
        }
    }

    void Wander(int& x, int& y, int stepX, int stepY)
    {
        if (random_.Percent(8)) {
            x = random_.Between(-20, kClientWidth + 20);
            y = random_.Between(-20, kClientHeight + 20);
        } else {
            x += random_.Between(-stepX, stepX);
            y += random_.Between(-stepY, stepY);
        }
    }

    // A left click or drag on the pickers; now and then the right button joins in.
    void PickerDrag()
    {
        int x, y;
        PickerPoint(x, y);
        line_ += "pickers ";
        LeftDown(x, y);
        int moves = 0;
        if (!random_.Percent(25))
            moves = random_.Percent(10) ? random_.Between(10, 40) : random_.Between(1, 9);
        for (int i = 0; i < moves && !failed_; ++i) {
            Wander(x, y, 24, 12);
            Move(x, y, MK_LBUTTON);
            if (random_.Percent(1)) {
                // The button still held: with nothing more to handle the texts
                // catch up on their own, and another message brings them too.
                Remember(line_ + "(waiting)");
                failed_ = !TextsCatchUpWhileIdle() || !Check();
            }
            if (random_.Percent(4)) {
                // The right button joins in over the palette: the color being
                // dragged is stored, by the press and by the moves.
                PalettePoint(x, y);
                if (random_.Percent(50)) {
                    RightDown(x, y, MK_LBUTTON | MK_RBUTTON);
                    Move(x, y, MK_LBUTTON | MK_RBUTTON);
                    RightUp(x, y, MK_LBUTTON);
                } else {
                    Move(x, y, MK_LBUTTON | MK_RBUTTON);
                    Wander(x, y, 20, 14);
                    Move(x, y, MK_LBUTTON | MK_RBUTTON);
                }
            }
        }
        LeftUp(x, y);
        ++figures_.actions;
        ++(moves == 0 ? figures_.clicks : figures_.drags);
    }

    void PalettePoint(int& x, int& y)
    {
        const RECT& palette = Geo().palette;
        x = random_.Between(palette.left - 5, palette.right + 4);
        y = random_.Between(palette.top - 5, palette.bottom + 5);
    }

    // A left click or drag over the palette: picks.
    void PaletteLeft()
    {
        int x, y;
        PalettePoint(x, y);
        line_ += "palette ";
        LeftDown(x, y);
        const int moves = random_.Percent(50) ? 0 : random_.Between(1, 6);
        for (int i = 0; i < moves; ++i) {
            Wander(x, y, 20, 14);
            Move(x, y, MK_LBUTTON);
        }
        LeftUp(x, y);
        ++figures_.actions;
        ++(moves == 0 ? figures_.clicks : figures_.drags);
    }

    // A right click or drag over the palette (or, at times, elsewhere in the
    // client area): stores. Every point stays inside the client area, where the
    // release asks for no menu.
    void PaletteRight()
    {
        int x, y;
        if (random_.Percent(85)) {
            PalettePoint(x, y);
        } else {
            x = random_.Between(0, kClientWidth - 1);
            y = random_.Between(0, kClientHeight - 1);
        }
        line_ += "store ";
        RightDown(x, y);
        const int moves = random_.Percent(40) ? 0 : random_.Between(1, 10);
        for (int i = 0; i < moves; ++i) {
            x += random_.Between(-20, 20);
            y += random_.Between(-14, 14);
            x = x < 0 ? 0 : (x > kClientWidth - 1 ? kClientWidth - 1 : x);
            y = y < 0 ? 0 : (y > kClientHeight - 1 ? kClientHeight - 1 : y);
            Move(x, y, random_.Percent(5) ? MK_RBUTTON | MK_LBUTTON : MK_RBUTTON);
        }
        RightUp(x, y);
        ++figures_.actions;
        ++(moves == 0 ? figures_.rightClicks : figures_.rightDrags);
    }

    // A left click anywhere, outside the client area included.
    void ClickAnywhere()
    {
        int x = random_.Between(-12, kClientWidth + 12);
        int y = random_.Between(-12, kClientHeight + 12);
        line_ += "click ";
        if (random_.Percent(40)) {
            // The pointer passes over the window first, no button held.
            for (int i = random_.Between(1, 6); i > 0; --i) {
                Move(x, y, 0);
                Wander(x, y, 30, 20);
            }
        }
        LeftDown(x, y);
        LeftUp(x, y);
        ++figures_.actions;
        ++figures_.clicks;
    }

    // Into an edit: reach it (Tab, Shift+Tab, the Tab key, a click into it,
    // Home or End), then type one to five keys.
    void TypingBurst()
    {
        line_ += "type ";
        const int how = random_.Below(100);
        if (how < 25) {
            Command(40014);
        } else if (how < 40) {
            Command(40015);
        } else if (how < 50) {
            Key(VK_TAB, false);
            model_.Command(40014);
            line_ += "Tab ";
        } else if (how < 75) {
            const int index = random_.Below(kModelEditCount);
            const bool right = random_.Percent(50);
            RECT client;
            GetClientRect(edits_[index], &client);
            const int x = right ? client.right - 2 : 1;
            const int y = client.bottom / 2;
            Post(edits_[index], WM_LBUTTONDOWN, MK_LBUTTON, PointParam(x, y));
            PostRaw(edits_[index], WM_LBUTTONUP, 0, PointParam(x, y));
            model_.ClickIntoEdit(index, right);
            line_ += "clickedit" + std::to_string(index) + (right ? "R " : "L ");
        } else if (how < 88) {
            Key(VK_HOME, false);
            model_.Home();
            model_.OtherMessage();
            line_ += "Home ";
        } else {
            Key(VK_END, false);
            model_.End();
            model_.OtherMessage();
            line_ += "End ";
        }
        ++figures_.actions;
        ++figures_.focusSteps;

        const int keys = random_.Between(1, 5);
        for (int i = 0; i < keys; ++i) {
            TypeOneKey();
            ++figures_.actions;
            ++figures_.keystrokes;
        }
    }

    // One key into the focused edit: a digit (pressed, or as a character), a
    // hex letter, another character, Backspace, Delete, Home or End. A full
    // edit with nothing selected is not typed into (the platforms differ on
    // whether a refused character notifies); Backspace goes there instead.
    void TypeOneKey()
    {
        const EditModel& edit = model_.Edit(model_.FocusedEdit());
        const bool hexEdit = edit.limit == 2;
        const bool full = edit.Length() >= edit.limit && edit.anchor == edit.caret;
        const std::string& digits = hexEdit ? digits2_ : digits3_;
        const std::string& letters = hexEdit ? hex2_ : hex3_;
        const std::string& others = hexEdit ? other2_ : other3_;
        int kind = random_.Below(100);
        const bool printable = kind < 70 || kind >= 92;
        if (full && printable)
            kind = 70;
        if (kind < 55) {
            const char digit = random_.From(digits);
            if (random_.Percent(60)) {
                Key(static_cast<UINT>(digit), true);
                model_.Character(digit);
                model_.OtherMessage();
                line_ += "k";
                line_ += digit;
                line_ += " ";
            } else {
                Character(digit);
            }
        } else if (kind < 70) {
            Character(random_.From(letters));
        } else if (kind < 82) {
            Key(VK_BACK, true);
            model_.Backspace();
            model_.OtherMessage();
            line_ += "BS ";
        } else if (kind < 87) {
            Key(VK_DELETE, true);
            model_.Delete();
            model_.OtherMessage();
            line_ += "Del ";
        } else if (kind < 92) {
            const bool home = random_.Percent(50);
            Key(home ? VK_HOME : VK_END, false);
            home ? model_.Home() : model_.End();
            model_.OtherMessage();
            line_ += home ? "Home " : "End ";
        } else {
            Character(random_.From(others.empty() ? digits : others));
        }
    }

    void SettingCommand()
    {
        static const int kCommands[] = {40012, 40013, 40012, 40013, 40018, 40020, 40021, 40033, 40034, 40048, 40048,
                                        40014, 40015};
        Command(kCommands[random_.Below(static_cast<int>(sizeof kCommands / sizeof kCommands[0]))]);
        ++figures_.actions;
        ++figures_.commands;
    }

    // ---- Waiting for the program ----

    // A round trip through the program's loop: it still answers.
    bool Answers()
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result) != 0;
    }

    // Posts a marker behind everything queued (a new character limit for
    // EDITCOPY, which only the user's typing would obey and nobody types into
    // it) and waits until the program has set it. The loop brings the texts up
    // to date before each message that is not a mouse move, so then they show
    // what everything before the marker left.
    bool Mark()
    {
        ++marker_;
        const WPARAM limit = static_cast<WPARAM>(100000 + marker_);
        PostRaw(editCopy_, EM_SETLIMITTEXT, limit, 0);
        model_.OtherMessage();
        for (int i = 0; i < 1000000; ++i) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(editCopy_, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result))
                return false;
            if (result == limit)
                return true;
        }
        return false;
    }

    bool Drain()
    {
        if (!Mark())
            return false;
        if (translating_) {
            translating_ = false;
            return Mark();
        }
        return true;
    }

    // ---- Reading and checking ----

    std::string Text(HWND window)
    {
        char text[64] = {};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                            kAnswerTimeout, &result);
        return text;
    }

    DWORD GuiObjects(DWORD which) const { return GetGuiResources(process_, which); }

    void Remember(const std::string& line)
    {
        recent_.push_back(line);
        if (recent_.size() > 40)
            recent_.pop_front();
    }

    bool Fail(const std::string& what)
    {
        std::string log;
        for (const std::string& line : recent_)
            log += "  " + line + "\n";
        ADD_FAILURE() << what << "\nafter " << figures_.actions << " actions; the last gestures:\n" << log;
        return false;
    }

    // Mid-drag, with nothing posted after the last move: the program has to
    // write the texts by itself once its queue is empty. Only sent messages
    // (the reads) reach it meanwhile.
    bool TextsCatchUpWhileIdle()
    {
        model_.OtherMessage();  // the texts as they must end up
        std::string last;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(1)) {
            last.clear();
            for (int i = 0; i < kModelEditCount; ++i)
                if (Text(edits_[i]) != model_.Edit(i).text)
                    last += "edit " + std::to_string(i) + " shows '" + Text(edits_[i]) + "', expected '" +
                            model_.Edit(i).text + "'\n";
            if (Text(editCopy_) != model_.CopyText())
                last += "EDITCOPY shows '" + Text(editCopy_) + "', expected '" + model_.CopyText() + "'\n";
            if (last.empty())
                return true;
        }
        return Fail("mid-drag, with no more input waiting, the texts did not catch up:\n" + last);
    }

    // The texts, the focus, the selections and the picture against the model,
    // and the texts against each other.
    bool Check()
    {
        ++figures_.checks;
        if (!Alive())
            return Fail("the program is gone");
        if (!Drain())
            return Fail("the program did not handle what was posted");
        std::string problems;

        std::string texts[kModelEditCount];
        for (int i = 0; i < kModelEditCount; ++i) {
            texts[i] = Text(edits_[i]);
            const EditModel& want = model_.Edit(i);
            if (texts[i] != want.text)
                problems += "edit " + std::to_string(i) + " shows '" + texts[i] + "', expected '" + want.text + "'\n";
            if (want.selectionKnown) {
                DWORD_PTR selection = 0;
                SendMessageTimeoutA(edits_[i], EM_GETSEL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &selection);
                const int low = static_cast<int>(selection & 0xFFFF);
                const int high = static_cast<int>((selection >> 16) & 0xFFFF);
                if (low != want.Low() || high != want.High())
                    problems += "edit " + std::to_string(i) + " selects " + std::to_string(low) + ".." +
                                std::to_string(high) + ", expected " + std::to_string(want.Low()) + ".." +
                                std::to_string(want.High()) + "\n";
            }
        }
        const std::string copy = Text(editCopy_);
        if (copy != model_.CopyText())
            problems += "EDITCOPY shows '" + copy + "', expected '" + model_.CopyText() + "'\n";

        GUITHREADINFO thread;
        std::memset(&thread, 0, sizeof thread);
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(thread_, &thread);
        if (thread.hwndFocus != FocusedEdit()) {
            int shown = -1;
            for (int i = 0; i < kModelEditCount; ++i)
                shown = edits_[i] == thread.hwndFocus ? i : shown;
            problems += "the focus is in edit " + std::to_string(shown) + ", expected edit " +
                        std::to_string(model_.FocusedEdit()) + "\n";
        }

        problems += TextsAgree(texts, copy);

        const DWORD gdi = GuiObjects(GR_GDIOBJECTS);
        const DWORD user = GuiObjects(GR_USEROBJECTS);
        figures_.gdiPeak = gdi > figures_.gdiPeak ? gdi : figures_.gdiPeak;
        figures_.userPeak = user > figures_.userPeak ? user : figures_.userPeak;

        if (problems.empty()) {
            ++figures_.pixelChecks;
            problems += PixelProblems();
        }
        if (!problems.empty())
            return Fail(problems);
        return true;
    }

    // What the texts say of each other, whatever the model says: each channel's
    // decimal and hex edits name the same value; hue, saturation and value are
    // those of red, green and blue, or (when set for themselves) give them;
    // EDITCOPY is the text of the color the edits show, in the format set.
    std::string TextsAgree(const std::string (&texts)[kModelEditCount], const std::string& copy)
    {
        std::string problems;
        const ColorState kept = g_current;
        ColorState shown;
        std::memset(&shown, 0, sizeof shown);
        int32_t* channels[3] = {&shown.red, &shown.green, &shown.blue};
        char(*hexes[3])[3] = {&shown.redHex, &shown.greenHex, &shown.blueHex};
        for (int c = 0; c < 3; ++c) {
            std::strncpy(*hexes[c], texts[3 + c].c_str(), 2);
            *channels[c] = ParseHex(*hexes[c]);
            const int32_t typed = ReadEditNumber(texts[c].c_str());
            const int32_t decimal = typed < 0 ? 0 : (typed > 255 ? 255 : typed);
            if (decimal != *channels[c])
                problems += "channel " + std::to_string(c) + ": decimal '" + texts[c] + "' and hex '" + texts[3 + c] +
                            "' disagree\n";
        }
        const int32_t highest[3] = {359, 100, 100};
        int32_t hsv[3];
        for (int i = 0; i < 3; ++i) {
            const int32_t typed = ReadEditNumber(texts[6 + i].c_str());
            hsv[i] = typed < 0 ? 0 : (typed > highest[i] ? highest[i] : typed);
        }
        if (model_.HsvSetDirectly()) {
            const Rgb rgb = HsvToRgbValues(hsv[0], hsv[1], hsv[2]);
            if (rgb.red != shown.red || rgb.green != shown.green || rgb.blue != shown.blue)
                problems += "red, green, blue are not those of the hue, saturation and value shown\n";
        } else {
            g_current = shown;
            RgbToHsv();
            if (std::to_string(g_current.hue) != texts[6] || std::to_string(g_current.saturation) != texts[7] ||
                std::to_string(g_current.value) != texts[8])
                problems += "H, S, V show " + texts[6] + ", " + texts[7] + ", " + texts[8] +
                            "; red, green, blue give " + std::to_string(g_current.hue) + ", " +
                            std::to_string(g_current.saturation) + ", " + std::to_string(g_current.value) + "\n";
        }
        g_current = shown;
        char expected[kCopyTextSize];
        FormatCopyText(expected, sizeof expected);
        g_current = kept;
        if (copy != expected)
            problems += "EDITCOPY shows '" + copy + "' for the edits' color, expected '" + std::string(expected) +
                        "'\n";
        return problems;
    }

    // The client area as the screen shows it, 0x00RRGGBB, row by row.
    bool CaptureClient(std::vector<uint32_t>& pixels)
    {
        POINT origin = {0, 0};
        ClientToScreen(main_, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kClientWidth;
        info.bmiHeader.biHeight = -kClientHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = bitmap != nullptr;
        if (ok) {
            HGDIOBJ previous = SelectObject(memory, bitmap);
            ok = BitBlt(memory, 0, 0, kClientWidth, kClientHeight, screen, origin.x, origin.y, SRCCOPY) != 0;
            GdiFlush();
            if (ok) {
                const uint32_t* first = static_cast<uint32_t*>(bits);
                pixels.assign(first, first + kClientWidth * kClientHeight);
            }
            SelectObject(memory, previous);
            DeleteObject(bitmap);
        }
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return ok;
    }

    struct Probe {
        int x, y;
        COLORREF want;
        std::string what;
    };

    // Points of the swatch, the pickers of the mode shown and every palette
    // cell, with the colors the model says they show.
    std::vector<Probe> Probes() const
    {
        std::vector<Probe> probes;
        const ColorState& current = model_.Current();
        const ColorState& reference = model_.Reference();
        const COLORREF now = RGB(current.red, current.green, current.blue);
        const COLORREF committed = RGB(reference.red, reference.green, reference.blue);
        // The swatch's upper half shows the current color, the lower half the reference color.
        const Geometry& g = Geo();
        const RECT& sw = g.swatch;
        const LONG mid = sw.top + Height(sw) / 2;
        const LONG across = (sw.left + sw.right) / 2;
        for (const POINT& p : {POINT{sw.left + 1, sw.top + 1}, POINT{across, (sw.top + mid) / 2}, POINT{sw.right - 2, mid - 1}})
            probes.push_back({p.x, p.y, now, "swatch, current color"});
        for (const POINT& p : {POINT{sw.left + 1, mid}, POINT{across, (mid + sw.bottom) / 2}, POINT{sw.right - 2, sw.bottom - 2}})
            probes.push_back({p.x, p.y, committed, "swatch, reference color"});
        const ModelSettings settings = model_.Settings();
        if (settings.mode == 0) {
            for (int sx : {1, 30, 61, 90, 121, 150, 178})
                for (int sy : {1, 33, 66, 98})
                    probes.push_back({g.hueSat.left + sx, g.hueSat.top + sy,
                                      RefOf(HsvToRgbValues(2 * sx, 100 - sy, current.value)),
                                      "hue/saturation field at (" + std::to_string(sx) + "," +
                                          std::to_string(sy) + ")"});
            for (int sx : {1, 9, 18})
                for (int sy : {1, 20, 40, 60, 80, 98})
                    probes.push_back({g.valueBar.left + sx, g.valueBar.top + sy,
                                      RefOf(HsvToRgbValues(current.hue, current.saturation, 100 - sy)),
                                      "value bar at (" + std::to_string(sx) + "," + std::to_string(sy) + ")"});
        } else if (settings.mode == 1) {
            const char* names[3] = {"red bar", "green bar", "blue bar"};
            const RECT* bars[3] = {&g.redBar, &g.greenBar, &g.blueBar};
            for (int bar = 0; bar < 3; ++bar)
                for (int sx : {64, 100, 128, 161, 200, 254})
                    for (int sy : {1, 7, 13}) {
                        Rgb c = {current.red, current.green, current.blue};
                        (bar == 0 ? c.red : (bar == 1 ? c.green : c.blue)) = sx;
                        probes.push_back({bars[bar]->left + sx, bars[bar]->top + sy, RefOf(c),
                                          std::string(names[bar]) + " column " + std::to_string(sx)});
                    }
        }
        for (int cell = 0; cell < kModelPaletteCells; ++cell) {
            const uint32_t entry = model_.PaletteCell(cell);
            const COLORREF want = RGB(entry & 0xFF, (entry >> 8) & 0xFF, (entry >> 16) & 0xFF);
            const RECT area = LessFirstColumnAndRow(g.palette);  // the cells
            const int left = area.left + g.paletteCellPitch * (cell % kPaletteColumns);
            const int top = area.top + g.paletteCellPitch * (cell / kPaletteColumns);
            probes.push_back({left + 6, top + 6, want, "palette cell " + std::to_string(cell)});
            probes.push_back({left + 1, top + 10, want, "palette cell " + std::to_string(cell)});
        }
        return probes;
    }

    // The screen shows the probes (it may take the platform a moment to put
    // the last drawing on the screen); nothing else covers them.
    std::string PixelProblems()
    {
        const std::vector<Probe> probes = Probes();
        for (const Probe& p : probes) {
            POINT at = {p.x, p.y};
            ClientToScreen(main_, &at);
            if (WindowFromPoint(at) != main_)
                return "something covers the main window at " + std::to_string(p.x) + "," + std::to_string(p.y) + "\n";
        }
        std::string problems;
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (attempt > 0)
                Sleep(50);
            std::vector<uint32_t> pixels;
            if (!CaptureClient(pixels)) {
                problems = "the screen could not be read\n";
                continue;
            }
            problems.clear();
            int wrong = 0;
            for (const Probe& p : probes) {
                const uint32_t px = pixels[static_cast<size_t>(p.y * kClientWidth + p.x)];
                const COLORREF seen = RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
                if (seen != p.want && ++wrong <= 12)
                    problems += p.what + " at (" + std::to_string(p.x) + "," + std::to_string(p.y) + ") shows " +
                                Describe(seen) + ", expected " + Describe(p.want) + "\n";
            }
            if (wrong == 0)
                return "";
            problems += std::to_string(wrong) + " of " + std::to_string(probes.size()) + " points wrong\n";
        }
        return problems;
    }

    // The user puts the window somewhere else (as a drag of its title bar would).
    bool MoveWindowElsewhere()
    {
        RECT frame;
        GetWindowRect(main_, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        const int x = random_.Between(0, GetSystemMetrics(SM_CXSCREEN) - width);
        const int y = random_.Between(0, GetSystemMetrics(SM_CYSCREEN) - height);
        SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(main_, &frame);
        Remember("window moved to " + std::to_string(x) + "," + std::to_string(y));
        if (frame.left != x || frame.top != y)
            return Fail("the window did not move to " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }

    HWND main_;
    HWND edits_[kModelEditCount] = {};
    HWND editCopy_ = nullptr;
    DWORD thread_ = 0;
    HANDLE process_ = nullptr;
    Random random_;
    std::string digits3_, hex3_, other3_, digits2_, hex2_, other2_;
    ProgramModel model_;
    Figures figures_;
    bool translating_ = false;
    bool failed_ = false;
    long marker_ = 0;
    std::string line_;
    std::deque<std::string> recent_;
};

std::string SettingsText(const ModelSettings& s, int x, int y, int red, int green, int blue)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "[Window]\r\nPosX=%d\r\nPosY=%d\r\n[Color]\r\nMode=%d\r\nCopy=%d\r\nChar=%d\r\nSharp=%d\r\n"
                  "R=%d\r\nG=%d\r\nB=%d\r\n",
                  x, y, static_cast<int>(s.mode), static_cast<int>(s.copyFormat), static_cast<int>(s.hexCase),
                  static_cast<int>(s.sharp), red, green, blue);
    return text;
}

TEST(Soak, FiftyThousandRandomActionsLeaveEverythingInStep)
{
    // The same run every time, so the suite's result is repeatable; any other
    // run by TINTBOX_SOAK_SEED (0 picks a new one). The seed is printed.
    uint64_t seed = EnvironmentNumber("TINTBOX_SOAK_SEED", 20261207);
    if (seed == 0)
        seed = static_cast<uint64_t>(GetTickCount64()) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 32);
    const long actions = static_cast<long>(EnvironmentNumber("TINTBOX_SOAK_ACTIONS", 50000));
    std::printf("soak: seed %llu (set TINTBOX_SOAK_SEED=%llu to repeat this run), %ld actions\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), actions);
    std::fflush(stdout);
    Random random(seed);

    const TypableCharacters typable =
        MeasureTypableCharacters(std::string(kDigits) + kHexLetters + kOtherCharacters);
    std::printf("soak: characters typed in full into 3-character edits: \"%s\", into hex edits: \"%s\"\n",
                typable.forThree.c_str(), typable.forTwo.c_str());
    ASSERT_EQ(OnlyThose(kDigits, typable.forThree), kDigits)
        << "a color edit cannot show three digits in the UI font";

    // A start of the run's own: settings, color, window place and palette.
    TestFolder folder;
    const ModelSettings settings = {random.Below(2), random.Below(3), random.Below(2), random.Below(2)};
    const int red = random.Below(256), green = random.Below(256), blue = random.Below(256);
    const int startX = random.Between(0, 500), startY = random.Between(0, 380);
    WriteWholeFile(folder.file("tbox.ini"), SettingsText(settings, startX, startY, red, green, blue));
    uint32_t palette[kModelPaletteCells];
    std::string paletteBytes(512, '\0');
    for (int i = 0; i < kModelPaletteCells; ++i) {
        const uint32_t entry = static_cast<uint32_t>(random.Next());
        for (int b = 0; b < 4; ++b)
            paletteBytes[static_cast<size_t>(4 * i + b)] = static_cast<char>((entry >> (8 * b)) & 0xFF);
        palette[i] = entry & 0x00FFFFFFu;  // the fourth byte is dropped when the file is read
    }
    WriteWholeFile(folder.file("palette.ini"), paletteBytes);

    RunningApp app(folder);
    ASSERT_TRUE(app.started());
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no main window appeared";
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, startX);
    EXPECT_EQ(frame.top, startY);

    Soak soak(window, app.processId(), random.Next(), typable);
    ASSERT_TRUE(soak.HandlesFound()) << "the nine color edits, EDITCOPY and the process are all reachable";
    soak.model().Start(settings, red, green, blue, palette);

    const auto begin = std::chrono::steady_clock::now();
    const int moveAt = random.Between(static_cast<int>(actions / 4), static_cast<int>(actions * 3 / 4));
    const bool ran = soak.Run(actions, moveAt);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const Figures& f = soak.figures();
    std::printf("soak: %ld actions in %.1f s, %.0f actions/s (%ld messages posted, %ld pointer moves)\n", f.actions,
                seconds, static_cast<double>(f.actions) / seconds, f.posted, f.moves);
    std::printf("soak: %ld clicks, %ld drags, %ld right clicks, %ld right drags, %ld keystrokes after %ld focus "
                "steps, %ld commands\n",
                f.clicks, f.drags, f.rightClicks, f.rightDrags, f.keystrokes, f.focusSteps, f.commands);
    std::printf("soak: the program did %ld palette picks, %ld palette stores, %ld picker steps, %ld edit changes\n",
                soak.model().palettePicks, soak.model().paletteStores, soak.model().pickerSteps,
                soak.model().editChanges);
    std::printf("soak: %ld checks of every text, %ld of the pixels\n", f.checks, f.pixelChecks);
    std::printf("soak: GDI objects %lu at the start, %lu at the end (peak %lu); USER objects %lu, %lu (peak %lu)\n",
                f.gdiStart, f.gdiEnd, f.gdiPeak, f.userStart, f.userEnd, f.userPeak);
    std::fflush(stdout);
    ASSERT_TRUE(ran);
    EXPECT_GE(f.actions, actions);
    // Where the platform counts them, the objects stay where they started.
    EXPECT_LE(f.gdiEnd, f.gdiStart + 10) << "GDI objects leak";
    EXPECT_LE(f.userEnd, f.userStart + 10) << "USER objects leak";

    GetWindowRect(window, &frame);
    ASSERT_TRUE(soak.Alive());
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(30000), 0);

    const ProgramModel& model = soak.model();
    const std::string ini = folder.file("tbox.ini");
    const ModelSettings last = model.Settings();
    const struct {
        const char* section;
        const char* key;
        int expected;
    } keys[] = {
        {"Color", "Mode", last.mode},           {"Color", "Copy", last.copyFormat},
        {"Color", "Char", last.hexCase},        {"Color", "Sharp", last.sharp},
        {"Color", "R", model.Current().red},    {"Color", "G", model.Current().green},
        {"Color", "B", model.Current().blue},   {"Window", "PosX", static_cast<int>(frame.left)},
        {"Window", "PosY", static_cast<int>(frame.top)},
    };
    for (const auto& k : keys)
        EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA(k.section, k.key, -1, ini.c_str())), k.expected)
            << k.section << "/" << k.key;

    std::string expectedPalette(512, '\0');
    for (int i = 0; i < kModelPaletteCells; ++i)
        for (int b = 0; b < 3; ++b)
            expectedPalette[static_cast<size_t>(4 * i + b)] =
                static_cast<char>((model.PaletteCell(i) >> (8 * b)) & 0xFF);
    const std::string saved = ReadWholeFile(folder.file("palette.ini"));
    ASSERT_EQ(saved.size(), 512u);
    for (size_t i = 0; i < 512; ++i)
        ASSERT_EQ(static_cast<int>(static_cast<unsigned char>(saved[i])),
                  static_cast<int>(static_cast<unsigned char>(expectedPalette[i])))
            << "palette.ini byte " << i << " (cell " << i / 4 << ")";
}

}  // namespace

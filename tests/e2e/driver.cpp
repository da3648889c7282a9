#include "tests/e2e/driver.h"
#include "tests/find_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace e2e {

const int kColorEdits[9] = {kR10, kG10, kB10, kR16, kG16, kB16, kH, kS, kV};

const char kInitialiseCaption[] = "\xCA\xDF\xDA\xAF\xC4\x8F\x89\x8A\xFA\x89\xBB";
const char kOpenCaption[] = "\xCA\xDF\xDA\xAF\xC4\x82\xF0\x8A\x4A\x82\xAD";
const char kSaveCaption[] = "\xCA\xDF\xDA\xAF\xC4\x82\xF0\x95\xDB\x91\xB6";
const char kAboutCaption[] = "\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1";
const char kReplaceQuestion[] =
    "\x8C\xBB\x8D\xDD\x82\xCC\xCA\xDF\xDA\xAF\xC4\x82\xCD\x8D\xED\x8F\x9C\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42"
    "\x91\xB1\x8D\x73\x82\xB5\x82\xC4\x82\xE0\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5\x82\xB7\x82\xA9\x81\x48";

namespace {

constexpr UINT kAnswerTimeout = 10000;
constexpr DWORD kScreenDelay = 100;  // milliseconds

LPARAM PointParam(int x, int y)
{
    return static_cast<LPARAM>(((static_cast<DWORD>(y) & 0xFFFFu) << 16) | (static_cast<DWORD>(x) & 0xFFFFu));
}

std::string Hex2(int v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x", v);
    return text;
}

struct TopSearch {
    const char* cls;
    std::string caption;  // empty: any
    HWND found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM param)
{
    TopSearch* search = reinterpret_cast<TopSearch*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, search->cls) == 0 && IsWindowVisible(window) &&
        (search->caption.empty() || Caption(window) == search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void SendKey(WORD vk, bool up)
{
    INPUT input;
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_DELETE || vk == VK_LWIN)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}

}  // namespace

// ---- The integer conversions ----

Hsv ToHsv(Rgb c)
{
    const int mx = std::max(c.r, std::max(c.g, c.b));
    const int mn = std::min(c.r, std::min(c.g, c.b));
    Hsv out = {0, 0, mx * 100 / 255};
    if (mx == 0)
        return out;
    const int delta = mx - mn;
    out.s = delta * 100 / mx;
    if (out.s == 0)
        return out;
    const int rc = (mx - c.r) * 60 / delta;
    const int gc = (mx - c.g) * 60 / delta;
    const int bc = (mx - c.b) * 60 / delta;
    if (c.r == mx)
        out.h = bc - gc;
    else if (c.g == mx)
        out.h = rc - bc + 120;
    else
        out.h = gc - rc + 240;
    if (out.h < 0)
        out.h += 360;
    return out;
}

Rgb ToRgb(Hsv c)
{
    auto channel = [](int percent) { return std::min(255, std::max(0, percent * 255 / 100)); };
    if (c.s == 0) {
        const int v = channel(c.v);
        return {v, v, v};
    }
    const unsigned sector = static_cast<unsigned>(c.h) * 6 / 360;
    const int f = static_cast<int>(static_cast<unsigned>(c.h) * 6 % 360);
    const int p = (100 - c.s) * c.v / 100;
    const int q = (100 - c.s * f / 360) * c.v / 100;
    const int t = (100 - c.s * (360 - f) / 360) * c.v / 100;
    int r, g, b;
    switch (sector) {
    case 0: r = c.v, g = t, b = p; break;
    case 1: r = q, g = c.v, b = p; break;
    case 2: r = p, g = c.v, b = t; break;
    case 3: r = p, g = q, b = c.v; break;
    case 4: r = t, g = p, b = c.v; break;
    default: r = c.v, g = p, b = q; break;
    }
    return {channel(r), channel(g), channel(b)};
}

std::vector<std::string> EditTexts(Rgb c, Hsv hsv)
{
    return {std::to_string(c.r), std::to_string(c.g), std::to_string(c.b), Hex2(c.r), Hex2(c.g), Hex2(c.b),
            std::to_string(hsv.h), std::to_string(hsv.s), std::to_string(hsv.v)};
}

std::vector<std::string> EditTexts(Rgb c) { return EditTexts(c, ToHsv(c)); }

// ---- Files ----

std::string NumberedPalette(int seed)
{
    std::string bytes(512, '\0');
    for (int i = 0; i < 128; ++i) {
        bytes[static_cast<size_t>(4 * i)] = static_cast<char>((i * 2 + seed) & 0xFF);
        bytes[static_cast<size_t>(4 * i + 1)] = static_cast<char>((255 - i + seed) & 0xFF);
        bytes[static_cast<size_t>(4 * i + 2)] = static_cast<char>((i * 7 + seed) & 0xFF);
    }
    return bytes;
}

Rgb PaletteEntry(const std::string& bytes, int index)
{
    const auto at = [&](int k) { return static_cast<int>(static_cast<unsigned char>(bytes[static_cast<size_t>(4 * index + k)])); };
    return {at(0), at(1), at(2)};
}

std::string ColorSettings(Rgb c)
{
    return "[Color]\r\nR=" + std::to_string(c.r) + "\r\nG=" + std::to_string(c.g) + "\r\nB=" + std::to_string(c.b) +
           "\r\n";
}

int IniInt(const std::string& ini, const char* section, const char* key)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, -1, ini.c_str()));
}

std::string IniString(const std::string& ini, const char* section, const char* key)
{
    std::vector<char> text(2048);
    GetPrivateProfileStringA(section, key, "<missing>", text.data(), static_cast<DWORD>(text.size()), ini.c_str());
    return text.data();
}

void Report(const std::string& line)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("[ scenario ] %s.%s: %s\n", info ? info->test_suite_name() : "?", info ? info->name() : "?",
                line.c_str());
    std::fflush(stdout);
}

// ---- Windows of the other process ----

void PressButton(HWND dialog, int id)
{
    HWND button = FindControl(dialog, "Button", id);
    if (button)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

std::string ControlText(HWND control)
{
    char text[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        kAnswerTimeout, &result);
    return text;
}

std::string Caption(HWND window)
{
    wchar_t wide[256] = {};
    InternalGetWindowText(window, wide, 256);
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// ---- Session ----

Session::Session(const StartFiles& setup) : folder_(new TestFolder)
{
    if (!setup.settings.empty())
        WriteWholeFile(folder_->file("tbox.ini"), setup.settings);
    if (!setup.palette.empty())
        WriteWholeFile(folder_->file("palette.ini"), setup.palette);
    if (setup.helpPage)
        CopyFileA(HostPathToWindows(HELP_FILE).c_str(), folder_->file("help.html").c_str(), FALSE);
    app_.reset(new RunningApp(*folder_, setup.factoryPalette));
    if (!app_->started())
        return;
    main_ = app_->WaitForWindow();
    if (main_) {
        thread_ = GetWindowThreadProcessId(main_, nullptr);
        Sync();
    }
}

Session::~Session()
{
    app_.reset();  // ends a program a failed test left running
    folder_.reset();
}

void Session::Sync()
{
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result);
    }
    // Sent messages overtake posted ones: a marker posted behind everything
    // queued (a new character limit for the read-only copy text, which nobody
    // types into) shows when the queue has been worked through. The loop
    // brings the edits up to date before any message that is not a mouse move.
    HWND copy = GetDlgItem(main_, kEditCopy);
    const WPARAM limit = static_cast<WPARAM>(100000 + ++marker_);
    PostMessageA(copy, EM_SETLIMITTEXT, limit, 0);
    for (DWORD start = GetTickCount(); GetTickCount() - start < kAnswerTimeout;) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(copy, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result) ||
            result == limit)
            break;
    }
    lastSync_ = GetTickCount();
}

bool Session::Alive()
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result) != 0;
}

std::string Session::Text(int id) { return ControlText(GetDlgItem(main_, id)); }

std::vector<std::string> Session::Edits()
{
    std::vector<std::string> texts;
    for (int id : kColorEdits)
        texts.push_back(Text(id));
    return texts;
}

COLORREF Session::Pixel(int x, int y)
{
    // What the program drew reaches the screen a moment later.
    const DWORD since = GetTickCount() - lastSync_;
    if (since < kScreenDelay)
        Sleep(kScreenDelay - since);
    POINT p = {x, y};
    ClientToScreen(main_, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

static Rgb Split(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// The swatch's upper half shows the current color, its lower half the reference color.
Rgb Session::SwatchCurrent()
{
    const RECT& s = Geo().swatch;
    return Split(Pixel((s.left + s.right) / 2, s.top + Height(s) / 4));
}
Rgb Session::SwatchReference()
{
    const RECT& s = Geo().swatch;
    return Split(Pixel((s.left + s.right) / 2, s.bottom - Height(s) / 4));
}
Rgb Session::PaletteCell(int cell)
{
    const POINT middle = InCell(cell, Geo().paletteCellSize / 2, Geo().paletteCellSize / 2);
    return Split(Pixel(middle.x, middle.y));
}

HWND Session::Focus()
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread_, &info))
        return nullptr;
    return info.hwndFocus;
}

void PressKeys(const std::vector<WORD>& keys)
{
    for (WORD vk : keys)
        SendKey(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        SendKey(*it, true);
    Sleep(30);
}

void Session::Keys(const std::vector<WORD>& keys)
{
    Sync();
    if (GetForegroundWindow() != main_) {
        SetForegroundWindow(main_);
        for (int i = 0; i < 100 && GetForegroundWindow() != main_; ++i)
            Sleep(10);
    }
    PressKeys(keys);
    Sync();
    Sleep(10);
    Sync();
}

void Session::Type(const std::string& text)
{
    for (char c : text) {
        if (c == '\b')
            Keys({VK_BACK});
        else if (std::isupper(static_cast<unsigned char>(c)))
            Keys({VK_SHIFT, static_cast<WORD>(c)});
        else
            Keys({static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)))});
    }
}

void Session::Mouse(UINT message, int x, int y, WPARAM flags)
{
    PostMessageA(main_, message, flags, PointParam(x, y));
}

void Session::Click(int x, int y)
{
    Mouse(WM_MOUSEMOVE, x, y, 0);
    Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, x, y, 0);
    Sync();
}

void Session::RightClick(int x, int y)
{
    Mouse(WM_MOUSEMOVE, x, y, 0);
    Mouse(WM_RBUTTONDOWN, x, y, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, x, y, 0);
    Sync();
}

void Session::Drag(POINT from, POINT to, int steps, bool release)
{
    Mouse(WM_MOUSEMOVE, from.x, from.y, 0);
    Mouse(WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
    for (int i = 1; i <= steps; ++i) {
        const int x = from.x + (to.x - from.x) * i / steps;
        const int y = from.y + (to.y - from.y) * i / steps;
        Mouse(WM_MOUSEMOVE, x, y, MK_LBUTTON);
    }
    if (release)
        Mouse(WM_LBUTTONUP, to.x, to.y, 0);
    Sync();
}

void Session::ReleaseLeft(int x, int y)
{
    Mouse(WM_LBUTTONUP, x, y, 0);
    Sync();
}

void Session::Command(int id)
{
    PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    Sync();
}

HWND Session::WaitForDialog(const std::string& caption, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20)) {
        TopSearch search = {"#32770", caption, nullptr};
        EnumThreadWindows(thread_, MatchTop, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Sleep(150);  // let it finish its own set-up
            return search.found;
        }
    }
    return nullptr;
}

bool Session::WaitGone(HWND window, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20))
        if (!IsWindow(window) || !IsWindowVisible(window))
            return true;
    return false;
}

HWND Session::FindTopLevel(const char* cls)
{
    TopSearch search = {cls, "", nullptr};
    EnumThreadWindows(thread_, MatchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

long Session::Close()
{
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return app_->WaitForExit();
}

}  // namespace e2e

// What the platform (Wine 8 on Xvfb, and Windows) does with a system-wide
// hotkey, a classic tooltip control and a hotkey control: the groundwork for
// the "pick from anywhere" hotkey and the swatch tips. Not part of the suite;
// each mode prints what it saw, one fact a line, and exits 0 when every fact
// it checks held.
//
// Build (from the repository folder):
//   x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -Wall -Wextra -Wconversion
//     -Wsign-conversion -o build/hotkey_probe.exe tests/hotkey_probe.cpp -lcomctl32 -lgdi32
// Run each mode through scripts/wine-exec with DISPLAY set:
//   register <seconds> [minimize|self]         Win+Shift+C, else Win+Alt+C; logs every WM_HOTKEY;
//                                               self: presses the chord itself with SendInput
//   hold <mods> <vk> <seconds>                  holds one hotkey (mods: MOD_* bits, decimal)
//   send <mods> <vk>                            presses the chord with SendInput, then releases it
//   front <seconds>                             a window that takes the foreground and keeps it
//   tooltip                                     TTM_ADDTOOL on rectangles, TTM_GETTEXT, hovering
//   hotkeyctl                                   HKM_SETHOTKEY / HKM_GETHOTKEY, typed chords
// scripts/hotkey_probe.sh runs them all. Seen under Wine 8.0 on Xvfb (default
// keymap: Super_L is keycode 133 on mod4, so xdotool's "super" is VK_LWIN):
// - WM_HOTKEY arrives in front, behind another window and minimised, and the
//   window stays where it was; the chord does not reach the focused window.
// - SendInput from any process of the prefix always reaches it; xdotool only
//   while some Wine window has the X focus (Wine grabs no keys).
// - A chord taken elsewhere fails with ERROR_HOTKEY_ALREADY_REGISTERED (1409),
//   MOD_NOREPEAT or not; MOD_NOREPEAT itself is ignored: a held chord repeats.
// - TTM_GETTEXTA gives at most 80 bytes; TTM_GETTEXTW takes the buffer length.
// - The hotkey control has no Windows-key flag: Win+Shift+C typed reads Shift+C.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int g_failures = 0;

void Fact(bool ok, const char* what, long long detail = 0)
{
    std::printf("%-4s %s (%lld)\n", ok ? "ok" : "FAIL", what, detail);
    std::fflush(stdout);
    if (!ok)
        ++g_failures;
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_HOTKEY) {
        std::printf("WM_HOTKEY id=%d mods=0x%x vk=0x%x foreground=%d iconic=%d\n", static_cast<int>(wp),
                    static_cast<unsigned>(LOWORD(lp)), static_cast<unsigned>(HIWORD(lp)),
                    GetForegroundWindow() == hwnd, IsIconic(hwnd) ? 1 : 0);
        std::fflush(stdout);
        SetPropA(hwnd, "hits", reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropA(hwnd, "hits")) + 1));
        return 0;
    }
    if (msg == WM_KEYDOWN && wp == 'C') {
        std::printf("WM_KEYDOWN C reached the focused window: the hotkey did not swallow it\n");
        std::fflush(stdout);
    }
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeWindow(const char* title, int x, int y)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "HotkeyProbe";
    RegisterClassA(&wc);
    RECT r{0, 0, 406, 276};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND hwnd = CreateWindowA("HotkeyProbe", title, WS_OVERLAPPEDWINDOW, x, y, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

// Runs the message loop for `ms` milliseconds.
void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

INPUT Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_LWIN ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

// Presses the modifiers of `mods` (MOD_* bits) and `vk`, then releases all in reverse.
UINT SendChord(UINT mods, WORD vk)
{
    WORD keys[5];
    int n = 0;
    if (mods & MOD_WIN)
        keys[n++] = VK_LWIN;
    if (mods & MOD_CONTROL)
        keys[n++] = VK_CONTROL;
    if (mods & MOD_ALT)
        keys[n++] = VK_MENU;
    if (mods & MOD_SHIFT)
        keys[n++] = VK_SHIFT;
    keys[n++] = vk;
    INPUT in[10];
    for (int i = 0; i < n; ++i) {
        in[i] = Key(keys[i], false);
        in[2 * n - 1 - i] = Key(keys[i], true);
    }
    return SendInput(static_cast<UINT>(2 * n), in, sizeof in[0]);
}

int Register(int seconds, const char* how)
{
    HWND hwnd = MakeWindow("probe: register", 40, 40);
    const UINT mods[2] = {MOD_WIN | MOD_SHIFT | MOD_NOREPEAT, MOD_WIN | MOD_ALT | MOD_NOREPEAT};
    const char* names[2] = {"win+shift+c", "win+alt+c"};
    int chosen = -1;
    for (int i = 0; i < 2 && chosen < 0; ++i) {
        SetLastError(0);
        const BOOL ok = RegisterHotKey(hwnd, 1, mods[i], 'C');
        std::printf("RegisterHotKey %s -> %d, GetLastError %lu\n", names[i], ok, GetLastError());
        if (ok)
            chosen = i;
    }
    std::printf("chosen %s\n", chosen < 0 ? "none" : names[chosen]);
    if (how && std::strcmp(how, "minimize") == 0)
        ShowWindow(hwnd, SW_MINIMIZE);
    if (how && std::strcmp(how, "self") == 0 && chosen >= 0)
        std::printf("SendInput from this process sent %u events\n", SendChord(mods[chosen], 'C'));
    std::printf("ready iconic=%d foreground=%d\n", IsIconic(hwnd) ? 1 : 0, GetForegroundWindow() == hwnd);
    std::fflush(stdout);
    Pump(static_cast<DWORD>(seconds) * 1000);
    const INT_PTR hits = reinterpret_cast<INT_PTR>(GetPropA(hwnd, "hits"));
    std::printf("hotkeys received %d, still iconic=%d\n", static_cast<int>(hits), IsIconic(hwnd) ? 1 : 0);
    return chosen < 0 ? 2 : (hits > 0 ? 0 : 1);
}

int Hold(UINT mods, UINT vk, int seconds)
{
    HWND hwnd = MakeWindow("probe: hold", 500, 40);
    SetLastError(0);
    const BOOL ok = RegisterHotKey(hwnd, 7, mods, vk);
    std::printf("hold RegisterHotKey mods=0x%x vk=0x%x -> %d, GetLastError %lu\n", mods, vk, ok, GetLastError());
    std::fflush(stdout);
    Pump(static_cast<DWORD>(seconds) * 1000);
    return ok ? 0 : 1;
}

int Front(int seconds)
{
    HWND hwnd = MakeWindow("probe: front", 200, 200);
    SetForegroundWindow(hwnd);
    Pump(500);
    std::printf("front foreground=%d\n", GetForegroundWindow() == hwnd);
    std::fflush(stdout);
    Pump(static_cast<DWORD>(seconds) * 1000);
    return 0;
}

std::string TipText(HWND tip, HWND owner, UINT_PTR id)
{
    char text[1024] = {};
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = id;
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

bool AddTool(HWND tip, HWND owner, UINT_PTR id, RECT rect, const char* text, UINT size)
{
    TOOLINFOA ti{};
    ti.cbSize = size;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = owner;
    ti.uId = id;
    ti.rect = rect;
    ti.lpszText = const_cast<char*>(text);
    return SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

int Tooltip()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    Fact(InitCommonControlsEx(&icc) != FALSE, "InitCommonControlsEx");
    HWND hwnd = MakeWindow("probe: tooltip", 40, 40);
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    Fact(tip != nullptr, "CreateWindowEx(TOOLTIPS_CLASS)");
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 300);
    // The swatch, and 128 palette swatches of 14 x 14 pixels.
    const RECT swatch{8, 8, 118, 118};
    const char* first = "\x83\x52\x83\x93\x83\x67\x83\x89\x83\x58\x83\x67 4.47:1\r\nAA \x95\x73\x8d\x87\x8a\x69";  // CP932
    Fact(AddTool(tip, hwnd, 1, swatch, first, TTTOOLINFOA_V2_SIZE), "TTM_ADDTOOL with cbSize TTTOOLINFOA_V2_SIZE");
    Fact(AddTool(tip, hwnd, 2, RECT{0, 0, 1, 1}, "x", sizeof(TOOLINFOA)), "TTM_ADDTOOL with cbSize sizeof(TOOLINFOA)");
    SendMessageA(tip, TTM_DELTOOLA, 0, [&] {
        static TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = hwnd;
        ti.uId = 2;
        return reinterpret_cast<LPARAM>(&ti);
    }());
    char number[16];
    for (int i = 0; i < 128; ++i) {
        std::snprintf(number, sizeof number, "#%06x %d", i * 0x020202, i + 1);
        const RECT r{170 + (i % 16) * 14, 150 + (i / 16) * 14, 184 + (i % 16) * 14, 164 + (i / 16) * 14};
        AddTool(tip, hwnd, static_cast<UINT_PTR>(100 + i), r, number, TTTOOLINFOA_V2_SIZE);
    }
    Fact(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 129, "TTM_GETTOOLCOUNT", SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    Fact(TipText(tip, hwnd, 1) == first, "TTM_GETTEXT reads back the CP932 text");
    Fact(TipText(tip, hwnd, 100 + 77) == "#9a9a9a 78", "TTM_GETTEXT of palette tool 78");
    std::string longer(300, 'a');
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = hwnd;
    ti.uId = 1;
    ti.lpszText = const_cast<char*>(longer.c_str());
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    // TTM_GETTEXTA gives at most 80 bytes under Wine; TTM_GETTEXTW takes the buffer's length.
    Fact(TipText(tip, hwnd, 1) == longer.substr(0, 80), "TTM_GETTEXTA of a 300-byte text gives its first 80",
         static_cast<long long>(TipText(tip, hwnd, 1).size()));
    wchar_t wide[1024] = {};
    TOOLINFOW tw{};
    tw.cbSize = TTTOOLINFOW_V2_SIZE;
    tw.hwnd = hwnd;
    tw.uId = 1;
    tw.lpszText = wide;
    SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tw));
    Fact(std::wstring(wide) == std::wstring(longer.begin(), longer.end()), "TTM_GETTEXTW reads all 300",
         static_cast<long long>(std::wstring(wide).size()));
    ti.lpszText = const_cast<char*>(first);
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    // Hover: put the cursor on the swatch, wait past the initial delay.
    POINT p{60, 60};
    ClientToScreen(hwnd, &p);
    SetForegroundWindow(hwnd);
    Pump(300);
    SetCursorPos(p.x, p.y);
    Pump(200);
    SetCursorPos(p.x + 2, p.y + 2);
    Pump(1500);
    char shown[256] = {};
    GetWindowTextA(tip, shown, sizeof shown);
    Fact(IsWindowVisible(tip) != FALSE, "tip is shown after hovering the swatch");
    Fact(std::strcmp(shown, first) == 0, "the shown tip's window text is the swatch's text");
    if (const char* shot = std::getenv("PROBE_PAUSE_MS"))
        Pump(static_cast<DWORD>(std::atoi(shot)));
    DestroyWindow(hwnd);
    return g_failures == 0 ? 0 : 1;
}

WORD GetHotkey(HWND control) { return static_cast<WORD>(SendMessageA(control, HKM_GETHOTKEY, 0, 0)); }

int HotkeyControl()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS};
    Fact(InitCommonControlsEx(&icc) != FALSE, "InitCommonControlsEx(ICC_HOTKEY_CLASS)");
    HWND hwnd = MakeWindow("probe: hotkey control", 40, 40);
    HWND control = CreateWindowExA(0, HOTKEY_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 22, hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), GetModuleHandleA(nullptr), nullptr);
    Fact(control != nullptr, "CreateWindowEx(HOTKEY_CLASS)");
    // HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4, HOTKEYF_EXT 8: no Windows-key flag,
    // and Shift and Alt sit the other way round from MOD_ALT 1, MOD_SHIFT 4.
    const struct {
        BYTE vk, flags;
    } set[] = {{'C', HOTKEYF_SHIFT | HOTKEYF_ALT}, {'C', HOTKEYF_CONTROL}, {VK_F9, 0}, {'C', 0x10}, {0, 0}};
    for (const auto& s : set) {
        SendMessageA(control, HKM_SETHOTKEY, MAKEWORD(s.vk, s.flags), 0);
        const WORD got = GetHotkey(control);
        char what[64];
        std::snprintf(what, sizeof what, "HKM_SETHOTKEY vk 0x%02x flags 0x%02x reads back", s.vk, s.flags);
        Fact(got == MAKEWORD(s.vk, s.flags), what, got);
    }
    // Typing into the control, as a user would.
    SetForegroundWindow(hwnd);
    SetFocus(control);
    Pump(200);
    const struct {
        UINT mods;
        WORD vk;
        WORD expected;
    } typed[] = {{MOD_CONTROL | MOD_SHIFT, 'K', MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT)},
                 {MOD_ALT | MOD_SHIFT, 'C', MAKEWORD('C', HOTKEYF_ALT | HOTKEYF_SHIFT)},
                 {MOD_WIN | MOD_SHIFT, 'C', MAKEWORD('C', HOTKEYF_SHIFT)}};  // the Windows key is dropped
    for (const auto& t : typed) {
        SendMessageA(control, HKM_SETHOTKEY, 0, 0);
        SendChord(t.mods, t.vk);
        Pump(300);
        const WORD got = GetHotkey(control);
        char what[64];
        std::snprintf(what, sizeof what, "typed mods 0x%x vk 0x%02x gives 0x%04x", t.mods, t.vk, t.expected);
        Fact(got == t.expected, what, got);
    }
    if (const char* shot = std::getenv("PROBE_PAUSE_MS"))
        Pump(static_cast<DWORD>(std::atoi(shot)));
    DestroyWindow(hwnd);
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
    if (mode == "register")
        return Register(arg(2, 10), argc > 3 ? argv[3] : nullptr);
    if (mode == "hold")
        return Hold(static_cast<UINT>(arg(2, MOD_WIN | MOD_SHIFT)), static_cast<UINT>(arg(3, 'C')), arg(4, 10));
    if (mode == "send") {
        const UINT sent = SendChord(static_cast<UINT>(arg(2, MOD_WIN | MOD_SHIFT)), static_cast<WORD>(arg(3, 'C')));
        std::printf("SendInput sent %u events\n", sent);
        return sent > 0 ? 0 : 1;
    }
    if (mode == "front")
        return Front(arg(2, 10));
    if (mode == "tooltip")
        return Tooltip();
    if (mode == "hotkeyctl")
        return HotkeyControl();
    std::printf("modes: register, hold, send, front, tooltip, hotkeyctl\n");
    return 2;
}

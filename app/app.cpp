#include <windows.h>
// Before windowsx.h, whose WM_DROPFILES cracker needs it.
#include <shellapi.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "app/palette_commands.h"
#include "app/hotkey.h"
#include "capture/capture.h"
#include "color/color.h"
#include "color/color_text.h"
#include "color/palette.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_file.h"
#include "store/settings.h"
#include "view/dpi.h"
#include "view/geometry.h"
#include "view/layout.h"
#include "view/mouse.h"
#include "view/paint.h"
#include "view/strings.h"
#include "view/tips.h"

HINSTANCE g_instance;
HWND g_mainWindow;
uint32_t g_customColors[kCustomColorCount];
char g_paletteFile[kPathBufferSize];

// Where the main window was saved: where it opens, and what is saved when its
// placement cannot be read.
static POINT s_savedPosition;
// "palette.ini" as this run read it at start.
static FileBytes s_paletteAtStart;

static const char kMainClass[] = "tbox";

void FindProgramDirectory()
{
    // Grow the buffer until the whole path fits: a folder may be longer than MAX_PATH.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of('\\');
    g_programDir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void SaveFiles(HWND window, bool report)
{
    const std::string settings = ProgramFilePath("tbox.ini");
    const std::string palette = ProgramFilePath("palette.ini");
    if (!SaveSettings(GatherSettings(), window) && report) {
        const DWORD error = GetLastError();
        ReportFileError(window, IDS_APP_TITLE, IDS_CANNOT_WRITE, settings, error);
    }
    // Most sessions leave the palette as they found it: "palette.ini" is then
    // left alone rather than written again, and not even read again while it
    // is there.
    if (PaletteKeptAsRead(g_paletteChanged, s_paletteAtStart, Palette) && !FileIsMissing(palette.c_str()))
        return;
    const FileBytes now = ReadFileBytes(palette.c_str());
    if (PaletteFileWanted(g_paletteChanged, s_paletteAtStart, now) && !BytesHoldPalette(now, Palette) &&
        !WritePaletteFile(palette.c_str(), Palette) && report) {
        const DWORD error = GetLastError();
        ReportFileError(window, IDS_APP_TITLE, IDS_CANNOT_WRITE, palette, error);
    }
}

// Saves the settings and the palette (naming a file that cannot be written)
// and lets go of every long-lived GDI object; the window itself goes with the process.
static void OnClose(HWND window)
{
    SaveFiles(window, true);
    DestroyLayout(window);
    PostMessageA(window, WM_DESTROY, 0, 0);
}

// Logging off, shutting down or a restart manager's close sends no WM_CLOSE:
// the session may end, and the files are saved as the close saves them, with
// no message box to hold the ending up.
static BOOL OnQueryEndSession(HWND)
{
    return TRUE;
}

static void OnEndSession(HWND window, BOOL ending)
{
    if (ending)
        SaveFiles(window, false);
}

// Switching back to the window puts the focus back into the control that had
// it, as a dialog does, instead of onto the window itself.
static void OnActivate(HWND window, UINT state, HWND other, BOOL minimized)
{
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        g_window.focusOnLeaving = IsChild(window, focus) ? focus : nullptr;
    } else if (!minimized && IsChild(window, g_window.focusOnLeaving)) {
        SetFocus(g_window.focusOnLeaving);
        return;
    }
    FORWARD_WM_ACTIVATE(window, state, other, minimized, DefWindowProcA);
}

// The pick hotkey is the window's: the system frees it with the window, which
// goes with the process once the loop ends (or at once where the window is
// destroyed), so the end is not held up unregistering it.
static void OnDestroy(HWND)
{
    g_pickHotkey = HotkeyChord{0, 0};
    PostQuitMessage(0);
}

static void OnPaint(HWND window)
{
    PaintMainWindow(window);
}

// The read-only EDITCOPY asks for its colors with this message: white.
static HBRUSH OnCtlColorStatic(HWND, HDC, HWND, int)
{
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

// The texts' catch-up timer (CatchUpTextsWhenDue), also when a nested loop
// (a dialog, a message box) takes its message instead of ours.
static void OnTimer(HWND window, UINT)
{
    CatchUpTexts(window);
}

// The cursor is chosen here alone: the class cursor never overrides it.
static BOOL OnSetCursor(HWND window, HWND, UINT, UINT)
{
    ChooseCursor(window);
    return FALSE;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
        HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    case WM_PAINT: OnPaint(window); return DefWindowProcA(window, message, wParam, lParam);
        HANDLE_MSG(window, WM_CLOSE, OnClose);
        HANDLE_MSG(window, WM_QUERYENDSESSION, OnQueryEndSession);
        HANDLE_MSG(window, WM_ENDSESSION, OnEndSession);
        HANDLE_MSG(window, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_INITMENUPOPUP, OnInitMenuPopup);
        HANDLE_MSG(window, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(window, WM_SETCURSOR, OnSetCursor);
        HANDLE_MSG(window, WM_TIMER, OnTimer);
        HANDLE_MSG(window, WM_MOUSEMOVE, OnMouseMove);
        HANDLE_MSG(window, WM_LBUTTONDOWN, OnLButtonDown);
        HANDLE_MSG(window, WM_LBUTTONUP, OnLButtonUp);
        HANDLE_MSG(window, WM_RBUTTONDOWN, OnRButtonDown);
        HANDLE_MSG(window, WM_DPICHANGED, OnDpiChanged);
        HANDLE_MSG(window, WM_SYSCOLORCHANGE, OnSysColorChange);
        HANDLE_MSG(window, WM_DROPFILES, OnDropFiles);
        HANDLE_MSG(window, WM_RBUTTONUP, OnRButtonUp);
        HANDLE_MSG(window, WM_NOTIFY, OnNotify);
        HANDLE_MSG(window, WM_HOTKEY, OnHotKey);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

static ATOM RegisterWindowClass(const char* name, UINT style, WNDPROC procedure, HCURSOR cursor, LPCSTR menu)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = g_instance;
    wc.hIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_TINTBOX));
    const SIZE smallIcon = GeometryAt(SystemDpi()).smallIcon;
    wc.hIconSm = static_cast<HICON>(
        LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_TINTBOX), IMAGE_ICON, smallIcon.cx, smallIcon.cy, LR_DEFAULTCOLOR));
    wc.hCursor = cursor;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

void ApplySettings(const Settings& settings)
{
    s_savedPosition = POINT{settings.PosX, settings.PosY};
    g_displayMode = settings.DisplayMode;
    g_textForm = settings.Text;
    g_current.red = settings.Color.red;
    g_current.green = settings.Color.green;
    g_current.blue = settings.Color.blue;
    std::memcpy(g_customColors, settings.CustColors, sizeof g_customColors);
    std::memcpy(g_paletteFile, settings.PaletteFile, sizeof g_paletteFile);
    g_hotkey = settings.Hotkey;
}

Settings GatherSettings()
{
    Settings settings;
    settings.PosX = s_savedPosition.x;
    settings.PosY = s_savedPosition.y;
    settings.DisplayMode = g_displayMode;
    settings.Text = g_textForm;
    settings.Color = Rgb{g_current.red, g_current.green, g_current.blue};
    std::memcpy(settings.CustColors, g_customColors, sizeof settings.CustColors);
    std::memcpy(settings.PaletteFile, g_paletteFile, sizeof settings.PaletteFile);
    settings.Hotkey = g_hotkey;
    return settings;
}

void LoadProgramState()
{
    ApplySettings(LoadSettings());
    s_paletteAtStart = ReadFileBytes(ProgramFilePath("palette.ini").c_str());
    const std::string& bytes = s_paletteAtStart.bytes;
    ApplyPaletteBytes(Palette, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    g_paletteChanged = false;
    CompleteFromRgb();
}

bool RegisterMainWindowClass()
{
    return RegisterWindowClass(kMainClass, CS_OWNDC, MainWindowProc, LoadCursorA(nullptr, IDC_ARROW),
                               MAKEINTRESOURCEA(IDM_MAINMENU)) != 0;
}

bool RegisterCaptureWindowClass()
{
    return RegisterWindowClass(kCaptureClass, 0, CaptureWindowProc, LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_PICK)),
                               nullptr) != 0;
}

// The menu bar in the interface language; the class names the same menu, which
// the platform would take in a language of its own choosing.
static HMENU LoadMainMenu()
{
    return LoadMenuIndirectA(static_cast<const MENUTEMPLATEA*>(UiResourceData(RT_MENU, IDM_MAINMENU)));
}

bool OpenMainWindow()
{
    // An overlapped window always gets a caption, which the frame must count.
    // Palette files dropped onto the window open as if chosen in the open dialog
    // (the style DragAcceptFiles would set, without loading the shell library).
    const DWORD exStyle = WS_EX_ACCEPTFILES;
    const DWORD style = WS_SYSMENU | WS_MINIMIZEBOX;
    const RECT frame = InitialWindowRect(style | WS_CAPTION, exStyle, s_savedPosition);
    g_mainWindow = CreateWindowExA(exStyle, kMainClass, UiText(IDS_APP_TITLE), style, frame.left, frame.top,
                                   Width(frame), Height(frame), nullptr, LoadMainMenu(), g_instance, &s_savedPosition);
    if (g_mainWindow == nullptr)
        return false;
    CommitStartingColor(g_mainWindow);
    ShowWindow(g_mainWindow, SW_SHOWNORMAL);
    UpdateWindow(g_mainWindow);
    SetFocus(g_window.editTable[0]);
    SendMessageA(g_window.editTable[0], EM_SETSEL, 0, -1);
    return true;
}

bool StartUp(HINSTANCE instance)
{
    g_instance = instance;
    ChooseUiLanguage(instance);
    LoadProgramState();
    // Both classes before the window, so that a failure leaves no window behind.
    if (RegisterMainWindowClass() && RegisterCaptureWindowClass() && OpenMainWindow()) {
        StartPickHotkey(g_mainWindow);
        return true;
    }
    const DWORD error = GetLastError();
    MessageBoxA(nullptr, UiTextWith(IDS_CANNOT_START, SystemErrorText(error)).c_str(), UiText(IDS_APP_TITLE),
                MB_OK | MB_ICONERROR);
    return false;
}

int RunProgram(HINSTANCE instance)
{
    return StartUp(instance) ? RunMessageLoop() : 1;
}

void ProcessMessage(MSG& msg, HACCEL accelerators)
{
    // Anything but a mouse move or a paint may read or type into the edits:
    // they must show the color first.
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_PAINT)
        CatchUpTexts(g_mainWindow);
    // Accelerators are translated against the main window whatever window of
    // the thread has the focus, so Tab never reaches an edit as a key.
    if (!TranslateAcceleratorA(g_mainWindow, accelerators, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void OnIdle()
{
    CatchUpTextsWhenDue(g_mainWindow);
}

int RunMessageLoop()
{
    HACCEL accelerators = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDA_ACCELERATORS));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        ProcessMessage(msg, accelerators);
        MSG next;
        if (g_window.textsBehind && !PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE))
            OnIdle();
    }
    return static_cast<int>(msg.wParam);
}

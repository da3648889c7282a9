#include <windows.h>
#include <windowsx.h>

#include <string>

#include "app/app.h"
#include "color/color.h"
#include "res/resource.h"
#include "store/files.h"
#include "store/palette_file.h"
#include "store/settings.h"

HINSTANCE g_instance;
HWND g_mainWindow;

static const char kMainClass[] = "tbox";
static const char kMainTitle[] = "Tintbox";

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

// Gives the window its fixed client area and puts it at the saved position.
static BOOL OnCreate(HWND window, LPCREATESTRUCT)
{
    RECT windowRect;
    RECT clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    const int width = (windowRect.right - windowRect.left) - (clientRect.right - clientRect.left) + kClientWidth;
    const int height = (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top) + kClientHeight;
    SetWindowPos(window, nullptr, g_settings.PosX, g_settings.PosY, width, height, SWP_NOZORDER);
    return TRUE;
}

// Saves the settings and the palette; the window goes with the process.
static void OnClose(HWND window)
{
    SaveSettings(window);
    WritePaletteFile(ProgramFilePath("palette.ini").c_str());
    PostMessageA(window, WM_DESTROY, 0, 0);
}

static void OnDestroy(HWND)
{
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
        HANDLE_MSG(window, WM_CLOSE, OnClose);
        HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static bool RegisterMainClass()
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = g_instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kMainClass;
    return RegisterClassExA(&wc) != 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_instance = instance;
    FindProgramDirectory();
    LoadSettings();
    ReadPaletteFile(ProgramFilePath("palette.ini").c_str());
    CompleteFromRgb();
    g_reference = g_current;

    if (!RegisterMainClass())
        return 0;
    g_mainWindow = CreateWindowExA(0, kMainClass, kMainTitle, WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, CW_USEDEFAULT,
                                   CW_USEDEFAULT, nullptr, nullptr, g_instance, nullptr);
    ShowWindow(g_mainWindow, SW_SHOWNORMAL);
    UpdateWindow(g_mainWindow);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

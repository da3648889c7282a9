// The benchmark's yardstick: about the least a program can do to be on screen.
// It registers a class, creates a window with a 406 x 276 client area, paints
// one line of text and runs a message loop. WM_CLOSE ends the loop and the
// window goes with the process, as Tintbox's own does: under an X server with
// no window manager, DestroyWindow of a shown top-level window waits about two
// seconds for it to be withdrawn, which would make the yardstick meaningless.
//
// With the argument "edit" it also holds one edit control, and every mouse
// move writes the move's x into it with one SetWindowTextA: the platform's
// floor for a drag step that updates a text. With "focus" as well the edit
// has the focus, and so the caret, as Tintbox's R10 has during a drag.
#include <windows.h>
#include <windowsx.h>

#include <cstring>

namespace {

const char kClassName[] = "tbmin";
constexpr int kEditId = 1;
const char kLine[] = "Tintbox benchmark: the minimal window";

HWND g_edit;
bool g_focusEdit;  // the edit takes the focus whenever the window gets it

void OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 10, 10, kLine, static_cast<int>(std::strlen(kLine)));
    EndPaint(window, &ps);
}

void OnMouseMove(HWND, int x, int, UINT)
{
    if (g_edit == nullptr)
        return;
    char text[16];
    wsprintfA(text, "%d", x);
    SetWindowTextA(g_edit, text);
}

void OnSetFocus(HWND, HWND)
{
    if (g_focusEdit)
        SetFocus(g_edit);
}

void OnClose(HWND)
{
    PostQuitMessage(0);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: OnPaint(window); return 0;
        HANDLE_MSG(window, WM_MOUSEMOVE, OnMouseMove);
        HANDLE_MSG(window, WM_CLOSE, OnClose);
        HANDLE_MSG(window, WM_SETFOCUS, OnSetFocus);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateMainWindow(HINSTANCE instance)
{
    const DWORD style = WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, 406, 276};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kClassName, "tbmin", style, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateMainWindow(instance);
    if (std::strstr(commandLine, "edit") != nullptr)
        g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 28, 140, 30, 18, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    g_focusEdit = g_edit != nullptr && std::strstr(commandLine, "focus") != nullptr;
    if (g_focusEdit)
        SetFocus(g_edit);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

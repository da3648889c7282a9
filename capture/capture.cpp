#include "capture/capture.h"

bool g_captureActive;
HWND g_captureWindow;

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void StartCapture(HWND)
{
}

void CancelCapture()
{
    if (g_captureActive && g_captureWindow)
        DestroyWindow(g_captureWindow);
    g_captureActive = false;
    g_captureWindow = nullptr;
}

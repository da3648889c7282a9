#include "capture/capture.h"

bool g_captureActive;
HWND g_captureWindow;

LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

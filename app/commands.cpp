#include "app/app.h"
#include "res/resource.h"

void OnCommand(HWND window, int id, HWND, UINT)
{
    switch (id) {
    case ID_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); break;
    default: break;
    }
}

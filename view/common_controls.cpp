#include "view/common_controls.h"

#include <commctrl.h>

bool InitCommonControlClasses(DWORD classes)
{
    // From the system folder only, never from the program's or the current folder.
    HMODULE library = LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr)
        return false;
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // Through void (*)(), the one function type every function pointer converts to cleanly.
    const auto init =
        reinterpret_cast<Init>(reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
    const INITCOMMONCONTROLSEX wanted = {sizeof wanted, classes};
    return init != nullptr && init(&wanted);
}

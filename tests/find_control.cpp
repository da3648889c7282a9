#include "tests/find_control.h"

namespace {

struct ChildSearch {
    const char* cls;
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, search->cls) == 0 && GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct TopSearch {
    DWORD processId;
    const char* cls;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM param)
{
    TopSearch* search = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->processId && lstrcmpiA(cls, search->cls) == 0 &&
        (!search->visibleOnly || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* cls, bool visibleOnly)
{
    TopSearch search = {processId, cls, visibleOnly, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindControl(HWND parent, const char* cls, int id)
{
    ChildSearch search = {cls, id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

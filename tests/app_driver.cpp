#include "tests/app_driver.h"

namespace {

struct Found {
    DWORD processId;
    const char* className;  // "tbox": the main window; "#32770": a dialog or message box
    bool visibleOnly;
    HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    Found* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid != found->processId || std::string(cls) != found->className ||
        (found->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    found->window = window;
    return FALSE;
}

}  // namespace

RunningApp::RunningApp(const TestFolder& folder, bool withFactoryPalette)
{
    exe_ = folder.file("tintbox.exe");
    CopyFileA(HostPathToWindows(TINTBOX_EXE).c_str(), exe_.c_str(), FALSE);
    if (withFactoryPalette)
        CopyFileA(HostPathToWindows(PALINI_FILE).c_str(), folder.file("palini.dll").c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe_ + "\" ignored arguments";
    started_ = CreateProcessA(exe_.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              folder.path().c_str(), &startup, &info_) != 0;
}

RunningApp::~RunningApp()
{
    if (started_) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

HWND RunningApp::WaitForWindow()
{
    WaitForInputIdle(info_.hProcess, 10000);
    for (int i = 0; i < 200; ++i) {
        Found found = {info_.dwProcessId, "tbox", false, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
        if (found.window && IsWindowVisible(found.window))
            return found.window;
        Sleep(50);
    }
    return nullptr;
}

long RunningApp::WaitForExit(DWORD milliseconds)
{
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

std::vector<std::string> RunningApp::AnswerMessageBoxes(DWORD milliseconds)
{
    std::vector<std::string> texts;
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
        if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0)
            break;
        Found box = {info_.dwProcessId, "#32770", true, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&box));
        if (!box.window)
            continue;
        char cls[16] = {}, text[1024] = {};
        GetClassNameA(GetWindow(box.window, GW_OWNER), cls, sizeof cls);
        DWORD_PTR length = 0;
        SendMessageTimeoutA(GetDlgItem(box.window, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, &length);
        texts.push_back(std::string(cls) + ": " + text);
        PostMessageA(box.window, WM_COMMAND, IDOK, 0);
        while (IsWindow(box.window) && GetTickCount() - start < milliseconds)
            Sleep(20);
    }
    return texts;
}

// The built tintbox.exe run as a separate process in a folder of its own, as a
// user runs it: started, found on screen, closed, its exit code read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/test_folder.h"

class RunningApp {
public:
    // Copies the program (and, if asked, the factory palette) into `folder` and starts it there.
    explicit RunningApp(const TestFolder& folder, bool withFactoryPalette = false);
    ~RunningApp();
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

    bool started() const { return started_; }
    DWORD processId() const { return info_.dwProcessId; }
    // The visible main window, or null when none showed within about ten seconds.
    HWND WaitForWindow();
    // The exit code, or -1 when the process did not end in time.
    long WaitForExit(DWORD milliseconds = 15000);
    // Until the process ends, presses OK in every message box it shows; their
    // texts, each after the name of its owner's class.
    std::vector<std::string> AnswerMessageBoxes(DWORD milliseconds = 15000);

private:
    std::string exe_;
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

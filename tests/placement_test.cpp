// The real program opened and closed again and again: it reopens where it was
// closed, with a work area that does not start at the screen's corner and on
// a monitor left of the primary one. (Positions no monitor shows: window_test.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/app_driver.h"
#include "tests/test_folder.h"

namespace {

// The work area of every process starting at (60, 40) of the virtual screen,
// as a taskbar at the top and one at the left would make it: Wine takes it
// from the X root window's _NET_WORKAREA (set by xprop, a Linux program Wine
// starts too) and reads it again on ChangeDisplaySettingsExA.
class MovedWorkArea {
public:
    MovedWorkArea()
    {
        const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN) - 60, height = GetSystemMetrics(SM_CYVIRTUALSCREEN) - 40;
        Run("/usr/bin/xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA \"60, 40, " + std::to_string(width) + ", " +
            std::to_string(height) + "\"");
    }
    ~MovedWorkArea() { Run("/usr/bin/xprop -root -remove _NET_WORKAREA"); }

private:
    static void Run(std::string command)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
    }
};

// Starts the program in `folder` with its window stored at (x, y) or where the
// last run left it, closes it and returns where the window stood.
RECT RunOnce(const TestFolder& folder)
{
    RunningApp app(folder);
    HWND window = app.WaitForWindow();
    RECT frame = {};
    GetWindowRect(window, &frame);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
    return frame;
}

void StorePosition(const TestFolder& folder, int x, int y)
{
    WriteWholeFile(folder.file("tbox.ini"),
                   "[Window]\r\nPosX=" + std::to_string(x) + "\r\nPosY=" + std::to_string(y) + "\r\n");
}

TEST(Placement, ReopensWhereItWasClosedRunAfterRun)
{
    const MovedWorkArea workArea;
    const int leftmost = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const struct {
        const char* what;
        int x, y;
    } cases[] = {{"at the work area's corner", 60, 40}, {"partly off the left", -30, 100}, {"partly above", 200, -10},
                 {"on the leftmost monitor", leftmost + 50, 100}};
    for (const auto& c : cases) {
        TestFolder folder;
        StorePosition(folder, c.x, c.y);
        for (int run = 1; run <= 3; ++run) {
            // Wine's window placement is in screen coordinates: where it stands is what was stored.
            const RECT frame = RunOnce(folder);
            EXPECT_EQ(frame.left, c.x) << c.what << ", run " << run;
            EXPECT_EQ(frame.top, c.y) << c.what << ", run " << run;
        }
    }
}

}  // namespace

// Programs timed from outside, as a user meets them: started, closed, and
// dragged across by another process. See bench_launch.h.
#include "tools/bench_launch.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/find_control.h"
#include "tools/bench_timing.h"
#include "view/geometry.h"

namespace {

constexpr int kDefaultRuns = 15;
constexpr DWORD kPatience = 10000;  // milliseconds before a step counts as failed
constexpr int kDragRounds = 5;
constexpr int kMovesPerRound = 200;
constexpr int kWarmUpMoves = 10;

// One program as the benchmark runs it: a copy of its executable in a folder of its own.
struct Program {
    std::string label;
    std::string className;  // of its main window
    std::string folder;
    std::string exe;
    bool writesFiles;       // tbox.ini and palette.ini at close
    std::vector<double> start, close;
    int failures = 0;
};

struct Process {
    PROCESS_INFORMATION info = {};
    HWND window = nullptr;
};

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

std::string BenchFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return FolderOf(path);
}

Program MakeProgram(const std::string& label, const std::string& source, const char* className, bool writesFiles,
                    const std::string& root, size_t index)
{
    Program p;
    p.label = label;
    p.className = className;
    p.folder = root + "\\" + std::to_string(index);
    p.exe = p.folder + "\\" + source.substr(source.find_last_of('\\') + 1);
    p.writesFiles = writesFiles;
    CreateDirectoryA(p.folder.c_str(), nullptr);
    if (!CopyFileA(source.c_str(), p.exe.c_str(), FALSE))
        std::printf("  cannot copy %s\n", source.c_str());
    return p;
}

// The process's visible window of that class, or null.
HWND FindVisibleWindow(DWORD processId, const char* className)
{
    HWND window = FindProcessWindow(processId, className);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

bool RoundTrip(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &result) != 0;
}

// CreateProcess, WaitForInputIdle, the window found, a WM_NULL answered.
bool Start(const Program& p, const char* arguments, Process& process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + p.exe + "\" " + arguments;
    if (!CreateProcessA(p.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, p.folder.c_str(),
                        &startup, &process.info))
        return false;
    WaitForInputIdle(process.info.hProcess, kPatience);
    const double since = bench::Now();
    while ((process.window = FindVisibleWindow(process.info.dwProcessId, p.className.c_str())) == nullptr &&
           bench::Now() - since < kPatience)
        Sleep(0);
    return process.window != nullptr && RoundTrip(process.window);
}

// WM_CLOSE posted, the process gone; false unless it ended with code 0.
bool Close(Process& process)
{
    PostMessageA(process.window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.info.hProcess, kPatience) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(process.info.hProcess, &code);
    if (!ended)
        TerminateProcess(process.info.hProcess, 99);
    CloseHandle(process.info.hProcess);
    CloseHandle(process.info.hThread);
    return ended && code == 0;
}

// After a close: tbox.ini holds its four sections and palette.ini its 512 bytes.
// (A file that would not change is not written again, so its time tells nothing.)
bool FilesHoldTheState(const Program& p)
{
    char names[256] = {};
    const std::string ini = p.folder + "\\tbox.ini";
    const DWORD length = GetPrivateProfileSectionNamesA(names, sizeof names, ini.c_str());
    std::string all;
    for (const char* name = names; name < names + length && *name != '\0'; name += std::strlen(name) + 1)
        all += std::string(name) + ",";
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool palette = GetFileAttributesExA((p.folder + "\\palette.ini").c_str(), GetFileExInfoStandard, &data) &&
                         data.nFileSizeHigh == 0 && data.nFileSizeLow == 512;
    return palette && all.find("Window,") != std::string::npos && all.find("Color,") != std::string::npos &&
           all.find("CustColor,") != std::string::npos && all.find("Palette,") != std::string::npos;
}

// One start and one close of `p`; counted unless `warmUp`.
void RunOnce(Program& p, bool warmUp)
{
    Process process;
    const double t0 = bench::Now();
    const bool started = Start(p, "", process);
    const double t1 = bench::Now();
    if (!started) {
        ++p.failures;
        if (process.info.hProcess != nullptr) {
            TerminateProcess(process.info.hProcess, 99);
            CloseHandle(process.info.hProcess);
            CloseHandle(process.info.hThread);
        }
        return;
    }
    const double t2 = bench::Now();
    const bool closed = Close(process);
    const double t3 = bench::Now();
    if (!closed || (p.writesFiles && !FilesHoldTheState(p))) {
        ++p.failures;
        return;
    }
    if (warmUp)
        return;
    p.start.push_back(t1 - t0);
    p.close.push_back(t3 - t2);
}

void PrintStats(const char* what, const Program& p, const std::vector<double>& ms, double yardstick)
{
    const bench::Stats s = bench::Summarise(ms);
    std::printf("  %-5s %-24s median %7.1f ms   min %7.1f   max %7.1f   (%zu runs)   %.2fx\n", what,
                p.label.c_str(), s.median, s.min, s.max, s.count, s.median / yardstick);
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + data.cFileName).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string MakeRoot(const char* what)
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    std::string root = std::string(temp) + "tintbox-" + what + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    return root;
}

// ---- The drag, from outside ----

// What the program shows after a move: the edit read, the text it must show at `x`.
struct DragStream {
    const char* label;
    int modeCommand;  // the display mode it needs; 0 for the minimal window
    HWND window;
    HWND edit;
    int y;
    int from, to;                 // the sweep's x range
    std::string (*expected)(int x);
    std::vector<double> ms;
    bool caret;  // the edit read had the caret during the moves
};

bool HasCaret(HWND edit)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(edit, nullptr), &info) && info.hwndCaret == edit;
}

// Column x of the field shows hue 2x, column x of a channel bar the channel at x.
std::string HueAt(int x)
{
    const int hue = 2 * (x - Geo().hueSat.left);
    return std::to_string(hue < 0 ? 0 : (hue > 359 ? 359 : hue));
}
std::string RedAt(int x) { return std::to_string(x - Geo().redBar.left); }
std::string PlainX(int x) { return std::to_string(x); }

std::string EditText(HWND edit)
{
    char text[32] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kPatience,
                        &result);
    return text;
}

// One move posted as the input queue would deliver it; done once the edit shows it.
double MoveAndWait(const DragStream& s, int x)
{
    const std::string want = s.expected(x);
    const double t0 = bench::Now();
    PostMessageA(s.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, s.y));
    while (EditText(s.edit) != want)
        if (bench::Now() - t0 > kPatience)
            return -1.0;
    return bench::Now() - t0;
}

void DragRound(DragStream& s, int round)
{
    s.caret = HasCaret(s.edit);
    for (int i = 0; i < kWarmUpMoves + kMovesPerRound; ++i) {
        const double ms = MoveAndWait(s, bench::Sweep(round * kMovesPerRound + i, s.from, s.to));
        if (i >= kWarmUpMoves)
            s.ms.push_back(ms);
    }
}

void PrintDrag(const DragStream& s, double floor)
{
    const bench::Stats st = bench::Summarise(s.ms);
    const bool failed = !s.ms.empty() && st.min < 0.0;
    std::printf("  %-40s median %6.3f ms   p99 %6.3f ms   (%zu moves)   %.2fx the floor%s%s\n", s.label, st.median,
                st.p99, st.count, st.median / floor, s.caret ? "   (caret)" : "",
                failed ? "   SOME MOVES NEVER SHOWED" : "");
}

void SwitchMode(HWND window, int command)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    RoundTrip(window);
}

}  // namespace

void BenchLaunch(int runs, const std::vector<std::string>& others)
{
    const std::string here = BenchFolder();
    const std::string root = MakeRoot("launch");
    std::vector<Program> programs;
    programs.push_back(MakeProgram("minimal window", here + "\\tintbox_minwin.exe", "tbmin", false, root, 0));
    programs.push_back(MakeProgram("tintbox.exe", FolderOf(here) + "\\app\\tintbox.exe", "tbox", true, root, 1));
    for (const std::string& other : others)
        programs.push_back(MakeProgram(other.substr(other.find_last_of('\\') + 1), other, "tbox", true, root,
                                       programs.size()));

    std::printf("Start (CreateProcess to the window idle and answering) and close (WM_CLOSE to the process gone),\n"
                "%d runs each, the programs alternating run by run; ratios against the minimal window\n", runs);
    for (Program& p : programs)
        RunOnce(p, true);  // the first start writes the files every later start reads
    for (int run = 0; run < runs; ++run)
        for (size_t k = 0; k < programs.size(); ++k)
            RunOnce(programs[run % 2 == 0 ? k : programs.size() - 1 - k], false);

    const double startYardstick = bench::Summarise(programs[0].start).median;
    const double closeYardstick = bench::Summarise(programs[0].close).median;
    for (const Program& p : programs)
        PrintStats("start", p, p.start, startYardstick);
    for (const Program& p : programs)
        PrintStats("close", p, p.close, closeYardstick);
    for (const Program& p : programs) {
        if (p.failures > 0)
            std::printf("  %s: %d runs failed (no window, no clean exit or files missing)\n", p.label.c_str(),
                        p.failures);
        RemoveFolder(p.folder);
    }
    RemoveDirectoryA(root.c_str());
}

int DefaultLaunchRuns() { return kDefaultRuns; }

namespace {

// The two floors, then HSV and RGB mode for each build of the program.
// H has no focus; R10 has the focus and the caret, whose moving costs every write of it more.
std::vector<DragStream> MakeStreams(const std::vector<Process>& processes)
{
    // Across the middle of the field; along the red bar, within its drag area.
    const Geometry& g = Geo();
    const int fieldY = (g.hueSat.top + g.hueSat.bottom) / 2;
    const int barY = (g.redDrag.top + g.redDrag.bottom) / 2;
    const int barFrom = static_cast<int>(g.redBar.left);
    const int barTo = static_cast<int>(g.redBar.right) - 1;
    std::vector<DragStream> streams;
    HWND floor = processes[0].window;
    HWND focusFloor = processes[1].window;
    streams.push_back({"floor: one SetWindowTextA per move", 0, floor, GetDlgItem(floor, 1), 10, barFrom, barTo,
                       PlainX, {}, false});
    streams.push_back({"floor, the edit with the focus", 0, focusFloor, GetDlgItem(focusFloor, 1), 10, barFrom,
                       barTo, PlainX, {}, false});
    for (size_t i = 2; i < processes.size(); ++i) {
        HWND w = processes[i].window;
        streams.push_back({"HSV mode, across the field (reads H)", ID_HSVMODE, w, GetDlgItem(w, ID_H), fieldY,
                           static_cast<int>(g.hueSat.left), static_cast<int>(g.hueSat.right), HueAt, {}, false});
        streams.push_back({"RGB mode, along the red bar (reads R10)", ID_RGBMODE, w, GetDlgItem(w, ID_R10), barY,
                           barFrom, barTo, RedAt, {}, false});
    }
    return streams;
}

// One round of moves for one stream, dragged in the active window as a user
// drags: where an edit has the focus, it has the caret.
void DragInActiveWindow(DragStream& s, int round)
{
    SetForegroundWindow(s.window);
    if (s.modeCommand != 0) {
        SwitchMode(s.window, s.modeCommand);
        // Activating the window took the focus from R10; Shift+Tab, Tab puts it back, as at start.
        SwitchMode(s.window, ID_PREVEDIT);
        SwitchMode(s.window, ID_NEXTEDIT);
    }
    RoundTrip(s.window);
    DragRound(s, round);
}

void PrintDragResults(const std::vector<Program>& programs, const std::vector<DragStream>& streams,
                      const std::vector<double>& roundTrips)
{
    const bench::Stats trip = bench::Summarise(roundTrips);
    std::printf("Drag from another process: each move posted, then waited for until the edit shows it;\n"
                "HSV mode against the first floor, RGB mode (R10 with the caret) against the second\n");
    std::printf("  %-40s median %6.3f ms   p99 %6.3f ms\n", "cross-process WM_NULL round trip", trip.median, trip.p99);
    for (size_t k = 0; k < streams.size(); ++k) {
        if (k >= 2 && k % 2 == 0)
            std::printf("  %s\n", programs[k / 2 + 1].label.c_str());
        PrintDrag(streams[k], bench::Summarise(streams[k < 2 ? k : k % 2].ms).median);
    }
}

}  // namespace

void BenchDragAcross(const std::vector<std::string>& others)
{
    const std::string here = BenchFolder();
    const std::string root = MakeRoot("drag");
    std::vector<Program> programs;
    programs.push_back(MakeProgram("minimal window", here + "\\tintbox_minwin.exe", "tbmin", false, root, 0));
    programs.push_back(MakeProgram("minimal window", here + "\\tintbox_minwin.exe", "tbmin", false, root, 1));
    programs.push_back(MakeProgram("tintbox.exe", FolderOf(here) + "\\app\\tintbox.exe", "tbox", true, root, 2));
    for (const std::string& other : others)
        programs.push_back(MakeProgram(other.substr(other.find_last_of('\\') + 1), other, "tbox", true, root,
                                       programs.size()));
    std::vector<Process> processes(programs.size());
    for (size_t i = 0; i < programs.size(); ++i) {
        if (!Start(programs[i], i == 0 ? "edit" : (i == 1 ? "edit focus" : ""), processes[i])) {
            std::printf("the programs for the drag could not be started\n");
            return;
        }
    }
    std::vector<DragStream> streams = MakeStreams(processes);
    std::vector<double> roundTrips;
    for (int round = 0; round < kDragRounds; ++round) {
        for (size_t k = 0; k < streams.size(); ++k)
            DragInActiveWindow(streams[round % 2 == 0 ? k : streams.size() - 1 - k], round);
        for (int i = 0; i < kMovesPerRound; ++i) {
            const double t0 = bench::Now();
            RoundTrip(processes[2].window);
            roundTrips.push_back(bench::Now() - t0);
        }
    }
    PrintDragResults(programs, streams, roundTrips);
    for (size_t i = 0; i < programs.size(); ++i) {
        PostMessageA(processes[i].window, WM_LBUTTONUP, 0, MAKELPARAM(200, 24));
        Close(processes[i]);
        RemoveFolder(programs[i].folder);
    }
    RemoveDirectoryA(root.c_str());
}

// Start-up and shut-down of Zephlo.exe against a minimal window program,
// measured in the same invocation:
//   start-up  = from CreateProcess to the main window being visible;
//   shut-down = from posting WM_CLOSE to the process having ended.
// Each program runs from a copy in a temporary folder; Zephlo gets a settings
// file beside it, so the first-run question does not appear.
// Usage: startup_bench [runs (default 9)] [path of Zephlo.exe]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr DWORD kTimeoutMilliseconds = 20000;

struct Program {
    const wchar_t* label;
    std::wstring source;  // the built executable
    const wchar_t* windowClass;
    std::string settings;  // written as Zephlo.ini beside the copy when not empty
    std::wstring folder;
    std::wstring copy;
    std::vector<double> startTimes;
    std::vector<double> closeTimes;
};

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (lstrcmpW(className, search->windowClass) != 0) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool Prepare(Program& program, const wchar_t* exeName) {
    program.folder = MakeTempFolder(L"zephlo-bench-");
    if (program.folder.empty()) {
        return false;
    }
    program.copy = program.folder + L"\\" + exeName;
    if (!CopyFileW(program.source.c_str(), program.copy.c_str(), FALSE)) {
        std::fwprintf(stderr, L"cannot copy %ls\n", program.source.c_str());
        return false;
    }
    return program.settings.empty() ||
           WriteFileBytes(program.folder + L"\\Zephlo.ini", program.settings);
}

// One launch and close; false when the window never showed or the process
// did not end.
bool RunOnce(Program& program, bool record) {
    std::wstring commandLine = L"\"" + program.copy + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double launched = NowMilliseconds();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    WindowSearch search{process.dwProcessId, program.windowClass, nullptr};
    while (search.found == nullptr && NowMilliseconds() - launched < kTimeoutMilliseconds &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(1);
        }
    }
    const double shown = NowMilliseconds();
    bool ended = false;
    double closed = shown;
    if (search.found != nullptr) {
        PostMessageW(search.found, WM_CLOSE, 0, 0);
        ended = WaitForSingleObject(process.hProcess, kTimeoutMilliseconds) == WAIT_OBJECT_0;
        closed = NowMilliseconds();
    }
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    if (!ended) {
        std::fwprintf(stderr, L"%ls: no window shown or no exit after WM_CLOSE\n", program.label);
        return false;
    }
    if (record) {
        program.startTimes.push_back(shown - launched);
        program.closeTimes.push_back(closed - shown);
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const std::wstring benchFolder = BenchExeFolder();
    Program minimal{L"minimal window",
                    benchFolder + L"\\minimal_window.exe",
                    L"Zephlo Bench Minimal Window",
                    {},
                    {},
                    {},
                    {},
                    {}};
    // A settings file beside the program: no first-run question, and no hand-over
    // to an instance another test may have running.
    Program player{L"Zephlo",
                   argc > 2 ? std::wstring(argv[2])
                            : benchFolder.substr(0, benchFolder.rfind(L'\\')) + L"\\Zephlo.exe",
                   L"Zephlo Main Window",
                   "[Settings]\r\nKeepSingleTask=no\r\n",
                   {},
                   {},
                   {},
                   {}};

    bool ok = Prepare(minimal, L"minimal_window.exe") && Prepare(player, L"Zephlo.exe");
    // A first run of each warms the caches and the Wine server; it is not counted.
    ok = ok && RunOnce(minimal, false) && RunOnce(player, false);
    for (int i = 0; ok && i < runs; ++i) {
        ok = RunOnce(minimal, true) && RunOnce(player, true);
    }
    if (!minimal.folder.empty()) {
        RemoveFlatFolder(minimal.folder);
    }
    if (!player.folder.empty()) {
        RemoveFlatFolder(player.folder);
    }
    if (!ok) {
        std::fwprintf(stderr, L"startup bench failed\n");
        return 1;
    }

    const double minimalStart = Median(minimal.startTimes);
    const double minimalClose = Median(minimal.closeTimes);
    const double playerStart = Median(player.startTimes);
    const double playerClose = Median(player.closeTimes);
    std::wprintf(L"start-up and shut-down, medians of %d runs each\n", runs);
    std::wprintf(L"  %-16ls start-up %8.1f ms   shut-down %8.1f ms\n", minimal.label, minimalStart,
                 minimalClose);
    std::wprintf(L"  %-16ls start-up %8.1f ms   shut-down %8.1f ms\n", player.label, playerStart,
                 playerClose);
    std::wprintf(L"  start-up ratio Zephlo / minimal:              %5.2f (goal <= 1.30)\n",
                 playerStart / minimalStart);
    std::wprintf(L"  Zephlo shut-down / minimal start-up:          %5.2f (goal <= 1.00)\n",
                 playerClose / minimalStart);
    return 0;
}

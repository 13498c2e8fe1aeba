// Start-up and shut-down of Zephlo.exe against a minimal window program,
// measured in the same invocation:
//   start-up  = from CreateProcess to the main window being visible;
//   shut-down = from posting WM_CLOSE to the process having ended.
// Each program runs from a copy in a temporary folder; Zephlo gets a settings
// file beside it, so the first-run question does not appear. Zephlo runs twice
// over: with the program's own toolbar pictures and with the Glossy theme
// plug-in (copied into a Themes folder beside it and named by "ThemePlugin").
// What the plug-in costs is also timed inside this process: loading it,
// copying its three sets into image lists and unloading it, as start-up does.
// Usage: startup_bench [runs (default 9)] [path of Zephlo.exe]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_support.h"
#include "settings/theme_plugins.h"

namespace {

constexpr DWORD kTimeoutMilliseconds = 20000;

struct Program {
    const wchar_t* label = nullptr;
    std::wstring source;  // the built executable
    const wchar_t* windowClass = nullptr;
    std::string settings;  // written as Zephlo.ini beside the copy when not empty
    std::wstring plugin;   // a theme plug-in copied into Themes beside the copy, when not empty
    std::wstring folder;
    std::wstring copy;
    std::vector<double> startTimes;
    std::vector<double> closeTimes;
};

Program MakeProgram(const wchar_t* label, const std::wstring& source, const wchar_t* windowClass,
                    const std::string& settings, const std::wstring& plugin) {
    Program program;
    program.label = label;
    program.source = source;
    program.windowClass = windowClass;
    program.settings = settings;
    program.plugin = plugin;
    return program;
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
    if (!program.plugin.empty()) {
        std::wstring themes = program.folder + L"\\Themes";
        std::wstring name = program.plugin.substr(program.plugin.rfind(L'\\') + 1);
        if (!CreateDirectoryW(themes.c_str(), nullptr) ||
            !CopyFileW(program.plugin.c_str(), (themes + L"\\" + name).c_str(), FALSE)) {
            std::fwprintf(stderr, L"cannot copy %ls\n", program.plugin.c_str());
            return false;
        }
    }
    return program.settings.empty() ||
           WriteFileBytes(program.folder + L"\\Zephlo.ini", program.settings);
}

void Remove(const Program& program) {
    if (!program.folder.empty()) {
        RemoveFlatFolder(program.folder + L"\\Themes");
        RemoveFlatFolder(program.folder);
    }
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
    HWND window = WaitForProcessWindow(process.hProcess, process.dwProcessId, program.windowClass,
                                       launched, kTimeoutMilliseconds);
    const double shown = NowMilliseconds();
    bool ended = false;
    double closed = shown;
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
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

// Median time of the start-up's theme step for one plug-in, in milliseconds;
// negative when the plug-in gives no pictures.
double TimeStartupTheme(const std::wstring& themesFolder, const wchar_t* plugin, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMilliseconds();
        ThemePictures pictures = LoadStartupTheme(themesFolder, plugin);
        times.push_back(NowMilliseconds() - start);
        if (!pictures.sets[kMainToolbarSet].normal) {
            return -1.0;
        }
    }
    return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const std::wstring benchFolder = BenchExeFolder();
    const std::wstring buildFolder = benchFolder.substr(0, benchFolder.rfind(L'\\'));
    const std::wstring zephlo = argc > 2 ? std::wstring(argv[2]) : buildFolder + L"\\Zephlo.exe";
    const std::wstring glossy = zephlo.substr(0, zephlo.rfind(L'\\')) + L"\\Themes\\Glossy.zpres";
    Program minimal = MakeProgram(L"minimal window", benchFolder + L"\\minimal_window.exe",
                                  L"Zephlo Bench Minimal Window", {}, {});
    // A settings file beside the program: no first-run question, and no hand-over
    // to an instance another test may have running.
    Program player = MakeProgram(L"Zephlo", zephlo, L"Zephlo Main Window",
                                 "[Settings]\r\nKeepSingleTask=no\r\n", {});
    Program themed =
        MakeProgram(L"with Glossy", zephlo, L"Zephlo Main Window",
                    "[Settings]\r\nKeepSingleTask=no\r\nThemePlugin=Glossy.zpres\r\n", glossy);

    bool ok = Prepare(minimal, L"minimal_window.exe") && Prepare(player, L"Zephlo.exe") &&
              Prepare(themed, L"Zephlo.exe");
    // A first run of each warms the caches and the Wine server; it is not counted.
    ok = ok && RunOnce(minimal, false) && RunOnce(player, false) && RunOnce(themed, false);
    for (int i = 0; ok && i < runs; ++i) {
        ok = RunOnce(minimal, true) && RunOnce(player, true) && RunOnce(themed, true);
    }
    Remove(minimal);
    Remove(player);
    Remove(themed);
    if (!ok) {
        std::fwprintf(stderr, L"startup bench failed\n");
        return 1;
    }

    const double themeStep = TimeStartupTheme(zephlo.substr(0, zephlo.rfind(L'\\')) + L"\\Themes",
                                              L"Glossy.zpres", runs);
    if (themeStep < 0) {
        std::fwprintf(stderr, L"Glossy.zpres gives no pictures\n");
        return 1;
    }

    const double minimalStart = Median(minimal.startTimes);
    const double playerStart = Median(player.startTimes);
    const double themedStart = Median(themed.startTimes);
    std::wprintf(L"start-up and shut-down, medians of %d runs each\n", runs);
    for (const Program* program : {&minimal, &player, &themed}) {
        std::wprintf(L"  %-16ls start-up %8.1f ms   shut-down %8.1f ms\n", program->label,
                     Median(program->startTimes), Median(program->closeTimes));
    }
    std::wprintf(L"  start-up ratio Zephlo / minimal:              %5.2f (goal <= 1.30)\n",
                 playerStart / minimalStart);
    std::wprintf(L"  start-up ratio Zephlo with Glossy / minimal:  %5.2f (goal <= 1.50)\n",
                 themedStart / minimalStart);
    std::wprintf(L"  Glossy adds to the start-up:                %7.1f ms (goal <= 10)\n",
                 themedStart - playerStart);
    std::wprintf(L"  Glossy loaded, copied and unloaded in-process: %5.1f ms (goal <= 10)\n",
                 themeStep);
    std::wprintf(L"  Zephlo shut-down / minimal start-up:          %5.2f (goal <= 1.00)\n",
                 Median(player.closeTimes) / minimalStart);
    return 0;
}

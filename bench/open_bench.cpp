// Time from the open command to playback for a local MP3 and a video: the
// player's main window (OpenMedia with "PlayOnOpen", until its window gets the
// Playing report) against a bare filter graph (RenderFile, Run, until the
// graph reports State_Running), measured alternately in the same invocation.
// Usage: open_bench [runs (default 9)] [media folder (default the build's test-media)]
#include <windows.h>
#include <commctrl.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/open_media.h"
#include "bench_support.h"
#include "media/media.h"
#include "resources/resource.h"
#include "settings/settings.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr double kGoal = 1.3;
constexpr DWORD kTimeoutMilliseconds = 20000;

WNDPROC g_mainWindowProc = nullptr;
double g_playingAt = 0.0;

// Sits in front of the main window's procedure and notes when Playing arrives.
LRESULT CALLBACK NotePlaying(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMediaNotify && wParam == kMediaStateChanged && lParam == Playing &&
        g_playingAt == 0.0) {
        g_playingAt = NowMilliseconds();
    }
    return CallWindowProcW(g_mainWindowProc, window, message, wParam, lParam);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool CreatePlayer(App& app, const std::wstring& folder) {
    app.settingsLocation.path = folder + L"\\Zephlo.ini";
    app.settings.playOnOpen = true;
    app.instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClasses(app.instance)) {
        return false;
    }
    app.mainMenu.reset(LoadMenuW(app.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    if (!CreateMainWindow(app)) {
        return false;
    }
    ShowWindow(app.window.hwnd, SW_SHOWNORMAL);
    UpdateWindow(app.window.hwnd);
    RestoreMainWindowState(app);
    g_mainWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(app.window.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NotePlaying)));
    return g_mainWindowProc != nullptr;
}

// Milliseconds from OpenMedia to the Playing report; negative on failure.
double TimePlayer(App& app, const std::wstring& path) {
    g_playingAt = 0.0;
    double start = NowMilliseconds();
    if (!OpenMedia(app, path, false)) {
        return -1.0;
    }
    while (g_playingAt == 0.0 && NowMilliseconds() - start < kTimeoutMilliseconds) {
        Pump();
        Sleep(1);
    }
    double elapsed = g_playingAt == 0.0 ? -1.0 : g_playingAt - start;
    CloseMedia(app);
    Pump();
    return elapsed;
}

// The same with nothing but a filter graph; negative on failure.
double TimeBareGraph(const std::wstring& path) {
    double start = NowMilliseconds();
    ComPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&graph))) ||
        FAILED(graph->RenderFile(path.c_str(), nullptr))) {
        return -1.0;
    }
    ComPtr<IMediaControl> control;
    if (FAILED(graph.As(&control)) || FAILED(control->Run())) {
        return -1.0;
    }
    OAFilterState state = State_Stopped;
    while (control->GetState(10, &state) != S_OK || state != State_Running) {
        Pump();
        if (NowMilliseconds() - start > kTimeoutMilliseconds) {
            return -1.0;
        }
    }
    double elapsed = NowMilliseconds() - start;
    control->Stop();
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 9;
    if (runs < 1) {
        runs = 9;
    }
    std::wstring media = argc > 2 ? argv[2] : BenchExeFolder() + L"\\..\\test-media";
    std::wstring folder = MakeTempFolder(L"zephlo-open-bench-");
    if (folder.empty() || FAILED(CoInitialize(nullptr))) {
        std::fwprintf(stderr, L"cannot prepare\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    auto app = std::make_unique<App>();
    if (!CreatePlayer(*app, folder)) {
        std::fwprintf(stderr, L"cannot create the main window\n");
        return 1;
    }
    int status = 0;
    std::wprintf(
        L"open to playing, median of %d runs (bare graph: RenderFile, Run, until State_Running)\n",
        runs);
    for (const wchar_t* name : {L"tone.mp3", L"av.avi"}) {
        std::wstring path = media + L"\\" + name;
        // One unmeasured round each loads the decoders.
        TimeBareGraph(path);
        TimePlayer(*app, path);
        std::vector<double> bare;
        std::vector<double> player;
        for (int i = 0; i < runs; ++i) {
            bare.push_back(TimeBareGraph(path));
            player.push_back(TimePlayer(*app, path));
            if (bare.back() < 0 || player.back() < 0) {
                std::fwprintf(stderr, L"%ls: a run failed\n", name);
                status = 1;
                break;
            }
        }
        double ratio = Median(player) / Median(bare);
        std::wprintf(
            L"%-10ls bare graph %7.1f ms   Zephlo %7.1f ms   ratio %.2f (goal <= %.1f)%ls\n", name,
            Median(bare), Median(player), ratio, kGoal, ratio <= kGoal ? L"" : L"  OVER");
    }
    DestroyWindow(app->window.hwnd);
    Pump();
    RemoveFlatFolder(folder);
    CoUninitialize();
    return status;
}

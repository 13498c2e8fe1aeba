// CPU time of playing a video for ten seconds in the media window, against the
// same ten seconds in a bare filter-graph program. Each side runs in a child
// process of its own (this program started again with "graph" or "window")
// and reports the CPU time it used while playing as its exit code.
//
//   media_window_bench.exe [clip]      default clip: bench_clip.avi beside the program
#include <windows.h>
#include <commctrl.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "media_window/media_window.h"
#include "resources/resource.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr DWORD kPlayMilliseconds = 10'000;
constexpr DWORD kFailed = 0xFFFF'FFFF;

ULONGLONG CpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10'000;
}

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND MakeTopWindow(const wchar_t* title) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Zephlo Bench Window";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, title,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 480,
                                  400, nullptr, nullptr, windowClass.hInstance, nullptr);
    return window;
}

// The baseline: the graph renders the file and plays it in a plain window.
DWORD PlayInBareGraph(const wchar_t* clip) {
    HWND window = MakeTopWindow(L"graph");
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&graph))) ||
        FAILED(graph->RenderFile(clip, nullptr)) || FAILED(graph.As(&control))) {
        return kFailed;
    }
    // MinGW's headers give IVideoWindow no __uuidof: ask by its IID.
    ComPtr<IVideoWindow> video;
    if (SUCCEEDED(graph->QueryInterface(IID_IVideoWindow,
                                        reinterpret_cast<void**>(video.GetAddressOf())))) {
        video->put_Owner(reinterpret_cast<OAHWND>(window));
        video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
        video->SetWindowPosition(0, 0, 320, 240);
    }
    ULONGLONG before = CpuMilliseconds();
    control->Run();
    PumpFor(kPlayMilliseconds);
    DWORD used = static_cast<DWORD>(CpuMilliseconds() - before);
    control->Stop();
    if (video) {
        video->put_Visible(OAFALSE);
        video->put_Owner(0);
    }
    DestroyWindow(window);
    return used;
}

DWORD PlayInMediaWindow(const wchar_t* clip) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterMediaWindowClasses(instance)) {
        return kFailed;
    }
    HWND window = MakeTopWindow(L"media window");
    DWORD used = kFailed;
    {
        MediaWindow player;
        RECT client;
        GetClientRect(window, &client);
        if (player.Create(window, ID_MEDIA_WINDOW, instance)) {
            MoveWindow(player.mediaWindow, 0, 0, client.right, client.bottom, TRUE);
            if (player.OpenFile(clip)) {
                ULONGLONG before = CpuMilliseconds();
                SendMessageW(player.mediaWindow, WM_COMMAND, CMD_PLAY, 0);
                PumpFor(kPlayMilliseconds);
                used = static_cast<DWORD>(CpuMilliseconds() - before);
                player.CloseFile();
            }
        }
    }
    DestroyWindow(window);
    return used;
}

DWORD RunChild(const std::wstring& mode, const std::wstring& clip) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + mode + L" \"" + clip + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return kFailed;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kFailed;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::wstring DefaultClip() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"bench_clip.avi";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        DWORD used = std::wcscmp(argv[1], L"graph") == 0 ? PlayInBareGraph(argv[2])
                                                         : PlayInMediaWindow(argv[2]);
        CoUninitialize();
        return static_cast<int>(used);
    }
    std::wstring clip = argc == 2 ? argv[1] : DefaultClip();
    const int rounds = 2;
    ULONGLONG graphTotal = 0;
    ULONGLONG windowTotal = 0;
    for (int round = 0; round < rounds; ++round) {
        DWORD graph = RunChild(L"graph", clip);
        DWORD window = RunChild(L"window", clip);
        if (graph == kFailed || window == kFailed) {
            std::printf("playback failed (is the clip there and a sound device running?)\n");
            return 1;
        }
        std::printf("round %d: bare filter graph %lu ms CPU, media window %lu ms CPU\n", round + 1,
                    static_cast<unsigned long>(graph), static_cast<unsigned long>(window));
        graphTotal += graph;
        windowTotal += window;
    }
    std::printf("CPU time for %lu s of video: bare filter graph %llu ms, media window %llu ms\n",
                static_cast<unsigned long>(kPlayMilliseconds / 1000), graphTotal / rounds,
                windowTotal / rounds);
    std::printf("ratio media window / bare filter graph: %.2f (goal at most 1.30)\n",
                graphTotal > 0 ? static_cast<double>(windowTotal) / graphTotal : 0.0);
    return 0;
}

// Opening and starting files with the DirectShow back-end against a bare filter
// graph (CoCreateInstance, RenderFile, Run) in the same process and run.
//
// Run inside a Wine session (the test media come from the zephlo_test_media
// target):
//   export ZEPHLO_BUILD=$PWD/build ZEPHLO_HEADLESS=1
//   source scripts/wine-session.sh && wine_session_start
//   cmake --build build --target directshow_bench
//   wine build/bench/directshow_bench.exe [media folder] [rounds]
//   wine_session_stop
// For every file it prints the median time of Open and of Open until the
// Playing notification, beside the bare graph's RenderFile and RenderFile+Run,
// and their ratios (goal: at most 1.2).
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "media/directshow_media.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kParentClass[] = L"Zephlo Bench Canvas";
bool g_playing = false;

LRESULT CALLBACK ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMediaNotify && wParam == kMediaStateChanged && lParam == Playing) {
        g_playing = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

struct Times {
    std::vector<double> open;
    std::vector<double> started;
};

// The bare graph: render, then run, then release.
bool BareGraph(const std::wstring& path, Times& times) {
    double begin = NowMilliseconds();
    ComPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph.GetAddressOf()))) ||
        FAILED(graph->RenderFile(path.c_str(), nullptr))) {
        return false;
    }
    times.open.push_back(NowMilliseconds() - begin);
    ComPtr<IMediaControl> control;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.GetAddressOf()));
    control->Run();
    times.started.push_back(NowMilliseconds() - begin);
    control->Stop();
    return true;
}

bool BackEnd(DirectShowMedia& media, const std::wstring& path, Times& times) {
    g_playing = false;
    double begin = NowMilliseconds();
    if (!media.Open(path.c_str())) {
        return false;
    }
    times.open.push_back(NowMilliseconds() - begin);
    media.Play();
    while (!g_playing && NowMilliseconds() - begin < 10000) {
        Pump();
    }
    times.started.push_back(NowMilliseconds() - begin);
    media.Close();
    Pump();
    return true;
}

std::wstring DefaultMediaFolder() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder = folder.substr(0, folder.rfind(L'\\'));
    return folder.substr(0, folder.rfind(L'\\')) + L"\\test-media";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring folder = argc > 1 ? argv[1] : DefaultMediaFolder();
    int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kParentClass;
    RegisterClassW(&windowClass);
    HWND parent = CreateWindowExW(0, kParentClass, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  480, 360, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    DirectShowMedia media;
    if (!media.CreateForm(parent, 0, GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "no form window\n");
        return 1;
    }

    std::printf("%d rounds, median ms    %9s %9s %6s   %9s %9s %6s\n", rounds, "Open", "bare",
                "ratio", "to play", "bare", "ratio");
    const wchar_t* names[] = {L"tone.wav", L"tone.mp3", L"av.avi", L"red.avi", L"video.mpg"};
    int status = 0;
    for (const wchar_t* name : names) {
        std::wstring path = folder + L"\\" + name;
        Times bare;
        Times ours;
        // One untimed round of each loads the decoders.
        Times warm;
        if (!BareGraph(path, warm) || !BackEnd(media, path, warm)) {
            std::printf("%-22ls cannot be played\n", name);
            status = 1;
            continue;
        }
        for (int round = 0; round < rounds; ++round) {
            BareGraph(path, bare);
            BackEnd(media, path, ours);
        }
        double open = Median(ours.open);
        double bareOpen = Median(bare.open);
        double started = Median(ours.started);
        double bareStarted = Median(bare.started);
        std::printf("%-22ls %9.1f %9.1f %6.2f   %9.1f %9.1f %6.2f\n", name, open, bareOpen,
                    bareOpen > 0 ? open / bareOpen : 0, started, bareStarted,
                    bareStarted > 0 ? started / bareStarted : 0);
    }
    media.DestroyForm();
    DestroyWindow(parent);
    CoUninitialize();
    return status;
}

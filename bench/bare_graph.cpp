// The baseline player of the launch-to-sound benchmark: a bare filter graph
// that opens one file (RenderFile), runs it and waits for its end. It writes
// the clock reading (milliseconds of the performance counter, shared by every
// process) taken just before opening to the result file, so that the
// benchmark can tell its open-to-running time from the first sound it hears.
// Usage: bare_graph <media file> <result file>
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "bench_support.h"

using Microsoft::WRL::ComPtr;

namespace {

int Play(const wchar_t* media, const wchar_t* result) {
    const double opening = NowMilliseconds();
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&graph))) ||
        FAILED(graph->RenderFile(media, nullptr)) || FAILED(graph.As(&control)) ||
        FAILED(graph->QueryInterface(IID_IMediaEvent,
                                     reinterpret_cast<void**>(events.GetAddressOf()))) ||
        FAILED(control->Run())) {
        return 1;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f\n", opening);
    if (!WriteFileBytes(result, text)) {
        return 1;
    }
    long code = 0;
    events->WaitForCompletion(10000, &code);
    control->Stop();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || FAILED(CoInitialize(nullptr))) {
        return 2;
    }
    int exitCode = Play(argv[1], argv[2]);
    CoUninitialize();
    return exitCode;
}

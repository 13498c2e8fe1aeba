// Soak of opening and closing (not part of the test run; scripts/soak-open-close.sh
// runs it): the main window made in this process as start-up makes it, then
// audio and video files opened, played a moment and closed through the real
// back-end, CYCLES times. The process's kernel handles (by type), threads,
// GDI objects, windows and memory are taken after a warm-up and every 100
// cycles; they must stay flat.
//
// The platform's own counters (GetGuiResources, GetProcessHandleCount, the
// private bytes of GetProcessMemoryInfo) answer 0 under Wine, so the figures
// come from the system's handle and thread lists, a sweep of the GDI handle
// values, the windows of this process and the host's account of the
// process's memory (resident, and of that the anonymous part: the heaps).
// What the platform's filter graph itself leaves behind with each file it
// plays (handles, threads, memory) is measured first on bare graphs in the
// same process, and only what the player holds beyond it counts.
//
// Usage: open_close_soak [CYCLES]     Exit code 0 when everything stayed flat.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <dshow.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/open_media.h"
#include "e2e/player.h"
#include "media_test_support.h"

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t* const kFiles[] = {L"tone.wav", L"av.avi", L"tone.mp3", L"red.avi", L"video.mpg"};
constexpr int kFileCount = 5;

using HandleTypes = std::map<std::wstring, long>;

struct Figures {
    HandleTypes handles;
    long threads = 0;
    long gdiObjects = 0;
    long windows = 0;
    long residentKiB = 0;   // VmRSS
    long anonymousKiB = 0;  // RssAnon
};

long Total(const HandleTypes& types) {
    long total = 0;
    for (const auto& [name, count] : types) {
        total += count;
    }
    return total;
}

// The name of a handle's object type.
std::wstring TypeName(HANDLE handle) {
    using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
    struct Name {
        USHORT length;
        USHORT maximum;
        wchar_t* text;
    };
    constexpr ULONG kTypeInformation = 2;
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    alignas(8) char buffer[1024] = {};
    if (query == nullptr || query(handle, kTypeInformation, buffer, sizeof buffer, nullptr) != 0) {
        return L"?";
    }
    const auto* name = reinterpret_cast<const Name*>(buffer);
    return std::wstring(name->text, name->length / sizeof(wchar_t));
}

// The handles of this process in the system's handle list, by object type.
HandleTypes KernelHandles() {
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    struct Entry {
        void* object;
        ULONG_PTR processId;
        ULONG_PTR value;
        ULONG access;
        USHORT backTrace;
        USHORT type;
        ULONG attributes;
        ULONG reserved;
    };
    struct List {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    constexpr ULONG kExtendedHandleInformation = 64;
    static std::map<USHORT, std::wstring> names;
    HandleTypes types;
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return types;
    }
    std::vector<char> buffer(1 << 20);
    LONG status;
    while ((status = query(kExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), nullptr)) ==
           static_cast<LONG>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return types;
    }
    const auto* list = reinterpret_cast<const List*>(buffer.data());
    for (ULONG_PTR i = 0; i < list->count; ++i) {
        const Entry& entry = list->entries[i];
        if (entry.processId != GetCurrentProcessId()) {
            continue;
        }
        auto name = names.find(entry.type);
        if (name == names.end()) {
            name = names.emplace(entry.type, TypeName(reinterpret_cast<HANDLE>(entry.value))).first;
        }
        ++types[name->second];
    }
    return types;
}

// Live GDI objects: Wine takes a handle value without its generation bits.
long GdiObjects() {
    long count = 0;
    for (ULONG_PTR value = 1; value < 0x10000; ++value) {
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0 ? 1 : 0;
    }
    return count;
}

long Threads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    long count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) {
        ++*reinterpret_cast<long*>(count);
        EnumChildWindows(window, CountChild, count);
    }
    return TRUE;
}

long Windows() {
    long count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A "Name:   123 kB" line of the host's status of this process.
long StatusKiB(const std::string& status, const char* name) {
    std::size_t at = status.find(name);
    return at == std::string::npos ? -1 : std::atol(status.c_str() + at + std::strlen(name) + 1);
}

Figures Take() {
    Figures figures;
    figures.handles = KernelHandles();
    figures.threads = Threads();
    figures.gdiObjects = GdiObjects();
    figures.windows = Windows();
    // The host's status of this process: of the host processes whose command
    // line names this program (the launcher among them), the largest. A file
    // this process opened itself would be opened by the wine server.
    const std::string file = HostTempPath(".status");
    HostCommand read(
        "for p in $(pgrep -f 'open_close_soa[k].exe'); do "
        "awk -v p=$p '/^VmRSS/ {print $2, p}' /proc/$p/status; done | sort -n | "
        "tail -1 | while read size p; do grep -E '^(VmRSS|RssAnon):' "
        "/proc/$p/status; done > " +
        file);
    read.Wait(20000);
    const std::wstring path = WindowsPathOfHostPath(file);
    std::string status = ReadBytes(path);
    DeleteFileW(path.c_str());
    figures.residentKiB = StatusKiB(status, "VmRSS:");
    figures.anonymousKiB = StatusKiB(status, "RssAnon:");
    return figures;
}

void Print(int cycle, const Figures& f) {
    std::printf(
        "soak: cycle %4d: %ld handles, %ld threads, %ld GDI objects, %ld windows, %ld KiB "
        "resident (%ld KiB anonymous)\n",
        cycle, Total(f.handles), f.threads, f.gdiObjects, f.windows, f.residentKiB, f.anonymousKiB);
    std::fflush(stdout);
}

// The largest of each figure seen.
struct Peaks {
    long handles = 0;
    long threads = 0;
    long gdiObjects = 0;
    long windows = 0;
    long residentKiB = 0;
    long anonymousKiB = 0;

    void Add(const Figures& f) {
        handles = std::max(handles, Total(f.handles));
        threads = std::max(threads, f.threads);
        gdiObjects = std::max(gdiObjects, f.gdiObjects);
        windows = std::max(windows, f.windows);
        residentKiB = std::max(residentKiB, f.residentKiB);
        anonymousKiB = std::max(anonymousKiB, f.anonymousKiB);
    }
};

// What the platform's filter graph leaves behind per file it plays.
struct Leftovers {
    std::map<std::wstring, double> handles;  // by type
    double threads = 0;
    double anonymousKiB = 0;
};

// A file played on a bare filter graph, built with the platform's calls
// alone as the back-end builds it under Wine (the GDI video renderer, kept
// only when connected; a system clock kept from graph to graph): rendered,
// run until its position moves (or a moment passes), stopped and let go of.
void PlayOnBareGraph(const wchar_t* name, IReferenceClock* clock) {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> renderer;
    ComPtr<IMediaFilter> filter;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaSeeking> seeking;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph.GetAddressOf()))) ||
        FAILED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(renderer.GetAddressOf()))) ||
        FAILED(graph->AddFilter(renderer.Get(), L"Video Renderer")) ||
        FAILED(graph->RenderFile(TestMedia(name).c_str(), nullptr)) || FAILED(graph.As(&filter)) ||
        FAILED(graph.As(&control)) || FAILED(graph.As(&seeking))) {
        return;
    }
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    ComPtr<IPin> other;
    bool connected = false;
    if (SUCCEEDED(renderer->EnumPins(&pins))) {
        while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            connected = connected || SUCCEEDED(pin->ConnectedTo(other.ReleaseAndGetAddressOf()));
        }
    }
    if (!connected) {
        graph->RemoveFilter(renderer.Get());
    }
    filter->SetSyncSource(clock);
    control->Run();
    PumpUntil(
        [&] {
            LONGLONG position = 0;
            return SUCCEEDED(seeking->GetCurrentPosition(&position)) && position > 0;
        },
        2000);
    control->Stop();
    filter->SetSyncSource(nullptr);
}

// The clock is kept for the rest of the run: its end is the back-end's.
Leftovers BareGraphLeftovers(int plays) {
    ComPtr<IReferenceClock> clock;
    CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                     reinterpret_cast<void**>(clock.GetAddressOf()));
    for (int i = 0; i < kFileCount; ++i) {
        PlayOnBareGraph(kFiles[i], clock.Get());
        PumpMessages(10);
    }
    const Figures before = Take();
    for (int i = 0; i < plays; ++i) {
        PlayOnBareGraph(kFiles[i % kFileCount], clock.Get());
        PumpMessages(10);
    }
    const Figures after = Take();
    static_cast<void>(clock.Detach());
    Leftovers perPlay;
    for (const auto& [name, count] : after.handles) {
        auto was = before.handles.find(name);
        const long grown = count - (was == before.handles.end() ? 0 : was->second);
        if (grown > 0) {
            perPlay.handles[name] = static_cast<double>(grown) / plays;
        }
    }
    perPlay.threads = std::max(0.0, static_cast<double>(after.threads - before.threads) / plays);
    perPlay.anonymousKiB =
        std::max(0.0, static_cast<double>(after.anonymousKiB - before.anonymousKiB) / plays);
    return perPlay;
}

// The handle types that grew from one figure to another, as "+N Type, ...".
std::string GrownTypes(const Figures& from, const Figures& to) {
    std::string grown;
    for (const auto& [name, count] : to.handles) {
        auto was = from.handles.find(name);
        const long change = count - (was == from.handles.end() ? 0 : was->second);
        if (change != 0) {
            grown += (grown.empty() ? "" : ", ") + std::to_string(change) + " " + ToUtf8(name);
        }
    }
    return grown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int cycles = argc > 1 ? _wtoi(argv[1]) : 1000;
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                          ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    constexpr int kBarePlays = 100;
    const Leftovers leftovers = BareGraphLeftovers(kBarePlays);
    for (const auto& [name, perPlay] : leftovers.handles) {
        std::printf("soak: a bare filter graph leaves %.2f handles of type %s per file played\n",
                    perPlay, ToUtf8(name).c_str());
    }
    std::printf("soak: a bare filter graph leaves %.2f threads and %.0f KiB per file played\n",
                leftovers.threads, leftovers.anonymousKiB);

    TempFolder folder;
    auto app = std::make_unique<App>();
    app->settingsLocation.path = folder / L"Zephlo.ini";
    WriteBytes(app->settingsLocation.path, "[Settings]\r\n");
    app->settings.playOnOpen = true;
    app->instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClasses(app->instance)) {
        return 2;
    }
    app->mainMenu.reset(LoadMenuW(app->instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    if (!CreateMainWindow(*app)) {
        return 2;
    }
    ShowWindow(app->window.hwnd, SW_SHOWNORMAL);
    RestoreMainWindowState(*app);
    FinishStartUp(*app);

    constexpr int kWarmUp = 50;
    Figures warm;
    Figures half;
    Peaks peak;
    int failures = 0;
    for (int cycle = 1; cycle <= kWarmUp + cycles; ++cycle) {
        const std::wstring path = TestMedia(kFiles[cycle % kFileCount]);
        if (!OpenMedia(*app, path, false)) {
            ++failures;
            std::fprintf(stderr, "soak: cycle %d: %ls did not open\n", cycle, path.c_str());
        }
        // Played until the position moves (or a moment passes), then closed.
        PumpUntil([&] { return app->IsOpen() && app->media()->media->GetPosition() > 0; }, 2000);
        CloseMedia(*app);
        PumpMessages(10);
        const int counted = cycle - kWarmUp;
        if (counted == 0) {
            warm = Take();
            peak.Add(warm);
            Print(0, warm);
        } else if (counted > 0 && counted % 100 == 0) {
            const Figures now = Take();
            peak.Add(now);
            Print(counted, now);
            std::printf("soak:   handles since the warm-up: %s\n", GrownTypes(warm, now).c_str());
        }
        if (counted == cycles / 2) {
            half = Take();
        }
    }
    const Figures end = Take();
    peak.Add(end);
    DestroyWindow(app->window.hwnd);
    FinishAfterMessageLoop(*app);
    app.reset();
    CoUninitialize();

    // Handles: of each type, what grew beyond the platform's own leftovers of
    // as many plays.
    long beyond = 0;
    for (const auto& [name, count] : end.handles) {
        auto was = warm.handles.find(name);
        const long grown = count - (was == warm.handles.end() ? 0 : was->second);
        auto leftover = leftovers.handles.find(name);
        const double expected = leftover == leftovers.handles.end()
                                    ? 0.0
                                    : leftover->second * static_cast<double>(cycles);
        if (grown != 0) {
            std::printf("soak: handles of type %s: %+ld (the bare graphs' leftovers: %+.0f)\n",
                        ToUtf8(name).c_str(), grown, expected);
        }
        beyond += std::max(0L, grown - static_cast<long>(expected + 0.5));
    }
    // Flat: no handle, thread, GDI object or window beyond the platform's
    // leftovers, and the memory grows no more in the second half than the
    // platform's leftovers and a few pages of its caches.
    const double threadsAllowed = leftovers.threads * cycles + 2;
    const double memoryAllowed = leftovers.anonymousKiB * (cycles - cycles / 2) + 4096;
    const bool flat = beyond <= 8 && end.threads <= warm.threads + threadsAllowed &&
                      end.gdiObjects <= warm.gdiObjects + 2 && end.windows <= warm.windows &&
                      end.anonymousKiB <= half.anonymousKiB + memoryAllowed;
    std::printf(
        "soak: %d cycles after %d to warm up, %d failed opens; from the warm-up to the "
        "end: handles %+ld (%+ld beyond the platform's leftovers), threads %+ld, GDI objects "
        "%+ld, windows %+ld, resident %+ld KiB (anonymous %+ld KiB; %+ld KiB in the second "
        "half, %.0f allowed): %s\n",
        cycles, kWarmUp, failures, Total(end.handles) - Total(warm.handles), beyond,
        end.threads - warm.threads, end.gdiObjects - warm.gdiObjects, end.windows - warm.windows,
        end.residentKiB - warm.residentKiB, end.anonymousKiB - warm.anonymousKiB,
        end.anonymousKiB - half.anonymousKiB, memoryAllowed, flat ? "flat" : "GROWING");
    std::printf(
        "soak: peaks: %ld handles, %ld threads, %ld GDI objects, %ld windows, %ld KiB resident "
        "(%ld KiB anonymous)\n",
        peak.handles, peak.threads, peak.gdiObjects, peak.windows, peak.residentKiB,
        peak.anonymousKiB);
    return flat && failures == 0 ? 0 : 1;
}

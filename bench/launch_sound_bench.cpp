// Launch to sound: from starting Zephlo.exe with a media file on its command
// line ("PlayOnOpen" on) to the first sound reaching the sound device, against
// the sum of two baselines measured in the same run, alternated with it:
//   bare window = from CreateProcess of a minimal window program to its
//                 window being visible;
//   bare graph  = in a fresh process, a bare filter graph's RenderFile and Run,
//                 from just before RenderFile to the first sound.
// Sound is heard by recording the default capture device, which in the
// project's Wine session is the null sink's monitor ("cap.monitor"): whatever
// any program plays comes back here, and the first loud sample is timed.
// Run inside a Wine session (see README, Benchmarks):
//   wine build/bench/launch_sound_bench.exe [runs (default 7)]
// Each file (a WAV and an MP3 of a 440 Hz tone) is measured on its own: with
// several files on its command line the player queues them in the playlist
// and plays none.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr DWORD kTimeoutMilliseconds = 20000;
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 441;  // 10 ms
constexpr int kBuffers = 32;
// A sample beyond this is sound: the null sink records digital silence as 0,
// and the tone (amplitude 1/8) comes through the player's volume at about 1400.
constexpr int kLoud = 100;

// Records the capture device continuously into a ring of small buffers.
class SoundWatch {
public:
    SoundWatch() = default;
    ~SoundWatch() {
        if (device_ != nullptr) {
            waveInReset(device_);
            for (WAVEHDR& header : headers_) {
                waveInUnprepareHeader(device_, &header, sizeof header);
            }
            waveInClose(device_);
        }
    }
    SoundWatch(const SoundWatch&) = delete;
    SoundWatch& operator=(const SoundWatch&) = delete;

    bool Open() {
        WAVEFORMATEX format = {};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = kChannels;
        format.nSamplesPerSec = kRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = kChannels * 2;
        format.nAvgBytesPerSec = kRate * format.nBlockAlign;
        if (waveInOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            device_ = nullptr;
            return false;
        }
        samples_.assign(static_cast<std::size_t>(kBuffers) * kBufferFrames * kChannels, 0);
        headers_.assign(kBuffers, WAVEHDR{});
        for (int i = 0; i < kBuffers; ++i) {
            WAVEHDR& header = headers_[i];
            header.lpData = reinterpret_cast<LPSTR>(
                &samples_[static_cast<std::size_t>(i) * kBufferFrames * kChannels]);
            header.dwBufferLength = kBufferFrames * kChannels * 2;
            if (waveInPrepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR ||
                waveInAddBuffer(device_, &header, sizeof header) != MMSYSERR_NOERROR) {
                return false;
            }
        }
        return waveInStart(device_) == MMSYSERR_NOERROR;
    }

    // Waits until the device has been quiet for 100 ms.
    bool WaitForQuiet() {
        const double start = NowMilliseconds();
        int quietBuffers = 0;
        while (quietBuffers < 10) {
            if (NowMilliseconds() - start > kTimeoutMilliseconds) {
                return false;
            }
            double loudAt = 0;
            int done = Collect(&loudAt);
            if (done < 0) {
                quietBuffers = 0;
            } else {
                quietBuffers += done;
            }
            Sleep(1);
        }
        return true;
    }

    // The time of the first loud sample recorded from now on, or a negative
    // value when none comes within the time-out.
    double WaitForSound() {
        const double start = NowMilliseconds();
        while (NowMilliseconds() - start < kTimeoutMilliseconds) {
            double loudAt = 0;
            if (Collect(&loudAt) < 0) {
                return loudAt;
            }
            Sleep(1);
        }
        return -1;
    }

private:
    // Gives back every finished buffer; the number of quiet ones, or -1 with
    // the estimated time of the first loud sample when one was loud.
    int Collect(double* loudAt) {
        int quiet = 0;
        bool loud = false;
        for (int checked = 0; checked < kBuffers; ++checked) {
            WAVEHDR& header = headers_[next_];
            if ((header.dwFlags & WHDR_DONE) == 0) {
                break;
            }
            const double now = NowMilliseconds();
            const auto* data = reinterpret_cast<const short*>(header.lpData);
            const int frames = static_cast<int>(header.dwBytesRecorded / (kChannels * 2));
            for (int frame = 0; frame < frames && !loud; ++frame) {
                if (std::abs(data[frame * kChannels]) > kLoud) {
                    // The buffer came back just now: its frames end at about now.
                    *loudAt = now - 1000.0 * (frames - frame) / kRate;
                    loud = true;
                }
            }
            if (!loud) {
                ++quiet;
            }
            header.dwFlags &= ~WHDR_DONE;
            waveInAddBuffer(device_, &header, sizeof header);
            next_ = (next_ + 1) % kBuffers;
        }
        return loud ? -1 : quiet;
    }

    HWAVEIN device_ = nullptr;
    std::vector<short> samples_;
    std::vector<WAVEHDR> headers_;
    int next_ = 0;
};

bool Launch(const std::wstring& commandLine, const std::wstring& folder,
            PROCESS_INFORMATION& process) {
    std::wstring text = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    return true;
}

// Closes a process's window (when given) and waits for its end.
bool Finish(PROCESS_INFORMATION& process, HWND window) {
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    bool ended = WaitForSingleObject(process.hProcess, kTimeoutMilliseconds) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    return ended;
}

struct Folders {
    std::wstring bench;   // where the bench programs are
    std::wstring player;  // a copy of Zephlo.exe with its settings
    std::wstring work;    // the media files and the baseline's result file
};

// Start-up of the minimal window program.
double BareWindow(const Folders& folders) {
    PROCESS_INFORMATION process = {};
    const double launched = NowMilliseconds();
    if (!Launch(L"\"" + folders.bench + L"\\minimal_window.exe\"", folders.work, process)) {
        return -1;
    }
    HWND window =
        WaitForProcessWindow(process.hProcess, process.dwProcessId, L"Zephlo Bench Minimal Window",
                             launched, kTimeoutMilliseconds);
    const double shown = NowMilliseconds();
    return Finish(process, window) && window != nullptr ? shown - launched : -1;
}

double ReadNumber(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    char text[64] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    return read > 0 ? std::atof(text) : -1;
}

// A bare filter graph in its own process: from RenderFile to the first sound.
double BareGraph(const Folders& folders, const std::wstring& media, SoundWatch& sound) {
    const std::wstring result = folders.work + L"\\graph-opening.txt";
    DeleteFileW(result.c_str());
    PROCESS_INFORMATION process = {};
    if (!Launch(
            L"\"" + folders.bench + L"\\bare_graph.exe\" \"" + media + L"\" \"" + result + L"\"",
            folders.work, process)) {
        return -1;
    }
    const double heard = sound.WaitForSound();
    const bool ended = Finish(process, nullptr);
    const double opening = ReadNumber(result);
    return ended && heard > 0 && opening > 0 ? heard - opening : -1;
}

// Zephlo.exe with the file on its command line: from CreateProcess to the first sound.
double Player(const Folders& folders, const std::wstring& media, SoundWatch& sound) {
    PROCESS_INFORMATION process = {};
    const double launched = NowMilliseconds();
    if (!Launch(L"\"" + folders.player + L"\\Zephlo.exe\" \"" + media + L"\"", folders.player,
                process)) {
        return -1;
    }
    const double heard = sound.WaitForSound();
    HWND window = WaitForProcessWindow(process.hProcess, process.dwProcessId, L"Zephlo Main Window",
                                       launched, kTimeoutMilliseconds);
    return Finish(process, window) && heard > 0 ? heard - launched : -1;
}

struct Figures {
    std::vector<double> window;
    std::vector<double> graph;
    std::vector<double> player;
};

bool Measure(const Folders& folders, const std::wstring& media, SoundWatch& sound, int runs,
             Figures& figures) {
    // The first round warms the caches and the Wine server; it is not counted.
    for (int round = 0; round <= runs; ++round) {
        if (!sound.WaitForQuiet()) {
            return false;
        }
        double window = BareWindow(folders);
        if (!sound.WaitForQuiet()) {
            return false;
        }
        double graph = BareGraph(folders, media, sound);
        if (!sound.WaitForQuiet()) {
            return false;
        }
        double player = Player(folders, media, sound);
        if (window < 0 || graph < 0 || player < 0) {
            std::fwprintf(stderr, L"run failed: window %.1f graph %.1f player %.1f\n", window,
                          graph, player);
            return false;
        }
        if (round > 0) {
            figures.window.push_back(window);
            figures.graph.push_back(graph);
            figures.player.push_back(player);
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    Folders folders;
    folders.bench = BenchExeFolder();
    const std::wstring build = folders.bench.substr(0, folders.bench.rfind(L'\\'));
    folders.player = MakeTempFolder(L"zephlo-sound-player-");
    folders.work = MakeTempFolder(L"zephlo-sound-work-");
    // No first-run question, no hand-over to another instance, and the file plays once opened.
    bool ok = !folders.player.empty() && !folders.work.empty() &&
              CopyFileW((build + L"\\Zephlo.exe").c_str(),
                        (folders.player + L"\\Zephlo.exe").c_str(), FALSE) &&
              WriteFileBytes(folders.player + L"\\Zephlo.ini",
                             "[Settings]\r\nKeepSingleTask=no\r\nPlayOnOpen=yes\r\n");
    SoundWatch sound;
    if (ok && !sound.Open()) {
        std::fwprintf(stderr, L"cannot record the sound device\n");
        ok = false;
    }
    const wchar_t* files[] = {L"bench_tone.wav", L"bench_tone.mp3"};
    std::vector<Figures> figures(2);
    for (int i = 0; ok && i < 2; ++i) {
        ok = Measure(folders, folders.bench + L"\\" + files[i], sound, runs, figures[i]);
    }
    RemoveFlatFolder(folders.player);
    RemoveFlatFolder(folders.work);
    if (!ok) {
        std::fwprintf(stderr, L"launch-to-sound bench failed\n");
        return 1;
    }
    std::wprintf(L"launch to first sound, medians of %d runs each (ms)\n", runs);
    std::wprintf(L"  %-16ls %12ls %12ls %12ls %12ls %8ls\n", L"file", L"bare window", L"bare graph",
                 L"sum", L"Zephlo", L"ratio");
    for (int i = 0; i < 2; ++i) {
        const double window = Median(figures[i].window);
        const double graph = Median(figures[i].graph);
        const double player = Median(figures[i].player);
        std::wprintf(L"  %-16ls %12.1f %12.1f %12.1f %12.1f %8.2f (goal <= 1.15)\n", files[i],
                     window, graph, window + graph, player, player / (window + graph));
    }
    return 0;
}

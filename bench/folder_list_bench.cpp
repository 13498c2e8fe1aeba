// Builds and sorts the folder file list of generated folders of 10 000 and
// 100 000 files in each order, against a bare directory enumeration with the
// same masks in the same run, and times the lookup of the open file.
// Usage: folder_list_bench.exe [--in parent-folder] [file counts...]
// The folders are made in the parent folder (default: the temporary folder)
// unless they exist; make_bench_folder.py makes them faster from the host.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/handles.h"
#include "bench_support.h"
#include "files/collect_files.h"
#include "files/folder_file_list.h"
#include "base/paths.h"
#include "settings/settings.h"

namespace {

const wchar_t kMasks[] =
    L"*.aif;*.aifc;*.aiff;*.au;*.snd;*.avi;*.mid;*.midi;*.rmi;*.mp2;*.mpa;*.mp3;*.mpg;*.mpe;"
    L"*.mpeg;*.wav;*.wma;*.wmv";
const wchar_t* const kExtensions[] = {L".mp3", L".wav", L".avi", L".mid",
                                      L".wma", L".MP3", L".mpg", L".txt"};
const char* const kOrderNames[] = {"name",      "numbered name", "type",
                                   "extension", "size",          "last write"};

std::wstring TrackName(int i) {
    return L"track " + std::to_wstring(i + 1) + kExtensions[i % 8];
}

// A folder of count files (one in eight matches no mask), made once and kept
// for later runs.
std::wstring PrepareFolder(const std::wstring& parent, int count) {
    std::wstring folder = PathJoin(parent, L"zephlo-bench-folder-" + std::to_wstring(count));
    std::wstring marker = PathJoin(folder, L"ready.marker");
    if (FileExists(marker)) {
        return folder;
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    std::printf("creating %d files...\n", count);
    std::fflush(stdout);
    for (int i = 0; i < count; ++i) {
        std::wstring path = PathJoin(folder, TrackName(i));
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        size.QuadPart = (static_cast<LONGLONG>(i) * 7919) % 100003;
        SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
        SetEndOfFile(file.get());
        FILETIME time{static_cast<DWORD>(i * 2654435761u), 0x01D00000};
        SetFileTime(file.get(), nullptr, nullptr, &time);
    }
    UniqueFile done(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return folder;
}

// The bare cost: every search of the masks, results read and counted only.
int BareEnumeration(const std::wstring& folder, const std::wstring& masks) {
    int found = 0;
    for (const std::wstring& mask : SplitFileMasks(masks)) {
        WIN32_FIND_DATAW data;
        UniqueFind find(FindFirstFileW(PathJoin(folder, mask).c_str(), &data));
        if (!find) {
            continue;
        }
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ++found;
            }
        } while (FindNextFileW(find.get(), &data));
    }
    return found;
}

template <typename Work>
double Best(int runs, Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        double start = NowMilliseconds();
        work();
        best = std::min(best, NowMilliseconds() - start);
    }
    return best;
}

void Measure(const std::wstring& parent, int count) {
    std::wstring folder = PrepareFolder(parent, count);
    const int rounds = count > 20000 ? 3 : 5;
    std::printf(
        "\n== %d files, %d masks; each order %d rounds of bare enumeration then build\n"
        "   (the machine is shared: ratios are per round, the median is shown)\n",
        count, static_cast<int>(SplitFileMasks(kMasks).size()), rounds);
    int found = 0;
    double bareAll = Best(rounds, [&] { BareEnumeration(folder, L"*"); });
    std::printf("bare enumeration, one \"*\": %8.1f ms\n", bareAll);

    for (int order = 0; order < kFolderSortOrderCount; ++order) {
        std::vector<double> bare, total, sort, ratio;
        int listed = 0;
        for (int round = 0; round < rounds; ++round) {
            double start = NowMilliseconds();
            found = BareEnumeration(folder, kMasks);
            bare.push_back(NowMilliseconds() - start);
            start = NowMilliseconds();
            FolderFileList list;
            list.Build(folder, kMasks);
            double sortStart = NowMilliseconds();
            list.Sort(order, false);
            double end = NowMilliseconds();
            sort.push_back(end - sortStart);
            total.push_back(end - start);
            ratio.push_back(total.back() / bare.back());
            listed = list.Count();
        }
        std::printf(
            "%-13s: bare %7.1f ms (%d files), build + sort %7.1f ms (sort %6.1f ms),"
            " ratio %.2f  [%d entries]\n",
            kOrderNames[order], Median(bare), found, Median(total), Median(sort), Median(ratio),
            listed);
    }

    if (count >= 100000) {
        Settings settings;
        settings.fileMasks = kMasks;
        settings.sortType = kSortByNameNumber;
        settings.sortDescending = false;
        FolderFiles files(settings);
        std::wstring last = PathJoin(folder, TrackName(count - 2));
        files.Ensure(last);
        int lookups = 0;
        double worst = 0;
        double sum = 0;
        for (int i = 0; i < 200; ++i) {
            int file = (i * 7907) % (count - 1);
            if (file % 8 == 7) {
                continue;  // a name no mask matches would rebuild the list
            }
            std::wstring current = PathJoin(folder, TrackName(file));
            ++lookups;
            double start = NowMilliseconds();
            int index = files.IndexOfCurrent(current);
            std::wstring next;
            files.PathAt(index + 1, next);
            double elapsed = NowMilliseconds() - start;
            worst = std::max(worst, elapsed);
            sum += elapsed;
        }
        std::printf(
            "lookup (IndexOfCurrent + PathAt): mean %.3f ms, worst %.3f ms (goal < 20 ms)\n",
            sum / lookups, worst);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring parent = temp;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--in" && i + 1 < argc) {
            parent = argv[++i];
        } else {
            counts.push_back(_wtoi(argv[i]));
        }
    }
    if (counts.empty()) {
        counts = {10000, 100000};
    }
    for (int count : counts) {
        Measure(parent, count);
    }
    return 0;
}

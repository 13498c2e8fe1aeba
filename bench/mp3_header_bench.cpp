// ReadMp3FrameInfo on a large file whose Xing header sits at its very end, so
// the search reads the whole file, against reading the same file straight
// through in large blocks (the I/O floor), in the same invocation.
// Usage: mp3_header_bench [megabytes (default 64)] [runs (default 7)]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_support.h"
#include "media/mp3_header.h"

namespace {

// Keeps the byte sums of the straight read alive.
volatile std::uint64_t g_sink = 0;

bool WriteTestFile(const std::wstring& path, std::size_t megabytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<char> block(1 << 20, '\0');
    const char header[] = {'\xFF', '\xFB', '\x90', '\x00'};
    std::copy(header, header + 4, block.begin());
    bool ok = true;
    DWORD written = 0;
    for (std::size_t i = 0; ok && i < megabytes; ++i) {
        ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
        block[0] = block[1] = block[2] = '\0';
    }
    const char xing[] = {'X', 'i', 'n', 'g', 0, 0, 0, 3, 0, 0, 0x03, '\xE8', 0, 0x06, 0x5C, '\xE8'};
    ok = ok && WriteFile(file, xing, sizeof xing, &written, nullptr);
    CloseHandle(file);
    return ok;
}

// Reads the file in 1 MiB blocks and sums the bytes (so nothing is optimised away).
std::uint64_t ReadStraight(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    std::vector<unsigned char> block(1 << 20);
    std::uint64_t sum = 0;
    DWORD read = 0;
    while (ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr) &&
           read > 0) {
        for (DWORD i = 0; i < read; ++i) {
            sum += block[i];
        }
    }
    CloseHandle(file);
    return sum;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int megabytes = argc > 1 ? std::max(1, _wtoi(argv[1])) : 64;
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 7;
    const std::wstring folder = MakeTempFolder(L"zephlo-mp3-bench-");
    const std::wstring path = folder + L"\\late-xing.mp3";
    if (folder.empty() || !WriteTestFile(path, static_cast<std::size_t>(megabytes))) {
        std::fwprintf(stderr, L"cannot write the test file\n");
        RemoveFlatFolder(folder);
        return 1;
    }

    std::vector<double> parseTimes;
    std::vector<double> readTimes;
    std::uint64_t sum = ReadStraight(path);  // warms the file cache
    bool found = true;
    for (int i = 0; i < runs; ++i) {
        double start = NowMilliseconds();
        sum += ReadStraight(path);
        readTimes.push_back(NowMilliseconds() - start);

        Mp3FrameInfo info = {};
        start = NowMilliseconds();
        found = ReadMp3FrameInfo(path, info) && info.frameCount == 1000 && found;
        parseTimes.push_back(NowMilliseconds() - start);
    }
    RemoveFlatFolder(folder);

    const double parse = Median(parseTimes);
    const double read = Median(readTimes);
    std::wprintf(L"MP3 header with the Xing search reading %d MiB, medians of %d runs\n", megabytes,
                 runs);
    std::wprintf(L"  straight read (1 MiB blocks) %9.1f ms   %7.1f MiB/s\n", read,
                 megabytes * 1000.0 / read);
    std::wprintf(L"  ReadMp3FrameInfo             %9.1f ms   %7.1f MiB/s\n", parse,
                 megabytes * 1000.0 / parse);
    std::wprintf(L"  ratio ReadMp3FrameInfo / straight read: %.2f%ls\n", parse / read,
                 found ? L"" : L"  (Xing header NOT found)");
    g_sink = sum;
    return found ? 0 : 1;
}

// Small helpers shared by the benchmarks: a clock, medians, temporary folders.
#ifndef ZEPHLO_BENCH_BENCH_SUPPORT_H
#define ZEPHLO_BENCH_BENCH_SUPPORT_H

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline double NowMilliseconds() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline std::wstring BenchExeFolder() {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

// A fresh folder under the temporary folder; the caller removes it.
inline std::wstring MakeTempFolder(const wchar_t* prefix) {
    wchar_t base[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, base);
    for (unsigned counter = 0;; ++counter) {
        std::wstring folder = std::wstring(base) + prefix + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
}

// Removes the files of a folder (not its subfolders) and the folder.
inline void RemoveFlatFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                DeleteFileW((folder + L"\\" + data.cFileName).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

#endif

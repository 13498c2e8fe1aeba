// Small helpers shared by the benchmarks: a clock, medians, temporary folders,
// files and the windows of started programs.
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

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

struct BenchWindowSearch {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

inline BOOL CALLBACK FindBenchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BenchWindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (processId == search->processId && IsWindowVisible(window) &&
        lstrcmpW(className, search->windowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Polls, every millisecond, for a visible top-level window of the process
// with the class name: the window, or null once the process has ended or
// `timeout` milliseconds have passed since `since` (a NowMilliseconds time).
inline HWND WaitForProcessWindow(HANDLE process, DWORD processId, const wchar_t* windowClass,
                                 double since, double timeout) {
    BenchWindowSearch search{processId, windowClass, nullptr};
    while (search.found == nullptr && NowMilliseconds() - since < timeout &&
           WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindBenchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(1);
        }
    }
    return search.found;
}

#endif

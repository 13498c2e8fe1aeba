// Loading M3U files of 10 000 and 100 000 entries into the playlist window,
// against the platform floor measured in the same run: reading and splitting
// the same file and filling a bare owner-drawn list box with as many rows,
// redrawing off. Prints milliseconds (best of several runs) and the ratio.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "playlist/m3u.h"
#include "files/history_list.h"
#include "playlist/playlist.h"
#include "resources/resource.h"

namespace {

constexpr int kRuns = 5;

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// Paths of a music library: a few hundred folders, several extensions.
bool WriteList(const std::wstring& path, int count) {
    static const char* const kExtensions[] = {".mp3", ".wav", ".wma", ".mid", ".avi", ".mpg"};
    std::string bytes;
    char line[200];
    for (int i = 0; i < count; ++i) {
        int written = std::snprintf(
            line, sizeof line, "C:\\Music\\Artist %03d\\Album %02d\\%02d Track number %d%s\r\n",
            i / 300, (i / 12) % 25, i % 12 + 1, i, kExtensions[i % 6]);
        bytes.append(line, static_cast<std::size_t>(written));
    }
    return WriteM3UFile(path, bytes);
}

// The floor: the same bytes read, converted and split, and one row per line
// added to an owner-drawn list box without strings.
double MeasureFloor(const std::wstring& path, HWND parent, int& rows) {
    double start = NowMilliseconds();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    std::vector<std::wstring> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", at);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > at)
            lines.emplace_back(text, at, end - at);
        at = end + 1;
    }
    HWND list = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 0, 0, 280,
        240, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, lines.size(), 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines[i].c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    double elapsed = NowMilliseconds() - start;
    rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    DestroyWindow(list);
    return elapsed;
}

double MeasurePlaylist(const std::wstring& path, Playlist& playlist, int& rows) {
    playlist.ClearPlaylist();
    double start = NowMilliseconds();
    playlist.LoadM3U(path);
    double elapsed = NowMilliseconds() - start;
    rows = playlist.Count();
    return elapsed;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterPlaylistWindowClass(instance);
    HWND parent = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300,
                                  nullptr, nullptr, instance, nullptr);
    // Both lists are shown, so both pay for drawing their scroll bars.
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    HistoryList recent(CMD_PLAYLIST_HISTORY_FIRST);
    Playlist playlist(recent);
    if (!playlist.CreateWindowFor(instance, parent, true)) {
        std::printf("cannot create the playlist window\n");
        return 1;
    }
    playlist.Show(true);

    std::printf("%-8s %12s %12s %8s\n", "entries", "floor ms", "playlist ms", "ratio");
    for (int count : {10000, 100000}) {
        std::wstring path =
            TempPath(count == 10000 ? L"zephlo-bench-10k.m3u" : L"zephlo-bench-100k.m3u");
        if (!WriteList(path, count)) {
            std::printf("cannot write %d entries\n", count);
            return 1;
        }
        int floorRows = 0;
        int playlistRows = 0;
        // The first load of a list also asks the shell for each extension's icon.
        double floor = MeasureFloor(path, parent, floorRows);
        double loaded = MeasurePlaylist(path, playlist, playlistRows);
        std::printf("%-8d %12.1f %12.1f %7.2fx  first load\n", count, floor, loaded,
                    loaded / floor);
        for (int run = 1; run < kRuns; ++run) {
            floor = std::min(floor, MeasureFloor(path, parent, floorRows));
            loaded = std::min(loaded, MeasurePlaylist(path, playlist, playlistRows));
        }
        std::printf("%-8d %12.1f %12.1f %7.2fx  best of %d%s\n", count, floor, loaded,
                    loaded / floor, kRuns - 1,
                    floorRows == count && playlistRows == count ? "" : "  (row count differs!)");
        DeleteFileW(path.c_str());
    }
    playlist.ClearPlaylist();
    DestroyWindow(parent);
    CoUninitialize();
    return 0;
}

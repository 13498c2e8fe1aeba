// A playlist with its window and a stand-in main window that records what the
// playlist sends it.
#ifndef ZEPHLO_TESTS_PLAYLIST_PLAYLIST_FIXTURE_H
#define ZEPHLO_TESTS_PLAYLIST_PLAYLIST_FIXTURE_H

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/text.h"
#include "playlist/playlist.h"
#include "files/history_list.h"
#include "resources/resource.h"
#include "support/test_support.h"

// Records WM_COMMAND from the playlist window: notification codes, forwarded
// commands, and the entries a main window with single-click opening would open.
class RecordingParent {
public:
    explicit RecordingParent(Playlist& playlist) : playlist_(playlist) {
        RegisterTestWindowClass(L"Playlist Test Parent", Procedure);
        window_ = CreateWindowExW(0, L"Playlist Test Parent", L"parent", WS_OVERLAPPEDWINDOW, 0, 0,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingParent() { DestroyWindow(window_); }

    HWND window() const { return window_; }
    int Count(WORD code) const {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }

    std::vector<WORD> codes;
    std::vector<WORD> forwarded;
    std::vector<int> opened;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingParent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_COMMAND &&
            reinterpret_cast<HWND>(lParam) == self->playlist_.window()) {
            self->Record(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Record(WORD id, WORD code) {
        if (code == 0) {
            forwarded.push_back(id);
            return;
        }
        codes.push_back(code);
        if (code == kPlaylistSelectionChanged && playlist_.SelectionOpensEntry(true)) {
            opened.push_back(playlist_.SelectedIndex());
        } else if (code == kPlaylistOpenSelected) {
            opened.push_back(playlist_.SelectedIndex());
        }
    }

    Playlist& playlist_;
    HWND window_ = nullptr;
};

class PlaylistFixture : public testing::Test {
protected:
    PlaylistFixture() : parent(playlist) {
        static bool initialised = false;
        if (!initialised) {
            INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
            InitCommonControlsEx(&controls);
            CoInitialize(nullptr);
            RegisterPlaylistWindowClass(GetModuleHandleW(nullptr));
            initialised = true;
        }
        created = playlist.CreateWindowFor(GetModuleHandleW(nullptr), parent.window(), true);
    }

    void SetUp() override { ASSERT_TRUE(created); }

    PathList Paths() const {
        PathList paths;
        for (int i = 0; i < playlist.Count(); ++i)
            paths.push_back(playlist.EntryPath(i));
        return paths;
    }
    static std::wstring FormatPath(int i) { return FormatText(L"C:\\Music\\track%03d", i); }
    void Fill(int count) {
        for (int i = 0; i < count; ++i)
            playlist.AddPath(FormatPath(i) + L".mp3");
    }
    bool ButtonEnabled(int command) const {
        return SendMessageW(playlist.toolbar(), TB_ISBUTTONENABLED, command, 0) != 0;
    }

    TempFolder folder;
    std::wstring ini = folder / L"Zephlo.ini";
    HistoryList recentLists{CMD_PLAYLIST_HISTORY_FIRST};
    Playlist playlist{recentLists};
    RecordingParent parent;
    bool created = false;
};

#endif

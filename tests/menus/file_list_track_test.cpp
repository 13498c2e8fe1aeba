#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "app/context_menus.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

// A stand-in main window: it answers the file list's owner-drawn items as
// the main window does, records them, and closes the menu from a timer.
struct OwnerRecord {
    std::vector<UINT> measured;
    int drawn = 0;
};
OwnerRecord g_record;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (MeasureFileListItem(window, item)) {
                g_record.measured.push_back(item.itemID);
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM:
            if (DrawFileListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                ++g_record.drawn;
                return TRUE;
            }
            break;
        case WM_TIMER:
            KillTimer(window, wParam);
            EndMenu();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class FileListTrackTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
            InitCommonControlsEx(&controls);
            CoInitialize(nullptr);
            RegisterPlaylistWindowClass(GetModuleHandleW(nullptr));
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = OwnerProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"Menus Test Owner";
            registered = RegisterClassW(&windowClass) != 0;
        }
        owner_.reset(CreateWindowExW(0, L"Menus Test Owner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0,
                                     300, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                     nullptr));
        ASSERT_TRUE(owner_);
        ShowWindow(owner_.get(), SW_SHOW);
        g_app.mainWindow = owner_.get();
        g_settingsLocation.path = folder_ / L"Zephlo.ini";
        ASSERT_TRUE(g_playlist.CreateWindowFor(GetModuleHandleW(nullptr), owner_.get(), false));
        for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e", L"f"}) {
            g_playlist.AddPath(folder_ / (std::wstring(name) + L".mp3"));
        }
        g_app.fromPlaylist = true;
        g_app.listIndexBase = -7;
        g_settings.maxFileListMenu = 3;
        g_record = OwnerRecord();
    }
    void TearDown() override {
        g_playlist.DestroyPlaylistWindow();
        g_app.fromPlaylist = false;
        g_app.mainWindow = nullptr;
    }

    // Tracks the list of a button; the owner's timer closes it.
    void Track(UINT button) {
        SetTimer(owner_.get(), 1, 300, nullptr);
        ShowFileListMenu(button, 20, 20);
        KillTimer(owner_.get(), 1);
    }

    TempFolder folder_;
    UniqueWindow owner_;
};

TEST_F(FileListTrackTest, PlaylistNeighboursAreMeasuredAndDrawnWhileTheMenuIsUp) {
    g_playlist.SetPlayingIndex(4);
    Track(CMD_PREV_FILE);
    EXPECT_EQ(g_record.measured, (std::vector<UINT>{1000, 1001, 1002, 0}));
    EXPECT_GT(g_record.drawn, 0);
    EXPECT_EQ(g_app.listIndexBase, 4);
    // No session outlives the menu.
    MEASUREITEMSTRUCT item = {ODT_MENU, 0, 1000, 0, 0, 3};
    EXPECT_FALSE(MeasureFileListItem(owner_.get(), item));
}

TEST_F(FileListTrackTest, NoListPastTheEndsOfThePlaylist) {
    g_playlist.SetPlayingIndex(5);
    Track(CMD_NEXT_FILE);
    g_playlist.SetPlayingIndex(0);
    Track(CMD_PREV_FILE);
    EXPECT_TRUE(g_record.measured.empty());
    EXPECT_EQ(g_app.listIndexBase, -7);
}

}  // namespace

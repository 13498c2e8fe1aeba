#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "app/context_menus.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

// A stand-in main window: it answers the owner-drawn items as the main
// window does, records the ids measured and closes the menu once the menu's
// loop has shown it and waits for input (a timer closes it should that never come).
std::vector<UINT> g_measured;
int g_drawn = 0;
App* g_owner = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (message == WM_MEASUREITEM && g_owner != nullptr &&
        MeasureFileListItem(*g_owner, window, *measure)) {
        g_measured.push_back(measure->itemID);
        return TRUE;
    }
    if (message == WM_DRAWITEM && g_owner != nullptr &&
        DrawFileListItem(*g_owner, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) {
        ++g_drawn;
        return TRUE;
    }
    if ((message == WM_ENTERIDLE && wParam == MSGF_MENU) || message == WM_TIMER) {
        EndMenu();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(FileListTrackTest, PlaylistNeighboursAreMeasuredAndDrawnWhileTheMenuIsUp) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterPlaylistWindowClass(GetModuleHandleW(nullptr));
    ASSERT_TRUE(RegisterTestWindowClass(L"Menus Test Owner", OwnerProc));
    UniqueWindow owner(CreateWindowExW(0, L"Menus Test Owner", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                                       200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ShowWindow(owner.get(), SW_SHOW);
    TempFolder folder;
    App app;
    g_owner = &app;
    ASSERT_TRUE(app.playlist.CreateWindowFor(GetModuleHandleW(nullptr), owner.get(), false));
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3", L"d.mp3", L"e.mp3", L"f.mp3"}) {
        app.playlist.AddPath(folder / name);
    }
    app.window.hwnd = owner.get();
    app.window.fromPlaylist = true;
    app.window.listIndexBase = -7;
    app.settings.maxFileListMenu = 3;
    auto track = [&](UINT button, int playing) {
        app.playlist.SetPlayingIndex(playing);
        SetTimer(owner.get(), 1, 10000, nullptr);
        ShowFileListMenu(app, button, 20, 20);
        KillTimer(owner.get(), 1);
    };
    track(CMD_NEXT_FILE, 5);  // the last entry has no next
    track(CMD_PREV_FILE, 0);
    EXPECT_TRUE(g_measured.empty());
    EXPECT_EQ(app.window.listIndexBase, -7);
    track(CMD_PREV_FILE, 4);
    EXPECT_EQ(g_measured, (std::vector<UINT>{1000, 1001, 1002, 0}));
    EXPECT_GT(g_drawn, 0);
    EXPECT_EQ(app.window.listIndexBase, 4);
    MEASUREITEMSTRUCT item = {ODT_MENU, 0, 1000, 0, 0, 3};
    EXPECT_FALSE(MeasureFileListItem(app, owner.get(), item));  // nothing outlives the menu
    app.playlist.DestroyPlaylistWindow();
    app.window.hwnd = nullptr;
    g_owner = nullptr;
}

}  // namespace

// Mouse, keys and commands of the playlist window, sent as the system would.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>

#include "playlist_fixture.h"
#include "resources/resource.h"

namespace {

class PlaylistWindowTest : public PlaylistFixture {
protected:
    void SetUp() override {
        PlaylistFixture::SetUp();
        SetWindowPos(playlist.window(), nullptr, 0, 0, 300, 400, SWP_NOZORDER | SWP_NOACTIVATE);
        playlist.Show(true);
        Fill(8);
        PumpMessages(20);
    }

    HWND list() const { return playlist.listBox(); }
    int RowY(int row) const { return row * playlist.itemHeight() + playlist.itemHeight() / 2; }
    int BoundaryY(int boundary) const { return boundary * playlist.itemHeight(); }

    void Press(int y) { SendMessageW(list(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y)); }
    void MoveTo(int y) { SendMessageW(list(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, y)); }
    void Release(int y) { SendMessageW(list(), WM_LBUTTONUP, 0, MAKELPARAM(10, y)); }
    void Drag(int fromRow, int toY) {
        Press(RowY(fromRow));
        MoveTo(toY);
        Release(toY);
    }
};

TEST_F(PlaylistWindowTest, DropOntoItselfOrTheBoundaryAfterMovesNothing) {
    PathList before = Paths();
    for (int y : {RowY(3), BoundaryY(3), BoundaryY(4), BoundaryY(4) - 1}) {
        Press(RowY(3));
        MoveTo(y);
        EXPECT_EQ(playlist.dropMark(), -1) << y;
        Release(y);
        EXPECT_EQ(Paths(), before) << y;
    }
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PlaylistWindowTest, DropMovesTheRowToTheBoundary) {
    PathList expected = Paths();
    playlist.SetPlayingIndex(5);
    Drag(1, BoundaryY(6));  // between rows 5 and 6: lands after the playing row
    std::wstring moved = expected[1];
    expected.erase(expected.begin() + 1);
    expected.insert(expected.begin() + 5, moved);
    EXPECT_EQ(Paths(), expected);
    EXPECT_EQ(playlist.SelectedIndex(), 5);
    EXPECT_EQ(playlist.playingIndex(), 4);

    Drag(5, BoundaryY(0));
    EXPECT_EQ(playlist.EntryPath(0), moved);
    EXPECT_EQ(playlist.playingIndex(), 5);
}

TEST_F(PlaylistWindowTest, DropBelowTheLastRowMovesToTheEnd) {
    std::wstring first = playlist.EntryPath(0);
    RECT client;
    GetClientRect(list(), &client);
    ASSERT_GT(client.bottom, BoundaryY(9));
    Drag(0, client.bottom - 2);
    EXPECT_EQ(playlist.EntryPath(7), first);
}

TEST_F(PlaylistWindowTest, ReleasingOutsideTheListOrCancellingMovesNothing) {
    PathList before = Paths();
    Drag(2, -5);
    EXPECT_EQ(Paths(), before);
    Press(RowY(2));
    MoveTo(BoundaryY(6));
    EXPECT_EQ(playlist.dropMark(), 6);
    SendMessageW(list(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, BoundaryY(6)));
    EXPECT_EQ(playlist.dropMark(), -1);
    EXPECT_EQ(GetCapture(), nullptr);
    Release(BoundaryY(6));
    EXPECT_EQ(Paths(), before);
}

TEST_F(PlaylistWindowTest, HoldingAboveTheListScrollsUpEvery100Milliseconds) {
    for (int i = 0; i < 40; ++i)
        playlist.AddPath(FormatPath(100 + i) + L".wav");
    SendMessageW(list(), LB_SETTOPINDEX, 10, 0);
    int top = static_cast<int>(SendMessageW(list(), LB_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 3);
    Press(RowY(0));
    MoveTo(-10);
    EXPECT_TRUE(
        PumpUntil([&] { return SendMessageW(list(), LB_GETTOPINDEX, 0, 0) <= top - 2; }, 2000));
    Release(-10);
    PumpMessages(250);
    int stopped = static_cast<int>(SendMessageW(list(), LB_GETTOPINDEX, 0, 0));
    PumpMessages(250);
    EXPECT_EQ(SendMessageW(list(), LB_GETTOPINDEX, 0, 0), stopped) << "timer ends with the drag";
}

TEST_F(PlaylistWindowTest, ClickSelectsAndNotifiesOnlyOnChange) {
    Press(RowY(2));
    Release(RowY(2));
    Press(RowY(2));
    Release(RowY(2));
    EXPECT_EQ(playlist.SelectedIndex(), 2);
    EXPECT_EQ(parent.Count(kPlaylistSelectionChanged), 1);
    Press(BoundaryY(20));  // below the last row
    Release(BoundaryY(20));
    EXPECT_EQ(playlist.SelectedIndex(), 2);
    SendMessageW(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, RowY(4)));
    Release(RowY(4));
    EXPECT_EQ(parent.Count(kPlaylistOpenSelected), 1);
    EXPECT_EQ(parent.opened.back(), 4);
}

TEST_F(PlaylistWindowTest, ClickOnThePlayingEntryDoesNotReopenIt) {
    playlist.SetPlayingIndex(3);
    playlist.SelectRow(0);
    Press(RowY(3));
    Release(RowY(3));
    EXPECT_EQ(parent.Count(kPlaylistSelectionChanged), 1);
    EXPECT_TRUE(parent.opened.empty());
    Press(RowY(5));
    Release(RowY(5));
    EXPECT_EQ(parent.opened, std::vector<int>{5});
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(PlaylistWindowTest, RightClickSelectsWithoutOpening) {
    playlist.SetPlayingIndex(0);
    SetTimer(nullptr, 0, 100, CloseMenu);
    SendMessageW(list(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, RowY(6)));
    EXPECT_EQ(playlist.SelectedIndex(), 6);
    EXPECT_TRUE(parent.codes.empty());
    EXPECT_TRUE(parent.opened.empty());
    EXPECT_TRUE(ButtonEnabled(CMD_MOVE_UP));
}

TEST_F(PlaylistWindowTest, EnterOpensAndDeleteRemoves) {
    playlist.SelectRow(1);
    std::wstring second = playlist.EntryPath(2);
    SendMessageW(list(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(parent.opened, std::vector<int>{1});
    SendMessageW(list(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(playlist.Count(), 7);
    EXPECT_EQ(playlist.EntryPath(1), second);
    playlist.SelectRow(-1);
    SendMessageW(list(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(playlist.Count(), 7);
    // Arrow keys keep the list box's own behaviour, which reports the change.
    playlist.SelectRow(0);
    SendMessageW(list(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(playlist.SelectedIndex(), 1);
    EXPECT_EQ(parent.Count(kPlaylistSelectionChanged), 1);
}

TEST_F(PlaylistWindowTest, CommandsAndCloseBox) {
    SendMessageW(playlist.window(), WM_COMMAND, CMD_OPEN_PLAYLIST, 0);
    SendMessageW(playlist.window(), WM_COMMAND, CMD_ADD_FILES, 0);
    EXPECT_EQ(parent.forwarded, (std::vector<WORD>{CMD_OPEN_PLAYLIST, CMD_ADD_FILES}));
    playlist.SelectRow(2);
    SendMessageW(playlist.window(), WM_COMMAND, CMD_PLAY_SELECTED, 0);
    EXPECT_EQ(parent.opened, std::vector<int>{2});
    SendMessageW(playlist.window(), WM_COMMAND, CMD_REMOVE_FROM_PLAYLIST, 0);
    EXPECT_EQ(playlist.Count(), 7);
    SendMessageW(playlist.window(), WM_COMMAND, CMD_CLEAR_PLAYLIST, 0);
    EXPECT_EQ(playlist.Count(), 0);

    SendMessageW(playlist.window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(playlist.IsVisible());
    EXPECT_EQ(parent.Count(kPlaylistHideRequested), 1);
}

TEST_F(PlaylistWindowTest, ScrollIntoViewBringsRowsIntoSight) {
    for (int i = 0; i < 60; ++i)
        playlist.AddPath(FormatPath(200 + i) + L".mp3");
    playlist.ScrollIntoView(50);
    RECT client;
    GetClientRect(list(), &client);
    int visible = client.bottom / playlist.itemHeight();
    EXPECT_EQ(SendMessageW(list(), LB_GETTOPINDEX, 0, 0), 50 - visible + 1);
    playlist.ScrollIntoView(3);
    EXPECT_EQ(SendMessageW(list(), LB_GETTOPINDEX, 0, 0), 3);
}

TEST_F(PlaylistWindowTest, PaintingTheRowsLeaksNothing) {
    playlist.SetPlayingIndex(2);
    playlist.SelectRow(3);
    DWORD gdi = GdiObjectCount();
    for (int i = 0; i < 20; ++i) {
        PlaylistColours colours;
        colours.background = RGB(i, 0, 0);
        playlist.SetColours(colours);
        RedrawWindow(list(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_LE(GdiObjectCount(), gdi + 2);
    EXPECT_TRUE(playlist.RebuildToolbar(ToolbarImages{}));
    EXPECT_TRUE(ButtonEnabled(CMD_SAVE_PLAYLIST));
}

}  // namespace

namespace {

// An HDROP as the shell hands it over: DROPFILES and a double-NUL-ended list.
HGLOBAL MakeDrop(const PathList& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                 sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST_F(PlaylistWindowTest, DroppedFilesAreAddedInOrder) {
    playlist.ClearPlaylist();
    ASSERT_TRUE(WriteBytes(folder / L"b.mp3", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"a.wav", "x"));
    ASSERT_TRUE(WriteBytes(folder / L"list.m3u", "C:\\from list.mp3\r\n"));
    HGLOBAL drop = MakeDrop({folder / L"b.mp3", folder / L"list.m3u", folder / L"a.wav"});
    SendMessageW(playlist.window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Paths(), (PathList{folder / L"b.mp3", L"C:\\from list.mp3", folder / L"a.wav"}));
}

TEST_F(PlaylistWindowTest, ToolTipsComeFromTheCommandLabels) {
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = playlist.toolbar();
    info.hdr.idFrom = CMD_MOVE_TO_BOTTOM;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(playlist.window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::wstring(info.lpszText), LoadText(CMD_MOVE_TO_BOTTOM + 200));
    EXPECT_FALSE(std::wstring(info.lpszText).empty());
}

// The widest text is measured from cached character widths; it must agree
// with the platform's own measure of the same text.
TEST_F(PlaylistWindowTest, HorizontalExtentMatchesTheMeasuredText) {
    playlist.ClearPlaylist();
    const std::wstring names[] = {L"C:\\m\\WWWW iiii MMMM llll.mp3",
                                  L"C:\\m\\\u97F3\u697D\u30D5\u30A1\u30A4\u30EB.mp3"};
    for (const std::wstring& path : names) {
        playlist.ClearPlaylist();
        playlist.AddPath(path);
        std::wstring text = playlist.EntryDisplayText(0);
        WindowDC dc(playlist.listBox());
        ScopedSelectObject select(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
        SIZE size = {};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        EXPECT_EQ(playlist.horizontalExtent(), size.cx + GetSystemMetrics(SM_CXSMICON) + 3);
    }
}

}  // namespace

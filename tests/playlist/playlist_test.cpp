// The playlist model with its window, in-process: a parent window stands in
// for the main window and records the notifications it receives.
#include "playlist/playlist.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "files/history_list.h"
#include "playlist_fixture.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

using PlaylistModelTest = PlaylistFixture;

// A path made of characters of the system's ANSI code page (not only ASCII).
std::wstring AnsiOnlyName() {
    for (const wchar_t* candidate : {L"\u97F3\u697D", L"\u00E9t\u00E9", L"plain"}) {
        BOOL usedDefault = FALSE;
        char bytes[16];
        if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, candidate, -1, bytes, 16, nullptr,
                                &usedDefault) > 0 &&
            !usedDefault) {
            return candidate;
        }
    }
    return L"plain";
}

TEST_F(PlaylistModelTest, SaveAndLoadKeepAnsiPathsExactly) {
    PathList paths = {L"C:\\Music\\a.mp3", L"D:\\" + AnsiOnlyName() + L"\\b.wav",
                      L"\\\\server\\share\\c.avi"};
    for (const std::wstring& path : paths) {
        ASSERT_TRUE(playlist.AddPath(path));
    }
    std::wstring file = folder / L"list.m3u";
    ASSERT_TRUE(playlist.SaveM3U(file));
    std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "ANSI paths need no UTF-8 form";
    EXPECT_EQ(bytes.substr(0, 17), "C:\\Music\\a.mp3\r\nD");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    playlist.ClearPlaylist();
    ASSERT_TRUE(playlist.LoadM3U(file));
    EXPECT_EQ(Paths(), paths);
}

TEST_F(PlaylistModelTest, PathOutsideTheCodePageSurvivesSaving) {
    const std::wstring odd = L"C:\\M\u0101ori\\\uD55C.mp3";
    ASSERT_TRUE(playlist.AddPath(L"C:\\a.mp3"));
    ASSERT_TRUE(playlist.AddPath(odd));
    std::wstring file = folder / L"odd.m3u";
    ASSERT_TRUE(playlist.SaveM3U(file));
    EXPECT_EQ(ReadBytes(file).compare(0, 3, "\xEF\xBB\xBF"), 0);
    playlist.ClearPlaylist();
    ASSERT_TRUE(playlist.LoadM3U(file));
    EXPECT_EQ(Paths(), (PathList{L"C:\\a.mp3", odd}));
}

TEST_F(PlaylistModelTest, RelativeLinesResolveAgainstTheListsFolder) {
    CreateDirectoryW((folder / L"List").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(folder / L"List\\rel.m3u", ".\\a.mp3\r\n..\\b.mp3\r\nE:\\c.mp3\r\n"));
    ASSERT_TRUE(playlist.LoadM3U(folder / L"List\\rel.m3u"));
    EXPECT_EQ(Paths(), (PathList{folder / L"List\\a.mp3", folder / L"b.mp3", L"E:\\c.mp3"}));
}

TEST_F(PlaylistModelTest, AddPathLoadsM3UAndAcceptsMissingFiles) {
    ASSERT_TRUE(WriteBytes(folder / L"inner.M3U", "x.mp3\r\n"));
    EXPECT_TRUE(playlist.AddPath(L"C:\\does not exist.mp3"));
    EXPECT_TRUE(playlist.AddPath(folder / L"inner.M3U"));
    EXPECT_FALSE(playlist.AddPath(folder / L"absent.m3u"));
    EXPECT_FALSE(playlist.AddPath(L"C:\\" + std::wstring(260, L'a')));
    EXPECT_EQ(Paths(), (PathList{L"C:\\does not exist.mp3", folder / L"x.mp3"}));
    EXPECT_EQ(playlist.FindEntry(L"c:\\DOES NOT exist.MP3"), 0);
    EXPECT_EQ(playlist.FindEntry(L"C:\\other.mp3"), -1);
}

TEST_F(PlaylistModelTest, PlayingIndexFollowsInsertsAndRemovals) {
    Fill(5);
    ASSERT_TRUE(playlist.SetPlayingIndex(2));
    EXPECT_TRUE(playlist.Entry(2)->played);
    EXPECT_FALSE(playlist.SetPlayingIndex(5));
    EXPECT_EQ(playlist.playingIndex(), 2);

    ASSERT_TRUE(playlist.InsertEntry(L"C:\\new.mp3", 0));
    EXPECT_EQ(playlist.playingIndex(), 3);
    ASSERT_TRUE(playlist.InsertEntry(L"C:\\after.mp3", 4));
    EXPECT_EQ(playlist.playingIndex(), 3);
    ASSERT_TRUE(playlist.RemoveEntry(0));
    EXPECT_EQ(playlist.playingIndex(), 2);
    ASSERT_TRUE(playlist.RemoveEntry(4));
    EXPECT_EQ(playlist.playingIndex(), 2);
    EXPECT_EQ(parent.Count(kPlaylistPlayingGone), 0);

    ASSERT_TRUE(playlist.RemoveEntry(2));
    EXPECT_EQ(playlist.playingIndex(), -1);
    EXPECT_EQ(parent.Count(kPlaylistPlayingGone), 1);
    EXPECT_FALSE(playlist.RemoveEntry(10));
}

TEST_F(PlaylistModelTest, ClearingEndsPlaylistModeOnlyWhenSomethingPlayed) {
    Fill(3);
    playlist.ClearPlaylist();
    EXPECT_EQ(parent.Count(kPlaylistPlayingGone), 0);
    Fill(3);
    playlist.SetPlayingIndex(1);
    playlist.ClearPlaylist();
    EXPECT_EQ(playlist.Count(), 0);
    EXPECT_EQ(playlist.playingIndex(), -1);
    EXPECT_EQ(parent.Count(kPlaylistPlayingGone), 1);
    EXPECT_EQ(playlist.horizontalExtent(), 0);
    EXPECT_FALSE(ButtonEnabled(CMD_CLEAR_PLAYLIST));
}

// The four move commands on the playing entry and on its neighbours, through
// the window as the toolbar sends them.
TEST_F(PlaylistModelTest, MoveCommandsKeepThePlayingEntry) {
    struct Case {
        int selected;
        int command;
        int target;
    };
    const Case cases[] = {
        {2, CMD_MOVE_UP, 1},        {2, CMD_MOVE_DOWN, 3},      {2, CMD_MOVE_TO_TOP, 0},
        {2, CMD_MOVE_TO_BOTTOM, 4}, {3, CMD_MOVE_UP, 2},        {1, CMD_MOVE_DOWN, 2},
        {4, CMD_MOVE_TO_TOP, 0},    {0, CMD_MOVE_TO_BOTTOM, 4}, {0, CMD_MOVE_UP, 0},
        {4, CMD_MOVE_DOWN, 4},
    };
    for (const Case& c : cases) {
        playlist.ClearPlaylist();
        Fill(5);
        playlist.SetPlayingIndex(2);
        std::wstring playingPath = playlist.EntryPath(2);
        std::wstring movedPath = playlist.EntryPath(c.selected);
        playlist.SelectRow(c.selected);
        SendMessageW(playlist.window(), WM_COMMAND, c.command, 0);
        EXPECT_EQ(playlist.EntryPath(c.target), movedPath) << c.selected << " " << c.command;
        EXPECT_EQ(playlist.SelectedIndex(), c.target);
        EXPECT_EQ(playlist.EntryPath(playlist.playingIndex()), playingPath)
            << c.selected << " " << c.command;
        EXPECT_EQ(playlist.Count(), 5);
    }
}

TEST_F(PlaylistModelTest, SavedSectionRestoresUpToTheFirstMissingKey) {
    WritePrivateProfileStringW(L"PlaylistFiles", L"FileCount", L"3", ini.c_str());
    WritePrivateProfileStringW(L"PlaylistFiles", L"File0", L"C:\\a.mp3", ini.c_str());
    WritePrivateProfileStringW(L"PlaylistFiles", L"File1", L"C:\\b.mp3", ini.c_str());
    playlist.RestorePlaylistSection(ini);
    EXPECT_EQ(Paths(), (PathList{L"C:\\a.mp3", L"C:\\b.mp3"}));
}

TEST_F(PlaylistModelTest, SavedSectionRoundTripsAndHonoursTheSetting) {
    PathList paths = {L"C:\\a.mp3", L"C:\\\u97F3\u0101.mp3"};
    for (const std::wstring& path : paths)
        playlist.AddPath(path);
    ASSERT_TRUE(playlist.SavePlaylistSection(ini, true));
    playlist.ClearPlaylist();
    playlist.RestorePlaylistSection(ini);
    EXPECT_EQ(Paths(), paths);

    ASSERT_TRUE(playlist.SavePlaylistSection(ini, false));
    wchar_t count[8];
    GetPrivateProfileStringW(L"PlaylistFiles", L"FileCount", L"", count, 8, ini.c_str());
    EXPECT_STREQ(count, L"0");
    wchar_t file0[8];
    GetPrivateProfileStringW(L"PlaylistFiles", L"File0", L"none", file0, 8, ini.c_str());
    EXPECT_STREQ(file0, L"none");
}

TEST_F(PlaylistModelTest, DisplayModeRemeasuresTheWidestText) {
    playlist.AddPath(L"C:\\a fairly long folder name for measuring\\x.mp3");
    int nameOnly = playlist.horizontalExtent();
    EXPECT_GT(nameOnly, 0);
    playlist.SetDisplayMode(1);
    EXPECT_GT(playlist.horizontalExtent(), nameOnly);
    EXPECT_EQ(playlist.EntryDisplayText(0), L"C:\\a fairly long folder name for measuring\\x.mp3");
    playlist.SetDisplayMode(0);
    EXPECT_EQ(playlist.horizontalExtent(), nameOnly);
    playlist.RemoveEntry(0);
    EXPECT_EQ(playlist.horizontalExtent(), 0);
}

// Icons come from one look-up per extension and are released exactly once.
TEST_F(PlaylistModelTest, IconsAreSharedPerExtensionAndReleased) {
    DWORD before = UserObjectCount();
    auto addMany = [&] {
        for (int i = 0; i < 300; ++i) {
            const wchar_t* extension = i % 3 == 0 ? L".mp3" : i % 3 == 1 ? L".WAV" : L".avi";
            playlist.AddPath(FormatPath(i) + extension);
        }
    };
    addMany();
    DWORD filled = UserObjectCount();
    EXPECT_LT(filled, before + 20);
    EXPECT_EQ(playlist.Entry(0)->smallIcon, playlist.Entry(3)->smallIcon);
    playlist.ClearPlaylist();
    addMany();
    EXPECT_LE(UserObjectCount(), filled) << "a cleared list reuses the icons";
    // Lines of garbage with ever new extensions do not take a handle each.
    for (int i = 0; i < 600; ++i) {
        playlist.AddPath(FormatText(L"C:\\x.e%d", i));
    }
    EXPECT_LT(UserObjectCount(), filled + 300);
    playlist.DestroyPlaylistWindow();
    EXPECT_LE(UserObjectCount(), before);
}

}  // namespace

namespace {

using PlaylistFilesTest = PlaylistFixture;

TEST_F(PlaylistFilesTest, OnlyLoadedListsBecomeRecent) {
    HistoryList& recent = playlist.recentPlaylists();
    recent.ClearHistory();
    ASSERT_TRUE(WriteBytes(folder / L"empty.m3u", ""));
    EXPECT_FALSE(playlist.LoadM3U(folder / L"empty.m3u"));
    EXPECT_EQ(recent.Count(), 0);
    ASSERT_TRUE(WriteBytes(folder / L"one.m3u", "C:\\a.mp3\r\n"));
    EXPECT_TRUE(playlist.LoadM3U(folder / L"one.m3u"));
    ASSERT_EQ(recent.Count(), 1);
    EXPECT_EQ(recent.HistoryPath(0), folder / L"one.m3u");

    ASSERT_TRUE(playlist.SaveRecentPlaylists(ini));
    recent.ClearHistory();
    playlist.LoadRecentPlaylists(ini, 10);
    EXPECT_EQ(recent.HistoryPath(0), folder / L"one.m3u");
}

TEST_F(PlaylistFilesTest, RecentItemReplacesTheList) {
    HistoryList& recent = playlist.recentPlaylists();
    recent.ClearHistory();
    ASSERT_TRUE(WriteBytes(folder / L"two.m3u", "C:\\x.mp3\r\nC:\\y.mp3\r\n"));
    recent.AddToHistory(folder / L"two.m3u");
    Fill(3);
    playlist.SetPlayingIndex(0);
    SendMessageW(playlist.window(), WM_COMMAND, CMD_PLAYLIST_HISTORY_FIRST, 0);
    EXPECT_EQ(Paths(), (PathList{L"C:\\x.mp3", L"C:\\y.mp3"}));
    EXPECT_EQ(parent.Count(kPlaylistPlayingGone), 1);
}

void CALLBACK AnswerYes(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16];
            if (GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0) {
                PostMessageW(window, WM_COMMAND, IDYES, 0);
            }
            return TRUE;
        },
        0);
    KillTimer(nullptr, id);
}

TEST_F(PlaylistFilesTest, VanishedRecentListCanBeForgotten) {
    HistoryList& recent = playlist.recentPlaylists();
    recent.ClearHistory();
    recent.AddToHistory(folder / L"gone.m3u");
    recent.AddToHistory(folder / L"kept.m3u");
    Fill(2);
    SetTimer(nullptr, 0, 200, AnswerYes);
    SendMessageW(playlist.window(), WM_COMMAND, CMD_PLAYLIST_HISTORY_FIRST + 1, 0);
    ASSERT_EQ(recent.Count(), 1);
    EXPECT_EQ(recent.HistoryPath(0), folder / L"kept.m3u");
    EXPECT_EQ(playlist.Count(), 2) << "the list stays when the file is missing";
}

TEST_F(PlaylistFilesTest, FoldersAddTheirMatchingFiles) {
    CreateDirectoryW((folder / L"music").c_str(), nullptr);
    CreateDirectoryW((folder / L"music\\sub").c_str(), nullptr);
    for (const wchar_t* name :
         {L"music\\b.mp3", L"music\\a.WAV", L"music\\notes.txt", L"music\\sub\\c.mp3"}) {
        ASSERT_TRUE(WriteBytes(folder / name, "x"));
    }
    playlist.SetFolderSearch(L"*.mp3;*.wav", false);
    EXPECT_TRUE(playlist.AddAnyPath(folder / L"music"));
    EXPECT_EQ(Paths(), (PathList{folder / L"music\\a.WAV", folder / L"music\\b.mp3"}));
    playlist.ClearPlaylist();
    playlist.SetFolderSearch(L"*.mp3", true);
    EXPECT_TRUE(playlist.AddAnyPaths(PathList{folder / L"music", folder / L"music\\a.WAV"}, true));
    EXPECT_EQ(Paths(), (PathList{folder / L"music\\b.mp3", folder / L"music\\sub\\c.mp3",
                                 folder / L"music\\a.WAV"}));
    // A drop stops at the first path that cannot be added; the command line
    // goes on past it.
    const PathList withMissing = {folder / L"music\\b.mp3", folder / L"missing.mp3",
                                  folder / L"music\\a.WAV"};
    playlist.ClearPlaylist();
    EXPECT_FALSE(playlist.AddAnyPaths(withMissing, true));
    EXPECT_EQ(Paths(), PathList{folder / L"music\\b.mp3"});
    playlist.ClearPlaylist();
    EXPECT_FALSE(playlist.AddAnyPaths(withMissing, false));
    EXPECT_EQ(Paths(), (PathList{folder / L"music\\b.mp3", folder / L"music\\a.WAV"}));
}

}  // namespace

// Stepping through a folder, sequential play, the file history and the
// playlist of the running program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/player.h"
#include "resources/resource.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\n";

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// A folder of short tone files 1.wav, 2.wav, ... (names sort as numbers do).
std::vector<std::wstring> MakeToneFolder(const std::wstring& folder, int count, int milliseconds) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
        paths.push_back(folder + L"\\" + std::to_wstring(i) + L".wav");
        if (!WriteToneWav(paths.back(), milliseconds, 300 + 100 * i)) {
            ADD_FAILURE() << "cannot write " << ToUtf8(paths.back());
        }
    }
    return paths;
}

HWND StartWith(Player& player, const std::string& ini, const std::wstring& arguments) {
    if (!player.WriteSharedIni(ini) || !player.Start(arguments)) {
        return nullptr;
    }
    return player.WaitForMainWindow();
}

bool Command(HWND window, WORD id) {
    return PostMessageW(window, WM_COMMAND, id, 0) != FALSE;
}

std::wstring PlaylistEntry(const std::wstring& ini, int index) {
    return ReadIni(ini, L"PlaylistFiles", (L"File" + std::to_wstring(index)).c_str());
}

TEST(FolderNavigation, NextAndPreviousWrapFirstAndLastJump) {
    TempFolder media;
    MakeToneFolder(media.path(), 3, 300);
    Player player;
    HWND window =
        StartWith(player, std::string(kIni) + "PlayOnOpen=no\r\n", Quoted(media / L"2.wav"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForText(window, L"Zephlo - 2.wav"));
    const struct {
        WORD command;
        const wchar_t* title;
    } steps[] = {
        {CMD_NEXT_FILE, L"Zephlo - 3.wav"},  {CMD_NEXT_FILE, L"Zephlo - 1.wav"},
        {CMD_PREV_FILE, L"Zephlo - 3.wav"},  {CMD_PREV_FILE, L"Zephlo - 2.wav"},
        {CMD_FIRST_FILE, L"Zephlo - 1.wav"}, {CMD_PREV_FILE, L"Zephlo - 3.wav"},
        {CMD_LAST_FILE, L"Zephlo - 3.wav"},  {CMD_FIRST_FILE, L"Zephlo - 1.wav"},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(Command(window, step.command));
        EXPECT_TRUE(WaitForText(window, step.title)) << step.command << " " << ToUtf8(step.title);
    }
    EXPECT_EQ(StatusPanes(window).at(0), L"");  // opened, never played
    EXPECT_EQ(player.Close(), 0u);
}

TEST(FolderNavigation, SequentialPlayGoesThroughTheFolderAndStopsAtTheLastFile) {
    TempFolder media;
    MakeToneFolder(media.path(), 3, 300);
    Player player;
    HWND window = StartWith(player, std::string(kIni) + "SequentialPlay=yes\r\nPlayOnOpen=yes\r\n",
                            Quoted(media / L"1.wav"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForText(window, L"Zephlo - 3.wav", 15000))
        << ToUtf8(Player::WindowText(window));
    EXPECT_TRUE(WaitForPane(window, 0, L"停止中"));
    EXPECT_EQ(Player::WindowText(window), L"Zephlo - 3.wav");
    // The same point by hand wraps to the first file. The command comes in
    // after anything the end of 3.wav started, so it would reach 2.wav had
    // the end of the folder wrapped round too.
    ASSERT_TRUE(Command(window, CMD_NEXT_FILE));
    EXPECT_TRUE(WaitForText(window, L"Zephlo - 1.wav"));
    EXPECT_EQ(player.Close(), 0u);
}

TEST(FolderNavigation, AFileOfAnotherFolderMakesNavigationFollowItsFolder) {
    TempFolder media;
    MakeToneFolder(media / L"first", 2, 300);
    std::vector<std::wstring> second = MakeToneFolder(media / L"second", 3, 300);
    Player player;
    HWND window =
        StartWith(player, std::string(kIni) + "PlayOnOpen=no\r\n", Quoted(media / L"first\\1.wav"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Command(window, CMD_NEXT_FILE));
    ASSERT_TRUE(WaitForText(window, L"Zephlo - 2.wav"));
    ASSERT_TRUE(player.DropFiles(window, {second[0]}));
    ASSERT_TRUE(WaitForText(window, L"Zephlo - 1.wav"));
    // 2.wav, then 3.wav, which only the second folder has, then round to 1.wav.
    for (const wchar_t* title : {L"Zephlo - 2.wav", L"Zephlo - 3.wav", L"Zephlo - 1.wav"}) {
        ASSERT_TRUE(Command(window, CMD_NEXT_FILE));
        EXPECT_TRUE(WaitForText(window, title)) << ToUtf8(title);
    }
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"File0"), second[0]);
}

TEST(History, MissingFileAsksNamingThePathAndYesRemovesIt) {
    TempFolder media;
    const std::wstring kept = media / L"kept.wav";
    const std::wstring missing = media / L"gone & lost.wav";
    ASSERT_TRUE(WriteToneWav(kept, 200));
    for (int button : {IDNO, IDYES}) {
        SCOPED_TRACE(button);
        Player player;
        std::string ini = std::string(kIni) +
                          "[RecentFileList]\r\nFileCount=2\r\nFile0=" + ToUtf8(missing) +
                          "\r\nFile1=" + ToUtf8(kept) + "\r\n";
        HWND window = StartWith(player, ini, L"");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(Command(window, CMD_FILE_HISTORY_FIRST));
        HWND box = player.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Player::MessageBoxText(box),
                  L"ファイル \"" + missing + L"\" が見付かりません。\n履歴から削除しますか?");
        Player::PressButton(box, button);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 5000));
        EXPECT_EQ(Player::WindowText(window), L"Zephlo");
        EXPECT_EQ(player.Close(), 0u);
        const std::wstring path = player.sharedIniPath();
        if (button == IDYES) {
            EXPECT_EQ(ReadIni(path, L"RecentFileList", L"FileCount"), L"1");
            EXPECT_EQ(ReadIni(path, L"RecentFileList", L"File0"), kept);
        } else {
            EXPECT_EQ(ReadIni(path, L"RecentFileList", L"FileCount"), L"2");
            EXPECT_EQ(ReadIni(path, L"RecentFileList", L"File0"), missing);
        }
    }
}

TEST(History, AnExistingHistoryFileOpensAndMovesToTheTop) {
    TempFolder media;
    std::vector<std::wstring> files = MakeToneFolder(media.path(), 2, 200);
    Player player;
    std::string ini = std::string(kIni) + "PlayOnOpen=no\r\n[RecentFileList]\r\nFileCount=2\r\n" +
                      "File0=" + ToUtf8(files[0]) + "\r\nFile1=" + ToUtf8(files[1]) + "\r\n";
    HWND window = StartWith(player, ini, L"");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Command(window, CMD_FILE_HISTORY_FIRST + 1));
    EXPECT_TRUE(WaitForText(window, L"Zephlo - 2.wav"));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"File0"), files[1]);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"File1"), files[0]);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentDirList", L"Dir0"), media.path());
}

TEST(Playlist, CommandLineSecondInstanceAndDropsAppendInOrderAndAreRestored) {
    TempFolder media;
    std::vector<std::wstring> files = MakeToneFolder(media.path(), 8, 200);
    Player player;
    const std::string ini = std::string(kIni) + "RestorePlaylist=yes\r\n";
    HWND window = StartWith(player, ini, Quoted(files[0]) + L" " + Quoted(files[1]));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(RunAndWait(player.programFolder(), Quoted(files[2]) + L" " + Quoted(files[3])), 0u);
    ASSERT_TRUE(player.DropFiles(window, {files[4], files[5]}));
    EXPECT_EQ(player.Close(), 0u);
    const std::wstring path = player.sharedIniPath();
    // The close comes after the drop: nothing was opened by any of them.
    EXPECT_EQ(ReadIni(path, L"RecentFileList", L"FileCount"), L"0");
    ASSERT_EQ(ReadIni(path, L"PlaylistFiles", L"FileCount"), L"6");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(PlaylistEntry(path, i), files[i]) << i;
    }

    // The next start restores the six before it adds its own.
    ASSERT_TRUE(player.Start(Quoted(files[6]) + L" " + Quoted(files[7])));
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
    ASSERT_EQ(ReadIni(path, L"PlaylistFiles", L"FileCount"), L"8");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(PlaylistEntry(path, i), files[i]) << i;
    }
}

// A playlist as other players write it (UTF-8 without a mark, directives,
// forward slashes, relative paths), named on the command line of the first
// start and handed over by a second.
TEST(Playlist, AnM3U8FromTheCommandLineFillsThePlaylist) {
    TempFolder media;
    std::vector<std::wstring> files = MakeToneFolder(media / L"tones", 3, 200);
    const std::wstring list = media / L"list.m3u8";
    ASSERT_TRUE(WriteBytes(list,
                           "#EXTM3U\n#EXTINF:1,\xE9\x9F\xB3 - 1\ntones/1.wav\n"
                           "#EXTINF:1,2\n./tones/2.wav\nhttp://radio.example/stream\n"));
    Player player;
    HWND window = StartWith(player, std::string(kIni) + "RestorePlaylist=yes\r\n", Quoted(list));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(RunAndWait(player.programFolder(), Quoted(list)), 0u);
    EXPECT_EQ(player.Close(), 0u);
    const std::wstring ini = player.sharedIniPath();
    ASSERT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"4");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PlaylistEntry(ini, i), files[i % 2]) << i;
    }
}

// A path handed over while the start-up open shows its message waits; a
// close that comes in meanwhile (from another program) ends the player
// cleanly, without opening it on a window that is gone.
TEST(Playlist, ACloseWhileAPathWaitsForTheStartUpOpenEndsCleanly) {
    TempFolder media;
    const std::wstring text = media / L"notes.xyz";
    ASSERT_TRUE(WriteBytes(text, "#EXTM3U\n#EXTINF:1,x\ntones/1.wav\n"));
    Player player;
    HWND window = StartWith(player, kIni, Quoted(text));
    ASSERT_NE(window, nullptr);
    ASSERT_NE(player.WaitForMessageBox(30000), nullptr);
    EXPECT_EQ(RunAndWait(player.programFolder(), Quoted(text)), 0u);
    EXPECT_EQ(player.Close(), 0u);
}

TEST(Playlist, JapaneseNamesSurviveTitleHandOverHistoryAndSavedPlaylist) {
    TempFolder media;
    const std::wstring folder = media / L"音楽 フォルダ";
    // Needs the Japanese code page and a file system that takes such names
    // (under Wine: a Japanese Unix locale).
    if (GetACP() != 932 || !CreateDirectoryW(folder.c_str(), nullptr)) {
        GTEST_SKIP() << "no Japanese code page or file names here";
    }
    const std::wstring first = folder + L"\\最初の曲.wav";
    const std::wstring second = folder + L"\\二曲目 ～ 試聴.wav";
    ASSERT_TRUE(WriteToneWav(first, 200) && WriteToneWav(second, 200));
    Player player;
    HWND window = StartWith(player, std::string(kIni) + "RestorePlaylist=yes\r\nPlayOnOpen=no\r\n",
                            Quoted(first));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - 最初の曲.wav"));
    EXPECT_EQ(RunAndWait(player.programFolder(), Quoted(second)), 0u);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - 二曲目 ～ 試聴.wav"));
    ASSERT_TRUE(player.DropFiles(window, {second, first}));
    EXPECT_EQ(player.Close(), 0u);
    const std::wstring ini = player.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"File0"), second);
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"File1"), first);
    EXPECT_EQ(ReadIni(ini, L"RecentDirList", L"Dir0"), folder);
    EXPECT_EQ(PlaylistEntry(ini, 0), second);
    EXPECT_EQ(PlaylistEntry(ini, 1), first);
}

TEST(Playlist, EndOfTheLastEntryStopsUnlessThePlaylistRepeats) {
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat);
        TempFolder media;
        MakeToneFolder(media.path(), 3, 600);
        Player player;
        std::string ini = std::string(kIni) +
                          "PlayOnOpen=no\r\nRepeatPlaylist=" + (repeat ? "yes" : "no") + "\r\n";
        HWND window = StartWith(player, ini, Quoted(media / L"3.wav"));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitForText(window, L"Zephlo - 3.wav"));
        // The folder becomes the playlist with the open (last) file playing.
        ASSERT_TRUE(Command(window, CMD_MAKE_PLAYLIST));
        ASSERT_TRUE(Command(window, CMD_PLAY_PAUSE));
        ASSERT_TRUE(WaitForPane(window, 0, L"再生中"));
        if (repeat) {
            EXPECT_TRUE(WaitForText(window, L"Zephlo - 1.wav"));
            EXPECT_TRUE(WaitForPane(window, 0, L"再生中"));
        } else {
            EXPECT_TRUE(WaitForPane(window, 0, L"停止中"));
            EXPECT_EQ(Player::WindowText(window), L"Zephlo - 3.wav");
        }
        EXPECT_EQ(player.Close(), 0u);
        // The close comes after anything the end of 3.wav started: without
        // repeating, no other entry was opened.
        const std::wstring settings = player.sharedIniPath();
        EXPECT_EQ(ReadIni(settings, L"RecentFileList", L"FileCount"), repeat ? L"2" : L"1");
        EXPECT_EQ(ReadIni(settings, L"RecentFileList", L"File0"),
                  media / (repeat ? L"1.wav" : L"3.wav"));
    }
}

}  // namespace

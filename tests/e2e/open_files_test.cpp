// Files reaching the running program from the command line and by drops:
// what the title, the status panes, the window size and the playlist show.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "e2e/player.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=yes\r\n";
constexpr WORD kZoomIn = 140;

// "00:00:01.23 / 00:00:03.00"-style with the given length (whole seconds).
bool IsTimePane(const std::wstring& text, const wchar_t* length) {
    std::wregex pattern(std::wstring(L"\\d\\d:\\d\\d:\\d\\d\\.\\d\\d / ") + length);
    return std::regex_match(text, pattern);
}

// Starts the player with the settings and waits for the title.
HWND StartWith(Player& player, const std::string& ini, const std::wstring& arguments,
               const std::wstring& title) {
    if (!player.WriteSharedIni(ini) || !player.Start(arguments)) {
        return nullptr;
    }
    HWND window = player.WaitForMainWindow();
    if (window == nullptr || !WaitForText(window, title)) {
        ADD_FAILURE() << "title " << ToUtf8(Player::WindowText(window));
        return window;
    }
    return window;
}

enum class Road { kCommandLine, kDropOnWindow, kDropOnCanvas };

struct OpenCase {
    const wchar_t* file;
    Road road;
    const wchar_t* sizePane;
    const wchar_t* length;  // pattern of the length in the time pane
    bool watchPosition;     // wait for the time pane to pass one second
};

TEST(Opening, CommandLineAndDroppedFilesShowTitleStateSizeAndTime) {
    const OpenCase cases[] = {
        {L"tone.wav", Road::kCommandLine, L"", L"00:00:03\\.00", true},
        {L"tone.mp3", Road::kDropOnWindow, L"128kbps 44kHz", L"00:00:03\\.\\d\\d", false},
        {L"red.avi", Road::kCommandLine, L"320 x 240 (100%)", L"00:00:02\\.00", false},
        {L"av.avi", Road::kDropOnCanvas, L"320 x 240 (100%)", L"00:00:03\\.00", true},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(ToUtf8(c.file));
        Player player;
        const std::wstring path = TestMedia(c.file);
        const std::wstring title = std::wstring(L"Zephlo - ") + c.file;
        const bool dropped = c.road != Road::kCommandLine;
        HWND window = dropped ? StartWith(player, kIni, L"", L"Zephlo")
                              : StartWith(player, kIni, L"\"" + path + L"\"", title);
        ASSERT_NE(window, nullptr);
        if (dropped) {
            // The canvas hands files dropped on it to the main window.
            HWND media = FindWindowExW(window, nullptr, L"Zephlo Media Window", nullptr);
            HWND canvas = FindWindowExW(media, nullptr, L"Zephlo Media Canvas Window", nullptr);
            ASSERT_NE(canvas, nullptr);
            ASSERT_TRUE(player.DropFiles(c.road == Road::kDropOnWindow ? window : canvas, {path}));
            EXPECT_TRUE(WaitForText(window, title));
        }
        EXPECT_TRUE(WaitForPane(window, 0, L"再生中"));
        std::vector<std::wstring> panes = StatusPanes(window);
        ASSERT_EQ(panes.size(), 3u);
        EXPECT_EQ(panes[1], c.sizePane);
        EXPECT_TRUE(IsTimePane(panes[2], c.length)) << ToUtf8(panes[2]);
        if (c.watchPosition) {
            // The time pane follows the playback position.
            EXPECT_TRUE(PumpUntil(
                [&] { return StatusPanes(window).at(2).compare(0, 9, L"00:00:01.") == 0; }, 5000));
        }
        EXPECT_EQ(player.WaitForMessageBox(0), nullptr);
        EXPECT_EQ(player.Close(), 0u);
    }
}

TEST(Opening, TitleFollowsTitleFormatAndTitleFileName) {
    const std::wstring path = TestMedia(L"tone.wav");
    struct TitleCase {
        const char* settings;
        std::wstring title;
    } cases[] = {
        {"TitleFormat=1\r\nTitleFileName=0\r\n", L"tone.wav - Zephlo"},
        {"TitleFormat=0\r\nTitleFileName=1\r\n", L"Zephlo - " + path},
        {"TitleFormat=1\r\nTitleFileName=2\r\n", L"...\\test-media\\tone.wav - Zephlo"},
        {"TitleFormat=2\r\nTitleFileName=1\r\n", L"Zephlo"},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.settings);
        Player player;
        HWND window =
            StartWith(player, std::string(kIni) + c.settings, L"\"" + path + L"\"", c.title);
        ASSERT_NE(window, nullptr);
        // The file is open whatever the title shows.
        EXPECT_TRUE(WaitForPane(window, 0, L"再生中"));
        EXPECT_EQ(Player::WindowText(window), c.title);
        EXPECT_EQ(player.Close(), 0u);
    }
}

TEST(Opening, WindowGrowsAroundVideoShrinksForAudioAndFollowsTheZoom) {
    Player player;
    HWND window = StartWith(player, kIni, L"", L"Zephlo");
    ASSERT_NE(window, nullptr);
    const SIZE empty = ClientSize(window);
    // A first start centres the window in the work area.
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    RECT start;
    GetWindowRect(window, &start);
    EXPECT_EQ(start.left - work.left, (work.right - work.left - (start.right - start.left)) / 2);
    EXPECT_EQ(start.top - work.top, (work.bottom - work.top - (start.bottom - start.top)) / 2);

    // A 320 x 240 video needs the same room as the empty 320 x 240 canvas.
    ASSERT_TRUE(player.DropFiles(window, {TestMedia(L"red.avi")}));
    ASSERT_TRUE(WaitForText(window, L"Zephlo - red.avi"));
    const SIZE video = ClientSize(window);
    EXPECT_EQ(video.cx, empty.cx);
    EXPECT_EQ(video.cy, empty.cy);

    ASSERT_TRUE(player.DropFiles(window, {TestMedia(L"tone.wav")}));
    ASSERT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
    const SIZE audio = ClientSize(window);
    EXPECT_EQ(video.cy - audio.cy, 240);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_GE(frame.right - frame.left, 256);

    ASSERT_TRUE(player.DropFiles(window, {TestMedia(L"av.avi")}));
    ASSERT_TRUE(WaitForText(window, L"Zephlo - av.avi"));
    EXPECT_EQ(ClientSize(window).cy, video.cy);

    PostMessageW(window, WM_COMMAND, kZoomIn, 0);
    EXPECT_TRUE(WaitForPane(window, 1, L"320 x 240 (120%)"));
    EXPECT_EQ(ClientSize(window).cy - video.cy, 48);
    EXPECT_EQ(ClientSize(window).cx - video.cx, 64);
    EXPECT_EQ(player.Close(), 0u);
}

TEST(Opening, SecondStartWithOneFileReplacesTheOpenFile) {
    Player player;
    HWND window = StartWith(player, std::string(kIni) + "RestorePlaylist=yes\r\n",
                            L"\"" + TestMedia(L"tone.wav") + L"\"", L"Zephlo - tone.wav");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(RunAndWait(player.programFolder(), L"\"" + TestMedia(L"tone.mp3") + L"\""), 0u);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.mp3"));
    EXPECT_TRUE(WaitForPane(window, 1, L"128kbps 44kHz"));
    EXPECT_EQ(player.CountWindows(L"Zephlo Main Window"), 1);
    EXPECT_EQ(player.Close(), 0u);
    // One file is opened, not queued.
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"PlaylistFiles", L"FileCount"), L"0");
}

TEST(Opening, FolderPlaylistFileAndSeveralFilesDroppedGoToThePlaylist) {
    Player player;
    TempFolder media;
    const std::wstring folder = media / L"folder";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring inFolder[] = {folder + L"\\b.wav", folder + L"\\a.wav"};
    const std::wstring listed[] = {media / L"listed 1.wav", media / L"listed 2.wav"};
    const std::wstring loose[] = {media / L"loose 1.wav", media / L"loose 2.wav"};
    for (const std::wstring* group : {inFolder, listed, loose}) {
        ASSERT_TRUE(WriteToneWav(group[0], 200) && WriteToneWav(group[1], 200));
    }
    const std::wstring playlistFile = media / L"LIST.M3U";
    ASSERT_TRUE(WriteBytes(playlistFile, "listed 1.wav\r\n" + ToUtf8(listed[1]) + "\r\n"));

    HWND window = StartWith(player, std::string(kIni) + "RestorePlaylist=yes\r\n", L"", L"Zephlo");
    ASSERT_NE(window, nullptr);
    HWND playlist = player.WaitForWindow(L"Zephlo Playlist Window");
    ASSERT_NE(playlist, nullptr);
    EXPECT_FALSE(IsWindowVisible(playlist));
    ASSERT_TRUE(player.DropFiles(window, {folder}));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) != FALSE; }, 5000));
    ASSERT_TRUE(player.DropFiles(window, {playlistFile}));
    ASSERT_TRUE(player.DropFiles(window, {loose[0], loose[1]}));
    EXPECT_EQ(player.Close(), 0u);

    const std::wstring ini = player.sharedIniPath();
    // The close comes after the drops: nothing was opened by any of them.
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"FileCount"), L"0");
    const std::wstring expected[] = {inFolder[1], inFolder[0], listed[0],
                                     listed[1],   loose[0],    loose[1]};
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"6");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", (L"File" + std::to_wstring(i)).c_str()),
                  expected[i])
            << i;
    }
}

TEST(Opening, FileThatCannotBeOpenedLeavesThePlayerEmptyWithAMessage) {
    const std::wstring unsupported = L"対応していない形式です。";
    struct Case {
        const wchar_t* file;
        std::vector<std::wstring> messages;
    } cases[] = {
        {L"text.avi", {unsupported}},
        // Wine's source now and then never finishes parsing a cut-off file,
        // and the render's time limit ends the open with the general error.
        {L"truncated.avi", {unsupported, L"エラーが発生しました。"}},
    };
    for (const Case& c : cases) {
        const wchar_t* file = c.file;
        SCOPED_TRACE(ToUtf8(file));
        Player player;
        HWND window =
            StartWith(player, kIni, L"\"" + TestMedia(L"tone.wav") + L"\"", L"Zephlo - tone.wav");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitForPane(window, 0, L"再生中"));
        ASSERT_TRUE(player.DropFiles(window, {TestMedia(file)}));
        HWND box = player.WaitForMessageBox(30000);
        ASSERT_NE(box, nullptr) << "title " << ToUtf8(Player::WindowText(window)) << ", running "
                                << player.running();
        std::wstring text = Player::MessageBoxText(box);
        EXPECT_NE(std::find(c.messages.begin(), c.messages.end(), text), c.messages.end())
            << ToUtf8(text);
        Player::PressButton(box, IDOK);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 5000));
        EXPECT_TRUE(WaitForText(window, L"Zephlo"));
        EXPECT_EQ(StatusPanes(window), (std::vector<std::wstring>{L"", L"", L""}));
        EXPECT_EQ(player.Close(), 0u);
    }
}

// Paths at the limit of 259 characters and beyond it.
TEST(Opening, PathsBeyondTheLengthLimitAreLeftOutAndTheLongestOpens) {
    TempFolder media;
    std::wstring folder = media.path();
    // Nested folders so that each name stays short.
    while (folder.size() < 259 - 40) {
        folder += L"\\" + std::wstring(30, L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring atLimit =
        folder + L"\\" + std::wstring(259 - folder.size() - 5, L'x') + L".wav";
    ASSERT_EQ(atLimit.size(), 259u);
    ASSERT_TRUE(CopyFileW(TestMedia(L"tone.wav").c_str(), atLimit.c_str(), FALSE));
    const std::wstring atLimitName = atLimit.substr(folder.size() + 1);
    for (std::size_t length : {260u, 261u, 300u}) {
        SCOPED_TRACE(length);
        const std::wstring name = std::wstring(length - folder.size() - 5, L'y') + L".wav";
        const std::wstring tooLong = folder + L"\\" + name;
        // Made through the long-path prefix, so that it exists.
        ASSERT_TRUE(
            CopyFileW(TestMedia(L"tone.wav").c_str(), (L"\\\\?\\" + tooLong).c_str(), FALSE));
        Player player;
        HWND window = StartWith(player, kIni, L"\"" + tooLong + L"\" \"" + atLimit + L"\"",
                                L"Zephlo - " + atLimitName);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"FileCount"), L"1");
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"File0"), atLimit);
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"PlaylistFiles", L"FileCount"), L"0");
        DeleteFileW((L"\\\\?\\" + tooLong).c_str());
    }
}

}  // namespace

// Commands, keys and media keys reaching the running program.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_table.h"
#include "e2e/player.h"
#include "resources/resource.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\nVolume=500\r\n";

bool Responds(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) != 0;
}

HWND PlaylistWindow(const Player& player) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND w = FindWindowW(L"Zephlo Playlist Window", nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, L"Zephlo Playlist Window", nullptr)) {
                DWORD processId = 0;
                GetWindowThreadProcessId(w, &processId);
                if (processId == player.processId()) {
                    found = w;
                }
            }
            return found != nullptr;
        },
        5000);
    return found;
}

void PressCtrlAnd(WORD key) {
    INPUT inputs[4] = {};
    WORD keys[4] = {VK_CONTROL, key, key, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

TEST(Commands, EveryCommandWithNoFileOpenLeavesThePlayerRunning) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    ASSERT_TRUE(player.Start());
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Commands that open a dialog (the file dialogs, the About box, the
    // settings sheet), each its own; every other command must show no box.
    const std::vector<std::pair<int, DialogKind>> withDialog = {
        {CMD_OPEN, DialogKind::kFileDialog},          {CMD_OPEN_PLAYLIST, DialogKind::kFileDialog},
        {CMD_SAVE_PLAYLIST, DialogKind::kFileDialog}, {CMD_ADD_FILES, DialogKind::kFileDialog},
        {CMD_ABOUT, DialogKind::kAboutBox},           {CMD_OPTIONS, DialogKind::kPropertySheet}};
    std::vector<int> ids;
    for (const CommandRow& row : kCommandTable) {
        if (!IsHeading(row) && row.id != CMD_EXIT) {
            ids.push_back(row.id);
        }
    }
    ASSERT_EQ(ids.size(), 57u);
    for (std::size_t i = 1; i < withDialog.size(); ++i) {
        ids.push_back(withDialog[i].first);
    }
    for (int id : ids) {
        DialogKind expected = DialogKind::kAny;
        for (const auto& [dialogId, kind] : withDialog) {
            expected = dialogId == id ? kind : expected;
        }
        if (expected != DialogKind::kAny) {
            // Posted: the dialog's own loop would hold a sent message.
            PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
            HWND dialog = player.WaitForDialog(
                [&](HWND found) { return KindOfDialog(found) == expected; }, 10000);
            ASSERT_NE(dialog, nullptr) << "command " << id;
            Player::PressButton(dialog, IDCANCEL);
            ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 5000)) << "command " << id;
        } else {
            // Sent: it returns once the command is done, and a box it showed
            // would hold it until the time is up.
            DWORD_PTR result = 0;
            EXPECT_NE(SendMessageTimeoutW(window, WM_COMMAND, static_cast<WPARAM>(id), 0,
                                          SMTO_NORMAL, 5000, &result),
                      0)
                << "command " << id;
        }
        ASSERT_TRUE(Responds(window)) << "command " << id;
        ASSERT_TRUE(player.running()) << "command " << id;
        HWND box = player.WaitForDialog([](HWND) { return true; }, 0);
        EXPECT_EQ(box, nullptr) << "command " << id;
        if (box != nullptr) {
            Player::PressButton(box, IDCANCEL);
        }
    }
    PostMessageW(window, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_EQ(player.WaitForExit(), 0u);
}

TEST(Commands, MediaKeysReachTheirCommandsAndAreAllAnswered) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    ASSERT_TRUE(player.Start());
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    auto appCommand = [&](int command) {
        return SendMessageW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                            MAKELPARAM(0, command));
    };
    EXPECT_EQ(appCommand(APPCOMMAND_VOLUME_UP), TRUE);
    EXPECT_EQ(appCommand(APPCOMMAND_VOLUME_UP), TRUE);
    EXPECT_EQ(appCommand(APPCOMMAND_VOLUME_DOWN), TRUE);
    // Unmapped app commands are answered all the same.
    EXPECT_EQ(appCommand(APPCOMMAND_BROWSER_BACKWARD), TRUE);
    EXPECT_EQ(appCommand(APPCOMMAND_LAUNCH_MAIL), TRUE);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"Volume"), L"600");
}

TEST(Commands, AssignedKeysWorkFromEveryWindowOfTheProgram) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    ASSERT_TRUE(player.Start());
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND playlist = PlaylistWindow(player);
    ASSERT_NE(playlist, nullptr);
    EXPECT_FALSE(IsWindowVisible(playlist));

    SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }, 5000));
    PressCtrlAnd('P');  // Ctrl+P: the playlist window
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) != FALSE; }, 5000));

    SetForegroundWindow(playlist);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == playlist; }, 5000));
    PressCtrlAnd('P');
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) == FALSE; }, 5000));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"ShowPlaylist"), L"no");
}

}  // namespace

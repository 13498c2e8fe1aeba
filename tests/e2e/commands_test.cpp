// Commands, keys and media keys reaching the running program.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_table.h"
#include "e2e/player.h"
#include "resources/resource.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\nVolume=500\r\n";

std::wstring ReadIni(const std::wstring& path, const wchar_t* key) {
    wchar_t value[64];
    GetPrivateProfileStringW(L"Settings", key, L"", value, 64, path.c_str());
    return value;
}

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
    // settings sheet); every other command must show no box.
    const std::vector<int> withDialog = {CMD_OPEN,      CMD_OPEN_PLAYLIST, CMD_SAVE_PLAYLIST,
                                         CMD_ADD_FILES, CMD_ABOUT,         CMD_OPTIONS};
    std::vector<int> ids;
    for (const CommandRow& row : kCommandTable) {
        if (!IsHeading(row) && row.id != CMD_EXIT) {
            ids.push_back(row.id);
        }
    }
    ASSERT_EQ(ids.size(), 57u);
    ids.insert(ids.end(), withDialog.begin() + 1, withDialog.end());
    for (int id : ids) {
        PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
        bool expectDialog = false;
        for (int dialogId : withDialog) {
            expectDialog = expectDialog || dialogId == id;
        }
        if (expectDialog) {
            HWND dialog = player.WaitForMessageBox(10000);
            ASSERT_NE(dialog, nullptr) << "command " << id;
            Player::PressButton(dialog, IDCANCEL);
            PumpUntil([&] { return !IsWindow(dialog); }, 5000);
        }
        ASSERT_TRUE(Responds(window)) << "command " << id;
        PumpMessages(50);
        ASSERT_TRUE(player.running()) << "command " << id;
        EXPECT_EQ(player.WaitForMessageBox(0), nullptr) << "command " << id;
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
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Volume"), L"600");
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
    PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
    PressCtrlAnd('P');  // Ctrl+P: the playlist window
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) != FALSE; }, 5000));

    SetForegroundWindow(playlist);
    PumpUntil([&] { return GetForegroundWindow() == playlist; }, 3000);
    PressCtrlAnd('P');
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) == FALSE; }, 5000));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"ShowPlaylist"), L"no");
}

}  // namespace

// The settings sheet of the real program: moving the settings file between
// the program's folder and the per-user folder, and "KeepSingleTask", which a
// program started later must see at once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "e2e/player.h"
#include "resources/resource.h"

namespace {

constexpr char kIni[] = "[Settings]\r\nKeepSingleTask=yes\r\nVolume=321\r\n";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A shown dialog of the process: the sheet (titled "設定") or another one.
HWND WaitForDialog(const Player& player, bool sheet) {
    return player.WaitForDialog(
        [sheet](HWND window) { return (Player::WindowText(window) == L"設定") == sheet; }, 10000);
}

// Opens the sheet with command 167, sets a box of the general page and
// presses OK. The sheet is modal, so the command is posted.
HWND SetGeneralBox(const Player& player, int id, bool checked) {
    HWND main = player.WaitForMainWindow();
    PostMessageW(main, WM_COMMAND, CMD_OPTIONS, 0);
    HWND sheet = WaitForDialog(player, true);
    if (sheet == nullptr) {
        return nullptr;
    }
    auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    SendMessageW(GetDlgItem(page, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return sheet;
}

bool WaitUntilGone(HWND window) {
    return PumpUntil([&] { return !IsWindow(window); }, 10000);
}

bool SwitchPerUser(const Player& player, bool perUser) {
    HWND sheet = SetGeneralBox(player, IDC_GENERAL_PER_USER, perUser);
    return sheet != nullptr && WaitUntilGone(sheet);
}

TEST(SettingsLocation, MovesToThePerUserFolderAndBack) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    ASSERT_TRUE(player.Start());
    ASSERT_TRUE(SwitchPerUser(player, true));
    EXPECT_FALSE(Exists(player.sharedIniPath()));
    EXPECT_EQ(ReadIni(Player::PerUserIniPath(), L"Settings", L"Volume"), L"321");

    ASSERT_TRUE(SwitchPerUser(player, false));
    EXPECT_FALSE(Exists(Player::PerUserFolder()));
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"Volume"), L"321");

    EXPECT_EQ(player.Close(), 0u);
    EXPECT_NE(ReadIni(player.sharedIniPath(), L"Settings", L"Maximize"), L"<absent>");
    EXPECT_FALSE(Exists(Player::PerUserFolder()));
}

// A read-only program folder keeps its copy; the per-user copy must take the
// settings at exit all the same.
TEST(SettingsLocation, AFileThatCannotBeDeletedStaysAndTheCopyIsWritable) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kIni));
    const std::wstring shared = player.sharedIniPath();
    SetFileAttributesW(shared.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(player.Start());
    ASSERT_TRUE(SwitchPerUser(player, true));
    EXPECT_TRUE(Exists(shared));
    DWORD attributes = GetFileAttributesW(Player::PerUserIniPath().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_NE(ReadIni(Player::PerUserIniPath(), L"Settings", L"Maximize"), L"<absent>");
    EXPECT_EQ(ReadBytes(shared), kIni);
    SetFileAttributesW(shared.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SettingsLocation, BeforeAnyFileExistsOnlyTheLocationChanges) {
    Player player;
    ASSERT_TRUE(player.Start());
    HWND question = player.WaitForMessageBox();
    ASSERT_NE(question, nullptr);
    Player::PressButton(question, IDNO);
    ASSERT_TRUE(SwitchPerUser(player, true));
    EXPECT_FALSE(Exists(player.sharedIniPath()));
    EXPECT_FALSE(Exists(Player::PerUserIniPath()));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_FALSE(Exists(player.sharedIniPath()));
    EXPECT_EQ(ReadBytes(Player::PerUserIniPath()).substr(0, 2), "\xFF\xFE");
}

// Here the program's file is held open by another program; a program folder
// that refuses writing behaves the same on Windows.
TEST(SettingsLocation, AProgramFolderThatCannotBeWrittenKeepsThePerUserFile) {
    Player player;
    CreateDirectoryW(Player::PerUserFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Player::PerUserIniPath(), kIni));
    HANDLE held = CreateFileW(player.sharedIniPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(player.Start());
    HWND sheet = SetGeneralBox(player, IDC_GENERAL_PER_USER, false);
    ASSERT_NE(sheet, nullptr);
    HWND message = WaitForDialog(player, false);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(Player::MessageBoxText(message).find(L"INIファイルの移動ができません"),
              std::wstring::npos);
    Player::PressButton(message, IDOK);
    EXPECT_TRUE(WaitUntilGone(sheet));
    CloseHandle(held);
    EXPECT_EQ(ReadIni(Player::PerUserIniPath(), L"Settings", L"Volume"), L"321");
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_NE(ReadIni(Player::PerUserIniPath(), L"Settings", L"Maximize"), L"<absent>");
    EXPECT_EQ(ReadBytes(player.sharedIniPath()), "");
}

// The main window of another process started from the program's folder.
HWND WaitForOtherMainWindow(DWORD exceptProcess, DWORD timeout) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window = FindWindowExW(nullptr, nullptr, L"Zephlo Main Window", nullptr);
                 window != nullptr;
                 window = FindWindowExW(nullptr, window, L"Zephlo Main Window", nullptr)) {
                DWORD processId = 0;
                GetWindowThreadProcessId(window, &processId);
                if (processId != exceptProcess && IsWindowVisible(window)) {
                    found = window;
                }
            }
            return found != nullptr;
        },
        timeout);
    return found;
}

TEST(SettingsLocation, KeepSingleTaskIsWrittenAtOnce) {
    for (bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        Player player;
        ASSERT_TRUE(player.WriteSharedIni(keep ? "[Settings]\r\nKeepSingleTask=no\r\n"
                                               : "[Settings]\r\nKeepSingleTask=yes\r\n"));
        ASSERT_TRUE(player.Start());
        HWND sheet = SetGeneralBox(player, IDC_GENERAL_KEEP_SINGLE_TASK, keep);
        ASSERT_TRUE(sheet != nullptr && WaitUntilGone(sheet));
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"KeepSingleTask"),
                  keep ? L"yes" : L"no");
        if (keep) {
            // The second start hands over to the first and ends.
            EXPECT_EQ(RunAndWait(player.programFolder(), L""), 0u);
            EXPECT_EQ(WaitForOtherMainWindow(player.processId(), 0), nullptr);
        } else {
            HANDLE second = StartProgram(player.programFolder(), L"");
            ASSERT_NE(second, nullptr);
            HWND other = WaitForOtherMainWindow(player.processId(), 15000);
            EXPECT_NE(other, nullptr);
            if (other != nullptr) {
                PostMessageW(other, WM_CLOSE, 0, 0);
            }
            WaitAndClose(second);
        }
        EXPECT_EQ(player.Close(), 0u);
    }
}

}  // namespace

// Start-up, the first-run question, single instance and shut-down of the real program.
#include <gtest/gtest.h>

#include "e2e/player.h"

namespace {

constexpr char kQuietIni[] = "[Settings]\r\nKeepSingleTask=yes\r\n";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        if (lstrcmpW(data.cFileName, L".") != 0 && lstrcmpW(data.cFileName, L"..") != 0) {
            ++count;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

std::wstring ReadIni(const std::wstring& path, const wchar_t* key,
                     const wchar_t* section = L"Settings") {
    wchar_t value[512];
    GetPrivateProfileStringW(section, key, L"<absent>", value, 512, path.c_str());
    return value;
}

HWND AnswerFirstRunQuestion(Player& player, int button) {
    HWND box = player.WaitForMessageBox();
    if (box != nullptr) {
        Player::PressButton(box, button);
    }
    return box;
}

TEST(FirstRun, CancelEndsTheProgramWithoutWindowOrFile) {
    Player player;
    ASSERT_TRUE(player.Start());
    HWND box = AnswerFirstRunQuestion(player, IDCANCEL);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(player.WaitForExit(), 0u);
    EXPECT_EQ(player.CountWindows(L"Zephlo Main Window"), 0);
    EXPECT_EQ(CountFiles(player.programFolder()), 1);  // Zephlo.exe alone
    EXPECT_FALSE(Exists(Player::PerUserFolder()));
}

TEST(FirstRun, QuestionNamesTheChoiceAndNoKeepsSettingsBesideTheProgram) {
    Player player;
    ASSERT_TRUE(player.Start());
    HWND box = player.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Player::WindowText(box), L"Zephlo");
    EXPECT_NE(Player::MessageBoxText(box).find(L"設定をユーザーごとに保存しますか"),
              std::wstring::npos);
    Player::PressButton(box, IDNO);
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_TRUE(Exists(player.sharedIniPath()));
    EXPECT_FALSE(Exists(Player::PerUserIniPath()));
}

TEST(FirstRun, YesKeepsSettingsPerUserInAUnicodeFile) {
    Player player;
    ASSERT_TRUE(player.Start());
    AnswerFirstRunQuestion(player, IDYES);
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_FALSE(Exists(player.sharedIniPath()));
    std::string bytes = ReadBytes(Player::PerUserIniPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadIni(Player::PerUserIniPath(), L"ZoomRate"), L"100");
}

TEST(Settings, StoredValuesAreCheckedAndWrittenBackAtExit) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(
        "[Settings]\r\nZoomRate=0\r\nSortType=6\r\nMediaDevice=7\r\nMaximize=true\r\n"
        "FitToWindow=yes\r\nKeepZoomRate=yes\r\nSaveWindowPos=no\r\nWindowLeft=77\r\n"
        "WindowTop=88\r\n[Presets]\r\nCount=5\r\nName0=Tiny\r\n"));
    ASSERT_TRUE(player.Start());
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
    const std::wstring ini = player.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"ZoomRate"), L"1");
    EXPECT_EQ(ReadIni(ini, L"SortType"), L"0");
    EXPECT_EQ(ReadIni(ini, L"MediaDevice"), L"1");
    EXPECT_EQ(ReadIni(ini, L"Maximize"), L"no");
    EXPECT_EQ(ReadIni(ini, L"KeepZoomRate"), L"no");
    EXPECT_EQ(ReadIni(ini, L"WindowLeft"), L"77");
    EXPECT_EQ(ReadIni(ini, L"WindowTop"), L"88");
    EXPECT_NE(ReadIni(ini, L"WindowWidth"), L"<absent>");
    EXPECT_EQ(ReadIni(ini, L"Count", L"Presets"), L"3");
    EXPECT_EQ(ReadIni(ini, L"Name0", L"Presets"), L"Tiny");
    EXPECT_EQ(ReadIni(ini, L"Status1", L"Presets"), L"31");
}

TEST(Settings, MaximizeOptionIsSavedForLaterRuns) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kQuietIni));
    ASSERT_TRUE(player.Start(L"/m"));
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; }, 5000));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Maximize"), L"yes");
}

TEST(SingleInstance, SecondStartHandsOverThePathsInOrderAndExits) {
    Player first;
    ASSERT_TRUE(
        first.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nRestorePlaylist=yes\r\n"));
    const std::wstring a = first.programFolder() + L"\\first song.wav";
    const std::wstring b = first.programFolder() + L"\\second.wav";
    ASSERT_TRUE(WriteBytes(a, "RIFF") && WriteBytes(b, "RIFF"));
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForMainWindow(), nullptr);

    EXPECT_EQ(RunAndWait(first.programFolder(), L"\"" + a + L"\" \"" + b + L"\""), 0u);
    // The sender deletes every atom it made.
    EXPECT_EQ(GlobalFindAtomW(a.c_str()), 0);
    EXPECT_EQ(GlobalFindAtomW(b.c_str()), 0);
    // A path that does not exist is dropped by the receiver.
    EXPECT_EQ(RunAndWait(first.programFolder(), L"missing.wav"), 0u);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(first.Close(), 0u);
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"FileCount", L"PlaylistFiles"), L"2");
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"File0", L"PlaylistFiles"), a);
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"File1", L"PlaylistFiles"), b);
}

TEST(SingleInstance, WithoutKeepSingleTaskASecondInstanceRunsFully) {
    Player first;
    Player second;
    const char ini[] = "[Settings]\r\nKeepSingleTask=no\r\n";
    ASSERT_TRUE(first.WriteSharedIni(ini));
    ASSERT_TRUE(second.WriteSharedIni(ini));
    ASSERT_TRUE(first.Start());
    ASSERT_NE(first.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(second.Start());
    ASSERT_NE(second.WaitForMainWindow(), nullptr);
    EXPECT_EQ(second.Close(), 0u);
    EXPECT_EQ(first.Close(), 0u);
    EXPECT_NE(ReadIni(second.sharedIniPath(), L"ZoomRate"), L"<absent>");
}

TEST(BadInput, BinarySettingsFileStartsWithDefaults) {
    Player player;
    std::string garbage;
    for (int i = 0; i < 20000; ++i) {
        garbage.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    }
    ASSERT_TRUE(player.WriteSharedIni(garbage));
    ASSERT_TRUE(player.Start());
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
}

TEST(BadInput, FolderNamedLikeTheSettingsFileIsNotASettingsFile) {
    Player player;
    ASSERT_TRUE(CreateDirectoryW(player.sharedIniPath().c_str(), nullptr));
    ASSERT_TRUE(player.Start());
    // A folder is no settings file: the first-run question comes.
    AnswerFirstRunQuestion(player, IDNO);
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_TRUE(GetFileAttributesW(player.sharedIniPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(BadInput, OverlongAndUnbalancedCommandLinesAreHarmless) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kQuietIni));
    std::wstring arguments = L"C:\\" + std::wstring(400, L'x') + L".mp3 \"C:\\unbalanced quote";
    ASSERT_TRUE(player.Start(arguments));
    ASSERT_NE(player.WaitForMainWindow(), nullptr);
    EXPECT_EQ(player.Close(), 0u);
}

}  // namespace

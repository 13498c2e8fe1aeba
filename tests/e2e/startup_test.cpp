// Start-up, the first-run question, single instance and shut-down of the real program.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/player.h"
#include "resources/resource.h"

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
    EXPECT_EQ(ReadIni(Player::PerUserIniPath(), L"Settings", L"ZoomRate"), L"100");
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
    EXPECT_EQ(ReadIni(ini, L"Settings", L"ZoomRate"), L"1");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"SortType"), L"0");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"MediaDevice"), L"1");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"Maximize"), L"no");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"KeepZoomRate"), L"no");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"WindowLeft"), L"77");
    EXPECT_EQ(ReadIni(ini, L"Settings", L"WindowTop"), L"88");
    EXPECT_NE(ReadIni(ini, L"Settings", L"WindowWidth"), L"<absent>");
    EXPECT_EQ(ReadIni(ini, L"Presets", L"Count"), L"3");
    EXPECT_EQ(ReadIni(ini, L"Presets", L"Name0"), L"Tiny");
    EXPECT_EQ(ReadIni(ini, L"Presets", L"Status1"), L"31");
}

TEST(Settings, MaximizeOptionIsSavedForLaterRuns) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kQuietIni));
    ASSERT_TRUE(player.Start(L"/m"));
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; }, 5000));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"Maximize"), L"yes");
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
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"PlaylistFiles", L"FileCount"), L"2");
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"PlaylistFiles", L"File0"), a);
    EXPECT_EQ(ReadIni(first.sharedIniPath(), L"PlaylistFiles", L"File1"), b);
}

// Paths given relative to a working folder other than the program's are
// kept in full: a later run from anywhere (and a running instance) can open them.
TEST(CommandLine, RelativePathsFromAnotherWorkingFolderAreRememberedInFull) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=no\r\n"));
    TempFolder work;
    ASSERT_TRUE(CreateDirectoryW((work / L"音楽").c_str(), nullptr));
    const std::wstring tone = work / L"音楽\\tone.wav";
    ASSERT_TRUE(WriteToneWav(tone, 300));
    ASSERT_TRUE(player.Start(L"音楽\\tone.wav", work.path()));
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
    EXPECT_EQ(player.Close(), 0u);
    const std::wstring ini = player.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"File0"), tone);
    EXPECT_EQ(ReadIni(ini, L"RecentDirList", L"Dir0"), work / L"音楽");
}

TEST(SingleInstance, RelativePathsAreHandedOverInFull) {
    Player first;
    ASSERT_TRUE(first.WriteSharedIni(
        "[Settings]\r\nKeepSingleTask=yes\r\nRestorePlaylist=yes\r\nPlayOnOpen=no\r\n"));
    TempFolder work;
    for (const wchar_t* name : {L"a.wav", L"b.wav", L"tone.wav"}) {
        ASSERT_TRUE(WriteToneWav(work / name, 300));
    }
    ASSERT_TRUE(first.Start());
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // The running instance's working folder is its program folder.
    EXPECT_EQ(RunAndWait(first.programFolder(), L"a.wav .\\b.wav", 15000, work.path()), 0u);
    EXPECT_EQ(RunAndWait(first.programFolder(), L"tone.wav", 15000, work.path()), 0u);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
    EXPECT_EQ(first.Close(), 0u);
    const std::wstring ini = first.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"2");
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"File0"), work / L"a.wav");
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"File1"), work / L"b.wav");
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"File0"), work / L"tone.wav");
}

// An atom's name holds 255 characters: a path of 256 to 259 goes by its
// short name and arrives by its long one, alone or between others.
TEST(SingleInstance, PathsTooLongForAnAtomArriveInFull) {
    Player first;
    ASSERT_TRUE(first.WriteSharedIni(
        "[Settings]\r\nKeepSingleTask=yes\r\nRestorePlaylist=yes\r\nPlayOnOpen=no\r\n"));
    TempFolder media;
    std::wstring folder = media.path();
    while (folder.size() < 259 - 40) {
        folder += L"\\" + std::wstring(30, L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    std::vector<std::wstring> longPaths;
    for (std::size_t length : {256u, 259u}) {
        longPaths.push_back(folder + L"\\" + std::wstring(length - folder.size() - 5, L'x') +
                            L".wav");
        ASSERT_EQ(longPaths.back().size(), length);
        ASSERT_TRUE(WriteToneWav(longPaths.back(), 300));
    }
    const std::wstring a = media / L"a.wav";
    const std::wstring b = media / L"b.wav";
    ASSERT_TRUE(WriteToneWav(a, 300) && WriteToneWav(b, 300));
    ASSERT_TRUE(first.Start());
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(RunAndWait(first.programFolder(), L"\"" + longPaths[1] + L"\""), 0u);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - " + longPaths[1].substr(folder.size() + 1)));
    EXPECT_EQ(RunAndWait(first.programFolder(),
                         L"\"" + a + L"\" \"" + longPaths[0] + L"\" \"" + b + L"\""),
              0u);
    EXPECT_EQ(first.Close(), 0u);
    const std::wstring ini = first.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"File0"), longPaths[1]);
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"3");
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"File0"), a);
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"File1"), longPaths[0]);
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"File2"), b);
}

// The instance mutex held by the test: a started player is then a second start.
class HeldInstanceMutex {
public:
    HeldInstanceMutex() : handle_(CreateMutexW(nullptr, TRUE, L"Zephlo mutex")) {
        owner_ = handle_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    }
    ~HeldInstanceMutex() { Release(); }
    HeldInstanceMutex(const HeldInstanceMutex&) = delete;
    HeldInstanceMutex& operator=(const HeldInstanceMutex&) = delete;

    bool owner() const { return owner_; }
    void Release() {
        if (handle_ != nullptr) {
            ReleaseMutex(handle_);
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

private:
    HANDLE handle_;
    bool owner_ = false;
};

// A main window of the test's own, standing in for a running player: it keeps
// the paths handed over to it.
std::vector<std::wstring> g_handedOver;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        wchar_t path[MAX_PATH] = L"";
        GlobalGetAtomNameW(static_cast<ATOM>(wParam), path, MAX_PATH);
        g_handedOver.push_back(path);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateStandIn() {
    if (!RegisterTestWindowClass(L"Zephlo Main Window", StandInProc)) {
        return nullptr;
    }
    return CreateWindowExW(0, L"Zephlo Main Window", L"Zephlo", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A stand-in that stops answering: its thread makes the window and then
// waits, without taking messages, until the test lets it go.
class FrozenStandIn {
public:
    FrozenStandIn() : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        made_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(made_, 10000);
    }
    ~FrozenStandIn() {
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(made_);
        CloseHandle(release_);
    }
    FrozenStandIn(const FrozenStandIn&) = delete;
    FrozenStandIn& operator=(const FrozenStandIn&) = delete;

    HWND window() const { return window_; }

private:
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<FrozenStandIn*>(parameter);
        self->window_ = CreateStandIn();
        SetEvent(self->made_);
        WaitForSingleObject(self->release_, INFINITE);
        DestroyWindow(self->window_);
        return 0;
    }

    HANDLE release_;
    HANDLE made_;
    HANDLE thread_;
    HWND window_ = nullptr;
};

TEST(SingleInstance, ASecondStartGivesUpOnAPlayerThatDoesNotAnswer) {
    HeldInstanceMutex mutex;
    ASSERT_TRUE(mutex.owner());
    FrozenStandIn frozen;
    ASSERT_NE(frozen.window(), nullptr);
    // The system counts a window hung once it has taken no message for a while.
    ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(frozen.window()) != FALSE; }, 20000));
    Player second;
    ASSERT_TRUE(second.WriteSharedIni(kQuietIni));
    const std::wstring file = second.programFolder() + L"\\song.wav";
    ASSERT_TRUE(WriteBytes(file, "RIFF"));
    ASSERT_TRUE(second.Start(L"\"" + file + L"\" \"" + file + L"\""));
    EXPECT_EQ(second.WaitForExit(30000), 0u);
    EXPECT_EQ(GlobalFindAtomW(file.c_str()), 0) << "the atom is deleted all the same";
}

TEST(SingleInstance, ASecondStartWaitsForTheWindowOfAnOwnerStillStarting) {
    HeldInstanceMutex mutex;
    ASSERT_TRUE(mutex.owner());
    Player second;
    ASSERT_TRUE(second.WriteSharedIni(kQuietIni));
    const std::wstring a = second.programFolder() + L"\\a.wav";
    const std::wstring b = second.programFolder() + L"\\b.wav";
    g_handedOver.clear();
    ASSERT_TRUE(second.Start(L"a.wav b.wav"));
    // The owner's window comes a while after the second start.
    PumpMessages(1500);
    EXPECT_TRUE(second.running());
    HWND standIn = CreateStandIn();
    ASSERT_NE(standIn, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return !second.running(); }, 20000));
    EXPECT_EQ(second.WaitForExit(0), 0u);
    EXPECT_EQ(g_handedOver, (std::vector<std::wstring>{a, b}));
    DestroyWindow(standIn);
}

TEST(SingleInstance, ASecondStartRunsItselfWhenTheOwnerEndsWithoutAWindow) {
    HeldInstanceMutex mutex;
    ASSERT_TRUE(mutex.owner());
    Player second;
    ASSERT_TRUE(second.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=no\r\n"));
    const std::wstring tone = second.programFolder() + L"\\tone.wav";
    ASSERT_TRUE(WriteToneWav(tone, 300));
    ASSERT_TRUE(second.Start(L"tone.wav"));
    PumpMessages(1000);
    mutex.Release();
    HWND window = second.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
    EXPECT_EQ(second.Close(), 0u);
}

// Starts launched together (a multiple selection opened as one process per
// file): whichever owns the mutex runs, and every file reaches it.
TEST(SingleInstance, StartsLaunchedTogetherAllReachTheOneThatRuns) {
    for (int starts : {2, 5}) {
        SCOPED_TRACE(starts);
        Player player;
        ASSERT_TRUE(player.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=no\r\n"));
        std::vector<std::wstring> files;
        std::vector<HANDLE> processes;
        for (int i = 0; i < starts; ++i) {
            files.push_back(player.programFolder() + L"\\file" + std::to_wstring(i) + L".wav");
            ASSERT_TRUE(WriteToneWav(files.back(), 200));
        }
        for (const std::wstring& file : files) {
            processes.push_back(StartProgram(player.programFolder(), L"\"" + file + L"\""));
            ASSERT_NE(processes.back(), nullptr);
        }
        // All but one hand over and end.
        auto ended = [&] {
            return std::count_if(processes.begin(), processes.end(), [](HANDLE process) {
                return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
            });
        };
        EXPECT_TRUE(PumpUntil([&] { return ended() == starts - 1; }, 30000));
        HANDLE running = nullptr;
        for (HANDLE process : processes) {
            DWORD code = 1;
            GetExitCodeProcess(process, &code);
            if (code == STILL_ACTIVE) {
                running = process;
            } else {
                EXPECT_EQ(code, 0u);
            }
        }
        DWORD processId = 0;
        HWND window = nullptr;
        PumpUntil([&] { return (window = FindAnyMainWindow(&processId)) != nullptr; }, 10000);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(running, nullptr);
        EXPECT_EQ(processId, GetProcessId(running));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(running, 15000), static_cast<DWORD>(WAIT_OBJECT_0));
        for (HANDLE process : processes) {
            WaitAndClose(process, 0);
        }
        const std::wstring ini = player.sharedIniPath();
        EXPECT_EQ(ReadIni(ini, L"RecentFileList", L"FileCount"), std::to_wstring(starts));
        std::vector<std::wstring> remembered;
        for (int i = 0; i < starts; ++i) {
            remembered.push_back(
                ReadIni(ini, L"RecentFileList", (L"File" + std::to_wstring(i)).c_str()));
        }
        std::sort(remembered.begin(), remembered.end());
        EXPECT_EQ(remembered, files);
    }
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
    EXPECT_NE(ReadIni(second.sharedIniPath(), L"Settings", L"ZoomRate"), L"<absent>");
}

// The names in a folder, sorted.
std::vector<std::wstring> FolderNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (lstrcmpW(data.cFileName, L".") != 0 && lstrcmpW(data.cFileName, L"..") != 0) {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// A file made for a test and deleted when it ends, however it ends.
class ScratchFile {
public:
    ScratchFile(const std::wstring& path, const std::string& bytes)
        : path_(path), written_(WriteBytes(path, bytes)) {}
    ~ScratchFile() { DeleteFileW(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool written() const { return written_; }

private:
    std::wstring path_;
    bool written_;
};

// A settings file that cannot be written (another program holds it, letting
// others only read): the player reads it, says nothing about the failed
// writes, ends with 0 and leaves the file and the folder as they were.
TEST(WriteFailures, AnUnwritableSettingsFileIsLeftAsItWas) {
    Player player;
    const std::string ini =
        "[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=no\r\nZoomRate=150\r\n"
        "[RecentFileList]\r\nFileCount=0\r\n";
    ASSERT_TRUE(player.WriteSharedIni(ini));
    const std::wstring tone = player.programFolder() + L"\\tone.wav";
    ASSERT_TRUE(WriteToneWav(tone, 300));
    {
        WriteLock locked(player.sharedIniPath());
        ASSERT_TRUE(locked.held());
        ASSERT_TRUE(player.Start(L"tone.wav /m"));
        HWND window = player.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_EQ(player.WaitForMessageBox(0), nullptr);
    }
    EXPECT_EQ(ReadBytes(player.sharedIniPath()), ini);
    EXPECT_EQ(FolderNames(player.programFolder()),
              (std::vector<std::wstring>{L"Zephlo.exe", L"Zephlo.ini", L"tone.wav"}));
    EXPECT_FALSE(Exists(Player::PerUserFolder()));
}

// Nowhere to write: a folder stands where the settings file beside the
// program would be written and a file where the per-user folder would be
// made (either holds for the superuser, on any file system). Whichever the
// first-run answer, the player runs and ends with 0 without a word, writes
// no other file and damages nothing.
TEST(WriteFailures, WithNowhereToWriteTheSettingsThePlayerStillRunsAndEndsWell) {
    for (int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "per user" : "beside the program");
        Player player;
        ScratchFile blocker(Player::PerUserFolder(), "not a folder");
        ASSERT_TRUE(blocker.written());
        const std::wstring shared = player.sharedIniPath();
        ASSERT_TRUE(CreateDirectoryW(shared.c_str(), nullptr));
        HANDLE opened = CreateFileW(shared.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            CloseHandle(opened);
        }
        ASSERT_EQ(opened, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(player.Start());
        HWND box = player.WaitForMessageBox();
        ASSERT_NE(box, nullptr);
        Player::PressButton(box, answer);
        HWND window = player.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_COMMAND, CMD_PLAYLIST, 0);
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_EQ(player.WaitForMessageBox(0), nullptr);
        EXPECT_EQ(FolderNames(player.programFolder()),
                  (std::vector<std::wstring>{L"Zephlo.exe", L"Zephlo.ini"}));
        EXPECT_TRUE(FolderNames(shared).empty());
        EXPECT_EQ(ReadBytes(Player::PerUserFolder()), "not a folder");
    }
}

// The file name box of a file dialog (an edit control, inside a combo box in
// the newer dialogs).
HWND FileNameBox(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM parameter) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(child, name, 16);
            int id = GetDlgCtrlID(child);
            if (lstrcmpiW(name, L"Edit") == 0 && (id == edt1 || id == cmb13)) {
                *reinterpret_cast<HWND*>(parameter) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A playlist saved where it cannot be written: message 714, and neither the
// target nor anything else is touched. The targets: an existing file another
// program holds (letting others only read), and a name under a file that
// stands where its folder would be.
TEST(WriteFailures, APlaylistThatCannotBeSavedSaysSoAndDamagesNothing) {
    TempFolder out;
    const std::string old = "C:\\old.wav\r\n";
    ASSERT_TRUE(WriteBytes(out / L"list.m3u", old));
    ASSERT_TRUE(WriteBytes(out / L"blocker", old));
    struct Case {
        const char* name;
        std::wstring target;
        std::wstring kept;  // the file that stands in the way
        bool replaces;      // the dialog asks whether to replace the target
    } cases[] = {
        {"held file", out / L"list.m3u", out / L"list.m3u", true},
        {"file for a folder", out / L"blocker\\new.m3u", out / L"blocker", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player player;
        ASSERT_TRUE(player.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nPlayOnOpen=no\r\n"));
        for (const wchar_t* name : {L"a.wav", L"b.wav"}) {
            ASSERT_TRUE(WriteToneWav(player.programFolder() + L"\\" + name, 200));
        }
        WriteLock locked(c.kept);
        ASSERT_TRUE(locked.held());
        ASSERT_TRUE(player.Start(L"a.wav b.wav"));
        HWND window = player.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_COMMAND, CMD_SAVE_PLAYLIST, 0);
        HWND dialog = player.WaitForDialog(
            [](HWND shown) { return KindOfDialog(shown) == DialogKind::kFileDialog; });
        ASSERT_NE(dialog, nullptr);
        HWND name = FileNameBox(dialog);
        ASSERT_NE(name, nullptr);
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.target.c_str()),
                            SMTO_BLOCK, 5000, nullptr);
        Player::PressButton(dialog, IDOK);
        if (c.replaces) {
            HWND replace =
                player.WaitForDialog([](HWND box) { return GetDlgItem(box, IDYES) != nullptr; });
            ASSERT_NE(replace, nullptr);
            Player::PressButton(replace, IDYES);
        }
        HWND failure = player.WaitForDialog([&](HWND box) {
            return box != dialog && Player::MessageBoxText(box).find(L"ファイルが保存できません") !=
                                        std::wstring::npos;
        });
        ASSERT_NE(failure, nullptr);
        Player::PressButton(failure, IDOK);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(failure); }, 5000));
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_EQ(ReadBytes(c.kept), old);
        EXPECT_EQ(FolderNames(out.path()), (std::vector<std::wstring>{L"blocker", L"list.m3u"}));
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"KeepSingleTask"), L"yes");
        EXPECT_EQ(FolderNames(player.programFolder()),
                  (std::vector<std::wstring>{L"Zephlo.exe", L"Zephlo.ini", L"a.wav", L"b.wav"}));
    }
}

// What a player writes back after starting from a binary settings file is
// what it writes after starting from an empty one: the defaults.
TEST(BadInput, BinarySettingsFileStartsWithDefaults) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i) {
        garbage.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    }
    const wchar_t* const keys[] = {L"KeepSingleTask", L"MediaDevice",    L"FileMasks",
                                   L"PlayOnOpen",     L"ZoomStep",       L"BackwardSpeed",
                                   L"ForwardSpeed",   L"SortType",       L"MaxFileHistory",
                                   L"TitleFormat",    L"RestorePlaylist"};
    const std::string starts[] = {"[Settings]\r\n", garbage};
    std::vector<std::wstring> written[2];
    for (int i = 0; i < 2; ++i) {
        Player player;
        ASSERT_TRUE(player.WriteSharedIni(starts[i]));
        ASSERT_TRUE(player.Start());
        ASSERT_NE(player.WaitForMainWindow(), nullptr);
        EXPECT_EQ(player.Close(), 0u);
        for (const wchar_t* key : keys) {
            written[i].push_back(ReadIni(player.sharedIniPath(), L"Settings", key));
        }
    }
    EXPECT_EQ(written[0].front(), L"yes");
    EXPECT_EQ(written[1], written[0]);
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

// An argument too long to be a path is left out, and an unclosed quote runs
// to the end of the line: the file after the long argument is then the only
// one and opens at once (two files would have gone to the playlist).
TEST(BadInput, OverlongAndUnbalancedCommandLinesAreHarmless) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni(kQuietIni));
    std::wstring arguments =
        L"C:\\" + std::wstring(400, L'x') + L".mp3 \"" + TestMedia(L"tone.wav");
    ASSERT_TRUE(player.Start(arguments));
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitForText(window, L"Zephlo - tone.wav"));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"RecentFileList", L"FileCount"), L"1");
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"PlaylistFiles", L"FileCount"), L"0");
}

}  // namespace

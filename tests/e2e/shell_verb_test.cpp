// The shell's verb as Explorer runs it for a multi-selection: the drop target
// class created by its id from a local server (a copy of the program the test
// registers) and the files dropped on it in one data object. Each drop starts
// a new server process, which hands the files to a running player or becomes
// the player with them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/drop_target.h"
#include "e2e/player.h"
#include "support/file_list_data.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kMainWindowClass[] = L"Zephlo Main Window";

// The class registered as a local server of `program`, removed again at the
// end. Machine-wide: Wine's COM reads classes only from
// HKLM\Software\Classes, not from the current user's Software\Classes,
// which Windows merges into HKEY_CLASSES_ROOT (WineHQ bug 14771).
class ServerRegistration {
public:
    explicit ServerRegistration(const std::wstring& program) {
        wchar_t classId[40];
        StringFromGUID2(kDropTargetClassId, classId, 40);
        key_ = std::wstring(L"Software\\Classes\\CLSID\\") + classId;
        const std::wstring command = L"\"" + program + L"\"";
        registered_ = RegSetKeyValueW(HKEY_LOCAL_MACHINE, (key_ + L"\\LocalServer32").c_str(),
                                      nullptr, REG_SZ, command.c_str(),
                                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) ==
                      ERROR_SUCCESS;
    }
    ~ServerRegistration() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }
    ServerRegistration(const ServerRegistration&) = delete;
    ServerRegistration& operator=(const ServerRegistration&) = delete;

    bool registered() const { return registered_; }

private:
    std::wstring key_;
    bool registered_ = false;
};

// What the shell does for its verb: the object from the local server, then
// DragEnter and Drop with the selection. S_OK when both answered a copy.
HRESULT DropOnVerb(const std::vector<std::wstring>& paths) {
    ComPtr<IDropTarget> target;
    HRESULT result =
        CoCreateInstance(kDropTargetClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&target));
    if (FAILED(result)) {
        ADD_FAILURE() << "CoCreateInstance: 0x" << std::hex << result;
        return result;
    }
    ComPtr<IDataObject> data = MakeFileListData(paths);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    result = target->DragEnter(data.Get(), MK_LBUTTON, {0, 0}, &effect);
    if (FAILED(result) || effect != DROPEFFECT_COPY) {
        return FAILED(result) ? result : E_FAIL;
    }
    result = target->Drop(data.Get(), 0, {0, 0}, &effect);
    return SUCCEEDED(result) && effect != DROPEFFECT_COPY ? E_FAIL : result;
}

int CountMainWindows() {
    int count = 0;
    for (HWND window = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr);
         window != nullptr; window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) {
        ++count;
    }
    return count;
}

std::wstring PlaylistFile(const std::wstring& ini, int index) {
    return ReadIni(ini, L"PlaylistFiles", (L"File" + std::to_wstring(index)).c_str());
}

// Files with names of the kind users keep, existing and empty of sound.
std::vector<std::wstring> MakeFiles(const TempFolder& folder,
                                    const std::vector<std::wstring>& names) {
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names) {
        paths.push_back(folder / name);
        EXPECT_TRUE(WriteBytes(paths.back(), "RIFF"));
    }
    return paths;
}

TEST(ShellVerb, RunningPlayerQueuesEachSelectionInOrderAndTheServersEnd) {
    ComApartment com;
    Player player;
    ASSERT_TRUE(
        player.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\nRestorePlaylist=yes\r\n"));
    ASSERT_TRUE(player.Start());
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ServerRegistration registration(player.programFolder() + L"\\Zephlo.exe");
    ASSERT_TRUE(registration.registered());
    TempFolder media;
    const std::vector<std::wstring> first =
        MakeFiles(media, {L"b 二曲目.wav", L"a.wav", L"c テスト.mp3"});
    const std::vector<std::wstring> second = MakeFiles(media, {L"e 四.wav", L"d.wav"});

    for (const std::vector<std::wstring>* selection : {&first, &second}) {
        ASSERT_EQ(DropOnVerb(*selection), S_OK);
        // The server handed the files over and ended; the player alone is left.
        EXPECT_TRUE(PumpUntil([] { return ProcessesNamed(L"Zephlo.exe").size() == 1; }, 15000));
        EXPECT_EQ(ProcessesNamed(L"Zephlo.exe"), std::vector<DWORD>{player.processId()});
        EXPECT_EQ(CountMainWindows(), 1);
    }
    // Queued, not opened.
    EXPECT_EQ(Player::WindowText(window), L"Zephlo");
    EXPECT_EQ(player.Close(), 0u);

    const std::wstring ini = player.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"5");
    std::vector<std::wstring> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(PlaylistFile(ini, i), expected[static_cast<std::size_t>(i)]) << i;
    }
}

// A process of the program not started by the test, ended if still running.
class OtherProcess {
public:
    explicit OtherProcess(DWORD id)
        : handle_(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                              FALSE, id)) {}
    ~OtherProcess() {
        if (handle_ != nullptr) {
            if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
                TerminateProcess(handle_, 1);
            }
            CloseHandle(handle_);
        }
    }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;

    bool running() const {
        return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
    }
    DWORD WaitForExit(DWORD timeout) const {
        DWORD code = STILL_ACTIVE;
        if (handle_ != nullptr) {
            WaitForSingleObject(handle_, timeout);
            GetExitCodeProcess(handle_, &code);
        }
        return code;
    }

private:
    HANDLE handle_;
};

class ShellVerbWithoutPlayer : public testing::TestWithParam<const char*> {};

TEST_P(ShellVerbWithoutPlayer, ServerBecomesThePlayerWithTheSelection) {
    ComApartment com;
    Player folder;  // the program's folder; this test starts no process itself
    ASSERT_TRUE(folder.WriteSharedIni(std::string("[Settings]\r\nKeepSingleTask=") + GetParam() +
                                      "\r\nRestorePlaylist=yes\r\n"));
    ServerRegistration registration(folder.programFolder() + L"\\Zephlo.exe");
    ASSERT_TRUE(registration.registered());
    TempFolder media;
    const std::vector<std::wstring> selection =
        MakeFiles(media, {L"3 三.wav", L"1 一.wav", L"2 二.mp3"});

    ASSERT_EQ(DropOnVerb(selection), S_OK);
    HWND window = nullptr;
    EXPECT_TRUE(PumpUntil(
        [&] {
            window = FindWindowW(kMainWindowClass, nullptr);
            return window != nullptr && IsWindowVisible(window);
        },
        15000));
    ASSERT_NE(window, nullptr);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    OtherProcess server(processId);
    EXPECT_EQ(ProcessesNamed(L"Zephlo.exe"), std::vector<DWORD>{processId});
    HWND playlist = nullptr;
    EXPECT_TRUE(PumpUntil(
        [&] {
            playlist = FindWindowW(L"Zephlo Playlist Window", nullptr);
            return playlist != nullptr && IsWindowVisible(playlist);
        },
        5000));
    // It stays as the player.
    EXPECT_TRUE(server.running());
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(server.WaitForExit(15000), 0u);

    const std::wstring ini = folder.sharedIniPath();
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PlaylistFile(ini, i), selection[static_cast<std::size_t>(i)]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(KeepSingleTask, ShellVerbWithoutPlayer, testing::Values("yes", "no"));

}  // namespace

// The release installer run silently, for all users and for the current user:
// the files and registry keys it installs, the installed program started
// with several files as Explorer passes them, and the silent uninstaller,
// which removes exactly what was installed and keeps what was not its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/drop_target.h"
#include "app/file_masks.h"
#include "resources/resource.h"
#include "resources/version.h"
#include "support/file_list_data.h"
#include "support/test_support.h"

namespace {

constexpr wchar_t kSetupName[] = L"Zephlo-" ZEPHLO_VERSION_TEXT L"-x64-setup.exe";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zephlo";
constexpr wchar_t kApplicationKey[] = L"Software\\Classes\\Applications\\Zephlo.exe";
constexpr wchar_t kMediaProgId[] = L"Zephlo.MediaFile";
constexpr wchar_t kPlaylistProgId[] = L"Zephlo.Playlist";
constexpr wchar_t kVerbText[] = L"Zephloで再生";
constexpr DWORD kTimeout = 60000;

// The verb's drop target class as "{...}", and its key.
std::wstring DropTargetClassId() {
    wchar_t classId[40] = L"";
    StringFromGUID2(kDropTargetClassId, classId, 40);
    return classId;
}
std::wstring DropTargetKey() {
    return L"Software\\Classes\\CLSID\\" + DropTargetClassId();
}

const std::vector<std::wstring> kInstalledFiles = {L"Themes\\Classic.zpres",
                                                   L"Themes\\Glossy.zpres",
                                                   L"Themes\\Small.zpres",
                                                   L"Uninstall.exe",
                                                   L"Zephlo.chm",
                                                   L"Zephlo.exe",
                                                   L"readme.txt"};

// The media extensions of the built-in file masks (".aif", ...).
std::vector<std::wstring> MediaExtensions() {
    std::vector<std::wstring> extensions;
    std::wstring masks = kBuiltInFileMasks;
    std::size_t start = 0;
    while (start < masks.size()) {
        std::size_t end = masks.find(L';', start);
        if (end == std::wstring::npos) {
            end = masks.size();
        }
        extensions.push_back(masks.substr(start + 1, end - start - 1));  // without the "*"
        start = end + 1;
    }
    return extensions;
}

// Files under a folder, relative and sorted.
void ListFiles(const std::wstring& folder, const std::wstring& prefix,
               std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        } else {
            files.push_back(prefix + name);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    ListFiles(folder, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A string value, or "<absent>" when the key or value does not exist.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* value) {
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return L"<absent>";
    }
    return text;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

bool SetRegistryText(HKEY root, const std::wstring& key, const wchar_t* value,
                     const std::wstring& text) {
    return RegSetKeyValueW(root, key.c_str(), value, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// Runs a program with arguments and waits for its end; its exit code, or
// STILL_ACTIVE when it did not end in time.
DWORD RunProgram(const std::wstring& program, const std::wstring& arguments,
                 DWORD timeout = kTimeout) {
    HANDLE process = StartProcess(L"\"" + program + L"\" " + arguments);
    if (process == nullptr) {
        ADD_FAILURE() << ToUtf8(program) << " did not start: " << GetLastError();
    }
    return WaitAndClose(process, timeout);
}

HWND WaitForVisibleWindow(DWORD processId, const wchar_t* className) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> windows = ProcessWindows(processId, className, true);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        15000);
    return found;
}

// Starts the installed program with the command line, waits for its main
// window (and its playlist window when several files are given), closes it;
// the exit code. `buttons` receives the main toolbar's button size.
DWORD StartAndClose(const std::wstring& program, const std::wstring& arguments, bool playlist,
                    SIZE& buttons) {
    HANDLE process = StartProcess(L"\"" + program + L"\" " + arguments);
    if (process == nullptr) {
        return static_cast<DWORD>(-1);
    }
    const DWORD processId = GetProcessId(process);
    HWND window = WaitForVisibleWindow(processId, L"Zephlo Main Window");
    EXPECT_NE(window, nullptr);
    if (playlist) {
        // Several files are queued in the playlist, which shows.
        EXPECT_NE(WaitForVisibleWindow(processId, L"Zephlo Playlist Window"), nullptr);
    }
    if (window != nullptr) {
        auto size = static_cast<DWORD>(
            SendMessageW(GetDlgItem(window, ID_MAIN_TOOLBAR), TB_GETBUTTONSIZE, 0, 0));
        buttons = {LOWORD(size), HIWORD(size)};
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return WaitAndClose(process);
}

// What Explorer does for the verb on a multi-selection: the drop target from
// the registered local server, the files dropped on it in one data object.
// The server becomes the player (no other runs); waits for its playlist
// window, closes it and returns its exit code.
DWORD DropOnVerbAndClose(const std::vector<std::wstring>& paths) {
    ComApartment com;
    DWORD code = static_cast<DWORD>(-1);
    {
        Microsoft::WRL::ComPtr<IDropTarget> target;
        HRESULT created = CoCreateInstance(kDropTargetClassId, nullptr, CLSCTX_LOCAL_SERVER,
                                           IID_PPV_ARGS(&target));
        EXPECT_EQ(created, S_OK);
        Microsoft::WRL::ComPtr<IDataObject> data = MakeFileListData(paths);
        DWORD effect = DROPEFFECT_COPY;
        if (SUCCEEDED(created) && target->DragEnter(data.Get(), 0, {}, &effect) == S_OK &&
            target->Drop(data.Get(), 0, {}, &effect) == S_OK) {
            EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
            HWND window = nullptr;
            PumpUntil(
                [&] {
                    window = FindWindowW(L"Zephlo Main Window", nullptr);
                    return window != nullptr && IsWindowVisible(window);
                },
                15000);
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            HANDLE process =
                OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE,
                            FALSE, processId);
            if (process != nullptr) {
                EXPECT_NE(WaitForVisibleWindow(processId, L"Zephlo Playlist Window"), nullptr);
                PostMessageW(window, WM_CLOSE, 0, 0);
                code = WaitAndClose(process);
            }
        }
    }
    return code;
}

std::wstring KnownFolder(int csidl) {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    std::wstring path = folder;
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

struct InstallCase {
    const char* name;
    const wchar_t* mode;  // installer switch
    HKEY root;            // where the registration goes
    // Wine's COM reads classes from HKLM\Software\Classes only (WineHQ bug
    // 14771): a class registered for the current user cannot be activated.
    bool comReadsRoot;
    int programsFolder;   // CSIDL of the Start menu's programs folder
    bool removeSettings;  // the uninstaller is asked to remove the settings
};

class InstallerTest : public testing::TestWithParam<InstallCase> {};

TEST_P(InstallerTest, InstallsRegistersRunsAndUninstallsExactlyItsOwn) {
    const InstallCase& c = GetParam();
    const std::wstring setup = BuildFolder() + L"\\packages\\" + kSetupName;
    ASSERT_TRUE(Exists(setup)) << ToUtf8(setup);
    TempFolder temp;
    const std::wstring folder = temp / L"Zephlo 再生";
    const std::wstring classes = L"Software\\Classes\\";
    // Settings of an earlier run per user would be used instead of the ones beside the program.
    const std::wstring perUserFolder = KnownFolder(CSIDL_APPDATA) + L"\\Zephlo";
    RemoveTree(perUserFolder);

    // What another player registered before: a default program and an
    // "Open with" entry, neither of which Zephlo may touch.
    ASSERT_TRUE(SetRegistryText(c.root, classes + L".mp3", nullptr, L"Other.Mp3"));
    ASSERT_TRUE(SetRegistryText(c.root, classes + L".wav\\OpenWithProgids", L"Other.Player", L""));

    std::vector<std::pair<std::wstring, const wchar_t*>> extensions;
    for (const std::wstring& extension : MediaExtensions()) {
        extensions.emplace_back(extension, kMediaProgId);
    }
    extensions.emplace_back(L".m3u", kPlaylistProgId);
    extensions.emplace_back(L".m3u8", kPlaylistProgId);
    ASSERT_GE(extensions.size(), 18u);
    // Each extension's key and default program as they were.
    auto snapshot = [&] {
        std::vector<std::wstring> state;
        for (const auto& extension : extensions) {
            const std::wstring key = classes + extension.first;
            state.push_back(KeyExists(c.root, key) ? RegistryText(c.root, key, nullptr)
                                                   : L"<no key>");
        }
        return state;
    };
    const std::vector<std::wstring> before = snapshot();

    ASSERT_EQ(RunProgram(setup, std::wstring(L"/S ") + c.mode + L" /D=" + folder), 0u);
    EXPECT_EQ(FilesUnder(folder), kInstalledFiles);
    const std::wstring shortcut = KnownFolder(c.programsFolder) + L"\\Zephlo.lnk";
    EXPECT_TRUE(Exists(shortcut)) << ToUtf8(shortcut);

    // Add/Remove Programs.
    EXPECT_EQ(RegistryText(c.root, kUninstallKey, L"DisplayName"), L"Zephlo");
    EXPECT_EQ(RegistryText(c.root, kUninstallKey, L"DisplayVersion"), L"" ZEPHLO_VERSION_TEXT);
    EXPECT_EQ(RegistryText(c.root, kUninstallKey, L"InstallLocation"), folder);
    EXPECT_EQ(RegistryText(c.root, kUninstallKey, L"UninstallString"),
              L"\"" + folder + L"\\Uninstall.exe\"");

    // Open with: the application, its program ids and one entry per extension.
    // The verb's drop target is the program as a local server.
    const std::wstring command = L"\"" + folder + L"\\Zephlo.exe\" \"%1\"";
    for (std::wstring key :
         {std::wstring(kApplicationKey), classes + kMediaProgId, classes + kPlaylistProgId}) {
        SCOPED_TRACE(ToUtf8(key));
        EXPECT_EQ(RegistryText(c.root, key + L"\\shell\\open", nullptr), kVerbText);
        EXPECT_EQ(RegistryText(c.root, key + L"\\shell\\open", L"MultiSelectModel"), L"Player");
        EXPECT_EQ(RegistryText(c.root, key + L"\\shell\\open\\command", nullptr), command);
        EXPECT_EQ(RegistryText(c.root, key + L"\\shell\\open\\DropTarget", L"CLSID"),
                  DropTargetClassId());
    }
    EXPECT_EQ(RegistryText(c.root, DropTargetKey() + L"\\LocalServer32", nullptr),
              L"\"" + folder + L"\\Zephlo.exe\"");
    EXPECT_EQ(RegistryText(c.root, DropTargetKey() + L"\\LocalServer32", L"ServerExecutable"),
              folder + L"\\Zephlo.exe");
    for (const auto& [extension, progId] : extensions) {
        SCOPED_TRACE(ToUtf8(extension));
        EXPECT_EQ(RegistryText(c.root, std::wstring(kApplicationKey) + L"\\SupportedTypes",
                               extension.c_str()),
                  L"");
        EXPECT_EQ(RegistryText(c.root, classes + extension + L"\\OpenWithProgids", progId), L"");
    }
    // No default program changed.
    std::vector<std::wstring> installed = snapshot();
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (before[i] == L"<no key>") {
            EXPECT_EQ(installed[i], L"<absent>") << ToUtf8(extensions[i].first);
        } else {
            EXPECT_EQ(installed[i], before[i]) << ToUtf8(extensions[i].first);
        }
    }
    EXPECT_EQ(RegistryText(c.root, classes + L".mp3", nullptr), L"Other.Mp3");

    // The installed program, with a settings file beside it as a user's, started
    // with several files on one command line: they fill the playlist in order.
    const std::wstring ini = folder + L"\\Zephlo.ini";
    const std::string settings = "[Settings]\r\nKeepSingleTask=no\r\nRestorePlaylist=yes\r\n";
    ASSERT_TRUE(WriteBytes(ini, settings));
    const std::wstring media[] = {temp / L"b 二.wav", temp / L"a.wav", temp / L"c.mp3"};
    ASSERT_TRUE(WriteBytes(media[0], "RIFF") && WriteBytes(media[1], "RIFF") &&
                WriteBytes(media[2], "ID3"));
    SIZE ownButtons{};
    EXPECT_EQ(StartAndClose(folder + L"\\Zephlo.exe",
                            L"\"" + media[0] + L"\" \"" + media[1] + L"\" \"" + media[2] + L"\"",
                            true, ownButtons),
              0u);
    EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", (L"File" + std::to_wstring(i)).c_str()), media[i])
            << i;
    }
    // The installed plug-ins are found: Small's 8 x 8 pictures make the main
    // toolbar's buttons 8 pixels smaller each way than the program's own.
    ASSERT_TRUE(WriteBytes(ini, settings + "ThemePlugin=Small.zpres\r\n"));
    SIZE smallButtons{};
    EXPECT_EQ(StartAndClose(folder + L"\\Zephlo.exe", L"", false, smallButtons), 0u);
    EXPECT_EQ(smallButtons.cx, ownButtons.cx - 8);
    EXPECT_EQ(smallButtons.cy, ownButtons.cy - 8);

    // The files of a multi-selection through the verb's drop target: the
    // server COM starts becomes the player with them.
    if (c.comReadsRoot) {
        ASSERT_TRUE(WriteBytes(ini, settings));
        EXPECT_EQ(DropOnVerbAndClose({media[0], media[1], media[2]}), 0u);
        EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", L"FileCount"), L"3");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ReadIni(ini, L"PlaylistFiles", (L"File" + std::to_wstring(i)).c_str()),
                      media[i])
                << i;
        }
    }

    // A file the user keeps in the Themes folder is not the uninstaller's.
    const std::wstring userTheme = folder + L"\\Themes\\mine.zptheme";
    ASSERT_TRUE(WriteBytes(userTheme, "[Colors]\r\n"));

    // The user's own settings, made per user.
    const std::wstring perUserIni = perUserFolder + L"\\Zephlo.ini";
    CreateDirectoryW(perUserFolder.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(perUserIni, "[Settings]\r\n"));

    // The uninstaller copies itself away and returns at once: wait for its work.
    ASSERT_EQ(
        RunProgram(folder + L"\\Uninstall.exe", c.removeSettings ? L"/S /RemoveSettings" : L"/S"),
        0u);
    // Its copy (Temp\~nsu1.tmp\Un.exe) must have ended too: a copy still
    // running keeps the next uninstaller from copying itself to the same place.
    EXPECT_TRUE(PumpUntil(
        [&] {
            return !Exists(folder + L"\\Uninstall.exe") && !KeyExists(c.root, kUninstallKey) &&
                   (c.removeSettings ? !Exists(ini) && !Exists(perUserIni) : true) &&
                   ProcessesNamed(L"Un.exe").empty();
        },
        kTimeout));
    std::vector<std::wstring> left = {L"Themes\\mine.zptheme"};
    if (!c.removeSettings) {
        left.push_back(L"Zephlo.ini");
    }
    EXPECT_TRUE(PumpUntil([&] { return FilesUnder(folder) == left; }, 5000));
    EXPECT_EQ(FilesUnder(folder), left);
    EXPECT_FALSE(Exists(shortcut));
    for (std::wstring key :
         {std::wstring(kApplicationKey), classes + kMediaProgId, classes + kPlaylistProgId,
          DropTargetKey(), std::wstring(kUninstallKey)}) {
        EXPECT_FALSE(KeyExists(c.root, key)) << ToUtf8(key);
    }
    for (const auto& [extension, progId] : extensions) {
        EXPECT_EQ(RegistryText(c.root, classes + extension + L"\\OpenWithProgids", progId),
                  L"<absent>")
            << ToUtf8(extension);
    }
    EXPECT_EQ(Exists(perUserIni), !c.removeSettings);
    // Every extension's key is as it was (keys made only for Zephlo's entries
    // are gone with them); the other player's entry stays.
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(RegistryText(c.root, classes + L".wav\\OpenWithProgids", L"Other.Player"), L"");

    RegDeleteTreeW(c.root, (classes + L".mp3").c_str());
    RegDeleteTreeW(c.root, (classes + L".wav").c_str());
    RemoveTree(perUserFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, InstallerTest,
    testing::Values(InstallCase{"AllUsersKeepingSettings", L"/AllUsers", HKEY_LOCAL_MACHINE, true,
                                CSIDL_COMMON_PROGRAMS, false},
                    InstallCase{"CurrentUserRemovingSettings", L"/CurrentUser", HKEY_CURRENT_USER,
                                false, CSIDL_PROGRAMS, true}),
    [](const testing::TestParamInfo<InstallCase>& row) { return row.param.name; });

}  // namespace

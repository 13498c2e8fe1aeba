#include "e2e/player.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "resources/resource.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The per-user folder is emptied before and after each run, so it must lie
// in the Wine prefix the test session made inside the build folder, never in
// anyone's own.
void RemovePerUserFolder() {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* build = std::getenv("ZEPHLO_BUILD_DIR");
    const std::wstring folder = Player::PerUserFolder();
    if (prefix == nullptr || build == nullptr || *build == '\0' ||
        std::string(prefix).compare(0, std::string(build).size(), build) != 0 ||
        folder.compare(1, 2, L":\\") != 0) {
        ADD_FAILURE() << "not the test session's Wine prefix; " << ToUtf8(folder)
                      << " is left alone";
        return;
    }
    RemoveTree(folder);
}

// The host's name of a path, by Wine's own conversion; empty when there is
// none.
std::string HostName(const std::wstring& path) {
    using ToHostName = char*(CDECL*)(LPCWSTR);
    const auto toHostName = reinterpret_cast<ToHostName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* hostName = toHostName != nullptr ? toHostName(path.c_str()) : nullptr;
    if (hostName == nullptr) {
        return {};
    }
    std::string name = hostName;
    HeapFree(GetProcessHeap(), 0, hostName);
    return name;
}

// A file URI of a host name, every byte but letters, digits and "/-._~"
// escaped.
std::string FileUri(const std::string& hostName) {
    std::string uri = "file://";
    for (const char c : hostName) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || std::strchr("/-._~", byte) != nullptr) {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri;
}

// A point of the screen where a drop lands on `window`: its centre, or else
// the first point of a grid over it, under which lies the window itself or
// one of its children.
bool DropPoint(HWND window, POINT& point) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) {
        return false;
    }
    const auto landsOnWindow = [&](POINT candidate) {
        HWND under = WindowFromPoint(candidate);
        return under == window || IsChild(window, under);
    };
    const POINT centre = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    if (landsOnWindow(centre)) {
        point = centre;
        return true;
    }
    constexpr int kSteps = 8;
    for (int i = 0; i < kSteps * kSteps; ++i) {
        const POINT candidate = {
            frame.left + (frame.right - frame.left) * (i % kSteps * 2 + 1) / (kSteps * 2),
            frame.top + (frame.bottom - frame.top) * (i / kSteps * 2 + 1) / (kSteps * 2)};
        if (landsOnWindow(candidate)) {
            point = candidate;
            return true;
        }
    }
    return false;
}

BOOL CALLBACK CollectText(HWND child, LPARAM parameter) {
    wchar_t className[32];
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        *reinterpret_cast<std::wstring*>(parameter) += Player::WindowText(child);
    }
    return TRUE;
}

}  // namespace

Player::Player() {
    RemovePerUserFolder();
    std::wstring source = BuildFolder() + L"\\Zephlo.exe";
    if (!CopyFileW(source.c_str(), (folder_ / L"Zephlo.exe").c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << ToUtf8(source) << " into the test folder (error "
                      << GetLastError() << ")";
    }
}

Player::~Player() {
    if (process_ != nullptr) {
        if (running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    RemovePerUserFolder();
}

std::wstring Player::PerUserFolder() {
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    return path + L"Zephlo";
}

std::wstring Player::PerUserIniPath() {
    return PerUserFolder() + L"\\Zephlo.ini";
}

bool Player::WriteSharedIni(const std::string& content) const {
    return WriteBytes(sharedIniPath(), content);
}

bool Player::Start(const std::wstring& arguments, const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + (folder_ / L"Zephlo.exe") + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    process_ = StartProcess(commandLine, workingFolder.empty() ? folder_.path() : workingFolder);
    processId_ = process_ != nullptr ? GetProcessId(process_) : 0;
    return process_ != nullptr;
}

HWND Player::WaitForMainWindow(DWORD timeout) const {
    HWND window = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> found = ProcessWindows(processId_, L"Zephlo Main Window", true);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || !running();
        },
        timeout);
    return window;
}

DialogKind KindOfDialog(HWND dialog) {
    // The common dialogs' file type box (cmb1) or file name box (cmb13), the
    // property sheet's tab control, the About box's two texts, the message
    // box's text (which a dialog template's -1 statics share).
    if (GetDlgItem(dialog, 0x470) != nullptr || GetDlgItem(dialog, 0x47C) != nullptr) {
        return DialogKind::kFileDialog;
    }
    if (GetDlgItem(dialog, 0x3020) != nullptr) {
        return DialogKind::kPropertySheet;
    }
    if (GetDlgItem(dialog, IDC_ABOUT_TEXT) != nullptr &&
        GetDlgItem(dialog, IDC_ABOUT_LINK) != nullptr) {
        return DialogKind::kAboutBox;
    }
    if (GetDlgItem(dialog, 0xFFFF) != nullptr) {
        return DialogKind::kMessageBox;
    }
    return DialogKind::kAny;
}

HWND Player::WaitForMessageBox(DWORD timeout) const {
    HWND box = nullptr;
    PumpUntil(
        [&] {
            for (HWND found : ProcessWindows(processId_, L"#32770", true)) {
                box = KindOfDialog(found) == DialogKind::kMessageBox ? found : box;
            }
            return box != nullptr || !running();
        },
        timeout);
    return box;
}

HWND Player::WaitForDialog(const std::function<bool(HWND)>& wanted, DWORD timeout) const {
    HWND dialog = nullptr;
    PumpUntil(
        [&] {
            for (HWND found : ProcessWindows(processId_, L"#32770", true)) {
                if (wanted(found)) {
                    dialog = found;
                    return true;
                }
            }
            return !running();
        },
        timeout);
    return dialog;
}

void Player::PressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

std::wstring Player::WindowText(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return text;
}

std::wstring Player::MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

DWORD Player::WaitForExit(DWORD timeout) {
    if (process_ == nullptr) {
        return STILL_ACTIVE;
    }
    WaitForSingleObject(process_, timeout);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

DWORD Player::Close(DWORD timeout) {
    HWND window = WaitForMainWindow(timeout);
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return WaitForExit(timeout);
}

bool Player::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

int Player::CountWindows(const wchar_t* className) const {
    return static_cast<int>(ProcessWindows(processId_, className, false).size());
}

HWND Player::WaitForWindow(const wchar_t* className, DWORD timeout) const {
    HWND window = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> found = ProcessWindows(processId_, className, false);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeout);
    return window;
}

bool Player::DropFiles(HWND window, const std::vector<std::wstring>& paths) const {
    POINT point;
    if (!DropPoint(window, point)) {
        ADD_FAILURE() << "no visible point of the window to drop on";
        return false;
    }
    const HANDLE hostWindow = GetPropW(GetAncestor(window, GA_ROOT), L"__wine_x11_whole_window");
    const char* python = std::getenv("ZEPHLO_PYTHON");
    const char* source = std::getenv("ZEPHLO_SOURCE_DIR");
    if (hostWindow == nullptr || python == nullptr || source == nullptr) {
        ADD_FAILURE() << "no display window, Python or source folder for a drop";
        return false;
    }
    TempFolder folder;
    const std::wstring outcomeFile = folder / L"outcome";
    std::wstring commandLine = L"\"" + FromUtf8(python) + L"\" \"" + FromUtf8(source) +
                               L"/tests/support/xdnd_drop.py\" \"" +
                               FromUtf8(HostName(outcomeFile)) + L"\" " +
                               std::to_wstring(reinterpret_cast<ULONG_PTR>(hostWindow)) + L" " +
                               std::to_wstring(point.x) + L" " + std::to_wstring(point.y);
    for (const std::wstring& path : paths) {
        const std::string hostName = HostName(path);
        if (hostName.empty()) {
            ADD_FAILURE() << "no host name for " << ToUtf8(path);
            return false;
        }
        commandLine += L" " + FromUtf8(FileUri(hostName));
    }
    // A host program started under Wine is no Windows process: no process
    // handle to wait on comes back, so its outcome comes through a file it
    // writes whole.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ADD_FAILURE() << "the drag source did not start: " << GetLastError();
        return false;
    }
    for (HANDLE handle : {info.hThread, info.hProcess}) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    std::string outcome;
    PumpUntil([&] { return !(outcome = ReadBytes(outcomeFile)).empty(); }, 20000);
    if (outcome != "dropped") {
        ADD_FAILURE() << "the drop ended with \"" << outcome << "\"";
    }
    return outcome == "dropped";
}

HANDLE StartProgram(const std::wstring& programFolder, const std::wstring& arguments,
                    const std::wstring& workingFolder) {
    return StartProcess(L"\"" + programFolder + L"\\Zephlo.exe\" " + arguments,
                        workingFolder.empty() ? programFolder : workingFolder);
}

DWORD RunAndWait(const std::wstring& programFolder, const std::wstring& arguments, DWORD timeout,
                 const std::wstring& workingFolder) {
    return WaitAndClose(StartProgram(programFolder, arguments, workingFolder), timeout);
}

HWND FindAnyMainWindow(DWORD* processId) {
    for (HWND window = FindWindowW(L"Zephlo Main Window", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"Zephlo Main Window", nullptr)) {
        if (IsWindowVisible(window)) {
            if (processId != nullptr) {
                GetWindowThreadProcessId(window, processId);
            }
            return window;
        }
    }
    return nullptr;
}

namespace {

// Whether the file can be opened for writing, or (for a folder) a new file
// made in it.
bool CanWrite(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring target = folder ? path + L"\\write-probe.tmp" : path;
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, folder ? CREATE_NEW : OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    if (folder) {
        DeleteFileW(target.c_str());
    }
    return true;
}

}  // namespace

WriteLock::WriteLock(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    held_ = file_ != INVALID_HANDLE_VALUE && !CanWrite(path);
}

WriteLock::~WriteLock() {
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
    }
}

std::vector<std::wstring> StatusPanes(HWND mainWindow) {
    std::vector<std::wstring> panes;
    HWND bar = FindWindowExW(mainWindow, nullptr, L"Zephlo StatusBar", nullptr);
    if (bar == nullptr) {
        return panes;
    }
    std::wstring text = Player::WindowText(bar);
    std::size_t start = 0;
    for (std::size_t tab = text.find(L'\t'); tab != std::wstring::npos;
         tab = text.find(L'\t', start)) {
        panes.push_back(text.substr(start, tab - start));
        start = tab + 1;
    }
    panes.push_back(text.substr(start));
    return panes;
}

bool WaitForText(HWND window, const std::wstring& expected, DWORD timeout) {
    return PumpUntil([&] { return Player::WindowText(window) == expected; }, timeout);
}

bool WaitForPane(HWND mainWindow, int pane, const std::wstring& expected, DWORD timeout) {
    return PumpUntil(
        [&] {
            std::vector<std::wstring> panes = StatusPanes(mainWindow);
            return static_cast<int>(panes.size()) > pane && panes[pane] == expected;
        },
        timeout);
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::wstring TestMedia(const wchar_t* name) {
    return BuildFolder() + L"\\test-media\\" + name;
}

bool WriteToneWav(const std::wstring& path, int milliseconds, int frequency) {
    constexpr int kRate = 44100;
    constexpr int kChannels = 2;
    const int frames = static_cast<int>(static_cast<long long>(kRate) * milliseconds / 1000);
    const DWORD dataSize = static_cast<DWORD>(frames) * kChannels * 2;
    auto put32 = [](std::string& out, DWORD value) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    };
    auto put16 = [](std::string& out, int value) {
        out.push_back(static_cast<char>(value & 0xFF));
        out.push_back(static_cast<char>((value >> 8) & 0xFF));
    };
    std::string bytes = "RIFF";
    put32(bytes, 36 + dataSize);
    bytes += "WAVEfmt ";
    put32(bytes, 16);
    put16(bytes, 1);  // PCM
    put16(bytes, kChannels);
    put32(bytes, kRate);
    put32(bytes, kRate * kChannels * 2);
    put16(bytes, kChannels * 2);
    put16(bytes, 16);
    bytes += "data";
    put32(bytes, dataSize);
    for (int i = 0; i < frames; ++i) {
        int sample =
            static_cast<int>(8000 * std::sin(2 * 3.14159265358979 * frequency * i / kRate));
        put16(bytes, sample);
        put16(bytes, sample);
    }
    return WriteBytes(path, bytes);
}

#include "e2e/player.h"

#include <shlobj.h>

#include <vector>

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId) {
        return TRUE;
    }
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    if (lstrcmpW(className, search->className) == 0 &&
        (!search->visibleOnly || IsWindowVisible(window))) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> FindWindows(DWORD processId, const wchar_t* className, bool visibleOnly) {
    WindowSearch search{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    RemoveTree(PerUserFolder());
    std::wstring source = BuildFolder() + L"\\Zephlo.exe";
    CopyFileW(source.c_str(), (folder_ / L"Zephlo.exe").c_str(), FALSE);
}

Player::~Player() {
    if (process_ != nullptr) {
        if (running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    RemoveTree(PerUserFolder());
}

std::wstring Player::PerUserFolder() {
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    return path + L"Zephlo";
}

std::wstring Player::PerUserIniPath() { return PerUserFolder() + L"\\Zephlo.ini"; }

bool Player::WriteSharedIni(const std::string& content) const {
    return WriteBytes(sharedIniPath(), content);
}

bool Player::Start(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + (folder_ / L"Zephlo.exe") + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.path().c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

HWND Player::WaitForMainWindow(DWORD timeout) const {
    HWND window = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> found = FindWindows(processId_, L"Zephlo Main Window", true);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || !running();
        },
        timeout);
    return window;
}

HWND Player::WaitForMessageBox(DWORD timeout) const {
    HWND box = nullptr;
    PumpUntil(
        [&] {
            std::vector<HWND> found = FindWindows(processId_, L"#32770", true);
            box = found.empty() ? nullptr : found.front();
            return box != nullptr || !running();
        },
        timeout);
    return box;
}

void Player::PressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

std::wstring Player::WindowText(HWND window) {
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        5000, nullptr);
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
    return static_cast<int>(FindWindows(processId_, className, false).size());
}

DWORD RunAndWait(const std::wstring& programFolder, const std::wstring& arguments,
                 DWORD timeout) {
    std::wstring commandLine = L"\"" + programFolder + L"\\Zephlo.exe\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        programFolder.c_str(), &startup, &info)) {
        return static_cast<DWORD>(-1);
    }
    CloseHandle(info.hThread);
    WaitForSingleObject(info.hProcess, timeout);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    if (code == STILL_ACTIVE) {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    return code;
}

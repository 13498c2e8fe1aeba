#include "media_test_support.h"

#include "media/media.h"
#include "support/test_support.h"

namespace {

constexpr wchar_t kParentClass[] = L"Zephlo Test Canvas";

}  // namespace

RecordingParent::RecordingParent() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.cbWndExtra = sizeof(void*);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kParentClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kParentClass, L"canvas",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480, 360,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

RecordingParent::~RecordingParent() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

std::vector<LPARAM> RecordingParent::States() const {
    std::vector<LPARAM> states;
    for (const Notification& notification : notifications) {
        if (notification.code == kMediaStateChanged) {
            states.push_back(notification.value);
        }
    }
    return states;
}

LPARAM RecordingParent::LastPosition() const {
    for (auto it = notifications.rbegin(); it != notifications.rend(); ++it) {
        if (it->code == kMediaPositionChanged) {
            return it->value;
        }
    }
    return -1;
}

LRESULT CALLBACK RecordingParent::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingParent*>(GetWindowLongPtrW(window, 0));
    if (self != nullptr) {
        switch (message) {
            case kMediaNotify:
                self->notifications.push_back({wParam, lParam});
                return 0;
            case WM_MOUSEMOVE:
                self->mouseMoves.push_back(
                    {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            case WM_SETCURSOR:
                ++self->setCursorCount;
                return TRUE;
            default:
                break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring MediaFile(const wchar_t* name) {
    return BuildFolder() + L"\\test-media\\" + name;
}

MessageBoxCloser::MessageBoxCloser() {
    InitializeCriticalSection(&lock_);
    thread_ = std::thread([this] { Watch(); });
}

MessageBoxCloser::~MessageBoxCloser() {
    stop_ = true;
    thread_.join();
    DeleteCriticalSection(&lock_);
}

std::vector<std::wstring> MessageBoxCloser::Texts() {
    EnterCriticalSection(&lock_);
    std::vector<std::wstring> texts = texts_;
    LeaveCriticalSection(&lock_);
    return texts;
}

void MessageBoxCloser::Watch() {
    while (!stop_) {
        HWND box = nullptr;
        while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(box)) {
                continue;
            }
            // The text of a message box is its static control with id 0xFFFF.
            wchar_t text[512] = L"";
            GetDlgItemTextW(box, 0xFFFF, text, 512);
            EnterCriticalSection(&lock_);
            texts_.push_back(text);
            LeaveCriticalSection(&lock_);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
            break;
        }
        Sleep(50);
    }
}

std::string HostTempPath(const std::string& suffix) {
    static int counter = 0;
    return "/tmp/zephlo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter) + suffix;
}

HostCommand::HostCommand(const std::string& command) : marker_(HostTempPath(".done")) {
    // Wine starts a program that is not a Windows executable as a host process.
    std::wstring commandLine =
        L"/bin/sh -c \"(" + FromUtf8(command) + L"); touch " + FromUtf8(marker_) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    started_ = CreateProcessW(L"Z:\\bin\\sh", buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process) != FALSE;
    if (started_) {
        if (process.hThread != nullptr) {
            CloseHandle(process.hThread);
        }
        if (process.hProcess != nullptr) {
            CloseHandle(process.hProcess);
        }
    }
}

HostCommand::~HostCommand() {
    DeleteFileW(WindowsPathOfHostPath(marker_).c_str());
}

bool HostCommand::Wait(DWORD timeoutMilliseconds) {
    std::wstring marker = WindowsPathOfHostPath(marker_);
    return started_ &&
           PumpUntil([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                     timeoutMilliseconds);
}

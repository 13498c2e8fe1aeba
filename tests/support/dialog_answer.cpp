#include "support/dialog_answer.h"

#include <algorithm>

namespace dialog_answer {
namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
// The static control of a message box that holds its message.
constexpr int kMessageBoxText = 0xFFFF;

struct Pending {
    UINT_PTR timer;
    std::vector<HWND> seen;  // dialogs shown before or answered
    const std::vector<Answer>* answers;
    std::size_t next;
};

// One Run at a time is waiting; its timer finds it here.
Pending* g_pending = nullptr;

std::vector<HWND> ShownDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(window, name, 16);
            if (IsWindowVisible(window) && lstrcmpW(name, kDialogClass) == 0) {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    Pending* pending = g_pending;
    if (pending == nullptr || pending->next >= pending->answers->size()) {
        return;
    }
    HWND dialog = nullptr;
    for (HWND shown : ShownDialogs()) {
        if (std::find(pending->seen.begin(), pending->seen.end(), shown) == pending->seen.end()) {
            dialog = shown;
        }
    }
    if (dialog == nullptr) {
        return;
    }
    pending->seen.push_back(dialog);
    const Answer& answer = (*pending->answers)[pending->next++];
    // The answer may show further dialogs, which this timer answers meanwhile.
    answer(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        Press(dialog, IDCANCEL);
    }
}

}  // namespace

int Run(const std::function<void()>& action, const std::vector<Answer>& answers) {
    Pending pending{SetTimer(nullptr, 0, 10, OnTimer), ShownDialogs(), &answers, 0};
    Pending* outer = g_pending;
    g_pending = &pending;
    action();
    KillTimer(nullptr, pending.timer);
    g_pending = outer;
    return static_cast<int>(pending.next);
}

void Press(HWND dialog, int button) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::wstring Caption(HWND dialog) {
    wchar_t text[256] = L"";
    GetWindowTextW(dialog, text, 256);
    return text;
}

std::wstring MessageText(HWND dialog) {
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, kMessageBoxText, text, 512);
    return text;
}

}  // namespace dialog_answer

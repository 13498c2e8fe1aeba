#include "support/sheet_driver.h"

#include <commctrl.h>

#include <vector>

namespace {

const SheetDriver::Script* g_script = nullptr;
bool g_ran = false;

// A shown top-level window of this thread that holds a tab control.
BOOL CALLBACK FindSheet(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void CALLBACK SheetDriver::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSheet, reinterpret_cast<LPARAM>(&found));
    if (found == nullptr || g_ran) {
        return;
    }
    KillTimer(nullptr, timer);
    g_ran = true;
    SheetDriver driver;
    driver.sheet_ = found;
    (*g_script)(driver);
    if (!driver.ended_) {
        driver.PressCancel();
    }
}

bool SheetDriver::Run(const std::function<void()>& open, const Script& script) {
    g_script = &script;
    g_ran = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, OnTimer);
    open();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    return g_ran;
}

HWND SheetDriver::page() const {
    return PropSheet_GetCurrentPageHwnd(sheet_);
}

int SheetDriver::pagePosition() const {
    return static_cast<int>(PropSheet_HwndToIndex(sheet_, page()));
}

HWND SheetDriver::ShowPage(int position) const {
    PropSheet_SetCurSel(sheet_, nullptr, position);
    return page();
}

HWND SheetDriver::Control(int id) const {
    return GetDlgItem(page(), id);
}

void SheetDriver::SetCheck(int id, bool checked) const {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
}

bool SheetDriver::IsChecked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SheetDriver::Click(int id) const {
    SendMessageW(page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void SheetDriver::SetText(int id, const std::wstring& text) const {
    SetWindowTextW(Control(id), text.c_str());
}

std::wstring SheetDriver::Text(int id) const {
    HWND control = Control(id);
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
    GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void SheetDriver::SelectDropDown(int id, int position) const {
    SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageW(page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
}

int SheetDriver::DropDownSelection(int id) const {
    return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

void SheetDriver::SelectRow(int id, int row) const {
    HWND list = Control(id);
    if (row < 0) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    } else {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void SheetDriver::PressOk() {
    ended_ = true;
    PropSheet_PressButton(sheet_, PSBTN_OK);
}

void SheetDriver::PressCancel() {
    ended_ = true;
    PropSheet_PressButton(sheet_, PSBTN_CANCEL);
}

void SheetDriver::PressHelp() const {
    PropSheet_PressButton(sheet_, PSBTN_HELP);
}

#include "settings/settings_page.h"

#include <new>
#include <vector>

#include "base/text.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

namespace {

// Notifications of the sheet to its pages lie between PSN_LAST and PSN_FIRST.
bool IsSheetNotification(UINT code) {
    return code <= PSN_FIRST && code >= PSN_LAST;
}

}  // namespace

INT_PTR CALLBACK SettingsPage::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<SettingsPage*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        page = reinterpret_cast<SettingsPage*>(record->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->window_ = window;
    }
    if (page == nullptr) {
        return FALSE;
    }
    // Nothing thrown may leave through the platform's dialog code; a page that
    // runs out of memory leaves its work undone.
    try {
        return page->HandleMessage(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

void SettingsPage::Bind(int index, DWORD helpContext, SettingsDialogHost& host, int& lastPage) {
    index_ = index;
    helpContext_ = helpContext;
    host_ = &host;
    lastPage_ = &lastPage;
}

INT_PTR SettingsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (IsSheetNotification(header.code)) {
                return OnSheetNotify(header);
            }
            LRESULT result = 0;
            return OnNotify(header, result) ? Result(result) : FALSE;
        }
        case WM_DESTROY:
            SetWindowLongPtrW(window_, DWLP_USER, 0);
            window_ = nullptr;
            return FALSE;
        default: {
            INT_PTR result = FALSE;
            return OnMessage(message, wParam, lParam, result) ? result : FALSE;
        }
    }
}

INT_PTR SettingsPage::OnSheetNotify(const NMHDR& header) {
    switch (header.code) {
        case PSN_SETACTIVE:
            *lastPage_ = index_;
            return Result(0);
        case PSN_APPLY:
            OnApply();
            return Result(PSNRET_NOERROR);
        case PSN_RESET:
            OnCancel();
            return Result(0);
        case PSN_HELP:
            host_->ShowHelp(helpContext_);
            return Result(0);
        default:
            return FALSE;
    }
}

INT_PTR SettingsPage::Result(LRESULT result) const {
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

bool SettingsPage::IsChecked(int id) const {
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void SettingsPage::SetChecked(int id, bool checked) const {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SettingsPage::EnableControl(int id, bool enabled) const {
    EnableWindow(Control(id), enabled);
}

std::wstring SettingsPage::ControlText(int id, std::size_t limit) const {
    std::vector<wchar_t> buffer(limit + 1, L'\0');
    int length = GetDlgItemTextW(window_, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

void SettingsPage::SetControlText(int id, const std::wstring& text) const {
    SetDlgItemTextW(window_, id, text.c_str());
}

void SettingsPage::FillDropDown(int id, UINT firstString, int count, int selected) const {
    HWND list = Control(id);
    for (int i = 0; i < count; ++i) {
        std::wstring text = LoadText(firstString + static_cast<UINT>(i));
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int SettingsPage::DropDownSelection(int id, int otherwise) const {
    auto position = static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
    return position >= 0 ? position : otherwise;
}

void SettingsPage::SetNumberBox(int spinId, int low, int high, int value) const {
    HWND spin = Control(spinId);
    SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
    SendMessageW(spin, UDM_SETPOS32, 0, value);
}

int SettingsPage::NumberBoxValue(int id) const {
    int length = GetWindowTextLengthW(Control(id));
    return ParseIntValue(
        ControlText(id, static_cast<std::size_t>(length > 0 ? length : 0)).c_str());
}

void SettingsPage::RetireButton(int id) const {
    HWND button = Control(id);
    if (GetFocus() == button) {
        SendMessageW(GetParent(window_), WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(button, FALSE);
}

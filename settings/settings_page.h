// What every page of the settings sheet shares: the dialog procedure that
// finds the page object, the Help button, the remembered page, and small
// helpers for the controls the pages are made of.
#ifndef ZEPHLO_SETTINGS_SETTINGS_PAGE_H
#define ZEPHLO_SETTINGS_SETTINGS_PAGE_H

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>

class SettingsDialogHost;

class SettingsPage {
public:
    SettingsPage() = default;
    virtual ~SettingsPage() = default;
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;

    // The dialog procedure of every page; the page object comes in the page
    // record's lParam and is kept from WM_INITDIALOG on.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Set by the sheet before the page is shown: its index, help context, the
    // host that shows help and where the sheet remembers the active page.
    void Bind(int index, DWORD helpContext, SettingsDialogHost& host, int& lastPage);

    // The page's window while it exists.
    HWND window() const { return window_; }

protected:
    // WM_INITDIALOG: fill the controls from the live settings.
    virtual void OnInit() = 0;
    // The sheet's OK: copy the page into the live settings and push the changes.
    virtual void OnApply() = 0;
    // The sheet's Cancel.
    virtual void OnCancel() {}
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // Notifications of the page's own controls; true when handled, with the
    // result in `result`.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // Any other message after WM_INITDIALOG (owner-drawn controls' drawing,
    // colours); true when handled, with the dialog procedure's answer in `result`.
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                           INT_PTR& /*result*/) {
        return false;
    }

    // Control helpers.
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    void EnableControl(int id, bool enabled) const;
    // The control's text, at most `limit` characters (the rest is dropped).
    std::wstring ControlText(int id, std::size_t limit) const;
    void SetControlText(int id, const std::wstring& text) const;
    // A drop-down list of consecutive strings, with `selected` chosen.
    void FillDropDown(int id, UINT firstString, int count, int selected) const;
    // The chosen position of a drop-down list, or `otherwise` with none.
    int DropDownSelection(int id, int otherwise) const;
    // A number box and its up-down: range and value.
    void SetNumberBox(int spinId, int low, int high, int value) const;
    // The number in a box as the settings read numbers: an optional sign and
    // the leading digits, saturating; no digits gives 0.
    int NumberBoxValue(int id) const;
    // Disables a button that has done its work, handing the keyboard focus on
    // first when it has it.
    void RetireButton(int id) const;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnSheetNotify(const NMHDR& header);
    INT_PTR Result(LRESULT result) const;

    HWND window_ = nullptr;
    int index_ = 0;
    DWORD helpContext_ = 0;
    SettingsDialogHost* host_ = nullptr;
    int* lastPage_ = nullptr;
};

#endif

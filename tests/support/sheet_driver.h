// Drives a modal property sheet from inside the test: a thread timer, served
// by the sheet's own message loop, finds the sheet once it shows and runs a
// script on it; the script ends with OK or Cancel (a script that returns
// early, say on a failed assertion, has the sheet cancelled for it).
#ifndef ZEPHLO_TESTS_SUPPORT_SHEET_DRIVER_H
#define ZEPHLO_TESTS_SUPPORT_SHEET_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>

class SheetDriver {
public:
    using Script = std::function<void(SheetDriver& sheet)>;

    // Calls `open`, which shows the sheet and returns when it closes, with
    // `script` run on the sheet in between. False when no sheet showed.
    static bool Run(const std::function<void()>& open, const Script& script);

    HWND sheet() const { return sheet_; }
    // The page shown, its position among the pages, and showing another.
    HWND page() const;
    int pagePosition() const;
    HWND ShowPage(int position) const;

    // Controls of the page shown, driven as a user would: the control changes
    // and the page hears of it as from the control.
    HWND Control(int id) const;
    void SetCheck(int id, bool checked) const;
    bool IsChecked(int id) const;
    void Click(int id) const;
    void SetText(int id, const std::wstring& text) const;
    std::wstring Text(int id) const;
    void SelectDropDown(int id, int position) const;
    int DropDownSelection(int id) const;
    // Selects a list view row (-1: none).
    void SelectRow(int id, int row) const;

    void PressOk();
    void PressCancel();
    void PressHelp() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);

    HWND sheet_ = nullptr;
    bool ended_ = false;
};

#endif

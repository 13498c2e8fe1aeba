// Drives a real Zephlo.exe from a test: a private program folder with a copy
// of the program, an empty per-user settings folder, launching, finding its
// windows and message boxes, closing and reading what it wrote.
#ifndef ZEPHLO_TESTS_E2E_PLAYER_H
#define ZEPHLO_TESTS_E2E_PLAYER_H

#include <windows.h>

#include <string>

#include "support/test_support.h"

class Player {
public:
    Player();
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    const std::wstring& programFolder() const { return folder_.path(); }
    std::wstring sharedIniPath() const { return folder_ / L"Zephlo.ini"; }
    static std::wstring PerUserFolder();
    static std::wstring PerUserIniPath();
    // Writes the settings file beside the program (so no first-run question).
    bool WriteSharedIni(const std::string& content) const;

    // Starts the program with a command line (without the program name).
    bool Start(const std::wstring& arguments = L"");
    // The process's main window, once it exists and is visible.
    HWND WaitForMainWindow(DWORD timeout = 15000) const;
    // A message box (dialog class #32770) of the process.
    HWND WaitForMessageBox(DWORD timeout = 15000) const;
    // Presses a button of a message box (IDYES, IDNO, IDCANCEL, IDOK).
    static void PressButton(HWND box, int id);
    static std::wstring WindowText(HWND window);
    // All texts of a message box's static controls, joined.
    static std::wstring MessageBoxText(HWND box);
    // Waits for the process to end; returns its exit code or STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeout = 15000);
    // WM_CLOSE to the main window, then WaitForExit.
    DWORD Close(DWORD timeout = 15000);
    bool running() const;
    DWORD processId() const { return processId_; }

    // Windows of this process with the given class name.
    int CountWindows(const wchar_t* className) const;

private:
    TempFolder folder_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Starts a second process of the same program folder and waits for its end.
DWORD RunAndWait(const std::wstring& programFolder, const std::wstring& arguments,
                 DWORD timeout = 15000);

#endif

// Drives a real Zephlo.exe from a test: a private program folder with a copy
// of the program, an empty per-user settings folder, launching, finding its
// windows and message boxes, closing and reading what it wrote.
#ifndef ZEPHLO_TESTS_E2E_PLAYER_H
#define ZEPHLO_TESTS_E2E_PLAYER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_support.h"

// The dialog windows (class #32770) a program shows, told apart by their
// controls.
enum class DialogKind {
    kAny,
    kMessageBox,
    kFileDialog,
    kAboutBox,
    kPropertySheet,
};

// What kind of dialog a shown dialog window is (kAny when none of the others).
DialogKind KindOfDialog(HWND dialog);

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

    // Starts the program with a command line (without the program name) in
    // a working folder (the program folder when empty).
    bool Start(const std::wstring& arguments = L"", const std::wstring& workingFolder = L"");
    // The process's main window, once it exists and is visible.
    HWND WaitForMainWindow(DWORD timeout = 15000) const;
    // A message box (dialog class #32770) of the process.
    HWND WaitForMessageBox(DWORD timeout = 15000) const;
    // A visible dialog (class #32770) of the process for which wanted holds.
    HWND WaitForDialog(const std::function<bool(HWND)>& wanted, DWORD timeout = 15000) const;
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
    // The first top-level window of the process with the class name, shown or
    // hidden; null when there is none within the time.
    HWND WaitForWindow(const wchar_t* className, DWORD timeout = 5000) const;

    // Drags the files onto a window of the process the way a file manager
    // of the display does (the display's drag and drop protocol, run by
    // tests/support/xdnd_drop.py): the platform hands the window's process
    // the drop. True once the target said it has finished with the drop.
    bool DropFiles(HWND window, const std::vector<std::wstring>& paths) const;

private:
    TempFolder folder_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Keeps a file from being written, replaced or deleted by any process until
// the object goes: the file is held open with a sharing mode that lets others
// only read it. Unlike the read-only attribute this stops the superuser the
// tests may run as, and unlike the host's file attributes it holds on any
// file system. held() is false when the file could not be held so.
class WriteLock {
public:
    explicit WriteLock(const std::wstring& path);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    bool held() const { return held_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool held_ = false;
};

// The three panes of the main window's status bar (read through WM_GETTEXT).
std::vector<std::wstring> StatusPanes(HWND mainWindow);
// Waits until the window's text equals the expected one; false on time-out.
bool WaitForText(HWND window, const std::wstring& expected, DWORD timeout = 10000);
// Waits until pane `pane` of the status bar equals the expected text.
bool WaitForPane(HWND mainWindow, int pane, const std::wstring& expected, DWORD timeout = 10000);
SIZE ClientSize(HWND window);
// The generated test media (tone.wav, red.avi, ...).
std::wstring TestMedia(const wchar_t* name);
// A 16-bit stereo 44.1 kHz WAVE file of a sine tone lasting `milliseconds`.
bool WriteToneWav(const std::wstring& path, int milliseconds, int frequency = 440);

// Starts the program of a program folder with a command line from a working
// folder (the program folder when empty): the process handle, which the
// caller closes (WaitAndClose), or null.
HANDLE StartProgram(const std::wstring& programFolder, const std::wstring& arguments,
                    const std::wstring& workingFolder = L"");
// Starts a second process of the same program folder and waits for its end.
DWORD RunAndWait(const std::wstring& programFolder, const std::wstring& arguments,
                 DWORD timeout = 15000, const std::wstring& workingFolder = L"");
// The visible main window of any process of the program, and its process id.
HWND FindAnyMainWindow(DWORD* processId = nullptr);

#endif

// Process-wide state of the main window and the application shell.
#ifndef ZEPHLO_APP_APP_H
#define ZEPHLO_APP_APP_H

#include <windows.h>

#include <string>

#include "app/handles.h"
#include "controls/status_bar.h"

struct App {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    // Menu resource 10, loaded once: owned by the main window while the menu
    // bar is shown, by this state otherwise (destroyed after the loop).
    HMENU mainMenu = nullptr;
    std::wstring helpFilePath;
    // The open file came from the playlist (playlist mode).
    bool fromPlaylist = false;
    // Index of the open file when a drop-down file list was shown.
    int listIndexBase = 0;
    // The Media video field of the last file closed (-1, 0 or 1).
    int previousVideoKind = -1;
    // Children of the main window.
    HWND toolbar = nullptr;
    HWND sizeGrip = nullptr;
    StatusBarState statusBar;
};

extern App g_app;

// The main window's class name, also how a second instance finds it.
inline constexpr wchar_t kMainWindowClass[] = L"Zephlo Main Window";
inline constexpr wchar_t kProgramName[] = L"Zephlo";

#endif

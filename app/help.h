// HTML Help, loaded from the system's hhctrl.ocx on first use.
#ifndef ZEPHLO_APP_HELP_H
#define ZEPHLO_APP_HELP_H

#include <windows.h>

#include <string>

#include "base/handles.h"

class HelpViewer {
public:
    HelpViewer() = default;
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;
    ~HelpViewer() { Close(); }

    // The help file (Zephlo.chm beside the program).
    void SetFile(std::wstring path) { file_ = std::move(path); }
    const std::wstring& file() const { return file_; }

    // Loads the help library and initialises it; true when help is available.
    bool Init();
    // Lets the help library see a message of the loop first; true when it took it.
    bool PreTranslateMessage(MSG* message) const;
    // Closes every help window and unloads the library (main window destroyed).
    void Close();
    // The table of contents of the help file.
    void ShowContents();
    // The topic of a context id (the settings pages use 2001-2006).
    void ShowContext(DWORD contextId);

private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    std::wstring file_;
    UniqueModule module_;
    HtmlHelpFunction htmlHelp_ = nullptr;
    DWORD cookie_ = 0;
};

#endif

#include "app/help.h"

#include <htmlhelp.h>

#include "app/app.h"
#include "app/handles.h"
#include "files/paths.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

struct HelpLibrary {
    UniqueModule module;
    HtmlHelpFunction htmlHelp = nullptr;
    DWORD cookie = 0;
};

HelpLibrary g_help;

// hhctrl.ocx from the system folder only: a library of that name beside the
// program or in the current folder must never be the one loaded.
HMODULE LoadSystemHelpLibrary() {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    std::wstring path = PathJoin(folder, L"hhctrl.ocx");
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool InitHelp() {
    if (g_help.module) {
        return true;
    }
    UniqueModule module(LoadSystemHelpLibrary());
    if (!module) {
        return false;
    }
    auto htmlHelp = GetProcedure<HtmlHelpFunction>(module.get(), "HtmlHelpW");
    if (htmlHelp == nullptr) {
        return false;
    }
    g_help.module = std::move(module);
    g_help.htmlHelp = htmlHelp;
    g_help.htmlHelp(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&g_help.cookie));
    return true;
}

bool HelpPreTranslateMessage(MSG* message) {
    return g_help.htmlHelp != nullptr &&
           g_help.htmlHelp(nullptr, nullptr, HH_PRETRANSLATEMESSAGE,
                           reinterpret_cast<DWORD_PTR>(message)) != nullptr;
}

void CloseHelp() {
    if (!g_help.module) {
        return;
    }
    g_help.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    g_help.htmlHelp(nullptr, nullptr, HH_UNINITIALIZE, g_help.cookie);
    g_help.htmlHelp = nullptr;
    g_help.module.reset();
}

void ShowHelpContents() {
    if (InitHelp()) {
        g_help.htmlHelp(nullptr, g_app.helpFilePath.c_str(), HH_DISPLAY_TOC, 0);
    }
}

void ShowContextHelp(DWORD contextId) {
    if (InitHelp()) {
        g_help.htmlHelp(nullptr, g_app.helpFilePath.c_str(), HH_HELP_CONTEXT, contextId);
    }
}

#include "app/help.h"

#include <htmlhelp.h>

#include "base/paths.h"

namespace {

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

bool HelpViewer::Init() {
    if (module_) {
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
    module_ = std::move(module);
    htmlHelp_ = htmlHelp;
    htmlHelp_(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&cookie_));
    return true;
}

bool HelpViewer::PreTranslateMessage(MSG* message) const {
    return htmlHelp_ != nullptr && htmlHelp_(nullptr, nullptr, HH_PRETRANSLATEMESSAGE,
                                             reinterpret_cast<DWORD_PTR>(message)) != nullptr;
}

void HelpViewer::Close() {
    if (!module_) {
        return;
    }
    htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
    htmlHelp_(nullptr, nullptr, HH_UNINITIALIZE, cookie_);
    htmlHelp_ = nullptr;
    module_.reset();
}

void HelpViewer::ShowContents() {
    if (Init()) {
        htmlHelp_(nullptr, file_.c_str(), HH_DISPLAY_TOC, 0);
    }
}

void HelpViewer::ShowContext(DWORD contextId) {
    if (Init()) {
        htmlHelp_(nullptr, file_.c_str(), HH_HELP_CONTEXT, contextId);
    }
}

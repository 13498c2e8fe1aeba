// The program's main window made inside a test process the way start-up
// makes it, for fixtures whose tests share one window: the settings file in
// a folder of its own, the window classes, the main menu, the window shown,
// its state restored and start-up finished; at the end the window destroyed
// and the program's end run as after its message loop.
#ifndef ZEPHLO_TESTS_E2E_IN_PROCESS_APP_H
#define ZEPHLO_TESTS_E2E_IN_PROCESS_APP_H

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>

#include "app/app.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "support/test_support.h"

class InProcessApp {
public:
    // `ini`, when given, is written as the settings file first; `prepare`
    // sets what the tests need before the window is made.
    explicit InProcessApp(const char* ini, const std::function<void(App&)>& prepare = {}) {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES |
                                                              ICC_TREEVIEW_CLASSES |
                                                              ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        app_->settingsLocation.path = folder_ / L"Zephlo.ini";
        if (ini != nullptr) {
            WriteBytes(app_->settingsLocation.path, ini);
        }
        if (prepare) {
            prepare(*app_);
        }
        app_->instance = GetModuleHandleW(nullptr);
        app_->mainMenu.reset(LoadMenuW(app_->instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        started_ =
            app_->mainMenu && RegisterWindowClasses(app_->instance) && CreateMainWindow(*app_);
        if (started_) {
            ShowWindow(app_->window.hwnd, SW_SHOWNORMAL);
            UpdateWindow(app_->window.hwnd);
            RestoreMainWindowState(*app_);
            FinishStartUp(*app_);
        }
    }

    ~InProcessApp() {
        if (app_->window.hwnd != nullptr) {
            DestroyWindow(app_->window.hwnd);
        }
        FinishAfterMessageLoop(*app_);
        app_.reset();
        CoUninitialize();
    }

    InProcessApp(const InProcessApp&) = delete;
    InProcessApp& operator=(const InProcessApp&) = delete;

    bool started() const { return started_; }
    App& app() { return *app_; }
    const TempFolder& folder() const { return folder_; }

private:
    TempFolder folder_;
    std::unique_ptr<App> app_ = std::make_unique<App>();
    bool started_ = false;
};

#endif

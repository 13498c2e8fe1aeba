#include "app/main_window.h"

#include <windows.h>

#include "app/app.h"
#include "app/commands.h"
#include "app/help.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

// WM_CLOSE: record the geometry and the volume, then destroy the window.
void OnClose(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        g_settings.windowLeft = normal.left;
        g_settings.windowTop = normal.top;
        g_settings.windowWidth = normal.right - normal.left;
        g_settings.windowHeight = normal.bottom - normal.top;
        g_settings.maximize = placement.showCmd == SW_SHOWMAXIMIZED;
    }
    DestroyWindow(window);
}

// WM_DESTROY: write the settings and let the message loop end.
void OnDestroy() {
    CloseHelp();
    if (g_settingsLocation.perUserSettings) {
        EnsurePerUserSettingsFolder();
    }
    SaveSettings(g_settingsLocation.path, g_settings);
    g_app.mainWindow = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            g_app.mainWindow = window;
            return 0;
        case WM_CLOSE:
            OnClose(window);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_COMMAND:
            ExecuteCommand(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEPHLO));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool CreateMainWindow(HINSTANCE instance) {
    DWORD extendedStyle = WS_EX_ACCEPTFILES | (g_settings.alwaysOnTop ? WS_EX_TOPMOST : 0);
    HWND window = CreateWindowExW(
        extendedStyle, kMainWindowClass, kProgramName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        g_settings.windowLeft, g_settings.windowTop, g_settings.windowWidth,
        g_settings.windowHeight, nullptr, g_settings.showMenuBar ? g_app.mainMenu : nullptr,
        instance, nullptr);
    return window != nullptr;
}

void RestoreMainWindowState() {}

void OpenCommandLineFiles(const PathList&, bool) {}

HACCEL MainWindowAccelerators() { return nullptr; }

void FinishAfterMessageLoop() {}

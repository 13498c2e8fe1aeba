#include "app/main_window.h"

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include "app/app.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "app/context_menus.h"
#include "app/file_masks.h"
#include "app/layout.h"
#include "app/menus.h"
#include "app/navigation.h"
#include "app/open_media.h"
#include "app/window_colours.h"
#include "base/window_class.h"

namespace {

// WM_CLOSE: record the geometry, the playlist and the volume, then destroy.
void OnClose(App& app, HWND window) {
    Settings& settings = app.settings;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        settings.windowLeft = normal.left;
        settings.windowTop = normal.top;
        settings.windowWidth = normal.right - normal.left;
        settings.windowHeight = normal.bottom - normal.top;
        settings.maximize = placement.showCmd == SW_SHOWMAXIMIZED;
    }
    RECT playlist;
    if (app.playlist.window() != nullptr && GetWindowRect(app.playlist.window(), &playlist)) {
        settings.playlistLeft = playlist.left;
        settings.playlistTop = playlist.top;
        settings.playlistWidth = playlist.right - playlist.left;
        settings.playlistHeight = playlist.bottom - playlist.top;
    }
    app.playlist.SavePlaylistSection(app.settingsLocation.path, settings.restorePlaylist);
    settings.volume = app.media()->GetVolume();
    DestroyWindow(window);
}

// WM_DESTROY: write the settings and histories and let the message loop end.
// The menu bar's menu stays with the App, which keeps it for the run.
void OnDestroy(App& app) {
    SetMenu(app.window.hwnd, nullptr);
    app.help.Close();
    if (app.settingsLocation.perUserSettings) {
        EnsurePerUserSettingsFolder();
    }
    const std::wstring& path = app.settingsLocation.path;
    SaveSettings(path, app.settings);
    if (!app.settings.saveFileHistory) {
        app.fileHistory.ClearHistory();
    }
    if (!app.settings.saveDirHistory) {
        app.folderHistory.ClearHistory();
    }
    app.fileHistory.SaveHistory(path, kFileHistorySection, kFileHistoryPrefix);
    app.folderHistory.SaveHistory(path, kFolderHistorySection, kFolderHistoryPrefix);
    app.playlistHistory.SaveHistory(path, kPlaylistHistorySection, kPlaylistHistoryPrefix);
    DestroyMainWindowChildren(app);
    PostQuitMessage(0);
}

// WM_NCDESTROY: the children are gone; nothing of the window is left.
void OnFinalDestroy(App& app) {
    app.window.builtInToolbarImages.reset();
    app.window.hwnd = nullptr;
    app.window.toolbar = nullptr;
    app.window.sizeGrip = nullptr;
}

// A path from a second instance, in a global atom (read at once: the sender
// deletes it when this returns). A path too long for an atom comes by its
// short name and is taken by its long one.
LRESULT OnHandOver(App& app, WPARAM atom, LPARAM position) {
    wchar_t buffer[kMaxPath];
    if (GlobalGetAtomNameW(static_cast<ATOM>(atom), buffer, kMaxPath) == 0) {
        return 0;
    }
    std::wstring path = AbsoluteLongPath(buffer);
    if (path.empty()) {
        path = buffer;
    }
    return ReceiveHandedOverPath(app, path, HIWORD(position)) ? 1 : 0;
}

// WM_APP: the media window reports a state or a position.
void OnMediaReport(App& app, WPARAM kind, LPARAM value) {
    if (kind == kMediaStateChanged) {
        ShowStateMarks(app, static_cast<int>(value));
    } else if (kind == kMediaPositionChanged && app.IsOpen()) {
        UpdateTimePane(app, static_cast<int>(value));
    }
}

LRESULT OnNotify(App& app, const NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        info->hinst = app.instance;
        info->lpszText = MAKEINTRESOURCEW(header->idFrom + IDS_LABEL_OFFSET);
    } else if (header->code == static_cast<UINT>(NM_TOOLTIPSCREATED)) {
        ApplyToolTipLook(reinterpret_cast<const NMTOOLTIPSCREATED*>(header)->hwndToolTips,
                         ToolTipLookOf(app.settings));
    } else if (header->code == NM_RCLICK && header->hwndFrom == app.window.toolbar) {
        ShowBarsMenu(app);
    } else if (header->code == TBN_DROPDOWN && header->hwndFrom == app.window.toolbar) {
        return OnToolbarDropDown(app, *reinterpret_cast<const NMTOOLBARW*>(header));
    }
    return 0;
}

LRESULT HandleMainWindowMessage(App& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return CreateMainWindowChildren(app, window) ? 0 : -1;
        case WM_SIZE:
            LayoutMainWindow(app, HIWORD(lParam), LOWORD(lParam));
            return 0;
        case WM_CLOSE:
            OnClose(app, window);
            return 0;
        case WM_DESTROY:
            OnDestroy(app);
            return 0;
        case WM_NCDESTROY:
            OnFinalDestroy(app);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_SYSCOLORCHANGE:
            ApplyColours(app, true);
            return 0;
        case WM_NOTIFY:
            return OnNotify(app, reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            // The canvas reports mouse clicks itself; a mouse-made message is
            // swallowed and only the context-menu key (lParam -1) shows the menu.
            if (lParam == -1) {
                ShowContextMenuAtCanvas(app);
            }
            return 0;
        case WM_MEASUREITEM:
            if (MeasureFileListItem(app, window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_DRAWITEM:
            if (DrawFileListItem(app, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_COMMAND:
            ExecuteCommand(app, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(app, reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_APPCOMMAND:
            if (UINT id = CommandForAppCommand(lParam)) {
                SendMessageW(window, WM_COMMAND, id, 0);
            }
            return TRUE;
        case kHandOverMessage:
            return OnHandOver(app, wParam, lParam);
        case kTakeWaitingPaths:
            TakeWaitingPaths(app);
            return 0;
        case kMediaNotify:
            OnMediaReport(app, wParam, lParam);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void PrepareHistoryMenus(App& app) {
    HMENU file = GetSubMenu(app.mainMenu.get(), kFileMenu);
    HMENU fileHistory = SubMenuAt(app.mainMenu.get(), kFileMenu, kFileHistoryPosition);
    HMENU folderHistory = SubMenuAt(app.mainMenu.get(), kFileMenu, kFolderHistoryPosition);
    DeleteMenu(fileHistory, 0, MF_BYPOSITION);
    DeleteMenu(folderHistory, 0, MF_BYPOSITION);
    app.fileHistory.Attach(fileHistory, file, kFileHistoryPosition);
    app.folderHistory.Attach(folderHistory, file, kFolderHistoryPosition);
    app.fileHistory.SetHistoryLimit(app.settings.maxFileHistory);
    app.folderHistory.SetHistoryLimit(app.settings.maxDirHistory);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    WindowClass mainClass;
    mainClass.name = kMainWindowClass;
    mainClass.procedure = ObjectWindowProc<HandleMainWindowMessage>;
    mainClass.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    mainClass.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEPHLO));
    // The small icon straight from its own image: left out, the system makes
    // it by shrinking the large one, which is slower at start-up.
    mainClass.smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZEPHLO),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return RegisterWindowClass(instance, mainClass) && RegisterStatusBarClass(instance) &&
           RegisterMediaWindowClasses(instance) && RegisterPlaylistWindowClass(instance);
}

bool CreateMainWindow(App& app) {
    const Settings& settings = app.settings;
    DWORD extendedStyle = WS_EX_ACCEPTFILES | (settings.alwaysOnTop ? WS_EX_TOPMOST : 0);
    HWND window = CreateWindowExW(
        extendedStyle, kMainWindowClass, kProgramName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        settings.windowLeft, settings.windowTop, settings.windowWidth, settings.windowHeight,
        nullptr, settings.showMenuBar ? app.mainMenu.get() : nullptr, app.instance, &app);
    return window != nullptr;
}

void RestoreMainWindowState(App& app) {
    Settings& settings = app.settings;
    HWND window = app.window.hwnd;
    CreatePlaylistWindow(app);
    if (settings.showPlaylist) {
        app.playlist.Show(true);
        UpdateWindow(app.playlist.window());
        SetForegroundWindow(window);
    }
    PrepareHistoryMenus(app);
    SetInitialMenuMarks(app.mainMenu.get(), settings);
    const std::wstring& path = app.settingsLocation.path;
    if (SettingsFileExists(path)) {
        app.fileHistory.LoadHistory(path, kFileHistorySection, kFileHistoryPrefix);
        app.folderHistory.LoadHistory(path, kFolderHistorySection, kFolderHistoryPrefix);
    }
    if (settings.fileMasks.empty()) {
        settings.fileMasks = BuildDefaultFileMasks();
        // The playlist took its copy before the default masks existed.
        app.playlist.SetFolderSearch(settings.fileMasks, settings.findSubDir);
    }
    app.playlistHistory.LoadHistory(path, kPlaylistHistorySection, kPlaylistHistoryPrefix);
    if (settings.restorePlaylist) {
        app.playlist.RestorePlaylistSection(path);
    }
    app.keys.Load(path, app.mainMenu.get());
    DrawMenuBar(window);
}

void OpenCommandLineFiles(App& app, const PathList& paths, bool fullScreen) {
    ReceivePaths(app, paths, false);
    if (fullScreen && app.IsOpen()) {
        ExecuteCommand(app, CMD_FULL_SCREEN, nullptr, 0);
    }
}

void FinishStartUp(App& app) {
    app.window.startedUp = true;
    TakeWaitingPaths(app);
}

void FinishAfterMessageLoop(App& app) {
    app.keys.Save(app.settingsLocation.path);
    app.folderFiles.Discard();
}

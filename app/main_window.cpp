#include "app/main_window.h"

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include "app/app.h"
#include "app/commands.h"
#include "app/context_menus.h"
#include "app/file_masks.h"
#include "app/help.h"
#include "app/layout.h"
#include "app/menus.h"
#include "app/navigation.h"
#include "app/open_media.h"
#include "app/text.h"
#include "controls/status_bar.h"
#include "files/folder_file_list.h"
#include "files/history_list.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/apply_colours.h"
#include "settings/key_bindings.h"
#include "settings/settings.h"
#include "settings/toolbars.h"

namespace {

bool IsOrdinaryFile(const std::wstring& path, DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !HasExtension(path, L".m3u");
}

void ShowPlaylistIfHidden(HWND window) {
    if (!g_playlist.IsVisible()) {
        SendMessageW(window, WM_COMMAND, CMD_PLAYLIST, 0);
    }
}

// WM_CLOSE: record the geometry, the playlist and the volume, then destroy.
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
    RECT playlist;
    if (g_playlist.window() != nullptr && GetWindowRect(g_playlist.window(), &playlist)) {
        g_settings.playlistLeft = playlist.left;
        g_settings.playlistTop = playlist.top;
        g_settings.playlistWidth = playlist.right - playlist.left;
        g_settings.playlistHeight = playlist.bottom - playlist.top;
    }
    g_playlist.SavePlaylistSection();
    g_settings.volume = g_mediaWindow->GetVolume();
    DestroyWindow(window);
}

// WM_DESTROY: write the settings and histories and let the message loop end.
void OnDestroy() {
    CloseHelp();
    if (g_settingsLocation.perUserSettings) {
        EnsurePerUserSettingsFolder();
    }
    const std::wstring& path = g_settingsLocation.path;
    SaveSettings(path, g_settings);
    if (!g_settings.saveFileHistory) {
        g_fileHistory.ClearHistory();
    }
    if (!g_settings.saveDirHistory) {
        g_folderHistory.ClearHistory();
    }
    g_fileHistory.SaveHistory(path, kFileHistorySection, kFileHistoryPrefix);
    g_folderHistory.SaveHistory(path, kFolderHistorySection, kFolderHistoryPrefix);
    g_playlistHistory.SaveHistory(path, kPlaylistHistorySection, kPlaylistHistoryPrefix);
    DestroyMainWindowChildren();
    g_app.mainWindow = nullptr;
    PostQuitMessage(0);
}

// WM_USER: one path from a second instance, in a global atom.
LRESULT OnHandOver(HWND window, WPARAM atom, LPARAM position) {
    wchar_t buffer[kMaxPath];
    if (GlobalGetAtomNameW(static_cast<ATOM>(atom), buffer, kMaxPath) == 0) {
        return 0;
    }
    std::wstring path = buffer;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    int index = LOWORD(position);
    int count = HIWORD(position);
    if (count == 1 && IsOrdinaryFile(path, attributes)) {
        return OpenMedia(path, false);
    }
    if (index == 0) {
        ShowPlaylistIfHidden(window);
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? g_playlist.AddFolder(path)
                                                        : g_playlist.AddPath(path);
}

// WM_APP: the media window reports a state (1) or a position (2).
void OnMediaReport(WPARAM kind, LPARAM value) {
    if (kind == 1) {
        ShowStateMarks(static_cast<int>(value));
    } else if (kind == 2 && g_mediaWindow->IsOpen()) {
        UpdateTimePane(static_cast<int>(value));
    }
}

LRESULT OnNotify(const NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        info->hinst = g_app.instance;
        info->lpszText = MAKEINTRESOURCEW(header->idFrom + IDS_LABEL_OFFSET);
    } else if (header->code == static_cast<UINT>(NM_TOOLTIPSCREATED)) {
        PrepareToolbarToolTips(reinterpret_cast<const NMTOOLTIPSCREATED*>(header)->hwndToolTips);
    } else if (header->code == NM_RCLICK && header->hwndFrom == g_app.toolbar) {
        ShowBarsMenu(g_app.mainWindow);
    } else if (header->code == TBN_DROPDOWN && header->hwndFrom == g_app.toolbar) {
        return OnToolbarDropDown(*reinterpret_cast<const NMTOOLBARW*>(header));
    }
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return CreateMainWindowChildren(window) ? 0 : -1;
        case WM_SIZE:
            LayoutMainWindow(HIWORD(lParam), LOWORD(lParam));
            return 0;
        case WM_CLOSE:
            OnClose(window);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_SYSCOLORCHANGE:
            ApplyColours();
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            // The canvas reports mouse clicks itself; a mouse-made message is
            // swallowed and only the context-menu key (lParam -1) shows the menu.
            if (lParam == -1) {
                ShowContextMenuAtCanvas();
            }
            return 0;
        case WM_MEASUREITEM:
            if (MeasureFileListItem(window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_DRAWITEM:
            if (DrawFileListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_COMMAND:
            ExecuteCommand(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_APPCOMMAND:
            if (UINT id = CommandForAppCommand(lParam)) {
                SendMessageW(window, WM_COMMAND, id, 0);
            }
            return TRUE;
        case WM_USER:
            return OnHandOver(window, wParam, lParam);
        case WM_APP:
            OnMediaReport(wParam, lParam);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void PrepareHistoryMenus() {
    HMENU file = GetSubMenu(g_app.mainMenu, kFileMenu);
    HMENU fileHistory = SubMenuAt(kFileMenu, kFileHistoryPosition);
    HMENU folderHistory = SubMenuAt(kFileMenu, kFolderHistoryPosition);
    DeleteMenu(fileHistory, 0, MF_BYPOSITION);
    DeleteMenu(folderHistory, 0, MF_BYPOSITION);
    g_fileHistory.Attach(fileHistory, file, kFileHistoryPosition);
    g_folderHistory.Attach(folderHistory, file, kFolderHistoryPosition);
    g_fileHistory.SetHistoryLimit(g_settings.maxFileHistory);
    g_folderHistory.SetHistoryLimit(g_settings.maxDirHistory);
}

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEPHLO));
    // The small icon straight from its own image: left out, the system makes
    // it by shrinking the large one, which is slower at start-up.
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZEPHLO),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0 && RegisterStatusBarClass(instance) &&
           RegisterMediaWindowClasses(instance) && RegisterPlaylistWindowClass(instance);
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

void RestoreMainWindowState() {
    HWND window = g_app.mainWindow;
    CreatePlaylistWindow(window);
    if (g_settings.showPlaylist) {
        g_playlist.Show(true);
        UpdateWindow(g_playlist.window());
        SetForegroundWindow(window);
    }
    PrepareHistoryMenus();
    SetInitialMenuMarks();
    const std::wstring& path = g_settingsLocation.path;
    if (SettingsFileExists(path)) {
        g_fileHistory.LoadHistory(path, kFileHistorySection, kFileHistoryPrefix);
        g_folderHistory.LoadHistory(path, kFolderHistorySection, kFolderHistoryPrefix);
    }
    if (g_settings.fileMasks.empty()) {
        g_settings.fileMasks = BuildDefaultFileMasks();
        // The playlist took its copy before the default masks existed.
        g_playlist.SetFolderSearch(g_settings.fileMasks, g_settings.findSubDir);
    }
    g_playlistHistory.LoadHistory(path, kPlaylistHistorySection, kPlaylistHistoryPrefix);
    if (g_settings.restorePlaylist) {
        g_playlist.RestorePlaylistSection();
    }
    LoadKeyBindings(path, g_app.mainMenu);
    DrawMenuBar(window);
}

void OpenCommandLineFiles(const PathList& paths, bool fullScreen) {
    HWND window = g_app.mainWindow;
    if (paths.size() == 1) {
        DWORD attributes = GetFileAttributesW(paths[0].c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return;
        }
        if (IsOrdinaryFile(paths[0], attributes)) {
            if (OpenMedia(paths[0], false) && fullScreen && g_mediaWindow->IsOpen()) {
                ExecuteCommand(window, CMD_FULL_SCREEN, nullptr, 0);
            }
            return;
        }
    }
    ShowPlaylistIfHidden(window);
    for (const std::wstring& path : paths) {
        g_playlist.AddAnyPath(path);
    }
    if (fullScreen && g_mediaWindow->IsOpen()) {
        ExecuteCommand(window, CMD_FULL_SCREEN, nullptr, 0);
    }
}

HACCEL MainWindowAccelerators() {
    return CurrentAccelerators();
}

void FinishAfterMessageLoop() {
    SaveKeyBindings(g_settingsLocation.path);
    DiscardFolderList();
}

#include "app/open_media.h"

#include <commdlg.h>

#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/layout.h"
#include "app/status_texts.h"
#include "app/text.h"
#include "files/folder_file_list.h"
#include "files/history_list.h"
#include "files/paths.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

constexpr DWORD kExplorer = 0x80000;  // OFN_EXPLORER
// The multiple-selection buffer of the add-files dialog.
constexpr std::size_t kAddFilesBufferSize = 26000;

// A filter string with its list terminator (the string table keeps the NULs).
std::vector<wchar_t> LoadFilter(UINT id, std::size_t maximum) {
    std::wstring text = LoadText(id);
    if (text.size() > maximum) {
        text.resize(maximum);
    }
    std::vector<wchar_t> filter(text.begin(), text.end());
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

OPENFILENAMEW DialogFields(HWND owner, const wchar_t* filter, wchar_t* buffer, DWORD size,
                           const std::wstring& folder, DWORD flags) {
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags = flags;
    return dialog;
}

// The wait cursor for the lifetime of the scope.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

bool IsFullScreen() {
    return g_mediaWindow != nullptr && g_mediaWindow->fullScreen;
}

void ShowPlaylistIfHidden() {
    if (!g_playlist.IsVisible()) {
        SendMessageW(g_app.mainWindow, WM_COMMAND, CMD_PLAYLIST, 0);
    }
}

std::wstring DroppedPath(HDROP drop, UINT index) {
    wchar_t path[kMaxPath];
    UINT length = DragQueryFileW(drop, index, path, kMaxPath);
    return length > 0 && length < kMaxPath ? std::wstring(path, length) : std::wstring();
}

}  // namespace

std::wstring OpenFilePath() {
    return g_mediaWindow != nullptr && g_mediaWindow->IsOpen() ? g_mediaWindow->fileName
                                                               : std::wstring();
}

bool OpenMedia(const std::wstring& path, bool fromPlaylist) {
    HWND window = g_app.mainWindow;
    {
        WaitCursor wait;
        g_settings.openDirectory = PathFolder(path);
        CloseMedia();
        if (!g_mediaWindow->OpenFile(path.c_str())) {
            if (IsFullScreen()) {
                SendMessageW(window, WM_COMMAND, CMD_FULL_SCREEN, 0);
            }
            return false;
        }
    }
    g_app.fromPlaylist = fromPlaylist;
    int video = g_mediaWindow->media->video();
    if (g_settings.keepZoomRate && video == 1) {
        g_mediaWindow->SetZoom(g_settings.zoomRate);
    }
    if (!IsFullScreen() &&
        ((video == 1 && !g_settings.fitToWindow) || (video == 0 && g_app.previousVideoKind == 1))) {
        FitWindowToContent(window);
    }
    UpdateTitle();
    UpdateStatusTexts();
    UpdateCommandStates();
    g_fileHistory.AddToHistory(path);
    g_folderHistory.AddToHistory(g_settings.openDirectory);
    if (g_settings.playOnOpen || fromPlaylist) {
        SendMessageW(g_mediaWindow->mediaWindow, WM_COMMAND, CMD_PLAY, 0);
    }
    DiscardFolderListOfOtherFolder(path);
    return true;
}

void CloseMedia() {
    if (g_mediaWindow == nullptr || !g_mediaWindow->IsOpen()) {
        return;
    }
    g_app.previousVideoKind = g_mediaWindow->media->video();
    if (g_app.previousVideoKind == 1) {
        g_settings.zoomRate = g_mediaWindow->zoom;
    }
    g_mediaWindow->CloseFile();
    UpdateTitle();
    UpdateStatusTexts();
    UpdateCommandStates();
    if (g_app.fromPlaylist && g_playlist.playingIndex() != -1) {
        g_playlist.SetPlayingIndex(-1);
    }
}

bool ShowOpenDialog(HWND owner, wchar_t* buffer, const std::wstring& folder) {
    std::vector<wchar_t> filter = LoadFilter(IDS_MEDIA_FILTER, 1023);
    if (filter.size() <= 2) {
        return false;
    }
    OPENFILENAMEW dialog = DialogFields(owner, filter.data(), buffer, kMaxPath, folder,
                                        kExplorer | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dialog.nFilterIndex = static_cast<DWORD>(g_settings.openFilter);
    if (!GetOpenFileNameW(&dialog)) {
        return false;
    }
    g_settings.openFilter = static_cast<int>(dialog.nFilterIndex);
    UpdateWindow(g_app.mainWindow);
    if (g_playlist.IsVisible()) {
        UpdateWindow(g_playlist.window());
    }
    return true;
}

void OnDropFiles(HWND window, HDROP drop) {
    SetForegroundWindow(window);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 1) {
        std::wstring path = DroppedPath(drop, 0);
        DWORD attributes =
            path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DragFinish(drop);
            return;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !HasExtension(path, L".m3u")) {
            DragFinish(drop);
            OpenMedia(path, false);
            return;
        }
    }
    ShowPlaylistIfHidden();
    g_playlist.AddDroppedFiles(drop);
    DragFinish(drop);
}

void OpenPlaylistFile() {
    std::vector<wchar_t> filter = LoadFilter(IDS_PLAYLIST_FILTER, 255);
    wchar_t path[kMaxPath] = L"";
    OPENFILENAMEW dialog =
        DialogFields(g_playlist.window(), filter.data(), path, kMaxPath, g_settings.openDirectory,
                     kExplorer | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    if (!GetOpenFileNameW(&dialog)) {
        return;
    }
    g_settings.openDirectory = PathFolder(path);
    bool loaded = false;
    {
        WaitCursor wait;
        g_playlist.ClearPlaylist();
        loaded = g_playlist.LoadM3U(path);
    }
    if (!loaded) {
        ShowMessage(g_app.mainWindow, IDS_CANNOT_READ_FILE, MB_ICONWARNING);
    }
}

void SavePlaylistFile() {
    std::vector<wchar_t> filter = LoadFilter(IDS_PLAYLIST_FILTER, 255);
    wchar_t path[kMaxPath] = L"";
    OPENFILENAMEW dialog =
        DialogFields(g_playlist.window(), filter.data(), path, kMaxPath, g_settings.openDirectory,
                     kExplorer | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    dialog.lpstrDefExt = L"m3u";
    if (!GetSaveFileNameW(&dialog)) {
        return;
    }
    g_settings.openDirectory = PathFolder(path);
    bool saved = false;
    {
        WaitCursor wait;
        saved = g_playlist.SaveM3U(path);
    }
    if (!saved) {
        ShowMessage(g_app.mainWindow, IDS_CANNOT_SAVE_FILE, MB_ICONWARNING);
    }
}

void AddFilesToPlaylist() {
    std::vector<wchar_t> filter = LoadFilter(IDS_MEDIA_FILTER, 1023);
    std::vector<wchar_t> buffer(kAddFilesBufferSize, L'\0');
    OPENFILENAMEW dialog =
        DialogFields(g_playlist.window(), filter.data(), buffer.data(),
                     static_cast<DWORD>(buffer.size()), g_settings.openDirectory,
                     kExplorer | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY);
    dialog.nFilterIndex = static_cast<DWORD>(g_settings.openFilter);
    dialog.lpstrTitle = L"追加するファイル";
    if (!GetOpenFileNameW(&dialog)) {
        return;
    }
    g_settings.openFilter = static_cast<int>(dialog.nFilterIndex);
    // One string: a single file. Otherwise the folder, then each name.
    const wchar_t* first = buffer.data();
    const wchar_t* name = first + lstrlenW(first) + 1;
    if (*name == L'\0') {
        g_settings.openDirectory = PathFolder(first);
        g_playlist.AddPath(first);
        return;
    }
    g_settings.openDirectory = first;
    for (; *name != L'\0'; name += lstrlenW(name) + 1) {
        std::wstring path = PathJoin(first, name);
        if (path.size() < kMaxPath) {
            g_playlist.AddPath(path);
        }
    }
}

void UpdateTitle() {
    std::wstring title =
        FormatTitle(OpenFilePath(), g_settings.titleFormat, g_settings.titleFileName);
    SetWindowTextW(g_app.mainWindow, title.c_str());
}

void UpdateStatusTexts() {
    StatusBarState& bar = g_app.statusBar;
    if (g_mediaWindow == nullptr || !g_mediaWindow->IsOpen()) {
        for (int pane = 0; pane < 3; ++pane) {
            SetPaneText(bar, pane, L"");
        }
        return;
    }
    if (g_mediaWindow->media->video() == 1) {
        UpdateSizePane();
    } else {
        SetPaneText(bar, 1, AudioPaneText(g_mediaWindow->fileName).c_str());
    }
    UpdateTimePane(g_mediaWindow->media->GetPosition());
}

void UpdateTimePane(int position) {
    if (g_mediaWindow == nullptr || !g_mediaWindow->IsOpen()) {
        return;
    }
    std::wstring text =
        FormatTimePaneText(position, g_mediaWindow->media->GetLength(), UserDecimalSeparator());
    SetPaneText(g_app.statusBar, 2, text.c_str());
}

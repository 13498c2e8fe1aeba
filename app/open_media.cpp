#include "app/open_media.h"

#include <commdlg.h>

#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/layout.h"
#include "app/status_texts.h"
#include "base/text.h"
#include "playlist/m3u.h"

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

void ShowPlaylistIfHidden(App& app) {
    if (!app.playlist.IsVisible()) {
        SendMessageW(app.window.hwnd, WM_COMMAND, CMD_PLAYLIST, 0);
    }
}

// Marks a file being opened for the scope; paths handed over meanwhile are
// taken once it is done.
class OpeningScope {
public:
    explicit OpeningScope(App& app) : app_(app), outer_(app.window.opening) {
        app.window.opening = true;
    }
    ~OpeningScope() {
        app_.window.opening = outer_;
        if (!outer_ && !app_.window.waitingPaths.empty()) {
            PostMessageW(app_.window.hwnd, kTakeWaitingPaths, 0, 0);
        }
    }
    OpeningScope(const OpeningScope&) = delete;
    OpeningScope& operator=(const OpeningScope&) = delete;

private:
    App& app_;
    bool outer_;
};

}  // namespace

std::wstring OpenFilePath(const App& app) {
    return app.IsOpen() ? app.media()->fileName : std::wstring();
}

bool OpenMedia(App& app, const std::wstring& path, bool fromPlaylist) {
    OpeningScope opening(app);
    Settings& settings = app.settings;
    MediaWindow& mediaWindow = *app.media();
    {
        WaitCursor wait;
        settings.openDirectory = PathFolder(path);
        CloseMedia(app);
        if (!mediaWindow.OpenFile(path.c_str())) {
            if (app.IsFullScreen()) {
                SendMessageW(app.window.hwnd, WM_COMMAND, CMD_FULL_SCREEN, 0);
            }
            return false;
        }
    }
    app.window.fromPlaylist = fromPlaylist;
    VideoPresence video = mediaWindow.media->video();
    if (settings.keepZoomRate && video == kVideo) {
        mediaWindow.SetZoom(settings.zoomRate);
    }
    if (!app.IsFullScreen() && ((video == kVideo && !settings.fitToWindow) ||
                                (video == kNoVideo && app.window.previousVideo == kVideo))) {
        FitWindowToContent(app);
    }
    UpdateTitle(app);
    UpdateStatusTexts(app);
    UpdateCommandStates(app);
    app.fileHistory.AddToHistory(path);
    app.folderHistory.AddToHistory(settings.openDirectory);
    if (settings.playOnOpen || fromPlaylist) {
        SendMessageW(mediaWindow.mediaWindow, WM_COMMAND, CMD_PLAY, 0);
    }
    app.folderFiles.DiscardIfOtherFolder(path);
    return true;
}

void CloseMedia(App& app) {
    if (!app.IsOpen()) {
        return;
    }
    MediaWindow& mediaWindow = *app.media();
    app.window.previousVideo = mediaWindow.media->video();
    if (app.window.previousVideo == kVideo) {
        app.settings.zoomRate = mediaWindow.zoom;
    }
    mediaWindow.CloseFile();
    UpdateTitle(app);
    UpdateStatusTexts(app);
    UpdateCommandStates(app);
    if (app.window.fromPlaylist && app.playlist.playingIndex() != -1) {
        app.playlist.SetPlayingIndex(-1);
    }
}

bool OpensAsTheFile(const std::wstring& path, DWORD attributes, std::size_t count) {
    return count == 1 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !IsPlaylistPath(path);
}

bool ReceivePath(App& app, const std::wstring& path, std::size_t count) {
    DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (OpensAsTheFile(path, attributes, count)) {
        return OpenMedia(app, path, false);
    }
    ShowPlaylistIfHidden(app);
    return app.playlist.AddAnyPath(path);
}

void ReceivePaths(App& app, const PathList& paths, bool stopAtFirstFailure) {
    if (paths.size() == 1) {
        ReceivePath(app, paths[0], 1);
        return;
    }
    ShowPlaylistIfHidden(app);
    app.playlist.AddAnyPaths(paths, stopAtFirstFailure);
}

bool ReceiveHandedOverPath(App& app, const std::wstring& path, std::size_t count) {
    MainWindow& window = app.window;
    if (window.startedUp && !window.opening && window.waitingPaths.empty()) {
        return ReceivePath(app, path, count);
    }
    window.waitingPaths.push_back({path, count});
    if (window.startedUp && !window.opening) {
        PostMessageW(window.hwnd, kTakeWaitingPaths, 0, 0);
    }
    return true;
}

// The window may have been closed meanwhile (a close can come in while an
// open shows its message): its paths then go nowhere.
void TakeWaitingPaths(App& app) {
    MainWindow& window = app.window;
    if (!window.startedUp || window.opening || window.takingWaitingPaths) {
        return;
    }
    window.takingWaitingPaths = true;
    while (window.hwnd != nullptr && !window.waitingPaths.empty()) {
        HandedOverPath next = std::move(window.waitingPaths.front());
        window.waitingPaths.erase(window.waitingPaths.begin());
        ReceivePath(app, next.path, next.count);
    }
    window.takingWaitingPaths = false;
}

bool ShowOpenDialog(App& app, HWND owner, wchar_t* buffer, const std::wstring& folder) {
    std::vector<wchar_t> filter = LoadFilter(IDS_MEDIA_FILTER, 1023);
    if (filter.size() <= 2) {
        return false;
    }
    OPENFILENAMEW dialog = DialogFields(owner, filter.data(), buffer, kMaxPath, folder,
                                        kExplorer | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    dialog.nFilterIndex = static_cast<DWORD>(app.settings.openFilter);
    if (!GetOpenFileNameW(&dialog)) {
        return false;
    }
    app.settings.openFilter = static_cast<int>(dialog.nFilterIndex);
    UpdateWindow(app.window.hwnd);
    if (app.playlist.IsVisible()) {
        UpdateWindow(app.playlist.window());
    }
    return true;
}

void OnDropFiles(App& app, HDROP drop) {
    SetForegroundWindow(app.window.hwnd);
    PathList paths;
    {
        // Finished before anything opens: opening may take a while.
        UniqueDrop finished(drop);
        paths = DroppedPaths(drop);
    }
    ReceivePaths(app, paths, true);
}

void OpenPlaylistFile(App& app) {
    std::vector<wchar_t> filter = LoadFilter(IDS_PLAYLIST_FILTER, 255);
    wchar_t path[kMaxPath] = L"";
    OPENFILENAMEW dialog =
        DialogFields(app.playlist.window(), filter.data(), path, kMaxPath,
                     app.settings.openDirectory, kExplorer | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    if (!GetOpenFileNameW(&dialog)) {
        return;
    }
    app.settings.openDirectory = PathFolder(path);
    LoadPlaylistFile(app, path);
}

bool LoadPlaylistFile(App& app, const std::wstring& path) {
    bool loaded = false;
    {
        WaitCursor wait;
        app.playlist.ClearPlaylist();
        loaded = app.playlist.LoadM3U(path);
    }
    if (!loaded) {
        ShowMessage(app.window.hwnd, IDS_CANNOT_READ_FILE, MB_ICONWARNING);
    }
    return loaded;
}

void SavePlaylistFile(App& app) {
    std::vector<wchar_t> filter = LoadFilter(IDS_PLAYLIST_FILTER, 255);
    wchar_t path[kMaxPath] = L"";
    OPENFILENAMEW dialog = DialogFields(app.playlist.window(), filter.data(), path, kMaxPath,
                                        app.settings.openDirectory,
                                        kExplorer | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    dialog.lpstrDefExt = L"m3u";
    if (!GetSaveFileNameW(&dialog)) {
        return;
    }
    app.settings.openDirectory = PathFolder(path);
    SavePlaylistFile(app, path);
}

bool SavePlaylistFile(App& app, const std::wstring& path) {
    bool saved = false;
    {
        WaitCursor wait;
        saved = app.playlist.SaveM3U(path);
    }
    if (!saved) {
        ShowMessage(app.window.hwnd, IDS_CANNOT_SAVE_FILE, MB_ICONWARNING);
    }
    return saved;
}

void AddFilesToPlaylist(App& app) {
    Settings& settings = app.settings;
    std::vector<wchar_t> filter = LoadFilter(IDS_MEDIA_FILTER, 1023);
    std::vector<wchar_t> buffer(kAddFilesBufferSize, L'\0');
    OPENFILENAMEW dialog =
        DialogFields(app.playlist.window(), filter.data(), buffer.data(),
                     static_cast<DWORD>(buffer.size()), settings.openDirectory,
                     kExplorer | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY);
    dialog.nFilterIndex = static_cast<DWORD>(settings.openFilter);
    dialog.lpstrTitle = L"追加するファイル";
    if (!GetOpenFileNameW(&dialog)) {
        return;
    }
    settings.openFilter = static_cast<int>(dialog.nFilterIndex);
    // One string: a single file. Otherwise the folder, then each name.
    const wchar_t* first = buffer.data();
    const wchar_t* name = first + lstrlenW(first) + 1;
    if (*name == L'\0') {
        settings.openDirectory = PathFolder(first);
        app.playlist.AddPath(first);
        return;
    }
    settings.openDirectory = first;
    for (; *name != L'\0'; name += lstrlenW(name) + 1) {
        std::wstring path = PathJoin(first, name);
        if (path.size() < kMaxPath) {
            app.playlist.AddPath(path);
        }
    }
}

void UpdateTitle(App& app) {
    std::wstring title =
        FormatTitle(OpenFilePath(app), app.settings.titleFormat, app.settings.titleFileName);
    SetWindowTextW(app.window.hwnd, title.c_str());
}

void UpdateStatusTexts(App& app) {
    StatusBarState& bar = app.window.statusBar;
    if (!app.IsOpen()) {
        for (int pane = 0; pane < 3; ++pane) {
            SetPaneText(bar, pane, L"");
        }
        return;
    }
    const MediaWindow& mediaWindow = *app.media();
    if (mediaWindow.media->hasVideo()) {
        UpdateSizePane(app);
    } else {
        SetPaneText(bar, 1, AudioPaneText(mediaWindow.fileName).c_str());
    }
    UpdateTimePane(app, mediaWindow.media->GetPosition());
}

void UpdateTimePane(App& app, int position) {
    if (!app.IsOpen()) {
        return;
    }
    std::wstring text =
        FormatTimePaneText(position, app.media()->media->GetLength(), UserDecimalSeparator());
    SetPaneText(app.window.statusBar, 2, text.c_str());
}

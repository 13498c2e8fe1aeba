#include "app/commands.h"

#include <commctrl.h>

#include "app/app.h"
#include "app/context_menus.h"
#include "app/help.h"
#include "app/layout.h"
#include "app/layout_math.h"
#include "app/menus.h"
#include "app/navigation.h"
#include "app/open_media.h"
#include "app/text.h"
#include "files/folder_file_list.h"
#include "files/history_list.h"
#include "files/paths.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/about_box.h"
#include "settings/key_bindings.h"
#include "settings/settings.h"

namespace {

bool IsOpen() {
    return g_mediaWindow != nullptr && g_mediaWindow->IsOpen();
}
bool IsFullScreen() {
    return g_mediaWindow != nullptr && g_mediaWindow->fullScreen;
}

void Execute(HWND window, int id) {
    ExecuteCommand(window, id, nullptr, 0);
}

void LeaveFullScreen(HWND window) {
    if (IsFullScreen()) {
        Execute(window, CMD_FULL_SCREEN);
    }
}

void ForwardToMediaWindow(int id) {
    if (g_mediaWindow != nullptr && g_mediaWindow->mediaWindow != nullptr) {
        SendMessageW(g_mediaWindow->mediaWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
}

void CheckToolbarButton(int id, bool checked) {
    SendMessageW(g_app.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(checked, 0));
}

void EnableToolbarButton(int id, bool enabled) {
    SendMessageW(g_app.toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled, 0));
}

// Opens an entry of the playlist and makes it the playing one.
void OpenPlaylistEntry(int index) {
    std::wstring path = g_playlist.EntryPath(index);
    if (!path.empty() && OpenMedia(path, true)) {
        g_playlist.SetPlayingIndex(index);
    }
}

void Navigate(int id) {
    if (g_app.fromPlaylist) {
        int target = NavigationTarget(true, static_cast<UINT>(id), g_playlist.playingIndex(),
                                      g_playlist.Count());
        if (target >= 0) {
            OpenPlaylistEntry(target);
        }
        return;
    }
    std::wstring path;
    if (FolderStepTarget(static_cast<UINT>(id), OpenFilePath(), path)) {
        OpenMedia(path, false);
    }
}

void OnSort(int id) {
    if (id == CMD_SORT_DESCENDING) {
        g_settings.sortDescending = !g_settings.sortDescending;
        CheckCommand(CMD_SORT_DESCENDING, g_settings.sortDescending);
    } else {
        g_settings.sortType = id - CMD_SORT_NAME;
        RadioCommand(CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, id);
    }
    if (CurrentFolderList() != nullptr) {
        SortFolderList();
    }
}

void SelectPlaylistRow(int row) {
    g_playlist.SelectRow(row);
}

void OnAddToPlaylist() {
    if (!IsOpen()) {
        return;
    }
    int row = g_playlist.Count();
    g_playlist.AddPath(OpenFilePath());
    SelectPlaylistRow(row);
    g_playlist.ScrollIntoView(row);
}

void OnMakePlaylist(HWND window) {
    std::wstring open = OpenFilePath();
    if (!EnsureFolderList(open)) {
        return;
    }
    g_playlist.ClearPlaylist();
    if (!g_playlist.IsVisible()) {
        Execute(window, CMD_PLAYLIST);
    }
    int count = FolderListCount();
    for (int i = 0; i < count; ++i) {
        std::wstring path;
        if (PathAt(i, path)) {
            g_playlist.AddPath(path);
        }
    }
    int row = g_playlist.FindEntry(open);
    SelectPlaylistRow(row);
    g_playlist.SetPlayingIndex(row);
    if (row >= 0) {
        g_playlist.ScrollIntoView(row);
        g_app.fromPlaylist = true;
        UpdateCommandStates();
    }
}

void OnRepeat() {
    g_settings.repeat = !g_settings.repeat;
    CheckCommand(CMD_REPEAT, g_settings.repeat);
    g_mediaWindow->repeat = g_settings.repeat;
    SendMessageW(g_mediaWindow->playBar, TB_CHECKBUTTON, CMD_REPEAT,
                 MAKELPARAM(g_settings.repeat, 0));
}

void OnVolumeStep(int id) {
    int volume = g_mediaWindow->GetVolume();
    if (id == CMD_VOLUME_UP && volume < 1000) {
        g_mediaWindow->SetVolume(volume + 100 > 1000 ? 1000 : volume + 100);
    } else if (id == CMD_VOLUME_DOWN && volume > 0) {
        g_mediaWindow->SetVolume(volume - 100 < 0 ? 0 : volume - 100);
    }
}

void OnMute() {
    if (g_mediaWindow->media == nullptr) {
        return;
    }
    g_mediaWindow->SetMute(!g_mediaWindow->media->muted());
    CheckCommand(CMD_MUTE, g_mediaWindow->media->muted());
}

void Toggle(bool& setting, int id) {
    setting = !setting;
    CheckCommand(id, setting);
}

void OnAlwaysOnTop(HWND window) {
    Toggle(g_settings.alwaysOnTop, CMD_ALWAYS_ON_TOP);
    SetWindowPos(window, g_settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    CheckToolbarButton(CMD_ALWAYS_ON_TOP, g_settings.alwaysOnTop);
}

void OnShowPlaylist() {
    Toggle(g_settings.showPlaylist, CMD_PLAYLIST);
    CheckToolbarButton(CMD_PLAYLIST, g_settings.showPlaylist);
    g_playlist.Show(g_settings.showPlaylist);
}

// Commands 100-173 that the main window carries out itself; false for others.
bool ExecuteFixedCommand(HWND window, int id) {
    if (ExecuteViewCommand(window, id)) {
        return true;
    }
    switch (id) {
        case CMD_OPEN: {
            LeaveFullScreen(window);
            wchar_t path[kMaxPath] = L"";
            if (ShowOpenDialog(window, path, g_settings.openDirectory)) {
                OpenMedia(path, false);
            }
            return true;
        }
        case CMD_CLOSE:
            CloseMedia();
            if (IsFullScreen()) {
                Execute(window, CMD_FULL_SCREEN);
            }
            return true;
        case CMD_PREV_FILE:
        case CMD_NEXT_FILE:
        case CMD_FIRST_FILE:
        case CMD_LAST_FILE:
            Navigate(id);
            return true;
        case CMD_SORT_NAME:
        case CMD_SORT_NAME_NUMBER:
        case CMD_SORT_TYPE:
        case CMD_SORT_EXTENSION:
        case CMD_SORT_SIZE:
        case CMD_SORT_LAST_WRITE_TIME:
        case CMD_SORT_DESCENDING:
            OnSort(id);
            return true;
        case CMD_REFRESH:
            DiscardFolderList();
            return true;
        case CMD_ADD_TO_PLAYLIST:
            OnAddToPlaylist();
            return true;
        case CMD_MAKE_PLAYLIST:
            OnMakePlaylist(window);
            return true;
        case CMD_EXIT:
            SendMessageW(window, WM_CLOSE, 0, 0);
            return true;
        case CMD_PLAY_PAUSE:
        case CMD_STOP:
        case CMD_PREV_FRAME:
        case CMD_NEXT_FRAME:
        case CMD_BACKWARD:
        case CMD_FORWARD:
        case CMD_HOME:
        case CMD_END:
            ForwardToMediaWindow(id);
            return true;
        case CMD_REPEAT:
            OnRepeat();
            return true;
        case CMD_VOLUME_UP:
        case CMD_VOLUME_DOWN:
            OnVolumeStep(id);
            return true;
        case CMD_MUTE:
            OnMute();
            return true;
        case CMD_SEQUENTIAL_PLAY:
            Toggle(g_settings.sequentialPlay, CMD_SEQUENTIAL_PLAY);
            return true;
        case CMD_REPEAT_PLAYLIST:
            Toggle(g_settings.repeatPlaylist, CMD_REPEAT_PLAYLIST);
            CheckToolbarButton(CMD_REPEAT_PLAYLIST, g_settings.repeatPlaylist);
            return true;
        case CMD_ALWAYS_ON_TOP:
            OnAlwaysOnTop(window);
            return true;
        case CMD_PLAYLIST:
            OnShowPlaylist();
            return true;
        case CMD_OPTIONS:
            // The settings dialog comes with its own window.
            LeaveFullScreen(window);
            return true;
        case CMD_ABOUT:
            LeaveFullScreen(window);
            ShowAboutBox(window);
            return true;
        case CMD_HELP:
            LeaveFullScreen(window);
            ShowHelpContents();
            return true;
        case CMD_OPEN_PLAYLIST:
            OpenPlaylistFile();
            return true;
        case CMD_SAVE_PLAYLIST:
            SavePlaylistFile();
            return true;
        case CMD_ADD_FILES:
            AddFilesToPlaylist();
            return true;
        default:
            return false;
    }
}

void OnEndOfMedia(HWND window) {
    bool next = g_app.fromPlaylist ? PlayNextAtEnd(true, g_settings.repeatPlaylist, false,
                                                   g_playlist.playingIndex(), g_playlist.Count())
                                   : g_settings.sequentialPlay && FolderHasNextFile(OpenFilePath());
    if (next) {
        Execute(window, CMD_NEXT_FILE);
    }
}

void OnFullScreenGone(HWND window) {
    ShowWindow(window, SW_SHOW);
    if (g_settings.showPlayBar && !g_settings.fullScreenPlayBar) {
        g_mediaWindow->ShowPlayBar(true);
    }
    if (g_settings.showSeekBar && !g_settings.fullScreenSeekBar) {
        g_mediaWindow->ShowSeekBar(true);
    }
    CheckCommand(CMD_FULL_SCREEN, false);
}

void OnMediaWindowNotification(HWND window, int code) {
    switch (code) {
        case kZoomChangedByFit:
            UpdateSizePane();
            UpdateZoomChecks();
            break;
        case kEndOfMedia:
            OnEndOfMedia(window);
            break;
        case kRepeatToggled:
            g_settings.repeat = g_mediaWindow->repeat;
            CheckCommand(CMD_REPEAT, g_settings.repeat);
            break;
        case kCanvasLeftClick:
            if (g_app.fromPlaylist) {
                Execute(window, CMD_NEXT_FILE);
            } else if (IsFullScreen()) {
                Execute(window, CMD_FULL_SCREEN);
            }
            break;
        case kCanvasRightClick: {
            POINT cursor;
            GetCursorPos(&cursor);
            ShowContextMenu(cursor.x, cursor.y);
            break;
        }
        case kPlayBarRightClick:
        case kSeekBarRightClick:
            ShowBarsMenu(window);
            break;
        case kFullScreenGone:
            OnFullScreenGone(window);
            break;
        default:
            break;
    }
}

void OnPlaylistNotification(HWND window, int code) {
    switch (code) {
        case kPlaylistSelectionChanged:
            if (g_playlist.SelectionOpensEntry(g_settings.playlistSingleClickOpen)) {
                OpenPlaylistEntry(g_playlist.SelectedIndex());
            }
            break;
        case kPlaylistOpenSelected:
            if (g_playlist.SelectedIndex() >= 0) {
                OpenPlaylistEntry(g_playlist.SelectedIndex());
            }
            break;
        case kPlaylistPlayingGone:
            g_app.fromPlaylist = false;
            UpdateCommandStates();
            break;
        case kPlaylistHideRequested:
            SendMessageW(window, WM_COMMAND, CMD_PLAYLIST, 0);
            break;
        default:
            break;
    }
}

void OnFileHistory(HWND window, int position) {
    std::wstring path = g_fileHistory.HistoryPath(position);
    if (FileExists(path)) {
        OpenMedia(path, false);
    } else if (ShowMessage(window, IDS_FILE_NOT_FOUND, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
                           path.c_str()) == IDYES) {
        g_fileHistory.RemoveFromHistory(position);
    }
}

void OnFolderHistory(HWND window, int position) {
    std::wstring folder = g_folderHistory.HistoryPath(position);
    if (FolderExists(folder)) {
        wchar_t path[kMaxPath] = L"";
        if (ShowOpenDialog(window, path, folder)) {
            OpenMedia(path, false);
        }
    } else if (ShowMessage(window, IDS_FOLDER_NOT_FOUND, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
                           folder.c_str()) == IDYES) {
        g_folderHistory.RemoveFromHistory(position);
    }
}

void OnFileListItem(int id) {
    int index = DropDownListIndex(g_app.listIndexBase, static_cast<UINT>(id));
    std::wstring path;
    if (g_app.fromPlaylist) {
        path = g_playlist.EntryPath(index);
    } else {
        PathAt(index, path);
    }
    if (!path.empty() && OpenMedia(path, g_app.fromPlaylist) && g_app.fromPlaylist) {
        g_playlist.SetPlayingIndex(index);
    }
}

}  // namespace

void ExecuteCommand(HWND window, int id, HWND control, int code) {
    if (id == ID_MEDIA_WINDOW && control != nullptr && g_mediaWindow != nullptr &&
        control == g_mediaWindow->mediaWindow) {
        OnMediaWindowNotification(window, code);
        return;
    }
    if (id == ID_STATUS_BAR) {
        if (code == 1) {
            ShowBarsMenu(window);
        }
        return;
    }
    if (id >= CMD_OPEN && id <= CMD_ADD_FILES && ExecuteFixedCommand(window, id)) {
        return;
    }
    if (control != nullptr && control == g_playlist.window()) {
        OnPlaylistNotification(window, code);
        return;
    }
    int position = 0;
    if (g_fileHistory.OwnsCommand(static_cast<UINT>(id), position)) {
        OnFileHistory(window, position);
    } else if (g_folderHistory.OwnsCommand(static_cast<UINT>(id), position)) {
        OnFolderHistory(window, position);
    } else if (id >= CMD_PRESET_FIRST && id < CMD_PRESET_FIRST + kPresetCount) {
        ExecuteViewCommand(window, id);
    } else if (id >= CMD_PREV_FILES_FIRST && id < CMD_NEXT_FILES_FIRST + 100) {
        OnFileListItem(id);
    }
}

void UpdateCommandStates() {
    bool open = IsOpen();
    bool video = open && g_mediaWindow->media->video() == 1;
    bool browsable = open && !g_app.fromPlaylist;
    for (int id : {CMD_CLOSE, CMD_PLAY_PAUSE, CMD_BACKWARD, CMD_FORWARD, CMD_HOME, CMD_END,
                   CMD_PREV_FILE, CMD_NEXT_FILE, CMD_FIRST_FILE, CMD_LAST_FILE, CMD_FULL_SCREEN}) {
        EnableCommand(id, open);
    }
    for (int id : {CMD_REFRESH, CMD_ADD_TO_PLAYLIST, CMD_MAKE_PLAYLIST}) {
        EnableCommand(id, browsable);
    }
    EnableCommand(CMD_STOP, false);
    CheckCommand(CMD_STOP, false);
    for (int id : {CMD_PREV_FRAME, CMD_NEXT_FRAME, CMD_ZOOM_IN, CMD_ZOOM_OUT}) {
        EnableCommand(id, video);
    }
    EnableSubMenu(kPlayMenu, kVolumePosition, open && g_mediaWindow->media->HasAudio());
    EnableSubMenu(kViewMenu, kZoomPosition, video);
    EnableSubMenu(kViewMenu, kAspectPosition, video);
    for (int id : {CMD_PREV_FILE, CMD_NEXT_FILE, CMD_FULL_SCREEN}) {
        EnableToolbarButton(id, open);
    }
    EnableToolbarButton(CMD_ZOOM_IN, video);
    EnableToolbarButton(CMD_ZOOM_OUT, video);
    if (video) {
        UpdateZoomChecks();
        RadioCommand(CMD_ASPECT_DEFAULT, CMD_ASPECT_16X9,
                     AspectCommandFor(g_mediaWindow->aspectX, g_mediaWindow->aspectY));
    }
    DrawMenuBar(g_app.mainWindow);
}

void ShowStateMarks(int state) {
    StateMarks marks = MarksForState(state);
    if (!marks.known) {
        return;
    }
    SetPaneText(g_app.statusBar, 0, marks.paneText != 0 ? LoadText(marks.paneText).c_str() : L"");
    if (!marks.changesMenu) {
        return;
    }
    EnableCommand(CMD_STOP, marks.stopEnabled);
    CheckCommand(CMD_STOP, marks.stopChecked);
    if (IsOpen() && g_mediaWindow->media->video() == 1) {
        EnableCommand(CMD_PREV_FRAME, marks.frameStepsEnabled);
        EnableCommand(CMD_NEXT_FRAME, marks.frameStepsEnabled);
    }
}

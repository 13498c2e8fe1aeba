#include "app/commands.h"

#include <commctrl.h>

#include "app/app.h"
#include "app/context_menus.h"
#include "app/layout.h"
#include "app/layout_math.h"
#include "app/menus.h"
#include "app/navigation.h"
#include "app/open_media.h"
#include "app/settings_host.h"
#include "base/text.h"
#include "files/list_navigation.h"
#include "settings/about_box.h"

namespace {

void Execute(App& app, int id) {
    ExecuteCommand(app, id, nullptr, 0);
}

void LeaveFullScreen(App& app) {
    if (app.IsFullScreen()) {
        Execute(app, CMD_FULL_SCREEN);
    }
}

void ForwardToMediaWindow(App& app, int id) {
    if (app.media() != nullptr && app.media()->mediaWindow != nullptr) {
        SendMessageW(app.media()->mediaWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
}

void CheckToolbarButton(App& app, int id, bool checked) {
    SendMessageW(app.window.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(id),
                 MAKELPARAM(checked, 0));
}

void EnableToolbarButton(App& app, int id, bool enabled) {
    SendMessageW(app.window.toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(id),
                 MAKELPARAM(enabled, 0));
}

// Opens an entry of the playlist and makes it the playing one.
void OpenPlaylistEntry(App& app, int index) {
    std::wstring path = app.playlist.EntryPath(index);
    if (!path.empty() && OpenMedia(app, path, true)) {
        app.playlist.SetPlayingIndex(index);
    }
}

void Navigate(App& app, int id) {
    if (app.window.fromPlaylist) {
        int target = NavigationTarget(true, static_cast<UINT>(id), app.playlist.playingIndex(),
                                      app.playlist.Count());
        if (target >= 0) {
            OpenPlaylistEntry(app, target);
        }
        return;
    }
    std::wstring path;
    if (app.folderFiles.StepTarget(static_cast<UINT>(id), OpenFilePath(app), path)) {
        OpenMedia(app, path, false);
    }
}

void OnSort(App& app, int id) {
    Settings& settings = app.settings;
    if (id == CMD_SORT_DESCENDING) {
        settings.sortDescending = !settings.sortDescending;
        CheckCommand(app.mainMenu.get(), CMD_SORT_DESCENDING, settings.sortDescending);
    } else {
        settings.sortType = id - CMD_SORT_NAME;
        RadioCommand(app.mainMenu.get(), CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, id);
    }
    app.folderFiles.Sort();
}

void OnAddToPlaylist(App& app) {
    if (!app.IsOpen()) {
        return;
    }
    int row = app.playlist.Count();
    app.playlist.AddPath(OpenFilePath(app));
    app.playlist.SelectRow(row);
    app.playlist.ScrollIntoView(row);
}

void OnMakePlaylist(App& app) {
    std::wstring open = OpenFilePath(app);
    if (!app.folderFiles.Ensure(open)) {
        return;
    }
    Playlist& playlist = app.playlist;
    playlist.ClearPlaylist();
    if (!playlist.IsVisible()) {
        Execute(app, CMD_PLAYLIST);
    }
    int count = app.folderFiles.Count();
    for (int i = 0; i < count; ++i) {
        std::wstring path;
        if (app.folderFiles.PathAt(i, path)) {
            playlist.AddPath(path);
        }
    }
    int row = playlist.FindEntry(open);
    playlist.SelectRow(row);
    playlist.SetPlayingIndex(row);
    if (row >= 0) {
        playlist.ScrollIntoView(row);
        app.window.fromPlaylist = true;
        UpdateCommandStates(app);
    }
}

void OnVolumeStep(App& app, int id) {
    MediaWindow& media = *app.media();
    int volume = media.GetVolume();
    if (id == CMD_VOLUME_UP && volume < kMaxVolume) {
        media.SetVolume(volume + 100 > kMaxVolume ? kMaxVolume : volume + 100);
    } else if (id == CMD_VOLUME_DOWN && volume > 0) {
        media.SetVolume(volume - 100 < 0 ? 0 : volume - 100);
    }
}

void OnMute(App& app) {
    MediaWindow& media = *app.media();
    if (media.media == nullptr) {
        return;
    }
    media.SetMute(!media.media->muted());
    CheckCommand(app.mainMenu.get(), CMD_MUTE, media.media->muted());
}

void Toggle(App& app, bool& setting, int id) {
    setting = !setting;
    CheckCommand(app.mainMenu.get(), id, setting);
}

void OnAlwaysOnTop(App& app) {
    bool& onTop = app.settings.alwaysOnTop;
    Toggle(app, onTop, CMD_ALWAYS_ON_TOP);
    SetWindowPos(app.window.hwnd, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    CheckToolbarButton(app, CMD_ALWAYS_ON_TOP, onTop);
}

void OnShowPlaylist(App& app) {
    bool& shown = app.settings.showPlaylist;
    Toggle(app, shown, CMD_PLAYLIST);
    CheckToolbarButton(app, CMD_PLAYLIST, shown);
    app.playlist.Show(shown);
}

// Commands 100-173 that the main window carries out itself; false for others.
bool ExecuteFixedCommand(App& app, int id) {
    if (ExecuteViewCommand(app, id)) {
        return true;
    }
    HWND window = app.window.hwnd;
    switch (id) {
        case CMD_OPEN: {
            LeaveFullScreen(app);
            wchar_t path[kMaxPath] = L"";
            if (ShowOpenDialog(app, window, path, app.settings.openDirectory)) {
                OpenMedia(app, path, false);
            }
            return true;
        }
        case CMD_CLOSE:
            CloseMedia(app);
            LeaveFullScreen(app);
            return true;
        case CMD_PREV_FILE:
        case CMD_NEXT_FILE:
        case CMD_FIRST_FILE:
        case CMD_LAST_FILE:
            Navigate(app, id);
            return true;
        case CMD_SORT_NAME:
        case CMD_SORT_NAME_NUMBER:
        case CMD_SORT_TYPE:
        case CMD_SORT_EXTENSION:
        case CMD_SORT_SIZE:
        case CMD_SORT_LAST_WRITE_TIME:
        case CMD_SORT_DESCENDING:
            OnSort(app, id);
            return true;
        case CMD_REFRESH:
            app.folderFiles.Discard();
            return true;
        case CMD_ADD_TO_PLAYLIST:
            OnAddToPlaylist(app);
            return true;
        case CMD_MAKE_PLAYLIST:
            OnMakePlaylist(app);
            return true;
        case CMD_EXIT:
            SendMessageW(window, WM_CLOSE, 0, 0);
            return true;
        // Play and Pause come from keyboards with separate media keys; the
        // media window treats them as its play bar buttons.
        case CMD_PLAY:
        case CMD_PAUSE:
        case CMD_PLAY_PAUSE:
        case CMD_STOP:
        case CMD_PREV_FRAME:
        case CMD_NEXT_FRAME:
        case CMD_BACKWARD:
        case CMD_FORWARD:
        case CMD_HOME:
        case CMD_END:
        case CMD_REPEAT:
            ForwardToMediaWindow(app, id);
            return true;
        case CMD_VOLUME_UP:
        case CMD_VOLUME_DOWN:
            OnVolumeStep(app, id);
            return true;
        case CMD_MUTE:
            OnMute(app);
            return true;
        case CMD_SEQUENTIAL_PLAY:
            Toggle(app, app.settings.sequentialPlay, CMD_SEQUENTIAL_PLAY);
            return true;
        case CMD_REPEAT_PLAYLIST:
            Toggle(app, app.settings.repeatPlaylist, CMD_REPEAT_PLAYLIST);
            CheckToolbarButton(app, CMD_REPEAT_PLAYLIST, app.settings.repeatPlaylist);
            return true;
        case CMD_ALWAYS_ON_TOP:
            OnAlwaysOnTop(app);
            return true;
        case CMD_PLAYLIST:
            OnShowPlaylist(app);
            return true;
        case CMD_OPTIONS:
            ShowSettingsSheet(app);
            return true;
        case CMD_ABOUT:
            LeaveFullScreen(app);
            ShowAboutBox(window);
            return true;
        case CMD_HELP:
            LeaveFullScreen(app);
            app.help.ShowContents();
            return true;
        case CMD_OPEN_PLAYLIST:
            OpenPlaylistFile(app);
            return true;
        case CMD_SAVE_PLAYLIST:
            SavePlaylistFile(app);
            return true;
        case CMD_ADD_FILES:
            AddFilesToPlaylist(app);
            return true;
        default:
            return false;
    }
}

void OnEndOfMedia(App& app) {
    bool next = app.window.fromPlaylist
                    ? PlayNextAtEnd(true, app.settings.repeatPlaylist, false,
                                    app.playlist.playingIndex(), app.playlist.Count())
                    : app.settings.sequentialPlay && app.folderFiles.HasNextFile(OpenFilePath(app));
    if (next) {
        Execute(app, CMD_NEXT_FILE);
    }
}

void OnFullScreenGone(App& app) {
    const Settings& settings = app.settings;
    ShowWindow(app.window.hwnd, SW_SHOW);
    if (settings.showPlayBar && !settings.fullScreenPlayBar) {
        app.media()->ShowPlayBar(true);
    }
    if (settings.showSeekBar && !settings.fullScreenSeekBar) {
        app.media()->ShowSeekBar(true);
    }
    CheckCommand(app.mainMenu.get(), CMD_FULL_SCREEN, false);
}

void OnMediaWindowNotification(App& app, int code) {
    switch (code) {
        case kZoomChangedByFit:
            UpdateSizePane(app);
            UpdateZoomChecks(app);
            break;
        case kEndOfMedia:
            OnEndOfMedia(app);
            break;
        case kRepeatToggled:
            app.settings.repeat = app.media()->repeat;
            CheckCommand(app.mainMenu.get(), CMD_REPEAT, app.settings.repeat);
            break;
        case kCanvasLeftClick:
            if (app.window.fromPlaylist) {
                Execute(app, CMD_NEXT_FILE);
            } else {
                LeaveFullScreen(app);
            }
            break;
        case kCanvasRightClick: {
            POINT cursor;
            GetCursorPos(&cursor);
            ShowContextMenu(app, cursor.x, cursor.y);
            break;
        }
        case kPlayBarRightClick:
        case kSeekBarRightClick:
            ShowBarsMenu(app);
            break;
        case kFullScreenGone:
            OnFullScreenGone(app);
            break;
        default:
            break;
    }
}

void OnPlaylistNotification(App& app, int code) {
    Playlist& playlist = app.playlist;
    switch (code) {
        case kPlaylistSelectionChanged:
            if (playlist.SelectionOpensEntry(app.settings.playlistSingleClickOpen)) {
                OpenPlaylistEntry(app, playlist.SelectedIndex());
            }
            break;
        case kPlaylistOpenSelected:
            if (playlist.SelectedIndex() >= 0) {
                OpenPlaylistEntry(app, playlist.SelectedIndex());
            }
            break;
        case kPlaylistPlayingGone:
            app.window.fromPlaylist = false;
            UpdateCommandStates(app);
            break;
        case kPlaylistHideRequested:
            SendMessageW(app.window.hwnd, WM_COMMAND, CMD_PLAYLIST, 0);
            break;
        default:
            break;
    }
}

void OnFileHistory(App& app, int position) {
    std::wstring path = app.fileHistory.HistoryPath(position);
    if (FileExists(path)) {
        OpenMedia(app, path, false);
    } else if (ShowMessage(app.window.hwnd, IDS_FILE_NOT_FOUND,
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, path.c_str()) == IDYES) {
        app.fileHistory.RemoveFromHistory(position);
    }
}

void OnFolderHistory(App& app, int position) {
    std::wstring folder = app.folderHistory.HistoryPath(position);
    if (FolderExists(folder)) {
        wchar_t path[kMaxPath] = L"";
        if (ShowOpenDialog(app, app.window.hwnd, path, folder)) {
            OpenMedia(app, path, false);
        }
    } else if (ShowMessage(app.window.hwnd, IDS_FOLDER_NOT_FOUND,
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, folder.c_str()) == IDYES) {
        app.folderHistory.RemoveFromHistory(position);
    }
}

void OnFileListItem(App& app, int id) {
    int index = DropDownListIndex(app.window.listIndexBase, static_cast<UINT>(id));
    bool fromPlaylist = app.window.fromPlaylist;
    std::wstring path;
    if (fromPlaylist) {
        path = app.playlist.EntryPath(index);
    } else {
        app.folderFiles.PathAt(index, path);
    }
    if (!path.empty() && OpenMedia(app, path, fromPlaylist) && fromPlaylist) {
        app.playlist.SetPlayingIndex(index);
    }
}

}  // namespace

void ExecuteCommand(App& app, int id, HWND control, int code) {
    if (id == ID_MEDIA_WINDOW && control != nullptr && app.media() != nullptr &&
        control == app.media()->mediaWindow) {
        OnMediaWindowNotification(app, code);
        return;
    }
    if (id == ID_STATUS_BAR) {
        if (code == kStatusBarRightClick) {
            ShowBarsMenu(app);
        }
        return;
    }
    if (id >= CMD_OPEN && id <= CMD_ADD_FILES && ExecuteFixedCommand(app, id)) {
        return;
    }
    if (control != nullptr && control == app.playlist.window()) {
        OnPlaylistNotification(app, code);
        return;
    }
    int position = 0;
    if (app.fileHistory.OwnsCommand(static_cast<UINT>(id), position)) {
        OnFileHistory(app, position);
    } else if (app.folderHistory.OwnsCommand(static_cast<UINT>(id), position)) {
        OnFolderHistory(app, position);
    } else if (id >= CMD_PRESET_FIRST && id < CMD_PRESET_FIRST + kPresetCount) {
        ExecuteViewCommand(app, id);
    } else if (id >= CMD_PREV_FILES_FIRST && id < CMD_NEXT_FILES_FIRST + 100) {
        OnFileListItem(app, id);
    }
}

void UpdateCommandStates(App& app) {
    HMENU menu = app.mainMenu.get();
    bool open = app.IsOpen();
    bool video = open && app.media()->media->hasVideo();
    bool browsable = open && !app.window.fromPlaylist;
    for (int id : {CMD_CLOSE, CMD_PLAY_PAUSE, CMD_BACKWARD, CMD_FORWARD, CMD_HOME, CMD_END,
                   CMD_PREV_FILE, CMD_NEXT_FILE, CMD_FIRST_FILE, CMD_LAST_FILE, CMD_FULL_SCREEN}) {
        EnableCommand(menu, id, open);
    }
    for (int id : {CMD_REFRESH, CMD_ADD_TO_PLAYLIST, CMD_MAKE_PLAYLIST}) {
        EnableCommand(menu, id, browsable);
    }
    EnableCommand(menu, CMD_STOP, false);
    CheckCommand(menu, CMD_STOP, false);
    for (int id : {CMD_PREV_FRAME, CMD_NEXT_FRAME, CMD_ZOOM_IN, CMD_ZOOM_OUT}) {
        EnableCommand(menu, id, video);
    }
    EnableSubMenu(menu, kPlayMenu, kVolumePosition, open && app.media()->media->HasAudio());
    EnableSubMenu(menu, kViewMenu, kZoomPosition, video);
    EnableSubMenu(menu, kViewMenu, kAspectPosition, video);
    for (int id : {CMD_PREV_FILE, CMD_NEXT_FILE, CMD_FULL_SCREEN}) {
        EnableToolbarButton(app, id, open);
    }
    EnableToolbarButton(app, CMD_ZOOM_IN, video);
    EnableToolbarButton(app, CMD_ZOOM_OUT, video);
    if (video) {
        UpdateZoomChecks(app);
        RadioCommand(menu, CMD_ASPECT_DEFAULT, CMD_ASPECT_16X9,
                     AspectCommandFor(app.media()->aspectX, app.media()->aspectY));
    }
    DrawMenuBar(app.window.hwnd);
}

void ShowStateMarks(App& app, int state) {
    StateMarks marks = MarksForState(state);
    if (!marks.known) {
        return;
    }
    SetPaneText(app.window.statusBar, 0,
                marks.paneText != 0 ? LoadText(marks.paneText).c_str() : L"");
    if (!marks.changesMenu) {
        return;
    }
    EnableCommand(app.mainMenu.get(), CMD_STOP, marks.stopEnabled);
    CheckCommand(app.mainMenu.get(), CMD_STOP, marks.stopChecked);
    if (app.IsOpen() && app.media()->media->hasVideo()) {
        EnableCommand(app.mainMenu.get(), CMD_PREV_FRAME, marks.frameStepsEnabled);
        EnableCommand(app.mainMenu.get(), CMD_NEXT_FRAME, marks.frameStepsEnabled);
    }
}

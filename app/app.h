// The application: everything the program keeps while it runs. Start-up
// makes the one App, the main window keeps a pointer to it in its extra data,
// and every part of the shell gets it by reference.
#ifndef ZEPHLO_APP_APP_H
#define ZEPHLO_APP_APP_H

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/help.h"
#include "app/program.h"
#include "base/handles.h"
#include "controls/status_bar.h"
#include "files/folder_file_list.h"
#include "files/history_list.h"
#include "media/media.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "settings/page_appearance.h"
#include "settings/settings.h"
#include "settings/toolbars.h"

class FileListMenuSession;

// A path a second start handed over, with how many it handed over together.
struct HandedOverPath {
    std::wstring path;
    std::size_t count = 0;
};

// The main window and what it holds, from its WM_CREATE to its WM_DESTROY.
struct MainWindow {
    HWND hwnd = nullptr;
    HWND toolbar = nullptr;
    // The main toolbar's own pictures, when no theme gives them.
    UniqueImageList builtInToolbarImages;
    HWND sizeGrip = nullptr;
    StatusBarState statusBar;
    // The media window's controller.
    std::unique_ptr<MediaWindow> media;
    // The open file came from the playlist (playlist mode).
    bool fromPlaylist = false;
    // Index of the open file when a drop-down file list was shown.
    int listIndexBase = 0;
    // Whether the last file closed showed a picture.
    VideoPresence previousVideo = kNothingOpen;
    // The drop-down file list being shown, while it is up.
    FileListMenuSession* fileListMenu = nullptr;
    // Start-up has opened the command-line files; a file is being opened;
    // the paths that waited are being taken. Until start-up is done and
    // while a file opens, handed-over paths wait their turn here.
    bool startedUp = false;
    bool opening = false;
    bool takingWaitingPaths = false;
    std::vector<HandedOverPath> waitingPaths;
};

struct App {
    HINSTANCE instance = nullptr;
    Settings settings;
    SettingsLocation settingsLocation;
    HistoryList fileHistory{CMD_FILE_HISTORY_FIRST};
    HistoryList folderHistory{CMD_FOLDER_HISTORY_FIRST};
    HistoryList playlistHistory{CMD_PLAYLIST_HISTORY_FIRST};
    FolderFiles folderFiles{settings};
    Playlist playlist{playlistHistory};
    KeyAssignment keys{kCommandTable};
    // The theme's pictures of the three toolbars (empty: the built-in ones).
    ToolbarImageSets toolbarImages;
    HelpViewer help;
    // Renders of files the back-ends gave up on and that still run: they
    // outlive the media window and are waited for before the process ends.
    std::shared_ptr<TimeLimitedCalls> renders = CreateRenderCalls();
    // The settings sheet's page last active (0-5); it opens there next time.
    int lastSettingsPage = 0;
    // The colour chooser's custom colours of the appearance page.
    ChooserColours chooserColours;
    // Menu resource 10, loaded once and kept for the run, whether the menu
    // bar shows it or not (the main window lets go of it when destroyed).
    UniqueMenu mainMenu;
    MainWindow window;

    // The media window's controller; null before the main window exists.
    MediaWindow* media() const { return window.media.get(); }
    // A file is open / the media window shows full screen.
    bool IsOpen() const { return media() != nullptr && media()->IsOpen(); }
    bool IsFullScreen() const { return media() != nullptr && media()->fullScreen; }
};

#endif

#include "app/layout.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app.h"
#include "app/commands.h"
#include "app/layout_math.h"
#include "app/main_toolbar.h"
#include "app/menus.h"
#include "app/status_texts.h"
#include "app/window_colours.h"
#include "base/text.h"

namespace {

int WindowHeight(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

RECT WorkArea() {
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return work;
}

void Execute(App& app, int id) {
    ExecuteCommand(app, id, nullptr, 0);
}

void LeaveFullScreen(App& app) {
    if (app.IsFullScreen()) {
        Execute(app, CMD_FULL_SCREEN);
    }
}

void CreateStatusBarWithPanes(App& app) {
    StatusBarState& bar = app.window.statusBar;
    CreateStatusBar(app.window.hwnd, app.instance, &bar);
    SetPaneWidthFromSample(bar, LoadText(IDS_STATE_PAUSED).c_str(), 0);
    SetPaneWidthFromSample(bar, L"1000 x 1000 (1000%%)", 1);
    SetPaneWidthFromSample(bar, TimePaneSampleText(UserDecimalSeparator()).c_str(), 2);
    if (app.settings.showStatusBar) {
        ShowStatusBar(bar, true);
    }
}

void CreateSizeGrip(App& app) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEGRIP |
                  (app.settings.showStatusBar ? WS_VISIBLE : 0);
    app.window.sizeGrip = CreateWindowExW(0, L"SCROLLBAR", nullptr, style, 0, 0, 100, 100,
                                          app.window.hwnd, nullptr, app.instance, nullptr);
    SetWindowPos(app.window.sizeGrip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CreateMediaWindow(App& app) {
    const Settings& settings = app.settings;
    app.window.media = std::make_unique<MediaWindow>();
    MediaWindow& media = *app.window.media;
    media.renders = app.renders;
    media.SetPlayBarImages(app.toolbarImages[kPlayBarSet].images());
    media.SetDevice(settings.mediaDevice);
    media.Create(app.window.hwnd, ID_MEDIA_WINDOW, app.instance);
    media.ShowPlayBar(settings.showPlayBar);
    media.ShowSeekBar(settings.showSeekBar);
    media.SetBackwardSpeed(settings.backwardSpeed);
    media.SetForwardSpeed(settings.forwardSpeed);
    media.SetRepeat(settings.repeat);
    media.SetFitToWindow(settings.fitToWindow);
    media.SetFitToDisplay(settings.fitToDisplay);
    media.hideCursor = settings.fullScreenHideCursor;
    media.SetVolume(settings.volume);
}

void CentreOnFirstStart(App& app) {
    bool centreX = app.settings.windowLeft == UnsetPosition;
    bool centreY = app.settings.windowTop == UnsetPosition;
    if (!centreX && !centreY) {
        return;
    }
    HWND window = app.window.hwnd;
    RECT r;
    GetWindowRect(window, &r);
    POINT position = CentredPosition(r, WorkArea(), centreX, centreY);
    MoveWindow(window, position.x, position.y, r.right - r.left, r.bottom - r.top, FALSE);
}

void Zoom(App& app, int zoom) {
    app.media()->SetZoom(zoom);
    FitWindowToContent(app);
    UpdateSizePane(app);
    UpdateZoomChecks(app);
}

void TurnFitToWindowOff(App& app) {
    if (app.settings.fitToWindow) {
        Execute(app, CMD_FIT_TO_WINDOW);
    }
}

void OnZoomCommand(App& app, int id) {
    if (app.IsFullScreen() || !app.IsOpen()) {
        return;
    }
    int zoom = app.media()->zoom;
    if (id == CMD_ZOOM_IN) {
        TurnFitToWindowOff(app);
        zoom = ZoomIn(zoom, app.settings.zoomStep);
    } else if (id == CMD_ZOOM_OUT) {
        zoom = ZoomOut(zoom, app.settings.zoomStep);
        TurnFitToWindowOff(app);
    } else {
        TurnFitToWindowOff(app);
        zoom = kZoomPresets[id - CMD_ZOOM_50];
    }
    Zoom(app, zoom);
}

void OnAspectCommand(App& app, int id) {
    static const int kRatios[3][2] = {{0, 0}, {4, 3}, {16, 9}};
    const int* ratio = kRatios[id - CMD_ASPECT_DEFAULT];
    app.media()->SetAspect(ratio[0], ratio[1]);
    FitWindowToContent(app);
    RadioCommand(app.mainMenu.get(), CMD_ASPECT_DEFAULT, CMD_ASPECT_16X9, id);
}

void OnKeepZoom(App& app) {
    Settings& settings = app.settings;
    settings.keepZoomRate = !settings.keepZoomRate;
    CheckCommand(app.mainMenu.get(), CMD_KEEP_ZOOM, settings.keepZoomRate);
    if (settings.fitToWindow) {
        settings.fitToWindow = false;
        app.media()->fitToWindow = false;
        CheckCommand(app.mainMenu.get(), CMD_FIT_TO_WINDOW, false);
    }
}

void OnFitToWindow(App& app) {
    Settings& settings = app.settings;
    settings.fitToWindow = !settings.fitToWindow;
    app.media()->SetFitToWindow(settings.fitToWindow);
    CheckCommand(app.mainMenu.get(), CMD_FIT_TO_WINDOW, settings.fitToWindow);
    if (settings.keepZoomRate) {
        settings.keepZoomRate = false;
        CheckCommand(app.mainMenu.get(), CMD_KEEP_ZOOM, false);
    }
}

// The bar settings in the order of the View menu's bar items (commands 160-164).
bool& BarSetting(Settings& s, int bar) {
    bool* bars[5] = {&s.showMenuBar, &s.showToolbar, &s.showStatusBar, &s.showPlayBar,
                     &s.showSeekBar};
    return *bars[bar];
}

void OnBarCommand(App& app, int id) {
    if ((id == CMD_PLAY_BAR || id == CMD_SEEK_BAR) && app.IsFullScreen()) {
        return;
    }
    bool& shown = BarSetting(app.settings, id - CMD_MENU_BAR);
    shown = !shown;
    CheckCommand(app.mainMenu.get(), id, shown);
    switch (id) {
        case CMD_MENU_BAR:
            SetMenu(app.window.hwnd, shown ? app.mainMenu.get() : nullptr);
            break;
        case CMD_TOOLBAR:
            ShowWindow(app.window.toolbar, shown ? SW_SHOW : SW_HIDE);
            RelayoutMainWindow(app);
            break;
        case CMD_STATUS_BAR:
            ShowStatusBar(app.window.statusBar, shown);
            ShowWindow(app.window.sizeGrip, shown ? SW_SHOW : SW_HIDE);
            RelayoutMainWindow(app);
            break;
        case CMD_PLAY_BAR:
            app.media()->ShowPlayBar(shown);
            break;
        default:
            app.media()->ShowSeekBar(shown);
            break;
    }
}

void OnFullScreenBarCommand(App& app, int id) {
    if (!app.IsFullScreen()) {
        return;
    }
    Settings& settings = app.settings;
    if (id == CMD_FULL_SCREEN_PLAY_BAR) {
        settings.fullScreenPlayBar = !settings.fullScreenPlayBar;
        app.media()->ShowPlayBar(settings.fullScreenPlayBar);
    } else {
        settings.fullScreenSeekBar = !settings.fullScreenSeekBar;
        app.media()->ShowSeekBar(settings.fullScreenSeekBar);
    }
}

// Bars that full screen does not keep are hidden on entering and shown on
// leaving; the main window is hidden while full screen.
void ShowBarsLeftOutOfFullScreen(App& app, bool show) {
    const Settings& settings = app.settings;
    if (settings.showPlayBar && !settings.fullScreenPlayBar) {
        app.media()->ShowPlayBar(show);
    }
    if (settings.showSeekBar && !settings.fullScreenSeekBar) {
        app.media()->ShowSeekBar(show);
    }
}

void OnFullScreen(App& app) {
    MediaWindow* media = app.media();
    if (media == nullptr) {
        return;
    }
    const bool leaving = media->fullScreen;
    ShowBarsLeftOutOfFullScreen(app, leaving);
    if (!media->SetFullScreen(!leaving)) {
        ShowBarsLeftOutOfFullScreen(app, true);  // no full-screen window: stay as we were
        return;
    }
    if (leaving && !app.settings.fitToWindow) {
        FitWindowToContent(app);
    }
    ShowWindow(app.window.hwnd, leaving ? SW_SHOW : SW_HIDE);
    CheckCommand(app.mainMenu.get(), CMD_FULL_SCREEN, !leaving);
}

void ApplyPreset(App& app, int preset) {
    LeaveFullScreen(app);
    unsigned bars = app.settings.presets[preset].bars;
    for (int bar = 0; bar < 5; ++bar) {
        bool wanted = ((bars >> bar) & 1) != 0;
        if (wanted != BarSetting(app.settings, bar)) {
            Execute(app, CMD_MENU_BAR + bar);
        }
    }
}

}  // namespace

void CreatePlaylistWindow(App& app) {
    const Settings& s = app.settings;
    Playlist& playlist = app.playlist;
    playlist.SetToolbarImages(app.toolbarImages[kPlaylistToolbarSet].images());
    playlist.CreateWindowFor(app.instance, app.window.hwnd, s.playlistKeepForeground);
    playlist.SetFolderSearch(s.fileMasks, s.findSubDir);
    app.playlistHistory.SetHistoryLimit(s.maxPlaylistHistory);
    playlist.SetDisplayMode(s.playlistFileName);
    bool placed = (s.playlistLeft != UnsetPosition && s.playlistTop != UnsetPosition) ||
                  (s.playlistWidth != UnsetPosition && s.playlistHeight != UnsetPosition);
    if (placed) {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (s.playlistLeft == UnsetPosition || s.playlistTop == UnsetPosition) {
            flags |= SWP_NOMOVE;
        }
        if (s.playlistWidth == UnsetPosition || s.playlistHeight == UnsetPosition) {
            flags |= SWP_NOSIZE;
        }
        SetWindowPos(playlist.window(), nullptr, s.playlistLeft, s.playlistTop, s.playlistWidth,
                     s.playlistHeight, flags);
    }
}

bool CreateMainWindowChildren(App& app, HWND window) {
    app.window.hwnd = window;
    app.window.toolbar = CreateMainToolbar(app);
    CreateStatusBarWithPanes(app);
    CreateSizeGrip(app);
    CreateMediaWindow(app);
    ApplyColours(app, false);
    if (app.settings.windowWidth == UnsetPosition || app.settings.windowHeight == UnsetPosition) {
        FitWindowToContent(app);
    }
    CentreOnFirstStart(app);
    return true;
}

void DestroyMainWindowChildren(App& app) {
    StatusBarState& bar = app.window.statusBar;
    if (bar.hwnd != nullptr) {
        DestroyWindow(bar.hwnd);
    }
    bar.backgroundBrush.reset();
    app.window.media.reset();
    app.playlist.DestroyPlaylistWindow();
}

void LayoutMainWindow(App& app, int height, int width) {
    const MainWindow& main = app.window;
    int top = 0;
    if (app.settings.showToolbar && main.toolbar != nullptr) {
        SendMessageW(main.toolbar, TB_AUTOSIZE, 0, 0);
        top = WindowHeight(main.toolbar);
    }
    int bottom = height;
    if (app.settings.showStatusBar && main.statusBar.hwnd != nullptr) {
        RECT grip;
        GetWindowRect(main.sizeGrip, &grip);
        int gripWidth = grip.right - grip.left;
        int gripHeight = grip.bottom - grip.top;
        int barHeight = main.statusBar.windowHeight;
        MoveWindow(main.statusBar.hwnd, 0, height - barHeight, width - gripWidth, barHeight, TRUE);
        MoveWindow(main.sizeGrip, width - gripWidth, height - gripHeight, gripWidth, gripHeight,
                   TRUE);
        bottom = height - barHeight;
    }
    if (main.media != nullptr && main.media->mediaWindow != nullptr) {
        MoveWindow(main.media->mediaWindow, 0, top, width, bottom - top, TRUE);
    }
}

void RelayoutMainWindow(App& app) {
    RECT client;
    GetClientRect(app.window.hwnd, &client);
    LayoutMainWindow(app, client.bottom, client.right);
}

void FitWindowToContent(App& app) {
    HWND window = app.window.hwnd;
    MediaWindow& mediaWindow = *app.media();
    VideoPresence video = kNothingOpen;
    bool haveSize = false;
    int width = 0;
    int height = 0;
    if (mediaWindow.media != nullptr) {
        video = mediaWindow.media->video();
        haveSize = video == kVideo && mediaWindow.media->GetDestinationSize(width, height);
    }
    SIZE content = ContentSize(video, haveSize, width, height);
    RECT r = {0, 0, content.cx, content.cy};
    mediaWindow.GetFrameSize(r);
    if (app.settings.showToolbar && app.window.toolbar != nullptr) {
        r.top -= WindowHeight(app.window.toolbar);
    }
    if (app.settings.showStatusBar) {
        r.bottom += app.window.statusBar.windowHeight;
    }
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                       app.settings.showMenuBar,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    RECT current;
    GetWindowRect(window, &current);
    OffsetRect(&r, current.left - r.left, current.top - r.top);
    r = FitRectToWorkArea(r, WorkArea());
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void UpdateZoomChecks(App& app) {
    for (int i = 0; i < 6; ++i) {
        CheckCommand(app.mainMenu.get(), CMD_ZOOM_50 + i, app.media()->zoom == kZoomPresets[i]);
    }
}

void UpdateSizePane(App& app) {
    const MediaWindow& mediaWindow = *app.media();
    int width = 0;
    int height = 0;
    if (mediaWindow.media != nullptr && mediaWindow.media->hasVideo() &&
        mediaWindow.media->GetSourceSize(width, height)) {
        SetPaneText(app.window.statusBar, 1,
                    FormatSizePaneText(width, height, mediaWindow.zoom).c_str());
    }
}

bool ExecuteViewCommand(App& app, int id) {
    if (id >= CMD_ZOOM_IN && id <= CMD_ZOOM_300) {
        OnZoomCommand(app, id);
    } else if (id >= CMD_ASPECT_DEFAULT && id <= CMD_ASPECT_16X9) {
        OnAspectCommand(app, id);
    } else if (id == CMD_KEEP_ZOOM) {
        OnKeepZoom(app);
    } else if (id == CMD_FIT_TO_WINDOW) {
        OnFitToWindow(app);
    } else if (id >= CMD_MENU_BAR && id <= CMD_SEEK_BAR) {
        OnBarCommand(app, id);
    } else if (id == CMD_FULL_SCREEN) {
        OnFullScreen(app);
    } else if (id == CMD_FULL_SCREEN_PLAY_BAR || id == CMD_FULL_SCREEN_SEEK_BAR) {
        OnFullScreenBarCommand(app, id);
    } else if (id >= CMD_PRESET_FIRST && id < CMD_PRESET_FIRST + kPresetCount) {
        ApplyPreset(app, id - CMD_PRESET_FIRST);
    } else {
        return false;
    }
    return true;
}

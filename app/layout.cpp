#include "app/layout.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/app.h"
#include "app/commands.h"
#include "app/layout_math.h"
#include "app/menus.h"
#include "app/status_texts.h"
#include "app/text.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/apply_colours.h"
#include "settings/settings.h"
#include "settings/toolbars.h"
#include "files/history_list.h"

namespace {

// The one media window controller of the program, owned by the main window.
std::unique_ptr<MediaWindow> g_mainMediaWindow;

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

bool IsFullScreen() {
    return g_mediaWindow != nullptr && g_mediaWindow->fullScreen;
}

void LeaveFullScreen(HWND window) {
    if (IsFullScreen()) {
        ExecuteCommand(window, CMD_FULL_SCREEN, nullptr, 0);
    }
}

void CreateStatusBarWithPanes(HWND window) {
    StatusBarState& bar = g_app.statusBar;
    CreateStatusBar(window, g_app.instance, &bar);
    SetPaneWidthFromSample(bar, LoadText(IDS_STATE_PAUSED).c_str(), 0);
    SetPaneWidthFromSample(bar, L"1000 x 1000 (1000%%)", 1);
    SetPaneWidthFromSample(bar, TimePaneSampleText(UserDecimalSeparator()).c_str(), 2);
    if (g_settings.showStatusBar) {
        ShowStatusBar(bar, true);
    }
}

void CreateSizeGrip(HWND window) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEGRIP |
                  (g_settings.showStatusBar ? WS_VISIBLE : 0);
    g_app.sizeGrip = CreateWindowExW(0, L"SCROLLBAR", nullptr, style, 0, 0, 100, 100, window,
                                     nullptr, g_app.instance, nullptr);
    SetWindowPos(g_app.sizeGrip, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CreateMediaWindow(HWND window) {
    g_mainMediaWindow = std::make_unique<MediaWindow>();
    MediaWindow& media = *g_mainMediaWindow;
    g_mediaWindow = &media;
    const ToolbarImageSet& set = g_toolbarImageSets[1];
    if (set.normal) {
        media.SetPlayBarImages(set.normal.get(), set.hot.get(), set.disabled.get());
    }
    media.SetDevice();
    media.Create(window, ID_MEDIA_WINDOW, g_app.instance);
    media.ShowPlayBar(g_settings.showPlayBar);
    media.ShowSeekBar(g_settings.showSeekBar);
    media.ApplyBackwardSpeed();
    media.ApplyForwardSpeed();
    media.repeat = g_settings.repeat;
    SendMessageW(media.playBar, TB_CHECKBUTTON, CMD_REPEAT, MAKELPARAM(g_settings.repeat, 0));
    media.SetFitToWindow(g_settings.fitToWindow);
    media.ApplyFitToDisplay();
    media.hideCursor = g_settings.fullScreenHideCursor;
    media.SetVolume(g_settings.volume);
}

void CentreOnFirstStart(HWND window) {
    bool centreX = g_settings.windowLeft == UnsetPosition;
    bool centreY = g_settings.windowTop == UnsetPosition;
    if (!centreX && !centreY) {
        return;
    }
    RECT r;
    GetWindowRect(window, &r);
    POINT position = CentredPosition(r, WorkArea(), centreX, centreY);
    MoveWindow(window, position.x, position.y, r.right - r.left, r.bottom - r.top, FALSE);
}

void Zoom(HWND window, int zoom) {
    g_mediaWindow->SetZoom(zoom);
    FitWindowToContent(window);
    UpdateSizePane();
    UpdateZoomChecks();
}

void TurnFitToWindowOff(HWND window) {
    if (g_settings.fitToWindow) {
        ExecuteCommand(window, CMD_FIT_TO_WINDOW, nullptr, 0);
    }
}

void OnZoomCommand(HWND window, int id) {
    if (IsFullScreen() || !g_mediaWindow->IsOpen()) {
        return;
    }
    int zoom = g_mediaWindow->zoom;
    if (id == CMD_ZOOM_IN) {
        TurnFitToWindowOff(window);
        zoom = ZoomIn(zoom, g_settings.zoomStep);
    } else if (id == CMD_ZOOM_OUT) {
        zoom = ZoomOut(zoom, g_settings.zoomStep);
        TurnFitToWindowOff(window);
    } else {
        TurnFitToWindowOff(window);
        zoom = kZoomPresets[id - CMD_ZOOM_50];
    }
    Zoom(window, zoom);
}

void OnAspectCommand(HWND window, int id) {
    static const int kRatios[3][2] = {{0, 0}, {4, 3}, {16, 9}};
    const int* ratio = kRatios[id - CMD_ASPECT_DEFAULT];
    g_mediaWindow->SetAspect(ratio[0], ratio[1]);
    FitWindowToContent(window);
    RadioCommand(CMD_ASPECT_DEFAULT, CMD_ASPECT_16X9, id);
}

void OnKeepZoom() {
    g_settings.keepZoomRate = !g_settings.keepZoomRate;
    CheckCommand(CMD_KEEP_ZOOM, g_settings.keepZoomRate);
    if (g_settings.fitToWindow) {
        g_settings.fitToWindow = false;
        g_mediaWindow->fitToWindow = false;
        CheckCommand(CMD_FIT_TO_WINDOW, false);
    }
}

void OnFitToWindow() {
    g_settings.fitToWindow = !g_settings.fitToWindow;
    g_mediaWindow->SetFitToWindow(g_settings.fitToWindow);
    CheckCommand(CMD_FIT_TO_WINDOW, g_settings.fitToWindow);
    if (g_settings.keepZoomRate) {
        g_settings.keepZoomRate = false;
        CheckCommand(CMD_KEEP_ZOOM, false);
    }
}

bool& BarSetting(int bar) {
    Settings& s = g_settings;
    bool* bars[5] = {&s.showMenuBar, &s.showToolbar, &s.showStatusBar, &s.showPlayBar,
                     &s.showSeekBar};
    return *bars[bar];
}

void OnBarCommand(HWND window, int id) {
    if ((id == CMD_PLAY_BAR || id == CMD_SEEK_BAR) && IsFullScreen()) {
        return;
    }
    bool& shown = BarSetting(id - CMD_MENU_BAR);
    shown = !shown;
    CheckCommand(id, shown);
    switch (id) {
        case CMD_MENU_BAR:
            SetMenu(window, shown ? g_app.mainMenu : nullptr);
            break;
        case CMD_TOOLBAR:
            ShowWindow(g_app.toolbar, shown ? SW_SHOW : SW_HIDE);
            RelayoutMainWindow(window);
            break;
        case CMD_STATUS_BAR:
            ShowStatusBar(g_app.statusBar, shown);
            ShowWindow(g_app.sizeGrip, shown ? SW_SHOW : SW_HIDE);
            RelayoutMainWindow(window);
            break;
        case CMD_PLAY_BAR:
            g_mediaWindow->ShowPlayBar(shown);
            break;
        default:
            g_mediaWindow->ShowSeekBar(shown);
            break;
    }
}

void OnFullScreenBarCommand(int id) {
    if (!IsFullScreen()) {
        return;
    }
    if (id == CMD_FULL_SCREEN_PLAY_BAR) {
        g_settings.fullScreenPlayBar = !g_settings.fullScreenPlayBar;
        g_mediaWindow->ShowPlayBar(g_settings.fullScreenPlayBar);
    } else {
        g_settings.fullScreenSeekBar = !g_settings.fullScreenSeekBar;
        g_mediaWindow->ShowSeekBar(g_settings.fullScreenSeekBar);
    }
}

// Bars that full screen does not keep are hidden on entering and shown on
// leaving; the main window is hidden while full screen.
void ShowBarsLeftOutOfFullScreen(bool show) {
    if (g_settings.showPlayBar && !g_settings.fullScreenPlayBar) {
        g_mediaWindow->ShowPlayBar(show);
    }
    if (g_settings.showSeekBar && !g_settings.fullScreenSeekBar) {
        g_mediaWindow->ShowSeekBar(show);
    }
}

void OnFullScreen(HWND window) {
    if (g_mediaWindow == nullptr) {
        return;
    }
    const bool leaving = g_mediaWindow->fullScreen;
    ShowBarsLeftOutOfFullScreen(leaving);
    if (!g_mediaWindow->SetFullScreen(!leaving)) {
        ShowBarsLeftOutOfFullScreen(true);  // no full-screen window: stay as we were
        return;
    }
    if (leaving && !g_settings.fitToWindow) {
        FitWindowToContent(window);
    }
    ShowWindow(window, leaving ? SW_SHOW : SW_HIDE);
    CheckCommand(CMD_FULL_SCREEN, !leaving);
}

void ApplyPreset(HWND window, int preset) {
    LeaveFullScreen(window);
    unsigned bars = g_settings.presets[preset].bars;
    for (int bar = 0; bar < 5; ++bar) {
        bool wanted = ((bars >> bar) & 1) != 0;
        if (wanted != BarSetting(bar)) {
            ExecuteCommand(window, CMD_MENU_BAR + bar, nullptr, 0);
        }
    }
}

}  // namespace

void CreatePlaylistWindow(HWND window) {
    g_playlist.CreateWindowFor(g_app.instance, window, g_settings.playlistKeepForeground);
    g_playlist.SetFolderSearch(g_settings.fileMasks, g_settings.findSubDir);
    g_playlistHistory.SetHistoryLimit(g_settings.maxPlaylistHistory);
    g_playlist.SetDisplayMode(g_settings.playlistFileName);
    const Settings& s = g_settings;
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
        SetWindowPos(g_playlist.window(), nullptr, s.playlistLeft, s.playlistTop, s.playlistWidth,
                     s.playlistHeight, flags);
    }
}

bool CreateMainWindowChildren(HWND window) {
    g_app.mainWindow = window;
    g_app.toolbar = CreateMainToolbar(window, g_app.instance);
    CreateStatusBarWithPanes(window);
    CreateSizeGrip(window);
    CreateMediaWindow(window);
    ApplyWindowColours();
    if (g_settings.windowWidth == UnsetPosition || g_settings.windowHeight == UnsetPosition) {
        FitWindowToContent(window);
    }
    CentreOnFirstStart(window);
    return true;
}

void DestroyMainWindowChildren() {
    if (g_app.statusBar.hwnd != nullptr) {
        DestroyWindow(g_app.statusBar.hwnd);
    }
    g_app.statusBar.backgroundBrush.reset();
    g_mediaWindow = nullptr;
    g_mainMediaWindow.reset();
    g_playlist.DestroyPlaylistWindow();
}

void LayoutMainWindow(int height, int width) {
    int top = 0;
    if (g_settings.showToolbar && g_app.toolbar != nullptr) {
        SendMessageW(g_app.toolbar, TB_AUTOSIZE, 0, 0);
        top = WindowHeight(g_app.toolbar);
    }
    int bottom = height;
    if (g_settings.showStatusBar && g_app.statusBar.hwnd != nullptr) {
        RECT grip;
        GetWindowRect(g_app.sizeGrip, &grip);
        int gripWidth = grip.right - grip.left;
        int gripHeight = grip.bottom - grip.top;
        int barHeight = g_app.statusBar.windowHeight;
        MoveWindow(g_app.statusBar.hwnd, 0, height - barHeight, width - gripWidth, barHeight, TRUE);
        MoveWindow(g_app.sizeGrip, width - gripWidth, height - gripHeight, gripWidth, gripHeight,
                   TRUE);
        bottom = height - barHeight;
    }
    if (g_mediaWindow != nullptr && g_mediaWindow->mediaWindow != nullptr) {
        MoveWindow(g_mediaWindow->mediaWindow, 0, top, width, bottom - top, TRUE);
    }
}

void RelayoutMainWindow(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    LayoutMainWindow(client.bottom, client.right);
}

void FitWindowToContent(HWND window) {
    int video = -1;
    bool haveSize = false;
    int width = 0;
    int height = 0;
    if (g_mediaWindow->media != nullptr) {
        video = g_mediaWindow->media->video();
        haveSize = video == 1 && g_mediaWindow->media->GetDestinationSize(width, height);
    }
    SIZE content = ContentSize(video, haveSize, width, height);
    RECT r = {0, 0, content.cx, content.cy};
    g_mediaWindow->GetFrameSize(r);
    if (g_settings.showToolbar && g_app.toolbar != nullptr) {
        r.top -= WindowHeight(g_app.toolbar);
    }
    if (g_settings.showStatusBar) {
        r.bottom += g_app.statusBar.windowHeight;
    }
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                       g_settings.showMenuBar,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    RECT current;
    GetWindowRect(window, &current);
    OffsetRect(&r, current.left - r.left, current.top - r.top);
    r = FitRectToWorkArea(r, WorkArea());
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void UpdateZoomChecks() {
    for (int i = 0; i < 6; ++i) {
        CheckCommand(CMD_ZOOM_50 + i, g_mediaWindow->zoom == kZoomPresets[i]);
    }
}

void UpdateSizePane() {
    int width = 0;
    int height = 0;
    if (g_mediaWindow->media != nullptr && g_mediaWindow->media->video() == 1 &&
        g_mediaWindow->media->GetSourceSize(width, height)) {
        SetPaneText(g_app.statusBar, 1,
                    FormatSizePaneText(width, height, g_mediaWindow->zoom).c_str());
    }
}

bool ExecuteViewCommand(HWND window, int id) {
    if (id >= CMD_ZOOM_IN && id <= CMD_ZOOM_300) {
        OnZoomCommand(window, id);
    } else if (id >= CMD_ASPECT_DEFAULT && id <= CMD_ASPECT_16X9) {
        OnAspectCommand(window, id);
    } else if (id == CMD_KEEP_ZOOM) {
        OnKeepZoom();
    } else if (id == CMD_FIT_TO_WINDOW) {
        OnFitToWindow();
    } else if (id >= CMD_MENU_BAR && id <= CMD_SEEK_BAR) {
        OnBarCommand(window, id);
    } else if (id == CMD_FULL_SCREEN) {
        OnFullScreen(window);
    } else if (id == CMD_FULL_SCREEN_PLAY_BAR || id == CMD_FULL_SCREEN_SEEK_BAR) {
        OnFullScreenBarCommand(id);
    } else if (id >= CMD_PRESET_FIRST && id < CMD_PRESET_FIRST + kPresetCount) {
        ApplyPreset(window, id - CMD_PRESET_FIRST);
    } else {
        return false;
    }
    return true;
}

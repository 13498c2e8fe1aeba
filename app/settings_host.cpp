#include "app/settings_host.h"

#include "app/app.h"
#include "app/commands.h"
#include "app/file_masks.h"
#include "app/menus.h"
#include "app/open_media.h"
#include "app/toolbar_theme.h"
#include "app/window_colours.h"
#include "base/paths.h"
#include "settings/page_appearance.h"
#include "settings/page_general.h"
#include "settings/page_history.h"
#include "settings/page_keys.h"
#include "settings/page_player.h"
#include "settings/page_playlist.h"

void AppSettingsHost::ShowHelp(DWORD context) {
    app_.help.ShowContext(context);
}

void AppSettingsHost::RefreshTitle() {
    UpdateTitle(app_);
}

void AppSettingsHost::SetToolTipsActive(bool active) {
    SetToolbarToolTips(app_, active);
}

void AppSettingsHost::ApplyColours() {
    ::ApplyColours(app_, true);
}

void AppSettingsHost::ApplyToolbarTheme(const PluginRecord* plugin) {
    ApplyThemeChoice(app_, plugin);
}

void AppSettingsHost::SetFolderSearch(const std::wstring& masks, bool findSubDir) {
    app_.playlist.SetFolderSearch(masks, findSubDir);
}

void AppSettingsHost::DiscardFolderList() {
    app_.folderFiles.Discard();
}

std::wstring AppSettingsHost::DefaultFileMasks() {
    return BuildDefaultFileMasks();
}

HistoryList& AppSettingsHost::History(HistoryKind kind) const {
    switch (kind) {
        case HistoryKind::kFiles:
            return app_.fileHistory;
        case HistoryKind::kFolders:
            return app_.folderHistory;
        default:
            return app_.playlistHistory;
    }
}

int AppSettingsHost::HistoryCount(HistoryKind kind) {
    return History(kind).Count();
}

void AppSettingsHost::ClearHistory(HistoryKind kind) {
    History(kind).ClearHistory();
}

void AppSettingsHost::SetHistoryCapacity(HistoryKind kind, int capacity) {
    History(kind).SetHistoryLimit(capacity);
}

void AppSettingsHost::SetPlaybackSpeeds(int backward, int forward) {
    if (MediaWindow* media = app_.media()) {
        media->SetBackwardSpeed(backward);
        media->SetForwardSpeed(forward);
    }
}

void AppSettingsHost::SetFitToDisplay(bool on) {
    if (MediaWindow* media = app_.media()) {
        media->SetFitToDisplay(on);
    }
}

void AppSettingsHost::SetHideCursor(bool on) {
    if (MediaWindow* media = app_.media()) {
        media->hideCursor = on;
    }
}

// The open file is opened again on the new back-end; should that fail it is
// closed, and the title, status bar and menus show what is open now.
void AppSettingsHost::SwitchMediaDevice(int device) {
    MediaWindow* media = app_.media();
    if (media == nullptr) {
        return;
    }
    bool wasOpen = app_.IsOpen();
    media->SetDevice(device);
    if (wasOpen) {
        UpdateTitle(app_);
        UpdateStatusTexts(app_);
        UpdateCommandStates(app_);
    }
}

void AppSettingsHost::SetPlaylistDisplayForm(int form) {
    app_.playlist.SetDisplayMode(form);
}

// The items are made anew, so their shortcuts are written into them again.
void AppSettingsHost::RebuildPresetMenu() {
    HMENU menu = app_.mainMenu.get();
    FillPresetMenu(menu, app_.settings);
    if (HMENU presets = SubMenuAt(menu, kViewMenu, kPresetPosition)) {
        app_.keys.UpdateMenuKeyTexts(presets);
    }
}

KeyAssignment& AppSettingsHost::Keys() {
    return app_.keys;
}

HMENU AppSettingsHost::MainMenu() {
    return app_.mainMenu.get();
}

std::wstring AppSettingsHost::KeyFileFolder() {
    return ProgramFolder();
}

std::vector<SettingsPageEntry> SettingsPages(App& app, SettingsDialogHost& host) {
    SettingsPageContext context{app.settings, app.settingsLocation, host};
    return {GeneralPageEntry(context),
            HistoryPageEntry(context),
            PlayerPageEntry(context),
            PlaylistPageEntry(context),
            AppearancePageEntry(context, PathJoin(ProgramFolder(), L"Themes"), app.chooserColours),
            KeyPageEntry(context)};
}

void ShowSettingsSheet(App& app) {
    if (app.IsFullScreen()) {
        ExecuteCommand(app, CMD_FULL_SCREEN, nullptr, 0);
    }
    AppSettingsHost host(app);
    ShowSettingsDialog(app.window.hwnd, SettingsPages(app, host), host, app.lastSettingsPage);
}

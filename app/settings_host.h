// The settings sheet over the main window (command 167), and what its pages
// change in the program's windows when it is closed with OK.
#ifndef ZEPHLO_APP_SETTINGS_HOST_H
#define ZEPHLO_APP_SETTINGS_HOST_H

#include <vector>

#include "settings/settings_dialog.h"

struct App;
class HistoryList;

// The application's side of the sheet: each operation calls the subsystem
// that owns the window concerned.
class AppSettingsHost final : public SettingsDialogHost {
public:
    explicit AppSettingsHost(App& app) : app_(app) {}

    void ShowHelp(DWORD context) override;
    void RefreshTitle() override;
    void SetToolTipsActive(bool active) override;
    void ApplyColours() override;
    void ApplyToolbarTheme(const PluginRecord* plugin) override;
    void SetFolderSearch(const std::wstring& masks, bool findSubDir) override;
    void DiscardFolderList() override;
    std::wstring DefaultFileMasks() override;
    int HistoryCount(HistoryKind kind) override;
    void ClearHistory(HistoryKind kind) override;
    void SetHistoryCapacity(HistoryKind kind, int capacity) override;
    void SetPlaybackSpeeds(int backward, int forward) override;
    void SetFitToDisplay(bool on) override;
    void SetHideCursor(bool on) override;
    void SwitchMediaDevice(int device) override;
    void SetPlaylistDisplayForm(int form) override;
    void RebuildPresetMenu() override;
    KeyAssignment& Keys() override;
    HMENU MainMenu() override;
    std::wstring KeyFileFolder() override;

private:
    HistoryList& History(HistoryKind kind) const;

    App& app_;
};

// The sheet's pages in their order.
std::vector<SettingsPageEntry> SettingsPages(App& app, SettingsDialogHost& host);

// Leaves full screen and shows the sheet modally over the main window.
void ShowSettingsSheet(App& app);

#endif

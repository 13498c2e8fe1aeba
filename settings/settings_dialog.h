// The settings sheet "設定": a modal property sheet of up to six pages over
// the main window, without Apply and context-help buttons, with a Help button
// on every page. The pages work on their own copy of the settings and write
// the live settings only when the sheet is closed with OK; what they change in
// the windows of the program they ask of the host.
#ifndef ZEPHLO_SETTINGS_SETTINGS_DIALOG_H
#define ZEPHLO_SETTINGS_SETTINGS_DIALOG_H

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class KeyAssignment;
class SettingsPage;
struct PluginRecord;
struct Settings;
struct SettingsLocation;

// The three history lists.
enum class HistoryKind { kFiles, kFolders, kPlaylists };

// What the pages ask of the program's windows. The application implements it
// by calling the subsystems that own them.
class SettingsDialogHost {
public:
    virtual ~SettingsDialogHost() = default;

    // The topic of a help context in the help file.
    virtual void ShowHelp(DWORD context) = 0;
    // The main window's title from "TitleFormat" and "TitleFileName".
    virtual void RefreshTitle() = 0;
    // Tool tips on or off on the main toolbar, the play bar and the playlist toolbar.
    virtual void SetToolTipsActive(bool active) = 0;
    // The fifteen colour settings pushed to the windows that show them.
    virtual void ApplyColours() = 0;
    // The appearance page's choice of toolbar pictures: a plug-in of the
    // page's list (loaded while this runs) or null for the program's own.
    virtual void ApplyToolbarTheme(const PluginRecord* plugin) = 0;
    // What the playlist adds for a dropped folder: the masks and whether
    // subfolders are searched.
    virtual void SetFolderSearch(const std::wstring& masks, bool findSubDir) = 0;
    // The folder file list is built again at its next use.
    virtual void DiscardFolderList() = 0;
    // The masks of the system's media types ("デフォルト(&D)").
    virtual std::wstring DefaultFileMasks() = 0;
    virtual int HistoryCount(HistoryKind kind) = 0;
    virtual void ClearHistory(HistoryKind kind) = 0;
    virtual void SetHistoryCapacity(HistoryKind kind, int capacity) = 0;
    // Rewind and fast-forward speeds in thousandths of normal speed.
    virtual void SetPlaybackSpeeds(int backward, int forward) = 0;
    // "FitToDisplay" and "FullScreenHideCursor" for the media window.
    virtual void SetFitToDisplay(bool on) = 0;
    virtual void SetHideCursor(bool on) = 0;
    // Plays through the back-end of "MediaDevice" (0 MCI, 1 DirectShow) from
    // now on; an open file is opened again on it.
    virtual void SwitchMediaDevice(int device) = 0;
    // How the playlist shows its entries ("PlaylistFileName"); it repaints.
    virtual void SetPlaylistDisplayForm(int form) = 0;
    // The View menu's presets submenu from the presets' names.
    virtual void RebuildPresetMenu() = 0;
    // The key page's: the shortcuts in use, the main menu whose items show
    // them, and the folder its file dialogs start in (the program's).
    virtual KeyAssignment& Keys() = 0;
    virtual HMENU MainMenu() = 0;
    virtual std::wstring KeyFileFolder() = 0;
};

// What the pages of this folder work on.
struct SettingsPageContext {
    Settings& settings;
    SettingsLocation& location;
    SettingsDialogHost& host;
};

// One page of the sheet. `index` is the page's fixed place among the six
// (0 general ... 4 appearance, 5 keys), which the remembered page names; the
// sheet shows its pages in the order of the list it is given.
struct SettingsPageEntry {
    int index;
    int dialogId;
    DWORD helpContext;
    std::function<std::unique_ptr<SettingsPage>()> create;
};

// Shows the sheet modally over owner and returns when it closes: true for OK.
// It opens on the page whose index is lastPage (else the first) and leaves in
// lastPage the index of the page last active.
bool ShowSettingsDialog(HWND owner, const std::vector<SettingsPageEntry>& pages,
                        SettingsDialogHost& host, int& lastPage);

#endif

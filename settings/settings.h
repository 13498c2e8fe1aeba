// The player's settings: one set of fields, one per key of the [Settings]
// section of Zephlo.ini, read at start-up and written at exit. The
// application owns the one set and lends it to what needs it.
#ifndef ZEPHLO_SETTINGS_SETTINGS_H
#define ZEPHLO_SETTINGS_SETTINGS_H

#include <string>

#include "settings/colours.h"
#include "settings/settings_file.h"

// Bits of LayoutPreset::bars, in the order of the View menu's bar items.
enum LayoutBar : unsigned {
    kBarMenu = 1,
    kBarToolbar = 2,
    kBarStatus = 4,
    kBarPlay = 8,
    kBarSeek = 16,
};

struct LayoutPreset {
    std::wstring name;  // at most 31 characters
    unsigned bars;
};

constexpr int kPresetCount = 3;

struct Settings {
    int windowLeft = UnsetPosition;
    int windowTop = UnsetPosition;
    int windowWidth = UnsetPosition;
    int windowHeight = UnsetPosition;
    bool maximize = false;
    int playlistLeft = UnsetPosition;
    int playlistTop = UnsetPosition;
    int playlistWidth = UnsetPosition;
    int playlistHeight = UnsetPosition;
    std::wstring openDirectory;
    int openFilter = 1;
    bool repeat = false;
    bool sequentialPlay = false;
    bool repeatPlaylist = false;
    bool showPlaylist = false;
    bool showMenuBar = true;
    bool showToolbar = true;
    bool showStatusBar = true;
    bool showPlayBar = true;
    bool showSeekBar = true;
    bool keepZoomRate = false;
    int zoomRate = 100;
    bool fitToWindow = false;
    bool alwaysOnTop = false;
    int sortType = 0;
    bool sortDescending = false;
    int volume = 500;
    bool keepSingleTask = true;
    int titleFormat = 0;
    int titleFileName = 0;
    bool showToolTips = true;
    bool saveWindowPos = true;
    bool saveWindowSize = true;
    bool findSubDir = false;
    std::wstring fileMasks;
    int mediaDevice = 1;
    int maxFileHistory = 10;
    bool saveFileHistory = true;
    int maxDirHistory = 10;
    bool saveDirHistory = true;
    bool useDirHistoryMenu = false;
    int maxFileListMenu = 20;
    bool playOnOpen = true;
    int zoomStep = 20;
    int backwardSpeed = 2000;
    int forwardSpeed = 2000;
    bool fullScreenSeekBar = false;
    bool fullScreenPlayBar = false;
    bool fitToDisplay = false;
    bool fullScreenHideCursor = false;
    bool playlistKeepForeground = true;
    bool playlistSingleClickOpen = false;
    int playlistFileName = 0;
    bool restorePlaylist = false;
    int maxPlaylistHistory = 10;
    std::wstring curThemeFile;
    ColourValue colours[kColourEntryCount] = {};
    std::wstring themePlugin;
    LayoutPreset presets[kPresetCount];

    Settings();
};

// Where the settings live: the program's folder or the per-user folder.
struct SettingsLocation {
    std::wstring path;
    bool perUserSettings = false;
};

// Reads [Settings] and [Presets] into settings; absent or malformed values
// keep what the fields hold.
void LoadSettings(const std::wstring& path, Settings& settings);
// Writes [Settings] and [Presets] in their fixed order and flushes the file.
void SaveSettings(const std::wstring& path, const Settings& settings);

// The per-user folder (application data + "Zephlo"); empty when unavailable.
std::wstring PerUserSettingsFolder();
// The two candidate files.
std::wstring PerUserSettingsPath();
std::wstring ProgramSettingsPath();
// Creates the per-user folder when it does not exist; failures are ignored.
void EnsurePerUserSettingsFolder();

// Picks the settings file, asking on the first run. False when the user
// cancelled the question: the program then ends without a window.
bool LocateSettingsFile(SettingsLocation& location);

// The settings file exists and is not a folder.
bool SettingsFileExists(const std::wstring& path);

#endif

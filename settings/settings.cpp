#include "settings/settings.h"

#include <windows.h>

#include "base/text.h"

namespace {

constexpr wchar_t kSettingsSection[] = L"Settings";
constexpr wchar_t kPresetsSection[] = L"Presets";

// How a numeric key's stored value is checked on reading.
enum class Range { kAny, kClamp, kAccept, kNonZeroIsOne };

// One key of [Settings] after the window and playlist geometry: the table
// gives both the reading and the writing order.
struct KeyDescriptor {
    const wchar_t* key;
    int Settings::*intField;
    bool Settings::*boolField;
    std::wstring Settings::*stringField;
    Range range;
    int low;
    int high;
    std::size_t size;  // read buffer of a string key
};

constexpr KeyDescriptor Int(const wchar_t* key, int Settings::*field, Range range = Range::kAny,
                            int low = 0, int high = 0) {
    return {key, field, nullptr, nullptr, range, low, high, 0};
}
constexpr KeyDescriptor Bool(const wchar_t* key, bool Settings::*field) {
    return {key, nullptr, field, nullptr, Range::kAny, 0, 0, 0};
}
constexpr KeyDescriptor String(const wchar_t* key, std::wstring Settings::*field,
                               std::size_t size) {
    return {key, nullptr, nullptr, field, Range::kAny, 0, 0, size};
}

const KeyDescriptor kKeys[] = {
    String(L"OpenDirectory", &Settings::openDirectory, 260),
    Int(L"OpenFilter", &Settings::openFilter),
    Bool(L"Repeat", &Settings::repeat),
    Bool(L"SequentialPlay", &Settings::sequentialPlay),
    Bool(L"RepeatPlaylist", &Settings::repeatPlaylist),
    Bool(L"ShowPlaylist", &Settings::showPlaylist),
    Bool(L"ShowMenuBar", &Settings::showMenuBar),
    Bool(L"ShowToolbar", &Settings::showToolbar),
    Bool(L"ShowStatusBar", &Settings::showStatusBar),
    Bool(L"ShowPlayBar", &Settings::showPlayBar),
    Bool(L"ShowSeekBar", &Settings::showSeekBar),
    Bool(L"KeepZoomRate", &Settings::keepZoomRate),
    Int(L"ZoomRate", &Settings::zoomRate, Range::kClamp, 1, 1000),
    Bool(L"FitToWindow", &Settings::fitToWindow),
    Bool(L"AlwaysOnTop", &Settings::alwaysOnTop),
    Int(L"SortType", &Settings::sortType, Range::kAccept, 0, 5),
    Bool(L"SortDescending", &Settings::sortDescending),
    Int(L"Volume", &Settings::volume, Range::kClamp, 0, 1000),
    Bool(L"KeepSingleTask", &Settings::keepSingleTask),
    Int(L"TitleFormat", &Settings::titleFormat, Range::kAccept, 0, 2),
    Int(L"TitleFileName", &Settings::titleFileName, Range::kAccept, 0, 2),
    Bool(L"ShowToolTips", &Settings::showToolTips),
    Bool(L"SaveWindowPos", &Settings::saveWindowPos),
    Bool(L"SaveWindowSize", &Settings::saveWindowSize),
    Bool(L"FindSubDir", &Settings::findSubDir),
    String(L"FileMasks", &Settings::fileMasks, 512),
    Int(L"MediaDevice", &Settings::mediaDevice, Range::kNonZeroIsOne),
    Int(L"MaxFileHistory", &Settings::maxFileHistory, Range::kClamp, 0, 36),
    Bool(L"SaveFileHistory", &Settings::saveFileHistory),
    Int(L"MaxDirHistory", &Settings::maxDirHistory, Range::kClamp, 0, 36),
    Bool(L"SaveDirHistory", &Settings::saveDirHistory),
    Bool(L"UseDirHistoryMenu", &Settings::useDirHistoryMenu),
    Int(L"MaxFileListMenu", &Settings::maxFileListMenu, Range::kClamp, 1, 100),
    Bool(L"PlayOnOpen", &Settings::playOnOpen),
    Int(L"ZoomStep", &Settings::zoomStep, Range::kClamp, 1, 100),
    Int(L"BackwardSpeed", &Settings::backwardSpeed, Range::kClamp, 1000, 4000),
    Int(L"ForwardSpeed", &Settings::forwardSpeed, Range::kClamp, 1500, 4000),
    Bool(L"FullScreenSeekBar", &Settings::fullScreenSeekBar),
    Bool(L"FullScreenPlayBar", &Settings::fullScreenPlayBar),
    Bool(L"FitToDisplay", &Settings::fitToDisplay),
    Bool(L"FullScreenHideCursor", &Settings::fullScreenHideCursor),
    Bool(L"PlaylistKeepForeground", &Settings::playlistKeepForeground),
    Bool(L"PlaylistSingleClickOpen", &Settings::playlistSingleClickOpen),
    Int(L"PlaylistFileName", &Settings::playlistFileName, Range::kAccept, 0, 2),
    Bool(L"RestorePlaylist", &Settings::restorePlaylist),
    Int(L"MaxPlaylistHistory", &Settings::maxPlaylistHistory, Range::kClamp, 0, 36),
    String(L"CurThemeFile", &Settings::curThemeFile, 260),
};

// Legacy keys read when their successor is absent: yes gives 1, no gives 0.
struct LegacyKey {
    const wchar_t* key;
    const wchar_t* legacy;
};
const LegacyKey kLegacyKeys[] = {
    {L"TitleFileName", L"ShowFullPathName"},
    {L"PlaylistFileName", L"PlaylistFullPath"},
};

void ReadKey(const SettingsFile& file, const KeyDescriptor& key, Settings& settings) {
    if (key.boolField != nullptr) {
        file.ReadBoolSetting(key.key, settings.*key.boolField);
        return;
    }
    if (key.stringField != nullptr) {
        file.ReadString(key.key, settings.*key.stringField, key.size);
        return;
    }
    int value = 0;
    if (!file.ReadIntSetting(key.key, value)) {
        for (const LegacyKey& legacy : kLegacyKeys) {
            bool flag = false;
            if (lstrcmpW(legacy.key, key.key) == 0 && file.ReadBoolSetting(legacy.legacy, flag)) {
                settings.*key.intField = flag ? 1 : 0;
            }
        }
        return;
    }
    switch (key.range) {
        case Range::kAny:
            break;
        case Range::kClamp:
            value = value < key.low ? key.low : value > key.high ? key.high : value;
            break;
        case Range::kAccept:
            if (value < key.low || value > key.high) {
                return;
            }
            break;
        case Range::kNonZeroIsOne:
            value = value != 0 ? 1 : 0;
            break;
    }
    settings.*key.intField = value;
}

void WriteKey(IniSectionBuilder& section, const KeyDescriptor& key, const Settings& settings) {
    if (key.boolField != nullptr) {
        section.SetBool(key.key, settings.*key.boolField);
    } else if (key.stringField != nullptr) {
        section.Set(key.key, settings.*key.stringField);
    } else {
        section.SetInt(key.key, settings.*key.intField);
    }
}

void ReadColours(const SettingsFile& file, Settings& settings) {
    for (int entry = 0; entry < kColourEntryCount; ++entry) {
        ColourValue& value = settings.colours[entry];
        wchar_t text[32];
        std::wstring key = FormatText(L"%sColor", ColourEntryName(entry));
        if (file.ReadString(key.c_str(), text, 32) && text[0] != L'\0') {
            ParseColourText(text, value);
        } else if (entry == kPlaylistPlayingText || entry == kPlaylistPlayedText) {
            value = settings.colours[kPlaylistText];
        } else if (entry == kPlaylistPlayingSelText) {
            value = settings.colours[kPlaylistSelText];
        }
        std::uint32_t rgb = 0;
        key = FormatText(L"%sCustomColor", ColourEntryName(entry));
        if (PaletteNumber(value) != 0 && file.ReadRgbSetting(key.c_str(), rgb)) {
            value = MakePaletteColour(PaletteNumber(value), rgb);
        }
    }
}

void ReadPresets(const std::wstring& path, Settings& settings) {
    SettingsFile file(path, kPresetsSection, SettingsFile::kRead);
    int count = 0;
    if (!file.ReadIntSetting(L"Count", count) || count <= 0) {
        return;
    }
    count = count > kPresetCount ? kPresetCount : count;
    for (int i = 0; i < count; ++i) {
        file.ReadString(FormatText(L"Name%d", i).c_str(), settings.presets[i].name, 32);
        file.ReadUIntSetting(FormatText(L"Status%d", i).c_str(), settings.presets[i].bars);
    }
}

void WritePosition(IniSectionBuilder& section, const wchar_t* key, int value) {
    if (value != UnsetPosition) {
        section.SetInt(key, value);
    }
}

}  // namespace

Settings::Settings() {
    for (int entry = 0; entry < kColourEntryCount; ++entry) {
        colours[entry] = DefaultColour(entry);
    }
    presets[0] = {L"最小", 0};
    presets[1] = {L"最大", kBarMenu | kBarToolbar | kBarStatus | kBarPlay | kBarSeek};
    presets[2] = {L"シンプル", kBarMenu | kBarPlay | kBarSeek};
}

void LoadSettings(const std::wstring& path, Settings& settings) {
    {
        SettingsFile file(path, kSettingsSection, SettingsFile::kRead);
        file.Preload();
        file.ReadIntSetting(L"WindowLeft", settings.windowLeft);
        file.ReadIntSetting(L"WindowTop", settings.windowTop);
        file.ReadIntSetting(L"WindowWidth", settings.windowWidth);
        file.ReadIntSetting(L"WindowHeight", settings.windowHeight);
        file.ReadBoolSetting(L"Maximize", settings.maximize);
        file.ReadIntSetting(L"PlaylistLeft", settings.playlistLeft);
        file.ReadIntSetting(L"PlaylistTop", settings.playlistTop);
        file.ReadIntSetting(L"PlaylistWidth", settings.playlistWidth);
        file.ReadIntSetting(L"PlaylistHeight", settings.playlistHeight);
        for (const KeyDescriptor& key : kKeys) {
            ReadKey(file, key, settings);
            if (key.boolField == &Settings::fitToWindow && settings.fitToWindow) {
                settings.keepZoomRate = false;
            }
        }
        ReadColours(file, settings);
        file.ReadString(L"ThemePlugin", settings.themePlugin, 260);
    }
    ReadPresets(path, settings);
}

void SaveSettings(const std::wstring& path, const Settings& settings) {
    // The section is built in memory with the effect of writing each key in
    // turn, then written at once.
    SettingsFile file(path, kSettingsSection, SettingsFile::kWrite);
    IniSectionBuilder section(file.ReadSection());
    if (settings.saveWindowPos) {
        WritePosition(section, L"WindowLeft", settings.windowLeft);
        WritePosition(section, L"WindowTop", settings.windowTop);
    }
    if (settings.saveWindowSize) {
        WritePosition(section, L"WindowWidth", settings.windowWidth);
        WritePosition(section, L"WindowHeight", settings.windowHeight);
    }
    section.SetBool(L"Maximize", settings.maximize);
    WritePosition(section, L"PlaylistLeft", settings.playlistLeft);
    WritePosition(section, L"PlaylistTop", settings.playlistTop);
    WritePosition(section, L"PlaylistWidth", settings.playlistWidth);
    WritePosition(section, L"PlaylistHeight", settings.playlistHeight);
    for (const KeyDescriptor& key : kKeys) {
        WriteKey(section, key, settings);
    }
    for (int entry = 0; entry < kColourEntryCount; ++entry) {
        const wchar_t* name = ColourEntryName(entry);
        section.Set(FormatText(L"%sColor", name), FormatColourText(settings.colours[entry]));
        section.Set(FormatText(L"%sCustomColor", name),
                    FormatRgbValue(CustomRgb(settings.colours[entry])));
    }
    section.Set(L"ThemePlugin", settings.themePlugin);
    file.WriteSection(section.entries());

    // [Presets] is replaced whole.
    IniSectionBuilder presets;
    presets.Set(L"Count", L"3");
    for (int i = 0; i < kPresetCount; ++i) {
        presets.Set(FormatText(L"Name%d", i), settings.presets[i].name);
        presets.SetUInt(FormatText(L"Status%d", i), settings.presets[i].bars);
    }
    SettingsFile(path, kPresetsSection, SettingsFile::kWrite).WriteSection(presets.entries());
}

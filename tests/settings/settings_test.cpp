#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace {

class SettingsTest : public testing::Test {
protected:
    Settings Load(const std::string& ini) {
        EXPECT_TRUE(WriteBytes(path_, ini));
        Settings settings;
        LoadSettings(path_, settings);
        return settings;
    }

    // Keys and values of a section in file order.
    static std::vector<std::pair<std::string, std::wstring>> EntriesOf(const std::wstring& path,
                                                                       const std::string& section) {
        std::wstring text;
        std::string bytes = ReadBytes(path);
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF) {
            text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        } else {
            text = FromUtf8(bytes);
        }
        std::vector<std::pair<std::string, std::wstring>> entries;
        bool inside = false;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find(L"\r\n", at);
            std::wstring line =
                text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
            at = end == std::wstring::npos ? text.size() : end + 2;
            std::size_t equals = line.find(L'=');
            if (!line.empty() && line[0] == L'[') {
                inside = line == L"[" + FromUtf8(section) + L"]";
            } else if (inside && equals != std::wstring::npos) {
                entries.emplace_back(ToUtf8(line.substr(0, equals)), line.substr(equals + 1));
            }
        }
        return entries;
    }

    // Key names of a section in file order.
    std::vector<std::string> KeysOf(const std::string& section) {
        std::vector<std::string> keys;
        for (const auto& entry : EntriesOf(path_, section)) {
            keys.push_back(entry.first);
        }
        return keys;
    }

    TempFolder folder_;
    std::wstring path_ = folder_ / L"Zephlo.ini";
};

TEST_F(SettingsTest, NumbersAreClampedOrIgnoredAsEachKeyRequires) {
    Settings s = Load(
        "[Settings]\r\nZoomRate=0\r\nVolume=5000\r\nSortType=6\r\nMediaDevice=7\r\n"
        "TitleFormat=3\r\nMaxFileHistory=99\r\nZoomStep=abc\r\nBackwardSpeed=1\r\n"
        "ForwardSpeed=99999\r\nMaxFileListMenu=-5\r\nPlaylistFileName=2\r\n");
    EXPECT_EQ(s.zoomRate, 1);
    EXPECT_EQ(s.volume, 1000);
    EXPECT_EQ(s.sortType, 0);
    EXPECT_EQ(s.mediaDevice, 1);
    EXPECT_EQ(s.titleFormat, 0);
    EXPECT_EQ(s.maxFileHistory, 36);
    EXPECT_EQ(s.zoomStep, 1);  // no digits reads as 0, then clamped
    EXPECT_EQ(s.backwardSpeed, 1000);
    EXPECT_EQ(s.forwardSpeed, 4000);
    EXPECT_EQ(s.maxFileListMenu, 1);
    EXPECT_EQ(s.playlistFileName, 2);

    EXPECT_EQ(Load("[Settings]\r\nZoomRate=5000\r\nSortType=-1\r\nMediaDevice=0\r\n").zoomRate,
              1000);
    Settings t = Load("[Settings]\r\nSortType=-1\r\nMediaDevice=0\r\nSortType=5\r\n");
    EXPECT_EQ(t.sortType, 0);
    EXPECT_EQ(t.mediaDevice, 0);
}

TEST_F(SettingsTest, BoolsAcceptOnlyYesAndNo) {
    EXPECT_TRUE(Load("[Settings]\r\nMaximize=YES\r\n").maximize);
    EXPECT_FALSE(Load("[Settings]\r\nMaximize=true\r\n").maximize);
    EXPECT_TRUE(Load("[Settings]\r\nShowMenuBar=1\r\n").showMenuBar);
    EXPECT_FALSE(Load("[Settings]\r\nShowMenuBar=no\r\n").showMenuBar);
}

TEST_F(SettingsTest, FitToWindowSwitchesKeepZoomRateOff) {
    Settings s = Load("[Settings]\r\nKeepZoomRate=yes\r\nFitToWindow=yes\r\n");
    EXPECT_TRUE(s.fitToWindow);
    EXPECT_FALSE(s.keepZoomRate);
    EXPECT_TRUE(Load("[Settings]\r\nKeepZoomRate=yes\r\n").keepZoomRate);
}

TEST_F(SettingsTest, LegacyKeysApplyOnlyWhenTheirSuccessorIsAbsent) {
    EXPECT_EQ(Load("[Settings]\r\nShowFullPathName=yes\r\n").titleFileName, 1);
    EXPECT_EQ(Load("[Settings]\r\nShowFullPathName=yes\r\nTitleFileName=2\r\n").titleFileName, 2);
    EXPECT_EQ(Load("[Settings]\r\nPlaylistFullPath=yes\r\n").playlistFileName, 1);
    EXPECT_EQ(Load("[Settings]\r\nPlaylistFullPath=no\r\n").playlistFileName, 0);
}

TEST_F(SettingsTest, ColoursInheritAndKeepTheirCustomPart) {
    Settings s = Load(
        "[Settings]\r\nPlaylistTextColor=Red\r\nPlaylistTextCustomColor=#123456\r\n"
        "PlaylistSelTextColor=#010203\r\nSeekBarColor=#zz\r\nVolumeColor=White\r\n");
    EXPECT_EQ(s.colours[kPlaylistText], MakePaletteColour(10, 0x123456));
    // Absent entries 8 and 10 take entry 4, entry 9 takes entry 6.
    EXPECT_EQ(s.colours[kPlaylistPlayingText], s.colours[kPlaylistText]);
    EXPECT_EQ(s.colours[kPlaylistPlayedText], s.colours[kPlaylistText]);
    EXPECT_EQ(s.colours[kPlaylistPlayingSelText], 0x010203u);
    // An invalid text leaves the default; a palette name keeps the default's custom part.
    EXPECT_EQ(s.colours[kSeekBar], DefaultColour(kSeekBar));
    EXPECT_EQ(s.colours[kVolume], MakePaletteColour(16, 0x80C0FF));
    EXPECT_EQ(s.colours[kBackground], DefaultColour(kBackground));
}

TEST_F(SettingsTest, PresetsReadAtMostThreeAndKeepBuiltInsOtherwise) {
    Settings s = Load("[Presets]\r\nCount=5\r\nName0=A\r\nStatus0=3\r\nName3=D\r\nStatus1=7\r\n");
    EXPECT_EQ(s.presets[0].name, L"A");
    EXPECT_EQ(s.presets[0].bars, 3u);
    EXPECT_EQ(s.presets[1].name, L"最大");
    EXPECT_EQ(s.presets[1].bars, 7u);
    EXPECT_EQ(s.presets[2].name, L"シンプル");
    Settings none = Load("[Presets]\r\nCount=0\r\nName0=A\r\n");
    EXPECT_EQ(none.presets[0].name, L"最小");
    EXPECT_EQ(none.presets[2].bars, 25u);
}

TEST_F(SettingsTest, DefaultsSurviveARoundTrip) {
    Settings defaults;
    defaults.openDirectory = L"C:\\ユーザー\\音楽";
    defaults.windowLeft = 10;
    defaults.windowTop = 20;
    defaults.windowWidth = 300;
    defaults.windowHeight = 200;
    SaveSettings(path_, defaults);
    Settings read;
    LoadSettings(path_, read);
    EXPECT_EQ(read.openDirectory, defaults.openDirectory);
    EXPECT_EQ(read.windowLeft, 10);
    EXPECT_EQ(read.windowHeight, 200);
    EXPECT_EQ(read.playlistLeft, UnsetPosition);
    for (int i = 0; i < kColourEntryCount; ++i) {
        EXPECT_EQ(read.colours[i], defaults.colours[i]) << i;
    }
    for (int i = 0; i < kPresetCount; ++i) {
        EXPECT_EQ(read.presets[i].name, defaults.presets[i].name);
        EXPECT_EQ(read.presets[i].bars, defaults.presets[i].bars);
    }
    EXPECT_EQ(read.zoomRate, defaults.zoomRate);
    EXPECT_EQ(read.keepSingleTask, defaults.keepSingleTask);
    EXPECT_EQ(read.fileMasks, defaults.fileMasks);
}

// Each key of [Settings] in turn (the colours have their own test) is given a
// value other than its default in a file of defaults; read and written to a
// new file, the section comes back with that one value changed. A key not
// read, not written or read into another key's field shows.
TEST_F(SettingsTest, EachKeyRoundTripsAValueOtherThanItsDefault) {
    Settings defaults;
    int* geometry[] = {&defaults.windowLeft,    &defaults.windowTop,     &defaults.windowWidth,
                       &defaults.windowHeight,  &defaults.playlistLeft,  &defaults.playlistTop,
                       &defaults.playlistWidth, &defaults.playlistHeight};
    int position = 10;
    for (int* field : geometry) {
        *field = position;
        position += 10;
    }
    SaveSettings(path_, defaults);
    const auto written = EntriesOf(path_, "Settings");
    ASSERT_GT(written.size(), 60u);

    const std::wstring given = folder_ / L"given.ini";
    const std::wstring again = folder_ / L"again.ini";
    int changed = 0;
    for (const auto& [key, value] : written) {
        if (key.size() > 5 && key.compare(key.size() - 5, 5, "Color") == 0) {
            continue;
        }
        std::wstring other;
        if (value == L"yes" || value == L"no") {
            other = value == L"yes" ? L"no" : L"yes";
        } else if (key == "MediaDevice") {
            other = L"0";
        } else if (!value.empty() &&
                   value.find_first_not_of(L"-0123456789") == std::wstring::npos) {
            other = std::to_wstring(std::stoi(value) + 1);
        } else {
            other = L"C:\\ユーザー\\" + FromUtf8(key);
        }
        ASSERT_TRUE(CopyFileW(path_.c_str(), given.c_str(), FALSE));
        ASSERT_TRUE(WritePrivateProfileStringW(L"Settings", FromUtf8(key).c_str(), other.c_str(),
                                               given.c_str()));
        Settings loaded;
        LoadSettings(given, loaded);
        DeleteFileW(again.c_str());
        SaveSettings(again, loaded);

        auto expected = written;
        for (auto& entry : expected) {
            entry.second = entry.first == key ? other : entry.second;
        }
        // Positions and sizes are written only while they are to be saved.
        auto unsaved = [&](const char* first, const char* second) {
            expected.erase(std::remove_if(expected.begin(), expected.end(),
                                          [&](const auto& entry) {
                                              return entry.first == first || entry.first == second;
                                          }),
                           expected.end());
        };
        if (key == "SaveWindowPos") {
            unsaved("WindowLeft", "WindowTop");
        } else if (key == "SaveWindowSize") {
            unsaved("WindowWidth", "WindowHeight");
        }
        EXPECT_EQ(EntriesOf(again, "Settings"), expected) << key;
        ++changed;
    }
    EXPECT_GT(changed, 50);
}

TEST_F(SettingsTest, WritesKeysInTheirFixedOrder) {
    Settings s;
    s.windowLeft = 1;
    s.windowTop = 2;
    s.windowWidth = 3;
    s.windowHeight = 4;
    SaveSettings(path_, s);
    std::vector<std::string> keys = KeysOf("Settings");
    ASSERT_GE(keys.size(), 12u);
    std::vector<std::string> head(keys.begin(), keys.begin() + 12);
    EXPECT_EQ(head, (std::vector<std::string>{"WindowLeft", "WindowTop", "WindowWidth",
                                              "WindowHeight", "Maximize", "OpenDirectory",
                                              "OpenFilter", "Repeat", "SequentialPlay",
                                              "RepeatPlaylist", "ShowPlaylist", "ShowMenuBar"}));
    EXPECT_EQ(keys[keys.size() - 32], "CurThemeFile");
    EXPECT_EQ(keys[keys.size() - 31], "BackgroundColor");
    EXPECT_EQ(keys[keys.size() - 30], "BackgroundCustomColor");
    EXPECT_EQ(keys.back(), "ThemePlugin");
    EXPECT_EQ(KeysOf("Presets"), (std::vector<std::string>{"Count", "Name0", "Status0", "Name1",
                                                           "Status1", "Name2", "Status2"}));
}

TEST_F(SettingsTest, UnsavedGeometryKeepsWhatTheFileHolds) {
    ASSERT_TRUE(WriteBytes(path_, "[Settings]\r\nWindowLeft=77\r\nWindowTop=88\r\n"));
    Settings s;
    s.saveWindowPos = false;
    s.windowLeft = 5;
    s.windowTop = 6;
    SaveSettings(path_, s);
    Settings read;
    LoadSettings(path_, read);
    EXPECT_EQ(read.windowLeft, 77);
    EXPECT_EQ(read.windowTop, 88);
    EXPECT_FALSE(read.saveWindowPos);
}

TEST_F(SettingsTest, GarbageAndOverlongValuesAreReadSafely) {
    std::string garbage = "[Settings]\r\nOpenDirectory=" + std::string(5000, 'x') +
                          "\r\nFileMasks=" + std::string(3000, 'm') +
                          "\r\nZoomRate=" + std::string(400, '9') + "\r\n";
    for (int c = 1; c < 256; ++c) {
        garbage.push_back(static_cast<char>(c));
    }
    Settings s = Load(garbage);
    EXPECT_EQ(s.openDirectory.size(), 259u);
    EXPECT_EQ(s.fileMasks.size(), 511u);
    EXPECT_EQ(s.zoomRate, 1000);

    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    }
    Settings b = Load(binary);
    EXPECT_EQ(b.zoomRate, 100);
}

}  // namespace

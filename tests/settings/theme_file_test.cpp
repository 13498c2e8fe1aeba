#include "settings/theme_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handles.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

const std::vector<std::wstring> kPlugins = {L"Classic.zpres", L"Glossy.zpres"};

ThemeScheme DefaultScheme() {
    ThemeScheme scheme;
    const Settings defaults;
    std::copy(std::begin(defaults.colours), std::end(defaults.colours), scheme.colours);
    return scheme;
}

const std::string kDefaultColourLines =
    "[ColorScheme]\r\n"
    "Background=Black\r\n"
    "FullScreenBg=Black\r\n"
    "StatusText=#80C0FF\r\n"
    "StatusBg=Black\r\n"
    "PlaylistText=#E0E0E0\r\n"
    "PlaylistBg=Black\r\n"
    "PlaylistSelText=Black\r\n"
    "PlaylistSelBg=#80C0FF\r\n"
    "PlaylistPlayingText=White\r\n"
    "PlaylistPlayingSelText=#203040\r\n"
    "PlaylistPlayedText=#C0C0C0\r\n"
    "TipText=Black\r\n"
    "TipBg=#80C0FF\r\n"
    "SeekBar=3DFace\r\n"
    "Volume=#80C0FF\r\n";

class ThemeFileTest : public testing::Test {
protected:
    std::wstring Path(const std::wstring& name) const { return folder_ / name; }

    TempFolder folder_;
};

TEST_F(ThemeFileTest, WritesTheDefaultSchemeByteForByte) {
    struct Case {
        const char* what;
        int pluginItem;
        std::vector<std::wstring> plugins;
        std::string tail;
    } cases[] = {
        {"no plug-in chosen", kNoPluginItem, kPlugins, ""},
        {"the program's own pictures", kBuiltInPluginItem, kPlugins,
         "\r\n[Plugin]\r\nFile=default\r\n"},
        {"a plug-in", 2, kPlugins, "\r\n[Plugin]\r\nFile=Glossy.zpres\r\n"},
        // A name of the code page keeps the single-byte form (code page 932).
        {"a Japanese plug-in name",
         1,
         {L"テーマ.zpres"},
         "\r\n[Plugin]\r\nFile=\x83\x65\x81\x5B\x83\x7D.zpres\r\n"},
        {"an item past the list", 3, kPlugins, ""},
    };
    ASSERT_EQ(GetACP(), 932u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThemeScheme scheme = DefaultScheme();
        scheme.pluginItem = c.pluginItem;
        const std::wstring path = Path(L"default.zptheme");
        ASSERT_TRUE(WriteThemeFile(path, scheme, c.plugins));
        EXPECT_EQ(ReadBytes(path), kDefaultColourLines + c.tail);
    }
}

// A plug-in name the code page cannot hold: the whole file in UTF-16, which
// reads back with every character.
TEST_F(ThemeFileTest, APluginNameOutsideTheCodePageSurvivesTheRoundTrip) {
    const std::vector<std::wstring> plugins = {L"Classic.zpres", L"테마 Ω.zpres"};
    ThemeScheme scheme = DefaultScheme();
    scheme.colours[kBackground] = 0x102030;
    scheme.colours[kSeekBar] = MakePaletteColour(13, 0xABCDEF);
    scheme.pluginItem = 2;
    const std::wstring path = Path(L"round.zptheme");
    ASSERT_TRUE(WriteThemeFile(path, scheme, plugins));
    const std::string bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4));

    ThemeScheme read = DefaultScheme();
    ReadThemeFile(path, read, plugins);
    EXPECT_EQ(read.pluginItem, 2);
    EXPECT_EQ(read.colours[kBackground], 0x102030u);
    // The custom part of a palette colour is not in the file.
    EXPECT_EQ(read.colours[kSeekBar], MakePaletteColour(13, 0xC0C0C0));
}

// What one file does to a scheme, entry by entry.
TEST_F(ThemeFileTest, ReadingChangesOnlyWhatTheFileSays) {
    const ThemeScheme base = [] {
        ThemeScheme scheme = DefaultScheme();
        scheme.colours[kPlaylistSelText] = 0x010203;
        scheme.colours[kTipText] = MakePaletteColour(1, 0x123456);
        scheme.pluginItem = 1;
        return scheme;
    }();
    const ColourValue red = MakePaletteColour(10, 0xE0E0E0);
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<int, ColourValue>> colours;  // changed from `base`
        int pluginItem;
        // Entries 8 and 10 not listed take entry 4's value, entry 9 entry 6's.
        bool inherits;
    } cases[] = {
        {"only PlaylistText=Red",
         "[ColorScheme]\r\nPlaylistText=Red\r\n",
         {{kPlaylistText, red}},
         1,
         true},
        {"hash forms and names",
         "[ColorScheme]\r\nBackground=#80c0ff\r\nFullScreenBg=#80C0F\r\nStatusBg=#80C0FF0\r\n"
         "StatusText=#80C0ZZ\r\nPlaylistBg=Purple\r\nTipText=darkblue\r\nVolume=\r\n"
         "PlaylistPlayingText=#000001\r\nPlaylistPlayingSelText=#000002\r\n"
         "PlaylistPlayedText=#000003\r\n",
         {{kBackground, 0x80C0FF},
          {kStatusText, 0x0080C0},
          {kTipText, MakePaletteColour(5, 0x123456)},
          {kPlaylistPlayingText, 0x000001},
          {kPlaylistPlayingSelText, 0x000002},
          {kPlaylistPlayedText, 0x000003}},
         1,
         false},
        {"empty values inherit too",
         "[ColorScheme]\r\nPlaylistText=#0000FF\r\nPlaylistPlayingText=\r\n"
         "PlaylistPlayingSelText=\r\nPlaylistPlayedText=\r\n",
         {{kPlaylistText, 0x0000FF}},
         1,
         true},
        {"the program's own pictures, in any case", "[Plugin]\r\nFile=DEFAULT\r\n", {}, 0, true},
        {"a plug-in, in any case", "[Plugin]\r\nFile=glossy.ZPRES\r\n", {}, 2, true},
        {"a plug-in that is not there", "[Plugin]\r\nFile=Missing.zpres\r\n", {}, 0, true},
        {"an empty plug-in name", "[Plugin]\r\nFile=\r\n", {}, 1, true},
        // Bad input: nothing but the rules for absent entries.
        {"an empty file", "", {}, 1, true},
        {"no sections", "Background=Red\r\nFile=Glossy.zpres\r\n", {}, 1, true},
        {"binary", std::string("\x00\xFF\x1A[\x89PNG\r\n\x00\x00=\xFE", 14), {}, 1, true},
        {"5000-character values",
         "[ColorScheme]\r\nBackground=#102030" + std::string(5000, '0') + "\r\nStatusBg=" +
             std::string(5000, 'R') + "\r\n[Plugin]\r\nFile=" + std::string(5000, 'x') + "\r\n",
         {},
         0,
         true},
        {"duplicate keys: the first counts",
         "[ColorScheme]\r\nBackground=Red\r\nBackground=Blue\r\n[ColorScheme]\r\nFullScreenBg="
         "Lime\r\n",
         {{kBackground, MakePaletteColour(10, 0)}},
         1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = Path(L"case.zptheme");
        ASSERT_TRUE(WriteBytes(path, c.text));
        ThemeScheme expected = base;
        bool listed[kColourEntryCount] = {};
        for (const auto& [entry, value] : c.colours) {
            expected.colours[entry] = value;
            listed[entry] = true;
        }
        const std::pair<int, int> followers[] = {{kPlaylistPlayingText, kPlaylistText},
                                                 {kPlaylistPlayingSelText, kPlaylistSelText},
                                                 {kPlaylistPlayedText, kPlaylistText}};
        for (const auto& [entry, leader] : followers) {
            if (c.inherits && !listed[entry]) {
                expected.colours[entry] = expected.colours[leader];
            }
        }
        expected.pluginItem = c.pluginItem;

        ThemeScheme read = base;
        ReadThemeFile(path, read, kPlugins);
        for (int entry = 0; entry < kColourEntryCount; ++entry) {
            EXPECT_EQ(read.colours[entry], expected.colours[entry]) << "entry " << entry;
        }
        EXPECT_EQ(read.pluginItem, expected.pluginItem);
    }
}

TEST_F(ThemeFileTest, AFileThatCannotBeReadOnlyInherits) {
    // A 10 MB file with its keys at the end, a folder, a missing file.
    const std::wstring huge = Path(L"huge.zptheme");
    std::string text(10 * 1024 * 1024, 'x');
    for (std::size_t at = 100; at < text.size(); at += 101) {
        text[at - 1] = '\r';
        text[at] = '\n';
    }
    text += "\r\n[ColorScheme]\r\nBackground=#0A0B0C\r\n";
    ASSERT_TRUE(WriteBytes(huge, text));
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder.zptheme").c_str(), nullptr));
    struct Case {
        std::wstring path;
        ColourValue background;
    } cases[] = {
        {huge, 0x0A0B0C},
        {Path(L"folder.zptheme"), DefaultColour(kBackground)},
        {Path(L"missing.zptheme"), DefaultColour(kBackground)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        ThemeScheme read = DefaultScheme();
        read.colours[kPlaylistText] = 0x445566;
        read.pluginItem = 2;
        ReadThemeFile(c.path, read, kPlugins);
        EXPECT_EQ(read.colours[kBackground], c.background);
        EXPECT_EQ(read.colours[kPlaylistPlayedText], 0x445566u);
        EXPECT_EQ(read.pluginItem, 2);
    }
}

// A file another program holds open without sharing cannot be replaced.
UniqueFile Lock(const std::wstring& path) {
    return UniqueFile(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST_F(ThemeFileTest, WriteFailuresAreReported) {
    const std::wstring locked = Path(L"locked.zptheme");
    ASSERT_TRUE(WriteBytes(locked, "old"));
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder.zptheme").c_str(), nullptr));
    {
        UniqueFile lock = Lock(locked);
        ASSERT_TRUE(lock);
        const std::wstring cases[] = {Path(L"missing\\x.zptheme"), Path(L"folder.zptheme"), locked};
        for (const std::wstring& path : cases) {
            EXPECT_FALSE(WriteThemeFile(path, DefaultScheme(), kPlugins)) << ToUtf8(path);
        }
    }
    EXPECT_EQ(ReadBytes(locked), "old");
}

TEST_F(ThemeFileTest, ListsTheThemeFilesOfTheFolderByName) {
    for (const wchar_t* name : {L"b.zptheme", L"A.ZPTHEME", L"テーマ.zptheme", L"c.txt",
                                L"d.zptheme.bak", L"e.zpthemes"}) {
        ASSERT_TRUE(WriteBytes(Path(name), ""));
    }
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder.zptheme").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Path(L"sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Path(L"sub\\inner.zptheme"), ""));
    EXPECT_EQ(ListThemeFiles(folder_.path()), (std::vector<std::wstring>{L"A", L"b", L"テーマ"}));
    EXPECT_TRUE(ListThemeFiles(Path(L"missing")).empty());
}

}  // namespace

// The theme plug-in host: loading and checking plug-ins, copying their sets,
// listing a folder and the start-up choice, with the delivered plug-ins and
// the test plug-ins (each wrong or unusual in one way).
#include "settings/theme_plugins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

std::wstring ThemesFolder() {
    return BuildFolder() + L"\\Themes";
}

std::wstring TestPluginsFolder() {
    return BuildFolder() + L"\\tests\\plugins";
}

std::wstring PluginPath(const std::wstring& folder, const wchar_t* file) {
    return folder + L"\\" + file;
}

bool IsLoaded(const std::wstring& path) {
    return GetModuleHandleW(path.c_str()) != nullptr;
}

SIZE ImageSize(HIMAGELIST list) {
    int width = 0;
    int height = 0;
    ImageListSize(list, width, height);
    return {width, height};
}

TEST(IsPlainFileName, AcceptsOnlyANameOfTheThemesFolder) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"Glossy.zpres", true},    {L"My theme (2).zpres", true},
        {L"テーマ.zpres", true},    {L"", false},
        {L"..\\..\\x.dll", false},  {L"../x.zpres", false},
        {L"sub\\x.zpres", false},   {L"C:\\Windows\\System32\\x.dll", false},
        {L"C:x.zpres", false},      {L"\\\\server\\share\\x.zpres", false},
        {L"x.zpres:stream", false}, {L"..", false},
        {L"a..zpres", false},       {L".. ", false},
        {L"x.zpres.", false},       {L"x.zpres ", false},
        {L"*.zpres", false},        {L"x?.zpres", false},
        {L"x\t.zpres", false},
    };
    for (const auto& [name, plain] : cases) {
        EXPECT_EQ(IsPlainFileName(name), plain) << ToUtf8(name);
    }
    EXPECT_TRUE(IsPlainFileName(std::wstring(259, L'x')));
    EXPECT_FALSE(IsPlainFileName(std::wstring(260, L'x')));
}

TEST(LoadThemePlugin, TakesOnlyLibrariesOfInterfaceVersionZero) {
    TempFolder folder;
    const std::wstring notALibrary = folder / L"Text.zpres";
    ASSERT_TRUE(WriteBytes(notALibrary, "not a library\r\n"));
    struct Case {
        std::wstring path;
        bool loads;
        const wchar_t* name;
    };
    const Case cases[] = {
        {PluginPath(ThemesFolder(), L"Classic.zpres"), true, L"Classic"},
        {PluginPath(TestPluginsFolder(), L"NoToolbarInfo.zpres"), true, L"No toolbar info"},
        {PluginPath(TestPluginsFolder(), L"Version1.zpres"), false, nullptr},
        {PluginPath(ThemesFolder(), L"Missing.zpres"), false, nullptr},
        {notALibrary, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        PluginRecord record;
        ASSERT_EQ(LoadThemePlugin(record, c.path), c.loads);
        EXPECT_EQ(IsLoaded(c.path), c.loads);
        if (!c.loads) {
            EXPECT_FALSE(record.module);
            EXPECT_TRUE(record.path.empty());
            continue;
        }
        EXPECT_EQ(record.path, c.path);
        EXPECT_EQ(record.info.flags, 14u);
        EXPECT_EQ(record.details.flags, 14u);
        EXPECT_EQ(record.details.name, c.name);
        EXPECT_STREQ(record.info.name, c.name);
        EXPECT_NE(record.details.notice.find(L"Zephlo"), std::wstring::npos);
        record = PluginRecord();
        EXPECT_FALSE(IsLoaded(c.path));
    }
}

// One image set variable for all rows: a set found absent must also be
// emptied of what it held before.
TEST(LoadToolbarImageSet, CopiesValidSetsAndLeavesOthersAbsent) {
    struct Case {
        std::wstring folder;
        const wchar_t* file;
        int set;
        SIZE image;  // 0 x 0: absent
        bool hot;
        bool disabled;
    };
    const std::wstring themes = ThemesFolder();
    const std::wstring tests = TestPluginsFolder();
    const Case cases[] = {
        {themes, L"Classic.zpres", 0, {16, 15}, false, false},
        {themes, L"Classic.zpres", 3, {0, 0}, false, false},
        {themes, L"Classic.zpres", 1, {16, 16}, false, false},
        {themes, L"Classic.zpres", -1, {0, 0}, false, false},
        {themes, L"Classic.zpres", 2, {16, 15}, false, false},
        {tests, L"NoToolbarInfo.zpres", 0, {0, 0}, false, false},
        {themes, L"Small.zpres", 0, {8, 8}, false, false},
        {tests, L"ZeroWidth.zpres", 1, {0, 0}, false, false},
        {themes, L"Small.zpres", 1, {8, 8}, false, false},
        {tests, L"WrongCount.zpres", 1, {0, 0}, false, false},
        {themes, L"Small.zpres", 2, {8, 8}, false, false},
        {tests, L"MissingBitmap.zpres", 2, {0, 0}, false, false},
        {tests, L"MissingBitmap.zpres", 0, {16, 15}, false, false},
        {themes, L"Glossy.zpres", 1, {16, 16}, false, false},
        // Set 0's disabled strip has the wrong number of images, set 1's the
        // wrong height; set 2 lacks its hot strip.
        {tests, L"HotAndDisabled.zpres", 0, {16, 15}, true, false},
        {tests, L"HotAndDisabled.zpres", 1, {16, 16}, true, false},
        {tests, L"HotAndDisabled.zpres", 2, {16, 15}, false, true},
    };
    const int counts[] = {10, 9, 9};
    ToolbarImageSet images;
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(std::wstring(c.file) + L" set " + std::to_wstring(c.set)));
        PluginRecord record;
        ASSERT_TRUE(LoadThemePlugin(record, PluginPath(c.folder, c.file)));
        const bool present = c.image.cx != 0;
        EXPECT_EQ(LoadToolbarImageSet(record, c.set, images), present);
        ASSERT_EQ(static_cast<bool>(images.normal), present);
        EXPECT_EQ(static_cast<bool>(images.hot), c.hot);
        EXPECT_EQ(static_cast<bool>(images.disabled), c.disabled);
        if (!present) {
            continue;
        }
        for (HIMAGELIST list : {images.normal.get(), images.hot.get(), images.disabled.get()}) {
            if (list != nullptr) {
                EXPECT_EQ(ImageSize(list).cx, c.image.cx);
                EXPECT_EQ(ImageSize(list).cy, c.image.cy);
                EXPECT_EQ(ImageList_GetImageCount(list), counts[c.set]);
            }
        }
    }
}

std::vector<std::wstring> Names(const PluginList& list) {
    std::vector<std::wstring> names;
    for (const PluginRecord& record : list) {
        EXPECT_TRUE(record.module);
        names.push_back(record.details.name);
    }
    return names;
}

TEST(EnumerateThemePlugins, ListsTheLibrariesThatLoadInPathOrder) {
    PluginList list;
    ASSERT_TRUE(EnumerateThemePlugins(ThemesFolder(), list));
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Classic", L"Glossy", L"Small"}));
    EXPECT_EQ(list.at(0).path, PluginPath(ThemesFolder(), L"Classic.zpres"));

    // Case-insensitive order and extension; files that are no plug-ins and
    // folders are skipped.
    TempFolder folder;
    ASSERT_TRUE(CopyFileW(PluginPath(ThemesFolder(), L"Small.zpres").c_str(),
                          (folder / L"b.ZPRES").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(PluginPath(ThemesFolder(), L"Glossy.zpres").c_str(),
                          (folder / L"a.zpres").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(folder / L"Text.zpres", "text"));
    ASSERT_TRUE(CreateDirectoryW((folder / L"Folder.zpres").c_str(), nullptr));
    ASSERT_TRUE(EnumerateThemePlugins(folder.path(), list));
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Glossy", L"Small"}));

    EXPECT_FALSE(EnumerateThemePlugins(folder / L"Missing", list));
    EXPECT_TRUE(list.empty());
    TempFolder empty;
    list.resize(1);
    EXPECT_TRUE(EnumerateThemePlugins(empty.path(), list));
    EXPECT_TRUE(list.empty());
}

// "ThemePlugin" at start-up: the plug-in's valid sets, or the program's own
// pictures for a name that is empty, unsafe or of a plug-in that does not
// load; the library is unloaded again.
TEST(LoadStartupTheme, LoadsThePluginNamedInTheThemesFolder) {
    const std::wstring themes = ThemesFolder();
    const std::wstring tests = TestPluginsFolder();
    struct Case {
        std::wstring folder;
        std::wstring name;
        bool sets[3];
        bool idle;
    };
    const Case cases[] = {
        {themes, L"Glossy.zpres", {true, true, true}, false},
        {themes, L"", {false, false, false}, false},
        {themes, L"Missing.zpres", {false, false, false}, false},
        {tests, L"MainToolbarOnly.zpres", {true, false, false}, false},
        {tests, L"Version1.zpres", {false, false, false}, false},
        {tests, L"NoToolbarInfo.zpres", {false, false, false}, false},
        {tests, L"MissingBitmap.zpres", {true, true, false}, false},
        {tests, L"IdlePicture.zpres", {true, true, true}, true},
        // These would reach Glossy.zpres from the test plug-ins' folder.
        {tests, L"..\\..\\Themes\\Glossy.zpres", {false, false, false}, false},
        {tests, L"../../Themes/Glossy.zpres", {false, false, false}, false},
        {tests, PluginPath(themes, L"Glossy.zpres"), {false, false, false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        ThemePictures pictures = LoadStartupTheme(c.folder, c.name);
        for (int set = 0; set < kToolbarSetCount; ++set) {
            EXPECT_EQ(static_cast<bool>(pictures.sets[set].normal), c.sets[set]) << set;
        }
        EXPECT_EQ(static_cast<bool>(pictures.idlePicture), c.idle);
        EXPECT_FALSE(IsLoaded(PluginPath(c.folder, c.name.c_str())));
    }
    EXPECT_FALSE(IsLoaded(PluginPath(themes, L"Glossy.zpres")));
}

}  // namespace

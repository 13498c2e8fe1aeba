// The steps of moving the settings file, over file operations kept in memory.
#include "settings/settings_move.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/resource.h"
#include "settings/settings.h"

namespace {

const SettingsPlaces kPlaces = {L"U", L"U\\Zephlo.ini", L"P\\Zephlo.ini"};

class MemoryFiles final : public SettingsFileOperations {
public:
    std::set<std::wstring> files;
    std::set<std::wstring> folders;
    // Operations that fail: "mkdir", "copy", "delete U" or "delete P".
    std::set<std::wstring> failing;

    bool FileExists(const std::wstring& path) override { return files.count(path) > 0; }
    bool FolderExists(const std::wstring& path) override { return folders.count(path) > 0; }
    bool CreateFolder(const std::wstring& path) override {
        return !failing.count(L"mkdir") && folders.insert(path).second;
    }
    bool CopyReplacing(const std::wstring&, const std::wstring& to) override {
        return !failing.count(L"copy") && (files.insert(to), true);
    }
    bool RemoveFile(const std::wstring& path) override {
        return !failing.count(L"delete " + path.substr(0, 1)) && files.erase(path) > 0;
    }
    bool RemoveFolder(const std::wstring& path) override {
        for (const std::wstring& file : files) {
            if (file.rfind(path + L"\\", 0) == 0) {
                return false;
            }
        }
        return folders.erase(path) > 0;
    }
};

struct Case {
    const char* what;
    bool toPerUser;
    std::set<std::wstring> files;
    std::set<std::wstring> folders;
    std::set<std::wstring> failing;
    UINT message;
    // Afterwards.
    std::set<std::wstring> filesAfter;
    std::set<std::wstring> foldersAfter;
};

TEST(MoveSettingsFile, StepsAndTheirFailures) {
    const std::wstring U = kPlaces.perUserFile;
    const std::wstring P = kPlaces.programFile;
    const Case cases[] = {
        {"to per-user", true, {P}, {}, {}, 0, {U}, {L"U"}},
        {"to per-user, no file yet", true, {}, {}, {}, 0, {}, {L"U"}},
        {"to per-user, program folder read-only",
         true,
         {P},
         {L"U"},
         {L"delete P"},
         0,
         {P, U},
         {L"U"}},
        {"to per-user, no folder made", true, {P}, {}, {L"mkdir"}, IDS_CANNOT_MOVE_INI, {P}, {}},
        {"to per-user, copy failed",
         true,
         {P},
         {L"U"},
         {L"copy"},
         IDS_CANNOT_MOVE_INI,
         {P},
         {L"U"}},
        {"to shared", false, {U}, {L"U"}, {}, 0, {P}, {}},
        {"to shared, no file yet", false, {}, {L"U"}, {}, 0, {}, {}},
        {"to shared, other files stay", false, {U, L"U\\x"}, {L"U"}, {}, 0, {P, L"U\\x"}, {L"U"}},
        {"to shared, program folder read-only",
         false,
         {U},
         {L"U"},
         {L"copy"},
         IDS_CANNOT_MOVE_INI,
         {U},
         {L"U"}},
        {"to shared, per-user file kept",
         false,
         {U},
         {L"U"},
         {L"delete U"},
         IDS_CANNOT_MOVE_INI,
         {P, U},
         {L"U"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFiles memory;
        memory.files = c.files;
        memory.folders = c.folders;
        memory.failing = c.failing;
        SettingsLocation location{c.toPerUser ? P : U, !c.toPerUser};
        const SettingsLocation before = location;
        EXPECT_EQ(MoveSettingsFile(c.toPerUser, kPlaces, memory, location), c.message);
        EXPECT_EQ(memory.files, c.filesAfter);
        EXPECT_EQ(memory.folders, c.foldersAfter);
        const SettingsLocation expected =
            c.message != 0 ? before : SettingsLocation{c.toPerUser ? U : P, c.toPerUser};
        EXPECT_EQ(location.path, expected.path);
        EXPECT_EQ(location.perUserSettings, expected.perUserSettings);
    }
}

TEST(MoveSettingsFile, NothingHappensWithoutTheApplicationDataFolder) {
    MemoryFiles memory;
    memory.files = {L"P\\Zephlo.ini"};
    SettingsLocation location{L"P\\Zephlo.ini", false};
    EXPECT_EQ(MoveSettingsFile(true, {L"", L"", L"P\\Zephlo.ini"}, memory, location),
              IDS_NO_APPDATA_FOLDER);
    EXPECT_EQ(memory.folders.size(), 0u);
    EXPECT_EQ(location.path, L"P\\Zephlo.ini");
    EXPECT_FALSE(location.perUserSettings);
}

}  // namespace

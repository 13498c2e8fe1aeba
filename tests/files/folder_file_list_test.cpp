#include "files/folder_file_list.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

#include <algorithm>

#include "settings/settings.h"
#include "support/test_support.h"

namespace {

// Names of the entries sorted by CompareFolderEntries. Sizes and times need
// their high halves; "song" has a type the shell could not name (empty).
std::vector<std::wstring> SortedSample(int sortType, bool descending) {
    const std::tuple<const wchar_t*, std::uint64_t, std::uint64_t, const wchar_t*> made[] = {
        {L"2.mp3", 0x100000000, 0x200000000, L"MP3"}, {L"10.MID", 5, 7, L"MIDI"},
        {L"1.mp3", 0xFFFFFFFF, 0x1FFFFFFFF, L"MP3"},  {L"song", 5, 7, L""},
        {L"a.WAV", 0, 0x1FFFFFFFE, L"Wave"},          {L".mp3", 1, 1, L"MP3"}};
    std::vector<FolderFileEntry> entries(std::size(made));
    std::vector<const FolderFileEntry*> order;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [name, size, time, typeName] = made[i];
        entries[i].name = name;
        entries[i].size = size;
        entries[i].lastWriteTime = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        entries[i].typeName = typeName;
        order.push_back(&entries[i]);
    }
    std::sort(order.begin(), order.end(), [&](const auto* a, const auto* b) {
        return CompareFolderEntries(*a, *b, sortType, descending) < 0;
    });
    std::vector<std::wstring> names;
    for (const auto* entry : order) {
        names.push_back(entry->name);
    }
    return names;
}

std::wstring Join(const std::vector<std::wstring>& names) {
    std::wstring joined;
    for (const std::wstring& name : names) {
        joined += (joined.empty() ? L"" : L"|") + name;
    }
    return joined;
}

TEST(SortOrder, EachOrderWithTheNameAsTieBreak) {
    const std::pair<int, const wchar_t*> cases[] = {
        {kSortByName, L".mp3|1.mp3|10.MID|2.mp3|a.WAV|song"},
        {kSortByNameNumber, L".mp3|1.mp3|2.mp3|10.MID|a.WAV|song"},
        {kSortByType, L"song|10.MID|.mp3|1.mp3|2.mp3|a.WAV"},
        {kSortByExtension, L"song|10.MID|.mp3|1.mp3|2.mp3|a.WAV"},
        {kSortBySize, L"a.WAV|.mp3|10.MID|song|1.mp3|2.mp3"},
        {kSortByLastWriteTime, L".mp3|10.MID|song|a.WAV|1.mp3|2.mp3"},
        {7, L".mp3|1.mp3|10.MID|2.mp3|a.WAV|song"}};
    for (const auto& [sortType, expected] : cases) {
        std::vector<std::wstring> ascending = SortedSample(sortType, false);
        EXPECT_EQ(Join(ascending), expected) << sortType;
        // Descending is the exact reverse, tie-break included.
        std::vector<std::wstring> descending = SortedSample(sortType, true);
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(descending, ascending) << sortType;
    }
    // Names equal as numbered names ("a b" and "ab") fall back to the name order.
    FolderFileEntry spaced, joined;
    spaced.name = L"a b.mp3";
    joined.name = L"ab.mp3";
    EXPECT_EQ(CompareFolderEntries(spaced, joined, kSortByNameNumber, false),
              lstrcmpiW(L"a b.mp3", L"ab.mp3") < 0 ? -1 : 1);
}

// The sort compares the platform's sort keys instead of calling lstrcmpiW;
// both must give the same answer for every pair.
TEST(SortOrder, SortKeysCompareAsTheCaseInsensitiveComparison) {
    std::vector<std::wstring> names{L""};
    for (wchar_t c : std::wstring(L"a.mp3|A.MP3|a b.mp3|ab.mp3|a-b.mp3|a_b.mp3|a'b.mp3|co-op|"
                                  L"coop|1.mp3|10.mp3|2.mp3|.mp3|Z|_|~x|\u00E9t\u00E9|ete|"
                                  L"\u00C9T\u00C9|stra\u00DFe|strasse|\uFF21\uFF42|ab|"
                                  L"\u66F2 01.mp3|\u66F2 1.mp3|\u30AB\u30CA|\u304B\u306A|\u30AC")) {
        if (c == L'|') {
            names.emplace_back();
        } else {
            names.back() += c;
        }
    }
    for (const std::wstring& a : names) {
        for (const std::wstring& b : names) {
            int expected = lstrcmpiW(a.c_str(), b.c_str());
            int byKeys = SortKey(a.c_str()).compare(SortKey(b.c_str()));
            EXPECT_EQ((byKeys > 0) - (byKeys < 0), (expected > 0) - (expected < 0))
                << ToUtf8(a) << " vs " << ToUtf8(b);
        }
    }
}

// Lists of real folders, built from the settings they were given.
class FolderListTest : public testing::Test {
protected:
    FolderListTest() {
        settings_.fileMasks = L"*.mp3";
        settings_.sortType = kSortByName;
        settings_.sortDescending = false;
    }

    static void Make(const TempFolder& folder, std::initializer_list<const wchar_t*> names,
                     std::size_t size = 1) {
        for (const wchar_t* name : names) {
            ASSERT_TRUE(WriteBytes(folder / name, std::string(size, 'x')));
        }
    }

    std::wstring Names() const {
        std::wstring names;
        for (int i = 0; i < files_.Count(); ++i) {
            names += (i > 0 ? L"|" : L"") + files_.list()->Entry(i).name;
        }
        return names;
    }

    Settings settings_;
    FolderFiles files_{settings_};
    TempFolder folder_;
};

TEST_F(FolderListTest, MasksInOrderListEachFileOnceAndEveryOrderResorts) {
    Make(folder_, {L"song", L"b.mp3", L"A.MP3", L"notes.txt"});
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"d.mp3").c_str(), nullptr));
    Make(folder_, {L"10.wav"}, 3);
    Make(folder_, {L"2.wav"}, 2);
    settings_.fileMasks = L"*.mp3;*.MP3;*.wav;song;;";
    settings_.sortType = kSortByExtension;
    ASSERT_TRUE(files_.Ensure(folder_ / L"b.mp3"));
    EXPECT_EQ(Names(), L"song|A.MP3|b.mp3|10.wav|2.wav");
    EXPECT_EQ(files_.list()->folder(), folder_.path());
    auto resort = [this](int sortType, bool descending) {
        settings_.sortType = sortType;
        settings_.sortDescending = descending;
        files_.Sort();
    };
    resort(kSortByNameNumber, true);
    EXPECT_EQ(Names(), L"song|b.mp3|A.MP3|10.wav|2.wav");
    resort(kSortBySize, false);
    EXPECT_EQ(Names(), L"A.MP3|b.mp3|song|2.wav|10.wav");
    resort(kSortBySize, true);
    EXPECT_EQ(Names(), L"10.wav|2.wav|song|b.mp3|A.MP3");
    EXPECT_EQ(files_.IndexOfCurrent(folder_ / L"10.WAV"), 0);
}

TEST_F(FolderListTest, TypeOrderGivesOneExtensionOneName) {
    Make(folder_, {L"b.mid", L"a.MID", L"c.mp3", L"d.wav", L"e.mp3"});
    settings_.fileMasks = L"*.*";
    settings_.sortType = kSortByType;
    ASSERT_TRUE(files_.Ensure(folder_ / L"c.mp3"));
    const FolderFileList& list = *files_.list();
    for (int i = 1; i < list.Count(); ++i) {
        EXPECT_LT(CompareFolderEntries(list.Entry(i - 1), list.Entry(i), kSortByType, false), 0);
    }
    // The shell's names differ between systems; the same extension must get the same one.
    int a = list.Find(L"a.MID");
    EXPECT_EQ(list.Entry(a).typeName, list.Entry(a + 1).typeName);
    EXPECT_EQ(list.Entry(a + 1).name, L"b.mid");
}

TEST_F(FolderListTest, FileNoMaskMatchesIsOnlyFoundOnceAdded) {
    Make(folder_, {L"a.mp3", L"b.mp3", L"x.txt"});
    std::wstring target;
    EXPECT_EQ(files_.IndexOfCurrent(folder_ / L"x.txt"), -1);
    EXPECT_FALSE(files_.StepTarget(CMD_NEXT_FILE, folder_ / L"x.txt", target));
    ASSERT_TRUE(files_.Ensure(folder_ / L"x.txt"));
    EXPECT_FALSE(files_.AddFileIfExists(L"gone.txt"));
    ASSERT_TRUE(files_.AddFileIfExists(L"x.txt"));
    EXPECT_TRUE(files_.AddFileIfExists(L"X.TXT"));
    files_.Sort();
    EXPECT_EQ(Names(), L"a.mp3|b.mp3|x.txt");
}

TEST_F(FolderListTest, NavigatesAndRebuildsForAnotherFolder) {
    TempFolder other;
    Make(folder_, {L"1.mp3", L"2.mp3", L"3.mp3"});
    Make(other, {L"b.mp3", L"c.mp3"});
    const std::tuple<UINT, const wchar_t*, const wchar_t*> steps[] = {
        {CMD_NEXT_FILE, L"1.mp3", L"2.mp3"},
        {CMD_NEXT_FILE, L"3.mp3", L"1.mp3"},
        {CMD_PREV_FILE, L"1.mp3", L"3.mp3"},
        {CMD_FIRST_FILE, L"2.mp3", L"1.mp3"},
        {CMD_LAST_FILE, L"2.mp3", L"3.mp3"}};
    for (const auto& [step, from, to] : steps) {
        std::wstring target;
        ASSERT_TRUE(files_.StepTarget(step, folder_ / from, target));
        EXPECT_EQ(target, folder_ / to);
    }
    EXPECT_TRUE(files_.HasNextFile(folder_ / L"2.mp3"));
    EXPECT_FALSE(files_.HasNextFile(folder_ / L"3.mp3"));
    std::wstring target;
    EXPECT_FALSE(files_.StepTarget(CMD_NEXT_FILE, L"", target));
    EXPECT_FALSE(files_.PathAt(3, target));

    // The list of another folder is rebuilt for the open file.
    EXPECT_EQ(files_.IndexOfCurrent(other / L"c.mp3"), 1);
    EXPECT_EQ(files_.list()->folder(), other.path());
    std::wstring upper = other / L"b.mp3";
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    files_.DiscardIfOtherFolder(upper);
    EXPECT_NE(files_.list(), nullptr);
    files_.DiscardIfOtherFolder(folder_ / L"1.mp3");
    EXPECT_EQ(files_.list(), nullptr);
}

TEST_F(FolderListTest, IconsAreFetchedOnceAndDestroyedWithTheList) {
    Make(folder_, {L"a.mp3"});
    ASSERT_TRUE(files_.Ensure(folder_ / L"a.mp3"));
    HICON icon = files_.list()->SmallIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(files_.list()->SmallIcon(0), icon);
    EXPECT_EQ(files_.list()->SmallIcon(1), nullptr);
    files_.Discard();
    EXPECT_FALSE(DestroyIcon(icon));
}

}  // namespace

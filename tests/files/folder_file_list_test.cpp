#include "files/folder_file_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "settings/settings.h"
#include "support/test_support.h"

namespace {

// ---- Sort orders on entries made up in memory ----

struct Made {
    const wchar_t* name;
    std::uint64_t size;
    std::uint64_t time;
    const wchar_t* typeName;
};

std::vector<std::unique_ptr<FolderFileEntry>> MakeEntries(std::initializer_list<Made> made) {
    std::vector<std::unique_ptr<FolderFileEntry>> entries;
    for (const Made& m : made) {
        auto entry = std::make_unique<FolderFileEntry>();
        entry->name = m.name;
        entry->size = m.size;
        entry->lastWriteTime.dwLowDateTime = static_cast<DWORD>(m.time);
        entry->lastWriteTime.dwHighDateTime = static_cast<DWORD>(m.time >> 32);
        entry->typeName = m.typeName;
        entry->typeNameFetched = true;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::wstring> SortedNames(std::vector<std::unique_ptr<FolderFileEntry>>& entries,
                                      int sortType, bool descending) {
    std::sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        return CompareFolderEntries(*a, *b, sortType, descending) < 0;
    });
    std::vector<std::wstring> names;
    for (const auto& entry : entries) {
        names.push_back(entry->name);
    }
    return names;
}

struct OrderCase {
    int sortType;
    bool descending;
    std::vector<std::wstring> expected;
};

class SortOrderTest : public testing::TestWithParam<OrderCase> {};

// Sizes and times need their high halves; type names include one the shell
// could not give (empty), which sorts first.
std::vector<std::unique_ptr<FolderFileEntry>> SampleEntries() {
    return MakeEntries({
        {L"2.mp3", 0x100000000ULL, 0x200000000ULL, L"MP3"},
        {L"10.MID", 5, 7, L"MIDI"},
        {L"1.mp3", 0xFFFFFFFFULL, 0x1FFFFFFFFULL, L"MP3"},
        {L"song", 5, 7, L""},
        {L"a.WAV", 0, 0x1FFFFFFFEULL, L"Wave"},
        {L".mp3", 1, 1, L"MP3"},
    });
}

TEST_P(SortOrderTest, OrdersWithNameTieBreak) {
    const OrderCase& c = GetParam();
    auto entries = SampleEntries();
    EXPECT_EQ(SortedNames(entries, c.sortType, c.descending), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SortOrderTest,
    testing::Values(
        OrderCase{kSortByName, false, {L".mp3", L"1.mp3", L"10.MID", L"2.mp3", L"a.WAV", L"song"}},
        OrderCase{kSortByNameNumber, false,
                  {L".mp3", L"1.mp3", L"2.mp3", L"10.MID", L"a.WAV", L"song"}},
        OrderCase{kSortByNameNumber, true,
                  {L"song", L"a.WAV", L"10.MID", L"2.mp3", L"1.mp3", L".mp3"}},
        OrderCase{kSortByType, false, {L"song", L"10.MID", L".mp3", L"1.mp3", L"2.mp3", L"a.WAV"}},
        OrderCase{kSortByExtension, false,
                  {L"song", L"10.MID", L".mp3", L"1.mp3", L"2.mp3", L"a.WAV"}},
        OrderCase{kSortBySize, false, {L"a.WAV", L".mp3", L"10.MID", L"song", L"1.mp3", L"2.mp3"}},
        OrderCase{kSortByLastWriteTime, false,
                  {L".mp3", L"10.MID", L"song", L"a.WAV", L"1.mp3", L"2.mp3"}},
        // An order the program does not know sorts by name.
        OrderCase{7, false, {L".mp3", L"1.mp3", L"10.MID", L"2.mp3", L"a.WAV", L"song"}}));

TEST(SortOrder, DescendingIsTheExactReverseInEveryOrder) {
    for (int sortType = 0; sortType < kFolderSortOrderCount; ++sortType) {
        auto entries = SampleEntries();
        std::vector<std::wstring> ascending = SortedNames(entries, sortType, false);
        std::vector<std::wstring> descending = SortedNames(entries, sortType, true);
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(ascending, descending) << sortType;
    }
}

TEST(SortOrder, NumberedNamesThatCompareEqualFallBackToTheName) {
    auto entries = MakeEntries({{L"ab.mp3", 0, 0, L""}, {L"a b.mp3", 0, 0, L""},
                                {L"track 1.mp3", 0, 0, L""}, {L"track 01.mp3", 0, 0, L""}});
    EXPECT_EQ(SortedNames(entries, kSortByNameNumber, false),
              (std::vector<std::wstring>{L"a b.mp3", L"ab.mp3", L"track 01.mp3", L"track 1.mp3"}));
}

// The sort compares the platform's sort keys instead of calling lstrcmpiW;
// both must give the same answer for every pair.
TEST(SortOrder, SortKeysCompareAsTheCaseInsensitiveComparison) {
    const std::wstring names[] = {
        L"a.mp3", L"A.MP3", L"b.mp3", L"a b.mp3", L"ab.mp3", L"a-b.mp3", L"a_b.mp3", L"a'b.mp3",
        L"co-op", L"coop", L"1.mp3", L"10.mp3", L"2.mp3", L".mp3", L"", L"Z", L"_", L"~x",
        L"\x00E9t\x00E9", L"ete", L"\x00C9T\x00C9", L"stra\x00DF" L"e", L"strasse",
        L"\xFF21\xFF42", L"ab", L"\x66F2 01.mp3", L"\x66F2 1.mp3", L"\x30AB\x30CA",
        L"\x304B\x306A", L"\x30AC", L"\x30AB"};
    for (const std::wstring& a : names) {
        for (const std::wstring& b : names) {
            int expected = lstrcmpiW(a.c_str(), b.c_str());
            int byKeys = SortKey(a.c_str()).compare(SortKey(b.c_str()));
            EXPECT_EQ((byKeys > 0) - (byKeys < 0), (expected > 0) - (expected < 0))
                << ToUtf8(a) << " vs " << ToUtf8(b);
        }
    }
}

TEST(FileSteps, WrapOrStopAtTheEnds) {
    struct Case {
        FileStep step;
        int current;
        int count;
        int target;
    };
    const Case cases[] = {
        {FileStep::kNext, 0, 3, 1},     {FileStep::kNext, 2, 3, 0},
        {FileStep::kPrevious, 0, 3, 2}, {FileStep::kPrevious, 2, 3, 1},
        {FileStep::kNext, -1, 3, -1},   {FileStep::kPrevious, -1, 3, -1},
        {FileStep::kNext, 0, 0, -1},    {FileStep::kFirst, -1, 3, 0},
        {FileStep::kLast, -1, 3, 2},    {FileStep::kLast, -1, 0, -1},
        {FileStep::kNext, 0, 1, 0},     {FileStep::kPrevious, 5, 3, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepTarget(c.step, c.current, c.count), c.target)
            << static_cast<int>(c.step) << " " << c.current << " " << c.count;
    }
    EXPECT_TRUE(HasNextEntry(1, 3));
    EXPECT_FALSE(HasNextEntry(2, 3));
    EXPECT_FALSE(HasNextEntry(-1, 3));
}

// ---- Lists of real folders ----

class FolderListTest : public testing::Test {
protected:
    FolderListTest() {
        saved_ = g_settings;
        g_settings.fileMasks = L"*.mp3";
        g_settings.sortType = kSortByName;
        g_settings.sortDescending = false;
    }
    ~FolderListTest() override {
        DiscardFolderList();
        g_settings = saved_;
    }

    static void Make(const TempFolder& folder, std::initializer_list<const wchar_t*> names,
                     std::size_t size = 1) {
        for (const wchar_t* name : names) {
            std::wstring path = folder / name;
            if (path.back() == L'\\') {
                path.pop_back();
                ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
            } else {
                ASSERT_TRUE(WriteBytes(path, std::string(size, 'x')));
            }
        }
    }

    static std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        for (int i = 0; i < FolderListCount(); ++i) {
            names.push_back(CurrentFolderList()->Entry(i).name);
        }
        return names;
    }

    Settings saved_;
    TempFolder folder_;
};

TEST_F(FolderListTest, MasksInOrderListEachFileOnceAndSkipFolders) {
    Make(folder_, {L"song", L"b.mp3", L"A.MP3", L"c.wav", L"notes.txt", L"d.mp3\\"});
    g_settings.fileMasks = L"*.mp3;*.MP3;*.wav;song;;";
    g_settings.sortType = kSortByExtension;
    ASSERT_TRUE(EnsureFolderList(folder_ / L"b.mp3"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"song", L"A.MP3", L"b.mp3", L"c.wav"}));
    EXPECT_EQ(CurrentFolderList()->folder(), folder_.path());
}

TEST_F(FolderListTest, OrderChangesResortAndSizesComeFromTheFolder) {
    Make(folder_, {L"10.mp3"}, 3);
    Make(folder_, {L"2.mp3"}, 1);
    Make(folder_, {L"1.mp3"}, 2);
    ASSERT_TRUE(EnsureFolderList(folder_ / L"1.mp3"));
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"1.mp3", L"10.mp3", L"2.mp3"}));
    SetFolderSortOrder(kSortByNameNumber, false);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"1.mp3", L"2.mp3", L"10.mp3"}));
    SetFolderSortOrder(kSortByNameNumber, true);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"10.mp3", L"2.mp3", L"1.mp3"}));
    SetFolderSortOrder(kSortBySize, false);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"2.mp3", L"1.mp3", L"10.mp3"}));
    SetFolderSortOrder(9, false);
    EXPECT_EQ(g_settings.sortType, kSortBySize);
    EXPECT_EQ(IndexOfCurrent(folder_ / L"10.MP3"), 2);
}

TEST_F(FolderListTest, TypeOrderAsksOncePerExtensionAndKeepsTheOrderTotal) {
    Make(folder_, {L"b.mid", L"a.MID", L"c.mp3", L"d.wav", L"e.mp3"});
    g_settings.fileMasks = L"*.*";
    g_settings.sortType = kSortByType;
    ASSERT_TRUE(EnsureFolderList(folder_ / L"c.mp3"));
    const FolderFileList& list = *CurrentFolderList();
    ASSERT_EQ(list.Count(), 5);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_TRUE(list.Entry(i).typeNameFetched);
        if (i > 0) {
            EXPECT_LT(CompareFolderEntries(list.Entry(i - 1), list.Entry(i), kSortByType, false), 0);
        }
    }
    // The shell's names differ between systems; the same extension must get the same one.
    int a = list.Find(L"a.MID");
    int b = list.Find(L"b.mid");
    EXPECT_EQ(list.Entry(a).typeName, list.Entry(b).typeName);
    EXPECT_EQ(b, a + 1);
}

TEST_F(FolderListTest, FileNoMaskMatchesIsNotFoundUntilAdded) {
    Make(folder_, {L"a.mp3", L"b.mp3", L"x.txt"});
    EXPECT_EQ(IndexOfCurrent(folder_ / L"x.txt"), -1);
    std::wstring target;
    EXPECT_FALSE(FolderStepTarget(FileStep::kNext, folder_ / L"x.txt", target));

    ASSERT_TRUE(EnsureFolderList(folder_ / L"x.txt"));
    EXPECT_FALSE(AddFileIfExists(L"gone.txt"));
    ASSERT_TRUE(AddFileIfExists(L"x.txt"));
    EXPECT_TRUE(AddFileIfExists(L"X.TXT"));
    SortFolderList();
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.mp3", L"b.mp3", L"x.txt"}));
    EXPECT_EQ(CurrentFolderList()->Find(L"x.txt"), 2);
}

TEST_F(FolderListTest, ListOfAnotherFolderIsRebuilt) {
    TempFolder other;
    Make(folder_, {L"a.mp3"});
    Make(other, {L"b.mp3", L"c.mp3"});
    ASSERT_TRUE(EnsureFolderList(folder_ / L"a.mp3"));
    EXPECT_EQ(IndexOfCurrent(other / L"c.mp3"), 1);
    EXPECT_EQ(CurrentFolderList()->folder(), other.path());

    // Opening a file of the same folder (in any letter case) keeps the list,
    // of another folder drops it.
    std::wstring upper = other / L"b.mp3";
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    DiscardFolderListOfOtherFolder(upper);
    EXPECT_NE(CurrentFolderList(), nullptr);
    DiscardFolderListOfOtherFolder(folder_ / L"a.mp3");
    EXPECT_EQ(CurrentFolderList(), nullptr);
}

TEST_F(FolderListTest, NavigationWrapsButSequentialPlayStops) {
    Make(folder_, {L"1.mp3", L"2.mp3", L"3.mp3"});
    struct Case {
        FileStep step;
        const wchar_t* from;
        const wchar_t* to;
    };
    const Case cases[] = {
        {FileStep::kNext, L"1.mp3", L"2.mp3"},     {FileStep::kNext, L"3.mp3", L"1.mp3"},
        {FileStep::kPrevious, L"1.mp3", L"3.mp3"}, {FileStep::kFirst, L"2.mp3", L"1.mp3"},
        {FileStep::kLast, L"2.mp3", L"3.mp3"},
    };
    for (const Case& c : cases) {
        std::wstring target;
        ASSERT_TRUE(FolderStepTarget(c.step, folder_ / c.from, target));
        EXPECT_EQ(target, folder_ / c.to);
    }
    EXPECT_TRUE(FolderHasNextFile(folder_ / L"2.mp3"));
    EXPECT_FALSE(FolderHasNextFile(folder_ / L"3.mp3"));
    std::wstring target;
    EXPECT_FALSE(FolderStepTarget(FileStep::kNext, L"", target));
    EXPECT_FALSE(PathAt(3, target));
    EXPECT_FALSE(PathAt(-1, target));
}

TEST_F(FolderListTest, IconsAreFetchedOnceAndFreedWithTheList) {
    Make(folder_, {L"a.mp3"});
    ASSERT_TRUE(EnsureFolderList(folder_ / L"a.mp3"));
    HICON icon = CurrentFolderList()->SmallIcon(0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(CurrentFolderList()->SmallIcon(0), icon);
    EXPECT_EQ(CurrentFolderList()->SmallIcon(1), nullptr);
    DiscardFolderList();
    // Already destroyed with its entry.
    EXPECT_FALSE(DestroyIcon(icon));
}

}  // namespace

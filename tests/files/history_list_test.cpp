#include "files/history_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/handles.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace {

TEST(HistoryText, MnemonicsRunFromDigitsToLetters) {
    const std::pair<int, wchar_t> cases[] = {{0, L'0'}, {9, L'9'}, {10, L'A'}, {35, L'Z'}};
    for (const auto& [position, mnemonic] : cases) {
        EXPECT_EQ(HistoryMnemonic(position), mnemonic) << position;
    }
}

TEST(HistoryText, AmpersandsAreDoubledInTheMenuAndSingleInThePath) {
    struct Case {
        const wchar_t* path;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"C:\\a.mp3", L"&0: C:\\a.mp3"},
        {L"C:\\R&B\\x.mp3", L"&0: C:\\R&&B\\x.mp3"},
        {L"&&", L"&0: &&&&"},
        {L"C:\\&", L"&0: C:\\&&"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HistoryItemText(0, c.path), c.text);
        EXPECT_EQ(HistoryPathOfItemText(c.text), c.path);
    }
    EXPECT_EQ(HistoryItemText(12, L"x"), L"&C: x");
    EXPECT_EQ(HistoryPathOfItemText(L"&0: "), L"");
    EXPECT_EQ(HistoryPathOfItemText(L"&"), L"");
}

// A history attached to a pop-up that is a submenu of a parent menu.
class HistoryMenuTest : public testing::Test {
protected:
    HistoryMenuTest() : parent_(CreatePopupMenu()), history_(200) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(parent_.get(), MF_POPUP | MF_STRING | MF_GRAYED,
                    reinterpret_cast<UINT_PTR>(popup), L"History");
        history_.Attach(popup, parent_.get(), 0);
    }

    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (int i = 0; i < GetMenuItemCount(history_.popupMenu()); ++i) {
            wchar_t buffer[600];
            GetMenuStringW(history_.popupMenu(), static_cast<UINT>(i), buffer, 600,
                           MF_BYPOSITION);
            texts.push_back(buffer);
        }
        return texts;
    }

    std::vector<UINT> Ids() const {
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(history_.popupMenu()); ++i) {
            ids.push_back(GetMenuItemID(history_.popupMenu(), i));
        }
        return ids;
    }

    bool ParentEnabled() const {
        return (GetMenuState(parent_.get(), 0, MF_BYPOSITION) & MF_GRAYED) == 0;
    }

    void Add(std::initializer_list<const wchar_t*> paths) {
        for (const wchar_t* path : paths) {
            history_.AddToHistory(path);
        }
    }

    UniqueMenu parent_;
    HistoryList history_;
};

TEST_F(HistoryMenuTest, NewestComesFirstWithConsecutiveMnemonicsAndIds) {
    EXPECT_FALSE(ParentEnabled());
    Add({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\c.mp3", L"&1: C:\\b.mp3",
                                                  L"&2: C:\\a.mp3"}));
    EXPECT_EQ(Ids(), (std::vector<UINT>{200, 201, 202}));
    EXPECT_TRUE(ParentEnabled());
    EXPECT_EQ(history_.HistoryPath(2), L"C:\\a.mp3");
    EXPECT_EQ(history_.HistoryPath(3), L"");
    EXPECT_EQ(history_.HistoryPath(-1), L"");
}

TEST_F(HistoryMenuTest, FirstItemAddedAgainChangesNothingNotEvenCase) {
    Add({L"C:\\a.mp3", L"C:\\Music\\b.mp3", L"C:\\MUSIC\\B.MP3"});
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\Music\\b.mp3", L"&1: C:\\a.mp3"}));
}

TEST_F(HistoryMenuTest, ItemFurtherDownMovesToTopInTheNewCase) {
    Add({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3", L"C:\\d.mp3", L"c:\\A.MP3"});
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: c:\\A.MP3", L"&1: C:\\d.mp3",
                                                  L"&2: C:\\c.mp3", L"&3: C:\\b.mp3"}));
    EXPECT_EQ(Ids(), (std::vector<UINT>{200, 201, 202, 203}));
    // From the middle: the items above move down, the ones below keep their place.
    Add({L"C:\\C.mp3"});
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\C.mp3", L"&1: c:\\A.MP3",
                                                  L"&2: C:\\d.mp3", L"&3: C:\\b.mp3"}));
}

TEST_F(HistoryMenuTest, PathWithAmpersandIsMatchedAndReturnedUndoubled) {
    Add({L"C:\\R&B\\x.mp3", L"C:\\y.mp3", L"C:\\r&b\\X.mp3"});
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\r&&b\\X.mp3", L"&1: C:\\y.mp3"}));
    EXPECT_EQ(history_.HistoryPath(0), L"C:\\r&b\\X.mp3");
}

TEST_F(HistoryMenuTest, FullListRunsToZAndDropsTheOldest) {
    history_.SetHistoryLimit(40);
    EXPECT_EQ(history_.maxCount(), 36);
    for (int i = 0; i < 37; ++i) {
        history_.AddToHistory(L"C:\\" + std::to_wstring(i) + L".mp3");
    }
    std::vector<std::wstring> texts = Texts();
    ASSERT_EQ(texts.size(), 36u);
    EXPECT_EQ(texts[10], L"&A: C:\\26.mp3");
    EXPECT_EQ(texts[35], L"&Z: C:\\1.mp3");
    EXPECT_EQ(Ids().back(), 235u);
}

TEST_F(HistoryMenuTest, LoweringTheLimitKeepsTheNewest) {
    for (int i = 0; i < 10; ++i) {
        history_.AddToHistory(L"C:\\" + std::to_wstring(i) + L".mp3");
    }
    history_.SetHistoryLimit(3);
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\9.mp3", L"&1: C:\\8.mp3",
                                                  L"&2: C:\\7.mp3"}));
    history_.AddToHistory(L"C:\\new.mp3");
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\new.mp3", L"&1: C:\\9.mp3",
                                                  L"&2: C:\\8.mp3"}));
    EXPECT_TRUE(ParentEnabled());
}

TEST_F(HistoryMenuTest, LimitZeroEmptiesAndKeepsEmpty) {
    Add({L"C:\\a.mp3"});
    history_.SetHistoryLimit(0);
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(ParentEnabled());
    Add({L"C:\\b.mp3"});
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(ParentEnabled());
}

TEST_F(HistoryMenuTest, RemovingRenumbersTheItemsBelow) {
    Add({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"});
    history_.RemoveFromHistory(3);
    history_.RemoveFromHistory(-1);
    EXPECT_EQ(Texts().size(), 3u);
    history_.RemoveFromHistory(1);
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\c.mp3", L"&1: C:\\a.mp3"}));
    EXPECT_EQ(Ids(), (std::vector<UINT>{200, 201}));
    history_.RemoveFromHistory(0);
    history_.RemoveFromHistory(0);
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(ParentEnabled());
    Add({L"C:\\d.mp3"});
    history_.ClearHistory();
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(ParentEnabled());
}

TEST_F(HistoryMenuTest, SaveAndLoadRoundTrip) {
    TempFolder folder;
    std::wstring ini = folder / L"Zephlo.ini";
    const std::wstring japanese = L"C:\\\x97F3\x697D\\R&B.mp3";
    Add({L"C:\\a.mp3", L"C:\\b.mp3", japanese.c_str()});
    ASSERT_TRUE(history_.SaveHistory(ini, L"RecentFileList", L"File"));

    HistoryList loaded(236);
    UniqueMenu popup(CreatePopupMenu());
    loaded.Attach(popup.get());
    loaded.LoadHistory(ini, L"RecentFileList", L"File");
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.HistoryPath(0), japanese);
    EXPECT_EQ(loaded.HistoryPath(2), L"C:\\a.mp3");
    EXPECT_EQ(GetMenuItemID(popup.get(), 2), 238u);

    // The limit caps what is read; reading again replaces the items.
    loaded.SetHistoryLimit(2);
    loaded.LoadHistory(ini, L"RecentFileList", L"File");
    EXPECT_EQ(loaded.Count(), 2);

    // A shorter list leaves the old keys behind; the count bounds the reading.
    history_.RemoveFromHistory(0);
    ASSERT_TRUE(history_.SaveHistory(ini, L"RecentFileList", L"File"));
    loaded.SetHistoryLimit(10);
    loaded.LoadHistory(ini, L"RecentFileList", L"File");
    EXPECT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.HistoryPath(1), L"C:\\a.mp3");
}

TEST_F(HistoryMenuTest, LoadStopsAtTheFirstMissingKeyAndHonoursLimitZero) {
    TempFolder folder;
    std::wstring ini = folder / L"Zephlo.ini";
    {
        SettingsFile file(ini, L"RecentDirList", SettingsFile::kWrite);
        file.WriteIntSetting(L"DirCount", 4);
        file.WriteString(L"Dir0", L"C:\\one");
        file.WriteString(L"Dir1", L"C:\\two");
        file.WriteString(L"Dir3", L"C:\\four");
    }
    history_.LoadHistory(ini, L"RecentDirList", L"Dir");
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"&0: C:\\one", L"&1: C:\\two"}));
    EXPECT_TRUE(ParentEnabled());

    history_.SetHistoryLimit(0);
    history_.LoadHistory(ini, L"RecentDirList", L"Dir");
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(ParentEnabled());
}

}  // namespace

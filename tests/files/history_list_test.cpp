#include "files/history_list.h"

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "settings/settings_file.h"
#include "support/test_support.h"

namespace {

TEST(HistoryText, MnemonicsAndAmpersandsRoundTrip) {
    EXPECT_EQ(HistoryItemText(9, L"x"), L"&9: x");
    EXPECT_EQ(HistoryItemText(35, L"x"), L"&Z: x");
    const std::pair<const wchar_t*, const wchar_t*> texts[] = {
        {L"C:\\a.mp3", L"&0: C:\\a.mp3"},
        {L"C:\\R&B\\x.mp3", L"&0: C:\\R&&B\\x.mp3"},
        {L"&&", L"&0: &&&&"},
    };
    for (const auto& [path, text] : texts) {
        EXPECT_EQ(HistoryItemText(0, path), text);
        EXPECT_EQ(HistoryPathOfItemText(text), path);
    }
    EXPECT_EQ(HistoryPathOfItemText(L"&"), L"");
}

// A history in a pop-up that is item 0 of a parent menu.
class HistoryMenuTest : public testing::Test {
protected:
    HistoryMenuTest() : parent_(CreatePopupMenu()), history_(200) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(parent_.get(), MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(popup), L"H");
        history_.Attach(popup, parent_.get(), 0);
    }

    // "id text|id text..." of the items; "(grayed)" when the parent item is.
    std::wstring Items() const {
        std::wstring items;
        for (int i = 0; i < GetMenuItemCount(history_.popupMenu()); ++i) {
            wchar_t text[600];
            GetMenuStringW(history_.popupMenu(), static_cast<UINT>(i), text, 600, MF_BYPOSITION);
            items += (i > 0 ? L"|" : L"") +
                     std::to_wstring(GetMenuItemID(history_.popupMenu(), i)) + L" " + text;
        }
        bool grayed = GetMenuState(parent_.get(), 0, MF_BYPOSITION) & MF_GRAYED;
        return grayed ? items + L"(grayed)" : items;
    }

    void Add(std::initializer_list<const wchar_t*> paths) {
        for (const wchar_t* path : paths) {
            history_.AddToHistory(path);
        }
    }

    UniqueMenu parent_;
    HistoryList history_;
};

TEST_F(HistoryMenuTest, AddingMovesToTheTopAndRenumbers) {
    EXPECT_EQ(Items(), L"(grayed)");
    Add({L"C:\\a", L"C:\\b", L"C:\\c"});
    EXPECT_EQ(Items(), L"200 &0: C:\\c|201 &1: C:\\b|202 &2: C:\\a");
    // The first item again, in another case: nothing changes.
    Add({L"c:\\C"});
    EXPECT_EQ(Items(), L"200 &0: C:\\c|201 &1: C:\\b|202 &2: C:\\a");
    // An item further down moves up in the new case; those below it stay.
    Add({L"C:\\B"});
    EXPECT_EQ(Items(), L"200 &0: C:\\B|201 &1: C:\\c|202 &2: C:\\a");
    Add({L"c:\\A"});
    EXPECT_EQ(Items(), L"200 &0: c:\\A|201 &1: C:\\B|202 &2: C:\\c");
    // "&" is doubled in the menu, single in the path, and matched as such.
    Add({L"C:\\R&B", L"C:\\x", L"c:\\r&b"});
    EXPECT_EQ(history_.HistoryPath(0), L"c:\\r&b");
    EXPECT_EQ(Items(), L"200 &0: c:\\r&&b|201 &1: C:\\x|202 &2: c:\\A|203 &3: C:\\B|204 &4: C:\\c");
    EXPECT_EQ(history_.HistoryPath(5), L"");

    // Removing renumbers the items below; the last one grays the parent item.
    history_.RemoveFromHistory(5);
    history_.RemoveFromHistory(-1);
    history_.RemoveFromHistory(1);
    history_.RemoveFromHistory(2);
    EXPECT_EQ(Items(), L"200 &0: c:\\r&&b|201 &1: c:\\A|202 &2: C:\\c");
    for (int i = 0; i < 3; ++i) {
        history_.RemoveFromHistory(0);
    }
    EXPECT_EQ(Items(), L"(grayed)");
    Add({L"C:\\d"});
    history_.ClearHistory();
    EXPECT_EQ(Items(), L"(grayed)");
}

TEST_F(HistoryMenuTest, LimitsKeepTheNewest) {
    history_.SetHistoryLimit(40);
    EXPECT_EQ(history_.maxCount(), 36);
    for (int i = 0; i < 37; ++i) {
        history_.AddToHistory(L"C:\\" + std::to_wstring(i));
    }
    ASSERT_EQ(history_.Count(), 36);
    EXPECT_NE(Items().find(L"210 &A: C:\\26|"), std::wstring::npos);
    EXPECT_NE(Items().find(L"|235 &Z: C:\\1"), std::wstring::npos);

    history_.SetHistoryLimit(3);
    EXPECT_EQ(Items(), L"200 &0: C:\\36|201 &1: C:\\35|202 &2: C:\\34");
    Add({L"C:\\new"});
    EXPECT_EQ(Items(), L"200 &0: C:\\new|201 &1: C:\\36|202 &2: C:\\35");

    history_.SetHistoryLimit(0);
    Add({L"C:\\b"});
    EXPECT_EQ(Items(), L"(grayed)");
}

TEST_F(HistoryMenuTest, SavesAndLoadsThroughTheSettingsFile) {
    TempFolder folder;
    std::wstring ini = folder / L"Zephlo.ini";
    const std::wstring japanese = L"C:\\\x97F3\x697D\\R&B.mp3";
    Add({L"C:\\a", L"C:\\b", japanese.c_str()});
    ASSERT_TRUE(history_.SaveHistory(ini, L"RecentDirList", L"Dir"));
    history_.RemoveFromHistory(0);
    ASSERT_TRUE(history_.SaveHistory(ini, L"RecentFileList", L"File"));
    {
        // A count beyond the keys, a gap: reading stops at the first missing key.
        SettingsFile file(ini, L"RecentFileList", SettingsFile::kWrite);
        file.WriteIntSetting(L"FileCount", 4);
        file.WriteString(L"File3", L"C:\\after-gap");
    }

    HistoryList loaded(236);
    UniqueMenu popup(CreatePopupMenu());
    loaded.Attach(popup.get());
    loaded.LoadHistory(ini, L"RecentDirList", L"Dir");
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.HistoryPath(0), japanese);
    EXPECT_EQ(GetMenuItemID(popup.get(), 2), 238u);
    // Loading again replaces the items; the limit caps what is read.
    loaded.SetHistoryLimit(2);
    loaded.LoadHistory(ini, L"RecentDirList", L"Dir");
    EXPECT_EQ(loaded.Count(), 2);

    history_.LoadHistory(ini, L"RecentFileList", L"File");
    EXPECT_EQ(Items(), L"200 &0: C:\\b|201 &1: C:\\a");
    history_.SetHistoryLimit(0);
    history_.LoadHistory(ini, L"RecentFileList", L"File");
    EXPECT_EQ(Items(), L"(grayed)");
}

// A damaged file: a NUL byte cuts a value short, leaving the spaces before it
// at the path's end. They are dropped, so that the list saved reads back the
// same; a path cut to nothing ends the list.
TEST_F(HistoryMenuTest, PathsCutShortByANulByteAreReadAsTheyWillBeSaved) {
    TempFolder folder;
    const std::wstring ini = folder / L"Zephlo.ini";
    static const char kBytes[] =
        "[RecentFileList]\r\nFileCount=4\r\n"
        "File0=C:\\a \t\0junk\r\n"
        "File1=C:\\b\x0c\0\r\n"
        "File2=\0C:\\c\r\n"
        "File3=C:\\d\r\n";
    ASSERT_TRUE(WriteBytes(ini, std::string(kBytes, sizeof kBytes - 1)));
    history_.LoadHistory(ini, L"RecentFileList", L"File");
    EXPECT_EQ(Items(), L"200 &0: C:\\a|201 &1: C:\\b");
    const std::wstring saved = folder / L"saved.ini";
    ASSERT_TRUE(history_.SaveHistory(saved, L"RecentFileList", L"File"));
    history_.LoadHistory(saved, L"RecentFileList", L"File");
    EXPECT_EQ(Items(), L"200 &0: C:\\a|201 &1: C:\\b");
}

}  // namespace

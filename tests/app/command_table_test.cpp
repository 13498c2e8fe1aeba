#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/text.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

// The key page builds its tree from the levels: a row goes at most one level
// deeper than the row before it, and every heading opens a branch.
TEST(CommandTableTest, RowsFormATreeOfNineHeadingsAndFiftyEightUniqueCommands) {
    std::set<int> categories, ids;
    std::set<std::wstring> names;
    for (std::size_t row = 0; row < kCommandTable.size(); ++row) {
        const CommandRow& r = kCommandTable[row];
        EXPECT_LE(r.level, row == 0 ? 0 : kCommandTable[row - 1].level + 1) << row;
        if (IsHeading(r)) {
            EXPECT_STREQ(r.name, L"");
            categories.insert(r.id);
            EXPECT_EQ(kCommandTable.at(row + 1).level, r.level + 1) << row;
        } else {
            EXPECT_TRUE(ids.insert(r.id).second && names.insert(r.name).second) << r.id;
            EXPECT_GE(r.level, 1);
        }
        EXPECT_FALSE(LoadText(LabelStringId(r)).empty()) << LabelStringId(r);
    }
    EXPECT_EQ(categories, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(ids.size(), 58u);
    EXPECT_EQ(LoadText(LabelStringId(kCommandTable[0])), L"ファイル");
    EXPECT_EQ(LoadText(LabelStringId(kCommandTable[FindCommandRow(kCommandTable, CMD_HOME)])),
              L"先頭へ");
}

TEST(CommandTableTest, LooksUpCommandsButNeverHeadings) {
    EXPECT_EQ(FindCommandRow(kCommandTable, CMD_OPEN), 1);
    EXPECT_EQ(FindCommandRowByName(kCommandTable, L"nextfile"),
              FindCommandRow(kCommandTable, CMD_NEXT_FILE));
    // Extension sorts before type on the page, unlike the ids.
    EXPECT_EQ(FindCommandRowByName(kCommandTable, L"SortExtension") + 1,
              FindCommandRow(kCommandTable, CMD_SORT_TYPE));
    EXPECT_EQ(FindCommandRowByName(kCommandTable, L"Preset3"),
              FindCommandRow(kCommandTable, CMD_PRESET_FIRST + 2));
    EXPECT_EQ(FindCommandRow(kCommandTable, CATEGORY_VOLUME), -1);
    EXPECT_EQ(FindCommandRow(kCommandTable, CMD_PLAY), -1);
    EXPECT_EQ(FindCommandRowByName(kCommandTable, L""), -1);
    EXPECT_EQ(FindCommandRowByName(kCommandTable, L"AccelCount"), -1);
}

// Menu layouts: command ids, separators (0) and submenus (-1).
constexpr int kSep = 0;
constexpr int kPopup = -1;

std::vector<int> MenuLayout(HMENU menu) {
    std::vector<int> layout;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (GetSubMenu(menu, position) != nullptr) {
            layout.push_back(kPopup);
        } else if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            layout.push_back(kSep);
        } else {
            layout.push_back(static_cast<int>(GetMenuItemID(menu, position)));
        }
    }
    return layout;
}

std::wstring MenuText(HMENU menu, UINT item, UINT flags) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, item, text, 128, flags);
    return text;
}

class MainMenuTest : public testing::Test {
protected:
    HMENU Popup(int position) const { return GetSubMenu(menu_.get(), position); }
    UniqueMenu menu_{LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU))};
};

TEST_F(MainMenuTest, ItemsSeparatorsAndSubmenusSitWhereTheProgramAddressesThem) {
    ASSERT_EQ(MenuLayout(menu_.get()), (std::vector<int>{kPopup, kPopup, kPopup, kPopup}));
    EXPECT_EQ(MenuLayout(Popup(0)),
              (std::vector<int>{100, 101, kSep, kPopup, kPopup, kSep, 102, 103, 104, 105, kSep,
                                kPopup, 116, kSep, 117, 118, kSep, 119}));
    EXPECT_EQ(MenuLayout(Popup(1)), (std::vector<int>{122, 123, 124, 125, 126, 127, 128, 129, kSep,
                                                      130, kSep, kPopup, kSep, 134, kSep, 135}));
    EXPECT_EQ(
        MenuLayout(Popup(2)),
        (std::vector<int>{140, 141,  kPopup, kPopup, kSep, 155, 156, kSep, 157,    158,  kSep,
                          159, kSep, 160,    161,    162,  163, 164, kSep, kPopup, kSep, 167}));
    EXPECT_EQ(MenuLayout(Popup(3)), (std::vector<int>{168, kSep, 169}));

    struct Submenu {
        int popup, position;
        const wchar_t* text;
        std::vector<int> layout;
        bool grayed;
    };
    const Submenu submenus[] = {
        {0, 3, L"ファイル履歴から開く(&R)", {200}, true},
        {0, 4, L"フォルダ履歴から開く(&F)", {236}, true},
        {0, 11, L"並び順(&S)", {106, 107, 108, 109, 110, 111, kSep, 115}, false},
        {1, 11, L"音量(&V)", {131, 132, kSep, 133}, true},
        {2, 2, L"倍率(&Z)", {142, 143, 144, 145, 146, 147}, true},
        {2, 3, L"縦横比(&A)", {150, 151, 152}, true},
        {2, 19, L"既定の構成", {350, 351, 352}, false},
    };
    for (const Submenu& expected : submenus) {
        HMENU parent = Popup(expected.popup);
        UINT position = static_cast<UINT>(expected.position);
        EXPECT_EQ(MenuText(parent, position, MF_BYPOSITION), expected.text);
        EXPECT_EQ(MenuLayout(GetSubMenu(parent, expected.position)), expected.layout);
        EXPECT_EQ((GetMenuState(parent, position, MF_BYPOSITION) & MF_GRAYED) != 0, expected.grayed)
            << ToUtf8(expected.text);
    }
}

// The menu and the command table agree: every command of the table is an
// item with a text, greyed as shipped where it needs an open file, and every
// command item of the menu (history lists aside) is in the table.
TEST_F(MainMenuTest, TheMenuAndTheCommandTableAgree) {
    const std::set<UINT> grayed = {101, 102, 103, 104, 105, 116, 117, 118, 122, 123,
                                   124, 125, 126, 127, 128, 129, 140, 141, 157};
    std::set<UINT> inTable;
    for (const CommandRow& row : kCommandTable) {
        if (IsHeading(row)) {
            continue;
        }
        inTable.insert(row.id);
        UINT state = GetMenuState(menu_.get(), row.id, MF_BYCOMMAND);
        ASSERT_NE(state, static_cast<UINT>(-1)) << row.id;
        EXPECT_FALSE(MenuText(menu_.get(), row.id, MF_BYCOMMAND).empty()) << row.id;
        EXPECT_EQ((state & MF_GRAYED) != 0, grayed.count(row.id) == 1) << row.id;
    }
    std::set<UINT> inMenu;
    std::vector<HMENU> menus = {menu_.get()};
    while (!menus.empty()) {
        HMENU menu = menus.back();
        menus.pop_back();
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            if (HMENU sub = GetSubMenu(menu, position)) {
                menus.push_back(sub);
            } else if (UINT id = GetMenuItemID(menu, position);
                       id != 0 && id != CMD_FILE_HISTORY_FIRST && id != CMD_FOLDER_HISTORY_FIRST) {
                inMenu.insert(id);
            }
        }
    }
    EXPECT_EQ(inMenu, inTable);
}

}  // namespace

#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/handles.h"
#include "app/text.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

TEST(CommandTableTest, HasNineHeadingsAndFiftyEightUniqueCommands) {
    std::set<int> categories;
    std::set<int> ids;
    std::set<std::wstring> names;
    for (const CommandRow& row : g_commandTable) {
        if (IsHeading(row)) {
            EXPECT_STREQ(row.name, L"");
            EXPECT_LE(row.id, 8);
            categories.insert(row.id);
        } else {
            EXPECT_GE(row.id, 100);
            EXPECT_NE(row.name[0], L'\0');
            EXPECT_TRUE(ids.insert(row.id).second) << row.id;
            EXPECT_TRUE(names.insert(row.name).second) << ToUtf8(row.name);
        }
    }
    EXPECT_EQ(categories.size(), 9u);
    EXPECT_EQ(ids.size(), 58u);
}

// The key page builds its tree from the levels: a row may go at most one
// level deeper than the row before it, and every heading must open a branch.
TEST(CommandTableTest, LevelsFormATreeWithEveryHeadingABranch) {
    EXPECT_EQ(g_commandTable.front().level, 0);
    for (std::size_t row = 1; row < g_commandTable.size(); ++row) {
        EXPECT_LE(g_commandTable[row].level, g_commandTable[row - 1].level + 1) << row;
        EXPECT_LE(g_commandTable[row].level, 2) << row;
    }
    for (std::size_t row = 0; row < g_commandTable.size(); ++row) {
        if (IsHeading(g_commandTable[row])) {
            ASSERT_LT(row + 1, g_commandTable.size());
            EXPECT_EQ(g_commandTable[row + 1].level, g_commandTable[row].level + 1) << row;
        } else {
            EXPECT_GE(g_commandTable[row].level, 1) << row;
        }
    }
}

TEST(CommandTableTest, OrderFollowsThePageNotTheIds) {
    // Extension before type, repeat-playlist before sequential play.
    EXPECT_EQ(FindCommandRow(CMD_SORT_EXTENSION) + 1, FindCommandRow(CMD_SORT_TYPE));
    EXPECT_EQ(FindCommandRow(CMD_REPEAT_PLAYLIST) + 1, FindCommandRow(CMD_SEQUENTIAL_PLAY));
    EXPECT_EQ(FindCommandRow(CMD_OPEN), 1);
    EXPECT_EQ(FindCommandRow(CMD_ABOUT), 66);
}

TEST(CommandTableTest, LooksUpRowsByIdAndName) {
    EXPECT_EQ(FindCommandRow(CMD_REPEAT), FindCommandRowByName(L"Repeat"));
    EXPECT_EQ(FindCommandRowByName(L"nextfile"), FindCommandRow(CMD_NEXT_FILE));
    EXPECT_EQ(FindCommandRow(CMD_PRESET_FIRST + 2), FindCommandRowByName(L"Preset3"));
    // Headings, commands outside the table and unknown names have no row.
    EXPECT_EQ(FindCommandRow(CATEGORY_VOLUME), -1);
    EXPECT_EQ(FindCommandRow(CMD_PLAY), -1);
    EXPECT_EQ(FindCommandRow(CMD_FULL_SCREEN_PLAY_BAR), -1);
    EXPECT_EQ(FindCommandRowByName(L""), -1);
    EXPECT_EQ(FindCommandRowByName(L"AccelCount"), -1);
}

TEST(CommandTableTest, EveryRowHasItsLabel) {
    EXPECT_EQ(LabelStringId(g_commandTable[0]), 600u);
    EXPECT_EQ(LabelStringId(g_commandTable[static_cast<std::size_t>(FindCommandRow(CMD_OPEN))]),
              300u);
    for (const CommandRow& row : g_commandTable) {
        EXPECT_FALSE(LoadText(LabelStringId(row)).empty()) << LabelStringId(row);
    }
    struct Label {
        UINT id;
        const wchar_t* text;
    };
    for (const Label& label : {Label{CMD_HOME, L"先頭へ"}, Label{CMD_END, L"末尾へ"},
                               Label{CMD_PRESET_FIRST, L"構成1"}, Label{CMD_OPTIONS, L"設定"}}) {
        EXPECT_EQ(LoadText(label.id + 200), label.text) << label.id;
    }
    EXPECT_EQ(LoadText(600 + CATEGORY_PRESETS), L"既定の構成");
}

// The shipped main menu, item by item: command ids, separators (0) and
// submenus (-1, listed separately).
constexpr int kSep = 0;
constexpr int kPopup = -1;

std::vector<int> MenuLayout(HMENU menu) {
    std::vector<int> layout;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
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

std::wstring TextAt(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

std::wstring TextOf(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

bool GrayedAt(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}

class MainMenuTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(menu_); }
    HMENU Popup(int position) const { return GetSubMenu(menu_.get(), position); }

    UniqueMenu menu_{LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU))};
};

TEST_F(MainMenuTest, PopupsAndSubmenusSitWhereTheProgramAddressesThem) {
    HMENU menu = menu_.get();
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(TextAt(menu, 0), L"ファイル(&F)");
    EXPECT_EQ(TextAt(menu, 1), L"再生(&P)");
    EXPECT_EQ(TextAt(menu, 2), L"表示(&V)");
    EXPECT_EQ(TextAt(menu, 3), L"ヘルプ(&H)");

    struct Submenu {
        int popup;
        int position;
        const wchar_t* text;
        std::vector<int> layout;
        bool grayed;
    };
    const Submenu submenus[] = {
        {0, 3, L"ファイル履歴から開く(&R)", {CMD_FILE_HISTORY_FIRST}, true},
        {0, 4, L"フォルダ履歴から開く(&F)", {CMD_FOLDER_HISTORY_FIRST}, true},
        {0, 11, L"並び順(&S)", {106, 107, 108, 109, 110, 111, kSep, 115}, false},
        {1, 11, L"音量(&V)", {131, 132, kSep, 133}, true},
        {2, 2, L"倍率(&Z)", {142, 143, 144, 145, 146, 147}, true},
        {2, 3, L"縦横比(&A)", {150, 151, 152}, true},
        {2, 19, L"既定の構成", {350, 351, 352}, false},
    };
    for (const Submenu& expected : submenus) {
        SCOPED_TRACE(ToUtf8(expected.text));
        HMENU parent = Popup(expected.popup);
        ASSERT_NE(GetSubMenu(parent, expected.position), nullptr);
        EXPECT_EQ(TextAt(parent, expected.position), expected.text);
        EXPECT_EQ(MenuLayout(GetSubMenu(parent, expected.position)), expected.layout);
        EXPECT_EQ(GrayedAt(parent, expected.position), expected.grayed);
    }
}

TEST_F(MainMenuTest, ItemsAndSeparatorsComeInTheirOrder) {
    const std::vector<int> file = {100, 101, kSep, kPopup, kPopup, kSep, 102, 103, 104, 105, kSep,
                                   kPopup, 116, kSep, 117, 118, kSep, 119};
    const std::vector<int> play = {122, 123, 124, 125, 126, 127, 128,  129,
                                   kSep, 130, kSep, kPopup, kSep, 134, kSep, 135};
    const std::vector<int> view = {140, 141, kPopup, kPopup, kSep, 155, 156, kSep, 157,
                                   158, kSep, 159, kSep, 160, 161, 162, 163, 164,
                                   kSep, kPopup, kSep, 167};
    const std::vector<int> help = {168, kSep, 169};
    EXPECT_EQ(MenuLayout(Popup(0)), file);
    EXPECT_EQ(MenuLayout(Popup(1)), play);
    EXPECT_EQ(MenuLayout(Popup(2)), view);
    EXPECT_EQ(MenuLayout(Popup(3)), help);
}

TEST_F(MainMenuTest, EveryCommandOfTheTableHasItsTextAndShippedState) {
    struct Item {
        UINT id;
        const wchar_t* text;
        bool grayed;
    };
    const Item items[] = {
        {100, L"開く(&O)...", false},
        {101, L"閉じる(&C)", true},
        {102, L"前のファイル(&P)", true},
        {103, L"次のファイル(&N)", true},
        {104, L"先頭のファイル(&I)", true},
        {105, L"末尾のファイル(&L)", true},
        {106, L"名前順(&F)", false},
        {107, L"名前連番順(&N)", false},
        {109, L"拡張子順(&E)", false},
        {108, L"種類順(&T)", false},
        {110, L"サイズ順(&S)", false},
        {111, L"更新日時順(&L)", false},
        {115, L"降順(&D)", false},
        {116, L"最新の情報に更新(&F)", true},
        {117, L"プレイリストに追加(&A)", true},
        {118, L"プレイリスト作成(&Y)", true},
        {119, L"終了(&X)", false},
        {122, L"再生/一時停止(&P)", true},
        {123, L"停止(&S)", true},
        {124, L"前に移動(&V)", true},
        {125, L"次に移動(&N)", true},
        {126, L"巻き戻し(&B)", true},
        {127, L"早送り(&F)", true},
        {128, L"最初へ(&H)", true},
        {129, L"最後へ(&D)", true},
        {130, L"繰り返し(&R)", false},
        {131, L"上げる(&U)", false},
        {132, L"下げる(&D)", false},
        {133, L"消音(&M)", false},
        {135, L"プレイリストの繰り返し(&T)", false},
        {134, L"フォルダから連続再生(&S)", false},
        {140, L"拡大(&I)", true},
        {141, L"縮小(&O)", true},
        {142, L"&1: 50%", false},
        {143, L"&2: 75%", false},
        {144, L"&3: 100%", false},
        {145, L"&4: 150%", false},
        {146, L"&5: 200%", false},
        {147, L"&6: 300%", false},
        {150, L"そのまま(&D)", false},
        {151, L"&4:3", false},
        {152, L"16:&9", false},
        {155, L"倍率を保持する(&K)", false},
        {156, L"倍率をウィンドウに合わせる(&W)", false},
        {157, L"全画面表示(&F)", true},
        {158, L"常に最前面に表示(&T)", false},
        {159, L"プレイリスト(&P)", false},
        {160, L"メニューバー(&M)", false},
        {161, L"ツールバー(&B)", false},
        {162, L"ステータスバー(&S)", false},
        {163, L"プレイバー(&L)", false},
        {164, L"シークバー(&E)", false},
        {167, L"設定(&N)...", false},
        {168, L"ヘルプ(&H)...", false},
        {169, L"バージョン情報(&A)...", false},
    };
    std::set<UINT> checked;
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        UINT state = GetMenuState(menu_.get(), item.id, MF_BYCOMMAND);
        ASSERT_NE(state, static_cast<UINT>(-1));
        EXPECT_EQ(TextOf(menu_.get(), item.id), item.text);
        EXPECT_EQ((state & MF_GRAYED) != 0, item.grayed);
        checked.insert(item.id);
    }
    // The presets' texts are filled in at start-up; the rest of the table
    // is covered above.
    for (const CommandRow& row : g_commandTable) {
        if (!IsHeading(row) && checked.count(row.id) == 0) {
            EXPECT_GE(row.id, CMD_PRESET_FIRST);
            EXPECT_NE(GetMenuState(menu_.get(), row.id, MF_BYCOMMAND), static_cast<UINT>(-1));
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "app/command_table.h"
#include "app/context_menus.h"
#include "app/menus.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

std::wstring TextAt(HMENU menu, int position) {
    wchar_t text[128] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}
bool Has(HMENU menu, UINT id, UINT flag) {
    return GetMenuState(menu, id, MF_BYCOMMAND) & flag;
}

class ContextMenuTest : public testing::Test {
protected:
    ContextMenu Build(bool fileOpen, bool fullScreen) const {
        return BuildContextMenu(GetModuleHandleW(nullptr), main_.get(), fileOpen, fullScreen,
                                settings_, keys_);
    }
    HMENU File() const { return GetSubMenu(main_.get(), kFileMenu); }

    UniqueMenu main_{LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU))};
    Settings settings_;
    KeyAssignment keys_{kCommandTable};
};

TEST_F(ContextMenuTest, WithAFileItTakesTheMainMenusStatesAndEndsWithTheBars) {
    settings_.showToolbar = false;
    settings_.fullScreenSeekBar = true;
    EnableMenuItem(main_.get(), CMD_PLAY_PAUSE, MF_BYCOMMAND | MF_ENABLED);
    CheckMenuItem(main_.get(), CMD_REPEAT, MF_BYCOMMAND | MF_CHECKED);
    for (bool fullScreen : {false, true}) {
        ContextMenu menu = Build(true, fullScreen);
        HMENU popup = menu.popup();
        ASSERT_NE(popup, nullptr);
        EXPECT_FALSE(Has(popup, CMD_PLAY_PAUSE, MF_GRAYED));
        EXPECT_TRUE(Has(popup, CMD_STOP, MF_GRAYED));
        EXPECT_TRUE(Has(popup, CMD_REPEAT, MF_CHECKED));
        int last = GetMenuItemCount(popup) - 1;
        HMENU bars = GetSubMenu(popup, last);
        ASSERT_NE(bars, nullptr);
        EXPECT_EQ(TextAt(popup, last), L"バー(&A)");
        if (fullScreen) {
            EXPECT_EQ(GetMenuItemCount(bars), 2);
            EXPECT_TRUE(Has(bars, CMD_FULL_SCREEN_SEEK_BAR, MF_CHECKED));
            EXPECT_FALSE(Has(bars, CMD_FULL_SCREEN_PLAY_BAR, MF_CHECKED));
        } else {
            EXPECT_EQ(GetMenuItemCount(bars), 5);
            EXPECT_TRUE(Has(bars, CMD_MENU_BAR, MF_CHECKED));
            EXPECT_FALSE(Has(bars, CMD_TOOLBAR, MF_CHECKED));
        }
    }
}

// The histories are the main menu's own submenus: lent, then taken back
// before the context menu is destroyed, even when it was moved.
TEST_F(ContextMenuTest, WithoutAFileItLendsBothHistoriesBetweenTheSeparators) {
    HMENU files = GetSubMenu(File(), kFileHistoryPosition);
    HMENU folders = GetSubMenu(File(), kFolderHistoryPosition);
    EnableMenuItem(File(), kFolderHistoryPosition, MF_BYPOSITION | MF_ENABLED);
    {
        ContextMenu built = Build(false, false);
        ContextMenu menu(std::move(built));
        HMENU popup = menu.popup();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(GetSubMenu(popup, 2), files);
        EXPECT_EQ(GetSubMenu(popup, 3), folders);
        EXPECT_EQ(TextAt(popup, 3), L"フォルダ履歴から開く(&F)");
        EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
        EXPECT_FALSE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_GRAYED);
        EXPECT_TRUE(GetMenuState(popup, 4, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_TRUE(Has(popup, CMD_STATUS_BAR, MF_CHECKED));
    }
    EXPECT_TRUE(IsMenu(files) && IsMenu(folders));
    EXPECT_EQ(GetSubMenu(File(), kFolderHistoryPosition), folders);
    EXPECT_EQ(GetMenuItemCount(files), 1);
}

TEST_F(ContextMenuTest, WithoutTheMenuBarItLendsTheWholeMainMenu) {
    settings_.showMenuBar = false;
    int fileItems = GetMenuItemCount(File());
    {
        ContextMenu menu = Build(true, false);
        ASSERT_EQ(GetMenuItemCount(menu.popup()), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(GetSubMenu(menu.popup(), i), GetSubMenu(main_.get(), i));
            EXPECT_EQ(TextAt(menu.popup(), i), TextAt(main_.get(), i));
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(IsMenu(GetSubMenu(main_.get(), i))) << i;
    }
    EXPECT_EQ(GetMenuItemCount(File()), fileItems);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

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

UINT StateOf(HMENU menu, UINT id) {
    return GetMenuState(menu, id, MF_BYCOMMAND);
}
bool Grayed(HMENU menu, UINT id) {
    return (StateOf(menu, id) & MF_GRAYED) != 0;
}
bool Checked(HMENU menu, UINT id) {
    return (StateOf(menu, id) & MF_CHECKED) != 0;
}

class ContextMenuTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(main_);
        settings_.showToolbar = false;
        settings_.fullScreenSeekBar = true;
    }
    HMENU File() const { return GetSubMenu(main_.get(), kFileMenu); }
    ContextMenu Build(bool fileOpen, bool fullScreen) const {
        return BuildContextMenu(instance_, main_.get(), fileOpen, fullScreen, settings_);
    }

    HINSTANCE instance_ = GetModuleHandleW(nullptr);
    UniqueMenu main_{LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU))};
    Settings settings_;
};

TEST_F(ContextMenuTest, FileOpenTakesTheMainMenusStatesAndEndsWithTheBars) {
    // As after opening an audio file: playing, no frame steps, repeat on.
    EnableMenuItem(main_.get(), CMD_PLAY_PAUSE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(main_.get(), CMD_STOP, MF_BYCOMMAND | MF_ENABLED);
    CheckMenuItem(main_.get(), CMD_STOP, MF_BYCOMMAND | MF_CHECKED);
    CheckMenuItem(main_.get(), CMD_REPEAT, MF_BYCOMMAND | MF_CHECKED);
    ContextMenu menu = Build(true, false);
    HMENU popup = menu.popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(Grayed(popup, CMD_PLAY_PAUSE));
    EXPECT_TRUE(Checked(popup, CMD_STOP));
    EXPECT_TRUE(Grayed(popup, CMD_PREV_FRAME));
    EXPECT_TRUE(Grayed(popup, CMD_NEXT_FILE));
    EXPECT_TRUE(Checked(popup, CMD_REPEAT));
    EXPECT_FALSE(Checked(popup, CMD_PLAY_PAUSE));

    int last = GetMenuItemCount(popup) - 1;
    HMENU bars = GetSubMenu(popup, last);
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(TextAt(popup, last), L"バー(&A)");
    EXPECT_EQ(GetMenuItemCount(bars), 5);
    EXPECT_TRUE(Checked(bars, CMD_MENU_BAR));
    EXPECT_FALSE(Checked(bars, CMD_TOOLBAR));
    EXPECT_TRUE(Checked(bars, CMD_SEEK_BAR));
}

TEST_F(ContextMenuTest, FullScreenOffersOnlyTheFullScreenBars) {
    ContextMenu menu = Build(true, true);
    HMENU bars = GetSubMenu(menu.popup(), GetMenuItemCount(menu.popup()) - 1);
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(GetMenuItemCount(bars), 2);
    EXPECT_FALSE(Checked(bars, CMD_FULL_SCREEN_PLAY_BAR));
    EXPECT_TRUE(Checked(bars, CMD_FULL_SCREEN_SEEK_BAR));
}

TEST_F(ContextMenuTest, NoFileBorrowsBothHistoriesAndGivesThemBack) {
    HMENU files = GetSubMenu(File(), kFileHistoryPosition);
    HMENU folders = GetSubMenu(File(), kFolderHistoryPosition);
    AppendMenuW(folders, MF_STRING, CMD_FOLDER_HISTORY_FIRST + 1, L"&1: C:\\Media");
    EnableMenuItem(File(), kFolderHistoryPosition, MF_BYPOSITION | MF_ENABLED);
    {
        ContextMenu menu = Build(false, false);
        HMENU popup = menu.popup();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(GetSubMenu(popup, 2), files);
        EXPECT_EQ(GetSubMenu(popup, 3), folders);
        EXPECT_EQ(TextAt(popup, 2), L"ファイル履歴から開く(&R)");
        EXPECT_EQ(TextAt(popup, 3), L"フォルダ履歴から開く(&F)");
        EXPECT_TRUE(GetMenuState(popup, 2, MF_BYPOSITION) & MF_GRAYED);
        EXPECT_FALSE(GetMenuState(popup, 3, MF_BYPOSITION) & MF_GRAYED);
        // Between the separators that frame them.
        EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_TRUE(GetMenuState(popup, 4, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_TRUE(Checked(popup, CMD_STATUS_BAR));
        EXPECT_FALSE(Checked(popup, CMD_TOOLBAR));
    }
    EXPECT_TRUE(IsMenu(files));
    EXPECT_TRUE(IsMenu(folders));
    EXPECT_EQ(GetSubMenu(File(), kFileHistoryPosition), files);
    EXPECT_EQ(GetMenuItemCount(folders), 2);
    EXPECT_EQ(GetMenuItemID(folders, 1), static_cast<UINT>(CMD_FOLDER_HISTORY_FIRST + 1));
}

TEST_F(ContextMenuTest, HiddenMenuBarLendsTheWholeMainMenu) {
    settings_.showMenuBar = false;
    HMENU popups[4];
    for (int i = 0; i < 4; ++i) {
        popups[i] = GetSubMenu(main_.get(), i);
    }
    int fileItems = GetMenuItemCount(popups[0]);
    {
        ContextMenu menu = Build(true, false);
        ASSERT_EQ(GetMenuItemCount(menu.popup()), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(GetSubMenu(menu.popup(), i), popups[i]) << i;
            EXPECT_EQ(TextAt(menu.popup(), i), TextAt(main_.get(), i)) << i;
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(IsMenu(popups[i])) << i;
        EXPECT_EQ(GetSubMenu(main_.get(), i), popups[i]) << i;
    }
    EXPECT_EQ(GetMenuItemCount(popups[0]), fileItems);
    EXPECT_EQ(TextAt(main_.get(), 0), L"ファイル(&F)");
}

// A context menu handed on (returned from the builder) gives the borrowed
// submenus back once, from its last owner.
TEST_F(ContextMenuTest, AMovedMenuGivesTheSubmenusBackOnce) {
    HMENU files = GetSubMenu(File(), kFileHistoryPosition);
    {
        ContextMenu first = Build(false, false);
        ContextMenu second(std::move(first));
        EXPECT_EQ(first.popup(), nullptr);
        EXPECT_EQ(GetSubMenu(second.popup(), 2), files);
    }
    EXPECT_TRUE(IsMenu(files));
}

}  // namespace

// The settings sheet over the main window made inside the test process, as
// command 167 opens it: what OK changes in the player's windows.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>

#include <string>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/open_media.h"
#include "e2e/player.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/sheet_driver.h"

namespace {

class SettingsSheetTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES |
                                                              ICC_TREEVIEW_CLASSES |
                                                              ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        folder_ = new TempFolder;
        app_ = new App;
        app().settingsLocation.path = *folder_ / L"Zephlo.ini";
        WriteBytes(app().settingsLocation.path, "[Settings]\r\n");
        app().settings.playOnOpen = false;
        app().instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterWindowClasses(app().instance));
        app().mainMenu.reset(LoadMenuW(app().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        ASSERT_TRUE(CreateMainWindow(app()));
        ShowWindow(app().window.hwnd, SW_SHOWNORMAL);
        RestoreMainWindowState(app());
    }

    static void TearDownTestSuite() {
        if (app().window.hwnd != nullptr) {
            DestroyWindow(app().window.hwnd);
        }
        FinishAfterMessageLoop(app());
        delete app_;
        delete folder_;
        CoUninitialize();
    }

    // The sheet opens on the page last shown: each test starts on the first.
    void TearDown() override {
        CloseMedia(app());
        app().lastSettingsPage = 0;
    }

    static App& app() { return *app_; }
    static HWND window() { return app().window.hwnd; }
    static void Execute(int id) { ExecuteCommand(app(), id, nullptr, 0); }
    // Command 167 with the script run on the sheet it shows.
    static void Options(const SheetDriver::Script& script) {
        EXPECT_TRUE(SheetDriver::Run([] { Execute(CMD_OPTIONS); }, script));
    }
    static std::wstring Title() { return Player::WindowText(window()); }

    static TempFolder* folder_;
    static App* app_;
};

TempFolder* SettingsSheetTest::folder_ = nullptr;
App* SettingsSheetTest::app_ = nullptr;

TEST_F(SettingsSheetTest, OptionsLeavesFullScreenAndReopensOnTheLastPage) {
    ASSERT_TRUE(OpenMedia(app(), TestMedia(L"red.avi"), false));
    Execute(CMD_FULL_SCREEN);
    ASSERT_TRUE(app().IsFullScreen());
    Options([](SheetDriver& sheet) {
        EXPECT_FALSE(app().IsFullScreen());
        EXPECT_EQ(GetWindow(sheet.sheet(), GW_OWNER), window());
        EXPECT_FALSE(IsWindowEnabled(window()));
        sheet.ShowPage(3);
    });
    EXPECT_EQ(app().lastSettingsPage, 3);
    EXPECT_TRUE(IsWindowEnabled(window()));
    Options([](SheetDriver& sheet) { EXPECT_EQ(sheet.pagePosition(), 3); });
    app().lastSettingsPage = 0;
}

// A back-end of the other kind opens the open file again.
TEST_F(SettingsSheetTest, SwitchingTheBackEndKeepsTheOpenFileOpen) {
    const std::wstring path = TestMedia(L"tone.wav");
    ASSERT_TRUE(OpenMedia(app(), path, false));
    const std::wstring title = Title();
    for (int device : {0, 1}) {
        SCOPED_TRACE(device);
        Options([device](SheetDriver& sheet) {
            sheet.SetCheck(device == 0 ? IDC_GENERAL_MCI : IDC_GENERAL_DIRECTSHOW, true);
            sheet.SetCheck(device == 0 ? IDC_GENERAL_DIRECTSHOW : IDC_GENERAL_MCI, false);
            sheet.PressOk();
        });
        EXPECT_EQ(app().settings.mediaDevice, device);
        EXPECT_EQ(app().media()->device, device);
        EXPECT_TRUE(app().IsOpen());
        EXPECT_EQ(app().media()->fileName, path);
        EXPECT_EQ(Title(), title);
        EXPECT_TRUE((GetMenuState(app().mainMenu.get(), CMD_CLOSE, MF_BYCOMMAND) & MF_GRAYED) == 0);
    }
}

TEST_F(SettingsSheetTest, OkPushesTheChangesToTheWindows) {
    ASSERT_TRUE(OpenMedia(app(), TestMedia(L"tone.wav"), false));
    ASSERT_GT(app().fileHistory.Count(), 0);
    // Preset 1 carries a shortcut, which its rebuilt item must keep showing.
    KeyBindingSet keys = app().keys.bindings();
    keys[FindCommandRow(app().keys.commands(), CMD_PRESET_FIRST)] = {kCtrl, '1'};
    app().keys.Apply(keys, false, app().mainMenu.get());
    Options([](SheetDriver& sheet) {
        sheet.SelectDropDown(IDC_GENERAL_TITLE_FORMAT, 2);
        sheet.SetCheck(IDC_GENERAL_SHOW_TOOL_TIPS, false);
        sheet.ShowPage(1);
        sheet.Click(IDC_HISTORY_CLEAR_FILES);
        EXPECT_EQ(app().fileHistory.Count(), 0);
        sheet.SetText(IDC_HISTORY_MAX_FOLDERS, L"2");
        sheet.ShowPage(2);
        sheet.SetText(IDC_PLAYER_FORWARD_SPEED, L"300");
        sheet.SetCheck(IDC_PLAYER_FIT_TO_DISPLAY, true);
        sheet.ShowPage(3);
        sheet.SelectDropDown(IDC_PLAYLIST_FILE_NAME, 1);
        sheet.SelectRow(IDC_PRESET_LIST, 0);
        sheet.SetText(IDC_PRESET_NAME, L"映画");
        sheet.PressOk();
    });
    EXPECT_EQ(Title(), L"Zephlo");
    EXPECT_FALSE(app().media()->toolTipLook.active);
    EXPECT_EQ(app().folderHistory.maxCount(), 2);
    EXPECT_EQ(app().media()->forwardSpeed, 3000);
    EXPECT_TRUE(app().media()->fitToDisplay);
    EXPECT_EQ(app().playlist.displayMode(), 1);
    HMENU presets = SubMenuAt(app().mainMenu.get(), kViewMenu, kPresetPosition);
    wchar_t text[64] = L"";
    GetMenuStringW(presets, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&1: 映画\tCtrl+1");
    // The file history's menu item is greyed once the list is empty.
    EXPECT_TRUE(GetMenuState(GetSubMenu(app().mainMenu.get(), kFileMenu), kFileHistoryPosition,
                             MF_BYPOSITION) &
                MF_GRAYED);
}

}  // namespace

// The appearance page over the main window made inside the test process,
// with the application's own host: what Preview, Cancel and OK show in the
// player's windows, read back from their pixels.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/settings_host.h"
#include "app/toolbar_theme.h"
#include "base/paths.h"
#include "e2e/player.h"
#include "resources/resource.h"
#include "settings/page_appearance.h"
#include "settings/settings.h"
#include "support/sheet_driver.h"

namespace {

// The colours the windows show, each read from a pixel of an empty area.
struct Shown {
    COLORREF canvas;
    COLORREF statusBar;
    COLORREF playlist;

    bool operator==(const Shown& other) const {
        return canvas == other.canvas && statusBar == other.statusBar && playlist == other.playlist;
    }
};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << std::hex << "{canvas " << shown.canvas << ", status bar " << shown.statusBar
         << ", playlist " << shown.playlist << "}";
}

COLORREF PixelOf(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

const char kDarkTheme[] =
    "[ColorScheme]\r\nBackground=#101820\r\nStatusBg=#202830\r\nPlaylistBg=#303840\r\n";
const char kLightTheme[] =
    "[ColorScheme]\r\nBackground=#F0F0E0\r\nStatusBg=White\r\nPlaylistBg=#E0F0F0\r\n"
    "StatusText=Black\r\nPlaylistText=#202020\r\n[Plugin]\r\nFile=Glossy.zpres\r\n";

class AppearanceTest : public testing::Test {
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
        app().settings.showPlaylist = true;
        app().instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterWindowClasses(app().instance));
        app().mainMenu.reset(LoadMenuW(app().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        ASSERT_TRUE(CreateMainWindow(app()));
        ShowWindow(app().window.hwnd, SW_SHOWNORMAL);
        RestoreMainWindowState(app());
        ASSERT_NE(app().playlist.window(), nullptr);
        ASSERT_TRUE(IsWindowVisible(app().playlist.window()));

        ASSERT_TRUE(CreateDirectoryW(themes().c_str(), nullptr));
        ASSERT_TRUE(CopyFileW((BuildFolder() + L"\\Themes\\Glossy.zpres").c_str(),
                              PathJoin(themes(), L"Glossy.zpres").c_str(), FALSE));
        ASSERT_TRUE(WriteBytes(PathJoin(themes(), L"dark.zptheme"), kDarkTheme));
        ASSERT_TRUE(WriteBytes(PathJoin(themes(), L"light.zptheme"), kLightTheme));
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

    static App& app() { return *app_; }
    static std::wstring themes() { return *folder_ / L"Themes"; }

    // The sheet with the appearance page over the test's Themes folder.
    static bool ShowAppearance(const SheetDriver::Script& script) {
        AppSettingsHost host(app());
        SettingsPageContext context{app().settings, app().settingsLocation, host};
        std::vector<SettingsPageEntry> pages = {
            AppearancePageEntry(context, themes(), app().chooserColours)};
        bool ok = false;
        EXPECT_TRUE(SheetDriver::Run(
            [&] {
                ok = ShowSettingsDialog(app().window.hwnd, pages, host, app().lastSettingsPage);
            },
            script));
        return ok;
    }

    static Shown WhatTheWindowsShow() {
        const StatusBarState& status = app().window.statusBar;
        RECT list;
        GetClientRect(app().playlist.listBox(), &list);
        return {PixelOf(app().media()->canvas, 2, 2),
                PixelOf(status.hwnd, status.panes[1].x - 4, status.windowHeight / 2),
                PixelOf(app().playlist.listBox(), list.right - 4, list.bottom - 4)};
    }

    static TempFolder* folder_;
    static App* app_;
};

TempFolder* AppearanceTest::folder_ = nullptr;
App* AppearanceTest::app_ = nullptr;

TEST_F(AppearanceTest, PreviewShowsAThemeAndCancelRestoresWhatWasShown) {
    const Shown before = WhatTheWindowsShow();
    ASSERT_EQ(before.canvas, RGB(0, 0, 0));
    const Settings settingsBefore = app().settings;
    bool ok = ShowAppearance([&](SheetDriver& sheet) {
        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 1);
        EXPECT_EQ(WhatTheWindowsShow(), before);
        sheet.Click(IDC_APPEARANCE_PREVIEW);
        const Shown dark = {RGB(0x10, 0x18, 0x20), RGB(0x20, 0x28, 0x30), RGB(0x30, 0x38, 0x40)};
        EXPECT_EQ(WhatTheWindowsShow(), dark);
        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 2);
        sheet.Click(IDC_APPEARANCE_PREVIEW);
        EXPECT_EQ(WhatTheWindowsShow().canvas, RGB(0xF0, 0xF0, 0xE0));
        sheet.PressCancel();
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(WhatTheWindowsShow(), before);
    EXPECT_EQ(app().settings.colours[kBackground], settingsBefore.colours[kBackground]);
    EXPECT_EQ(app().settings.curThemeFile, L"");
    EXPECT_FALSE(app().toolbarImages[kMainToolbarSet].normal);
}

TEST_F(AppearanceTest, OkAppliesTheThemeWithItsToolbarPictures) {
    bool ok = ShowAppearance([&](SheetDriver& sheet) {
        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 2);
        sheet.PressOk();
    });
    EXPECT_TRUE(ok);
    const Shown light = {RGB(0xF0, 0xF0, 0xE0), RGB(0xFF, 0xFF, 0xFF), RGB(0xE0, 0xF0, 0xF0)};
    EXPECT_EQ(WhatTheWindowsShow(), light);
    EXPECT_EQ(app().window.statusBar.textColour, RGB(0, 0, 0));
    EXPECT_EQ(app().settings.curThemeFile, L"light.zptheme");
    EXPECT_EQ(app().settings.themePlugin, L"Glossy.zpres");
    EXPECT_TRUE(app().toolbarImages[kMainToolbarSet].normal);

    // Back to the program's own pictures and the default colours.
    ShowAppearance([&](SheetDriver& sheet) {
        sheet.SelectRow(IDC_APPEARANCE_PLUGINS, 0);
        for (int entry : {kBackground, kStatusBg, kPlaylistBg}) {
            HWND list = sheet.Control(IDC_APPEARANCE_COLOURS);
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            SendMessageW(sheet.page(), WM_COMMAND,
                         MAKEWPARAM(IDC_APPEARANCE_COLOURS, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 1);
        }
        sheet.PressOk();
    });
    EXPECT_EQ(WhatTheWindowsShow(), (Shown{0, 0, 0}));
    EXPECT_EQ(app().settings.curThemeFile, L"");
    EXPECT_EQ(app().settings.themePlugin, L"");
    EXPECT_FALSE(app().toolbarImages[kMainToolbarSet].normal);
}

// Command 167 shows the page fifth, over the Themes folder beside the
// program (none beside the test).
TEST_F(AppearanceTest, TheSettingsSheetShowsThePageFifth) {
    EXPECT_TRUE(SheetDriver::Run(
        [] { ExecuteCommand(app(), CMD_OPTIONS, nullptr, 0); },
        [](SheetDriver& sheet) {
            HWND page = sheet.ShowPage(4);
            EXPECT_NE(GetDlgItem(page, IDC_APPEARANCE_COLOURS), nullptr);
            EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 0);
            EXPECT_EQ(ListView_GetItemCount(sheet.Control(IDC_APPEARANCE_PLUGINS)), 1);
        }));
    EXPECT_EQ(app().lastSettingsPage, 4);
    app().lastSettingsPage = 0;
}

}  // namespace

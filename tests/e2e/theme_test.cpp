// The toolbars' pictures from theme plug-ins: the main window made in the test
// process as start-up makes it with "ThemePlugin" set, applying choices as the
// appearance page does, turning the tool tips off and on; and the real program
// started with a plug-in, a missing one and a name with a path.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/toolbar_theme.h"
#include "e2e/player.h"
#include "settings/theme_plugins.h"

namespace {

constexpr int kImageCounts[kToolbarSetCount] = {10, 9, 9};

std::wstring ThemesFolder() {
    return BuildFolder() + L"\\Themes";
}

std::wstring TestPluginsFolder() {
    return BuildFolder() + L"\\tests\\plugins";
}

// The main window and its children made in this process from the settings,
// as start-up makes them: the theme's pictures first, then the window.
class ThemedPlayer {
public:
    ThemedPlayer(const std::wstring& themesFolder, const std::wstring& plugin)
        : app_(std::make_unique<App>()) {
        App& a = *app_;
        a.instance = GetModuleHandleW(nullptr);
        a.settingsLocation.path = folder_ / L"Zephlo.ini";
        WriteBytes(a.settingsLocation.path, "[Settings]\r\n");
        a.settings.themePlugin = plugin;
        ThemePictures theme = LoadStartupTheme(themesFolder, plugin);
        a.toolbarImages = std::move(theme.sets);
        a.mainMenu.reset(LoadMenuW(a.instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        if (!CreateMainWindow(a)) {
            return;
        }
        if (theme.idlePicture) {
            a.media()->SetLogo(theme.idlePicture.release());
        }
        ShowWindow(a.window.hwnd, SW_SHOWNORMAL);
        UpdateWindow(a.window.hwnd);
        RestoreMainWindowState(a);
    }
    ~ThemedPlayer() {
        if (app_->window.hwnd != nullptr) {
            DestroyWindow(app_->window.hwnd);
        }
        FinishAfterMessageLoop(*app_);
    }
    ThemedPlayer(const ThemedPlayer&) = delete;
    ThemedPlayer& operator=(const ThemedPlayer&) = delete;

    App& app() { return *app_; }
    bool created() const { return app_->window.hwnd != nullptr; }
    // The three toolbars, in the order of the image sets.
    std::vector<HWND> toolbars() const {
        return {app_->window.toolbar, app_->media()->playBar, app_->playlist.toolbar()};
    }

private:
    TempFolder folder_;
    std::unique_ptr<App> app_;
};

HIMAGELIST ImagesOf(HWND toolbar) {
    return reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
}

SIZE ButtonSize(HWND toolbar) {
    auto size = static_cast<DWORD>(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
    return {LOWORD(size), HIWORD(size)};
}

SIZE IdlePictureSize(const MediaWindow& media) {
    BITMAP picture{};
    GetObjectW(media.logo.get(), sizeof picture, &picture);
    return {picture.bmWidth, picture.bmHeight};
}

struct Expected {
    SIZE images[kToolbarSetCount];
    bool fromTheme[kToolbarSetCount];
};

constexpr Expected kOwnPictures = {{{16, 16}, {16, 15}, {16, 16}}, {false, false, false}};
constexpr Expected kGlossy = {{{16, 16}, {16, 16}, {16, 16}}, {true, true, true}};
constexpr Expected kSmall = {{{8, 8}, {8, 8}, {8, 8}}, {true, true, true}};
constexpr Expected kClassic = {{{16, 15}, {16, 16}, {16, 15}}, {true, true, true}};
constexpr Expected kMainToolbarOnly = {{{16, 15}, {16, 15}, {16, 16}}, {true, false, false}};

// Each toolbar shows the App's set when it comes from the theme, else the
// program's own strip: image size and count.
void ExpectPictures(ThemedPlayer& player, const Expected& expected) {
    std::vector<HWND> toolbars = player.toolbars();
    for (int set = 0; set < kToolbarSetCount; ++set) {
        SCOPED_TRACE(set);
        HWND toolbar = toolbars[static_cast<std::size_t>(set)];
        ASSERT_NE(toolbar, nullptr);
        HIMAGELIST images = ImagesOf(toolbar);
        HIMAGELIST theme = player.app().toolbarImages[set].normal.get();
        EXPECT_EQ(theme != nullptr, expected.fromTheme[set]);
        if (expected.fromTheme[set]) {
            EXPECT_EQ(images, theme);
        }
        int width = 0;
        int height = 0;
        ASSERT_TRUE(ImageListSize(images, width, height));
        EXPECT_EQ(width, expected.images[set].cx);
        EXPECT_EQ(height, expected.images[set].cy);
        EXPECT_EQ(ImageList_GetImageCount(images), kImageCounts[set]);
    }
}

class ThemeTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES |
                                                              ICC_TREEVIEW_CLASSES |
                                                              ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(RegisterWindowClasses(GetModuleHandleW(nullptr)));
    }
    static void TearDownTestSuite() { CoUninitialize(); }
};

// Start-up with "ThemePlugin" naming each delivered plug-in, none, and a
// plug-in that has only the main toolbar's set; with Small the main toolbar's
// buttons are 8 pixels smaller each way than with the program's 16 x 16 images.
TEST_F(ThemeTest, StartUpGivesEachToolbarItsSet) {
    struct Case {
        std::wstring folder;
        const wchar_t* plugin;
        Expected expected;
    };
    const Case cases[] = {
        {ThemesFolder(), L"", kOwnPictures},
        {ThemesFolder(), L"Glossy.zpres", kGlossy},
        {ThemesFolder(), L"Small.zpres", kSmall},
        {ThemesFolder(), L"Classic.zpres", kClassic},
        {TestPluginsFolder(), L"MainToolbarOnly.zpres", kMainToolbarOnly},
    };
    SIZE ownButtons{};
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.plugin));
        ThemedPlayer player(c.folder, c.plugin);
        ASSERT_TRUE(player.created());
        ExpectPictures(player, c.expected);
        SIZE buttons = ButtonSize(player.app().window.toolbar);
        if (c.plugin[0] == L'\0') {
            ownButtons = buttons;
        } else if (c.expected.images[0].cx == 8) {
            EXPECT_EQ(buttons.cx, ownButtons.cx - 8);
            EXPECT_EQ(buttons.cy, ownButtons.cy - 8);
        }
        EXPECT_EQ(player.app().settings.themePlugin, c.plugin);
    }
}

// The states a toolbar's buttons have, by command, for all three toolbars.
std::vector<std::vector<LRESULT>> ButtonStates(ThemedPlayer& player) {
    std::vector<std::vector<LRESULT>> states;
    for (HWND toolbar : player.toolbars()) {
        std::vector<LRESULT> bar;
        auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&button));
            bar.push_back(
                button.idCommand == 0
                    ? 0
                    : SendMessageW(toolbar, TB_GETSTATE, static_cast<WPARAM>(button.idCommand), 0));
        }
        states.push_back(bar);
    }
    return states;
}

// Choices in turn, as the appearance page makes them: every toolbar is rebuilt
// with the chosen pictures and keeps its buttons' states; "標準" restores the
// program's own pictures and idle picture, and does nothing when they are in
// use already.
TEST_F(ThemeTest, ApplyingAChoiceRebuildsTheToolbarsKeepingTheirStates) {
    ThemedPlayer player(TestPluginsFolder(), L"IdlePicture.zpres");
    ASSERT_TRUE(player.created());
    App& app = player.app();
    const SIZE ownIdlePicture = {160, 60};
    const SIZE themeIdlePicture = {160, 15};
    EXPECT_EQ(IdlePictureSize(*app.media()).cy, themeIdlePicture.cy);

    // States unlike the initial ones on each toolbar.
    SendMessageW(app.window.toolbar, TB_ENABLEBUTTON, CMD_OPTIONS, FALSE);
    SendMessageW(app.window.toolbar, TB_CHECKBUTTON, CMD_ALWAYS_ON_TOP, TRUE);
    SendMessageW(app.media()->playBar, TB_CHECKBUTTON, CMD_MUTE, TRUE);
    SendMessageW(app.media()->playBar, TB_ENABLEBUTTON, CMD_STOP, TRUE);
    SendMessageW(app.playlist.toolbar(), TB_ENABLEBUTTON, CMD_OPEN_PLAYLIST, FALSE);
    const std::vector<std::vector<LRESULT>> states = ButtonStates(player);

    PluginList plugins;
    ASSERT_TRUE(EnumerateThemePlugins(ThemesFolder(), plugins));
    PluginList tests;
    ASSERT_TRUE(EnumerateThemePlugins(TestPluginsFolder(), tests));
    auto find = [](const PluginList& list, const wchar_t* name) -> const PluginRecord* {
        for (const PluginRecord& record : list) {
            if (record.details.name == name) {
                return &record;
            }
        }
        return nullptr;
    };
    struct Step {
        const PluginRecord* choice;  // null: "標準"
        bool rebuilds;
        Expected expected;
        const wchar_t* setting;
        SIZE idlePicture;
    };
    const Step steps[] = {
        {nullptr, true, kOwnPictures, L"", ownIdlePicture},
        {nullptr, false, kOwnPictures, L"", ownIdlePicture},
        {find(plugins, L"Small"), true, kSmall, L"Small.zpres", ownIdlePicture},
        {find(tests, L"Idle picture"), true, kClassic, L"IdlePicture.zpres", themeIdlePicture},
        {find(tests, L"Main toolbar only"), true, kMainToolbarOnly, L"MainToolbarOnly.zpres",
         ownIdlePicture},
        {find(plugins, L"Glossy"), true, kGlossy, L"Glossy.zpres", ownIdlePicture},
        {nullptr, true, kOwnPictures, L"", ownIdlePicture},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(ToUtf8(step.setting) + (step.rebuilds ? "" : " again"));
        const std::vector<HWND> before = player.toolbars();
        ApplyThemeChoice(app, step.choice);
        const std::vector<HWND> after = player.toolbars();
        for (std::size_t bar = 0; bar < after.size(); ++bar) {
            EXPECT_EQ(after[bar] != before[bar], step.rebuilds) << bar;
            EXPECT_FALSE(IsWindow(before[bar]) && step.rebuilds) << bar;
        }
        ExpectPictures(player, step.expected);
        EXPECT_EQ(ButtonStates(player), states);
        EXPECT_EQ(app.settings.themePlugin, step.setting);
        SIZE idle = IdlePictureSize(*app.media());
        EXPECT_EQ(idle.cx, step.idlePicture.cx);
        EXPECT_EQ(idle.cy, step.idlePicture.cy);
        // The main window is laid out for the new toolbar's height.
        RECT toolbar;
        RECT media;
        GetWindowRect(app.window.toolbar, &toolbar);
        GetWindowRect(app.media()->mediaWindow, &media);
        EXPECT_EQ(media.top, toolbar.bottom);
    }
}

// TTM_ACTIVATE messages sent to tool tip windows of this thread.
std::vector<std::pair<HWND, WPARAM>> g_activations;

LRESULT CALLBACK RecordActivation(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == TTM_ACTIVATE) {
        g_activations.emplace_back(message->hwnd, message->wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The last activation each toolbar's tool tip window got; -1 for none.
std::vector<int> LastActivations(ThemedPlayer& player) {
    std::vector<int> result;
    for (HWND toolbar : player.toolbars()) {
        auto tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        int last = -1;
        for (const auto& [window, active] : g_activations) {
            if (tips != nullptr && window == tips) {
                last = active != 0 ? 1 : 0;
            }
        }
        result.push_back(last);
    }
    return result;
}

// Tool tips turned off reach all three toolbars, and the toolbars rebuilt
// for a theme make theirs off too, until they are turned on again.
TEST_F(ThemeTest, ToolTipsTurnOffAndOnOnEveryToolbarAcrossARebuild) {
    ThemedPlayer player(ThemesFolder(), L"");
    ASSERT_TRUE(player.created());
    App& app = player.app();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordActivation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const std::vector<int> off = {0, 0, 0};
    const std::vector<int> on = {1, 1, 1};

    SetToolbarToolTips(app, false);
    EXPECT_FALSE(app.settings.showToolTips);
    EXPECT_EQ(LastActivations(player), off);

    PluginRecord glossy;
    ASSERT_TRUE(LoadThemePlugin(glossy, ThemesFolder() + L"\\Glossy.zpres"));
    g_activations.clear();
    ApplyThemeChoice(app, &glossy);
    EXPECT_EQ(LastActivations(player), off);

    SetToolbarToolTips(app, true);
    EXPECT_TRUE(app.settings.showToolTips);
    EXPECT_EQ(LastActivations(player), on);
    UnhookWindowsHookEx(hook);
}

// The real program: "ThemePlugin" is looked for only in the Themes folder
// beside it. A missing plug-in or a name with a path gives the program's own
// pictures, without a message, and the setting is written back as it was.
TEST(ThemeStartUp, TheProgramLoadsOnlyAPluginOfItsThemesFolder) {
    struct Case {
        const wchar_t* setting;
        const wchar_t* copyTo;  // where Small.zpres is put, under the program's folder
        bool small;
    };
    const Case cases[] = {
        {L"Missing.zpres", nullptr, false},
        {L"..\\Small.zpres", L"Small.zpres", false},
        {L"Small.zpres", L"Themes\\Small.zpres", true},
    };
    SIZE ownButtons{};
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.setting));
        Player player;
        ASSERT_TRUE(CreateDirectoryW((player.programFolder() + L"\\Themes").c_str(), nullptr));
        if (c.copyTo != nullptr) {
            ASSERT_TRUE(CopyFileW((ThemesFolder() + L"\\Small.zpres").c_str(),
                                  (player.programFolder() + L"\\" + c.copyTo).c_str(), FALSE));
        }
        ASSERT_TRUE(player.WriteSharedIni(
            "[Settings]\r\nKeepSingleTask=no\r\nThemePlugin=" + ToUtf8(c.setting) + "\r\n"));
        ASSERT_TRUE(player.Start());
        HWND window = player.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(player.CountWindows(L"#32770"), 0);
        SIZE buttons = ButtonSize(GetDlgItem(window, ID_MAIN_TOOLBAR));
        if (!c.small) {
            ownButtons = buttons;
        } else {
            EXPECT_EQ(buttons.cx, ownButtons.cx - 8);
            EXPECT_EQ(buttons.cy, ownButtons.cy - 8);
        }
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Settings", L"ThemePlugin"), c.setting);
    }
}

}  // namespace

// The main window created inside the test process, as start-up creates it,
// with real files opened through the DirectShow back-end: which commands are
// enabled and marked, zoom, always-on-top, bars, presets and the playlist made
// from a folder.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/open_media.h"
#include "e2e/player.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/colours.h"
#include "settings/settings.h"

namespace {

constexpr std::uint32_t kTipTextRgb = 0x102030;
constexpr std::uint32_t kTipBackgroundRgb = 0xE0F0C0;

// The main window of the whole test program, made once.
class MainWindowTest : public testing::Test {
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
        app().settings = Settings{};
        app().settings.playOnOpen = false;
        app().settings.colours[kTipText] = MakePaletteColour(0, kTipTextRgb);
        app().settings.colours[kTipBg] = MakePaletteColour(0, kTipBackgroundRgb);
        app().instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterWindowClasses(app().instance));
        app().mainMenu.reset(LoadMenuW(app().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        ASSERT_NE(app().mainMenu.get(), nullptr);
        ASSERT_TRUE(CreateMainWindow(app()));
        ShowWindow(app().window.hwnd, SW_SHOWNORMAL);
        UpdateWindow(app().window.hwnd);
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

    void SetUp() override { ASSERT_NE(app().window.hwnd, nullptr); }
    void TearDown() override { CloseMedia(app()); }

    static App& app() { return *app_; }
    static HWND window() { return app().window.hwnd; }
    static void Execute(int id) { ExecuteCommand(app(), id, nullptr, 0); }

    static bool Open(const wchar_t* file) { return OpenMedia(app(), TestMedia(file), false); }

    static UINT State(int id) { return GetMenuState(app().mainMenu.get(), id, MF_BYCOMMAND); }
    static bool Enabled(int id) { return (State(id) & MF_GRAYED) == 0; }
    static bool Checked(int id) { return (State(id) & MF_CHECKED) != 0; }
    static bool SubMenuEnabled(int top, int position) {
        return (GetMenuState(GetSubMenu(app().mainMenu.get(), top), position, MF_BYPOSITION) &
                MF_GRAYED) == 0;
    }
    static std::wstring Pane(int pane) { return StatusPanes(window()).at(pane); }
    static bool WaitForState(const wchar_t* text) {
        return PumpUntil([&] { return Pane(0) == text; }, 10000);
    }
    static RECT WindowRect() {
        RECT r;
        GetWindowRect(window(), &r);
        return r;
    }

    static TempFolder* folder_;
    static App* app_;
};

TempFolder* MainWindowTest::folder_ = nullptr;
App* MainWindowTest::app_ = nullptr;

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// Toolbars may make their tooltips only when first asked for them (nothing
// asks at start-up); however late they come, they take the tip colours.
TEST_F(MainWindowTest, EveryToolbarsTooltipsTakeTheTipColours) {
    const HWND toolbars[] = {app().window.toolbar, app().media()->playBar,
                             app().playlist.toolbar()};
    for (HWND toolbar : toolbars) {
        ASSERT_NE(toolbar, nullptr);
        auto tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        ASSERT_NE(tips, nullptr);
        EXPECT_EQ(RGB(0x10, 0x20, 0x30), SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0));
        EXPECT_EQ(RGB(0xE0, 0xF0, 0xC0), SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0));
    }
}

TEST_F(MainWindowTest, EnabledCommandsFollowWhatIsOpen) {
    const int fileCommands[] = {CMD_CLOSE,     CMD_PLAY_PAUSE,    CMD_HOME,
                                CMD_END,       CMD_BACKWARD,      CMD_FORWARD,
                                CMD_NEXT_FILE, CMD_PREV_FILE,     CMD_FULL_SCREEN,
                                CMD_REFRESH,   CMD_MAKE_PLAYLIST, CMD_ADD_TO_PLAYLIST};
    const int videoCommands[] = {CMD_PREV_FRAME, CMD_NEXT_FRAME, CMD_ZOOM_IN, CMD_ZOOM_OUT};
    struct Case {
        const wchar_t* file;  // null: closed
        bool video;
        bool audio;
    } cases[] = {
        {L"tone.wav", false, true},
        {L"red.avi", true, false},
        {L"av.avi", true, true},
        {nullptr, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file != nullptr ? ToUtf8(c.file) : "closed");
        if (c.file != nullptr) {
            ASSERT_TRUE(Open(c.file));
        } else {
            Execute(CMD_CLOSE);
        }
        bool open = c.file != nullptr;
        for (int id : fileCommands) {
            EXPECT_EQ(Enabled(id), open) << id;
        }
        for (int id : videoCommands) {
            EXPECT_EQ(Enabled(id), c.video) << id;
        }
        EXPECT_FALSE(Enabled(CMD_STOP));
        EXPECT_FALSE(Checked(CMD_STOP));
        EXPECT_EQ(SubMenuEnabled(kViewMenu, kZoomPosition), c.video);
        EXPECT_EQ(SubMenuEnabled(kViewMenu, kAspectPosition), c.video);
        EXPECT_EQ(SubMenuEnabled(kPlayMenu, kVolumePosition), c.audio);
        if (c.video) {
            EXPECT_TRUE(Checked(CMD_ZOOM_100));
            EXPECT_TRUE(Checked(CMD_ASPECT_DEFAULT));
        }
        EXPECT_EQ(SendMessageW(app().window.toolbar, TB_ISBUTTONENABLED, CMD_ZOOM_IN, 0) != 0,
                  c.video);
        EXPECT_EQ(SendMessageW(app().window.toolbar, TB_ISBUTTONENABLED, CMD_NEXT_FILE, 0) != 0,
                  open);
    }
}

TEST_F(MainWindowTest, PlaybackStatesMarkStopAndTheFrameSteps) {
    struct Step {
        int command;
        const wchar_t* pane;
        bool stopEnabled;
        bool stopChecked;
    } steps[] = {
        {CMD_PLAY_PAUSE, L"再生中", true, false},
        {CMD_PLAY_PAUSE, L"一時停止中", true, false},
        {CMD_STOP, L"停止中", false, true},
        {CMD_PLAY_PAUSE, L"再生中", true, false},
    };
    for (const wchar_t* file : {L"av.avi", L"tone.wav"}) {
        SCOPED_TRACE(ToUtf8(file));
        ASSERT_TRUE(Open(file));
        bool video = app().media()->media->hasVideo();
        for (const Step& step : steps) {
            SCOPED_TRACE(ToUtf8(step.pane));
            Execute(step.command);
            ASSERT_TRUE(WaitForState(step.pane));
            EXPECT_EQ(Enabled(CMD_STOP), step.stopEnabled);
            EXPECT_EQ(Checked(CMD_STOP), step.stopChecked);
            bool stepsEnabled = video && lstrcmpW(step.pane, L"再生中") != 0;
            EXPECT_EQ(Enabled(CMD_PREV_FRAME), stepsEnabled);
            EXPECT_EQ(Enabled(CMD_NEXT_FRAME), stepsEnabled);
        }
        Execute(CMD_CLOSE);
        EXPECT_EQ(Pane(0), L"");
    }
}

// Keyboards with separate Play and Pause keys: the keys act as the play bar's
// buttons, whichever state playback is in.
TEST_F(MainWindowTest, MediaKeysPlayAndPauseActAsThePlayBarButtons) {
    struct Step {
        int appCommand;
        const wchar_t* pane;
        int checkedButton;
    } steps[] = {
        {APPCOMMAND_MEDIA_PLAY, L"再生中", CMD_PLAY},
        {APPCOMMAND_MEDIA_PAUSE, L"一時停止中", CMD_PAUSE},
        {APPCOMMAND_MEDIA_PLAY, L"再生中", CMD_PLAY},
        {APPCOMMAND_MEDIA_PAUSE, L"一時停止中", CMD_PAUSE},
    };
    ASSERT_TRUE(Open(L"tone.wav"));
    HWND playBar = app().media()->playBar;
    for (const Step& step : steps) {
        SCOPED_TRACE(ToUtf8(step.pane));
        EXPECT_EQ(SendMessageW(window(), WM_APPCOMMAND, reinterpret_cast<WPARAM>(window()),
                               MAKELPARAM(0, step.appCommand)),
                  TRUE);
        ASSERT_TRUE(WaitForState(step.pane));
        EXPECT_NE(SendMessageW(playBar, TB_ISBUTTONCHECKED, step.checkedButton, 0), 0);
    }
}

TEST_F(MainWindowTest, ZoomCommandsClampMarkPresetsAndSizeTheWindow) {
    ASSERT_TRUE(Open(L"red.avi"));
    const SIZE atFull = ClientSize(window());
    struct Step {
        int startZoom;  // 0: keep
        int command;
        int zoom;
        int checked;  // the zoom item checked, 0 for none
    } steps[] = {
        {990, CMD_ZOOM_IN, 1000, 0},          {10, CMD_ZOOM_OUT, 1, 0},
        {100, CMD_ZOOM_IN, 120, 0},           {0, CMD_ZOOM_OUT, 100, CMD_ZOOM_100},
        {0, CMD_ZOOM_300, 300, CMD_ZOOM_300}, {0, CMD_ZOOM_50, 50, CMD_ZOOM_50},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        if (step.startZoom != 0) {
            ASSERT_TRUE(app().media()->SetZoom(step.startZoom));
        }
        Execute(step.command);
        EXPECT_EQ(app().media()->zoom, step.zoom);
        EXPECT_EQ(Pane(1), L"320 x 240 (" + std::to_wstring(step.zoom) + L"%)");
        for (int id = CMD_ZOOM_50; id <= CMD_ZOOM_300; ++id) {
            EXPECT_EQ(Checked(id), id == step.checked) << id;
        }
    }
    // At 50 % the picture is 160 x 120: the content keeps its 320 pixels of width.
    EXPECT_EQ(ClientSize(window()).cx, atFull.cx);
    EXPECT_EQ(atFull.cy - ClientSize(window()).cy, 120);
    Execute(CMD_ZOOM_150);
    EXPECT_EQ(ClientSize(window()).cx - atFull.cx, 160);
    EXPECT_EQ(ClientSize(window()).cy - atFull.cy, 120);

    // A zoom command switches fitting to the window off first.
    Execute(CMD_FIT_TO_WINDOW);
    ASSERT_TRUE(app().settings.fitToWindow);
    EXPECT_TRUE(Checked(CMD_FIT_TO_WINDOW));
    Execute(CMD_ZOOM_IN);
    EXPECT_FALSE(app().settings.fitToWindow);
    EXPECT_FALSE(Checked(CMD_FIT_TO_WINDOW));
    EXPECT_FALSE(app().media()->fitToWindow);
}

TEST_F(MainWindowTest, KeptZoomCarriesOverToTheNextVideo) {
    Execute(CMD_KEEP_ZOOM);
    ASSERT_TRUE(app().settings.keepZoomRate);
    ASSERT_TRUE(Open(L"red.avi"));
    Execute(CMD_ZOOM_200);
    ASSERT_TRUE(Open(L"tone.wav"));  // closing the video remembers its zoom
    ASSERT_TRUE(Open(L"av.avi"));
    EXPECT_EQ(app().media()->zoom, 200);
    EXPECT_EQ(Pane(1), L"320 x 240 (200%)");
    EXPECT_TRUE(Checked(CMD_ZOOM_200));
    Execute(CMD_KEEP_ZOOM);
    EXPECT_FALSE(app().settings.keepZoomRate);
}

TEST_F(MainWindowTest, FittingToTheWindowKeepsItsSizeWhenAVideoOpens) {
    Execute(CMD_FIT_TO_WINDOW);
    ASSERT_TRUE(app().settings.fitToWindow);
    ASSERT_TRUE(Open(L"tone.wav"));
    const RECT audio = WindowRect();
    ASSERT_TRUE(Open(L"red.avi"));
    EXPECT_TRUE(WindowRect() == audio);
    // The zoom is whatever fits; the size pane and the marks follow it.
    EXPECT_EQ(Pane(1), L"320 x 240 (" + std::to_wstring(app().media()->zoom) + L"%)");
    Execute(CMD_FIT_TO_WINDOW);
    EXPECT_FALSE(app().settings.fitToWindow);
}

TEST_F(MainWindowTest, AlwaysOnTopTogglesTheWindowMarkAndButton) {
    for (bool on : {true, false}) {
        Execute(CMD_ALWAYS_ON_TOP);
        EXPECT_EQ(app().settings.alwaysOnTop, on);
        // The topmost style itself is not looked at: Wine 8 does not set it on a
        // window that owns others (the playlist window is owned here).
        EXPECT_EQ(Checked(CMD_ALWAYS_ON_TOP), on);
        EXPECT_EQ(SendMessageW(app().window.toolbar, TB_ISBUTTONCHECKED, CMD_ALWAYS_ON_TOP, 0) != 0,
                  on);
    }
}

TEST_F(MainWindowTest, BarsSwitchWithoutResizingTheWindow) {
    ASSERT_TRUE(Open(L"red.avi"));
    const RECT before = WindowRect();
    bool* settings[] = {&app().settings.showMenuBar, &app().settings.showToolbar,
                        &app().settings.showStatusBar, &app().settings.showPlayBar,
                        &app().settings.showSeekBar};
    for (int bar = 0; bar < 5; ++bar) {
        const int id = CMD_MENU_BAR + bar;
        SCOPED_TRACE(id);
        ASSERT_TRUE(*settings[bar]);
        RECT media;
        GetWindowRect(app().media()->mediaWindow, &media);
        Execute(id);
        EXPECT_FALSE(*settings[bar]);
        EXPECT_FALSE(Checked(id));
        EXPECT_TRUE(WindowRect() == before);
        RECT shrunk;
        GetWindowRect(app().media()->mediaWindow, &shrunk);
        if (id != CMD_PLAY_BAR && id != CMD_SEEK_BAR) {
            // The content area takes the room the bar leaves.
            EXPECT_GT(shrunk.bottom - shrunk.top, media.bottom - media.top);
        }
        Execute(id);
        EXPECT_TRUE(*settings[bar]);
        EXPECT_TRUE(Checked(id));
        EXPECT_TRUE(WindowRect() == before);
    }
    EXPECT_EQ(GetMenu(window()), app().mainMenu.get());
}

TEST_F(MainWindowTest, PresetsSwitchEveryBarThatDiffers) {
    const RECT before = WindowRect();
    app().settings.presets[0].bars = 0;
    app().settings.presets[1].bars = kBarMenu | kBarStatus | kBarSeek;
    app().settings.presets[2].bars = 31;
    struct Case {
        int preset;
        bool menu, toolbar, status, play, seek;
    } cases[] = {
        {0, false, false, false, false, false},
        {1, true, false, true, false, true},
        {2, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preset);
        Execute(CMD_PRESET_FIRST + c.preset);
        EXPECT_EQ(app().settings.showMenuBar, c.menu);
        EXPECT_EQ(GetMenu(window()) != nullptr, c.menu);
        EXPECT_EQ(app().settings.showToolbar, c.toolbar);
        EXPECT_EQ(IsWindowVisible(app().window.toolbar) != FALSE, c.toolbar);
        EXPECT_EQ(app().settings.showStatusBar, c.status);
        EXPECT_EQ(IsWindowVisible(app().window.statusBar.hwnd) != FALSE, c.status);
        EXPECT_EQ(IsWindowVisible(app().window.sizeGrip) != FALSE, c.status);
        EXPECT_EQ(app().settings.showPlayBar, c.play);
        EXPECT_EQ(IsWindowVisible(app().media()->playBar) != FALSE, c.play);
        EXPECT_EQ(app().settings.showSeekBar, c.seek);
        EXPECT_EQ(Checked(CMD_TOOLBAR), c.toolbar);
        EXPECT_EQ(Checked(CMD_SEEK_BAR), c.seek);
        EXPECT_TRUE(WindowRect() == before);
    }
}

TEST_F(MainWindowTest, MakePlaylistMarksTheOpenFileAsPlayingAndNavigationFollowsIt) {
    TempFolder media;
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"a.wav", L"b.wav", L"c.wav"}) {
        files.push_back(media / name);
        ASSERT_TRUE(WriteToneWav(files.back(), 1000));
    }
    ASSERT_TRUE(OpenMedia(app(), files[1], false));
    ASSERT_FALSE(app().window.fromPlaylist);
    Execute(CMD_MAKE_PLAYLIST);
    EXPECT_TRUE(app().playlist.IsVisible());
    ASSERT_EQ(app().playlist.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(app().playlist.EntryPath(i), files[i]);
    }
    EXPECT_EQ(app().playlist.playingIndex(), 1);
    EXPECT_EQ(app().playlist.SelectedIndex(), 1);
    EXPECT_TRUE(app().window.fromPlaylist);
    // Folder commands are off in playlist mode.
    EXPECT_FALSE(Enabled(CMD_MAKE_PLAYLIST));
    EXPECT_FALSE(Enabled(CMD_REFRESH));
    EXPECT_TRUE(Enabled(CMD_NEXT_FILE));

    Execute(CMD_NEXT_FILE);
    EXPECT_EQ(OpenFilePath(app()), files[2]);
    EXPECT_EQ(app().playlist.playingIndex(), 2);
    EXPECT_TRUE(app().playlist.Entry(1)->played);
    // A file from the playlist plays whatever the settings say.
    EXPECT_TRUE(WaitForState(L"再生中"));
    Execute(CMD_NEXT_FILE);
    EXPECT_EQ(OpenFilePath(app()), files[0]);

    // Clearing the list ends playlist mode.
    app().playlist.ClearPlaylist();
    PumpMessages(50);
    EXPECT_FALSE(app().window.fromPlaylist);
    EXPECT_TRUE(Enabled(CMD_MAKE_PLAYLIST));
    Execute(CMD_PLAYLIST);
    EXPECT_FALSE(app().playlist.IsVisible());
}

}  // namespace

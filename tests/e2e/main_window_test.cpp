// The main window created inside the test process, as start-up creates it,
// with real files opened through the DirectShow back-end: which commands are
// enabled and marked, zoom, always-on-top, bars, presets and the playlist made
// from a folder.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/open_media.h"
#include "app/program.h"
#include "base/paths.h"
#include "e2e/in_process_app.h"
#include "e2e/player.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "resources/resource.h"
#include "settings/colours.h"
#include "settings/settings.h"
#include "support/dialog_answer.h"

namespace {

constexpr std::uint32_t kTipTextRgb = 0x102030;
constexpr std::uint32_t kTipBackgroundRgb = 0xE0F0C0;

// The main window of the whole test program, made once.
class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        session_ = new InProcessApp("[Settings]\r\n", [](App& app) {
            app.settings.playOnOpen = false;
            app.settings.colours[kTipText] = MakePaletteColour(0, kTipTextRgb);
            app.settings.colours[kTipBg] = MakePaletteColour(0, kTipBackgroundRgb);
        });
        ASSERT_TRUE(session_->started());
    }

    static void TearDownTestSuite() { delete session_; }

    void SetUp() override { ASSERT_NE(app().window.hwnd, nullptr); }
    void TearDown() override { CloseMedia(app()); }

    static App& app() { return session_->app(); }
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

    static InProcessApp* session_;
};

InProcessApp* MainWindowTest::session_ = nullptr;

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
        {990, CMD_ZOOM_IN, 1000, 0},       {10, CMD_ZOOM_OUT, 1, 0},
        {100, CMD_ZOOM_IN, 120, 0},        {0, CMD_ZOOM_OUT, 100, CMD_ZOOM_100},
        {0, CMD_ZOOM_75, 75, CMD_ZOOM_75}, {0, CMD_ZOOM_300, 300, CMD_ZOOM_300},
        {0, CMD_ZOOM_50, 50, CMD_ZOOM_50},
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
    EXPECT_FALSE(app().window.fromPlaylist);
    EXPECT_TRUE(Enabled(CMD_MAKE_PLAYLIST));
    Execute(CMD_PLAYLIST);
    EXPECT_FALSE(app().playlist.IsVisible());
}

// Three short tones a.wav, b.wav and c.wav in the folder, in that order.
std::vector<std::wstring> WriteThreeTones(const TempFolder& folder) {
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"a.wav", L"b.wav", L"c.wav"}) {
        files.push_back(folder / name);
        if (!WriteToneWav(files.back(), 1000)) {
            ADD_FAILURE() << "cannot write " << ToUtf8(files.back());
        }
    }
    return files;
}

bool ToolbarChecked(HWND toolbar, int id) {
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

// A file of `size` bytes last written `minutes` after a fixed moment.
bool WriteFileWrittenAt(const std::wstring& path, std::size_t size, int minutes) {
    if (size > 0 && !WriteBytes(path, std::string(size, 'x'))) {
        return false;
    }
    UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ULARGE_INTEGER ticks;
    ticks.QuadPart = 132000000000000000ULL + 600000000ULL * static_cast<unsigned>(minutes);
    FILETIME time = {ticks.LowPart, ticks.HighPart};
    return file && SetFileTime(file.get(), nullptr, nullptr, &time);
}

// The names of the folder list in its order, each followed by a space.
std::wstring FolderOrder(App& app) {
    std::wstring names;
    for (int i = 0; i < app.folderFiles.Count(); ++i) {
        std::wstring path;
        app.folderFiles.PathAt(i, path);
        names += PathFileName(path) + L" ";
    }
    return names;
}

// The order by type: the shell's type names (which this platform gives
// differently from Windows), then the names.
std::wstring OrderByTypeName(std::vector<std::wstring> names) {
    auto type = [](const std::wstring& name) {
        SHFILEINFOW info = {};
        SHGetFileInfoW(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
        return std::wstring(info.szTypeName);
    };
    std::stable_sort(names.begin(), names.end(), [&](const std::wstring& a, const std::wstring& b) {
        int byType = lstrcmpiW(type(a).c_str(), type(b).c_str());
        return byType != 0 ? byType < 0 : lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    std::wstring order;
    for (const std::wstring& name : names) {
        order += name + L" ";
    }
    return order;
}

// Three files whose six orders all differ: x2.wav (a real tone, the largest,
// written second), x10.mid (100 bytes, written last), z.avi (5000 bytes,
// written first).
TEST_F(MainWindowTest, SortCommandsReorderTheFolderAndMoveTheMark) {
    TempFolder media;
    const std::wstring open = media / L"x2.wav";
    ASSERT_TRUE(WriteToneWav(open, 200));
    ASSERT_TRUE(WriteFileWrittenAt(open, 0, 2));
    ASSERT_TRUE(WriteFileWrittenAt(media / L"x10.mid", 100, 3));
    ASSERT_TRUE(WriteFileWrittenAt(media / L"z.avi", 5000, 1));
    ASSERT_TRUE(OpenMedia(app(), open, false));
    ASSERT_TRUE(app().folderFiles.Ensure(open));
    struct Case {
        int command;
        int sortType;
        bool descending;
        std::wstring order;
    } cases[] = {
        {CMD_SORT_NAME_NUMBER, kSortByNameNumber, false, L"x2.wav x10.mid z.avi "},
        {CMD_SORT_NAME, kSortByName, false, L"x10.mid x2.wav z.avi "},
        {CMD_SORT_EXTENSION, kSortByExtension, false, L"z.avi x10.mid x2.wav "},
        {CMD_SORT_SIZE, kSortBySize, false, L"x10.mid z.avi x2.wav "},
        {CMD_SORT_TYPE, kSortByType, false, OrderByTypeName({L"x2.wav", L"x10.mid", L"z.avi"})},
        {CMD_SORT_LAST_WRITE_TIME, kSortByLastWriteTime, false, L"z.avi x2.wav x10.mid "},
        {CMD_SORT_DESCENDING, kSortByLastWriteTime, true, L"x10.mid x2.wav z.avi "},
        {CMD_SORT_SIZE, kSortBySize, true, L"x2.wav z.avi x10.mid "},
        {CMD_SORT_DESCENDING, kSortBySize, false, L"x10.mid z.avi x2.wav "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Execute(c.command);
        EXPECT_EQ(app().settings.sortType, c.sortType);
        EXPECT_EQ(app().settings.sortDescending, c.descending);
        EXPECT_EQ(FolderOrder(app()), c.order);
        for (int id = CMD_SORT_NAME; id <= CMD_SORT_LAST_WRITE_TIME; ++id) {
            EXPECT_EQ(Checked(id), id == CMD_SORT_NAME + c.sortType) << id;
        }
        EXPECT_EQ(Checked(CMD_SORT_DESCENDING), c.descending);
    }
    Execute(CMD_SORT_NAME);
    CloseMedia(app());
}

TEST_F(MainWindowTest, VolumeStepsStopAtBothEndsAndMuteToggles) {
    ASSERT_TRUE(Open(L"tone.wav"));
    MediaWindow& media = *app().media();
    const int before = media.GetVolume();
    struct Case {
        int start;
        int command;
        int volume;
    } cases[] = {
        {500, CMD_VOLUME_UP, 600},   {950, CMD_VOLUME_UP, 1000}, {1000, CMD_VOLUME_UP, 1000},
        {500, CMD_VOLUME_DOWN, 400}, {50, CMD_VOLUME_DOWN, 0},   {0, CMD_VOLUME_DOWN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        media.SetVolume(c.start);
        ASSERT_EQ(media.GetVolume(), c.start);
        Execute(c.command);
        EXPECT_EQ(media.GetVolume(), c.volume);
    }
    media.SetVolume(before);
    for (bool muted : {true, false}) {
        Execute(CMD_MUTE);
        EXPECT_EQ(media.media->muted(), muted);
        EXPECT_EQ(Checked(CMD_MUTE), muted);
        EXPECT_EQ(ToolbarChecked(media.playBar, CMD_MUTE), muted);
    }
}

TEST_F(MainWindowTest, AspectCommandsReshapeThePictureAndTheWindow) {
    ASSERT_TRUE(Open(L"red.avi"));
    const SIZE atOwnRatio = ClientSize(window());
    struct Case {
        int command;
        int shorterBy;  // the 320 x 240 picture's height lost to the ratio
    } cases[] = {
        {CMD_ASPECT_16X9, 60},
        {CMD_ASPECT_4X3, 0},
        {CMD_ASPECT_16X9, 60},
        {CMD_ASPECT_DEFAULT, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Execute(c.command);
        int width = 0;
        int height = 0;
        ASSERT_TRUE(app().media()->media->GetDestinationSize(width, height));
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 240 - c.shorterBy);
        EXPECT_EQ(ClientSize(window()).cy, atOwnRatio.cy - c.shorterBy);
        // The size pane names the file's own size.
        EXPECT_EQ(Pane(1), L"320 x 240 (100%)");
        for (int id = CMD_ASPECT_DEFAULT; id <= CMD_ASPECT_16X9; ++id) {
            EXPECT_EQ(Checked(id), id == c.command) << id;
        }
    }
}

// In full screen each bar command switches its own bar; a click on the
// canvas leaves full screen and the window's bars come back. (A sound file:
// no video renderer draws meanwhile, which under Wine 8 can block the window
// moves of full screen for good.)
TEST_F(MainWindowTest, FullScreenBarCommandsSwitchTheirOwnBar) {
    ASSERT_TRUE(Open(L"tone.wav"));
    ASSERT_FALSE(app().settings.fullScreenPlayBar);
    ASSERT_FALSE(app().settings.fullScreenSeekBar);
    Execute(CMD_FULL_SCREEN);
    ASSERT_TRUE(app().IsFullScreen());
    MediaWindow& media = *app().media();
    EXPECT_FALSE(media.showPlayBar);
    EXPECT_FALSE(media.showSeekBar);
    struct Case {
        int command;
        bool playBar;
        bool seekBar;
    } cases[] = {
        {CMD_FULL_SCREEN_PLAY_BAR, true, false},
        {CMD_FULL_SCREEN_SEEK_BAR, true, true},
        {CMD_FULL_SCREEN_PLAY_BAR, false, true},
        {CMD_FULL_SCREEN_SEEK_BAR, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Execute(c.command);
        EXPECT_EQ(app().settings.fullScreenPlayBar, c.playBar);
        EXPECT_EQ(app().settings.fullScreenSeekBar, c.seekBar);
        EXPECT_EQ(media.showPlayBar, c.playBar);
        EXPECT_EQ(IsWindowVisible(media.playBar) != FALSE, c.playBar);
        EXPECT_EQ(media.showSeekBar, c.seekBar);
    }
    SendMessageW(media.canvas, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(media.canvas, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(app().IsFullScreen());
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_TRUE(media.showPlayBar);
    EXPECT_TRUE(media.showSeekBar);
    EXPECT_FALSE(Checked(CMD_FULL_SCREEN));
}

// Fast forward and rewind run the file and mark their play-bar buttons;
// rewinding at the start does nothing.
TEST_F(MainWindowTest, RewindAndFastForwardRunTheOpenFile) {
    ASSERT_TRUE(Open(L"tone.wav"));
    MediaWindow& media = *app().media();
    Execute(CMD_BACKWARD);
    EXPECT_FALSE(ToolbarChecked(media.playBar, CMD_BACKWARD));
    EXPECT_NE(media.media->state(), Playing);
    Execute(CMD_FORWARD);
    EXPECT_TRUE(ToolbarChecked(media.playBar, CMD_FORWARD));
    EXPECT_TRUE(WaitForState(L"再生中"));
    ASSERT_TRUE(PumpUntil([&] { return media.media->GetPosition() > 300; }, 10000));
    Execute(CMD_BACKWARD);
    EXPECT_TRUE(ToolbarChecked(media.playBar, CMD_BACKWARD));
    EXPECT_FALSE(ToolbarChecked(media.playBar, CMD_FORWARD));
    EXPECT_EQ(media.media->state(), Playing);
}

TEST_F(MainWindowTest, SequentialPlayAndRepeatPlaylistDecideWhatFollowsTheEnd) {
    TempFolder media;
    const std::vector<std::wstring> files = WriteThreeTones(media);
    auto end = [] {
        ExecuteCommand(app(), ID_MEDIA_WINDOW, app().media()->mediaWindow, kEndOfMedia);
    };
    // Folder mode: the next file of the folder follows only with sequential play.
    for (bool sequential : {true, false}) {
        SCOPED_TRACE(sequential ? "sequential" : "single");
        Execute(CMD_SEQUENTIAL_PLAY);
        ASSERT_EQ(app().settings.sequentialPlay, sequential);
        EXPECT_EQ(Checked(CMD_SEQUENTIAL_PLAY), sequential);
        ASSERT_TRUE(OpenMedia(app(), files[0], false));
        end();
        EXPECT_EQ(OpenFilePath(app()), sequential ? files[1] : files[0]);
    }
    // Playlist mode: after the last entry the first follows only with repeat.
    Execute(CMD_MAKE_PLAYLIST);
    ASSERT_TRUE(app().window.fromPlaylist);
    for (bool repeat : {true, false}) {
        SCOPED_TRACE(repeat ? "repeat" : "once");
        Execute(CMD_REPEAT_PLAYLIST);
        ASSERT_EQ(app().settings.repeatPlaylist, repeat);
        EXPECT_EQ(Checked(CMD_REPEAT_PLAYLIST), repeat);
        EXPECT_EQ(ToolbarChecked(app().window.toolbar, CMD_REPEAT_PLAYLIST), repeat);
        Execute(CMD_LAST_FILE);
        ASSERT_EQ(app().playlist.playingIndex(), 2);
        end();
        EXPECT_EQ(app().playlist.playingIndex(), repeat ? 0 : 2);
        EXPECT_EQ(OpenFilePath(app()), repeat ? files[0] : files[2]);
    }
    CloseMedia(app());
    app().playlist.ClearPlaylist();
    Execute(CMD_PLAYLIST);
}

TEST_F(MainWindowTest, AddToPlaylistAppendsAndSelectsTheOpenFile) {
    app().playlist.ClearPlaylist();
    ASSERT_TRUE(app().playlist.AddPath(TestMedia(L"red.avi")));
    ASSERT_TRUE(Open(L"tone.wav"));
    for (int count : {2, 3}) {
        Execute(CMD_ADD_TO_PLAYLIST);
        ASSERT_EQ(app().playlist.Count(), count);
        EXPECT_EQ(app().playlist.EntryPath(count - 1), TestMedia(L"tone.wav"));
        EXPECT_EQ(app().playlist.SelectedIndex(), count - 1);
    }
    EXPECT_FALSE(app().window.fromPlaylist);
    app().playlist.ClearPlaylist();
}

// In playlist mode a click on the picture opens the next entry; the close box
// of the playlist window hides it as command 159 does.
TEST_F(MainWindowTest, CanvasClickAndCloseBoxInPlaylistMode) {
    TempFolder media;
    const std::vector<std::wstring> files = WriteThreeTones(media);
    ASSERT_TRUE(OpenMedia(app(), files[0], false));
    Execute(CMD_MAKE_PLAYLIST);
    ASSERT_TRUE(app().window.fromPlaylist);
    ASSERT_TRUE(app().settings.showPlaylist);
    for (int next : {1, 2}) {
        SendMessageW(app().media()->canvas, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(app().media()->canvas, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(OpenFilePath(app()), files[next]);
        EXPECT_EQ(app().playlist.playingIndex(), next);
    }
    SendMessageW(app().playlist.window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(app().playlist.IsVisible());
    EXPECT_FALSE(app().settings.showPlaylist);
    EXPECT_FALSE(Checked(CMD_PLAYLIST));
    EXPECT_FALSE(ToolbarChecked(app().window.toolbar, CMD_PLAYLIST));
    CloseMedia(app());
    app().playlist.ClearPlaylist();
}

// Items 1000-1099 of the drop-down lists count back from the open file,
// 1100-1199 forward, in the folder or in the playlist.
TEST_F(MainWindowTest, DropDownListItemsOpenTheFileTheyName) {
    TempFolder media;
    const std::vector<std::wstring> files = WriteThreeTones(media);
    struct Case {
        int base;
        int command;
        int opened;
    } cases[] = {
        {1, CMD_NEXT_FILES_FIRST, 2},
        {2, CMD_PREV_FILES_FIRST + 1, 0},
        {0, CMD_NEXT_FILES_FIRST + 1, 2},
        {2, CMD_PREV_FILES_FIRST, 1},
    };
    for (bool playlist : {false, true}) {
        SCOPED_TRACE(playlist ? "playlist" : "folder");
        ASSERT_TRUE(OpenMedia(app(), files[1], false));
        // Showing a list builds the folder's list first.
        ASSERT_TRUE(app().folderFiles.Ensure(files[1]));
        if (playlist) {
            Execute(CMD_MAKE_PLAYLIST);
            ASSERT_TRUE(app().window.fromPlaylist);
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(c.command);
            app().window.listIndexBase = c.base;
            Execute(c.command);
            EXPECT_EQ(OpenFilePath(app()), files[c.opened]);
            if (playlist) {
                EXPECT_EQ(app().playlist.playingIndex(), c.opened);
            }
        }
    }
    CloseMedia(app());
    app().playlist.ClearPlaylist();
    Execute(CMD_PLAYLIST);
}

// A history entry that no longer exists is removed only when the user says so.
TEST_F(MainWindowTest, AMissingHistoryEntryIsRemovedOnlyAfterYes) {
    TempFolder gone;
    struct Case {
        HistoryList& history;
        std::wstring path;
        const wchar_t* kind;
    } cases[] = {
        {app().folderHistory, gone / L"folder", L"フォルダ"},
        {app().fileHistory, gone / L"file.wav", L"ファイル"},
    };
    for (Case& c : cases) {
        for (int answer : {IDYES, IDNO}) {
            SCOPED_TRACE(ToUtf8(c.path) + (answer == IDYES ? " yes" : " no"));
            c.history.AddToHistory(c.path);
            ASSERT_EQ(c.history.HistoryPath(0), c.path);
            const int count = c.history.Count();
            std::wstring question;
            int answered = dialog_answer::Run(
                [&] { Execute(static_cast<int>(c.history.firstId())); }, {[&](HWND box) {
                    question = dialog_answer::MessageText(box);
                    dialog_answer::Press(box, answer);
                }});
            EXPECT_EQ(answered, 1);
            EXPECT_EQ(question, std::wstring(c.kind) + L" \"" + c.path +
                                    L"\" が見付かりません。\n履歴から削除しますか?");
            if (answer == IDYES) {
                EXPECT_EQ(c.history.Count(), count - 1);
                EXPECT_NE(c.history.HistoryPath(0), c.path);
            } else {
                EXPECT_EQ(c.history.Count(), count);
                EXPECT_EQ(c.history.HistoryPath(0), c.path);
                c.history.RemoveFromHistory(0);
            }
            EXPECT_FALSE(app().IsOpen());
        }
    }
}

// Commands 170 and 171 once their file is chosen: a failure is told to the
// user and leaves nothing behind.
TEST_F(MainWindowTest, PlaylistFilesThatCannotBeReadOrWrittenAreReported) {
    TempFolder folder;
    // Held open by another program without sharing.
    const std::wstring locked = folder / L"locked.m3u";
    ASSERT_TRUE(WriteBytes(locked, "C:\\old.mp3\r\n"));
    UniqueFile lock(
        CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    ASSERT_TRUE(WriteBytes(folder / L"empty.m3u", ""));
    app().playlist.ClearPlaylist();
    ASSERT_TRUE(app().playlist.AddPath(TestMedia(L"tone.wav")));
    const std::wstring cannotSave = L"ファイルが保存できません。";
    const std::wstring cannotRead = L"ファイルの読み込みができません。";
    struct Case {
        bool save;
        std::wstring path;
        std::wstring message;  // empty: none
    } cases[] = {
        {true, folder / L"missing\\list.m3u", cannotSave},
        {true, locked, cannotSave},
        {true, folder.path(), cannotSave},
        {true, folder / L"list.m3u", L""},
        {false, folder / L"missing.m3u", cannotRead},
        {false, folder / L"empty.m3u", cannotRead},
        {false, locked, cannotRead},
        {false, folder / L"list.m3u", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path) + (c.save ? " save" : " load"));
        bool done = false;
        std::wstring message;
        int answered = dialog_answer::Run(
            [&] {
                done = c.save ? SavePlaylistFile(app(), c.path) : LoadPlaylistFile(app(), c.path);
            },
            {[&](HWND box) {
                message = dialog_answer::MessageText(box);
                dialog_answer::Press(box, IDOK);
            }});
        EXPECT_EQ(done, c.message.empty());
        EXPECT_EQ(answered, c.message.empty() ? 0 : 1);
        EXPECT_EQ(message, c.message);
    }
    lock.reset();
    EXPECT_EQ(ReadBytes(locked), "C:\\old.mp3\r\n");
    EXPECT_FALSE(FolderExists(folder / L"missing"));
    // The file saved was loaded back into the cleared list.
    ASSERT_EQ(app().playlist.Count(), 1);
    EXPECT_EQ(app().playlist.EntryPath(0), TestMedia(L"tone.wav"));
    app().playlist.ClearPlaylist();
}

// A second start hands each path over in a global atom; an atom that does
// not exist opens nothing, and the longest path an atom holds arrives whole.
TEST_F(MainWindowTest, HandOverTakesOnlyTheAtomsPath) {
    TempFolder folder;
    const ATOM missing = GlobalAddAtomW(L"zephlo test atom");
    ASSERT_NE(missing, 0);
    GlobalDeleteAtom(missing);
    wchar_t name[32];
    ASSERT_EQ(GlobalGetAtomNameW(missing, name, 32), 0u);
    EXPECT_EQ(SendMessageW(window(), kHandOverMessage, missing, MAKELPARAM(0, 1)), 0);
    EXPECT_FALSE(app().IsOpen());

    std::wstring longest = folder / L"";
    longest += std::wstring(255 - longest.size() - 4, L'x') + L".wav";
    ASSERT_EQ(longest.size(), 255u);
    ASSERT_TRUE(WriteToneWav(longest, 200));
    ATOM atom = GlobalAddAtomW(longest.c_str());
    ASSERT_NE(atom, 0);
    EXPECT_EQ(SendMessageW(window(), kHandOverMessage, atom, MAKELPARAM(0, 1)), 1);
    GlobalDeleteAtom(atom);
    EXPECT_EQ(OpenFilePath(app()), longest);
    CloseMedia(app());
}

// The playback commands the main window hands to the media window, on a
// video held still. (Commands not seen in this file: Open, Options, Help and
// About show their dialogs in the commands end-to-end test, the settings
// sheet tests and the help tests; Exit ends the program there too; the file
// steps are followed in the navigation tests.)
TEST_F(MainWindowTest, PlaybackCommandsMoveThePositionAndRepeatToggles) {
    ASSERT_TRUE(Open(L"red.avi"));
    Media& media = *app().media()->media;
    const int end = media.GetEnd();
    struct Case {
        int from;
        int command;
        std::function<bool(int)> at;
    } cases[] = {
        {1000, CMD_END, [&](int position) { return position == end; }},
        {1000, CMD_HOME, [](int position) { return position == 0; }},
        {1000, CMD_NEXT_FRAME, [](int position) { return position > 1000 && position < 1100; }},
        {1000, CMD_PREV_FRAME, [](int position) { return position < 1000 && position > 900; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(media.SetPosition(c.from));
        Execute(c.command);
        EXPECT_TRUE(PumpUntil([&] { return c.at(media.GetPosition()); }, 5000))
            << media.GetPosition();
    }
    for (bool repeat : {true, false}) {
        Execute(CMD_REPEAT);
        EXPECT_EQ(app().settings.repeat, repeat);
        EXPECT_EQ(Checked(CMD_REPEAT), repeat);
        EXPECT_EQ(ToolbarChecked(app().media()->playBar, CMD_REPEAT), repeat);
    }
}

// The folder list is kept until Refresh: a file added meanwhile is stepped
// to only after it.
TEST_F(MainWindowTest, RefreshReadsTheFolderAgain) {
    TempFolder media;
    const std::vector<std::wstring> files = WriteThreeTones(media);
    ASSERT_TRUE(OpenMedia(app(), files[0], false));
    ASSERT_TRUE(app().folderFiles.Ensure(files[0]));
    const std::wstring added = media / L"aa.wav";
    ASSERT_TRUE(WriteToneWav(added, 200));
    Execute(CMD_NEXT_FILE);
    EXPECT_EQ(OpenFilePath(app()), files[1]);
    Execute(CMD_REFRESH);
    Execute(CMD_PREV_FILE);
    EXPECT_EQ(OpenFilePath(app()), added);
    CloseMedia(app());
}

}  // namespace

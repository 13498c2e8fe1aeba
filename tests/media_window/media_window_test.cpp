// The media window with a back-end the tests drive: buttons, bars, commands
// and the notifications its owner receives.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "base/text.h"
#include "fake_media.h"
#include "media_test_support.h"
#include "media_window/media_window.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "support/test_support.h"

namespace {

constexpr int kId = 400;

struct OwnerLog {
    std::vector<WORD> codes;           // WM_COMMAND codes from the media window
    std::vector<LPARAM> states;        // WM_APP 1
    std::vector<LPARAM> positions;     // WM_APP 2
    std::function<void(WORD)> onCode;  // runs inside the notification
};
OwnerLog g_owner;

constexpr EXECUTION_STATE kDisplayOn = ES_CONTINUOUS | ES_DISPLAY_REQUIRED;
constexpr EXECUTION_STATE kDisplayFree = ES_CONTINUOUS;
std::vector<EXECUTION_STATE> g_displayRequests;

EXECUTION_STATE WINAPI RecordDisplayRequest(EXECUTION_STATE state) {
    g_displayRequests.push_back(state);
    return ES_CONTINUOUS;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kId) {
        g_owner.codes.push_back(HIWORD(wParam));
        if (g_owner.onCode) {
            g_owner.onCode(HIWORD(wParam));
        }
        return 0;
    }
    if (message == kMediaNotify) {
        (wParam == kMediaStateChanged ? g_owner.states : g_owner.positions).push_back(lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class MediaWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool registered = false;
        if (registered) {
            return;
        }
        HINSTANCE instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(RegisterMediaWindowClasses(instance));
        ASSERT_TRUE(RegisterTestWindowClass(L"Zephlo Test Owner", OwnerProc));
        registered = true;
    }

    void SetUp() override {
        g_owner = OwnerLog();
        FakeMedia::calls.clear();
        FakeMedia::nextHasVideo = true;
        FakeMedia::nextOpenFails = false;
        FakeMedia::deletedWhileReporting = false;
        owner_ =
            CreateWindowExW(0, L"Zephlo Test Owner", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                            0, 500, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, owner_);
        g_displayRequests.clear();
        window_.createMedia = FakeMedia::Make;
        window_.requestExecutionState = RecordDisplayRequest;
        ASSERT_TRUE(window_.Create(owner_, kId, GetModuleHandleW(nullptr)));
        ShowWindow(owner_, SW_SHOWNOACTIVATE);
        Resize(400, 400);
    }

    void TearDown() override { DestroyWindow(owner_); }

    void Resize(int width, int height) {
        MoveWindow(window_.mediaWindow, 0, 0, width, height, TRUE);
    }

    void Open() {
        ASSERT_TRUE(window_.OpenFile(L"C:\\media\\clip.avi"));
        ASSERT_NE(nullptr, FakeMedia::latest);
    }

    FakeMedia& Media() { return *FakeMedia::latest; }

    BYTE State(int command) {
        return static_cast<BYTE>(SendMessageW(window_.playBar, TB_GETSTATE, command, 0));
    }
    bool Enabled(int command) { return (State(command) & TBSTATE_ENABLED) != 0; }
    bool Checked(int command) { return (State(command) & TBSTATE_CHECKED) != 0; }

    void Command(int id) { SendMessageW(window_.mediaWindow, WM_COMMAND, id, 0); }
    // A click on a check button: the bar toggles the check, then sends the command.
    void ClickCheckButton(int id) {
        SendMessageW(window_.playBar, TB_CHECKBUTTON, id, MAKELPARAM(!Checked(id), 0));
        SendMessageW(window_.mediaWindow, WM_COMMAND, id,
                     reinterpret_cast<LPARAM>(window_.playBar));
    }
    void SeekBarMouse(UINT message, int x) {
        SendMessageW(window_.seekBar->hwnd, message, 0, MAKELPARAM(x, 8));
    }

    RECT ChildRect(HWND child) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window_.mediaWindow, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HWND owner_ = nullptr;
    MediaWindow window_;
};

TEST_F(MediaWindowTest, StartsWithAClosedBackEndAndThePlayBarAtRest) {
    ASSERT_NE(nullptr, FakeMedia::latest);
    EXPECT_FALSE(window_.IsOpen());
    EXPECT_EQ(12, SendMessageW(window_.playBar, TB_BUTTONCOUNT, 0, 0));
    for (int command : {CMD_PLAY, CMD_PAUSE, CMD_STOP, CMD_PREV_FRAME, CMD_NEXT_FRAME, CMD_BACKWARD,
                        CMD_FORWARD}) {
        EXPECT_FALSE(Enabled(command)) << command;
    }
    EXPECT_TRUE(Enabled(CMD_REPEAT));
    EXPECT_TRUE(Enabled(CMD_MUTE));
    HIMAGELIST images =
        reinterpret_cast<HIMAGELIST>(SendMessageW(window_.playBar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(9, ImageList_GetImageCount(images));
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(16, width);
    EXPECT_EQ(15, height);
    EXPECT_FALSE(IsWindowEnabled(window_.seekBar->hwnd));
    EXPECT_EQ(500, window_.volumeSlider->value);
}

TEST_F(MediaWindowTest, LaysOutCanvasSeekBarAndPlayBarFromTopToBottom) {
    RECT canvas = ChildRect(window_.canvas);
    RECT seek = ChildRect(window_.seekBar->hwnd);
    RECT bar = ChildRect(window_.playBar);
    EXPECT_EQ(0, canvas.top);
    EXPECT_EQ(canvas.bottom, seek.top);
    EXPECT_EQ(16, seek.bottom - seek.top);
    EXPECT_EQ(400, seek.right - seek.left);
    EXPECT_EQ(seek.bottom, bar.top);
    EXPECT_EQ(400, bar.bottom);

    // The slider sits right of the mute button, as high as it.
    RECT mute;
    SendMessageW(window_.playBar, TB_GETITEMRECT, 11, reinterpret_cast<LPARAM>(&mute));
    RECT slider;
    GetWindowRect(window_.volumeSlider->hwnd, &slider);
    MapWindowPoints(nullptr, window_.playBar, reinterpret_cast<POINT*>(&slider), 2);
    EXPECT_EQ(mute.right + 4, slider.left);
    EXPECT_EQ(mute.top, slider.top);
    EXPECT_EQ(mute.bottom, slider.bottom);

    RECT frame = {0, 0, 320, 240};
    window_.GetFrameSize(frame);
    int edge = GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(240 + 2 * edge + 16 + (bar.bottom - bar.top), frame.bottom - frame.top);

    window_.ShowSeekBar(false);
    window_.ShowPlayBar(false);
    EXPECT_FALSE(IsWindowVisible(window_.seekBar->hwnd));
    EXPECT_FALSE(IsWindowVisible(window_.playBar));
    EXPECT_EQ(400, ChildRect(window_.canvas).bottom);
    frame = {0, 0, 320, 240};
    window_.GetFrameSize(frame);
    EXPECT_EQ(240 + 2 * edge, frame.bottom - frame.top);
}

TEST_F(MediaWindowTest, OpenEnablesTheControlsAndCloseReturnsThemToRest) {
    Open();
    wchar_t name[260];
    ASSERT_TRUE(window_.GetFileName(name));
    EXPECT_STREQ(L"C:\\media\\clip.avi", name);
    EXPECT_TRUE(Enabled(CMD_PLAY));
    EXPECT_TRUE(Enabled(CMD_PREV_FRAME));
    EXPECT_TRUE(Enabled(CMD_BACKWARD));
    EXPECT_FALSE(Enabled(CMD_PAUSE));
    EXPECT_FALSE(Enabled(CMD_STOP));
    EXPECT_TRUE(IsWindowEnabled(window_.seekBar->hwnd));
    EXPECT_EQ(100'000, window_.seekBar->rangeMax);
    EXPECT_EQ(500, Media().appliedLevel);

    Command(CMD_PLAY);
    EXPECT_TRUE(Checked(CMD_PLAY));
    EXPECT_TRUE(Enabled(CMD_PAUSE));
    EXPECT_FALSE(Enabled(CMD_NEXT_FRAME));  // no frame steps while playing
    EXPECT_EQ(std::vector<LPARAM>{Playing}, g_owner.states);

    window_.CloseFile();
    EXPECT_FALSE(window_.IsOpen());
    EXPECT_EQ(nullptr, window_.media.get());
    EXPECT_FALSE(window_.GetFileName(name));
    for (int command : {CMD_PLAY, CMD_PAUSE, CMD_STOP, CMD_PREV_FRAME, CMD_BACKWARD}) {
        EXPECT_FALSE(Enabled(command)) << command;
        EXPECT_FALSE(Checked(command)) << command;
    }
    EXPECT_FALSE(IsWindowEnabled(window_.seekBar->hwnd));
    EXPECT_EQ(100, window_.seekBar->rangeMax);
    EXPECT_EQ(0, window_.seekBar->position);
}

TEST_F(MediaWindowTest, FailedOpenShowsTheBackEndsReasonAndLeavesNothingOpen) {
    Open();
    FakeMedia::nextOpenFails = true;
    MessageBoxCloser boxes;
    EXPECT_FALSE(window_.OpenFile(L"C:\\media\\broken.avi"));
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{LoadText(IDS_UNSUPPORTED_FORMAT)});
    EXPECT_FALSE(window_.IsOpen());
    EXPECT_FALSE(Enabled(CMD_PLAY));
    EXPECT_FALSE(window_.opening);
}

TEST_F(MediaWindowTest, EndOfMediaRepeatsUnlessTheLastStopCameFromStop) {
    Open();
    Command(CMD_REPEAT);
    EXPECT_TRUE(window_.repeat);
    EXPECT_TRUE(Checked(CMD_REPEAT));
    EXPECT_EQ(std::vector<WORD>{kRepeatToggled}, g_owner.codes);

    Command(CMD_PLAY);
    FakeMedia::calls.clear();
    Media().ReachEnd();
    EXPECT_EQ(Playing, Media().state());
    EXPECT_EQ(0, Media().position);
    EXPECT_EQ(1u, std::count(g_owner.codes.begin(), g_owner.codes.end(), kRepeatToggled));
    EXPECT_EQ(0, std::count(g_owner.codes.begin(), g_owner.codes.end(), kEndOfMedia));

    Command(CMD_STOP);
    EXPECT_TRUE(window_.stoppedByUser);
    Media().ReachEnd();  // a stop at the end after the user's Stop: moves on
    EXPECT_EQ(Stopped, Media().state());
    EXPECT_EQ(1, std::count(g_owner.codes.begin(), g_owner.codes.end(), kEndOfMedia));

    Command(CMD_PLAY);  // Play clears the user's stop
    Media().ReachEnd();
    EXPECT_EQ(Playing, Media().state());
    EXPECT_EQ(1, std::count(g_owner.codes.begin(), g_owner.codes.end(), kEndOfMedia));

    Command(CMD_REPEAT);
    Media().ReachEnd();
    EXPECT_EQ(2, std::count(g_owner.codes.begin(), g_owner.codes.end(), kEndOfMedia));
}

TEST_F(MediaWindowTest, PlayAtTheEndStartsFromTheBeginning) {
    Open();
    Media().ReachEnd();
    FakeMedia::calls.clear();
    Command(CMD_PLAY_PAUSE);
    EXPECT_EQ((std::vector<std::string>{"SeekToStart", "Play"}), FakeMedia::calls);
    FakeMedia::calls.clear();
    Command(CMD_PLAY_PAUSE);
    EXPECT_EQ(std::vector<std::string>{"Pause"}, FakeMedia::calls);
}

TEST_F(MediaWindowTest, OwnerMayCloseTheFileInsideTheEndReport) {
    Open();
    Command(CMD_PLAY);
    g_owner.onCode = [this](WORD code) {
        if (code == kEndOfMedia) {
            window_.CloseFile();
            window_.OpenFile(L"C:\\media\\next.avi");
        }
    };
    Media().ReachEnd();
    EXPECT_FALSE(FakeMedia::deletedWhileReporting);
    EXPECT_EQ("after end, closed", FakeMedia::calls.back());
    EXPECT_TRUE(window_.IsOpen());
    EXPECT_EQ(2, FakeMedia::alive);
    PumpMessages(20);  // the closed one goes once it has returned
    EXPECT_EQ(1, FakeMedia::alive);
    wchar_t name[260];
    window_.GetFileName(name);
    EXPECT_STREQ(L"C:\\media\\next.avi", name);
}

TEST_F(MediaWindowTest, SeekBarDragPausesPlaybackAndResumesOnlyWhatWasPlaying) {
    Open();
    Command(CMD_PLAY);
    FakeMedia::calls.clear();
    SeekBarMouse(WM_LBUTTONDOWN, 200);
    EXPECT_TRUE(window_.seeking);
    EXPECT_EQ(Paused, Media().state());
    Media().SetPosition(123);  // playback reports do not move the dragged thumb
    EXPECT_NE(123, window_.seekBar->position);
    SeekBarMouse(WM_MOUSEMOVE, 300);
    SeekBarMouse(WM_LBUTTONUP, 300);
    EXPECT_FALSE(window_.seeking);
    EXPECT_EQ(Playing, Media().state());
    EXPECT_EQ(window_.seekBar->position, Media().position);
    ASSERT_GE(FakeMedia::calls.size(), 3u);
    EXPECT_EQ("Pause", FakeMedia::calls.front());
    EXPECT_EQ("Play", FakeMedia::calls.back());

    Command(CMD_PAUSE);
    FakeMedia::calls.clear();
    SeekBarMouse(WM_LBUTTONDOWN, 50);
    SeekBarMouse(WM_LBUTTONUP, 50);
    EXPECT_EQ(Paused, Media().state());
    for (const std::string& call : FakeMedia::calls) {
        EXPECT_EQ(0u, call.rfind("SetPosition", 0)) << call;
    }
    EXPECT_EQ(window_.seekBar->position, Media().position);
}

TEST_F(MediaWindowTest, PositionReportsMoveTheSeekBarAndReachTheOwner) {
    Open();
    Media().SetPosition(50'000);
    EXPECT_EQ(50'000, window_.seekBar->position);
    EXPECT_EQ(std::vector<LPARAM>{50'000}, g_owner.positions);
    window_.ShowSeekBar(false);
    Media().SetPosition(70'000);
    EXPECT_EQ(50'000, window_.seekBar->position);
    window_.ShowSeekBar(true);
    EXPECT_EQ(70'000, window_.seekBar->position);
}

TEST_F(MediaWindowTest, MuteClickedWithNothingOpenCarriesIntoTheNextFile) {
    Open();
    window_.CloseFile();
    ClickCheckButton(CMD_MUTE);
    EXPECT_TRUE(Checked(CMD_MUTE));
    Open();
    EXPECT_TRUE(Media().muted());
    EXPECT_EQ(0, Media().appliedLevel);
    EXPECT_TRUE(Checked(CMD_MUTE));

    // A new level ends muting and releases the button.
    window_.SetVolume(700);
    EXPECT_FALSE(Media().muted());
    EXPECT_EQ(700, Media().appliedLevel);
    EXPECT_FALSE(Checked(CMD_MUTE));
    EXPECT_EQ(700, window_.volumeSlider->value);
    EXPECT_EQ(700, window_.GetVolume());

    window_.SetVolume(1001);  // refused: nothing changes
    EXPECT_EQ(700, window_.volumeSlider->value);
    window_.CloseFile();
    window_.SetVolume(300);
    EXPECT_EQ(300, window_.GetVolume());
}

TEST_F(MediaWindowTest, SetMuteFollowsTheBackEnd) {
    Open();
    window_.SetMute(true);
    EXPECT_TRUE(Checked(CMD_MUTE));
    EXPECT_EQ(0, Media().appliedLevel);
    window_.SetMute(false);
    EXPECT_FALSE(Checked(CMD_MUTE));
    EXPECT_EQ(500, Media().appliedLevel);
}

TEST_F(MediaWindowTest, VolumeSliderPressReachesTheBackEndThroughThePlayBar) {
    Open();
    window_.SetMute(true);
    SendMessageW(window_.volumeSlider->hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 0));
    SendMessageW(window_.volumeSlider->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 0));
    EXPECT_EQ(1000, Media().volume());
    EXPECT_EQ(1000, Media().appliedLevel);
    EXPECT_FALSE(Checked(CMD_MUTE));
}

TEST_F(MediaWindowTest, ZoomAndAspectSizeTheVideo) {
    Open();
    EXPECT_TRUE(window_.SetZoom(150));
    EXPECT_TRUE(window_.SetAspect(16, 9));
    EXPECT_EQ(960, Media().shownWidth);
    EXPECT_EQ(540, Media().shownHeight);
    EXPECT_FALSE(window_.SetZoom(0));
    EXPECT_FALSE(window_.SetAspect(-1, 3));
    EXPECT_EQ(150, window_.zoom);
    // The video is placed in the canvas's top-left corner when it is larger.
    RECT form;
    GetWindowRect(Media().formWindow(), &form);
    MapWindowPoints(nullptr, window_.canvas, reinterpret_cast<POINT*>(&form), 2);
    EXPECT_EQ(0, form.left);
    EXPECT_EQ(0, form.top);
    window_.SetZoom(25);
    GetWindowRect(Media().formWindow(), &form);
    MapWindowPoints(nullptr, window_.canvas, reinterpret_cast<POINT*>(&form), 2);
    RECT canvas;
    GetClientRect(window_.canvas, &canvas);
    EXPECT_EQ((canvas.right - 160) / 2, form.left);
    EXPECT_EQ(160, form.right - form.left);
}

TEST_F(MediaWindowTest, FitToWindowTakesTheZoomFromTheCanvasOnce) {
    Open();
    RECT canvas;
    GetClientRect(window_.canvas, &canvas);
    int outside = 400 - canvas.bottom;  // bars and the canvas's edges
    int edges = 400 - canvas.right;
    Resize(320 + edges, 300 + outside);
    window_.SetFitToWindow(true);
    EXPECT_EQ(50, window_.zoom);
    EXPECT_EQ(1, std::count(g_owner.codes.begin(), g_owner.codes.end(), kZoomChangedByFit));
    EXPECT_EQ(320, Media().shownWidth);
    Resize(320 + edges, 300 + outside);  // same size: no new report
    window_.SetFitToWindow(true);
    EXPECT_EQ(1, std::count(g_owner.codes.begin(), g_owner.codes.end(), kZoomChangedByFit));
    Resize(640 + edges, 480 + outside);
    EXPECT_EQ(100, window_.zoom);
    EXPECT_EQ(2, std::count(g_owner.codes.begin(), g_owner.codes.end(), kZoomChangedByFit));
}

TEST_F(MediaWindowTest, CanvasClicksAndBarRightClicksReachTheOwner) {
    SendMessageW(window_.canvas, WM_LBUTTONDOWN, 0, 0);
    SendMessageW(window_.canvas, WM_RBUTTONDOWN, 0, 0);
    SendMessageW(window_.canvas, kMediaNotify, kMediaLeftButton, 0);
    SendMessageW(window_.canvas, kMediaNotify, kMediaRightButton, 0);
    SendMessageW(window_.seekBar->hwnd, WM_RBUTTONDOWN, 0, 0);
    NMHDR header = {window_.playBar, 0, static_cast<UINT>(NM_RCLICK)};
    SendMessageW(window_.mediaWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ((std::vector<WORD>{kCanvasLeftClick, kCanvasRightClick, kCanvasLeftClick,
                                 kCanvasRightClick, kSeekBarRightClick, kPlayBarRightClick}),
              g_owner.codes);
}

TEST_F(MediaWindowTest, ReplacingThePlayBarKeepsButtonStatesAndTheSlider) {
    Open();
    Command(CMD_PLAY);
    ClickCheckButton(CMD_MUTE);
    HWND slider = window_.volumeSlider->hwnd;
    HWND old = window_.playBar;
    window_.ReplacePlayBar();
    EXPECT_NE(old, window_.playBar);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(Checked(CMD_PLAY));
    EXPECT_TRUE(Enabled(CMD_PAUSE));
    EXPECT_TRUE(Checked(CMD_MUTE));
    EXPECT_EQ(slider, window_.volumeSlider->hwnd);
    EXPECT_EQ(window_.playBar, GetParent(slider));
}

TEST_F(MediaWindowTest, DeviceChangeReopensOnANewBackEndAndLetsTheDisplayGo) {
    Open();
    Command(CMD_PLAY);  // a playing video keeps the display on
    EXPECT_EQ(g_displayRequests, (std::vector<EXECUTION_STATE>{kDisplayOn}));
    int made = FakeMedia::made;
    window_.SetDevice(0);
    EXPECT_EQ(made + 1, FakeMedia::made);
    EXPECT_TRUE(window_.IsOpen());
    EXPECT_FALSE(Checked(CMD_PLAY));
    EXPECT_FALSE(Enabled(CMD_STOP));
    EXPECT_EQ(g_displayRequests, (std::vector<EXECUTION_STATE>{kDisplayOn, kDisplayFree}));
    window_.SetDevice(1);
    window_.CloseFile();
    EXPECT_EQ(g_displayRequests.size(), 2u);
}

// The display is kept on exactly while a video plays; each change is asked
// for once, and whatever ends the playing lets the display go.
TEST_F(MediaWindowTest, TheDisplayIsKeptOnWhileAVideoPlays) {
    using Requests = std::vector<EXECUTION_STATE>;
    struct Case {
        const char* name;
        bool video;
        std::function<void()> steps;
        Requests expected;
    } cases[] = {
        {"play, pause, play, stop",
         true,
         [this] {
             Command(CMD_PLAY);
             Command(CMD_PLAY);  // already playing: nothing new is asked
             Command(CMD_PAUSE);
             Command(CMD_PAUSE);
             Command(CMD_STOP);
         },
         {kDisplayOn, kDisplayFree, kDisplayOn, kDisplayFree}},
        {"the end of the video",
         true,
         [this] {
             Command(CMD_PLAY);
             Media().ReachEnd();
         },
         {kDisplayOn, kDisplayFree}},
        {"closed while playing",
         true,
         [this] {
             Command(CMD_PLAY);
             window_.CloseFile();
         },
         {kDisplayOn, kDisplayFree}},
        {"sound only",
         false,
         [this] {
             Command(CMD_PLAY);
             Command(CMD_PAUSE);
             window_.CloseFile();
         },
         {}},
        {"the window destroyed while playing",
         true,
         [this] {
             Command(CMD_PLAY);
             DestroyWindow(owner_);
         },
         {kDisplayOn, kDisplayFree}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window_.CloseFile();
        g_displayRequests.clear();
        FakeMedia::nextHasVideo = c.video;
        Open();
        c.steps();
        EXPECT_EQ(g_displayRequests, c.expected);
    }
}

TEST_F(MediaWindowTest, NoObjectLeaksAcrossFilesPlayBarsAndLogos) {
    // Warm up what is made once (the built-in strip, the tooltips' fonts).
    Open();
    window_.CloseFile();
    window_.ReplacePlayBar();
    PumpMessages(50);
    DWORD gdi = GdiObjectCount();
    DWORD user = UserObjectCount();
    for (int i = 0; i < 50; ++i) {
        Open();
        Command(CMD_PLAY);
        UpdateWindow(window_.mediaWindow);
        window_.CloseFile();
        UpdateWindow(window_.canvas);
    }
    for (int i = 0; i < 20; ++i) {
        window_.ReplacePlayBar();
        window_.SetLogo(nullptr);
        window_.SetSeekBarColour(RGB(i, 0, 0));
        RedrawWindow(window_.mediaWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    PumpMessages(50);
    EXPECT_LE(GdiObjectCount(), gdi + 2);
    EXPECT_LE(UserObjectCount(), user + 2);
}

}  // namespace

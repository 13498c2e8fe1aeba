// The seek bar and the volume slider as real windows, driven by mouse
// messages sent to them, with a parent that records what they report.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/seek_bar.h"
#include "controls/volume_slider.h"
#include "support/test_support.h"

namespace {

struct Report {
    UINT message;
    WPARAM wParam;
    int position;  // the seek bar's position when the report arrived
};

std::vector<Report> g_reports;
SeekBarState* g_seekBar = nullptr;

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HSCROLL:
            g_reports.push_back({message, wParam, g_seekBar ? g_seekBar->position : 0});
            return 0;
        case WM_NOTIFY:
            g_reports.push_back(
                {message, static_cast<WPARAM>(reinterpret_cast<NMHDR*>(lParam)->code), 0});
            return 0;
        case WM_COMMAND:
            g_reports.push_back({message, wParam, 0});
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

class ControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Once for both suites built on this fixture.
        static bool registered = false;
        if (registered) {
            return;
        }
        HINSTANCE instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterSeekBarClass(instance));
        ASSERT_TRUE(RegisterVolumeSliderClass(instance));
        ASSERT_TRUE(RegisterTestWindowClass(L"Zephlo Test Recorder", RecorderProc));
        registered = true;
    }

    void SetUp() override {
        g_reports.clear();
        parent_ = CreateWindowExW(0, L"Zephlo Test Recorder", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                  200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, parent_);
        ShowWindow(parent_, SW_SHOWNOACTIVATE);
    }

    void TearDown() override {
        DestroyWindow(parent_);
        g_seekBar = nullptr;
    }

    static void Mouse(HWND window, UINT message, int x, int y) {
        SendMessageW(window, message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }

    static std::vector<WORD> Codes(UINT message) {
        std::vector<WORD> codes;
        for (const Report& report : g_reports) {
            if (report.message == message) {
                codes.push_back(LOWORD(report.wParam));
            }
        }
        return codes;
    }

    HWND parent_ = nullptr;
};

// A bar 216 pixels wide and 16 high: thumb 14 wide, track 200 long.
class SeekBarTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        bar_ = CreateSeekBar(parent_, 0, 0, 216, &state_, GetModuleHandleW(nullptr));
        ASSERT_NE(nullptr, bar_);
        EnableWindow(bar_, TRUE);
        g_seekBar = &state_;
        SeekBarSetRange(state_, 0, 1000);
    }

    SeekBarState state_;
    HWND bar_ = nullptr;
};

TEST_F(SeekBarTest, ClickOffTheThumbCentresItUnderThePointerThenReportsTheRelease) {
    Mouse(bar_, WM_LBUTTONDOWN, 101, 8);
    EXPECT_EQ(93, state_.thumbX);
    EXPECT_EQ(465, state_.position);
    EXPECT_EQ(bar_, GetCapture());
    Mouse(bar_, WM_LBUTTONUP, 101, 8);
    EXPECT_EQ(nullptr, GetCapture());
    ASSERT_EQ((std::vector<WORD>{kSeekBarMoved, kSeekBarReleased}), Codes(WM_HSCROLL));
    EXPECT_EQ(465, HIWORD(g_reports[0].wParam));
    EXPECT_EQ(465, g_reports[0].position);
}

TEST_F(SeekBarTest, ClickOnTheThumbReportsOnlyTheRelease) {
    SeekBarSetPosition(state_, 500);
    ASSERT_EQ(100, state_.thumbX);
    for (int x : {101, 114}) {  // the thumb's first and last pixel
        g_reports.clear();
        Mouse(bar_, WM_LBUTTONDOWN, x, 8);
        Mouse(bar_, WM_LBUTTONUP, x, 8);
        EXPECT_EQ(std::vector<WORD>{kSeekBarReleased}, Codes(WM_HSCROLL)) << x;
        EXPECT_EQ(500, state_.position);
    }
    g_reports.clear();
    Mouse(bar_, WM_LBUTTONDOWN, 115, 8);  // just right of it
    Mouse(bar_, WM_LBUTTONUP, 115, 8);
    EXPECT_EQ((std::vector<WORD>{kSeekBarMoved, kSeekBarReleased}), Codes(WM_HSCROLL));
}

TEST_F(SeekBarTest, DragsPinAtTheEndsAndUnchangedMovesAreSilent) {
    Mouse(bar_, WM_LBUTTONDOWN, 5, 8);  // on the thumb at the left end
    Mouse(bar_, WM_MOUSEMOVE, -300, 8);
    EXPECT_TRUE(Codes(WM_HSCROLL).empty());
    Mouse(bar_, WM_MOUSEMOVE, 55, 8);
    EXPECT_EQ(50, state_.thumbX);
    EXPECT_EQ(250, state_.position);
    Mouse(bar_, WM_MOUSEMOVE, 55, 12);  // vertical moves change nothing
    Mouse(bar_, WM_MOUSEMOVE, 2000, 8);
    EXPECT_EQ(200, state_.thumbX);
    EXPECT_EQ(1000, state_.position);
    Mouse(bar_, WM_MOUSEMOVE, 3000, 8);
    Mouse(bar_, WM_MOUSEMOVE, -30000, 8);
    EXPECT_EQ(0, state_.thumbX);
    EXPECT_EQ(0, state_.position);
    Mouse(bar_, WM_LBUTTONUP, -30000, 8);
    EXPECT_EQ((std::vector<WORD>{kSeekBarMoved, kSeekBarMoved, kSeekBarMoved, kSeekBarReleased}),
              Codes(WM_HSCROLL));
    // Without the capture, moves do nothing.
    g_reports.clear();
    Mouse(bar_, WM_MOUSEMOVE, 100, 8);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(SeekBarTest, LongPositionsArriveWholeThroughTheState) {
    SeekBarSetRange(state_, 0, 200'000);
    Mouse(bar_, WM_LBUTTONDOWN, 158, 8);  // thumb to 150 of 200
    Mouse(bar_, WM_LBUTTONUP, 158, 8);
    ASSERT_EQ(2u, g_reports.size());
    EXPECT_EQ(150'000, g_reports[0].position);
    EXPECT_EQ(150'000 & 0xFFFF, HIWORD(g_reports[0].wParam));
}

TEST_F(SeekBarTest, LostCaptureStillEndsTheDrag) {
    Mouse(bar_, WM_LBUTTONDOWN, 5, 8);
    SetCapture(parent_);
    EXPECT_EQ(std::vector<WORD>{kSeekBarReleased}, Codes(WM_HSCROLL));
    Mouse(bar_, WM_LBUTTONUP, 5, 8);
    EXPECT_EQ(std::vector<WORD>{kSeekBarReleased}, Codes(WM_HSCROLL));
    ReleaseCapture();
}

TEST_F(SeekBarTest, EmptyRangeOrNoTrackReportsTheStart) {
    SeekBarSetRange(state_, 700, 700);
    Mouse(bar_, WM_LBUTTONDOWN, 150, 8);
    Mouse(bar_, WM_LBUTTONUP, 150, 8);
    EXPECT_EQ(0, state_.thumbX);
    EXPECT_EQ(700, state_.position);

    EXPECT_EQ((std::vector<WORD>{kSeekBarMoved, kSeekBarReleased}), Codes(WM_HSCROLL));

    SeekBarSetRange(state_, 100, 900);
    SeekBarSetPosition(state_, 500);
    MoveWindow(bar_, 0, 0, 10, 16, TRUE);  // narrower than the thumb
    EXPECT_EQ(0, state_.thumbX);
    g_reports.clear();
    Mouse(bar_, WM_LBUTTONDOWN, 0, 8);  // the one pixel left of the thumb
    Mouse(bar_, WM_MOUSEMOVE, 300, 8);
    Mouse(bar_, WM_LBUTTONUP, 300, 8);
    EXPECT_EQ(0, state_.thumbX);
    EXPECT_EQ(100, state_.position);
    EXPECT_EQ((std::vector<WORD>{kSeekBarMoved, kSeekBarReleased}), Codes(WM_HSCROLL));
}

TEST_F(SeekBarTest, DestroyClearsTheWindowAndPaintingLeaksNothing) {
    DWORD before = GdiObjectCount();
    for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) {
        SeekBarSetColour(state_, colour);
        UpdateWindow(bar_);
        RedrawWindow(bar_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    DestroyWindow(bar_);
    EXPECT_EQ(nullptr, state_.hwnd);
    EXPECT_FALSE(state_.trackBrush);
    EXPECT_FALSE(state_.faceBrush);
    EXPECT_LE(GdiObjectCount(), before);
}

// A slider 22 pixels high: track length 17.
class VolumeSliderTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        slider_ = CreateVolumeSlider(parent_, 10, 0, 22, &state_, GetModuleHandleW(nullptr));
        ASSERT_NE(nullptr, slider_);
    }

    int Notifications() const {
        int count = 0;
        for (const Report& report : g_reports) {
            EXPECT_EQ(MAKEWPARAM(kVolumeSliderId, kVolumeSliderChanged), report.wParam);
            ++count;
        }
        return count;
    }

    VolumeSliderState state_;
    HWND slider_ = nullptr;
};

TEST_F(VolumeSliderTest, PressAboveAndBelowTheTrackPins) {
    EXPECT_EQ(slider_, state_.hwnd);
    Mouse(slider_, WM_LBUTTONDOWN, 6, 0);
    Mouse(slider_, WM_LBUTTONUP, 6, 0);
    EXPECT_EQ(1000, state_.value);
    Mouse(slider_, WM_LBUTTONDOWN, 6, 21);
    Mouse(slider_, WM_LBUTTONUP, 6, 21);
    EXPECT_EQ(0, state_.value);
    EXPECT_EQ(2, Notifications());
}

TEST_F(VolumeSliderTest, PressAlwaysNotifiesOnceAndUnchangedMovesNever) {
    state_.value = 471;
    Mouse(slider_, WM_LBUTTONDOWN, 6, 11);  // lands on the current level
    EXPECT_EQ(471, state_.value);
    EXPECT_EQ(1, Notifications());
    Mouse(slider_, WM_MOUSEMOVE, 9, 11);
    EXPECT_EQ(1, Notifications());
    Mouse(slider_, WM_MOUSEMOVE, 6, 40);
    EXPECT_EQ(0, state_.value);
    Mouse(slider_, WM_MOUSEMOVE, 6, 400);
    EXPECT_EQ(2, Notifications());
    Mouse(slider_, WM_MOUSEMOVE, 6, -50);
    EXPECT_EQ(1000, state_.value);
    Mouse(slider_, WM_LBUTTONUP, 6, -50);
    EXPECT_EQ(3, Notifications());
    Mouse(slider_, WM_MOUSEMOVE, 6, 11);  // released: no more changes
    EXPECT_EQ(1000, state_.value);
    EXPECT_EQ(3, Notifications());
}

}  // namespace

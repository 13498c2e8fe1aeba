// The media window playing real files through the DirectShow back-end.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "media_window/media_window.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

constexpr int kId = 400;

std::vector<WORD> g_codes;
std::vector<LPARAM> g_states;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kId) {
        g_codes.push_back(HIWORD(wParam));
        return 0;
    }
    if (message == kMediaNotify && wParam == kMediaStateChanged) {
        g_states.push_back(lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Clip(const wchar_t* name) {
    return BuildFolder() + L"\\test-media\\" + name;
}

class PlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        HINSTANCE instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(RegisterMediaWindowClasses(instance));
        ASSERT_TRUE(RegisterTestWindowClass(L"Zephlo Test Owner", OwnerProc));
    }

    void SetUp() override {
        g_codes.clear();
        g_states.clear();
        owner_ =
            CreateWindowExW(0, L"Zephlo Test Owner", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                            0, 500, 450, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, owner_);
        window_ = std::make_unique<MediaWindow>();
        ASSERT_TRUE(window_->Create(owner_, kId, GetModuleHandleW(nullptr)));
        MoveWindow(window_->mediaWindow, 0, 0, 480, 400, TRUE);
        ShowWindow(owner_, SW_SHOWNOACTIVATE);
    }

    void TearDown() override {
        window_.reset();
        DestroyWindow(owner_);
    }

    void Open(const wchar_t* name) { ASSERT_TRUE(window_->OpenFile(Clip(name).c_str())); }
    void Command(int id) { SendMessageW(window_->mediaWindow, WM_COMMAND, id, 0); }
    Media& Back() { return *window_->media; }
    bool Checked(int command) {
        return SendMessageW(window_->playBar, TB_ISBUTTONCHECKED, command, 0) != 0;
    }
    int Count(WORD code) {
        return static_cast<int>(std::count(g_codes.begin(), g_codes.end(), code));
    }
    // Plays from a little before the end.
    void PlayNearTheEnd() {
        Command(CMD_PLAY);
        ASSERT_TRUE(PumpUntil([this] { return Back().state() == Playing; }, 5000));
        Back().SetPosition(Back().GetEnd() - 400);
    }

    HWND owner_ = nullptr;
    std::unique_ptr<MediaWindow> window_;
};

TEST_F(PlaybackTest, EndOfMediaRestartsWithRepeatAndIsReportedWithout) {
    Open(L"tone.wav");
    Command(CMD_REPEAT);
    PlayNearTheEnd();
    ASSERT_TRUE(PumpUntil(
        [] { return std::find(g_states.begin(), g_states.end(), Stopped) != g_states.end(); },
        5000));
    PumpUntil([this] { return Back().state() == Playing; }, 3000);
    EXPECT_EQ(Playing, Back().state());
    EXPECT_LT(Back().GetPosition(), Back().GetEnd() - 400);
    EXPECT_EQ(0, Count(kEndOfMedia));

    Command(CMD_REPEAT);
    Back().SetPosition(Back().GetEnd() - 400);
    ASSERT_TRUE(PumpUntil([this] { return Count(kEndOfMedia) == 1; }, 5000));
    EXPECT_EQ(Stopped, Back().state());

    // Play at the end starts again from the beginning.
    Command(CMD_PLAY);
    ASSERT_TRUE(PumpUntil([this] { return Back().state() == Playing; }, 5000));
    EXPECT_LT(Back().GetPosition(), 1000);
}

TEST_F(PlaybackTest, SeekBarDragKeepsPauseAndResumesPlay) {
    Open(L"red.avi");
    SeekBarState& bar = *window_->seekBar;
    Command(CMD_PLAY);
    ASSERT_TRUE(PumpUntil([this] { return Back().state() == Playing; }, 5000));
    Command(CMD_PAUSE);
    ASSERT_TRUE(PumpUntil([this] { return Back().state() == Paused; }, 5000));
    SendMessageW(bar.hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(300, 8));
    SendMessageW(bar.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 8));
    PumpMessages(200);
    EXPECT_EQ(Paused, Back().state());
    EXPECT_NEAR(bar.position, Back().GetPosition(), 100);

    Command(CMD_PLAY);
    ASSERT_TRUE(PumpUntil([this] { return Back().state() == Playing; }, 5000));
    SendMessageW(bar.hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(100, 8));
    SendMessageW(bar.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 8));
    EXPECT_TRUE(PumpUntil([this] { return Back().state() == Playing; }, 5000));
    EXPECT_FALSE(window_->seeking);
}

TEST_F(PlaybackTest, MuteAndVolumeCarryIntoTheNextFile) {
    window_->SetVolume(600);
    SendMessageW(window_->playBar, TB_CHECKBUTTON, CMD_MUTE, TRUE);
    Command(CMD_MUTE);  // the button clicked with nothing open
    Open(L"tone.wav");
    EXPECT_TRUE(Back().muted());
    EXPECT_EQ(600, Back().volume());
    window_->SetVolume(800);
    EXPECT_FALSE(Back().muted());
    EXPECT_FALSE(Checked(CMD_MUTE));
    EXPECT_EQ(800, window_->GetVolume());
}

TEST_F(PlaybackTest, NoObjectLeaksAcrossOpenAndClose) {
    Open(L"red.avi");
    window_->CloseFile();
    PumpMessages(100);
    DWORD gdi = GdiObjectCount();
    DWORD user = UserObjectCount();
    for (int i = 0; i < 50; ++i) {
        Open(i % 2 ? L"red.avi" : L"tone.wav");
        PumpMessages(10);
        window_->CloseFile();
    }
    PumpMessages(100);
    EXPECT_LE(GdiObjectCount(), gdi + 4);
    EXPECT_LE(UserObjectCount(), user + 4);
}

}  // namespace

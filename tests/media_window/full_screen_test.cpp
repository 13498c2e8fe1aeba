// Full screen: the media window moved into a top-most window over the screen
// and back, the owner's code 8, and the cursor hidden over the canvas.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "fake_media.h"
#include "media_window/media_window.h"
#include "support/test_support.h"

namespace {

constexpr int kId = 400;

std::vector<WORD> g_codes;  // WM_COMMAND codes from the media window
int g_ownerSizes = 0;       // WM_SIZE messages the owner received

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kId) {
        g_codes.push_back(HIWORD(wParam));
        return 0;
    }
    if (message == WM_SIZE) {
        ++g_ownerSizes;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int CountFullScreenWindows() {
    int count = 0;
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"Zephlo FullScreen Window", nullptr)) !=
           nullptr) {
        ++count;
    }
    return count;
}

bool HasClientEdge(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

class FullScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(RegisterMediaWindowClasses(instance));
        ASSERT_TRUE(RegisterTestWindowClass(L"Zephlo Test Full Screen Owner", OwnerProc));
    }

    void SetUp() override {
        g_codes.clear();
        g_ownerSizes = 0;
        FakeMedia::nextHasVideo = true;
        FakeMedia::nextOpenFails = false;
        owner_ = CreateWindowExW(0, L"Zephlo Test Full Screen Owner", L"",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 500, 500, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, owner_);
        window_.createMedia = FakeMedia::Make;
        ASSERT_TRUE(window_.Create(owner_, kId, GetModuleHandleW(nullptr)));
        ShowWindow(owner_, SW_SHOWNOACTIVATE);
        MoveWindow(window_.mediaWindow, 0, 0, 400, 400, TRUE);
        ASSERT_TRUE(window_.OpenFile(L"C:\\media\\clip.avi"));
    }

    void TearDown() override { DestroyWindow(owner_); }

    LRESULT Canvas(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(window_.canvas, message, wParam, lParam);
    }

    HWND owner_ = nullptr;
    MediaWindow window_;
};

TEST_F(FullScreenTest, EnteringTwiceMakesOneWindowCoveringTheScreen) {
    ASSERT_TRUE(window_.SetFullScreen(true));
    HWND full = window_.fullScreenWindow;
    ASSERT_TRUE(window_.SetFullScreen(true));
    EXPECT_EQ(full, window_.fullScreenWindow);
    EXPECT_EQ(1, CountFullScreenWindows());
    EXPECT_TRUE(window_.fullScreen);
    EXPECT_EQ(full, GetParent(window_.mediaWindow));
    EXPECT_EQ(owner_, GetWindow(full, GW_OWNER));
    EXPECT_NE(0, GetWindowLongPtrW(full, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The media window fills the screen and the canvas has lost its border.
    RECT media;
    GetWindowRect(window_.mediaWindow, &media);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), media.right - media.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), media.bottom - media.top);
    EXPECT_FALSE(HasClientEdge(window_.canvas));
    RECT canvas;
    GetClientRect(window_.canvas, &canvas);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), canvas.right);
    EXPECT_TRUE(g_codes.empty());
}

TEST_F(FullScreenTest, EveryWayOutRestoresTheWindowAndTellsTheOwnerOnce) {
    const struct {
        const char* way;
        std::function<void(MediaWindow&)> leave;
    } cases[] = {
        {"escape",
         [](MediaWindow& w) { SendMessageW(w.fullScreenWindow, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"SetFullScreen(false)", [](MediaWindow& w) { EXPECT_TRUE(w.SetFullScreen(false)); }},
        {"WM_CLOSE", [](MediaWindow& w) { SendMessageW(w.fullScreenWindow, WM_CLOSE, 0, 0); }},
        {"DestroyWindow", [](MediaWindow& w) { DestroyWindow(w.fullScreenWindow); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        g_codes.clear();
        g_ownerSizes = 0;
        ASSERT_TRUE(window_.SetZoom(150));
        ASSERT_TRUE(window_.SetFullScreen(true));
        HWND full = window_.fullScreenWindow;
        window_.SetZoom(50);  // changed meanwhile; leaving brings back the zoom from before
        // Keys other than Esc do nothing.
        SendMessageW(full, WM_KEYDOWN, VK_SPACE, 0);
        ASSERT_TRUE(window_.fullScreen);
        c.leave(window_);
        EXPECT_FALSE(IsWindow(full));
        EXPECT_FALSE(window_.fullScreen);
        EXPECT_EQ(nullptr, window_.fullScreenWindow);
        EXPECT_TRUE(IsWindow(window_.mediaWindow));
        EXPECT_EQ(owner_, GetParent(window_.mediaWindow));
        EXPECT_TRUE(HasClientEdge(window_.canvas));
        EXPECT_EQ(150, window_.zoom);
        EXPECT_EQ(std::vector<WORD>{kFullScreenGone}, g_codes);
        EXPECT_GE(g_ownerSizes, 1);
        EXPECT_EQ(0, CountFullScreenWindows());
        EXPECT_TRUE(window_.SetFullScreen(false));  // already windowed: nothing to do
    }
}

TEST_F(FullScreenTest, HiddenCursorComesBackOnAMoveAndGoesAgainAfterTheTimer) {
    window_.hideCursor = true;
    // Outside full screen nothing hides the cursor.
    Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Canvas(WM_TIMER, 1);
    EXPECT_TRUE(window_.cursorVisible);

    ASSERT_TRUE(window_.SetFullScreen(true));
    EXPECT_FALSE(window_.cursorVisible);
    EXPECT_EQ(TRUE, Canvas(WM_SETCURSOR, reinterpret_cast<WPARAM>(window_.canvas),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(window_.cursorVisible);
    Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    EXPECT_TRUE(window_.cursorVisible);
    Canvas(WM_TIMER, 1);
    EXPECT_FALSE(window_.cursorVisible);

    // The right button shows the cursor for a while around the owner's menu.
    Canvas(WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(std::vector<WORD>{kCanvasRightClick}, g_codes);
    EXPECT_TRUE(window_.cursorVisible);
    Canvas(WM_TIMER, 1);
    EXPECT_FALSE(window_.cursorVisible);

    ASSERT_TRUE(window_.SetFullScreen(false));
    EXPECT_TRUE(window_.cursorVisible);
    // A timer left over from full screen does not hide it afterwards.
    Canvas(WM_TIMER, 1);
    EXPECT_TRUE(window_.cursorVisible);
}

TEST_F(FullScreenTest, WithHideCursorOffTheCursorIsNeverHidden) {
    window_.hideCursor = false;
    ASSERT_TRUE(window_.SetFullScreen(true));
    EXPECT_TRUE(window_.cursorVisible);
    Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    Canvas(WM_TIMER, 1);
    Canvas(WM_RBUTTONDOWN, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(window_.cursorVisible);
    // Switched off while the cursor was shown for a while: the running timer hides nothing.
    window_.hideCursor = true;
    Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    window_.hideCursor = false;
    Canvas(WM_TIMER, 1);
    EXPECT_TRUE(window_.cursorVisible);
    EXPECT_NE(TRUE, Canvas(WM_SETCURSOR, reinterpret_cast<WPARAM>(window_.canvas),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(FullScreenTest, NoObjectLeaksAcrossEnterAndLeaveCycles) {
    window_.hideCursor = true;
    ASSERT_TRUE(window_.SetFullScreen(true));  // the class is registered once
    ASSERT_TRUE(window_.SetFullScreen(false));
    PumpMessages(50);
    DWORD gdi = GdiObjectCount();
    DWORD user = UserObjectCount();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(window_.SetFullScreen(true));
        Canvas(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        UpdateWindow(window_.fullScreenWindow);
        SendMessageW(window_.fullScreenWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        UpdateWindow(owner_);
    }
    PumpMessages(50);
    EXPECT_EQ(0, CountFullScreenWindows());
    EXPECT_LE(GdiObjectCount(), gdi + 2);
    EXPECT_LE(UserObjectCount(), user + 2);
}

}  // namespace

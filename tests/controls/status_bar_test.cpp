#include "controls/status_bar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/test_support.h"

namespace {

struct LayoutCase {
    int width1, width2, minFirstWidth, clientWidth;
    int width0, x1, x2;
};

class StatusPaneLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(StatusPaneLayout, FirstPaneTakesTheRestButKeepsItsMinimum) {
    const LayoutCase& c = GetParam();
    StatusPane panes[kStatusPaneCount];
    panes[0].x = 99;
    panes[1].width = c.width1;
    panes[2].width = c.width2;
    LayoutStatusPanes(panes, c.minFirstWidth, c.clientWidth);
    EXPECT_EQ(panes[0].x, 0);
    EXPECT_EQ(panes[0].width, c.width0);
    EXPECT_EQ(panes[1].x, c.x1);
    EXPECT_EQ(panes[2].x, c.x2);
    EXPECT_EQ(panes[1].width, c.width1);
    EXPECT_EQ(panes[2].width, c.width2);
}

INSTANTIATE_TEST_SUITE_P(Cases, StatusPaneLayout,
                         testing::Values(
                             // Wide: pane 2 ends at the right edge.
                             LayoutCase{100, 150, 60, 500, 250, 250, 350},
                             LayoutCase{100, 150, 60, 310, 60, 60, 160},
                             // Narrow: the right panes run off the edge.
                             LayoutCase{100, 150, 60, 200, 60, 60, 160},
                             LayoutCase{100, 150, 60, 0, 60, 60, 160},
                             LayoutCase{0, 0, 0, 80, 80, 80, 80}));

std::vector<std::pair<WPARAM, LPARAM>> g_commands;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        g_commands.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Records the area each WM_PAINT of the status bar is asked to paint.
std::vector<RECT> g_paintedAreas;
WNDPROC g_statusBarProc = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        RECT area = {};
        GetUpdateRect(window, &area, FALSE);
        g_paintedAreas.push_back(area);
    }
    return CallWindowProcW(g_statusBarProc, window, message, wParam, lParam);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class StatusBarWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterStatusBarClass(instance));
        ASSERT_TRUE(RegisterTestWindowClass(L"StatusBarTestParent", ParentProc));
    }

    void SetUp() override {
        g_commands.clear();
        g_paintedAreas.clear();
        gdiBefore_ = GdiObjectCount();
        parent_.reset(CreateWindowExW(0, L"StatusBarTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0,
                                      640, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                      nullptr));
        ASSERT_TRUE(parent_);
        state_ = std::make_unique<StatusBarState>();
        ASSERT_NE(CreateStatusBar(parent_.get(), GetModuleHandleW(nullptr), state_.get()), nullptr);
    }

    void TearDown() override {
        parent_.reset();
        state_.reset();
        EXPECT_EQ(GdiObjectCount(), gdiBefore_) << "GDI objects leaked";
    }

    HWND bar() const { return state_->hwnd; }

    void ShowAndPlace(int width) {
        ShowWindow(parent_.get(), SW_SHOWNOACTIVATE);
        ShowStatusBar(*state_, true);
        MoveWindow(bar(), 0, 0, width, state_->windowHeight, TRUE);
        UpdateWindow(parent_.get());
        PumpMessages(50);
    }

    DWORD gdiBefore_ = 0;
    UniqueWindow parent_;
    std::unique_ptr<StatusBarState> state_;
};

TEST_F(StatusBarWindow, IsCreatedHiddenWithItsFontAndHeights) {
    ASSERT_NE(bar(), nullptr);
    EXPECT_FALSE(IsWindowVisible(bar()));
    EXPECT_EQ(GetDlgCtrlID(bar()), ID_STATUS_BAR);

    LOGFONTW stock = {};
    LOGFONTW copy = {};
    ASSERT_NE(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock), 0);
    ASSERT_TRUE(state_->font);
    EXPECT_NE(state_->font.get(), GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_NE(GetObjectW(state_->font.get(), sizeof copy, &copy), 0);
    EXPECT_EQ(copy.lfHeight, stock.lfHeight);
    EXPECT_EQ(std::wstring(copy.lfFaceName), std::wstring(stock.lfFaceName));

    EXPECT_EQ(state_->barHeight, std::abs(stock.lfHeight) + 4);
    EXPECT_EQ(state_->windowHeight, state_->barHeight + 2 * GetSystemMetrics(SM_CXEDGE));
}

TEST_F(StatusBarWindow, RightClickAsksTheParentForTheBarsMenu) {
    SendMessageW(bar(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].first, MAKEWPARAM(ID_STATUS_BAR, 1));
    EXPECT_EQ(g_commands[0].second, reinterpret_cast<LPARAM>(bar()));
    SendMessageW(bar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(g_commands.size(), 1u);
}

// Each sample fits its pane with a little room to spare; the last pane ends
// at the bar's right edge until the bar is too narrow for all three.
TEST_F(StatusBarWindow, SamplesSizeThePanesAndNarrowBarsCutTheRightPanes) {
    const wchar_t* samples[] = {L"一時停止中", L"1000 x 1000 (1000%)",
                                L"00:00:00.00 / 00:00:00.00"};
    int extents[kStatusPaneCount] = {};
    {
        WindowDC dc(bar());
        ScopedSelectObject select(dc.get(), state_->font.get());
        for (int i = 0; i < kStatusPaneCount; ++i) {
            SIZE extent = {};
            GetTextExtentPoint32W(dc.get(), samples[i], lstrlenW(samples[i]), &extent);
            extents[i] = extent.cx;
        }
    }
    ShowAndPlace(600);
    for (int i = 0; i < kStatusPaneCount; ++i) {
        SetPaneWidthFromSample(*state_, samples[i], i);
    }
    const int widths[] = {state_->minFirstWidth, state_->panes[1].width, state_->panes[2].width};
    for (int i = 0; i < kStatusPaneCount; ++i) {
        EXPECT_GT(widths[i], extents[i]) << i;
        EXPECT_LT(widths[i], extents[i] + 16) << i;
    }
    RECT client = {};
    GetClientRect(bar(), &client);
    EXPECT_EQ(state_->panes[2].x + state_->panes[2].width, client.right);

    const int narrow = widths[0] + widths[1] + widths[2] - 40;
    MoveWindow(bar(), 0, 0, narrow, state_->windowHeight, TRUE);
    EXPECT_EQ(state_->panes[0].width, state_->minFirstWidth);
    EXPECT_EQ(state_->panes[1].x, state_->minFirstWidth);
    GetClientRect(bar(), &client);
    EXPECT_GT(state_->panes[2].x + state_->panes[2].width, client.right);
}

TEST_F(StatusBarWindow, SettingATextRepaintsOnlyThatPane) {
    for (int i = 0; i < kStatusPaneCount; ++i) {
        state_->panes[i].width = 120;
    }
    state_->minFirstWidth = 120;
    ShowAndPlace(500);
    ASSERT_GT(state_->panes[0].width, 120);
    g_statusBarProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(bar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    g_paintedAreas.clear();

    SetPaneText(*state_, 1, L"640 x 480 (150%)");
    // Painted at once, before any message is pumped.
    ASSERT_EQ(g_paintedAreas.size(), 1u);
    const StatusPane& pane = state_->panes[1];
    RECT expected = {pane.x, 2, pane.x + pane.width, state_->barHeight - 2};
    EXPECT_TRUE(SameRect(g_paintedAreas[0], expected));
    EXPECT_STREQ(pane.text, L"640 x 480 (150%)");
    PumpMessages(20);
    EXPECT_EQ(g_paintedAreas.size(), 1u);

    SetWindowLongPtrW(bar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_statusBarProc));
}

// Replacing the black brush also checks, at TearDown, that the old one was deleted.
TEST_F(StatusBarWindow, PaintsTheBackgroundInTheStatusColour) {
    SetStatusBarColours(*state_, RGB(255, 255, 255), RGB(0, 0, 255));
    EXPECT_EQ(state_->textColour, RGB(255, 255, 255));
    ShowAndPlace(400);
    RedrawWindow(bar(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    WindowDC dc(bar());
    EXPECT_EQ(GetPixel(dc.get(), 300, state_->barHeight / 2), RGB(0, 0, 255));
}

TEST_F(StatusBarWindow, LongTextsAreCutToThirtyOneCharacters) {
    const std::wstring longText(40, L'x');
    SetPaneText(*state_, 0, longText.c_str());
    EXPECT_EQ(std::wstring(state_->panes[0].text), longText.substr(0, 31));

    // A surrogate pair that would be split at the cut is left out whole.
    std::wstring pairAtCut = std::wstring(30, L'a') + L"\xD83C\xDFB5" + L"b";
    SetPaneText(*state_, 1, pairAtCut.c_str());
    EXPECT_EQ(std::wstring(state_->panes[1].text), std::wstring(30, L'a'));
    std::wstring pairBeforeCut = std::wstring(29, L'a') + L"\xD83C\xDFB5" + L"bc";
    SetPaneText(*state_, 1, pairBeforeCut.c_str());
    EXPECT_EQ(std::wstring(state_->panes[1].text), pairBeforeCut.substr(0, 31));

    SetPaneText(*state_, 2, nullptr);
    EXPECT_STREQ(state_->panes[2].text, L"");
    SetPaneText(*state_, 3, L"ignored");
    SetPaneText(*state_, -1, L"ignored");
    EXPECT_STREQ(state_->panes[0].text, longText.substr(0, 31).c_str());
}

TEST_F(StatusBarWindow, DestroyingTheWindowReleasesTheFont) {
    DestroyWindow(bar());
    EXPECT_EQ(state_->hwnd, nullptr);
    EXPECT_FALSE(state_->font);
    // The owner may still store texts: nothing is drawn.
    SetPaneText(*state_, 0, L"停止中");
    EXPECT_STREQ(state_->panes[0].text, L"停止中");
}

}  // namespace

#include "controls/status_bar.h"

#include <string>

#include <algorithm>
#include <cstdlib>

#include "base/window_class.h"
#include "resources/resource.h"

namespace {

// Gap between a pane's left edge and its text, and the text's margins.
constexpr int kTextInset = 2;
constexpr int kSampleMargin = 4;

int TextLineHeight(HWND window, HFONT font, const LOGFONTW& logFont) {
    if (logFont.lfHeight != 0) {
        return std::abs(logFont.lfHeight);
    }
    // A font of default height: measure it.
    WindowDC dc(window);
    ScopedSelectObject select(dc.get(), font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

bool OnCreate(HWND window, StatusBarState* state) {
    LOGFONTW logFont = {};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont) == 0) {
        return false;
    }
    state->font.reset(CreateFontIndirectW(&logFont));
    if (!state->font) {
        return false;
    }
    if (!state->backgroundBrush) {
        state->backgroundBrush.reset(CreateSolidBrush(RGB(0, 0, 0)));
    }
    state->barHeight = TextLineHeight(window, state->font.get(), logFont) + kSampleMargin;
    state->windowHeight = state->barHeight + 2 * GetSystemMetrics(SM_CXEDGE);
    state->hwnd = window;
    return true;
}

void OnDestroy(HWND window, StatusBarState& state) {
    state.font.reset();
    state.hwnd = nullptr;
    ForgetWindowObject(window);
}

void OnPaint(HWND window, const StatusBarState& state) {
    PaintScope paint(window);
    const RECT& area = paint.paint().rcPaint;
    FillRect(paint.dc(), &area, state.backgroundBrush.get());
    ScopedSelectObject select(paint.dc(), state.font.get());
    SetTextColor(paint.dc(), state.textColour);
    SetBkMode(paint.dc(), TRANSPARENT);
    for (const StatusPane& pane : state.panes) {
        if (pane.x >= area.right || pane.x + pane.width <= area.left) {
            continue;
        }
        RECT textRect = {pane.x + kTextInset, 0, pane.x + pane.width, state.barHeight};
        DrawTextW(paint.dc(), pane.text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

void OnRightButtonDown(HWND window) {
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(ID_STATUS_BAR, kStatusBarRightClick),
                 reinterpret_cast<LPARAM>(window));
}

// The window's text is what it shows: the three panes joined by tabs, so that
// screen readers and other programs can read the bar.
std::wstring PaneTexts(const StatusBarState& state) {
    std::wstring text = state.panes[0].text;
    for (int pane = 1; pane < kStatusPaneCount; ++pane) {
        text += L'\t';
        text += state.panes[pane].text;
    }
    return text;
}

LRESULT OnGetText(const StatusBarState& state, WPARAM size, LPARAM buffer) {
    std::wstring text = PaneTexts(state);
    if (size == 0 || buffer == 0) {
        return 0;
    }
    std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    text.copy(out, length);
    out[length] = L'\0';
    return static_cast<LRESULT>(length);
}

LRESULT HandleStatusBarMessage(StatusBarState& bar, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, &bar) ? 0 : -1;
        case WM_DESTROY:
            OnDestroy(window, bar);
            return 0;
        case WM_SIZE:
            LayoutStatusPanes(bar.panes, bar.minFirstWidth, LOWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint(window, bar);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(window);
            return 0;
        case WM_GETTEXT:
            return OnGetText(bar, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(PaneTexts(bar).size());
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

int ClientWidth(HWND window) {
    RECT client = {};
    if (window == nullptr || !GetClientRect(window, &client)) {
        return 0;
    }
    return client.right;
}

}  // namespace

bool RegisterStatusBarClass(HINSTANCE instance) {
    return RegisterWindowClass(instance, {kStatusBarClass, ObjectWindowProc<HandleStatusBarMessage>,
                                          CS_HREDRAW | CS_VREDRAW});
}

HWND CreateStatusBar(HWND parent, HINSTANCE instance, StatusBarState* state) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, kStatusBarClass, L"", WS_CHILD, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_STATUS_BAR)), instance,
                           state);
}

void LayoutStatusPanes(StatusPane (&panes)[kStatusPaneCount], int minFirstWidth, int clientWidth) {
    panes[0].width = std::max(minFirstWidth, clientWidth - panes[1].width - panes[2].width);
    panes[0].x = 0;
    panes[1].x = panes[0].width;
    panes[2].x = panes[1].x + panes[1].width;
}

void SetPaneText(StatusBarState& state, int pane, const wchar_t* text) {
    if (pane < 0 || pane >= kStatusPaneCount) {
        return;
    }
    StatusPane& target = state.panes[pane];
    std::size_t length = 0;
    if (text != nullptr) {
        while (length < kStatusPaneTextSize - 1 && text[length] != L'\0') {
            ++length;
        }
        if (text[length] != L'\0' && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) {
            --length;
        }
        std::copy(text, text + length, target.text);
    }
    target.text[length] = L'\0';
    if (state.hwnd == nullptr) {
        return;
    }
    RECT area = {target.x, 2, target.x + target.width, state.barHeight - 2};
    InvalidateRect(state.hwnd, &area, FALSE);
    UpdateWindow(state.hwnd);
}

void SetPaneWidthFromSample(StatusBarState& state, const wchar_t* sample, int pane) {
    if (pane < 0 || pane >= kStatusPaneCount || sample == nullptr) {
        return;
    }
    SIZE extent = {};
    {
        WindowDC dc(state.hwnd);
        ScopedSelectObject select(dc.get(), state.font.get());
        GetTextExtentPoint32W(dc.get(), sample, lstrlenW(sample), &extent);
    }
    const int width = extent.cx + kSampleMargin;
    if (pane == 0) {
        state.minFirstWidth = width;
    } else {
        state.panes[pane].width = width;
    }
    LayoutStatusPanes(state.panes, state.minFirstWidth, ClientWidth(state.hwnd));
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, FALSE);
    }
}

void ShowStatusBar(StatusBarState& state, bool show) {
    if (state.hwnd != nullptr) {
        ShowWindow(state.hwnd, show ? SW_SHOW : SW_HIDE);
    }
}

void SetStatusBarColours(StatusBarState& state, COLORREF text, COLORREF background) {
    state.textColour = text;
    state.backgroundBrush.reset(CreateSolidBrush(background));
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, FALSE);
    }
}

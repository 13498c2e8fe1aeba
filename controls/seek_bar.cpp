#include "controls/seek_bar.h"

#include <windowsx.h>

#include "base/window_class.h"
#include "controls/slider_math.h"

namespace {

void Notify(const SeekBarState& state, WORD code) {
    SendMessageW(GetParent(state.hwnd), WM_HSCROLL,
                 MAKEWPARAM(code, static_cast<WORD>(state.position & 0xFFFF)),
                 reinterpret_cast<LPARAM>(state.hwnd));
}

// Where the thumb may go for a wanted offset: on the track, and at the left
// end while the range is empty (every offset stands for the same position).
int ThumbTarget(const SeekBarState& state, int x) {
    return state.rangeMax > state.rangeMin ? ClampThumb(x, SeekBarTrackLength(state)) : 0;
}

void RecomputeThumb(SeekBarState& state) {
    state.thumbX = PixelFromPosition(state.position, state.rangeMin, state.rangeMax,
                                     SeekBarTrackLength(state));
}

// Shared by clicks and drag steps: the thumb goes to x, the position follows,
// the bar repaints at once and the parent hears code 1.
void MoveThumb(SeekBarState& state, int x) {
    state.thumbX = x;
    state.position =
        PositionFromPixel(x, state.rangeMin, state.rangeMax, SeekBarTrackLength(state));
    InvalidateRect(state.hwnd, nullptr, FALSE);
    UpdateWindow(state.hwnd);
    Notify(state, kSeekBarMoved);
}

void EndDrag(SeekBarState& state) {
    if (state.dragging) {
        state.dragging = false;
        Notify(state, kSeekBarReleased);
    }
}

void OnCreate(SeekBarState& state, HWND window) {
    state.hwnd = window;
    state.faceBrush.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
}

void OnDestroy(SeekBarState& state) {
    state.hwnd = nullptr;
    state.dragging = false;
    state.trackBrush.reset();
    state.faceBrush.reset();
}

void OnSize(SeekBarState& state, int height) {
    state.thumbWidth = height - 2;
    RecomputeThumb(state);
}

void OnLeftButtonDown(SeekBarState& state, int x) {
    if (x - 1 < state.thumbX || x - 1 >= state.thumbX + state.thumbWidth) {
        MoveThumb(state, ThumbTarget(state, x - (state.thumbWidth / 2 + 1)));
    }
    state.dragStartX = x;
    state.dragStartThumbX = state.thumbX;
    SetCapture(state.hwnd);
    state.dragging = true;
}

void OnMouseMove(SeekBarState& state, int x) {
    if (GetCapture() != state.hwnd || !state.dragging) {
        return;
    }
    int thumb = ThumbTarget(state, state.dragStartThumbX + x - state.dragStartX);
    if (thumb != state.thumbX) {
        MoveThumb(state, thumb);
    }
}

void OnLeftButtonUp(SeekBarState& state) {
    if (GetCapture() == state.hwnd) {
        ReleaseCapture();
    }
    EndDrag(state);
}

void OnRightButtonDown(const SeekBarState& state) {
    NMHDR header = {};
    header.hwndFrom = state.hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(state.hwnd));
    header.code = static_cast<UINT>(NM_RCLICK);
    SendMessageW(GetParent(state.hwnd), WM_NOTIFY, header.idFrom,
                 reinterpret_cast<LPARAM>(&header));
}

void FillBox(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
    RECT box = {left, top, right, bottom};
    FillRect(dc, &box, brush);
}

void EdgeBox(HDC dc, int left, int top, int right, int bottom, UINT edge, UINT flags) {
    RECT box = {left, top, right, bottom};
    DrawEdge(dc, &box, edge, flags);
}

void Paint(SeekBarState& state, HDC dc) {
    RECT client;
    GetClientRect(state.hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int y0 = (height - 6) / 2;
    const int thumbLeft = state.thumbX + 1;
    const int thumbRight = thumbLeft + state.thumbWidth;

    HBRUSH face = state.faceBrush ? state.faceBrush.get() : GetSysColorBrush(COLOR_BTNFACE);
    FillBox(dc, 0, 0, width, y0, face);
    FillBox(dc, 0, y0 + 6, width, height, face);

    EdgeBox(dc, 0, y0, state.thumbX + 2, y0 + 6, BDR_SUNKENOUTER, BF_LEFT | BF_TOP | BF_BOTTOM);
    EdgeBox(dc, state.thumbX + state.thumbWidth, y0, width, y0 + 6, BDR_SUNKENOUTER,
            BF_TOP | BF_RIGHT | BF_BOTTOM);

    EdgeBox(dc, thumbLeft, 1, thumbRight, height - 1, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EdgeBox(dc, thumbLeft + 4, 5, thumbRight - 4, height - 5, BDR_SUNKENOUTER, BF_RECT);

    if (!state.trackBrush) {
        state.trackBrush.reset(CreateSolidBrush(state.trackColour));
    }
    if (thumbLeft > 1) {
        FillBox(dc, 1, y0 + 1, thumbLeft, y0 + 5, state.trackBrush.get());
    }
    if (thumbRight < width - 1) {
        FillBox(dc, thumbRight, y0 + 1, width - 1, y0 + 5, state.trackBrush.get());
    }
}

LRESULT HandleSeekBarMessage(SeekBarState& bar, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(bar, window);
            return 0;
        case WM_DESTROY:
            OnDestroy(bar);
            ForgetWindowObject(window);
            return 0;
        case WM_SIZE:
            OnSize(bar, HIWORD(lParam));
            return 0;
        case WM_PAINT: {
            PaintScope paint(window);
            Paint(bar, paint.dc());
            return 0;
        }
        case WM_SYSCOLORCHANGE:
            bar.faceBrush.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(bar, GET_X_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(bar, GET_X_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp(bar);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse mid-drag: the owner still hears the end.
            EndDrag(bar);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(bar);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterSeekBarClass(HINSTANCE instance) {
    return RegisterWindowClass(
        instance, {kSeekBarClass, ObjectWindowProc<HandleSeekBarMessage>, CS_HREDRAW | CS_VREDRAW});
}

HWND CreateSeekBar(HWND parent, int x, int y, int width, SeekBarState* state, HINSTANCE instance) {
    return CreateWindowExW(0, kSeekBarClass, nullptr,
                           WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS, x, y, width,
                           kSeekBarHeight, parent, nullptr, instance, state);
}

int SeekBarTrackLength(const SeekBarState& state) {
    RECT client = {};
    if (state.hwnd == nullptr || !GetClientRect(state.hwnd, &client)) {
        return 0;
    }
    return client.right - state.thumbWidth - 2;
}

void SeekBarSetRange(SeekBarState& state, int rangeMin, int rangeMax) {
    state.rangeMin = rangeMin;
    state.rangeMax = rangeMax;
    RecomputeThumb(state);
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, FALSE);
    }
}

void SeekBarSetPosition(SeekBarState& state, int position) {
    state.position = position;
    int thumb =
        PixelFromPosition(position, state.rangeMin, state.rangeMax, SeekBarTrackLength(state));
    if (thumb != state.thumbX) {
        state.thumbX = thumb;
        if (state.hwnd != nullptr) {
            InvalidateRect(state.hwnd, nullptr, FALSE);
        }
    }
}

void SeekBarSetColour(SeekBarState& state, COLORREF colour) {
    state.trackColour = colour;
    state.trackBrush.reset();
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, FALSE);
    }
}

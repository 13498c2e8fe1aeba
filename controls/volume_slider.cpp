#include "controls/volume_slider.h"

#include <windowsx.h>

#include "app/handles.h"
#include "controls/slider_math.h"

namespace {

VolumeSliderState* StateOf(HWND window) {
    return reinterpret_cast<VolumeSliderState*>(GetWindowLongPtrW(window, 0));
}

int TrackLength(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.bottom - 5;
}

void Notify(const VolumeSliderState& state) {
    SendMessageW(GetParent(state.hwnd), WM_COMMAND,
                 MAKEWPARAM(kVolumeSliderId, kVolumeSliderChanged),
                 reinterpret_cast<LPARAM>(state.hwnd));
}

void Repaint(const VolumeSliderState& state) {
    InvalidateRect(state.hwnd, nullptr, TRUE);
    UpdateWindow(state.hwnd);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTW* create) {
    auto* state = static_cast<VolumeSliderState*>(create->lpCreateParams);
    if (state == nullptr) {
        return -1;
    }
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
    state->hwnd = window;
    return 0;
}

void OnLeftButtonDown(VolumeSliderState& state, int y) {
    state.value = VolumeFromPress(y, TrackLength(state.hwnd));
    Repaint(state);
    Notify(state);
    SetCapture(state.hwnd);
}

void OnMouseMove(VolumeSliderState& state, int y) {
    if (GetCapture() != state.hwnd) {
        return;
    }
    int value = VolumeFromDrag(y, TrackLength(state.hwnd));
    if (value != state.value) {
        state.value = value;
        Notify(state);
        Repaint(state);
    }
}

void Paint(const VolumeSliderState& state, HDC dc) {
    RECT client;
    GetClientRect(state.hwnd, &client);
    RECT track = {3, 0, client.right - 3, client.bottom};
    DrawEdge(dc, &track, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);

    int y = VolumeLevelY(state.value, track.top, track.bottom);
    RECT knob = {track.left - 3, y - 3, track.right + 3, y};
    DrawEdge(dc, &knob, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);

    if (y < track.bottom) {
        RECT fill = {track.left, y, track.right, track.bottom};
        UniqueBrush brush(CreateSolidBrush(state.fillColour));
        FillRect(dc, &fill, brush.get());
    }
}

LRESULT CALLBACK VolumeSliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    }
    VolumeSliderState* state = StateOf(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
            state->hwnd = nullptr;
            SetWindowLongPtrW(window, 0, 0);
            return 0;
        case WM_PAINT: {
            PaintScope paint(window);
            Paint(*state, paint.dc());
            return 0;
        }
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(*state, GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(*state, GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window) {
                ReleaseCapture();
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterVolumeSliderClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = VolumeSliderProc;
    windowClass.cbWndExtra = sizeof(void*);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kVolumeSliderClass;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateVolumeSlider(HWND parent, int x, int y, int height, VolumeSliderState* state,
                        HINSTANCE instance) {
    return CreateWindowExW(
        0, kVolumeSliderClass, nullptr, WS_CHILD | WS_VISIBLE, x, y, kVolumeSliderWidth, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kVolumeSliderId)), instance, state);
}

void VolumeSliderSetValue(VolumeSliderState& state, int value) {
    if (value == state.value) {
        return;
    }
    state.value = value;
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, TRUE);
    }
}

void VolumeSliderSetColour(VolumeSliderState& state, COLORREF colour) {
    state.fillColour = colour;
    if (state.hwnd != nullptr) {
        InvalidateRect(state.hwnd, nullptr, TRUE);
    }
}

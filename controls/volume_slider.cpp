#include "controls/volume_slider.h"

#include <windowsx.h>

#include "base/handles.h"
#include "base/window_class.h"
#include "controls/slider_math.h"

namespace {

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

LRESULT HandleVolumeSliderMessage(VolumeSliderState& slider, HWND window, UINT message,
                                  WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            slider.hwnd = window;
            return 0;
        case WM_DESTROY:
            slider.hwnd = nullptr;
            ForgetWindowObject(window);
            return 0;
        case WM_PAINT: {
            PaintScope paint(window);
            Paint(slider, paint.dc());
            return 0;
        }
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(slider, GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(slider, GET_Y_LPARAM(lParam));
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
    return RegisterWindowClass(
        instance, {kVolumeSliderClass, ObjectWindowProc<HandleVolumeSliderMessage>,
                   CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
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

#include "media/media.h"

#include <windowsx.h>

#include "base/window_class.h"

Media::~Media() {
    DestroyForm();
}

bool Media::CreateForm(HWND parent, int id, HINSTANCE instance) {
    if (formWindow_ != nullptr) {
        return true;
    }
    if (!RegisterWindowClass(instance, {FormClassName(), ObjectWindowProc<&Media::OnFormMessage>, 0,
                                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))})) {
        return false;
    }
    // The window procedure keeps the handle from WM_CREATE on, so that
    // messages sent during creation already reach the parent.
    HWND window = CreateWindowExW(
        0, FormClassName(), nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, static_cast<Media*>(this));
    formWindow_ = window;
    return window != nullptr;
}

void Media::DestroyForm() {
    if (formWindow_ != nullptr) {
        // WM_DESTROY clears formWindow_ through the window procedure.
        HWND window = formWindow_;
        DestroyWindow(window);
        formWindow_ = nullptr;
    }
}

bool Media::PrevFrame() {
    return false;
}

bool Media::NextFrame() {
    return false;
}

bool Media::SetBackwardSpeed(int speed) {
    if (speed < 1) {
        return false;
    }
    backwardSpeed_ = speed;
    return true;
}

bool Media::SetForwardSpeed(int speed) {
    if (speed < 1) {
        return false;
    }
    forwardSpeed_ = speed;
    return true;
}

bool Media::SetVolume(int level) {
    if (level > kMaxVolume) {
        return false;
    }
    if (level < 0) {
        level = 0;
    }
    muted_ = false;
    if (opened_) {
        ApplyLevel(level);
    }
    volume_ = level;
    return true;
}

bool Media::SetMute(bool mute) {
    if (mute != muted_ && opened_) {
        ApplyLevel(mute ? 0 : volume_);
    }
    muted_ = mute;
    return true;
}

void Media::MoveVideo(int x, int y, int width, int height) {
    if (formWindow_ != nullptr) {
        MoveWindow(formWindow_, x, y, width, height, TRUE);
    }
}

void Media::ResizeVideo(int width, int height) {
    if (formWindow_ != nullptr) {
        SetWindowPos(formWindow_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Media::Notify(WPARAM code, LPARAM value) const {
    if (formWindow_ != nullptr) {
        SendMessageW(GetParent(formWindow_), kMediaNotify, code, value);
    }
}

bool Media::OnFormCreate(HWND, const CREATESTRUCTW&) {
    return true;
}

void Media::OnFormDestroy() {
    Close();
}

LRESULT Media::OnFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            formWindow_ = window;
            return OnFormCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
        case WM_DESTROY:
            OnFormDestroy();
            formWindow_ = nullptr;
            ForgetWindowObject(window);
            return 0;
        case WM_LBUTTONDOWN:
            Notify(kMediaLeftButton, 0);
            return 0;
        case WM_RBUTTONDOWN:
            Notify(kMediaRightButton, 0);
            return 0;
        case WM_MOUSEMOVE: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            HWND parent = GetParent(window);
            MapWindowPoints(window, parent, &point, 1);
            SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                return SendMessageW(GetParent(window), WM_SETCURSOR, wParam, lParam);
            }
            break;
        default: {
            LRESULT result = 0;
            if (OnBackEndMessage(message, wParam, lParam, result)) {
                return result;
            }
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

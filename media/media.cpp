#include "media/media.h"

#include <windowsx.h>

Media::~Media() {
    DestroyForm();
}

bool Media::CreateForm(HWND parent, int id, HINSTANCE instance) {
    if (formWindow_ != nullptr) {
        return true;
    }
    if (!RegisterFormClass(instance)) {
        return false;
    }
    // The window procedure stores the object and the handle at WM_CREATE, so
    // that messages sent during creation already reach the parent.
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

bool Media::RegisterFormWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                    bool& registered) {
    if (registered) {
        return true;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = sizeof(void*);
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    registered = RegisterClassW(&windowClass) != 0;
    return registered;
}

bool Media::HandleCommonFormMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
    const Media* media = FromWindow(window);
    if (media == nullptr) {
        result = DefWindowProcW(window, message, wParam, lParam);
        return true;
    }
    result = 0;
    switch (message) {
        case WM_LBUTTONDOWN:
            media->Notify(kMediaLeftButton, 0);
            return true;
        case WM_RBUTTONDOWN:
            media->Notify(kMediaRightButton, 0);
            return true;
        case WM_MOUSEMOVE: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            HWND parent = GetParent(window);
            MapWindowPoints(window, parent, &point, 1);
            SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
            return true;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT) {
                return false;
            }
            result = SendMessageW(GetParent(window), WM_SETCURSOR, wParam, lParam);
            return true;
        default:
            return false;
    }
}

Media* Media::FromWindow(HWND window) {
    return reinterpret_cast<Media*>(GetWindowLongPtrW(window, 0));
}

void Media::StoreInWindow(HWND window, LPARAM createParameters) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(createParameters);
    auto* media = static_cast<Media*>(create->lpCreateParams);
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(media));
    if (media != nullptr) {
        media->formWindow_ = window;
    }
}

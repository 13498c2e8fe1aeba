// The full-screen window "Zephlo FullScreen Window": a borderless top-most
// window over the primary screen into which the whole media window is moved,
// and the hiding of the cursor over the canvas while it is up.
#include "media_window/media_window.h"

#include "base/window_class.h"

namespace {

constexpr wchar_t kFullScreenClass[] = L"Zephlo FullScreen Window";
// The canvas's timer that hides the cursor again after a mouse move.
constexpr UINT_PTR kCursorTimer = 1;
constexpr UINT kCursorDelay = 1500;

void SetClientEdge(HWND window, bool on) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    style = on ? (style | WS_EX_CLIENTEDGE) : (style & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(window, GWL_EXSTYLE, style);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool MediaWindow::SetFullScreen(bool on) {
    if (on == fullScreen) {
        return true;
    }
    if (!on) {
        SendMessageW(fullScreenWindow, WM_CLOSE, 0, 0);
        return true;
    }
    if (mediaWindow == nullptr) {
        return false;
    }
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mediaWindow, GWLP_HINSTANCE));
    if (!RegisterWindowClass(
            instance, {kFullScreenClass, ObjectWindowProc<&MediaWindow::OnFullScreenMessage>, 0,
                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)})) {
        return false;
    }
    return CreateWindowExW(WS_EX_TOPMOST, kFullScreenClass, nullptr,
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), owner,
                           nullptr, instance, this) != nullptr;
}

LRESULT MediaWindow::OnFullScreenMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnFullScreenCreate(window);
            return 0;
        case WM_SIZE:
            MoveWindow(mediaWindow, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                SendMessageW(window, WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_CLOSE:
            OnFullScreenClose();
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_DESTROY:
            OnFullScreenDestroy();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void MediaWindow::OnFullScreenCreate(HWND window) {
    fullScreenWindow = window;
    fullScreen = true;
    savedZoom = zoom;
    SetClientEdge(canvas, false);
    SetParent(mediaWindow, window);
    if (hideCursor) {
        cursorVisible = false;
    }
}

// Whichever way the window goes, the media window is back in the owner before
// the full-screen window destroys its children.
void MediaWindow::OnFullScreenClose() {
    if (!fullScreen) {
        return;
    }
    // Killed whatever the flags say now: the hide-cursor setting may have been
    // switched off while the timer was running.
    KillTimer(canvas, kCursorTimer);
    SetClientEdge(canvas, true);
    SetParent(mediaWindow, owner);
    fullScreen = false;
    if (!fitToWindow) {
        SetZoom(savedZoom);
    }
    if (owner != nullptr) {
        RECT client = {};
        GetClientRect(owner, &client);
        SendMessageW(owner, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
}

void MediaWindow::OnFullScreenDestroy() {
    OnFullScreenClose();
    fullScreenWindow = nullptr;
    cursorVisible = true;
    NotifyOwner(kFullScreenGone);
}

// ---------------------------------------------------------------------------
// The cursor over the canvas (the back-ends' form windows pass theirs here)

bool MediaWindow::OnCanvasSetCursor(LPARAM lParam) const {
    if (LOWORD(lParam) == HTCLIENT && !cursorVisible) {
        SetCursor(nullptr);
        return true;
    }
    return false;
}

void MediaWindow::ShowCursorForAWhile() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    cursorVisible = true;
    SetTimer(canvas, kCursorTimer, kCursorDelay, nullptr);
}

void MediaWindow::OnCanvasMouseMove() {
    if (fullScreen && !cursorVisible) {
        ShowCursorForAWhile();
    }
}

// A timer still running when full screen ended or the hide-cursor setting
// was switched off hides nothing.
void MediaWindow::OnCanvasCursorTimer() {
    KillTimer(canvas, kCursorTimer);
    if (fullScreen && hideCursor) {
        SetCursor(nullptr);
        cursorVisible = false;
    }
}

void MediaWindow::OnCanvasRightButton() {
    if (fullScreen && hideCursor && cursorVisible) {
        KillTimer(canvas, kCursorTimer);
    }
    NotifyOwner(kCanvasRightClick);
    if (fullScreen && hideCursor) {
        ShowCursorForAWhile();
    }
}

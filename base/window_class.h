// Window classes of the program's own windows, and the object behind each
// window: the creation parameter, kept in the window's extra data.
#ifndef ZEPHLO_BASE_WINDOW_CLASS_H
#define ZEPHLO_BASE_WINDOW_CLASS_H

#include <windows.h>

#include <type_traits>

struct WindowClass {
    const wchar_t* name = nullptr;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    // Null paints nothing behind the window.
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

// Registers the class with room for one pointer of extra data and the arrow
// cursor. True also when this module registered it before.
bool RegisterWindowClass(HINSTANCE instance, const WindowClass& windowClass);

// The object stored in a window's extra data, or null.
template <typename Object>
Object* WindowObject(HWND window) {
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, 0));
}

// Forgets the object of a window that is being destroyed: later messages go
// to the default handling.
inline void ForgetWindowObject(HWND window) {
    SetWindowLongPtrW(window, 0, 0);
}

namespace window_class_detail {

template <typename Handler>
struct HandlerTraits;

// A member function: object.Handle(window, message, wParam, lParam).
template <typename Object>
struct HandlerTraits<LRESULT (Object::*)(HWND, UINT, WPARAM, LPARAM)> {
    using Type = Object;
};

// A free function: Handle(object, window, message, wParam, lParam).
template <typename Object>
struct HandlerTraits<LRESULT (*)(Object&, HWND, UINT, WPARAM, LPARAM)> {
    using Type = Object;
};

}  // namespace window_class_detail

// The window procedure of a class whose windows are created with a pointer to
// their object as the creation parameter: the pointer is stored at
// WM_NCCREATE (a window created without one is refused), every later message
// goes to Handler with the object, and messages while no object is stored go
// to DefWindowProcW.
template <auto Handler>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using Object = typename window_class_detail::HandlerTraits<decltype(Handler)>::Type;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams == nullptr) {
            return FALSE;
        }
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Object* object = WindowObject<Object>(window);
    if (object == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if constexpr (std::is_member_function_pointer_v<decltype(Handler)>) {
        return (object->*Handler)(window, message, wParam, lParam);
    } else {
        return Handler(*object, window, message, wParam, lParam);
    }
}

#endif

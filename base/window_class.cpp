#include "base/window_class.h"

bool RegisterWindowClass(HINSTANCE instance, const WindowClass& windowClass) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, windowClass.name, &existing)) {
        return true;
    }
    WNDCLASSEXW registration = {};
    registration.cbSize = sizeof registration;
    registration.style = windowClass.style;
    registration.lpfnWndProc = windowClass.procedure;
    registration.cbWndExtra = sizeof(void*);
    registration.hInstance = instance;
    registration.hIcon = windowClass.icon;
    registration.hIconSm = windowClass.smallIcon;
    registration.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registration.hbrBackground = windowClass.background;
    registration.lpszClassName = windowClass.name;
    return RegisterClassExW(&registration) != 0;
}

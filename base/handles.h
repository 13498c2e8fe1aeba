// Move-only owners of platform objects. Every object the program creates is
// held by one of these, so it is released exactly once on every path.
#ifndef ZEPHLO_BASE_HANDLES_H
#define ZEPHLO_BASE_HANDLES_H

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    Handle release() noexcept {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }

    void reset(Handle handle = Traits::Invalid()) noexcept {
        if (handle_ != Traits::Invalid()) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct WindowTraits {
    using Handle = HWND;
    static HWND Invalid() { return nullptr; }
    static void Close(HWND window) { DestroyWindow(window); }
};

struct MenuTraits {
    using Handle = HMENU;
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};

template <typename T>
struct GdiTraits {
    using Handle = T;
    static T Invalid() { return nullptr; }
    static void Close(T object) { DeleteObject(object); }
};

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};

struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() { return nullptr; }
    static void Close(HICON icon) { DestroyIcon(icon); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};

struct AcceleratorTraits {
    using Handle = HACCEL;
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL table) { DestroyAcceleratorTable(table); }
};

// Kernel objects whose "none" is null (mutexes, processes, events).
struct KernelTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// Files, whose "none" is INVALID_HANDLE_VALUE.
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};

// A memory device context made with CreateCompatibleDC.
struct MemoryDCTraits {
    using Handle = HDC;
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};

// Files dropped on a window: the drop is finished (its memory freed) once.
struct DropTraits {
    using Handle = HDROP;
    static HDROP Invalid() { return nullptr; }
    static void Close(HDROP drop) { DragFinish(drop); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueFont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueAccelerators = UniqueHandle<AcceleratorTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueMemoryDC = UniqueHandle<MemoryDCTraits>;
using UniqueDrop = UniqueHandle<DropTraits>;

// A typed export of a loaded library, or null.
template <typename Function>
Function GetProcedure(HMODULE module, const char* name) {
    // Through a generic function pointer: FARPROC's own signature differs.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Selects a GDI object into a device context for the lifetime of the scope.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(dc_, previous_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint/EndPaint as a scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) {
        dc_ = BeginPaint(window, &paint_);
    }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A device context obtained with GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

#endif

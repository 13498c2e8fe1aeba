// A stand-in for the platform header, for the fuzz targets built natively on
// the build machine: the types, constants and functions that the window-free
// logic under test names, and nothing else. Text is UTF-16 as on the
// platform, one code unit per wchar_t (which is wider here). The functions
// are in win32_shim.cpp; those the fuzzed code never reaches stop the
// process when called.
#ifndef ZEPHLO_TESTS_FUZZ_SHIM_WINDOWS_H
#define ZEPHLO_TESTS_FUZZ_SHIM_WINDOWS_H

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define CDECL

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HRESULT = std::int32_t;
using ATOM = WORD;
using COLORREF = DWORD;
using WCHAR = wchar_t;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using PWSTR = wchar_t*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBOOL = BOOL*;
using LPVOID = void*;
using LPCVOID = const void*;
using HANDLE = void*;
using FARPROC = LONG_PTR (*)();

#define ZEPHLO_SHIM_HANDLE(name) \
    struct name##__ {            \
        int unused;              \
    };                           \
    using name = name##__*
ZEPHLO_SHIM_HANDLE(HWND);
ZEPHLO_SHIM_HANDLE(HMENU);
ZEPHLO_SHIM_HANDLE(HDC);
ZEPHLO_SHIM_HANDLE(HICON);
ZEPHLO_SHIM_HANDLE(HINSTANCE);
ZEPHLO_SHIM_HANDLE(HACCEL);
ZEPHLO_SHIM_HANDLE(HDROP);
ZEPHLO_SHIM_HANDLE(HFONT);
ZEPHLO_SHIM_HANDLE(HBRUSH);
ZEPHLO_SHIM_HANDLE(HPEN);
ZEPHLO_SHIM_HANDLE(HBITMAP);
ZEPHLO_SHIM_HANDLE(HIMAGELIST);
#undef ZEPHLO_SHIM_HANDLE
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
constexpr DWORD MAX_PATH = 260;

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

struct POINT {
    LONG x;
    LONG y;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;
struct SECURITY_ATTRIBUTES;

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

constexpr UINT MF_BYCOMMAND = 0;
constexpr UINT MF_BYPOSITION = 0x400;
constexpr UINT MF_STRING = 0;
constexpr UINT MF_ENABLED = 0;
constexpr UINT MF_GRAYED = 1;
constexpr UINT MF_BITMAP = 4;
constexpr UINT MF_POPUP = 0x10;
constexpr UINT MF_OWNERDRAW = 0x100;
constexpr UINT MF_SEPARATOR = 0x800;

constexpr BYTE FVIRTKEY = 1;
constexpr BYTE FSHIFT = 4;
constexpr BYTE FCONTROL = 8;
constexpr BYTE FALT = 16;

constexpr int VK_RETURN = 0x0D;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F5 = 0x74;

constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_3DFACE = 15;
constexpr int COLOR_3DSHADOW = 16;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_3DHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

// Text and code pages.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR bytes, int size, LPWSTR wide,
                        int wideSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int size, LPSTR bytes,
                        int byteSize, LPCSTR defaultChar, LPBOOL usedDefault);
UINT GetACP();
BOOL IsCharAlphaW(WCHAR c);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);
int lstrlenW(LPCWSTR text);
int _vsnwprintf(wchar_t* buffer, std::size_t size, const wchar_t* format, va_list arguments);

// Settings files, over the files of the shim.
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                               DWORD size, LPCWSTR path);
DWORD GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR path);
BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path);
BOOL WritePrivateProfileSectionW(LPCWSTR section, LPCWSTR text, LPCWSTR path);

// Files: those the shim holds in memory (win32_shim.h).
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, DWORD* written, void* overlapped);
BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size);
BOOL CloseHandle(HANDLE handle);
DWORD GetFileAttributesW(LPCWSTR path);
HANDLE FindFirstFileW(LPCWSTR path, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE find);
DWORD GetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart);
DWORD GetLongPathNameW(LPCWSTR path, LPWSTR buffer, DWORD size);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// Menus: items held by the shim.
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
int GetMenuItemCount(HMENU menu);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
BOOL ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);

// Never reached by the fuzzed code.
HACCEL CreateAcceleratorTableW(LPACCEL accelerators, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
DWORD GetSysColor(int index);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
HMODULE GetModuleHandleW(LPCWSTR name);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
void DragFinish(HDROP drop);
BOOL DestroyWindow(HWND window);
BOOL DeleteObject(HGDIOBJ object);
BOOL DeleteDC(HDC dc);
BOOL DestroyIcon(HICON icon);
BOOL FreeLibrary(HMODULE module);
BOOL ImageList_Destroy(HIMAGELIST list);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

#endif

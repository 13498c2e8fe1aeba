// The program's name and how a second instance reaches the running one.
#ifndef ZEPHLO_APP_PROGRAM_H
#define ZEPHLO_APP_PROGRAM_H

#include <windows.h>

inline constexpr wchar_t kProgramName[] = L"Zephlo";
// The main window's class name, also how a second instance finds it.
inline constexpr wchar_t kMainWindowClass[] = L"Zephlo Main Window";
// A second instance hands one command-line path to the running one: wParam
// is a global atom of the path, lParam MAKELPARAM(index, count).
constexpr UINT kHandOverMessage = WM_USER;
// Posted by the main window to itself: take the handed-over paths that waited.
constexpr UINT kTakeWaitingPaths = WM_APP + 20;

#endif

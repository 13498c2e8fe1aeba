// The About box (dialog 50): the program's icon, name and version, and the
// address of the developers' web page, which opens in the browser when clicked.
#ifndef ZEPHLO_SETTINGS_ABOUT_BOX_H
#define ZEPHLO_SETTINGS_ABOUT_BOX_H

#include <windows.h>

#include "resources/version.h"

// The first line of the dialog's text.
inline constexpr wchar_t kAboutVersionLine[] = L"Zephlo ver." ZEPHLO_VERSION_TEXT L" (Unicode)";

// Shows the dialog modally with `owner` as its owner; returns when it closes.
void ShowAboutBox(HWND owner);

#endif

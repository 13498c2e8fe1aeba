// Visible texts: string resources and printf-style formatting.
#ifndef ZEPHLO_BASE_TEXT_H
#define ZEPHLO_BASE_TEXT_H

#include <windows.h>

#include <cstddef>
#include <string>

// The string resource with this id from the program's module; empty when absent.
// Embedded NUL characters (the file dialog filters) are kept.
std::wstring LoadText(UINT id);

// Formats with the platform's conventions, where %s takes a wide string (the
// formats of the string table are written that way). The result is cut at
// size - 1 characters and always terminated; returns the length written.
int FormatTextInto(wchar_t* buffer, std::size_t size, const wchar_t* format, ...);

// The same into a string of at most 1023 characters.
std::wstring FormatText(const wchar_t* format, ...);

// Shows a message box whose text is the string resource id (formatted with
// one wide-string argument when `argument` is given) and no caption text.
int ShowMessage(HWND owner, UINT id, UINT flags, const wchar_t* argument = nullptr);

#endif

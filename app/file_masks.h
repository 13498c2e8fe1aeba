// The default "FileMasks": the file types the system registers as MCI
// extensions, else a built-in list.
#ifndef ZEPHLO_APP_FILE_MASKS_H
#define ZEPHLO_APP_FILE_MASKS_H

#include <cstddef>
#include <string>
#include <vector>

// Masks are at most this many characters, the terminator included.
constexpr std::size_t kFileMasksSize = 512;

// Used when the system names no MCI extensions.
extern const wchar_t kBuiltInFileMasks[];

// Splits a list of NUL-terminated names that ends with an empty name (or at
// `length`) into the names.
std::vector<std::wstring> SplitNameList(const wchar_t* list, std::size_t length);

// "*.a;*.b" from extension names: lower-cased, playlist types left out, and
// the list cut before the name that would not fit in kFileMasksSize. An empty
// list gives the built-in masks; a list of nothing but playlist types gives
// an empty text.
std::wstring FileMasksFromExtensions(const std::vector<std::wstring>& names);

// The masks from the "mci extensions" section of the system's win.ini.
std::wstring BuildDefaultFileMasks();

#endif

// What the fuzz targets set up and look at in the platform stand-in
// (shim/windows.h): its files, its working folder and its menus.
#ifndef ZEPHLO_TESTS_FUZZ_WIN32_SHIM_H
#define ZEPHLO_TESTS_FUZZ_WIN32_SHIM_H

#include <windows.h>

#include <string>
#include <vector>

// Forgets every file, folder and menu.
void ShimReset();
// A file with these bytes (paths compare without regard to case).
void ShimSetFile(const std::wstring& path, const std::string& bytes);
// A folder.
void ShimSetFolder(const std::wstring& path);
// The bytes of a file; false when there is none.
bool ShimFileBytes(const std::wstring& path, std::string& bytes);
// The working folder that relative paths are resolved against.
void ShimSetWorkingFolder(const std::wstring& folder);

// Text in UTF-16 code units from UTF-8 and back, for the targets' own use.
std::wstring ShimWide(const std::string& utf8);
std::string ShimUtf8(const std::wstring& text);

#endif

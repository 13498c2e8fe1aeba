// Path helpers. Paths are UTF-16 with "\" separators and at most kMaxPath - 1
// characters; comparisons are case-insensitive (lstrcmpiW).
#ifndef ZEPHLO_BASE_PATHS_H
#define ZEPHLO_BASE_PATHS_H

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

constexpr std::size_t kMaxPath = 260;

// A list of owned paths (the command-line files, the results of a file search).
using PathList = std::vector<std::wstring>;

// folder + "\" (only when folder is not empty and does not end in "\") + name.
std::wstring PathJoin(const std::wstring& folder, const std::wstring& name);
// The text after the last "\", or the whole path.
std::wstring PathFileName(const std::wstring& path);
// The path without its last component; a drive root keeps its "\" (C:\).
std::wstring PathFolder(const std::wstring& path);
// From the last "." after the last "\" to the end, dot included; else empty.
std::wstring PathExtension(const std::wstring& path);
// Drops each leading ".\"; each leading "..\" removes the last component of
// base (never above a drive root); then PathJoin.
std::wstring PathResolveRelative(const std::wstring& base, const std::wstring& relative);
// "...\folder\name" when the folder has a last component, else the path.
std::wstring PathCompact(const std::wstring& path);
// Case-insensitive equality of two names or paths (lstrcmpiW).
bool PathEquals(const std::wstring& a, const std::wstring& b);
// PathExtension(path) equals extension (".m3u"), case-insensitively.
bool HasExtension(const std::wstring& path, const wchar_t* extension);

// A directory search on the path finds something that is not / is a folder.
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Every path of a drop, in drop order; a path too long for kMaxPath is empty.
PathList DroppedPaths(HDROP drop);

// The program's own file and folder.
std::wstring ProgramPath();
std::wstring ProgramFolder();

#endif

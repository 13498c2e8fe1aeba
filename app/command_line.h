// The program's command line: paths and the options -F / -M.
#ifndef ZEPHLO_APP_COMMAND_LINE_H
#define ZEPHLO_APP_COMMAND_LINE_H

#include <string>

#include "base/paths.h"

struct CommandLine {
    PathList paths;           // path arguments as written (see ReadCommandLine)
    bool fullScreen = false;  // option F
    bool maximize = false;    // option M
    bool embedding = false;   // started by COM for the shell's verb ("-Embedding")
};

// Splits at blanks (U+0020 only). An argument that begins with a double quote
// runs to the next double quote or the end, quotes dropped; an empty quoted
// argument ends the list. "-x" or "/x" is an option named by its second
// character, except "-Embedding" (any case, "/" too), which COM adds when it
// starts the program as a local server. Arguments too long to be a path (260
// characters or more) are dropped.
CommandLine SplitCommandLine(const wchar_t* text);

// A path argument made absolute against the working folder
// (GetFullPathNameW) and then expanded to its long name (GetLongPathNameW,
// kept as it is when that fails, for instance for a path that does not
// exist); empty when the absolute path does not fit in kMaxPath characters.
std::wstring AbsoluteLongPath(const std::wstring& path);

// Each path made absolute (AbsoluteLongPath); those that cannot be are dropped.
PathList AbsoluteLongPaths(const PathList& paths);

// The program's command line split, its paths made absolute (those that
// cannot be are dropped).
CommandLine ReadCommandLine(const wchar_t* text);

#endif

// The program's command line: paths and the options -F / -M.
#ifndef ZEPHLO_APP_COMMAND_LINE_H
#define ZEPHLO_APP_COMMAND_LINE_H

#include <string>

#include "base/paths.h"

struct CommandLine {
    PathList paths;           // path arguments as written (not yet expanded)
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

// GetLongPathNameW of a path, or the path unchanged when that fails.
std::wstring ExpandLongPath(const std::wstring& path);

#endif

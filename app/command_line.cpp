#include "app/command_line.h"

#include <windows.h>

#include <utility>

namespace {

void AddArgument(const std::wstring& argument, CommandLine& result) {
    if (!argument.empty() && (argument[0] == L'-' || argument[0] == L'/')) {
        if (lstrcmpiW(argument.c_str() + 1, L"Embedding") == 0) {
            result.embedding = true;
            return;
        }
        wchar_t letter = argument.size() > 1 ? argument[1] : L'\0';
        if (letter == L'F' || letter == L'f') {
            result.fullScreen = true;
        } else if (letter == L'M' || letter == L'm') {
            result.maximize = true;
        }
        return;
    }
    if (!argument.empty() && argument.size() < kMaxPath) {
        result.paths.push_back(argument);
    }
}

}  // namespace

CommandLine SplitCommandLine(const wchar_t* text) {
    CommandLine result;
    const wchar_t* at = text;
    for (;;) {
        while (*at == L' ') {
            ++at;
        }
        if (*at == L'\0') {
            break;
        }
        std::wstring argument;
        if (*at == L'"') {
            const wchar_t* start = ++at;
            while (*at != L'\0' && *at != L'"') {
                ++at;
            }
            argument.assign(start, static_cast<std::size_t>(at - start));
            bool closed = *at == L'"';
            if (closed) {
                ++at;
            }
            if (argument.empty() && closed) {
                break;
            }
        } else {
            const wchar_t* start = at;
            while (*at != L'\0' && *at != L' ') {
                ++at;
            }
            argument.assign(start, static_cast<std::size_t>(at - start));
        }
        AddArgument(argument, result);
    }
    return result;
}

std::wstring AbsoluteLongPath(const std::wstring& path) {
    wchar_t full[kMaxPath];
    DWORD length = GetFullPathNameW(path.c_str(), kMaxPath, full, nullptr);
    if (length == 0 || length >= kMaxPath) {
        return std::wstring();
    }
    wchar_t expanded[kMaxPath];
    DWORD expandedLength = GetLongPathNameW(full, expanded, kMaxPath);
    if (expandedLength == 0 || expandedLength >= kMaxPath) {
        return std::wstring(full, length);
    }
    return std::wstring(expanded, expandedLength);
}

PathList AbsoluteLongPaths(const PathList& paths) {
    PathList absolute;
    for (const std::wstring& path : paths) {
        std::wstring full = AbsoluteLongPath(path);
        if (!full.empty()) {
            absolute.push_back(std::move(full));
        }
    }
    return absolute;
}

CommandLine ReadCommandLine(const wchar_t* text) {
    CommandLine commandLine = SplitCommandLine(text);
    commandLine.paths = AbsoluteLongPaths(commandLine.paths);
    return commandLine;
}

#include "base/paths.h"

#include <windows.h>

#include "base/handles.h"

namespace {

// Length of the drive-root prefix that a folder never loses ("C:\" is 3).
bool IsDriveRoot(const std::wstring& path) {
    return path.size() <= 3 && path.size() >= 2 && path[1] == L':';
}

// "\\server\share", with or without a closing "\": the root of a network share,
// which a folder never climbs above.
bool IsShareRoot(const std::wstring& path) {
    if (path.compare(0, 2, L"\\\\") != 0) {
        return false;
    }
    std::size_t share = path.find(L'\\', 2);
    if (share == std::wstring::npos) {
        return true;
    }
    std::size_t below = path.find(L'\\', share + 1);
    return below == std::wstring::npos || below + 1 == path.size();
}

// Removes the last component of a folder, keeping a drive root's "\".
std::wstring ParentFolder(const std::wstring& folder) {
    if (IsDriveRoot(folder) || IsShareRoot(folder)) {
        return folder;
    }
    std::wstring trimmed = folder;
    if (!trimmed.empty() && trimmed.back() == L'\\') {
        trimmed.pop_back();
    }
    return PathFolder(trimmed);
}

bool FindFirst(const std::wstring& path, WIN32_FIND_DATAW& data) {
    if (path.empty() || path.size() >= kMaxPath) {
        return false;
    }
    UniqueFind find(FindFirstFileW(path.c_str(), &data));
    return static_cast<bool>(find);
}

}  // namespace

std::wstring PathJoin(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\') {
        return folder + name;
    }
    return folder + L'\\' + name;
}

std::wstring PathFileName(const std::wstring& path) {
    std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring PathFolder(const std::wstring& path) {
    std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        return {};
    }
    std::wstring folder = path.substr(0, slash + 1);
    if (folder.size() > 3) {
        folder.pop_back();
    }
    return folder;
}

std::wstring PathExtension(const std::wstring& path) {
    std::size_t slash = path.rfind(L'\\');
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        return {};
    }
    return path.substr(dot);
}

std::wstring PathResolveRelative(const std::wstring& base, const std::wstring& relative) {
    std::wstring folder = base;
    std::size_t at = 0;
    for (;;) {
        if (relative.compare(at, 2, L".\\") == 0) {
            at += 2;
        } else if (relative.compare(at, 3, L"..\\") == 0) {
            folder = ParentFolder(folder);
            at += 3;
        } else {
            break;
        }
    }
    return PathJoin(folder, relative.substr(at));
}

std::wstring PathCompact(const std::wstring& path) {
    std::wstring folder = PathFolder(path);
    std::wstring last = PathFileName(folder);
    if (last.empty() || IsDriveRoot(folder)) {
        return path;
    }
    return L"...\\" + last + L"\\" + PathFileName(path);
}

bool PathEquals(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

bool HasExtension(const std::wstring& path, const wchar_t* extension) {
    return lstrcmpiW(PathExtension(path).c_str(), extension) == 0;
}

bool FileExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    return FindFirst(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    std::wstring search = path;
    // A search on "C:\" finds nothing; a drive root is a folder when its contents can be listed.
    if (!search.empty() && search.back() == L'\\') {
        return FindFirst(search + L"*", data);
    }
    return FindFirst(search, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

PathList DroppedPaths(HDROP drop) {
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    PathList paths;
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        wchar_t buffer[kMaxPath];
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0 || length >= kMaxPath ||
            DragQueryFileW(drop, i, buffer, kMaxPath) != length) {
            paths.emplace_back();
            continue;
        }
        paths.emplace_back(buffer, length);
    }
    return paths;
}

std::wstring ProgramPath() {
    wchar_t buffer[kMaxPath];
    DWORD length = GetModuleFileNameW(nullptr, buffer, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return {};
    }
    return std::wstring(buffer, length);
}

std::wstring ProgramFolder() {
    return PathFolder(ProgramPath());
}

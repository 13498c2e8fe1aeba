#include "files/collect_files.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/handles.h"

namespace {

// Masks longer than this are refused: they find nothing.
constexpr std::size_t kMaxMask = 255;

bool LessByName(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

bool IsDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') ||
           (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

// Calls found(data) for every result of a search on folder + pattern.
template <typename Found>
void Search(const std::wstring& folder, const std::wstring& pattern, Found found) {
    if (pattern.size() > kMaxMask) {
        return;
    }
    std::wstring search = PathJoin(folder, pattern);
    if (search.size() >= kMaxPath) {
        return;
    }
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(search.c_str(), &data));
    if (!find) {
        return;
    }
    do {
        found(data);
    } while (FindNextFileW(find.get(), &data));
}

void CollectOwnFiles(const std::wstring& folder, const std::wstring& masks, PathList& list) {
    std::size_t start = list.size();
    for (const std::wstring& mask : SplitFileMasks(masks)) {
        Search(folder, mask, [&](const WIN32_FIND_DATAW& data) {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                return;
            }
            std::wstring path = PathJoin(folder, data.cFileName);
            if (path.size() < kMaxPath) {
                list.push_back(std::move(path));
            }
        });
    }
    auto first = list.begin() + static_cast<std::ptrdiff_t>(start);
    std::sort(first, list.end(), LessByName);
    auto last = std::unique(first, list.end(), [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) == 0;
    });
    list.erase(last, list.end());
}

PathList Subfolders(const std::wstring& folder) {
    PathList folders;
    Search(folder, L"*.*", [&](const WIN32_FIND_DATAW& data) {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || IsDotEntry(data.cFileName)) {
            return;
        }
        // The length bound also ends a loop of links that lead back into their folder.
        std::wstring path = PathJoin(folder, data.cFileName);
        if (path.size() < kMaxPath) {
            folders.push_back(std::move(path));
        }
    });
    std::sort(folders.begin(), folders.end(), LessByName);
    return folders;
}

void CollectTree(const std::wstring& folder, const std::wstring& masks, bool recurse,
                 PathList& list) {
    CollectOwnFiles(folder, masks, list);
    if (recurse) {
        for (const std::wstring& subfolder : Subfolders(folder)) {
            CollectTree(subfolder, masks, true, list);
        }
    }
}

}  // namespace

std::vector<std::wstring> SplitFileMasks(const std::wstring& masks) {
    std::vector<std::wstring> result;
    std::size_t at = 0;
    for (;;) {
        std::size_t semicolon = masks.find(L';', at);
        if (semicolon == std::wstring::npos) {
            result.push_back(masks.substr(at));
            return result;
        }
        result.push_back(masks.substr(at, semicolon - at));
        at = semicolon + 1;
    }
}

bool CollectFiles(const std::wstring& folder, const std::wstring& masks, bool recurse,
                  PathList& list) {
    try {
        CollectTree(folder, masks, recurse, list);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

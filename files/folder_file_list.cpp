#include "files/folder_file_list.h"

#include <shellapi.h>

#include <algorithm>
#include <new>

#include "base/paths.h"
#include "files/collect_files.h"
#include "files/list_navigation.h"
#include "files/natural_compare.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The extension of a bare name: from its last "." to the end; "" without one.
const wchar_t* ExtensionOf(const std::wstring& name) {
    std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? L"" : name.c_str() + dot;
}

std::wstring UpperCase(const std::wstring& text) {
    std::wstring upper = text;
    if (!upper.empty()) {
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

std::wstring LowerCase(const std::wstring& text) {
    std::wstring lower = text;
    if (!lower.empty()) {
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return lower;
}

int CompareTimes(const FILETIME& a, const FILETIME& b) {
    return CompareFileTime(&a, &b);
}

}  // namespace

std::string SortKey(const wchar_t* text) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    LCID locale = GetThreadLocale();
    char buffer[1024];
    int size =
        LCMapStringW(locale, flags, text, -1, reinterpret_cast<LPWSTR>(buffer), sizeof buffer);
    if (size > 0) {
        return std::string(buffer, static_cast<std::size_t>(size));
    }
    size = LCMapStringW(locale, flags, text, -1, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::string key(static_cast<std::size_t>(size), '\0');
    size = LCMapStringW(locale, flags, text, -1, reinterpret_cast<LPWSTR>(key.data()), size);
    return size > 0 ? key : std::string();
}

namespace {

// The comparisons of the orders that compare no texts under the platform's
// rules (numbered names, sizes, times); 0 for the others.
int CompareValues(const FolderFileEntry& a, const FolderFileEntry& b, int sortType) {
    switch (sortType) {
        case kSortByNameNumber:
            return CompareNatural(a.name.c_str(), b.name.c_str());
        case kSortBySize:
            return (a.size > b.size) - (a.size < b.size);
        case kSortByLastWriteTime:
            return Sign(CompareTimes(a.lastWriteTime, b.lastWriteTime));
        default:
            return 0;
    }
}

}  // namespace

int CompareFolderEntries(const FolderFileEntry& a, const FolderFileEntry& b, int sortType,
                         bool descending) {
    int result = CompareValues(a, b, sortType);
    if (sortType == kSortByType) {
        result = Sign(lstrcmpiW(a.typeName.c_str(), b.typeName.c_str()));
    } else if (sortType == kSortByExtension) {
        result = Sign(lstrcmpiW(ExtensionOf(a.name), ExtensionOf(b.name)));
    }
    if (result == 0) {
        result = Sign(lstrcmpiW(a.name.c_str(), b.name.c_str()));
    }
    return descending ? -result : result;
}

void FolderFileList::Append(const WIN32_FIND_DATAW& data) {
    auto entry = std::make_unique<FolderFileEntry>();
    entry->name = data.cFileName;
    entry->size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    entry->lastWriteTime = data.ftLastWriteTime;
    entry->index = entries_.size();
    byName_.emplace(UpperCase(entry->name), entry.get());
    entries_.push_back(std::move(entry));
}

bool FolderFileList::Build(const std::wstring& folder, const std::wstring& masks) {
    folder_ = folder;
    entries_.clear();
    byName_.clear();
    try {
        entries_.reserve(32);
        for (const std::wstring& mask : SplitFileMasks(masks)) {
            std::wstring pattern = PathJoin(folder, mask);
            if (pattern.size() >= kMaxPath) {
                continue;
            }
            // Entries of this mask are checked against the earlier masks' only.
            int earlier = Count();
            WIN32_FIND_DATAW data;
            UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
            if (!find) {
                continue;
            }
            do {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    continue;
                }
                if (earlier > 0) {
                    int found = FindByUpperCase(data.cFileName);
                    if (found >= 0 && found < earlier) {
                        continue;
                    }
                }
                Append(data);
            } while (FindNextFileW(find.get(), &data));
        }
        return true;
    } catch (const std::bad_alloc&) {
        entries_.clear();
        byName_.clear();
        return false;
    }
}

FolderFileList::ExtensionInfo& FolderFileList::InfoOfExtension(const wchar_t* extension,
                                                               bool withType) {
    ExtensionInfo& info = extensions_[LowerCase(extension)];
    if (info.extensionKey.empty()) {
        info.extensionKey = SortKey(extension);
    }
    if (withType && !info.typeFetched) {
        // The shell names the type from the extension alone with these flags.
        std::wstring sample = std::wstring(L"a") + extension;
        SHFILEINFOW shell{};
        if (SHGetFileInfoW(sample.c_str(), FILE_ATTRIBUTE_NORMAL, &shell, sizeof shell,
                           SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES) != 0) {
            info.typeName = shell.szTypeName;
        }
        info.typeKey = SortKey(info.typeName.c_str());
        info.typeFetched = true;
    }
    return info;
}

void FolderFileList::Sort(int sortType, bool descending) {
    if (entries_.size() < 2) {
        return;
    }
    if (sortType == kSortByType) {
        for (auto& entry : entries_) {
            if (!entry->typeNameFetched) {
                entry->typeName = InfoOfExtension(ExtensionOf(entry->name), true).typeName;
                entry->typeNameFetched = true;
            }
        }
    }
    bool sorted = false;
    try {
        sorted = SortByKeys(sortType, descending);
    } catch (const std::bad_alloc&) {
        sorted = false;
    }
    if (!sorted) {
        // A merge sort stays within the array even if the platform's comparison
        // of two names were not perfectly consistent.
        std::stable_sort(entries_.begin(), entries_.end(),
                         [sortType, descending](const std::unique_ptr<FolderFileEntry>& a,
                                                const std::unique_ptr<FolderFileEntry>& b) {
                             return CompareFolderEntries(*a, *b, sortType, descending) < 0;
                         });
    }
    Renumber();
}

bool FolderFileList::SortByKeys(int sortType, bool descending) {
    struct Item {
        FolderFileEntry* entry;
        const std::string* key;  // of the extension or the type name
    };
    std::vector<Item> items;
    items.reserve(entries_.size());
    for (auto& entry : entries_) {
        if (entry->nameKey.empty()) {
            entry->nameKey = SortKey(entry->name.c_str());
            if (entry->nameKey.empty()) {
                return false;
            }
        }
        const std::string* key = nullptr;
        if (sortType == kSortByType || sortType == kSortByExtension) {
            ExtensionInfo& info =
                InfoOfExtension(ExtensionOf(entry->name), sortType == kSortByType);
            key = sortType == kSortByType ? &info.typeKey : &info.extensionKey;
            if (key->empty()) {
                return false;
            }
        }
        items.push_back({entry.get(), key});
    }
    auto compare = [sortType, descending](const Item& a, const Item& b) {
        int result = a.key != nullptr ? Sign(a.key->compare(*b.key))
                                      : CompareValues(*a.entry, *b.entry, sortType);
        if (result == 0) {
            result = Sign(a.entry->nameKey.compare(b.entry->nameKey));
        }
        return (descending ? -result : result) < 0;
    };
    std::stable_sort(items.begin(), items.end(), compare);
    // The entries change places through their owners: release all, then re-own in order.
    for (auto& entry : entries_) {
        entry.release();
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        entries_[i].reset(items[i].entry);
    }
    return true;
}

void FolderFileList::Renumber() {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i]->index = i;
    }
}

int FolderFileList::FindByUpperCase(const std::wstring& name) const {
    int found = -1;
    auto range = byName_.equal_range(UpperCase(name));
    for (auto it = range.first; it != range.second; ++it) {
        int index = static_cast<int>(it->second->index);
        if ((found < 0 || index < found) &&
            lstrcmpiW(it->second->name.c_str(), name.c_str()) == 0) {
            found = index;
        }
    }
    return found;
}

int FolderFileList::Find(const std::wstring& name) const {
    int found = FindByUpperCase(name);
    if (found >= 0) {
        return found;
    }
    // Names the platform holds equal without equal upper-case forms.
    for (int i = 0; i < Count(); ++i) {
        if (lstrcmpiW(entries_[static_cast<std::size_t>(i)]->name.c_str(), name.c_str()) == 0) {
            return i;
        }
    }
    return -1;
}

bool FolderFileList::AddFileIfExists(const std::wstring& name) {
    if (Find(name) >= 0) {
        return true;
    }
    std::wstring path = PathJoin(folder_, name);
    if (name.empty() || path.size() >= kMaxPath) {
        return false;
    }
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(path.c_str(), &data));
    if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    try {
        Append(data);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool FolderFileList::PathAt(int index, std::wstring& path) const {
    if (index < 0 || index >= Count()) {
        return false;
    }
    path = PathJoin(folder_, Entry(index).name);
    return true;
}

HICON FolderFileList::SmallIcon(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    FolderFileEntry& entry = *entries_[static_cast<std::size_t>(index)];
    if (!entry.smallIcon) {
        SHFILEINFOW info{};
        std::wstring path = PathJoin(folder_, entry.name);
        if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) ==
                0 ||
            info.hIcon == nullptr) {
            info = SHFILEINFOW{};
            SHGetFileInfoW(entry.name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                           SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        }
        entry.smallIcon.reset(info.hIcon);
    }
    return entry.smallIcon.get();
}

FolderFiles::FolderFiles(const Settings& settings) : settings_(settings) {}

bool FolderFiles::Ensure(const std::wstring& currentPath) {
    if (list_) {
        return true;
    }
    auto list = std::unique_ptr<FolderFileList>(new (std::nothrow) FolderFileList);
    if (!list || !list->Build(PathFolder(currentPath), settings_.fileMasks)) {
        return false;
    }
    list->Sort(settings_.sortType, settings_.sortDescending);
    list_ = std::move(list);
    return true;
}

void FolderFiles::Discard() {
    list_.reset();
}

void FolderFiles::DiscardIfOtherFolder(const std::wstring& openedPath) {
    if (list_ && !PathEquals(list_->folder(), PathFolder(openedPath))) {
        Discard();
    }
}

int FolderFiles::Count() const {
    return list_ ? list_->Count() : 0;
}

int FolderFiles::IndexOfCurrent(const std::wstring& currentPath) {
    std::wstring name = PathFileName(currentPath);
    if (name.empty()) {
        return -1;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Ensure(currentPath)) {
            return -1;
        }
        int index = list_->Find(name);
        if (index >= 0) {
            return index;
        }
        Discard();
    }
    return -1;
}

bool FolderFiles::PathAt(int index, std::wstring& path) const {
    return list_ && list_->PathAt(index, path);
}

bool FolderFiles::AddFileIfExists(const std::wstring& name) {
    return list_ && list_->AddFileIfExists(name);
}

void FolderFiles::Sort() {
    if (list_) {
        list_->Sort(settings_.sortType, settings_.sortDescending);
    }
}

bool FolderFiles::StepTarget(UINT command, const std::wstring& currentPath, std::wstring& target) {
    int current = -1;
    if (command == CMD_PREV_FILE || command == CMD_NEXT_FILE) {
        if (currentPath.empty()) {
            return false;
        }
        current = IndexOfCurrent(currentPath);
    } else if (!Ensure(currentPath)) {
        return false;
    }
    return PathAt(NavigationTarget(false, command, current, Count()), target);
}

bool FolderFiles::HasNextFile(const std::wstring& currentPath) {
    // The lookup builds the list, so it must come before the count is read.
    int current = IndexOfCurrent(currentPath);
    return PlayNextAtEnd(false, false, true, current, Count());
}

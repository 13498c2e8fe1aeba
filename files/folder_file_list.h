// The media files of the open file's folder in the chosen sort order, and the
// navigation over them (previous, next, first, last, sequential play, the
// drop-down file lists). At most one list exists; it is built on first need
// from the masks, order and direction of the settings (fileMasks, sortType,
// sortDescending) and kept until it is discarded.
#ifndef ZEPHLO_FILES_FOLDER_FILE_LIST_H
#define ZEPHLO_FILES_FOLDER_FILE_LIST_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/handles.h"

struct Settings;

// The values of the "SortType" setting.
enum FolderSortOrder : int {
    kSortByName = 0,
    kSortByNameNumber = 1,
    kSortByType = 2,
    kSortByExtension = 3,
    kSortBySize = 4,
    kSortByLastWriteTime = 5,
};
constexpr int kFolderSortOrderCount = 6;

struct FolderFileEntry {
    std::wstring name;  // bare file name
    std::uint64_t size = 0;
    FILETIME lastWriteTime{};
    // The shell's type description; valid once typeNameFetched is set. A type
    // the shell cannot name is empty and sorts first.
    std::wstring typeName;
    bool typeNameFetched = false;
    // Fetched on first need by the file list menu.
    UniqueIcon smallIcon;
    // The platform's case-insensitive sort key of the name (see SortKey).
    std::string nameKey;
    // Position in the list after the last sort or append.
    std::size_t index = 0;
};

// The order of two entries: the order's comparison, then the names by
// lstrcmpiW; descending reverses both. Type names must have been fetched.
// An order outside 0-5 compares by name. Returns -1, 0 or 1.
int CompareFolderEntries(const FolderFileEntry& a, const FolderFileEntry& b, int sortType,
                         bool descending);

// The sort key of text under the thread's locale, ignoring case: two keys
// compare byte by byte as lstrcmpiW compares the texts, so a sort asks the
// platform once per entry instead of once per comparison. Empty on failure.
std::string SortKey(const wchar_t* text);

class FolderFileList {
public:
    FolderFileList() = default;
    FolderFileList(const FolderFileList&) = delete;
    FolderFileList& operator=(const FolderFileList&) = delete;

    // Enumerates folder ("" is the current directory) with the ;-separated
    // masks in the order written: directories are skipped, and a name that an
    // earlier mask already added (lstrcmpiW) is skipped. Not sorted.
    // False when memory ran out (the list is then empty).
    bool Build(const std::wstring& folder, const std::wstring& masks);
    // Sorts by the order and direction (type names are fetched first, once
    // per extension, when the order needs them).
    void Sort(int sortType, bool descending);
    // The first entry whose name equals name (lstrcmpiW), or -1.
    int Find(const std::wstring& name) const;
    // Appends the file folder\name when it exists and is not a folder (true
    // also when an entry of that name is already there). The caller re-sorts.
    bool AddFileIfExists(const std::wstring& name);

    const std::wstring& folder() const { return folder_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    const FolderFileEntry& Entry(int index) const {
        return *entries_[static_cast<std::size_t>(index)];
    }
    // folder joined with the entry's name; false outside 0 .. Count() - 1.
    bool PathAt(int index, std::wstring& path) const;
    // The entry's small icon, fetched on first use; null when the shell has none.
    HICON SmallIcon(int index);

private:
    // What the sort needs of one extension (lower-cased), asked for once.
    struct ExtensionInfo {
        std::string extensionKey;
        bool typeFetched = false;
        std::wstring typeName;
        std::string typeKey;
    };

    void Append(const WIN32_FIND_DATAW& data);
    ExtensionInfo& InfoOfExtension(const wchar_t* extension, bool withType);
    // The sort through the keys; false (nothing changed) when a key is missing.
    bool SortByKeys(int sortType, bool descending);
    // The first entry whose upper-cased name matches and that equals name.
    int FindByUpperCase(const std::wstring& name) const;
    void Renumber();

    std::wstring folder_;
    std::vector<std::unique_ptr<FolderFileEntry>> entries_;
    // Entries by their upper-cased name (the first look before lstrcmpiW).
    std::unordered_multimap<std::wstring, FolderFileEntry*> byName_;
    std::unordered_map<std::wstring, ExtensionInfo> extensions_;
};

// The one list of the program. currentPath is the open file's path, empty
// when no file is open (the list is then built for the current directory).
class FolderFiles {
public:
    // The list follows these settings whenever it is built or sorted.
    explicit FolderFiles(const Settings& settings);
    FolderFiles(const FolderFiles&) = delete;
    FolderFiles& operator=(const FolderFiles&) = delete;

    // Builds and sorts the list for the folder of currentPath unless a list
    // exists. False when the build ran out of memory (no list remains).
    bool Ensure(const std::wstring& currentPath);
    // Frees the list, its entries and their icons (Refresh, new file masks, exit).
    void Discard();
    // After a file was opened: discards a list of another folder than the file's.
    void DiscardIfOtherFolder(const std::wstring& openedPath);
    // The list, or null when none is built.
    FolderFileList* list() const { return list_.get(); }
    // Entries of the list; 0 without a list.
    int Count() const;
    // Index of the open file in the list, building it if needed; when the
    // file is not in it, the list is built once more. -1 when still not found.
    int IndexOfCurrent(const std::wstring& currentPath);
    // The path of entry index; false when there is no list or no such entry.
    bool PathAt(int index, std::wstring& path) const;
    // For the file list menu: adds the bare name from the list's folder when
    // the file exists. False when there is no list or no such file.
    bool AddFileIfExists(const std::wstring& name);
    // Sorts the list by the settings' order and direction.
    void Sort();

    // Folder mode of the four navigation commands: the path to open; false
    // when nothing happens (no open file for previous/next, file not in the
    // list, empty list).
    bool StepTarget(UINT command, const std::wstring& currentPath, std::wstring& target);
    // Folder mode at the end of a file: the folder has a file after the open one.
    bool HasNextFile(const std::wstring& currentPath);

private:
    const Settings& settings_;
    std::unique_ptr<FolderFileList> list_;
};

#endif

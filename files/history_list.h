// Most-recent-first lists of paths (opened files, their folders, loaded
// playlists), kept as the items of a pop-up menu: item i has the command id
// firstId + i and the text "&<mnemonic>: <path with & doubled>".
#ifndef ZEPHLO_FILES_HISTORY_LIST_H
#define ZEPHLO_FILES_HISTORY_LIST_H

#include <windows.h>

#include <string>

// Positions 0-35 carry the mnemonics 0-9 and A-Z.
constexpr int kMaxHistoryCount = 36;
// An item text is read back with at most this many characters: the prefix
// and a path of kMaxPath - 1 characters that is all "&".
constexpr int kMaxHistoryItemText = 522;

// The mnemonic of a position: '0'-'9' for 0-9, 'A'-'Z' for 10-35.
wchar_t HistoryMnemonic(int position);
// "&" doubled, and back.
std::wstring EscapeAmpersands(const std::wstring& path);
std::wstring UnescapeAmpersands(const std::wstring& text);
// The menu text of path at position: "&%c: " and the escaped path.
std::wstring HistoryItemText(int position, const std::wstring& path);
// The path of a menu text: without the four-character prefix, "&&" undoubled.
std::wstring HistoryPathOfItemText(const std::wstring& text);

class HistoryList {
public:
    explicit HistoryList(UINT firstId) : firstId_(firstId) {}
    HistoryList(const HistoryList&) = delete;
    HistoryList& operator=(const HistoryList&) = delete;

    // The pop-up that holds the items (owned by the caller, who destroys it)
    // and the item of parentMenu at parentPosition that opens it, enabled
    // while the list has items; parentMenu may be null. Until a pop-up is
    // attached only the limit is kept.
    void Attach(HMENU popupMenu, HMENU parentMenu = nullptr, int parentPosition = 0);

    HMENU popupMenu() const { return popupMenu_; }
    UINT firstId() const { return firstId_; }
    int maxCount() const { return maxCount_; }
    int Count() const;
    // The command id belongs to this list (firstId ... firstId + 35); position
    // receives id - firstId.
    bool OwnsCommand(UINT id, int& position) const;

    // Puts path at the top; an equal path (lstrcmpiW) further down moves up in
    // the new letter case; the first item re-added changes nothing. Nothing
    // happens with a limit of 0 or an empty path or one longer than kMaxPath - 1.
    void AddToHistory(const std::wstring& path);
    // The path at position; empty when there is no such item.
    std::wstring HistoryPath(int position) const;
    // Deletes the item at position and renumbers the ones below it.
    void RemoveFromHistory(int position);
    void ClearHistory();
    // 0-36 (clamped); items beyond the limit are removed, 0 empties the list.
    void SetHistoryLimit(int limit);

    // Replaces the items with those stored under section: "<prefix>Count" and
    // "<prefix>0"... (most recent first). Nothing with a limit of 0.
    void LoadHistory(const std::wstring& settingsPath, const wchar_t* section,
                     const wchar_t* prefix);
    // Writes the count and the paths, then flushes the settings file. Keys of an
    // earlier, longer list stay in the file beyond the count.
    bool SaveHistory(const std::wstring& settingsPath, const wchar_t* section,
                     const wchar_t* prefix) const;

private:
    std::wstring ItemText(int position) const;
    void SetItem(int position, int numberedAs, const std::wstring& path);
    void EnableParent(bool enable) const;

    UINT firstId_;
    int maxCount_ = 10;
    HMENU popupMenu_ = nullptr;
    HMENU parentMenu_ = nullptr;
    int parentPosition_ = 0;
};

// Where the program's three lists (files: commands 200-235, folders:
// 236-271, playlists: 300-335) are stored.
inline constexpr wchar_t kFileHistorySection[] = L"RecentFileList";
inline constexpr wchar_t kFileHistoryPrefix[] = L"File";
inline constexpr wchar_t kFolderHistorySection[] = L"RecentDirList";
inline constexpr wchar_t kFolderHistoryPrefix[] = L"Dir";
inline constexpr wchar_t kPlaylistHistorySection[] = L"RecentPlaylist";
inline constexpr wchar_t kPlaylistHistoryPrefix[] = L"File";

#endif

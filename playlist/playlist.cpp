#include "playlist/playlist.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "base/text.h"
#include "playlist/m3u.h"
#include "playlist/playlist_logic.h"
#include "settings/settings_file.h"

namespace {

// Deeper nesting of M3U files than this is not followed.
constexpr std::size_t kMaxM3UNesting = 16;
// Icons are cached for at most this many extensions of at most this length.
constexpr std::size_t kMaxCachedIcons = 256;
constexpr std::size_t kMaxIconExtension = 16;
// The most rows storage is reserved for ahead of a batch of inserts.
constexpr int kMaxStorageHint = 1 << 20;

}  // namespace

// Suspends redrawing and per-row refreshes while rows are inserted, removed
// or moved; the outermost scope applies the horizontal extent, refreshes the
// toolbar and repaints once.
class Playlist::UpdateScope {
public:
    explicit UpdateScope(Playlist& playlist) : playlist_(playlist) {
        if (playlist_.updateDepth_++ == 0 && playlist_.listBox_ != nullptr) {
            SendMessageW(playlist_.listBox_, WM_SETREDRAW, FALSE, 0);
            playlist_.measureDC_.reset(CreateCompatibleDC(nullptr));
            if (playlist_.measureDC_) {
                playlist_.measurePreviousFont_ =
                    SelectObject(playlist_.measureDC_.get(), playlist_.normalFont_);
            }
            playlist_.pendingExtent_ = playlist_.horizontalExtent_;
        }
    }
    ~UpdateScope() {
        if (--playlist_.updateDepth_ == 0 && playlist_.listBox_ != nullptr) {
            if (playlist_.measureDC_) {
                SelectObject(playlist_.measureDC_.get(), playlist_.measurePreviousFont_);
                playlist_.measureDC_.reset();
            }
            // The scroll range first: changing it while the list is not
            // drawn spares a second repaint of its frame.
            playlist_.ApplyHorizontalExtent(playlist_.pendingExtent_);
            SendMessageW(playlist_.listBox_, WM_SETREDRAW, TRUE, 0);
            playlist_.RefreshToolbarStates();
            InvalidateRect(playlist_.listBox_, nullptr, TRUE);
        }
    }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    Playlist& playlist_;
};

Playlist::Playlist(HistoryList& recentPlaylists) : recentPlaylists_(recentPlaylists) {}

Playlist::~Playlist() {
    DestroyPlaylistWindow();
    DetachRecentPlaylistMenu();
}

PlaylistEntry* Playlist::EntryAt(int row) const {
    LRESULT data = SendMessageW(listBox_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (data == LB_ERR || data == 0) {
        return nullptr;
    }
    return reinterpret_cast<PlaylistEntry*>(data);
}

void Playlist::Notify(WORD code) const {
    if (mainWindow_ != nullptr && window_) {
        SendMessageW(mainWindow_, WM_COMMAND, MAKEWPARAM(kPlaylistListId, code),
                     reinterpret_cast<LPARAM>(window_.get()));
    }
}

int Playlist::Count() const {
    if (listBox_ == nullptr) {
        return 0;
    }
    LRESULT count = SendMessageW(listBox_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

const PlaylistEntry* Playlist::Entry(int index) const {
    if (listBox_ == nullptr || index < 0 || index >= Count()) {
        return nullptr;
    }
    return EntryAt(index);
}

std::wstring Playlist::EntryPath(int index) const {
    const PlaylistEntry* entry = Entry(index);
    return entry != nullptr ? std::wstring(entry->path) : std::wstring();
}

std::wstring Playlist::EntryDisplayText(int index) const {
    const PlaylistEntry* entry = Entry(index);
    return entry != nullptr ? PlaylistDisplayText(entry->path, displayMode_) : std::wstring();
}

int Playlist::SelectedIndex() const {
    if (listBox_ == nullptr) {
        return -1;
    }
    LRESULT selected = SendMessageW(listBox_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void Playlist::SelectRow(int index) {
    if (listBox_ == nullptr) {
        return;
    }
    SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    RefreshToolbarStates();
}

bool Playlist::SelectionOpensEntry(bool singleClickOpen) const {
    int selected = SelectedIndex();
    return singleClickOpen && selected >= 0 && selected != playingIndex_;
}

void Playlist::RepaintRow(int row) const {
    RECT rect;
    if (listBox_ != nullptr && row >= 0 &&
        SendMessageW(listBox_, LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
        InvalidateRect(listBox_, &rect, TRUE);
    }
}

HICON Playlist::IconFor(const std::wstring& path) {
    std::wstring extension = PathExtension(path);
    // Odd extensions (of garbage lines, say) share the icon of names without
    // one, so the cache, and the icon handles it holds, stay small.
    if (extension.size() > kMaxIconExtension) {
        extension.clear();
    }
    if (!extension.empty()) {
        CharLowerBuffW(&extension[0], static_cast<DWORD>(extension.size()));
    }
    auto found = iconCache_.find(extension);
    if (found == iconCache_.end() && iconCache_.size() >= kMaxCachedIcons) {
        extension.clear();
        found = iconCache_.find(extension);
    }
    if (found != iconCache_.end()) {
        return found->second.get();
    }
    // Only the extension matters with SHGFI_USEFILEATTRIBUTES: one look-up per
    // extension instead of one per row.
    std::wstring probe = L"file" + extension;
    SHFILEINFOW info = {};
    SHGetFileInfoW(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    HICON icon = info.hIcon;
    iconCache_.emplace(std::move(extension), UniqueIcon(icon));
    return icon;
}

int Playlist::MeasureText(HDC dc, const std::wstring& text) {
    if (dc == nullptr || text.empty()) {
        return 0;
    }
    // Most names are Latin text: their width is the sum of the characters'
    // advance widths, read from the font once instead of asking for every row.
    bool simple =
        std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < kCachedWidthCount; });
    if (simple && !charWidthsReady_) {
        charWidthsReady_ = GetCharWidth32W(dc, 0, kCachedWidthCount - 1, charWidths_) != FALSE;
    }
    if (simple && charWidthsReady_) {
        int width = 0;
        for (wchar_t c : text) {
            width += charWidths_[c];
        }
        return width;
    }
    SIZE size = {};
    if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
        return 0;
    }
    return size.cx;
}

PlaylistEntry* Playlist::CreateEntry(const std::wstring& path) {
    if (path.empty() || path.size() >= kMaxPath) {
        return nullptr;
    }
    auto* entry = new (std::nothrow) PlaylistEntry;
    if (entry == nullptr) {
        return nullptr;
    }
    wmemcpy(entry->path, path.c_str(), path.size() + 1);
    entry->smallIcon = IconFor(path);
    entry->played = false;
    entry->textWidth = MeasureText(measureDC_.get(), PlaylistDisplayText(path, displayMode_));
    return entry;
}

void Playlist::ApplyHorizontalExtent(int extent) {
    if (extent == horizontalExtent_ || listBox_ == nullptr) {
        return;
    }
    horizontalExtent_ = extent;
    SendMessageW(listBox_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

void Playlist::RecomputeHorizontalExtent() {
    int widest = -1;
    int count = Count();
    for (int i = 0; i < count; ++i) {
        if (const PlaylistEntry* entry = EntryAt(i)) {
            widest = std::max(widest, entry->textWidth);
        }
    }
    pendingExtent_ = widest < 0 ? 0 : widest + smallIconWidth_ + 3;
    if (updateDepth_ == 0) {
        ApplyHorizontalExtent(pendingExtent_);
    }
}

void Playlist::SetDisplayMode(int mode) {
    if (mode < 0 || mode > 2 || mode == displayMode_) {
        return;
    }
    displayMode_ = mode;
    int count = Count();
    if (count == 0) {
        return;
    }
    UpdateScope scope(*this);
    for (int i = 0; i < count; ++i) {
        if (PlaylistEntry* entry = EntryAt(i)) {
            entry->textWidth =
                MeasureText(measureDC_.get(), PlaylistDisplayText(entry->path, mode));
        }
    }
    RecomputeHorizontalExtent();
}

bool Playlist::AddPath(const std::wstring& path) {
    if (IsPlaylistPath(path)) {
        return LoadM3U(path);
    }
    return InsertRow(path, -1);
}

bool Playlist::InsertEntry(const std::wstring& path, int index) {
    if (index < 0) {
        return false;
    }
    return InsertRow(path, std::min(index, Count()));
}

// index -1 appends (without asking the list for its count).
bool Playlist::InsertRow(const std::wstring& path, int index) {
    if (listBox_ == nullptr) {
        return false;
    }
    UpdateScope scope(*this);
    PlaylistEntry* entry = CreateEntry(path);
    return entry != nullptr && AppendEntry(entry, index);
}

// Adds the row of a new entry at index (-1: at the end); the entry is freed
// when that fails.
bool Playlist::AppendEntry(PlaylistEntry* entry, int index) {
    LRESULT row = index < 0
                      ? SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry))
                      : SendMessageW(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(entry));
    if (row == LB_ERR || row == LB_ERRSPACE) {
        delete entry;
        return false;
    }
    pendingExtent_ = std::max(pendingExtent_, entry->textWidth + smallIconWidth_ + 3);
    playingIndex_ = PlayingIndexAfterInsert(playingIndex_, static_cast<int>(row));
    return true;
}

bool Playlist::RemoveEntry(int index) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    PlaylistEntry* entry = EntryAt(index);
    bool wasPlaying = index == playingIndex_;
    {
        UpdateScope scope(*this);
        SendMessageW(listBox_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        delete entry;
        playingIndex_ = PlayingIndexAfterRemove(playingIndex_, index);
        RecomputeHorizontalExtent();
    }
    if (wasPlaying) {
        Notify(kPlaylistPlayingGone);
    }
    return true;
}

void Playlist::ClearPlaylist() {
    if (listBox_ == nullptr) {
        return;
    }
    bool hadPlaying = playingIndex_ >= 0;
    {
        UpdateScope scope(*this);
        int count = Count();
        std::vector<PlaylistEntry*> entries;
        entries.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            entries.push_back(EntryAt(i));
        }
        SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
        for (PlaylistEntry* entry : entries) {
            delete entry;
        }
        playingIndex_ = -1;
        pendingExtent_ = 0;
    }
    if (hadPlaying) {
        Notify(kPlaylistPlayingGone);
    }
}

bool Playlist::MoveEntry(int source, int target) {
    int count = Count();
    if (source < 0 || source >= count || target < 0 || target >= count) {
        return false;
    }
    if (source == target) {
        return true;
    }
    UpdateScope scope(*this);
    LRESULT top = SendMessageW(listBox_, LB_GETTOPINDEX, 0, 0);
    PlaylistEntry* entry = EntryAt(source);
    SendMessageW(listBox_, LB_DELETESTRING, static_cast<WPARAM>(source), 0);
    LRESULT row = SendMessageW(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(target),
                               reinterpret_cast<LPARAM>(entry));
    if (row == LB_ERR || row == LB_ERRSPACE) {
        // The row could not be put back: it is gone like a removed one.
        bool wasPlaying = source == playingIndex_;
        delete entry;
        playingIndex_ = PlayingIndexAfterRemove(playingIndex_, source);
        RecomputeHorizontalExtent();
        if (wasPlaying) {
            Notify(kPlaylistPlayingGone);
        }
        return false;
    }
    SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
    SendMessageW(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    playingIndex_ = PlayingIndexAfterMove(playingIndex_, source, target);
    return true;
}

int Playlist::FindEntry(const std::wstring& path) const {
    int count = Count();
    for (int i = 0; i < count; ++i) {
        const PlaylistEntry* entry = EntryAt(i);
        if (entry != nullptr && lstrcmpiW(entry->path, path.c_str()) == 0) {
            return i;
        }
    }
    return -1;
}

bool Playlist::SetPlayingIndex(int index) {
    if (index < 0) {
        index = -1;
    }
    if (index == playingIndex_) {
        return true;
    }
    if (index >= Count()) {
        return false;
    }
    int previous = playingIndex_;
    playingIndex_ = index;
    if (index >= 0) {
        EntryAt(index)->played = true;
    }
    RepaintRow(previous);
    RepaintRow(index);
    return true;
}

void Playlist::SetFolderSearch(const std::wstring& masks, bool findSubDir) {
    masks_ = masks.substr(0, 511);
    findSubDir_ = findSubDir;
}

bool Playlist::AddAnyPath(const std::wstring& path) {
    if (path.empty() || path.size() >= kMaxPath) {
        return false;
    }
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return AddFolder(path);
    }
    return AddPath(path);
}

bool Playlist::AddAnyPaths(const PathList& paths, bool stopAtFirstFailure) {
    UpdateScope scope(*this);
    bool all = true;
    for (const std::wstring& path : paths) {
        if (!AddAnyPath(path)) {
            all = false;
            if (stopAtFirstFailure) {
                break;
            }
        }
    }
    return all;
}

bool Playlist::AddDroppedFiles(HDROP drop) {
    return AddAnyPaths(DroppedPaths(drop), true);
}

bool Playlist::LoadM3U(const std::wstring& path) {
    if (listBox_ == nullptr || loadingM3U_.size() >= kMaxM3UNesting) {
        return false;
    }
    for (const std::wstring& loading : loadingM3U_) {
        if (PathEquals(loading, path)) {
            return false;
        }
    }
    PathList entries;
    try {
        if (!ReadPlaylistFile(path, entries)) {
            return false;
        }
        loadingM3U_.push_back(path);
    } catch (const std::bad_alloc&) {
        return false;
    }
    AddPaths(entries);
    loadingM3U_.pop_back();
    AddToRecentPlaylists(path);
    return true;
}

void Playlist::AddPaths(const PathList& paths) {
    UpdateScope scope(*this);
    // All entries of a run of ordinary paths are created before their rows
    // are added: allocations between the list box's own reallocations of its
    // row array would keep it from growing in place.
    std::vector<PlaylistEntry*> pending;
    pending.reserve(paths.size());
    auto flush = [&] {
        for (PlaylistEntry* entry : pending) {
            AppendEntry(entry, -1);
        }
        pending.clear();
    };
    for (const std::wstring& path : paths) {
        if (IsPlaylistPath(path)) {
            flush();
            LoadM3U(path);
        } else if (PlaylistEntry* entry = CreateEntry(path)) {
            pending.push_back(entry);
        }
    }
    flush();
}

bool Playlist::SaveM3U(const std::wstring& path) const {
    PathList paths;
    int count = Count();
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        paths.push_back(EntryPath(i));
    }
    return WriteM3UFile(path, EncodePlaylist(path, paths));
}

bool Playlist::SavePlaylistSection(const std::wstring& settingsPath, bool restorePlaylist) const {
    // The section is replaced whole in one write: a long playlist written key
    // by key would make the platform rewrite the file once per entry.
    IniSectionBuilder section;
    int count = restorePlaylist ? Count() : 0;
    section.SetInt(L"FileCount", count);
    for (int i = 0; i < count; ++i) {
        section.Set(FormatText(L"File%d", i), EntryPath(i));
    }
    SettingsFile file(settingsPath, L"PlaylistFiles", SettingsFile::kWrite);
    return file.WriteSection(section.entries());
}

void Playlist::RestorePlaylistSection(const std::wstring& settingsPath) {
    if (listBox_ == nullptr) {
        return;
    }
    SettingsFile file(settingsPath, L"PlaylistFiles", SettingsFile::kRead);
    file.Preload();
    int count = 0;
    if (!file.ReadIntSetting(L"FileCount", count) || count <= 0) {
        return;
    }
    UpdateScope scope(*this);
    SendMessageW(listBox_, LB_INITSTORAGE, static_cast<WPARAM>(std::min(count, kMaxStorageHint)),
                 0);
    for (int i = 0; i < count; ++i) {
        wchar_t path[kMaxPath];
        if (!file.ReadString(FormatText(L"File%d", i).c_str(), path, kMaxPath) ||
            path[0] == L'\0') {
            break;
        }
        AddPath(path);
    }
}

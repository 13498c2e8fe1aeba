// What the playlist takes from the file side: folders added through the file
// search, and the list of recently loaded M3U files behind the open-list
// button's drop-down.
#include "playlist/playlist.h"

#include "base/text.h"
#include "files/collect_files.h"
#include "files/history_list.h"
#include "resources/resource.h"

bool Playlist::AddFolder(const std::wstring& folder) {
    PathList paths;
    if (!CollectFiles(folder, masks_, findSubDir_, paths)) {
        return false;
    }
    AddPaths(paths);
    return true;
}

void Playlist::AttachRecentPlaylistMenu() {
    if (!recentPlaylistMenu_) {
        recentPlaylistMenu_.reset(CreatePopupMenu());
        recentPlaylists_.Attach(recentPlaylistMenu_.get());
    }
}

void Playlist::DetachRecentPlaylistMenu() {
    if (recentPlaylistMenu_ && recentPlaylists_.popupMenu() == recentPlaylistMenu_.get()) {
        recentPlaylists_.Attach(nullptr);
    }
    recentPlaylistMenu_.reset();
}

void Playlist::LoadRecentPlaylists(const std::wstring& settingsPath, int limit) {
    AttachRecentPlaylistMenu();
    recentPlaylists_.SetHistoryLimit(limit);
    recentPlaylists_.LoadHistory(settingsPath, kPlaylistHistorySection, kPlaylistHistoryPrefix);
}

bool Playlist::SaveRecentPlaylists(const std::wstring& settingsPath) const {
    return recentPlaylists_.SaveHistory(settingsPath, kPlaylistHistorySection,
                                        kPlaylistHistoryPrefix);
}

void Playlist::AddToRecentPlaylists(const std::wstring& path) {
    AttachRecentPlaylistMenu();
    recentPlaylists_.AddToHistory(path);
}

void Playlist::ShowRecentPlaylistMenu() {
    if (recentPlaylists_.Count() < 1 || toolbar_ == nullptr) {
        return;
    }
    RECT button;
    if (!SendMessageW(toolbar_, TB_GETRECT, CMD_OPEN_PLAYLIST, reinterpret_cast<LPARAM>(&button))) {
        return;
    }
    MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TrackPopupMenu(recentPlaylists_.popupMenu(), TPM_LEFTALIGN | TPM_TOPALIGN, button.left,
                   button.bottom, 0, window_.get(), nullptr);
}

void Playlist::OnRecentPlaylist(int position) {
    std::wstring path = recentPlaylists_.HistoryPath(position);
    if (path.empty()) {
        return;
    }
    if (FileExists(path)) {
        ClearPlaylist();
        LoadM3U(path);
        return;
    }
    HWND owner = mainWindow_ != nullptr ? mainWindow_ : window_.get();
    if (ShowMessage(owner, IDS_FILE_NOT_FOUND, MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING,
                    path.c_str()) == IDYES) {
        recentPlaylists_.RemoveFromHistory(position);
    }
}

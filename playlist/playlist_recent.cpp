// What the playlist takes from the file side: folders added through the file
// search, and the list of recently loaded M3U files behind the open-list
// button's drop-down.
#include "playlist/playlist.h"

#include "app/text.h"
#include "files/collect_files.h"
#include "files/history_list.h"
#include "resources/resource.h"
#include "settings/settings.h"

bool Playlist::AddFolder(const std::wstring& folder) {
    PathList paths;
    if (!CollectFiles(folder, masks_, findSubDir_, paths)) {
        return false;
    }
    AddPaths(paths);
    return true;
}

HistoryList& Playlist::recentPlaylists() const { return g_playlistHistory; }

void Playlist::AttachRecentPlaylistMenu() {
    if (!recentPlaylistMenu_) {
        recentPlaylistMenu_.reset(CreatePopupMenu());
        g_playlistHistory.Attach(recentPlaylistMenu_.get());
    }
}

void Playlist::DetachRecentPlaylistMenu() {
    if (recentPlaylistMenu_ && g_playlistHistory.popupMenu() == recentPlaylistMenu_.get()) {
        g_playlistHistory.Attach(nullptr);
    }
    recentPlaylistMenu_.reset();
}

void Playlist::LoadRecentPlaylists() {
    AttachRecentPlaylistMenu();
    g_playlistHistory.SetHistoryLimit(g_settings.maxPlaylistHistory);
    g_playlistHistory.LoadHistory(g_settingsLocation.path, kPlaylistHistorySection,
                                  kPlaylistHistoryPrefix);
}

bool Playlist::SaveRecentPlaylists() const {
    return g_playlistHistory.SaveHistory(g_settingsLocation.path, kPlaylistHistorySection,
                                         kPlaylistHistoryPrefix);
}

void Playlist::AddToRecentPlaylists(const std::wstring& path) {
    AttachRecentPlaylistMenu();
    g_playlistHistory.AddToHistory(path);
}

void Playlist::ShowRecentPlaylistMenu() {
    if (g_playlistHistory.Count() < 1 || toolbar_ == nullptr) {
        return;
    }
    RECT button;
    if (!SendMessageW(toolbar_, TB_GETRECT, CMD_OPEN_PLAYLIST, reinterpret_cast<LPARAM>(&button))) {
        return;
    }
    MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TrackPopupMenu(g_playlistHistory.popupMenu(), TPM_LEFTALIGN | TPM_TOPALIGN, button.left,
                   button.bottom, 0, window_.get(), nullptr);
}

void Playlist::OnRecentPlaylist(int position) {
    std::wstring path = g_playlistHistory.HistoryPath(position);
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
        g_playlistHistory.RemoveFromHistory(position);
    }
}

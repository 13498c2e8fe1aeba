#include "playlist/playlist.h"

bool Playlist::AddFolder(const std::wstring&) { return false; }

void Playlist::AddToRecentPlaylists(const std::wstring&) {}

void Playlist::ShowRecentPlaylistMenu() {}

void Playlist::OnRecentPlaylist(int) {}

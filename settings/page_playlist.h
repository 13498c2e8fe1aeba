// The playlist and preset page (dialog 54 "プレイリスト/構成"): the playlist
// window's options, the recent playlists and the three layout presets.
#ifndef ZEPHLO_SETTINGS_PAGE_PLAYLIST_H
#define ZEPHLO_SETTINGS_PAGE_PLAYLIST_H

#include "settings/settings_dialog.h"

SettingsPageEntry PlaylistPageEntry(const SettingsPageContext& context);

#endif

// The player page (dialog 53 "プレイヤー"): playing on open, the zoom step, the
// rewind and fast-forward speeds and the full-screen options.
#ifndef ZEPHLO_SETTINGS_PAGE_PLAYER_H
#define ZEPHLO_SETTINGS_PAGE_PLAYER_H

#include "settings/settings_dialog.h"

SettingsPageEntry PlayerPageEntry(const SettingsPageContext& context);

#endif

// The general page (dialog 51 "一般"): single instance, window geometry, the
// title bar, tool tips, folder search, the file masks, where the settings
// live and the playback back-end.
#ifndef ZEPHLO_SETTINGS_PAGE_GENERAL_H
#define ZEPHLO_SETTINGS_PAGE_GENERAL_H

#include "settings/settings_dialog.h"

SettingsPageEntry GeneralPageEntry(const SettingsPageContext& context);

#endif

// The history and file list page (dialog 52 "履歴/ファイルリスト"): the sizes
// of the file and folder histories and of the file list menu, clearing the
// histories, and whether they are saved.
#ifndef ZEPHLO_SETTINGS_PAGE_HISTORY_H
#define ZEPHLO_SETTINGS_PAGE_HISTORY_H

#include "settings/settings_dialog.h"

SettingsPageEntry HistoryPageEntry(const SettingsPageContext& context);

#endif

// The key page (dialog 56 "キー割り当て"): the commands as a tree, the
// shortcut of the selected one, key definition files and the built-in set.
// The page edits its own copy of the bindings; OK puts it in use.
#ifndef ZEPHLO_SETTINGS_PAGE_KEYS_H
#define ZEPHLO_SETTINGS_PAGE_KEYS_H

#include "settings/settings_dialog.h"

SettingsPageEntry KeyPageEntry(const SettingsPageContext& context);

#endif

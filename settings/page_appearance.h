// The appearance page (dialog 55 "外観"): the fifteen colours, theme files
// that keep them with a choice of toolbar pictures, and that choice among
// the theme plug-ins of the Themes folder.
#ifndef ZEPHLO_SETTINGS_PAGE_APPEARANCE_H
#define ZEPHLO_SETTINGS_PAGE_APPEARANCE_H

#include <windows.h>

#include <string>

#include "settings/settings_dialog.h"

// The 16 custom colours of the colour chooser: white at first, kept by the
// program for its run and shared by every opening of the page.
struct ChooserColours {
    COLORREF colours[16];
    ChooserColours();
};

// The page lists the theme files and the plug-ins of `themesFolder` (a full
// path; it need not exist) and saves and deletes theme files there.
SettingsPageEntry AppearancePageEntry(const SettingsPageContext& context,
                                      const std::wstring& themesFolder,
                                      ChooserColours& chooserColours);

#endif

#include "app/menus.h"

#include "app/app.h"
#include "app/text.h"
#include "resources/resource.h"
#include "settings/settings.h"

void CheckCommand(int id, bool checked) {
    CheckMenuItem(g_app.mainMenu, static_cast<UINT>(id),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableCommand(int id, bool enabled) {
    EnableMenuItem(g_app.mainMenu, static_cast<UINT>(id),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void RadioCommand(int first, int last, int id) {
    CheckMenuRadioItem(g_app.mainMenu, static_cast<UINT>(first), static_cast<UINT>(last),
                       static_cast<UINT>(id), MF_BYCOMMAND);
}

HMENU SubMenuAt(int topPosition, int position) {
    return GetSubMenu(GetSubMenu(g_app.mainMenu, topPosition), position);
}

void EnableSubMenu(int topPosition, int position, bool enabled) {
    EnableMenuItem(GetSubMenu(g_app.mainMenu, topPosition), static_cast<UINT>(position),
                   MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetInitialMenuMarks() {
    const Settings& s = g_settings;
    RadioCommand(CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, CMD_SORT_NAME + s.sortType);
    CheckCommand(CMD_SORT_DESCENDING, s.sortDescending);
    CheckCommand(CMD_REPEAT, s.repeat);
    CheckCommand(CMD_SEQUENTIAL_PLAY, s.sequentialPlay);
    CheckCommand(CMD_REPEAT_PLAYLIST, s.repeatPlaylist);
    CheckCommand(CMD_PLAYLIST, s.showPlaylist);
    CheckCommand(CMD_MENU_BAR, s.showMenuBar);
    CheckCommand(CMD_TOOLBAR, s.showToolbar);
    CheckCommand(CMD_STATUS_BAR, s.showStatusBar);
    CheckCommand(CMD_PLAY_BAR, s.showPlayBar);
    CheckCommand(CMD_SEEK_BAR, s.showSeekBar);
    CheckCommand(CMD_KEEP_ZOOM, s.keepZoomRate);
    CheckCommand(CMD_FIT_TO_WINDOW, s.fitToWindow);
    CheckCommand(CMD_ALWAYS_ON_TOP, s.alwaysOnTop);
    FillPresetMenu();
}

void FillPresetMenu() {
    HMENU presets = SubMenuAt(kViewMenu, kPresetPosition);
    if (presets == nullptr) {
        return;
    }
    while (GetMenuItemCount(presets) > 0) {
        DeleteMenu(presets, 0, MF_BYPOSITION);
    }
    for (int i = 0; i < kPresetCount; ++i) {
        std::wstring text = FormatText(L"&%d: %s", i + 1, g_settings.presets[i].name.c_str());
        AppendMenuW(presets, MF_STRING, static_cast<UINT_PTR>(CMD_PRESET_FIRST + i), text.c_str());
    }
}

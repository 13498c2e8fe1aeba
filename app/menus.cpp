#include "app/menus.h"

#include "base/text.h"
#include "resources/resource.h"
#include "settings/settings.h"

void CheckCommand(HMENU menu, int id, bool checked) {
    CheckMenuItem(menu, static_cast<UINT>(id),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void EnableCommand(HMENU menu, int id, bool enabled) {
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void RadioCommand(HMENU menu, int first, int last, int id) {
    CheckMenuRadioItem(menu, static_cast<UINT>(first), static_cast<UINT>(last),
                       static_cast<UINT>(id), MF_BYCOMMAND);
}

HMENU SubMenuAt(HMENU menu, int topPosition, int position) {
    return GetSubMenu(GetSubMenu(menu, topPosition), position);
}

void EnableSubMenu(HMENU menu, int topPosition, int position, bool enabled) {
    EnableMenuItem(GetSubMenu(menu, topPosition), static_cast<UINT>(position),
                   MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetInitialMenuMarks(HMENU menu, const Settings& s) {
    RadioCommand(menu, CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, CMD_SORT_NAME + s.sortType);
    CheckCommand(menu, CMD_SORT_DESCENDING, s.sortDescending);
    CheckCommand(menu, CMD_REPEAT, s.repeat);
    CheckCommand(menu, CMD_SEQUENTIAL_PLAY, s.sequentialPlay);
    CheckCommand(menu, CMD_REPEAT_PLAYLIST, s.repeatPlaylist);
    CheckCommand(menu, CMD_PLAYLIST, s.showPlaylist);
    CheckCommand(menu, CMD_MENU_BAR, s.showMenuBar);
    CheckCommand(menu, CMD_TOOLBAR, s.showToolbar);
    CheckCommand(menu, CMD_STATUS_BAR, s.showStatusBar);
    CheckCommand(menu, CMD_PLAY_BAR, s.showPlayBar);
    CheckCommand(menu, CMD_SEEK_BAR, s.showSeekBar);
    CheckCommand(menu, CMD_KEEP_ZOOM, s.keepZoomRate);
    CheckCommand(menu, CMD_FIT_TO_WINDOW, s.fitToWindow);
    CheckCommand(menu, CMD_ALWAYS_ON_TOP, s.alwaysOnTop);
    FillPresetMenu(menu, s);
}

void FillPresetMenu(HMENU menu, const Settings& settings) {
    HMENU presets = SubMenuAt(menu, kViewMenu, kPresetPosition);
    if (presets == nullptr) {
        return;
    }
    while (GetMenuItemCount(presets) > 0) {
        DeleteMenu(presets, 0, MF_BYPOSITION);
    }
    for (int i = 0; i < kPresetCount; ++i) {
        std::wstring text = FormatText(L"&%d: %s", i + 1, settings.presets[i].name.c_str());
        AppendMenuW(presets, MF_STRING, static_cast<UINT_PTR>(CMD_PRESET_FIRST + i), text.c_str());
    }
}

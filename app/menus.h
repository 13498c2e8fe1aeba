// Enabled states and marks of the main menu's items.
#ifndef ZEPHLO_APP_MENUS_H
#define ZEPHLO_APP_MENUS_H

#include <windows.h>

struct Settings;

// Top-level pop-ups of the main menu and the positions the program addresses.
constexpr int kFileMenu = 0;
constexpr int kPlayMenu = 1;
constexpr int kViewMenu = 2;
constexpr int kFileHistoryPosition = 3;
constexpr int kFolderHistoryPosition = 4;
constexpr int kVolumePosition = 11;
constexpr int kZoomPosition = 2;
constexpr int kAspectPosition = 3;
constexpr int kPresetPosition = 19;

void CheckCommand(HMENU menu, int id, bool checked);
void EnableCommand(HMENU menu, int id, bool enabled);
// Radio mark on id among first..last.
void RadioCommand(HMENU menu, int first, int last, int id);
// The submenu at a position of a top-level pop-up, and its enabled state.
HMENU SubMenuAt(HMENU menu, int topPosition, int position);
void EnableSubMenu(HMENU menu, int topPosition, int position, bool enabled);

// The marks that show the settings, set once at start-up.
void SetInitialMenuMarks(HMENU menu, const Settings& settings);
// Rebuilds the preset submenu from the presets' names ("&1: name" ...).
void FillPresetMenu(HMENU menu, const Settings& settings);

#endif

// Which command a media key means and which file a drop-down list item names.
#ifndef ZEPHLO_APP_NAVIGATION_H
#define ZEPHLO_APP_NAVIGATION_H

#include <windows.h>

// The command a WM_APPCOMMAND stands for (its lParam), or 0 when unmapped.
UINT CommandForAppCommand(LPARAM lParam);

// The list index that a drop-down file list item names: items 1000-1099
// count back from `base` (1000 is the file just before it), items 1100-1199
// forward (1100 is the file just after it). -1 for other ids or an index
// below 0.
int DropDownListIndex(int base, UINT id);

#endif

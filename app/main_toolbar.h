// The main window's toolbar (control id 401): its fourteen buttons, their
// pictures (the theme's or the program's own) and their check marks.
#ifndef ZEPHLO_APP_MAIN_TOOLBAR_H
#define ZEPHLO_APP_MAIN_TOOLBAR_H

#include <windows.h>

struct App;

// Creates the toolbar in the main window (hidden when "ShowToolbar" is off);
// null on failure.
HWND CreateMainToolbar(App& app);
// Replaces the main window's toolbar with one made from the current pictures
// (set 0 of the App's image sets), its buttons keeping their states (checked,
// enabled); false, with the old toolbar kept, when the new one cannot be made.
bool ReplaceMainToolbar(App& app);

#endif

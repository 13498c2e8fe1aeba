// The dispatcher every command of the program ends in, and the enabled
// states and marks of the commands.
#ifndef ZEPHLO_APP_COMMANDS_H
#define ZEPHLO_APP_COMMANDS_H

#include <windows.h>

struct App;

// Carries out command id (or a child's notification code) at the main window.
void ExecuteCommand(App& app, int id, HWND control, int code);
// Enables the commands that need an open file, video or sound.
void UpdateCommandStates(App& app);
// The marks of a playback state change (WM_APP wParam 1).
void ShowStateMarks(App& app, int state);

#endif

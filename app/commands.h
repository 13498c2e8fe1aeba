// The dispatcher every command of the program ends in.
#ifndef ZEPHLO_APP_COMMANDS_H
#define ZEPHLO_APP_COMMANDS_H

#include <windows.h>

// Carries out command id (or a child's notification code) at the main window.
void ExecuteCommand(HWND window, int id, HWND control, int code);

#endif

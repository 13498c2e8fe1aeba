// HTML Help, loaded from the system's hhctrl.ocx on first use.
#ifndef ZEPHLO_APP_HELP_H
#define ZEPHLO_APP_HELP_H

#include <windows.h>

// Loads the help library and initialises it; true when help is available.
bool InitHelp();
// Lets the help library see a message of the loop first; true when it took it.
bool HelpPreTranslateMessage(MSG* message);
// Closes every help window and unloads the library (main window destroyed).
void CloseHelp();
// The table of contents of Zephlo.chm.
void ShowHelpContents();
// The topic of a context id (the settings pages use 2001-2006).
void ShowContextHelp(DWORD contextId);

#endif

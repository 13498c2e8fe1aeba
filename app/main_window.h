// The main window "Zephlo Main Window": creation, the window procedure and
// the steps of start-up and shut-down that act on it.
#ifndef ZEPHLO_APP_MAIN_WINDOW_H
#define ZEPHLO_APP_MAIN_WINDOW_H

#include <windows.h>

#include "files/paths.h"

// Registers the main window class and the classes of its children.
bool RegisterWindowClasses(HINSTANCE instance);
// Creates the main window from the settings; false when creation failed.
bool CreateMainWindow(HINSTANCE instance);
// Creates the playlist window and restores menus, histories, the saved
// playlist and the key assignments.
void RestoreMainWindowState();
// Opens or queues the command-line files; full screen when asked and a file opened.
void OpenCommandLineFiles(const PathList& paths, bool fullScreen);
// The accelerator table the message loop translates with, or null.
HACCEL MainWindowAccelerators();
// Saves what is written after the message loop and frees the rest.
void FinishAfterMessageLoop();

#endif

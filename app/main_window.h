// The main window "Zephlo Main Window": creation, the window procedure and
// the steps of start-up and shut-down that act on it.
#ifndef ZEPHLO_APP_MAIN_WINDOW_H
#define ZEPHLO_APP_MAIN_WINDOW_H

#include <windows.h>

#include "base/paths.h"

struct App;

// Registers the main window class and the classes of its children.
bool RegisterWindowClasses(HINSTANCE instance);
// Creates the main window from the settings; false when creation failed.
bool CreateMainWindow(App& app);
// Creates the playlist window and restores menus, histories, the saved
// playlist and the key assignments.
void RestoreMainWindowState(App& app);
// Opens or queues the command-line files; full screen when asked and a file opened.
void OpenCommandLineFiles(App& app, const PathList& paths, bool fullScreen);
// Start-up is done: paths handed over meanwhile are taken now.
void FinishStartUp(App& app);
// Saves what is written after the message loop and frees the rest.
void FinishAfterMessageLoop(App& app);

#endif

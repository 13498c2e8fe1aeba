// The program's entry and exit: settings, single instance, main window,
// message loop and what is saved on the way out.
#ifndef ZEPHLO_APP_STARTUP_H
#define ZEPHLO_APP_STARTUP_H

#include <windows.h>

struct App;

int RunZephlo(HINSTANCE instance, const wchar_t* commandLine, int show);

// The loop's first look at a message: help, then the key assignment's
// accelerator table, which sends the command of a shortcut to the main
// window from whichever window of the thread has the keyboard. True when
// the message was taken.
bool PreTranslateProgramMessage(App& app, MSG& message);

#endif

// The program's entry and exit: settings, single instance, main window,
// message loop and what is saved on the way out.
#ifndef ZEPHLO_APP_STARTUP_H
#define ZEPHLO_APP_STARTUP_H

#include <windows.h>

int RunZephlo(HINSTANCE instance, const wchar_t* commandLine, int show);

#endif

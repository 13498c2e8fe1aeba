#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    return RunZephlo(instance, commandLine != nullptr ? commandLine : L"", show);
}

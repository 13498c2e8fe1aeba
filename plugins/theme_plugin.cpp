// A theme plug-in. Every library is built from this file with its own figures
// (compile definitions set by plugins/CMakeLists.txt) and its own resource
// script with the bitmaps. It links no runtime: it only fills records.
#include <windows.h>

#include <type_traits>

#include "plugins/theme_plugin_interface.h"

#ifndef THEME_VERSION
#define THEME_VERSION kThemeInterfaceVersion
#endif

// Kept for the library's lifetime; external so that the store stays.
HINSTANCE g_themeModule;

extern "C" {

int WINAPI ZPThemeGetVersion() {
    return THEME_VERSION;
}

ThemeInfo* WINAPI ZPThemeGetInfo(ThemeInfo* info) {
    info->flags = THEME_FLAGS;
    info->name = THEME_NAME;
    info->notice = L"Copyright (C) Zephlo 開発チーム";
    info->description = THEME_DESCRIPTION;
    return info;
}

// Every set of a library has the same figures.
int WINAPI ZPThemeGetToolbarInfo(ToolbarInfo* info) {
    if (static_cast<unsigned>(info->index) >= kThemeImageSetCount) {
        return 0;
    }
    info->flags = THEME_TOOLBAR_FLAGS;
    info->width = THEME_IMAGE_WIDTH;
    info->height = THEME_IMAGE_HEIGHT;
    info->mask = RGB(255, 0, 255);
    return 1;
}

BOOL WINAPI DllEntryPoint(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_themeModule = module;
    }
    return TRUE;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&ZPThemeGetVersion), ThemeGetVersionFn>);
static_assert(std::is_same_v<decltype(&ZPThemeGetInfo), ThemeGetInfoFn>);
static_assert(std::is_same_v<decltype(&ZPThemeGetToolbarInfo), ThemeGetToolbarInfoFn>);

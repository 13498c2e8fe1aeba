#include "settings/toolbars.h"

#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "settings/colours.h"
#include "settings/settings.h"

ToolbarImageSet g_toolbarImageSets[3];

namespace {

// The main toolbar's own image list when no theme gave one; kept for the run.
UniqueImageList g_builtInMainImages;

}  // namespace

HIMAGELIST LoadBuiltInStrip(HINSTANCE instance, int bitmapId) {
    return ImageList_LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), 16, 1, RGB(255, 0, 255),
                                IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

HWND CreateMainToolbar(HWND parent, HINSTANCE instance) {
    const ToolbarImageSet& set = g_toolbarImageSets[0];
    int width = 16;
    int height = 16;
    if (set.normal) {
        ImageList_GetIconSize(set.normal.get(), &width, &height);
    }
    DWORD style =
        WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | (g_settings.showToolbar ? WS_VISIBLE : 0);
    HWND toolbar = CreateToolbarEx(parent, style, ID_MAIN_TOOLBAR, 0, nullptr, 0, nullptr, 0, width,
                                   height, width, height, sizeof(TBBUTTON));
    if (toolbar == nullptr) {
        return nullptr;
    }
    SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    HIMAGELIST images = set.normal.get();
    if (images == nullptr) {
        if (!g_builtInMainImages) {
            g_builtInMainImages.reset(LoadBuiltInStrip(instance, IDB_MAIN_TOOLBAR));
        }
        images = g_builtInMainImages.get();
    }
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    if (set.hot) {
        SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(set.hot.get()));
    }
    if (set.disabled) {
        SendMessageW(toolbar, TB_SETDISABLEDIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(set.disabled.get()));
    }
    const TBBUTTON buttons[] = {
        ToolbarButton(0, CMD_OPEN, TBSTATE_ENABLED, BTNS_DROPDOWN),
        ToolbarSeparator(),
        ToolbarButton(1, CMD_PLAYLIST, TBSTATE_ENABLED, BTNS_CHECK),
        ToolbarButton(2, CMD_PREV_FILE, 0, BTNS_DROPDOWN),
        ToolbarButton(3, CMD_NEXT_FILE, 0, BTNS_DROPDOWN),
        ToolbarButton(4, CMD_REPEAT_PLAYLIST, TBSTATE_ENABLED, BTNS_CHECK),
        ToolbarSeparator(),
        ToolbarButton(5, CMD_ZOOM_IN, 0, BTNS_DROPDOWN),
        ToolbarButton(6, CMD_ZOOM_OUT, 0, BTNS_BUTTON),
        ToolbarSeparator(),
        ToolbarButton(7, CMD_FULL_SCREEN, 0, BTNS_BUTTON),
        ToolbarButton(8, CMD_ALWAYS_ON_TOP, TBSTATE_ENABLED, BTNS_CHECK),
        ToolbarSeparator(),
        ToolbarButton(9, CMD_OPTIONS, TBSTATE_ENABLED, BTNS_BUTTON),
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, sizeof buttons / sizeof buttons[0],
                 reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_PLAYLIST, MAKELPARAM(g_settings.showPlaylist, 0));
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_REPEAT_PLAYLIST,
                 MAKELPARAM(g_settings.repeatPlaylist, 0));
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_ALWAYS_ON_TOP, MAKELPARAM(g_settings.alwaysOnTop, 0));
    return toolbar;
}

void PrepareToolbarToolTips(HWND tips) {
    SendMessageW(tips, TTM_SETTIPTEXTCOLOR, ResolveColour(g_settings.colours[kTipText]), 0);
    SendMessageW(tips, TTM_SETTIPBKCOLOR, ResolveColour(g_settings.colours[kTipBg]), 0);
    SendMessageW(tips, TTM_ACTIVATE, g_settings.showToolTips, 0);
}

void ActivateToolbarToolTips(HWND toolbar, bool active) {
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    if (tips != nullptr) {
        SendMessageW(tips, TTM_ACTIVATE, active, 0);
    }
}

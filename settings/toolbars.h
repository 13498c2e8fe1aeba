// The toolbars' pictures and the main toolbar.
#ifndef ZEPHLO_SETTINGS_TOOLBARS_H
#define ZEPHLO_SETTINGS_TOOLBARS_H

#include <windows.h>
#include <commctrl.h>

#include "app/handles.h"

// The normal, hot and disabled pictures of one toolbar; all empty means the
// program's own bitmap.
struct ToolbarImageSet {
    UniqueImageList normal;
    UniqueImageList hot;
    UniqueImageList disabled;
};

// A button of a toolbar's table (picture, command, state, style), no text.
constexpr TBBUTTON ToolbarButton(int image, int command, BYTE state, BYTE style) {
    return TBBUTTON{image, command, state, style, {}, 0, 0};
}
constexpr TBBUTTON ToolbarSeparator() {
    return ToolbarButton(0, 0, 0, BTNS_SEP);
}

// Set 0 main toolbar, 1 play bar, 2 playlist toolbar.
extern ToolbarImageSet g_toolbarImageSets[3];

// The image list of a built-in strip (16-pixel images, magenta transparent).
HIMAGELIST LoadBuiltInStrip(HINSTANCE instance, int bitmapId);

// Creates the main toolbar (control id 401) with its 14 buttons; null on failure.
HWND CreateMainToolbar(HWND parent, HINSTANCE instance);
// Activates or deactivates a toolbar's tooltips.
void ActivateToolbarToolTips(HWND toolbar, bool active);
// Gives the tooltip window a toolbar reports having made (NM_TOOLTIPSCREATED)
// the tip colours and the tooltip setting. Some systems make it only when it
// is first needed or asked for, so start-up never asks for it.
void PrepareToolbarToolTips(HWND tips);

#endif

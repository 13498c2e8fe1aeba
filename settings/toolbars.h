// The pictures of the three toolbars: the program's own strips, or the image
// lists copied from a theme plug-in.
#ifndef ZEPHLO_SETTINGS_TOOLBARS_H
#define ZEPHLO_SETTINGS_TOOLBARS_H

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "base/handles.h"
#include "base/toolbar.h"

struct Settings;

// Which toolbar an image set is for.
enum ToolbarSetIndex : int {
    kMainToolbarSet = 0,
    kPlayBarSet = 1,
    kPlaylistToolbarSet = 2,
};
constexpr int kToolbarSetCount = 3;

// The normal, hot and disabled pictures of one toolbar; all empty means the
// program's own bitmap.
struct ToolbarImageSet {
    UniqueImageList normal;
    UniqueImageList hot;
    UniqueImageList disabled;

    // The lists, lent to a toolbar.
    ToolbarImages images() const { return {normal.get(), hot.get(), disabled.get()}; }
};
using ToolbarImageSets = std::array<ToolbarImageSet, kToolbarSetCount>;

// The image list of a built-in strip (16-pixel images, magenta transparent).
HIMAGELIST LoadBuiltInStrip(HINSTANCE instance, int bitmapId);

// The look of the toolbars' tooltips: the "TipText" and "TipBg" colours and
// "ShowToolTips".
ToolTipLook ToolTipLookOf(const Settings& settings);

#endif

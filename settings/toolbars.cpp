#include "settings/toolbars.h"

#include "settings/colours.h"
#include "settings/settings.h"

HIMAGELIST LoadBuiltInStrip(HINSTANCE instance, int bitmapId) {
    return ImageList_LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), 16, 1, RGB(255, 0, 255),
                                IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

ToolTipLook ToolTipLookOf(const Settings& settings) {
    return {ResolveColour(settings.colours[kTipText]), ResolveColour(settings.colours[kTipBg]),
            settings.showToolTips};
}

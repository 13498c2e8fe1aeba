#include "app/main_toolbar.h"

#include <commctrl.h>

#include <iterator>

#include "app/app.h"
#include "base/toolbar.h"

namespace {

constexpr TBBUTTON kButtons[] = {
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

}  // namespace

HWND CreateMainToolbar(App& app) {
    const Settings& settings = app.settings;
    ToolbarDescription bar;
    bar.parent = app.window.hwnd;
    bar.style =
        WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | (settings.showToolbar ? WS_VISIBLE : 0);
    bar.id = ID_MAIN_TOOLBAR;
    bar.extendedStyle = TBSTYLE_EX_DRAWDDARROWS;
    bar.buttons = kButtons;
    bar.buttonCount = std::size(kButtons);
    bar.images = app.toolbarImages[kMainToolbarSet].images();
    if (!ImageListSize(bar.images.normal, bar.imageWidth, bar.imageHeight)) {
        if (!app.window.builtInToolbarImages) {
            app.window.builtInToolbarImages.reset(LoadBuiltInStrip(app.instance, IDB_MAIN_TOOLBAR));
        }
        bar.images = {app.window.builtInToolbarImages.get(), nullptr, nullptr};
    }
    HWND toolbar = CreateToolbarWithImages(bar);
    if (toolbar == nullptr) {
        return nullptr;
    }
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_PLAYLIST, MAKELPARAM(settings.showPlaylist, 0));
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_REPEAT_PLAYLIST,
                 MAKELPARAM(settings.repeatPlaylist, 0));
    SendMessageW(toolbar, TB_CHECKBUTTON, CMD_ALWAYS_ON_TOP, MAKELPARAM(settings.alwaysOnTop, 0));
    return toolbar;
}

bool ReplaceMainToolbar(App& app) {
    HWND toolbar = CreateMainToolbar(app);
    if (toolbar == nullptr) {
        return false;
    }
    HWND old = app.window.toolbar;
    if (old != nullptr) {
        SetToolbarButtonStates(toolbar, kButtons, std::size(kButtons),
                               ToolbarButtonStates(old, kButtons, std::size(kButtons)));
        DestroyWindow(old);
    }
    app.window.toolbar = toolbar;
    return true;
}

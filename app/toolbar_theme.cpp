#include "app/toolbar_theme.h"

#include <utility>

#include "app/app.h"
#include "app/layout.h"
#include "app/main_toolbar.h"
#include "base/paths.h"
#include "base/toolbar.h"
#include "settings/theme_plugins.h"

namespace {

bool UsesOwnPictures(const App& app) {
    for (const ToolbarImageSet& set : app.toolbarImages) {
        if (set.normal) {
            return false;
        }
    }
    return app.settings.themePlugin.empty();
}

// Each toolbar is rebuilt with its new set swapped into the App; the old set
// comes back into `pictures` and is destroyed with it, after the toolbar that
// showed it. A toolbar that cannot be rebuilt swaps its old set back.
void ApplyMainToolbarSet(App& app, ToolbarImageSets& pictures) {
    std::swap(app.toolbarImages[kMainToolbarSet], pictures[kMainToolbarSet]);
    if (!ReplaceMainToolbar(app)) {
        std::swap(app.toolbarImages[kMainToolbarSet], pictures[kMainToolbarSet]);
        return;
    }
    if (app.settings.showToolbar) {
        RelayoutMainWindow(app);
    }
}

void ApplyPlayBarSet(App& app, ToolbarImageSets& pictures) {
    ToolbarImageSet& set = app.toolbarImages[kPlayBarSet];
    std::swap(set, pictures[kPlayBarSet]);
    MediaWindow* media = app.media();
    if (media == nullptr) {
        return;
    }
    HWND old = media->playBar;
    media->SetPlayBarImages(set.images());
    media->ReplacePlayBar();
    if (old != nullptr && media->playBar == old) {
        std::swap(set, pictures[kPlayBarSet]);
        media->SetPlayBarImages(set.images());
    }
}

void ApplyPlaylistToolbarSet(App& app, ToolbarImageSets& pictures) {
    ToolbarImageSet& set = app.toolbarImages[kPlaylistToolbarSet];
    std::swap(set, pictures[kPlaylistToolbarSet]);
    if (app.playlist.window() == nullptr) {
        app.playlist.SetToolbarImages(set.images());
    } else if (!app.playlist.RebuildToolbar(set.images())) {
        std::swap(set, pictures[kPlaylistToolbarSet]);
    }
}

}  // namespace

void ApplyThemeChoice(App& app, const PluginRecord* plugin) {
    if (plugin == nullptr && UsesOwnPictures(app)) {
        return;
    }
    ThemePictures pictures;
    if (plugin != nullptr) {
        pictures = LoadThemePictures(*plugin);
    }
    app.settings.themePlugin = plugin != nullptr ? PathFileName(plugin->path) : std::wstring();
    ApplyMainToolbarSet(app, pictures.sets);
    ApplyPlayBarSet(app, pictures.sets);
    ApplyPlaylistToolbarSet(app, pictures.sets);
    if (MediaWindow* media = app.media()) {
        media->SetLogo(pictures.idlePicture.release());
    }
}

void SetToolbarToolTips(App& app, bool show) {
    app.settings.showToolTips = show;
    ToolTipLook look = ToolTipLookOf(app.settings);
    if (MediaWindow* media = app.media()) {
        media->SetToolTipLook(look, true);
    }
    app.playlist.SetToolTipLook(look, true);
    ApplyToolbarToolTipLook(app.window.toolbar, look);
}

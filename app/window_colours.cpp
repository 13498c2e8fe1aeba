#include "app/window_colours.h"

#include "app/app.h"
#include "base/toolbar.h"
#include "settings/colours.h"

void ApplyColours(App& app, bool toExistingTips) {
    const ColourValue* colours = app.settings.colours;
    ToolTipLook tips = ToolTipLookOf(app.settings);
    if (MediaWindow* media = app.media()) {
        media->ApplyColours(colours);
        media->SetToolTipLook(tips, toExistingTips);
    }
    if (app.window.statusBar.hwnd != nullptr) {
        SetStatusBarColours(app.window.statusBar, ResolveColour(colours[kStatusText]),
                            ResolveColour(colours[kStatusBg]));
    }
    app.playlist.SetColours(PlaylistColoursFromSettings(colours));
    app.playlist.SetToolTipLook(tips, toExistingTips);
    if (toExistingTips) {
        ApplyToolbarToolTipLook(app.window.toolbar, tips);
    }
}

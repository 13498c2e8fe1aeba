#include "settings/apply_colours.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app.h"
#include "media_window/media_window.h"
#include "playlist/playlist.h"
#include "settings/settings.h"

namespace {

COLORREF Colour(int entry) {
    return ResolveColour(g_settings.colours[entry]);
}

void SetToolbarTipColours(HWND toolbar, COLORREF text, COLORREF background) {
    if (toolbar == nullptr) {
        return;
    }
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    if (tips != nullptr) {
        SendMessageW(tips, TTM_SETTIPTEXTCOLOR, text, 0);
        SendMessageW(tips, TTM_SETTIPBKCOLOR, background, 0);
    }
}

}  // namespace

void ApplyWindowColours() {
    if (g_mediaWindow != nullptr) {
        g_mediaWindow->SetBackgroundColour(Colour(kBackground));
        g_mediaWindow->SetFullScreenBackgroundColour(Colour(kFullScreenBg));
        g_mediaWindow->SetVolumeColour(Colour(kVolume));
        g_mediaWindow->SetSeekBarColour(Colour(kSeekBar));
    }
    if (g_app.statusBar.hwnd != nullptr) {
        SetStatusBarColours(g_app.statusBar, Colour(kStatusText), Colour(kStatusBg));
    }
    PlaylistColours colours;
    colours.text = Colour(kPlaylistText);
    colours.background = Colour(kPlaylistBg);
    colours.selText = Colour(kPlaylistSelText);
    colours.selBackground = Colour(kPlaylistSelBg);
    colours.playingText = Colour(kPlaylistPlayingText);
    colours.playingSelText = Colour(kPlaylistPlayingSelText);
    colours.playedText = Colour(kPlaylistPlayedText);
    g_playlist.SetColours(colours);
}

void ApplyColours() {
    ApplyWindowColours();
    COLORREF tipText = Colour(kTipText);
    COLORREF tipBackground = Colour(kTipBg);
    SetToolbarTipColours(g_app.toolbar, tipText, tipBackground);
    if (g_mediaWindow != nullptr) {
        SetToolbarTipColours(g_mediaWindow->playBar, tipText, tipBackground);
    }
    g_playlist.SetToolTipColours(tipText, tipBackground);
}

// The toolbars' pictures and tool tips while the program runs: applying the
// theme chosen on the appearance page of the settings dialog, and turning
// the three toolbars' tool tips on and off.
#ifndef ZEPHLO_APP_TOOLBAR_THEME_H
#define ZEPHLO_APP_TOOLBAR_THEME_H

struct App;
struct PluginRecord;

// Applies the appearance page's choice of pictures, on OK: `plugin` is the
// chosen item's record from the page's list (EnumerateThemePlugins, still
// loaded while this runs: nothing of the library is kept), or null for item
// 0 "標準", the program's own pictures. The page calls it only when an item
// is selected.
//
// "標準" while the program's own pictures are in use (no set loaded and
// "ThemePlugin" empty) does nothing. Otherwise:
// - the pictures: the plug-in's sets announced and valid (LoadThemePictures),
//   the program's own for the rest and for "標準";
// - "ThemePlugin" = the plug-in's file name, or empty for "標準";
// - the main toolbar is rebuilt with set 0 and the main window laid out again
//   when the toolbar shows; the play bar with set 1 and the playlist toolbar
//   with set 2, each laid out again in its window. Every button keeps its
//   state (checked, enabled). A toolbar that cannot be rebuilt keeps its old
//   pictures, and the App keeps that toolbar's old set;
// - the media window's idle picture: the plug-in's bitmap 1 when its flags
//   announce one, else the program's own; repainted unless a video shows.
void ApplyThemeChoice(App& app, const PluginRecord* plugin);

// Stores "ShowToolTips" and activates or deactivates the tool tips of the
// main toolbar, the play bar and the playlist toolbar, the tool tip windows
// they have made and those they make later. For the general page of the
// settings dialog when the box changes.
void SetToolbarToolTips(App& app, bool show);

#endif

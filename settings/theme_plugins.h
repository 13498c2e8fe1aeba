// The host of the theme plug-ins: libraries "*.zpres" in the Themes folder
// beside the program that carry the pictures of the three toolbars (and may
// carry an idle picture for the media window). Loading and checking a
// plug-in, copying its strips into image lists, listing the plug-ins of the
// folder, and the plug-in "ThemePlugin" names at start-up.
//
// A plug-in is loaded only while its pictures are copied: at start-up, and
// while the appearance page of the settings dialog is open. The image lists
// and the idle picture made here are the program's own and outlive it.
#ifndef ZEPHLO_SETTINGS_THEME_PLUGINS_H
#define ZEPHLO_SETTINGS_THEME_PLUGINS_H

#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "plugins/theme_plugin_interface.h"
#include "settings/toolbars.h"

// The info of a plug-in copied out of the library (its strings are the
// library's static data), each string cut to its longest allowed length.
struct ThemeDetails {
    unsigned flags = 0;
    std::wstring name;         // at most 63 characters
    std::wstring notice;       // at most 127: the authors (the page's "著作権" column)
    std::wstring description;  // at most 127
};

// One loaded plug-in. It owns its library: destroying the record unloads it,
// and `info`'s strings are valid only while the record lives. `details`
// holds the same info copied, for use at any time.
struct PluginRecord {
    UniqueModule module;
    std::wstring path;  // full path of the library
    ThemeInfo info{};   // as the library filled it
    ThemeDetails details;
};

// The plug-ins of a folder that loaded, in path order.
using PluginList = std::vector<PluginRecord>;

// What a plug-in gives the program: the pictures of the sets it announces
// and holds, and its idle picture when it announces one (null otherwise).
struct ThemePictures {
    ToolbarImageSets sets;
    UniqueBitmap idlePicture;
};

// A name "ThemePlugin" may hold: a plain file name of the Themes folder. No
// folder separator, drive or stream (":"), "..", wildcard or other character
// a file name cannot have, and no trailing dot or blank (which the system
// strips, turning "x.. " into a step up).
bool IsPlainFileName(const std::wstring& name);

// Loads the library at `path` (a full path) into `record`: its exports
// "ZPThemeGetVersion" and "ZPThemeGetInfo" must exist and the version must
// be 0; "ZPThemeGetToolbarInfo" is optional. The library's own dependencies
// are searched for only in the system folder, never beside it or in the
// current folder, and no error box is shown for a file that is no library.
// False, with the record untouched, when the plug-in cannot be used.
bool LoadThemePlugin(PluginRecord& record, const std::wstring& path);

// Copies image set `set` (0 main toolbar, 1 play bar, 2 playlist toolbar) of
// a loaded plug-in into `out` (emptied first): the normal strip and, when the
// set's ToolbarInfo flags say so, the hot and disabled strips, cut at the
// set's image width, its mask transparent, its greys mapped to the system's
// 3D colours when flag 4 is set. The set is absent (`out` stays empty, false)
// when the library lacks "ZPThemeGetToolbarInfo" or answers 0 for the set,
// when the width is not 1-256, when the normal strip is missing, is higher
// than 256 pixels or does not hold the set's number of images (10, 9, 9). A
// hot or disabled strip that is missing or does not match the normal one is
// left out. True when the set has its pictures.
bool LoadToolbarImageSet(const PluginRecord& record, int set, ToolbarImageSet& out);

// The sets announced by the flags of the plug-in's info (bits 1-3), each
// through LoadToolbarImageSet, and its bitmap 1 when bit 0 announces it.
ThemePictures LoadThemePictures(const PluginRecord& record);

// The plug-ins of `folder` (files "*.zpres", no subfolders), loaded with
// LoadThemePlugin in path order (lstrcmpiW); files that do not load are left
// out silently. `list` is replaced. False, with an empty list, when the
// folder cannot be searched (for instance it does not exist); a folder
// without plug-ins gives true and an empty list.
//
// The appearance page keeps the list while it is open (clearing it unloads
// the libraries): item 0 "標準", then one item per record showing
// `details.name`, the file name of `path` and `details.notice`; the record
// whose file name equals "ThemePlugin" (lstrcmpiW) is the selected one. On
// OK it hands the chosen record to the application's ApplyThemeChoice.
bool EnumerateThemePlugins(const std::wstring& folder, PluginList& list);

// Start-up: the pictures of the plug-in `pluginName` ("ThemePlugin") of
// `themesFolder`, the library unloaded again. Empty pictures (the program's
// own are used) when the name is empty or not a plain file name, or the
// plug-in does not load; nothing is reported and the setting is not touched.
ThemePictures LoadStartupTheme(const std::wstring& themesFolder, const std::wstring& pluginName);

#endif

// The interface between the program and its theme plug-ins: libraries named
// *.zpres in the Themes folder that carry the toolbars' pictures as bitmap
// resources and describe them through three exported functions. Read by the
// plug-ins' own source, by the program's plug-in host and by the resource
// scripts (which see only the resource ids).
#ifndef ZEPHLO_PLUGINS_THEME_PLUGIN_INTERFACE_H
#define ZEPHLO_PLUGINS_THEME_PLUGIN_INTERFACE_H

// Bitmap resources of a plug-in. Each toolbar's set has a normal strip and,
// when its ToolbarInfo flags say so, a hot and a disabled strip at the next
// two ids; every strip is a row of equal-width images in button order.
#define IDB_THEME_IDLE_PICTURE 1
#define IDB_THEME_MAIN_TOOLBAR 2
#define IDB_THEME_PLAY_BAR 5
#define IDB_THEME_PLAYLIST_TOOLBAR 8

#ifndef RC_INVOKED

#include <windows.h>

// Filled by ZPThemeGetInfo. The strings are static data of the library: copy
// them before unloading it.
struct ThemeInfo {
    unsigned flags;              // kTheme* bits
    const wchar_t* name;         // display name, at most 63 characters
    const wchar_t* notice;       // authors, at most 127 characters
    const wchar_t* description;  // one line, at most 127 characters
};

// Filled by ZPThemeGetToolbarInfo for the set the caller puts in `index`.
struct ToolbarInfo {
    int index;       // 0 main toolbar, 1 play bar, 2 playlist toolbar
    unsigned flags;  // kToolbar* bits
    int width;       // of one image: the strip is cut at this width
    int height;      // of one image, for information: the bitmap has the real one
    COLORREF mask;   // the transparent colour of the strips
};

constexpr int kThemeInterfaceVersion = 0;
constexpr int kThemeImageSetCount = 3;

// ThemeInfo::flags: an idle picture for the media window (IDB_THEME_IDLE_PICTURE),
// and which of the three toolbars' sets the library has.
constexpr unsigned kThemeHasIdlePicture = 1;
constexpr unsigned ThemeHasImageSet(int set) {
    return 2u << set;
}

// ToolbarInfo::flags: hot and disabled strips beside the normal one, and
// whether the standard greys of the strips stand for the 3D system colours
// (loaded with LR_LOADMAP3DCOLORS).
constexpr unsigned kToolbarHasHotImages = 1;
constexpr unsigned kToolbarHasDisabledImages = 2;
constexpr unsigned kToolbarMap3DColours = 4;

// Variants of a set's strip, added to the set's normal bitmap id.
enum ThemeImageVariant { kThemeNormalImages = 0, kThemeHotImages = 1, kThemeDisabledImages = 2 };

constexpr int ThemeBitmapId(int set, ThemeImageVariant variant) {
    return IDB_THEME_MAIN_TOOLBAR + 3 * set + variant;
}

// The exports, by name, undecorated, callee-cleans on both architectures.
// ZPThemeGetVersion answers kThemeInterfaceVersion; ZPThemeGetInfo fills the
// record and returns it; ZPThemeGetToolbarInfo answers 1 for sets 0-2 and 0,
// without writing, for any other index.
using ThemeGetVersionFn = int(WINAPI*)();
using ThemeGetInfoFn = ThemeInfo*(WINAPI*)(ThemeInfo* info);
using ThemeGetToolbarInfoFn = int(WINAPI*)(ToolbarInfo* info);

constexpr char kThemeGetVersionExport[] = "ZPThemeGetVersion";
constexpr char kThemeGetInfoExport[] = "ZPThemeGetInfo";
constexpr char kThemeGetToolbarInfoExport[] = "ZPThemeGetToolbarInfo";

#endif  // RC_INVOKED

#endif

// Theme files (*.zptheme in the Themes folder beside the program): the
// fifteen colours of the appearance page and, optionally, its choice of
// toolbar pictures. No window is needed to write, read or list them.
//
//   [ColorScheme]
//   Background=Black            one line per colour entry, in entry order,
//   ...                         each as FormatColourText writes it
//
//   [Plugin]                    only when an item of the plug-in list is chosen
//   File=Glossy.zpres           the plug-in's file name, or "default" for the
//                               program's own pictures
//
// The file is single-byte text in the system's code page with CR LF line
// ends. A plug-in file name that the code page cannot hold would come back
// as "?": such a file is written as UTF-16LE with a byte-order mark instead,
// which the profile functions read back whole.
#ifndef ZEPHLO_SETTINGS_THEME_FILE_H
#define ZEPHLO_SETTINGS_THEME_FILE_H

#include <string>
#include <vector>

#include "settings/colours.h"

constexpr wchar_t kThemeFileExtension[] = L".zptheme";

// The items of the appearance page's plug-in list: item 0 the program's own
// pictures ("標準"), item i the plug-in whose file name is pluginFiles[i - 1].
constexpr int kNoPluginItem = -1;
constexpr int kBuiltInPluginItem = 0;

// What a theme file carries: the page's colours and its chosen plug-in item.
struct ThemeScheme {
    ColourValue colours[kColourEntryCount] = {};
    int pluginItem = kNoPluginItem;
};

// The file's text (before encoding) for a scheme; `pluginFiles` names the
// plug-in items (file names without folder).
std::wstring FormatThemeFile(const ThemeScheme& scheme,
                             const std::vector<std::wstring>& pluginFiles);

// The bytes of a file's text: the system code page when every character
// survives the round trip through it, else "\xFF\xFE" and UTF-16LE.
std::string EncodeThemeText(const std::wstring& text);

// Writes the theme file at `path` (replacing it). False when the file cannot
// be created or written; it may then be left partly written.
bool WriteThemeFile(const std::wstring& path, const ThemeScheme& scheme,
                    const std::vector<std::wstring>& pluginFiles);

// Reads a theme file into `scheme`, never failing: each colour entry whose
// key is present and not empty is parsed into its value (an invalid text
// leaves it); when absent or empty, entries 8 and 10 take the value entry 4
// has at that moment and entry 9 that of entry 6, the others stay. [Plugin]
// "File": absent or empty leaves the plug-in item; "default" (any case)
// chooses item 0; a name chooses the plug-in with that file name (any case),
// or item 0 when none has it.
void ReadThemeFile(const std::wstring& path, ThemeScheme& scheme,
                   const std::vector<std::wstring>& pluginFiles);

// The theme files directly in `folder` (no subfolders, no folders named like
// one), by their file names without the extension, sorted with lstrcmpiW.
// Empty when the folder cannot be searched.
std::vector<std::wstring> ListThemeFiles(const std::wstring& folder);

#endif

// The main window's pop-up menus: the context menu of the video area, the
// drop-down lists of the toolbar's Open, PrevFile, NextFile and ZoomIn
// buttons, and the owner-drawn items of the PrevFile/NextFile file lists.
#ifndef ZEPHLO_APP_CONTEXT_MENUS_H
#define ZEPHLO_APP_CONTEXT_MENUS_H

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "base/handles.h"
#include "settings/colours.h"

struct App;
class FolderFiles;
class KeyAssignment;
struct Settings;

// Which rows a drop-down file list shows. `button` is PrevFile (102) or
// NextFile (103), `base` the open file's index, `count` the entries of the
// list, `limit` the "MaxFileListMenu" setting (taken as 1-100 so that the
// ids stay in their range). Items are nearest first: PrevFile's item j has
// id 1000 + j and names base - 1 - j, NextFile's 1100 + j and base + 1 + j.
// No items means no menu; `more` asks for the "..." row after them.
struct FileListItem {
    UINT id;
    int index;
};
struct FileListMenuPlan {
    std::vector<FileListItem> items;
    bool more = false;
};
FileListMenuPlan PlanFileListMenu(UINT button, int base, int count, int limit);

// The colour entries an owner-drawn file item is painted with.
struct FileListItemColours {
    ColourEntry text;
    ColourEntry background;
};
FileListItemColours ChooseFileListColours(bool selected, bool grayed, bool played);

// The index of the open file in the folder file list, for the file lists:
// looked up in the list, then in a rebuilt list, then, when the file exists
// but the masks leave it out, after adding it and sorting again. -1 when the
// list cannot be built or the file is in none of them.
int FolderListBaseFor(FolderFiles& folderFiles, const std::wstring& openPath);

// The pop-up of file items for a plan: owner-drawn items whose data is the
// entry's index, then the disabled "..." item (id 0, data 0) when asked for.
UniqueMenu BuildFileListMenu(const FileListMenuPlan& plan);

// While a file list is up: the system menu font and where the items' texts
// and icons come from (the playlist or the folder file list). The font is
// created with the session and deleted with it; measuring and drawing are
// answered only while a session exists (the main window knows it).
class FileListMenuSession {
public:
    FileListMenuSession(App& app, bool fromPlaylist);
    ~FileListMenuSession();
    FileListMenuSession(const FileListMenuSession&) = delete;
    FileListMenuSession& operator=(const FileListMenuSession&) = delete;

    App& app() const { return app_; }
    HFONT font() const { return font_.get(); }
    bool fromPlaylist() const { return fromPlaylist_; }

private:
    App& app_;
    UniqueFont font_;
    bool fromPlaylist_;
    FileListMenuSession* previous_;
};

// WM_MEASUREITEM / WM_DRAWITEM of the main window; false when the item is
// not a file list item (no file list is up).
bool MeasureFileListItem(const App& app, HWND window, MEASUREITEMSTRUCT& item);
bool DrawFileListItem(const App& app, const DRAWITEMSTRUCT& item);

// The context menu: the whole main menu when the menu bar is hidden, else
// menu 12 (file open) with the main menu's states and the bars menu, or
// menu 11 (no file) with the two history submenus. Submenus borrowed from the
// main menu are taken out again before the menu is destroyed, so they live on.
class ContextMenu {
public:
    ContextMenu() = default;
    ~ContextMenu();
    ContextMenu(ContextMenu&& other) noexcept;
    ContextMenu& operator=(ContextMenu&&) = delete;
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;

    // The pop-up to track; null when the menu could not be made.
    HMENU popup() const { return popup_; }

private:
    friend ContextMenu BuildContextMenu(HINSTANCE, HMENU, bool, bool, const Settings&,
                                        const KeyAssignment&);
    void Borrow(HMENU submenu);

    UniqueMenu menu_;
    HMENU popup_ = nullptr;
    std::vector<HMENU> borrowed_;
};
// The shortcut texts of its items come from `keys`.
ContextMenu BuildContextMenu(HINSTANCE instance, HMENU mainMenu, bool fileOpen, bool fullScreen,
                             const Settings& settings, const KeyAssignment& keys);

// Shows the context menu at a screen position (the canvas's right click, or
// the context-menu key with the canvas's top-left corner).
void ShowContextMenu(App& app, int x, int y);
// The bars' menu (windowed or full-screen form) at the cursor.
void ShowBarsMenu(App& app);
// The context-menu key: the context menu at the canvas's top-left corner.
void ShowContextMenuAtCanvas(App& app);
// Shows the file list of PrevFile (102) or NextFile (103) at a screen position.
void ShowFileListMenu(App& app, UINT button, int x, int y);
// TBN_DROPDOWN of the main toolbar: the button's menu below it. Returns 0.
LRESULT OnToolbarDropDown(App& app, const NMTOOLBARW& notification);

#endif

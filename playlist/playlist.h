// The playlist: its entries (the item data of the playlist window's list
// box, row index = entry index), the playing entry, M3U files, the saved
// playlist of the settings file, and the playlist window that shows it.
#ifndef ZEPHLO_PLAYLIST_PLAYLIST_H
#define ZEPHLO_PLAYLIST_PLAYLIST_H

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>

#include "base/handles.h"
#include "base/paths.h"
#include "base/toolbar.h"
#include "settings/colours.h"

class HistoryList;

// Codes of the WM_COMMAND notifications the playlist sends the main window
// (wParam = MAKEWPARAM(kPlaylistListId, code), lParam = the playlist window).
enum PlaylistNotification : WORD {
    kPlaylistSelectionChanged = 1,  // single click or keyboard
    kPlaylistOpenSelected = 2,      // double click, Enter, context menu "play"
    kPlaylistPlayingGone = 3,       // the playing entry was removed or the list cleared
    kPlaylistHideRequested = 4,     // the close box: the main window runs command 159
};

inline constexpr wchar_t kPlaylistWindowClass[] = L"Zephlo Playlist Window";
constexpr int kPlaylistListId = 400;
constexpr int kPlaylistToolbarId = 401;

struct PlaylistEntry {
    wchar_t path[kMaxPath];
    // Shared by every entry of the same extension and owned by the
    // playlist's icon cache (released when the playlist window is
    // destroyed); null when the shell gives none.
    HICON smallIcon;
    bool played;
    // Width of the display text in the list's font, kept so that removing a
    // row does not measure every other row again.
    int textWidth;
};

// The colours of the list, in the order of the colour entries.
struct PlaylistColours {
    COLORREF text = RGB(0, 0, 0);
    COLORREF background = RGB(255, 255, 255);
    COLORREF selText = RGB(255, 255, 255);
    COLORREF selBackground = RGB(0, 128, 0);
    COLORREF playingText = RGB(0, 0, 0);
    COLORREF playingSelText = RGB(255, 255, 255);
    COLORREF playedText = RGB(0, 0, 0);
};

// The seven playlist colours of the colour settings (Settings::colours).
PlaylistColours PlaylistColoursFromSettings(const ColourValue* colours);

bool RegisterPlaylistWindowClass(HINSTANCE instance);

class Playlist {
public:
    // recentPlaylists: the history of loaded M3U files, which the playlist
    // fills and offers behind its open-list button.
    explicit Playlist(HistoryList& recentPlaylists);
    ~Playlist();
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Creates the hidden playlist window. Notifications go to mainWindow;
    // with keepForeground the main window also owns it.
    bool CreateWindowFor(HINSTANCE instance, HWND mainWindow, bool keepForeground);
    void DestroyPlaylistWindow();
    HWND window() const { return window_.get(); }
    // A WM_COMMAND from the playlist window that is one of its notifications
    // (code 1-4 in the high word); otherwise, with lParam = window(), it is a
    // command forwarded from the playlist window (170, 171, 173, ...).
    bool IsNotification(WPARAM wParam, LPARAM lParam) const {
        return window_ && reinterpret_cast<HWND>(lParam) == window_.get() && HIWORD(wParam) != 0;
    }
    HWND listBox() const { return listBox_; }
    HWND toolbar() const { return toolbar_; }
    void Show(bool show);
    bool IsVisible() const;

    // Entries.
    int Count() const;
    const PlaylistEntry* Entry(int index) const;
    std::wstring EntryPath(int index) const;
    std::wstring EntryDisplayText(int index) const;
    int playingIndex() const { return playingIndex_; }
    int SelectedIndex() const;
    // Selects a row (-1: none) and refreshes the toolbar; no notification.
    void SelectRow(int index);
    // Whether a selection change should open the selected entry: single-click
    // opening is on and the selected row is not already the playing one.
    bool SelectionOpensEntry(bool singleClickOpen) const;

    bool AddPath(const std::wstring& path);
    bool InsertEntry(const std::wstring& path, int index);
    bool RemoveEntry(int index);
    void ClearPlaylist();
    bool MoveEntry(int source, int target);
    int FindEntry(const std::wstring& path) const;
    bool SetPlayingIndex(int index);
    bool AddFolder(const std::wstring& folder);
    bool AddAnyPath(const std::wstring& path);
    // AddAnyPath for each path in order; false when one failed. With
    // stopAtFirstFailure (drops) the paths after a failed one are left out.
    bool AddAnyPaths(const PathList& paths, bool stopAtFirstFailure);
    // The paths of a drop, stopping at the first that fails (a path too long
    // for an entry fails).
    bool AddDroppedFiles(HDROP drop);

    bool LoadM3U(const std::wstring& path);
    bool SaveM3U(const std::wstring& path) const;
    // Section "PlaylistFiles" of the settings file: the entries when
    // "RestorePlaylist" is on, else an empty list.
    bool SavePlaylistSection(const std::wstring& settingsPath, bool restorePlaylist) const;
    // Adds the entries saved in the settings file.
    void RestorePlaylistSection(const std::wstring& settingsPath);

    // The recently loaded M3U files (commands 300-335, section "RecentPlaylist").
    HistoryList& recentPlaylists() const { return recentPlaylists_; }
    // Applies "MaxPlaylistHistory" and reads the list from the settings file.
    void LoadRecentPlaylists(const std::wstring& settingsPath, int limit);
    bool SaveRecentPlaylists(const std::wstring& settingsPath) const;

    // What folders add: the file masks and whether subfolders are searched.
    void SetFolderSearch(const std::wstring& masks, bool findSubDir);

    // Display.
    void RefreshToolbarStates();
    void ScrollIntoView(int row);
    void SetDisplayMode(int mode);
    int displayMode() const { return displayMode_; }
    void SetColours(const PlaylistColours& colours);
    // The colours and activation of the toolbar's tooltips, for a tooltip
    // window made later; with `toExistingTips` also for the one the toolbar
    // has now (asking for it may make it).
    void SetToolTipLook(const ToolTipLook& look, bool toExistingTips);
    // The image lists the toolbar is made with when the window is created
    // (not taken over; no normal list: the built-in pictures).
    void SetToolbarImages(const ToolbarImages& images) { toolbarImages_ = images; }
    // Rebuilds the toolbar with these image lists (not taken over), or the
    // built-in pictures when there is no normal list; the buttons keep their states.
    bool RebuildToolbar(const ToolbarImages& images);
    int horizontalExtent() const { return horizontalExtent_; }
    int itemHeight() const { return itemHeight_; }
    int dropMark() const { return dropMark_; }

    // Window procedures (public for the window class and the subclassed list).
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    class UpdateScope;
    friend class UpdateScope;

    PlaylistEntry* EntryAt(int row) const;
    void Notify(WORD code) const;
    void RepaintRow(int row) const;
    PlaylistEntry* CreateEntry(const std::wstring& path);
    HICON IconFor(const std::wstring& path);
    int MeasureText(HDC dc, const std::wstring& text);
    bool InsertRow(const std::wstring& path, int index);
    bool AppendEntry(PlaylistEntry* entry, int index);
    void RecomputeHorizontalExtent();
    void ApplyHorizontalExtent(int extent);

    bool OnCreate(HWND window);
    void OnSize();
    void OnCommand(WORD id, WORD code, HWND control);
    void OnKey(UINT key);
    LRESULT OnNotify(NMHDR* header);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnDropFiles(HDROP drop);
    void OnDestroy();
    void OnRecentPlaylist(int position);
    void ShowRecentPlaylistMenu();
    void AddToRecentPlaylists(const std::wstring& path);
    void AttachRecentPlaylistMenu();
    void DetachRecentPlaylistMenu();
    void AddPaths(const PathList& paths);
    void MoveSelected(int target);
    bool CreateToolbar(ToolbarImages images);
    void Layout();

    void OnListLeftDown(int y, bool doubleClick);
    void OnListMouseMove(int y);
    void OnListLeftUp();
    void OnListRightDown(POINT point);
    void OnListTimer(UINT_PTR id);
    void SetDropMark(int boundary);
    void InvertBoundary(int boundary) const;
    void SetScrollTimer(UINT_PTR timer);
    int TopRow() const;
    void EndDrag();

    HistoryList& recentPlaylists_;
    UniqueWindow window_;
    HWND mainWindow_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND listBox_ = nullptr;
    WNDPROC listBoxDefaultProc_ = nullptr;
    UniqueImageList builtInImages_;
    // The pictures the toolbar shows (borrowed).
    ToolbarImages toolbarImages_;
    // The pop-up of the recent playlists; it outlives the window so that the
    // list can still be saved when the main window is destroyed.
    UniqueMenu recentPlaylistMenu_;
    UniqueFont boldFont_;
    HFONT normalFont_ = nullptr;
    UniqueBrush backgroundBrush_;
    PlaylistColours colours_;
    ToolTipLook toolTipLook_;
    int itemHeight_ = 18;
    int textHeight_ = 16;
    int smallIconWidth_ = 16;
    int smallIconHeight_ = 16;
    int horizontalExtent_ = 0;
    int dropMark_ = -1;
    UINT_PTR scrollTimer_ = 0;
    bool dragging_ = false;
    int displayMode_ = 0;
    int playingIndex_ = -1;
    wchar_t tipText_[80] = {};
    std::wstring masks_;
    bool findSubDir_ = false;
    // Extension (lower case) -> the shell's small icon for it.
    std::map<std::wstring, UniqueIcon> iconCache_;
    // M3U files being loaded, outermost first: a file met again is not reloaded.
    PathList loadingM3U_;
    // Batched updates: redrawing and toolbar refreshes wait for the outermost scope.
    int updateDepth_ = 0;
    UniqueMemoryDC measureDC_;
    HGDIOBJ measurePreviousFont_ = nullptr;
    int pendingExtent_ = 0;
    // Advance widths of the characters below U+0300 in the list's font.
    static constexpr wchar_t kCachedWidthCount = 0x300;
    int charWidths_[kCachedWidthCount] = {};
    bool charWidthsReady_ = false;
    bool pendingRepaint_ = false;
};

#endif

#include "app/context_menus.h"

#include <algorithm>
#include <string>

#include "app/app.h"
#include "app/menus.h"
#include "app/open_media.h"
#include "base/paths.h"

namespace {

constexpr int kMaxFileListItems = 100;
constexpr wchar_t kMoreText[] = L"...";

UINT CheckFlag(bool checked) {
    return checked ? MF_CHECKED : MF_UNCHECKED;
}

// The menu font of the system (the non-client metrics' menu font).
UniqueFont CreateMenuFont() {
    NONCLIENTMETRICSW metrics = {};
    static_assert(sizeof metrics == 504, "the metrics of Vista and later");
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return UniqueFont();
    }
    return UniqueFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

// Whether the item data names an entry of the list the session shows.
bool IsListedEntry(const FileListMenuSession& session, int index) {
    if (index < 0) {
        return false;
    }
    if (session.fromPlaylist()) {
        return index < session.app().playlist.Count();
    }
    return index < session.app().folderFiles.Count();
}

// The row's text: "..." for the more item, else the entry's name as the
// playlist shows it or the folder entry's file name. Empty when the entry is
// gone (the list changed while the menu was up).
std::wstring FileItemText(const FileListMenuSession& session, UINT id, int index) {
    if (id == 0) {
        return kMoreText;
    }
    if (!IsListedEntry(session, index)) {
        return std::wstring();
    }
    const App& app = session.app();
    return session.fromPlaylist() ? app.playlist.EntryDisplayText(index)
                                  : app.folderFiles.list()->Entry(index).name;
}

HICON FileItemIcon(const FileListMenuSession& session, UINT id, int index) {
    if (id == 0 || !IsListedEntry(session, index)) {
        return nullptr;
    }
    const App& app = session.app();
    if (session.fromPlaylist()) {
        const PlaylistEntry* entry = app.playlist.Entry(index);
        return entry != nullptr ? entry->smallIcon : nullptr;
    }
    return app.folderFiles.list()->SmallIcon(index);
}

bool IsPlayed(const FileListMenuSession& session, UINT id, int index) {
    const PlaylistEntry* entry = id != 0 && session.fromPlaylist() && IsListedEntry(session, index)
                                     ? session.app().playlist.Entry(index)
                                     : nullptr;
    return entry != nullptr && entry->played;
}

bool IsFileListItem(UINT id) {
    return id == 0 || (id >= CMD_PREV_FILES_FIRST && id < CMD_NEXT_FILES_FIRST + kMaxFileListItems);
}

// The item at `position` of `to` is grayed when its command is disabled or
// grayed anywhere in `from`, and checked when it is checked there.
void CopyItemState(HMENU from, HMENU to, int position) {
    UINT id = GetMenuItemID(to, position);
    UINT state = GetMenuState(from, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) {
        return;
    }
    if (state & (MF_DISABLED | MF_GRAYED)) {
        EnableMenuItem(to, static_cast<UINT>(position), MF_BYPOSITION | MF_GRAYED);
    }
    if (state & MF_CHECKED) {
        CheckMenuItem(to, static_cast<UINT>(position), MF_BYPOSITION | MF_CHECKED);
    }
}

bool IsCommandItem(HMENU menu, int position) {
    if (GetSubMenu(menu, position) != nullptr) {
        return false;
    }
    UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) == 0;
}

void CheckWindowedBars(HMENU popup, const Settings& settings) {
    CheckMenuItem(popup, CMD_MENU_BAR, MF_BYCOMMAND | CheckFlag(settings.showMenuBar));
    CheckMenuItem(popup, CMD_TOOLBAR, MF_BYCOMMAND | CheckFlag(settings.showToolbar));
    CheckMenuItem(popup, CMD_STATUS_BAR, MF_BYCOMMAND | CheckFlag(settings.showStatusBar));
    CheckMenuItem(popup, CMD_PLAY_BAR, MF_BYCOMMAND | CheckFlag(settings.showPlayBar));
    CheckMenuItem(popup, CMD_SEEK_BAR, MF_BYCOMMAND | CheckFlag(settings.showSeekBar));
}

std::wstring MenuItemText(HMENU menu, int position) {
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

// The bars pop-up of resource 13 or 14 with its marks and its text, taken out
// of its resource menu: the caller owns it (and gives it to the menu it joins).
HMENU LoadBarsPopup(HINSTANCE instance, bool fullScreen, const Settings& settings,
                    std::wstring& text) {
    UniqueMenu menu(LoadMenuW(
        instance, MAKEINTRESOURCEW(fullScreen ? IDR_BARS_FULL_SCREEN : IDR_BARS_WINDOWED)));
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (popup == nullptr) {
        return nullptr;
    }
    if (fullScreen) {
        CheckMenuItem(popup, CMD_FULL_SCREEN_PLAY_BAR,
                      MF_BYCOMMAND | CheckFlag(settings.fullScreenPlayBar));
        CheckMenuItem(popup, CMD_FULL_SCREEN_SEEK_BAR,
                      MF_BYCOMMAND | CheckFlag(settings.fullScreenSeekBar));
    } else {
        CheckWindowedBars(popup, settings);
    }
    text = MenuItemText(menu.get(), 0);
    RemoveMenu(menu.get(), 0, MF_BYPOSITION);
    return popup;
}

bool IsGrayedAt(HMENU menu, int position) {
    UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) != 0;
}

// Inserts (or appends, position -1) the submenu at `position` of `from` with
// its text and its enabled state.
bool InsertSubmenuOf(HMENU from, int fromPosition, HMENU to, int position) {
    HMENU submenu = GetSubMenu(from, fromPosition);
    if (submenu == nullptr) {
        return false;
    }
    UINT flags =
        MF_BYPOSITION | MF_POPUP | MF_STRING | (IsGrayedAt(from, fromPosition) ? MF_GRAYED : 0);
    return InsertMenuW(to, static_cast<UINT>(position), flags, reinterpret_cast<UINT_PTR>(submenu),
                       MenuItemText(from, fromPosition).c_str()) != FALSE;
}

// The screen point below a toolbar button's left edge.
bool PointBelowButton(HWND toolbar, int id, POINT& point) {
    LRESULT index = SendMessageW(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
    RECT rect;
    if (index < 0 || !SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(&rect))) {
        return false;
    }
    point = {rect.left, rect.bottom};
    return ClientToScreen(toolbar, &point) != FALSE;
}

void TrackDropDown(const App& app, HMENU menu, POINT point) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, app.window.hwnd,
                   nullptr);
}

}  // namespace

FileListMenuPlan PlanFileListMenu(UINT button, int base, int count, int limit) {
    FileListMenuPlan plan;
    limit = std::clamp(limit, 1, kMaxFileListItems);
    bool previous = button == CMD_PREV_FILE;
    if ((!previous && button != CMD_NEXT_FILE) || count <= 0 || base > count) {
        return plan;
    }
    int available = previous ? base : count - base - 1;
    if (available <= 0) {
        return plan;
    }
    int shown = std::min(available, limit);
    UINT firstId = previous ? CMD_PREV_FILES_FIRST : CMD_NEXT_FILES_FIRST;
    for (int j = 0; j < shown; ++j) {
        plan.items.push_back(
            {firstId + static_cast<UINT>(j), previous ? base - 1 - j : base + 1 + j});
    }
    plan.more = available > limit;
    return plan;
}

FileListItemColours ChooseFileListColours(bool selected, bool grayed, bool played) {
    if (selected && !grayed) {
        return {kPlaylistSelText, kPlaylistSelBg};
    }
    return {played ? kPlaylistPlayedText : kPlaylistText, kPlaylistBg};
}

int FolderListBaseFor(FolderFiles& folderFiles, const std::wstring& openPath) {
    if (openPath.empty() || !folderFiles.Ensure(openPath)) {
        return -1;
    }
    std::wstring name = PathFileName(openPath);
    int index = folderFiles.list()->Find(name);
    if (index >= 0) {
        return index;
    }
    folderFiles.Discard();
    if (!folderFiles.Ensure(openPath)) {
        return -1;
    }
    index = folderFiles.list()->Find(name);
    if (index < 0 && FileExists(openPath) && folderFiles.AddFileIfExists(name)) {
        folderFiles.Sort();
        index = folderFiles.list()->Find(name);
    }
    return index;
}

UniqueMenu BuildFileListMenu(const FileListMenuPlan& plan) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return menu;
    }
    for (const FileListItem& item : plan.items) {
        AppendMenuW(menu.get(), MF_OWNERDRAW, item.id,
                    reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(item.index)));
    }
    if (plan.more) {
        AppendMenuW(menu.get(), MF_OWNERDRAW | MF_GRAYED, 0, nullptr);
    }
    return menu;
}

FileListMenuSession::FileListMenuSession(App& app, bool fromPlaylist)
    : app_(app),
      font_(CreateMenuFont()),
      fromPlaylist_(fromPlaylist),
      previous_(app.window.fileListMenu) {
    app.window.fileListMenu = this;
}

FileListMenuSession::~FileListMenuSession() {
    app_.window.fileListMenu = previous_;
}

bool MeasureFileListItem(const App& app, HWND window, MEASUREITEMSTRUCT& item) {
    const FileListMenuSession* session = app.window.fileListMenu;
    if (session == nullptr || item.CtlType != ODT_MENU || !IsFileListItem(item.itemID)) {
        return false;
    }
    int index = static_cast<int>(item.itemData);
    std::wstring text = FileItemText(*session, item.itemID, index);
    WindowDC dc(window);
    ScopedSelectObject font(dc.get(), session->font() != nullptr
                                          ? static_cast<HGDIOBJ>(session->font())
                                          : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.get(), &metrics);
    int width = extent.cx + 4;
    if (item.itemID != 0) {
        width += GetSystemMetrics(SM_CXSMICON) + 4;
    }
    item.itemWidth = static_cast<UINT>(width);
    item.itemHeight =
        static_cast<UINT>(std::max<int>(metrics.tmHeight, GetSystemMetrics(SM_CYSMICON)) + 4);
    return true;
}

bool DrawFileListItem(const App& app, const DRAWITEMSTRUCT& item) {
    if (app.window.fileListMenu == nullptr || item.CtlType != ODT_MENU ||
        !IsFileListItem(item.itemID)) {
        return false;
    }
    const FileListMenuSession& session = *app.window.fileListMenu;
    const ColourValue* colourSettings = app.settings.colours;
    int index = static_cast<int>(item.itemData);
    FileListItemColours colours = ChooseFileListColours((item.itemState & ODS_SELECTED) != 0,
                                                        (item.itemState & ODS_GRAYED) != 0,
                                                        IsPlayed(session, item.itemID, index));
    HDC dc = item.hDC;
    UniqueBrush background(CreateSolidBrush(ResolveColour(colourSettings[colours.background])));
    FillRect(dc, &item.rcItem, background.get());

    std::wstring text = FileItemText(session, item.itemID, index);
    int iconWidth = GetSystemMetrics(SM_CXSMICON);
    int iconHeight = GetSystemMetrics(SM_CYSMICON);
    RECT textRect = {item.rcItem.left + iconWidth + 6, item.rcItem.top + 2, item.rcItem.right - 2,
                     item.rcItem.bottom - 2};
    COLORREF oldColour = SetTextColor(dc, ResolveColour(colourSettings[colours.text]));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    {
        ScopedSelectObject font(dc, session.font() != nullptr ? static_cast<HGDIOBJ>(session.font())
                                                              : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }
    if (HICON icon = FileItemIcon(session, item.itemID, index)) {
        int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - iconHeight) / 2;
        DrawIconEx(dc, item.rcItem.left + 2, top, icon, iconWidth, iconHeight, 0, nullptr,
                   DI_NORMAL);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    return true;
}

ContextMenu::~ContextMenu() {
    if (popup_ != nullptr) {
        for (HMENU submenu : borrowed_) {
            for (int position = GetMenuItemCount(popup_) - 1; position >= 0; --position) {
                if (GetSubMenu(popup_, position) == submenu) {
                    RemoveMenu(popup_, static_cast<UINT>(position), MF_BYPOSITION);
                    break;
                }
            }
        }
    }
}

ContextMenu::ContextMenu(ContextMenu&& other) noexcept
    : menu_(std::move(other.menu_)), popup_(other.popup_), borrowed_(std::move(other.borrowed_)) {
    other.popup_ = nullptr;
    other.borrowed_.clear();
}

void ContextMenu::Borrow(HMENU submenu) {
    borrowed_.push_back(submenu);
}

ContextMenu BuildContextMenu(HINSTANCE instance, HMENU mainMenu, bool fileOpen, bool fullScreen,
                             const Settings& settings, const KeyAssignment& keys) {
    ContextMenu result;
    if (!settings.showMenuBar) {
        result.menu_.reset(CreatePopupMenu());
        result.popup_ = result.menu_.get();
        if (result.popup_ == nullptr) {
            return result;
        }
        int count = GetMenuItemCount(mainMenu);
        for (int position = 0; position < count; ++position) {
            if (InsertSubmenuOf(mainMenu, position, result.popup_, -1)) {
                result.Borrow(GetSubMenu(mainMenu, position));
            }
        }
        return result;
    }
    result.menu_.reset(
        LoadMenuW(instance, MAKEINTRESOURCEW(fileOpen ? IDR_CONTEXT_FILE : IDR_CONTEXT_NO_FILE)));
    result.popup_ = GetSubMenu(result.menu_.get(), 0);
    HMENU popup = result.popup_;
    if (popup == nullptr) {
        return result;
    }
    if (fileOpen) {
        for (int position = 0; position < GetMenuItemCount(popup); ++position) {
            if (IsCommandItem(popup, position)) {
                CopyItemState(mainMenu, popup, position);
            }
        }
        std::wstring text;
        UniqueMenu bars(LoadBarsPopup(instance, fullScreen, settings, text));
        if (bars && AppendMenuW(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(bars.get()),
                                text.c_str())) {
            bars.release();  // the context menu owns it now
        }
        keys.UpdateMenuKeyTexts(popup);
        return result;
    }
    CheckWindowedBars(popup, settings);
    keys.UpdateMenuKeyTexts(popup);
    HMENU file = GetSubMenu(mainMenu, kFileMenu);
    if (InsertSubmenuOf(file, kFileHistoryPosition, popup, 2)) {
        result.Borrow(GetSubMenu(file, kFileHistoryPosition));
    }
    if (InsertSubmenuOf(file, kFolderHistoryPosition, popup, 3)) {
        result.Borrow(GetSubMenu(file, kFolderHistoryPosition));
    }
    return result;
}

void ShowContextMenu(App& app, int x, int y) {
    ContextMenu menu = BuildContextMenu(app.instance, app.mainMenu.get(), app.IsOpen(),
                                        app.IsFullScreen(), app.settings, app.keys);
    if (menu.popup() != nullptr) {
        TrackPopupMenu(menu.popup(), TPM_RIGHTBUTTON, x, y, 0, app.window.hwnd, nullptr);
    }
}

void ShowContextMenuAtCanvas(App& app) {
    POINT corner = {0, 0};
    if (app.media() != nullptr && ClientToScreen(app.media()->canvas, &corner)) {
        ShowContextMenu(app, corner.x, corner.y);
    }
}

void ShowFileListMenu(App& app, UINT button, int x, int y) {
    bool fromPlaylist = app.window.fromPlaylist;
    int base = -1;
    int count = 0;
    if (fromPlaylist) {
        base = app.playlist.playingIndex();
        count = app.playlist.Count();
    } else {
        base = FolderListBaseFor(app.folderFiles, OpenFilePath(app));
        if (base < 0) {
            return;
        }
        count = app.folderFiles.Count();
    }
    FileListMenuPlan plan = PlanFileListMenu(button, base, count, app.settings.maxFileListMenu);
    if (plan.items.empty()) {
        return;
    }
    app.window.listIndexBase = base;
    UniqueMenu menu = BuildFileListMenu(plan);
    if (!menu) {
        return;
    }
    FileListMenuSession session(app, fromPlaylist);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, 0, app.window.hwnd, nullptr);
}

LRESULT OnToolbarDropDown(App& app, const NMTOOLBARW& notification) {
    POINT point;
    if (!PointBelowButton(notification.hdr.hwndFrom, notification.iItem, point)) {
        return 0;
    }
    switch (notification.iItem) {
        case CMD_OPEN: {
            HMENU history = app.settings.useDirHistoryMenu ? app.folderHistory.popupMenu()
                                                           : app.fileHistory.popupMenu();
            if (history != nullptr && GetMenuItemCount(history) > 0) {
                TrackDropDown(app, history, point);
            }
            break;
        }
        case CMD_PREV_FILE:
        case CMD_NEXT_FILE:
            ShowFileListMenu(app, static_cast<UINT>(notification.iItem), point.x, point.y);
            break;
        case CMD_ZOOM_IN:
            if (HMENU zoom = SubMenuAt(app.mainMenu.get(), kViewMenu, kZoomPosition)) {
                TrackDropDown(app, zoom, point);
            }
            break;
        default:
            break;
    }
    return 0;
}

void ShowBarsMenu(App& app) {
    std::wstring text;
    UniqueMenu popup(LoadBarsPopup(app.instance, app.IsFullScreen(), app.settings, text));
    if (!popup) {
        return;
    }
    app.keys.UpdateMenuKeyTexts(popup.get());
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, app.window.hwnd, nullptr);
}

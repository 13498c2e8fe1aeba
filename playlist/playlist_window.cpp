#include "playlist/playlist.h"

#include <windowsx.h>

#include <algorithm>

#include "base/text.h"
#include "base/window_class.h"
#include "playlist/playlist_logic.h"
#include "resources/resource.h"
#include "settings/toolbars.h"

namespace {

constexpr wchar_t kPlaylistCaption[] = L"Zephlo Playlist";
constexpr int kClientHeight = 240;
constexpr UINT kScrollInterval = 100;
constexpr UINT_PTR kScrollUpTimer = 1;
constexpr UINT_PTR kScrollDownTimer = 2;

LRESULT CALLBACK PlaylistListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* playlist = reinterpret_cast<Playlist*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    return playlist->HandleListMessage(message, wParam, lParam);
}

constexpr TBBUTTON kButtons[] = {
    ToolbarButton(0, CMD_OPEN_PLAYLIST, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_DROPDOWN),
    ToolbarButton(1, CMD_SAVE_PLAYLIST, 0, BTNS_BUTTON),
    ToolbarButton(2, CMD_CLEAR_PLAYLIST, 0, BTNS_BUTTON),
    ToolbarSeparator(),
    ToolbarButton(3, CMD_ADD_FILES, TBSTATE_ENABLED, BTNS_BUTTON),
    ToolbarButton(4, CMD_REMOVE_FROM_PLAYLIST, 0, BTNS_BUTTON),
    ToolbarSeparator(),
    ToolbarButton(5, CMD_MOVE_UP, 0, BTNS_BUTTON),
    ToolbarButton(6, CMD_MOVE_DOWN, 0, BTNS_BUTTON),
    ToolbarButton(7, CMD_MOVE_TO_TOP, 0, BTNS_BUTTON),
    ToolbarButton(8, CMD_MOVE_TO_BOTTOM, 0, BTNS_BUTTON),
};

}  // namespace

PlaylistColours PlaylistColoursFromSettings(const ColourValue* colours) {
    PlaylistColours result;
    result.text = ResolveColour(colours[kPlaylistText]);
    result.background = ResolveColour(colours[kPlaylistBg]);
    result.selText = ResolveColour(colours[kPlaylistSelText]);
    result.selBackground = ResolveColour(colours[kPlaylistSelBg]);
    result.playingText = ResolveColour(colours[kPlaylistPlayingText]);
    result.playingSelText = ResolveColour(colours[kPlaylistPlayingSelText]);
    result.playedText = ResolveColour(colours[kPlaylistPlayedText]);
    return result;
}

bool RegisterPlaylistWindowClass(HINSTANCE instance) {
    return RegisterWindowClass(
        instance, {kPlaylistWindowClass, ObjectWindowProc<&Playlist::HandleWindowMessage>, 0,
                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
}

bool Playlist::CreateWindowFor(HINSTANCE instance, HWND mainWindow, bool keepForeground) {
    if (window_) {
        return false;
    }
    mainWindow_ = mainWindow;
    AttachRecentPlaylistMenu();
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, kPlaylistWindowClass,
                                  kPlaylistCaption,
                                  WS_POPUPWINDOW | WS_CLIPCHILDREN | WS_CAPTION | WS_THICKFRAME,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  keepForeground ? mainWindow : nullptr, nullptr, instance, this);
    return window != nullptr;
}

void Playlist::DestroyPlaylistWindow() {
    if (window_) {
        DestroyWindow(window_.get());
    }
}

void Playlist::Show(bool show) {
    if (window_) {
        ShowWindow(window_.get(), show ? SW_SHOW : SW_HIDE);
    }
}

bool Playlist::IsVisible() const {
    return window_ && IsWindowVisible(window_.get());
}

LRESULT Playlist::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window) ? 0 : -1;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETFOCUS:
            if (listBox_ != nullptr) {
                SetFocus(listBox_);
            }
            return 0;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            Notify(kPlaylistHideRequested);
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_KEYDOWN:
            OnKey(static_cast<UINT>(wParam));
            return 0;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
                static_cast<UINT>(itemHeight_);
            return TRUE;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORLISTBOX:
            return reinterpret_cast<LRESULT>(backgroundBrush_.get());
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool Playlist::OnCreate(HWND window) {
    window_.reset(window);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    normalFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font = {};
    GetObjectW(normalFont_, sizeof font, &font);
    font.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&font));
    {
        WindowDC dc(window);
        ScopedSelectObject select(dc.get(), normalFont_);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc.get(), &metrics);
        textHeight_ = metrics.tmHeight;
    }
    smallIconWidth_ = GetSystemMetrics(SM_CXSMICON);
    smallIconHeight_ = GetSystemMetrics(SM_CYSMICON);
    itemHeight_ = std::max(textHeight_, smallIconHeight_) + 2;
    backgroundBrush_.reset(CreateSolidBrush(colours_.background));

    if (!CreateToolbar(toolbarImages_)) {
        return false;
    }
    listBox_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                   LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                               0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlaylistListId)),
                               instance, nullptr);
    if (listBox_ == nullptr) {
        return false;
    }
    SendMessageW(listBox_, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont_), FALSE);
    SendMessageW(listBox_, LB_SETITEMHEIGHT, 0, itemHeight_);
    SetWindowLongPtrW(listBox_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listBoxDefaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(listBox_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlaylistListProc)));

    // Client area as wide as the toolbar's buttons and 240 pixels high.
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT last = {};
    SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(std::size(kButtons) - 1),
                 reinterpret_cast<LPARAM>(&last));
    RECT frame = {0, 0, last.right, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    RefreshToolbarStates();
    return true;
}

bool Playlist::CreateToolbar(ToolbarImages images) {
    ToolbarDescription bar;
    bar.parent = window_.get();
    bar.style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER;
    bar.id = kPlaylistToolbarId;
    bar.extendedStyle = TBSTYLE_EX_DRAWDDARROWS;
    bar.buttons = kButtons;
    bar.buttonCount = std::size(kButtons);
    UniqueImageList builtIn;
    if (!ImageListSize(images.normal, bar.imageWidth, bar.imageHeight)) {
        builtIn.reset(LoadBuiltInStrip(GetModuleHandleW(nullptr), IDB_PLAYLIST_TOOLBAR));
        images = {builtIn.get(), nullptr, nullptr};
    }
    bar.images = images;
    HWND toolbar = CreateToolbarWithImages(bar);
    if (toolbar == nullptr) {
        return false;
    }
    if (toolbar_ != nullptr) {
        SetToolbarButtonStates(toolbar, kButtons, std::size(kButtons),
                               ToolbarButtonStates(toolbar_, kButtons, std::size(kButtons)));
        DestroyWindow(toolbar_);
    }
    toolbar_ = toolbar;
    builtInImages_ = std::move(builtIn);
    return true;
}

bool Playlist::RebuildToolbar(const ToolbarImages& images) {
    if (!window_ || !CreateToolbar(images)) {
        return false;
    }
    toolbarImages_ = images;
    Layout();
    RefreshToolbarStates();
    return true;
}

void Playlist::Layout() {
    if (!window_ || toolbar_ == nullptr) {
        return;
    }
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT client;
    GetClientRect(window_.get(), &client);
    RECT bar;
    GetWindowRect(toolbar_, &bar);
    int barHeight = bar.bottom - bar.top;
    if (listBox_ != nullptr) {
        MoveWindow(listBox_, 0, barHeight, client.right, std::max(0L, client.bottom - barHeight),
                   TRUE);
    }
}

void Playlist::RefreshToolbarStates() {
    if (toolbar_ == nullptr || updateDepth_ > 0) {
        return;
    }
    PlaylistToolbarStates states = ToolbarStatesFor(Count(), SelectedIndex());
    const std::pair<int, bool> buttons[] = {
        {CMD_SAVE_PLAYLIST, states.save},          {CMD_CLEAR_PLAYLIST, states.clear},
        {CMD_REMOVE_FROM_PLAYLIST, states.remove}, {CMD_MOVE_UP, states.moveUp},
        {CMD_MOVE_TO_TOP, states.moveUp},          {CMD_MOVE_DOWN, states.moveDown},
        {CMD_MOVE_TO_BOTTOM, states.moveDown},
    };
    for (const auto& [command, enabled] : buttons) {
        SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled, 0));
    }
}

void Playlist::ScrollIntoView(int row) {
    if (listBox_ == nullptr || row < 0) {
        return;
    }
    RECT client;
    GetClientRect(listBox_, &client);
    int visible = itemHeight_ > 0 ? client.bottom / itemHeight_ : 1;
    int top = static_cast<int>(SendMessageW(listBox_, LB_GETTOPINDEX, 0, 0));
    int wanted = TopRowToShow(row, top, visible);
    if (wanted != top) {
        SendMessageW(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(wanted), 0);
    }
}

void Playlist::SetColours(const PlaylistColours& colours) {
    colours_ = colours;
    backgroundBrush_.reset(CreateSolidBrush(colours_.background));
    if (listBox_ != nullptr) {
        InvalidateRect(listBox_, nullptr, TRUE);
    }
}

void Playlist::SetToolTipLook(const ToolTipLook& look, bool toExistingTips) {
    toolTipLook_ = look;
    if (toExistingTips) {
        ApplyToolbarToolTipLook(toolbar_, look);
    }
}

void Playlist::OnCommand(WORD id, WORD code, HWND control) {
    if (control != nullptr && control == listBox_) {
        if (code == LBN_SELCHANGE) {
            RefreshToolbarStates();
            Notify(kPlaylistSelectionChanged);
        } else if (code == LBN_DBLCLK) {
            Notify(kPlaylistOpenSelected);
        }
        return;
    }
    int selected = SelectedIndex();
    switch (id) {
        case CMD_CLEAR_PLAYLIST:
            ClearPlaylist();
            return;
        case CMD_REMOVE_FROM_PLAYLIST:
            if (selected >= 0) {
                RemoveEntry(selected);
            }
            return;
        case CMD_MOVE_UP:
            MoveSelected(MoveTargetIndex(MoveKind::kUp, selected, Count()));
            return;
        case CMD_MOVE_DOWN:
            MoveSelected(MoveTargetIndex(MoveKind::kDown, selected, Count()));
            return;
        case CMD_MOVE_TO_TOP:
            MoveSelected(MoveTargetIndex(MoveKind::kToTop, selected, Count()));
            return;
        case CMD_MOVE_TO_BOTTOM:
            MoveSelected(MoveTargetIndex(MoveKind::kToBottom, selected, Count()));
            return;
        case CMD_PLAY_SELECTED:
            Notify(kPlaylistOpenSelected);
            return;
        default:
            break;
    }
    if (id >= CMD_PLAYLIST_HISTORY_FIRST && id < CMD_PLAYLIST_HISTORY_FIRST + 36) {
        OnRecentPlaylist(id - CMD_PLAYLIST_HISTORY_FIRST);
        return;
    }
    if (mainWindow_ != nullptr) {
        SendMessageW(mainWindow_, WM_COMMAND, MAKEWPARAM(id, 0),
                     reinterpret_cast<LPARAM>(window_.get()));
    }
}

void Playlist::MoveSelected(int target) {
    int selected = SelectedIndex();
    if (target < 0 || selected < 0) {
        return;
    }
    if (MoveEntry(selected, target)) {
        ScrollIntoView(target);
    }
    RefreshToolbarStates();
}

void Playlist::OnKey(UINT key) {
    if (key == VK_RETURN) {
        Notify(kPlaylistOpenSelected);
    } else if (key == VK_DELETE) {
        int selected = SelectedIndex();
        if (selected >= 0) {
            RemoveEntry(selected);
        }
    }
}

LRESULT Playlist::OnNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        std::wstring text = LoadText(static_cast<UINT>(header->idFrom) + IDS_LABEL_OFFSET);
        lstrcpynW(tipText_, text.c_str(), static_cast<int>(std::size(tipText_)));
        info->lpszText = tipText_;
        return 0;
    }
    if (header->code == static_cast<UINT>(NM_TOOLTIPSCREATED)) {
        ApplyToolTipLook(reinterpret_cast<NMTOOLTIPSCREATED*>(header)->hwndToolTips, toolTipLook_);
        return 0;
    }
    if (header->code == TBN_DROPDOWN && header->hwndFrom == toolbar_) {
        auto* toolbar = reinterpret_cast<NMTOOLBARW*>(header);
        if (toolbar->iItem == CMD_OPEN_PLAYLIST) {
            ShowRecentPlaylistMenu();
        }
        return TBDDRET_DEFAULT;
    }
    return 0;
}

void Playlist::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1) || item.itemData == 0) {
        return;
    }
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(dc, &rect);
        return;
    }
    const auto* entry = reinterpret_cast<const PlaylistEntry*>(item.itemData);
    int row = static_cast<int>(item.itemID);
    bool playing = row == playingIndex_;
    COLORREF text;
    COLORREF background;
    if (item.itemState & ODS_SELECTED) {
        text = playing ? colours_.playingSelText : colours_.selText;
        background = colours_.selBackground;
    } else {
        text = playing ? colours_.playingText : entry->played ? colours_.playedText : colours_.text;
        background = colours_.background;
    }
    SetBkColor(dc, background);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    if (entry->smallIcon != nullptr) {
        DrawIconEx(dc, rect.left + 1, rect.top + (itemHeight_ - smallIconHeight_) / 2,
                   entry->smallIcon, smallIconWidth_, smallIconHeight_, 0, nullptr, DI_NORMAL);
    }
    std::wstring label = PlaylistDisplayText(entry->path, displayMode_);
    ScopedSelectObject select(dc, playing && boldFont_ ? boldFont_.get() : normalFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    ExtTextOutW(dc, rect.left + smallIconWidth_ + 2, rect.top + (itemHeight_ - textHeight_) / 2,
                ETO_CLIPPED, &rect, label.c_str(), static_cast<UINT>(label.size()), nullptr);
    int width = rect.right - rect.left;
    if (dropMark_ == row) {
        PatBlt(dc, rect.left, rect.top, width, 1, DSTINVERT);
    } else if (dropMark_ == row + 1) {
        PatBlt(dc, rect.left, rect.bottom - 1, width, 1, DSTINVERT);
    }
    if (item.itemState & ODS_FOCUS) {
        DrawFocusRect(dc, &rect);
    }
}

void Playlist::OnDropFiles(HDROP drop) {
    UniqueDrop finished(drop);
    SetForegroundWindow(window_.get());
    AddDroppedFiles(drop);
}

void Playlist::OnDestroy() {
    if (listBox_ != nullptr) {
        EndDrag();
        SetWindowLongPtrW(listBox_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBoxDefaultProc_));
        int count = Count();
        std::vector<PlaylistEntry*> entries;
        for (int i = 0; i < count; ++i) {
            entries.push_back(EntryAt(i));
        }
        SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
        for (PlaylistEntry* entry : entries) {
            delete entry;
        }
    }
    iconCache_.clear();
    playingIndex_ = -1;
    horizontalExtent_ = 0;
    listBox_ = nullptr;
    listBoxDefaultProc_ = nullptr;
    toolbar_ = nullptr;
    window_.release();
}

// The list box, subclassed: mouse handling for selection and dragging, Enter
// and Delete for the playlist window.
LRESULT Playlist::HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnListLeftDown(GET_Y_LPARAM(lParam), message == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                OnListMouseMove(GET_Y_LPARAM(lParam));
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (dragging_) {
                OnListLeftUp();
                return 0;
            }
            break;
        case WM_RBUTTONDOWN:
            if (dragging_) {
                EndDrag();
            } else {
                OnListRightDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (dragging_ && reinterpret_cast<HWND>(lParam) != listBox_) {
                EndDrag();
            }
            break;
        case WM_TIMER:
            if (wParam == kScrollUpTimer || wParam == kScrollDownTimer) {
                OnListTimer(wParam);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_DELETE) {
                OnKey(static_cast<UINT>(wParam));
                return 0;
            }
            break;
        default:
            break;
    }
    return CallWindowProcW(listBoxDefaultProc_, listBox_, message, wParam, lParam);
}

int Playlist::TopRow() const {
    return static_cast<int>(SendMessageW(listBox_, LB_GETTOPINDEX, 0, 0));
}

void Playlist::OnListLeftDown(int y, bool doubleClick) {
    SetFocus(listBox_);
    int row = RowAtY(TopRow(), itemHeight_, y, Count());
    if (row < 0) {
        return;
    }
    if (row != SelectedIndex()) {
        SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        RefreshToolbarStates();
        Notify(kPlaylistSelectionChanged);
    }
    if (doubleClick) {
        Notify(kPlaylistOpenSelected);
        return;
    }
    SetCapture(listBox_);
    dragging_ = true;
    dropMark_ = -1;
}

void Playlist::OnListMouseMove(int y) {
    RECT client;
    GetClientRect(listBox_, &client);
    if (y < 0 || y >= client.bottom) {
        SetDropMark(-1);
        SetScrollTimer(y < 0 ? kScrollUpTimer : kScrollDownTimer);
        SetCursor(LoadCursorW(nullptr, IDC_NO));
        return;
    }
    SetScrollTimer(0);
    SetDropMark(DropBoundaryAtY(TopRow(), itemHeight_, y, Count(), SelectedIndex()));
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void Playlist::OnListLeftUp() {
    int mark = dropMark_;
    EndDrag();
    int source = SelectedIndex();
    if (mark < 0 || source < 0) {
        return;
    }
    MoveEntry(source, DropTargetIndex(source, mark));
    RefreshToolbarStates();
}

void Playlist::OnListRightDown(POINT point) {
    SetFocus(listBox_);
    int count = Count();
    int row = RowAtY(TopRow(), itemHeight_, point.y, count);
    if (row < 0) {
        return;
    }
    SelectRow(row);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    UniqueMenu menu(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_PLAYLIST_CONTEXT)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (popup == nullptr) {
        return;
    }
    UINT up = row > 0 ? MF_ENABLED : MF_GRAYED;
    UINT down = row + 1 < count ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, CMD_MOVE_UP, MF_BYCOMMAND | up);
    EnableMenuItem(popup, CMD_MOVE_TO_TOP, MF_BYCOMMAND | up);
    EnableMenuItem(popup, CMD_MOVE_DOWN, MF_BYCOMMAND | down);
    EnableMenuItem(popup, CMD_MOVE_TO_BOTTOM, MF_BYCOMMAND | down);
    ClientToScreen(listBox_, &point);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                   window_.get(), nullptr);
}

void Playlist::OnListTimer(UINT_PTR id) {
    int top = TopRow();
    if (id == kScrollUpTimer && top > 0) {
        SendMessageW(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(top - 1), 0);
    } else if (id == kScrollDownTimer) {
        SendMessageW(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(top + 1), 0);
    }
}

void Playlist::InvertBoundary(int boundary) const {
    WindowDC dc(listBox_);
    RECT client;
    GetClientRect(listBox_, &client);
    int y = (boundary - TopRow()) * itemHeight_ - 1;
    PatBlt(dc.get(), 0, y, client.right, 2, DSTINVERT);
}

void Playlist::SetDropMark(int boundary) {
    if (boundary == dropMark_) {
        return;
    }
    if (dropMark_ >= 0) {
        InvertBoundary(dropMark_);
    }
    dropMark_ = boundary;
    if (dropMark_ >= 0) {
        InvertBoundary(dropMark_);
    }
}

void Playlist::SetScrollTimer(UINT_PTR timer) {
    if (timer == scrollTimer_) {
        return;
    }
    if (scrollTimer_ != 0) {
        KillTimer(listBox_, scrollTimer_);
    }
    if (timer != 0) {
        SetTimer(listBox_, timer, kScrollInterval, nullptr);
    }
    scrollTimer_ = timer;
}

void Playlist::EndDrag() {
    bool wasDragging = dragging_;
    dragging_ = false;
    SetScrollTimer(0);
    SetDropMark(-1);
    if (wasDragging && GetCapture() == listBox_) {
        ReleaseCapture();
    }
}

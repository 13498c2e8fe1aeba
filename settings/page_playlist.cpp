#include "settings/page_playlist.h"

#include "base/text.h"
#include "resources/resource.h"
#include "settings/page_logic.h"
#include "settings/settings.h"
#include "settings/settings_page.h"

namespace {

// Width of the preset list's "No" column in dialog units.
constexpr int kNumberColumnWidth = 20;
constexpr int kBarCount = IDC_PRESET_SEEK_BAR - IDC_PRESET_MENU_BAR + 1;

class PlaylistPage final : public SettingsPage {
public:
    explicit PlaylistPage(const SettingsPageContext& context)
        : context_(context), presets_(context.settings.presets) {}

protected:
    void OnInit() override {
        const Settings& s = context_.settings;
        SetChecked(IDC_PLAYLIST_KEEP_FOREGROUND, s.playlistKeepForeground);
        SetChecked(IDC_PLAYLIST_SINGLE_CLICK, s.playlistSingleClickOpen);
        FillDropDown(IDC_PLAYLIST_FILE_NAME, IDS_TITLE_FILE_NAME_FIRST, 3, s.playlistFileName);
        SetChecked(IDC_PLAYLIST_RESTORE, s.restorePlaylist);
        SetNumberBox(IDC_PLAYLIST_MAX_HISTORY_SPIN, kHistoryRange.low, kHistoryRange.high,
                     s.maxPlaylistHistory);
        EnableControl(IDC_PLAYLIST_CLEAR_HISTORY,
                      context_.host.HistoryCount(HistoryKind::kPlaylists) > 0);
        SendMessageW(Control(IDC_PRESET_NAME), EM_LIMITTEXT, kPresetNameLimit, 0);
        FillPresetList();
    }

    void OnCommand(int id, int code) override {
        if (id == IDC_PLAYLIST_CLEAR_HISTORY && code == BN_CLICKED) {
            context_.host.ClearHistory(HistoryKind::kPlaylists);
            RetireButton(id);
        } else if (id == IDC_PRESET_NAME && code == EN_CHANGE && !showingPreset_) {
            if (presets_.SetName(ControlText(IDC_PRESET_NAME, kPresetNameLimit))) {
                ShowRow(presets_.selected());
            }
        } else if (id >= IDC_PRESET_MENU_BAR && id <= IDC_PRESET_SEEK_BAR && code == BN_CLICKED) {
            if (presets_.SetBar(id - IDC_PRESET_MENU_BAR, IsChecked(id))) {
                ShowRow(presets_.selected());
            }
        }
    }

    bool OnNotify(const NMHDR& header, LRESULT& /*result*/) override {
        if (header.idFrom != IDC_PRESET_LIST || header.code != LVN_ITEMCHANGED) {
            return false;
        }
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
            presets_.Select(ListView_GetNextItem(Control(IDC_PRESET_LIST), -1, LVNI_SELECTED));
            ShowSelectedPreset();
        }
        return false;
    }

    void OnApply() override {
        Settings& s = context_.settings;
        SettingsDialogHost& host = context_.host;
        s.playlistKeepForeground = IsChecked(IDC_PLAYLIST_KEEP_FOREGROUND);
        s.playlistSingleClickOpen = IsChecked(IDC_PLAYLIST_SINGLE_CLICK);
        int form = DropDownSelection(IDC_PLAYLIST_FILE_NAME, s.playlistFileName);
        if (form != s.playlistFileName) {
            s.playlistFileName = form;
            host.SetPlaylistDisplayForm(form);
        }
        s.restorePlaylist = IsChecked(IDC_PLAYLIST_RESTORE);
        s.maxPlaylistHistory = ClampTo(NumberBoxValue(IDC_PLAYLIST_MAX_HISTORY), kHistoryRange);
        host.SetHistoryCapacity(HistoryKind::kPlaylists, s.maxPlaylistHistory);
        for (int i = 0; i < kPresetCount; ++i) {
            s.presets[i] = presets_.preset(i);
        }
        host.RebuildPresetMenu();
    }

private:
    // Columns "No" (right-aligned) and "名前", one row per preset whose item
    // data is its bar bits. The platform keeps the first column left-aligned,
    // so the list starts with a placeholder column that goes again.
    void FillPresetList() {
        HWND list = Control(IDC_PRESET_LIST);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        RECT numberWidth = {0, 0, kNumberColumnWidth, 0};
        MapDialogRect(window(), &numberWidth);
        RECT client;
        GetClientRect(list, &client);
        std::wstring number = LoadText(IDS_PRESET_COLUMN_NUMBER);
        std::wstring name = LoadText(IDS_PRESET_COLUMN_NAME);
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH;
        ListView_InsertColumn(list, 0, &column);
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_RIGHT;
        column.cx = numberWidth.right;
        column.pszText = number.data();
        ListView_InsertColumn(list, 1, &column);
        column.fmt = LVCFMT_LEFT;
        column.cx = client.right - numberWidth.right;
        column.pszText = name.data();
        ListView_InsertColumn(list, 2, &column);
        ListView_DeleteColumn(list, 0);
        for (int row = 0; row < kPresetCount; ++row) {
            std::wstring text = FormatText(L"%d", row + 1);
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = row;
            item.pszText = text.data();
            item.lParam = static_cast<LPARAM>(presets_.preset(row).bars);
            ListView_InsertItem(list, &item);
            ShowRow(row);
        }
    }

    // A row's name and bits as the editor holds them.
    void ShowRow(int row) const {
        HWND list = Control(IDC_PRESET_LIST);
        std::wstring name = presets_.preset(row).name;
        ListView_SetItemText(list, row, 1, name.data());
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = static_cast<LPARAM>(presets_.preset(row).bars);
        ListView_SetItem(list, &item);
    }

    void ShowSelectedPreset() {
        bool enabled = presets_.controlsEnabled();
        showingPreset_ = true;
        SetControlText(IDC_PRESET_NAME, presets_.shownName());
        showingPreset_ = false;
        EnableControl(IDC_PRESET_NAME, enabled);
        for (int bar = 0; bar < kBarCount; ++bar) {
            SetChecked(IDC_PRESET_MENU_BAR + bar, presets_.ShowsBar(bar));
            EnableControl(IDC_PRESET_MENU_BAR + bar, enabled);
        }
    }

    SettingsPageContext context_;
    PresetEditor presets_;
    // The name edit is being filled from the selected row.
    bool showingPreset_ = false;
};

}  // namespace

SettingsPageEntry PlaylistPageEntry(const SettingsPageContext& context) {
    return {3, IDD_PAGE_PLAYLIST, IDH_SETTINGS_PLAYLIST,
            [context] { return std::make_unique<PlaylistPage>(context); }};
}

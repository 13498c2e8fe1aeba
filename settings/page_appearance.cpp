#include "settings/page_appearance.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/handles.h"
#include "base/paths.h"
#include "base/text.h"
#include "resources/resource.h"
#include "settings/appearance_drawing.h"
#include "settings/colours.h"
#include "settings/settings.h"
#include "settings/settings_page.h"
#include "settings/theme_file.h"
#include "settings/theme_plugins.h"

namespace {

// Item 0 of the theme list: the colours as they are, no theme file.
constexpr int kCurrentSettingsItem = 0;
// Item 0 of the palette drop-down: the custom colour.
constexpr int kCustomItem = 0;

// Initial widths (pixels) of the plug-in list's columns, before they are
// fitted to their contents.
constexpr int kPluginColumnWidths[] = {60, 120, 120};
constexpr UINT kPluginColumnTitles[] = {IDS_PLUGIN_COLUMN_NAME, IDS_PLUGIN_COLUMN_FILE,
                                        IDS_PLUGIN_COLUMN_NOTICE};

using Colours = std::array<ColourValue, kColourEntryCount>;

COLORREF RgbToColorref(std::uint32_t rgb) {
    return ResolveColour(MakePaletteColour(0, rgb));
}

std::uint32_t ColorrefToRgb(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

class AppearancePage final : public SettingsPage {
public:
    AppearancePage(const SettingsPageContext& context, std::wstring themesFolder,
                   ChooserColours& chooserColours)
        : context_(context), themesFolder_(std::move(themesFolder)), chooser_(chooserColours) {}

protected:
    void OnInit() override {
        keepThemeChoice_ = true;
        FillThemeList();
        FillColourList();
        FillPalette();
        ShowEntryColour();
        FillPluginList();
        keepThemeChoice_ = false;
    }

    void OnCommand(int id, int code) override {
        switch (id) {
            case IDC_APPEARANCE_THEME:
                if (code == CBN_SELCHANGE) {
                    OnThemeChosen();
                }
                break;
            case IDC_APPEARANCE_COLOURS:
                if (code == LBN_SELCHANGE) {
                    ShowEntryColour();
                }
                break;
            case IDC_APPEARANCE_PALETTE:
                if (code == CBN_SELCHANGE) {
                    OnPaletteChosen();
                }
                break;
            default:
                if (code == BN_CLICKED) {
                    OnButton(id);
                }
                break;
        }
    }

    bool OnNotify(const NMHDR& header, LRESULT& /*result*/) override {
        if (header.idFrom != IDC_APPEARANCE_PLUGINS || header.code != LVN_ITEMCHANGED) {
            return false;
        }
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
            OnPluginSelectionChanged();
        }
        return false;
    }

    bool OnMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam, INT_PTR& result) override {
        if (message != WM_DRAWITEM) {
            return false;
        }
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        switch (item.CtlID) {
            case IDC_APPEARANCE_COLOURS:
                DrawColourItem(item, ResolveColour(static_cast<ColourValue>(item.itemData)),
                               ItemText(item, LB_GETTEXTLEN, LB_GETTEXT).c_str());
                break;
            case IDC_APPEARANCE_PALETTE:
                DrawColourItem(item, ResolveColour(static_cast<ColourValue>(item.itemData)),
                               ItemText(item, CB_GETLBTEXTLEN, CB_GETLBTEXT).c_str());
                break;
            case IDC_APPEARANCE_PICTURES:
                DrawPicturePreview(item.hDC, item.rcItem, preview_.get());
                break;
            default:
                return false;
        }
        result = TRUE;
        return true;
    }

    void OnApply() override {
        Settings& s = context_.settings;
        const int theme = ThemeSelection();
        s.curThemeFile =
            theme > kCurrentSettingsItem ? ThemeText(theme) + kThemeFileExtension : std::wstring();
        const Colours colours = PageColours();
        std::copy(colours.begin(), colours.end(), s.colours);
        context_.host.ApplyColours();
        if (pluginItem_ == kBuiltInPluginItem) {
            context_.host.ApplyToolbarTheme(nullptr);
        } else if (pluginItem_ > kBuiltInPluginItem) {
            context_.host.ApplyToolbarTheme(&plugins_[static_cast<std::size_t>(pluginItem_) - 1]);
        }
    }

    void OnCancel() override {
        if (savedColours_) {
            std::copy(savedColours_->begin(), savedColours_->end(), context_.settings.colours);
            context_.host.ApplyColours();
        }
    }

private:
    void OnButton(int id) {
        switch (id) {
            case IDC_APPEARANCE_SAVE:
                SaveTheme();
                break;
            case IDC_APPEARANCE_DELETE:
                DeleteTheme();
                break;
            case IDC_APPEARANCE_CHOOSE:
                ChooseCustomColour();
                break;
            case IDC_APPEARANCE_PREVIEW:
                Preview();
                break;
            default:
                break;
        }
    }

    // The theme files of the Themes folder after "(現在の設定)"; the one
    // "CurThemeFile" names is chosen.
    void FillThemeList() {
        HWND list = Control(IDC_APPEARANCE_THEME);
        AddString(list, CB_ADDSTRING, LoadText(IDS_THEME_CURRENT_SETTINGS));
        int chosen = kCurrentSettingsItem;
        for (const std::wstring& name : ListThemeFiles(themesFolder_)) {
            int item = AddString(list, CB_ADDSTRING, name);
            if (chosen == kCurrentSettingsItem &&
                PathEquals(name + kThemeFileExtension, context_.settings.curThemeFile)) {
                chosen = item;
            }
        }
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
        EnableControl(IDC_APPEARANCE_DELETE, chosen > kCurrentSettingsItem);
    }

    // The owner-drawn list and drop-down ask for their item height while
    // the page is being made, before it can answer: they are told here.
    void FillColourList() {
        HWND list = Control(IDC_APPEARANCE_COLOURS);
        SendMessageW(list, LB_SETITEMHEIGHT, 0, ColourItemHeight());
        for (int entry = 0; entry < kColourEntryCount; ++entry) {
            int item = AddString(list, LB_ADDSTRING,
                                 LoadText(IDS_COLOUR_ENTRY_FIRST + static_cast<UINT>(entry)));
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(item),
                         static_cast<LPARAM>(context_.settings.colours[entry]));
        }
        SendMessageW(list, LB_SETCURSEL, 0, 0);
    }

    // "<カスタム>" (its data: the custom colour shown) and the palette.
    void FillPalette() {
        HWND list = Control(IDC_APPEARANCE_PALETTE);
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ColourItemHeight());
        SendMessageW(list, CB_SETITEMHEIGHT, 0, ColourItemHeight());
        for (int number = 0; number <= kPaletteSize; ++number) {
            int item = AddString(list, CB_ADDSTRING,
                                 LoadText(IDS_COLOUR_CUSTOM + static_cast<UINT>(number)));
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item),
                         static_cast<LPARAM>(MakePaletteColour(number, 0)));
        }
    }

    // "標準" and the plug-ins of the Themes folder; the one "ThemePlugin"
    // names is chosen ("標準" when it is empty).
    void FillPluginList() {
        EnumerateThemePlugins(themesFolder_, plugins_);
        HWND list = Control(IDC_APPEARANCE_PLUGINS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        for (int column = 0; column < 3; ++column) {
            std::wstring title = LoadText(kPluginColumnTitles[column]);
            LVCOLUMNW record = {};
            record.mask = LVCF_WIDTH | LVCF_TEXT;
            record.cx = kPluginColumnWidths[column];
            record.pszText = title.data();
            ListView_InsertColumn(list, column, &record);
        }
        AddPluginRow(list, LoadText(IDS_THEME_BUILT_IN), L"", L"");
        const std::wstring& chosenName = context_.settings.themePlugin;
        int chosen = chosenName.empty() ? kBuiltInPluginItem : kNoPluginItem;
        for (const PluginRecord& record : plugins_) {
            std::wstring file = PathFileName(record.path);
            int row = AddPluginRow(list, record.details.name, file, record.details.notice);
            if (chosen == kNoPluginItem && !chosenName.empty() && PathEquals(file, chosenName)) {
                chosen = row;
            }
        }
        for (int column = 0; column < 3; ++column) {
            ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
        }
        SelectPluginRow(chosen);
    }

    static int AddPluginRow(HWND list, std::wstring name, std::wstring file, std::wstring notice) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = name.data();
        int row = ListView_InsertItem(list, &item);
        ListView_SetItemText(list, row, 1, file.data());
        ListView_SetItemText(list, row, 2, notice.data());
        return row;
    }

    void SelectPluginRow(int row) {
        HWND list = Control(IDC_APPEARANCE_PLUGINS);
        if (row < 0) {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            return;
        }
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, row, FALSE);
    }

    // The palette drop-down shows the colour list's selected entry.
    void ShowEntryColour() {
        int entry = ColourSelection();
        if (entry < 0) {
            return;
        }
        const ColourValue value = ColourAt(entry);
        HWND palette = Control(IDC_APPEARANCE_PALETTE);
        SendMessageW(palette, CB_SETITEMDATA, kCustomItem,
                     static_cast<LPARAM>(MakePaletteColour(0, CustomRgb(value))));
        SendMessageW(palette, CB_SETCURSEL, static_cast<WPARAM>(PaletteNumber(value)), 0);
        EnableControl(IDC_APPEARANCE_CHOOSE, PaletteNumber(value) == kCustomItem);
        InvalidateRect(palette, nullptr, TRUE);
    }

    void OnPaletteChosen() {
        int number = DropDownSelection(IDC_APPEARANCE_PALETTE, kCustomItem);
        EnableControl(IDC_APPEARANCE_CHOOSE, number == kCustomItem);
        int entry = ColourSelection();
        if (entry < 0) {
            return;
        }
        SetColourAt(entry, MakePaletteColour(number, CustomRgb(CustomItemColour())));
        ForgetThemeChoice();
    }

    void ChooseCustomColour() {
        CHOOSECOLORW dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window();
        dialog.rgbResult = RgbToColorref(CustomRgb(CustomItemColour()));
        dialog.lpCustColors = chooser_.colours;
        dialog.Flags = CC_RGBINIT;
        if (!ChooseColorW(&dialog)) {
            return;
        }
        HWND palette = Control(IDC_APPEARANCE_PALETTE);
        SendMessageW(palette, CB_SETITEMDATA, kCustomItem,
                     static_cast<LPARAM>(MakePaletteColour(0, ColorrefToRgb(dialog.rgbResult))));
        SendMessageW(palette, CB_SETCURSEL, kCustomItem, 0);
        OnPaletteChosen();
        InvalidateRect(palette, nullptr, TRUE);
    }

    void OnThemeChosen() {
        const int theme = ThemeSelection();
        EnableControl(IDC_APPEARANCE_DELETE, theme > kCurrentSettingsItem);
        if (theme <= kCurrentSettingsItem) {
            return;
        }
        ThemeScheme scheme = PageScheme();
        ReadThemeFile(ThemePath(theme), scheme, PluginFiles());
        for (int entry = 0; entry < kColourEntryCount; ++entry) {
            SetColourAt(entry, scheme.colours[entry]);
        }
        ShowEntryColour();
        if (scheme.pluginItem != pluginItem_) {
            keepThemeChoice_ = true;
            SelectPluginRow(scheme.pluginItem);
            keepThemeChoice_ = false;
        }
    }

    void SaveTheme() {
        std::wstring filter = LoadText(IDS_THEME_FILE_FILTER);
        wchar_t path[kMaxPath] = L"";
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window();
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = path;
        dialog.nMaxFile = kMaxPath;
        dialog.lpstrInitialDir = themesFolder_.c_str();
        dialog.lpstrDefExt = kThemeFileExtension + 1;
        dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        if (!GetSaveFileNameW(&dialog)) {
            return;
        }
        if (!WriteThemeFile(path, PageScheme(), PluginFiles())) {
            ShowMessage(window(), IDS_CANNOT_SAVE_FILE, MB_OK | MB_ICONWARNING);
            return;
        }
        // The list shows the theme files of the Themes folder only; a file
        // saved there under another extension is none of them.
        if (!PathEquals(PathFolder(path), themesFolder_) ||
            !HasExtension(path, kThemeFileExtension)) {
            return;
        }
        std::wstring name = PathFileName(path);
        name.resize(name.size() - (std::size(kThemeFileExtension) - 1));
        SendMessageW(Control(IDC_APPEARANCE_THEME), CB_SETCURSEL,
                     static_cast<WPARAM>(ThemeItemFor(name)), 0);
        EnableControl(IDC_APPEARANCE_DELETE, true);
    }

    // The theme list's item of a name, inserted at its place (the items
    // after the first are in lstrcmpiW order) when it is not there.
    int ThemeItemFor(const std::wstring& name) {
        HWND list = Control(IDC_APPEARANCE_THEME);
        const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        int item = kCurrentSettingsItem + 1;
        for (; item < count; ++item) {
            int order = lstrcmpiW(ThemeText(item).c_str(), name.c_str());
            if (order == 0) {
                return item;
            }
            if (order > 0) {
                break;
            }
        }
        return static_cast<int>(SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(item),
                                             reinterpret_cast<LPARAM>(name.c_str())));
    }

    void DeleteTheme() {
        const int theme = ThemeSelection();
        if (theme <= kCurrentSettingsItem) {
            return;
        }
        std::wstring question = LoadText(IDS_ASK_DELETE_THEME);
        std::wstring caption = LoadText(IDS_ASK_DELETE_THEME_CAPTION);
        if (MessageBoxW(window(), question.c_str(), caption.c_str(),
                        MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            return;
        }
        if (!DeleteFileW(ThemePath(theme).c_str())) {
            ShowMessage(window(), IDS_CANNOT_DELETE_FILE, MB_OK | MB_ICONWARNING);
            return;
        }
        HWND list = Control(IDC_APPEARANCE_THEME);
        SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(theme), 0);
        SendMessageW(list, CB_SETCURSEL, kCurrentSettingsItem, 0);
        RetireButton(IDC_APPEARANCE_DELETE);
    }

    // The first preview keeps the live colours, which Cancel brings back.
    void Preview() {
        ColourValue* live = context_.settings.colours;
        if (!savedColours_) {
            savedColours_.emplace();
            std::copy(live, live + kColourEntryCount, savedColours_->begin());
        }
        const Colours colours = PageColours();
        std::copy(colours.begin(), colours.end(), live);
        context_.host.ApplyColours();
    }

    void OnPluginSelectionChanged() {
        int row = ListView_GetNextItem(Control(IDC_APPEARANCE_PLUGINS), -1, LVNI_SELECTED);
        if (row == pluginItem_) {
            return;
        }
        pluginItem_ = row;
        preview_.reset();
        if (row == kBuiltInPluginItem) {
            preview_.reset(LoadBuiltInStrip(GetModuleHandleW(nullptr), IDB_MAIN_TOOLBAR));
        } else if (row > kBuiltInPluginItem) {
            ToolbarImageSet set;
            LoadToolbarImageSet(plugins_[static_cast<std::size_t>(row) - 1], kMainToolbarSet, set);
            preview_ = std::move(set.normal);
        }
        InvalidateRect(Control(IDC_APPEARANCE_PICTURES), nullptr, TRUE);
        if (!keepThemeChoice_) {
            ForgetThemeChoice();
        }
    }

    // The colours no longer match a chosen theme file: back to "(現在の設定)".
    void ForgetThemeChoice() {
        if (ThemeSelection() > kCurrentSettingsItem) {
            SendMessageW(Control(IDC_APPEARANCE_THEME), CB_SETCURSEL, kCurrentSettingsItem, 0);
            RetireButton(IDC_APPEARANCE_DELETE);
        }
    }

    int ThemeSelection() const { return DropDownSelection(IDC_APPEARANCE_THEME, -1); }

    std::wstring ThemeText(int item) const {
        HWND list = Control(IDC_APPEARANCE_THEME);
        auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
        std::vector<wchar_t> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(text.data()));
        return text.data();
    }

    std::wstring ThemePath(int item) const {
        return PathJoin(themesFolder_, ThemeText(item) + kThemeFileExtension);
    }

    int ColourSelection() const {
        return static_cast<int>(SendMessageW(Control(IDC_APPEARANCE_COLOURS), LB_GETCURSEL, 0, 0));
    }

    ColourValue ColourAt(int entry) const {
        return static_cast<ColourValue>(SendMessageW(
            Control(IDC_APPEARANCE_COLOURS), LB_GETITEMDATA, static_cast<WPARAM>(entry), 0));
    }

    void SetColourAt(int entry, ColourValue value) const {
        HWND list = Control(IDC_APPEARANCE_COLOURS);
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(entry), static_cast<LPARAM>(value));
        RECT item;
        if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(entry),
                         reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
            InvalidateRect(list, &item, TRUE);
        }
    }

    ColourValue CustomItemColour() const {
        return static_cast<ColourValue>(
            SendMessageW(Control(IDC_APPEARANCE_PALETTE), CB_GETITEMDATA, kCustomItem, 0));
    }

    Colours PageColours() const {
        Colours colours;
        for (int entry = 0; entry < kColourEntryCount; ++entry) {
            colours[static_cast<std::size_t>(entry)] = ColourAt(entry);
        }
        return colours;
    }

    ThemeScheme PageScheme() const {
        ThemeScheme scheme;
        const Colours colours = PageColours();
        std::copy(colours.begin(), colours.end(), scheme.colours);
        scheme.pluginItem = pluginItem_;
        return scheme;
    }

    std::vector<std::wstring> PluginFiles() const {
        std::vector<std::wstring> files;
        for (const PluginRecord& record : plugins_) {
            files.push_back(PathFileName(record.path));
        }
        return files;
    }

    static int AddString(HWND control, UINT message, const std::wstring& text) {
        return static_cast<int>(
            SendMessageW(control, message, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }

    // The text of a drawn list or drop-down item; empty for "no item".
    static std::wstring ItemText(const DRAWITEMSTRUCT& item, UINT lengthMessage, UINT textMessage) {
        if (item.itemID == static_cast<UINT>(-1)) {
            return {};
        }
        auto length = SendMessageW(item.hwndItem, lengthMessage, item.itemID, 0);
        std::vector<wchar_t> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        SendMessageW(item.hwndItem, textMessage, item.itemID,
                     reinterpret_cast<LPARAM>(text.data()));
        return text.data();
    }

    SettingsPageContext context_;
    std::wstring themesFolder_;
    ChooserColours& chooser_;
    // The plug-ins of the Themes folder, loaded while the page lives.
    PluginList plugins_;
    // The chosen row of the plug-in list (-1: none) and its main toolbar pictures.
    int pluginItem_ = kNoPluginItem;
    UniqueImageList preview_;
    // The live colours before the first preview.
    std::optional<Colours> savedColours_;
    // The plug-in choice changes with the theme file (reading it, opening):
    // the theme list keeps its choice.
    bool keepThemeChoice_ = false;
};

}  // namespace

ChooserColours::ChooserColours() {
    std::fill(std::begin(colours), std::end(colours), RGB(255, 255, 255));
}

SettingsPageEntry AppearancePageEntry(const SettingsPageContext& context,
                                      const std::wstring& themesFolder,
                                      ChooserColours& chooserColours) {
    return {4, IDD_PAGE_APPEARANCE, IDH_SETTINGS_APPEARANCE,
            [context, themesFolder, &chooserColours] {
                return std::make_unique<AppearancePage>(context, themesFolder, chooserColours);
            }};
}

#include "settings/page_keys.h"

#include <commdlg.h>

#include <array>
#include <cstdint>

#include "base/text.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "settings/key_page_logic.h"
#include "settings/settings_page.h"

namespace {

// Characters of a path the file dialogs return, with the terminator.
constexpr DWORD kPathBufferSize = 260;

class KeyPage final : public SettingsPage {
public:
    explicit KeyPage(const SettingsPageContext& context)
        : host_(context.host),
          keys_(context.host.Keys()),
          bindings_(keys_.commands(), keys_.bindings(), keys_.areDefault()) {}

protected:
    void OnInit() override {
        FillTree();
        HWND list = Control(IDC_KEYS_KEY);
        std::wstring none = LoadText(IDS_KEY_NONE);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(none.c_str()));
        for (const KeyName& name : KeyNameTable) {
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.name));
        }
        ShowSelectedRow();
    }

    void OnCommand(int id, int code) override {
        if (code != BN_CLICKED) {
            return;
        }
        switch (id) {
            case IDC_KEYS_ASSIGN:
                Assign();
                break;
            case IDC_KEYS_REMOVE:
                if (selected_ >= 0 && bindings_.Remove(static_cast<std::size_t>(selected_))) {
                    ShowItem(static_cast<std::size_t>(selected_));
                }
                ShowSelectedRow();
                break;
            case IDC_KEYS_LOAD:
                Load();
                break;
            case IDC_KEYS_SAVE:
                Save();
                break;
            case IDC_KEYS_BUILT_IN:
                bindings_.RestoreBuiltIn();
                ShowAllItems();
                ShowSelectedRow();
                break;
            default:
                break;
        }
    }

    bool OnNotify(const NMHDR& header, LRESULT& /*result*/) override {
        if (header.idFrom != IDC_KEYS_TREE || header.code != TVN_SELCHANGEDW) {
            return false;
        }
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        selected_ = RowOfItem(change.itemNew.hItem);
        ShowSelectedRow();
        return true;
    }

    void OnApply() override {
        if (keys_.Apply(bindings_.bindings(), bindings_.pageDefault(), host_.MainMenu()) ==
            ApplyResult::TableFailed) {
            ShowMessage(window(), IDS_CANNOT_CREATE_ACCELERATORS, MB_OK | MB_ICONWARNING);
        }
    }

private:
    // Each row goes last under the branch it belongs to; every branch is
    // shown open, so that the commands can be reached without expanding.
    void FillTree() {
        HWND tree = Control(IDC_KEYS_TREE);
        const CommandTable& commands = keys_.commands();
        std::array<int, kCommandRowCount> parents = KeyTreeParents(commands);
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            std::wstring text = LoadText(LabelStringId(commands[row]));
            TVINSERTSTRUCTW insert = {};
            insert.hParent =
                parents[row] < 0 ? TVI_ROOT : items_[static_cast<std::size_t>(parents[row])];
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_PARAM;
            insert.item.pszText = text.data();
            insert.item.lParam = KeyItemData(row, bindings_.bindings()[row]);
            items_[row] = TreeView_InsertItem(tree, &insert);
        }
        for (int parent : parents) {
            if (parent >= 0) {
                TreeView_Expand(tree, items_[static_cast<std::size_t>(parent)], TVE_EXPAND);
            }
        }
        // Expanding scrolls to the branch opened last.
        TreeView_SelectSetFirstVisible(tree, items_[0]);
    }

    int RowOfItem(HTREEITEM item) const {
        if (item == nullptr) {
            return -1;
        }
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            if (items_[row] == item) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }

    // The item's data from the page's binding of its row.
    void ShowItem(std::size_t row) const {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = items_[row];
        item.lParam = KeyItemData(row, bindings_.bindings()[row]);
        TreeView_SetItem(Control(IDC_KEYS_TREE), &item);
    }

    void ShowAllItems() const {
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            ShowItem(row);
        }
    }

    // The key list, the boxes and the buttons for the selected row.
    void ShowSelectedRow() const {
        KeyRowView view = ViewOfRow(keys_.commands(), bindings_.bindings(), selected_);
        SendMessageW(Control(IDC_KEYS_KEY), CB_SETCURSEL, static_cast<WPARAM>(view.listPosition),
                     0);
        SetChecked(IDC_KEYS_SHIFT, (view.modifiers & kShift) != 0);
        SetChecked(IDC_KEYS_CTRL, (view.modifiers & kCtrl) != 0);
        SetChecked(IDC_KEYS_ALT, (view.modifiers & kAlt) != 0);
        for (int id = IDC_KEYS_KEY; id <= IDC_KEYS_ASSIGN; ++id) {
            Enable(id, view.command);
        }
        Enable(IDC_KEYS_REMOVE, view.removable);
    }

    // A control that goes grey hands the keyboard focus on first.
    void Enable(int id, bool enabled) const {
        if (enabled) {
            EnableControl(id, true);
        } else {
            RetireButton(id);
        }
    }

    void Assign() {
        if (selected_ < 0) {
            return;
        }
        auto row = static_cast<std::size_t>(selected_);
        std::uint8_t modifiers = (IsChecked(IDC_KEYS_SHIFT) ? kShift : 0) |
                                 (IsChecked(IDC_KEYS_CTRL) ? kCtrl : 0) |
                                 (IsChecked(IDC_KEYS_ALT) ? kAlt : 0);
        KeyBinding binding = BindingOfChoice(DropDownSelection(IDC_KEYS_KEY, 0), modifiers);
        KeyPageBindings::AssignResult result = bindings_.Assign(row, binding);
        if (result.owner >= 0) {
            const CommandRow& owner = keys_.commands()[static_cast<std::size_t>(result.owner)];
            std::wstring name = LoadText(LabelStringId(owner));
            ShowMessage(window(), IDS_KEY_ALREADY_ASSIGNED, MB_OK | MB_ICONINFORMATION,
                        name.c_str());
            return;
        }
        if (result.assigned) {
            ShowItem(row);
            ShowSelectedRow();
        }
    }

    void Load() {
        std::wstring path;
        if (!ChooseKeyFile(false, path)) {
            return;
        }
        bindings_.Load(ReadKeyFile(path, keys_.commands()));
        ShowAllItems();
        ShowSelectedRow();
    }

    void Save() const {
        std::wstring path;
        if (ChooseKeyFile(true, path) &&
            !WriteKeyFile(path, keys_.commands(), bindings_.bindings())) {
            ShowMessage(window(), IDS_CANNOT_SAVE_FILE, MB_OK | MB_ICONWARNING);
        }
    }

    // The open or save dialog for key definition files, starting in the
    // program's folder; false when the user cancels.
    bool ChooseKeyFile(bool save, std::wstring& path) const {
        // The string keeps the filter's NULs; the list ends in an empty one.
        std::wstring filter = LoadText(IDS_KEY_FILE_FILTER);
        filter.push_back(L'\0');
        std::wstring folder = host_.KeyFileFolder();
        wchar_t buffer[kPathBufferSize] = L"";
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
        dialog.hwndOwner = window();
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer;
        dialog.nMaxFile = kPathBufferSize;
        dialog.lpstrInitialDir = folder.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
        BOOL chosen = FALSE;
        if (save) {
            dialog.Flags |= OFN_OVERWRITEPROMPT;
            dialog.lpstrDefExt = L"zpkey";
            chosen = GetSaveFileNameW(&dialog);
        } else {
            dialog.Flags |= OFN_FILEMUSTEXIST;
            chosen = GetOpenFileNameW(&dialog);
        }
        if (!chosen) {
            return false;
        }
        path = buffer;
        return true;
    }

    SettingsDialogHost& host_;
    KeyAssignment& keys_;
    KeyPageBindings bindings_;
    // The tree's item of each row.
    std::array<HTREEITEM, kCommandRowCount> items_{};
    // The row of the selected item, or -1.
    int selected_ = -1;
};

}  // namespace

SettingsPageEntry KeyPageEntry(const SettingsPageContext& context) {
    return {5, IDD_PAGE_KEYS, IDH_SETTINGS_KEYS,
            [context] { return std::make_unique<KeyPage>(context); }};
}

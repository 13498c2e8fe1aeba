#include "settings/page_history.h"

#include "resources/resource.h"
#include "settings/page_logic.h"
#include "settings/settings.h"
#include "settings/settings_page.h"

namespace {

class HistoryPage final : public SettingsPage {
public:
    explicit HistoryPage(const SettingsPageContext& context) : context_(context) {}

protected:
    void OnInit() override {
        const Settings& s = context_.settings;
        SettingsDialogHost& host = context_.host;
        SetNumberBox(IDC_HISTORY_MAX_FILES_SPIN, kHistoryRange.low, kHistoryRange.high,
                     s.maxFileHistory);
        EnableControl(IDC_HISTORY_CLEAR_FILES, host.HistoryCount(HistoryKind::kFiles) > 0);
        SetChecked(IDC_HISTORY_DONT_SAVE_FILES, !s.saveFileHistory);
        SetNumberBox(IDC_HISTORY_MAX_FOLDERS_SPIN, kHistoryRange.low, kHistoryRange.high,
                     s.maxDirHistory);
        EnableControl(IDC_HISTORY_CLEAR_FOLDERS, host.HistoryCount(HistoryKind::kFolders) > 0);
        SetChecked(IDC_HISTORY_DONT_SAVE_FOLDERS, !s.saveDirHistory);
        SetChecked(IDC_HISTORY_FOLDER_MENU, s.useDirHistoryMenu);
        SetNumberBox(IDC_HISTORY_MAX_FILE_LIST_SPIN, kFileListMenuRange.low,
                     kFileListMenuRange.high, s.maxFileListMenu);
    }

    // The clear buttons act at once, whether the sheet ends with OK or not.
    void OnCommand(int id, int code) override {
        if (code != BN_CLICKED) {
            return;
        }
        if (id == IDC_HISTORY_CLEAR_FILES) {
            context_.host.ClearHistory(HistoryKind::kFiles);
            RetireButton(id);
        } else if (id == IDC_HISTORY_CLEAR_FOLDERS) {
            context_.host.ClearHistory(HistoryKind::kFolders);
            RetireButton(id);
        }
    }

    void OnApply() override {
        Settings& s = context_.settings;
        SettingsDialogHost& host = context_.host;
        s.maxFileHistory = ClampTo(NumberBoxValue(IDC_HISTORY_MAX_FILES), kHistoryRange);
        s.maxDirHistory = ClampTo(NumberBoxValue(IDC_HISTORY_MAX_FOLDERS), kHistoryRange);
        s.maxFileListMenu = ClampTo(NumberBoxValue(IDC_HISTORY_MAX_FILE_LIST), kFileListMenuRange);
        host.SetHistoryCapacity(HistoryKind::kFiles, s.maxFileHistory);
        host.SetHistoryCapacity(HistoryKind::kFolders, s.maxDirHistory);
        s.saveFileHistory = !IsChecked(IDC_HISTORY_DONT_SAVE_FILES);
        s.saveDirHistory = !IsChecked(IDC_HISTORY_DONT_SAVE_FOLDERS);
        s.useDirHistoryMenu = IsChecked(IDC_HISTORY_FOLDER_MENU);
    }

private:
    SettingsPageContext context_;
};

}  // namespace

SettingsPageEntry HistoryPageEntry(const SettingsPageContext& context) {
    return {1, IDD_PAGE_HISTORY, IDH_SETTINGS_HISTORY,
            [context] { return std::make_unique<HistoryPage>(context); }};
}

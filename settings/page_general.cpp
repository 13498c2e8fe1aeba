#include "settings/page_general.h"

#include "base/text.h"
#include "resources/resource.h"
#include "settings/page_logic.h"
#include "settings/settings.h"
#include "settings/settings_move.h"
#include "settings/settings_page.h"

namespace {

class GeneralPage final : public SettingsPage {
public:
    explicit GeneralPage(const SettingsPageContext& context) : context_(context) {}

protected:
    void OnInit() override {
        const Settings& s = context_.settings;
        SetChecked(IDC_GENERAL_KEEP_SINGLE_TASK, s.keepSingleTask);
        SetChecked(IDC_GENERAL_SAVE_WINDOW_POS, s.saveWindowPos);
        SetChecked(IDC_GENERAL_SAVE_WINDOW_SIZE, s.saveWindowSize);
        FillDropDown(IDC_GENERAL_TITLE_FORMAT, IDS_TITLE_FORMAT_FIRST, 3, s.titleFormat);
        FillDropDown(IDC_GENERAL_TITLE_FILE_NAME, IDS_TITLE_FILE_NAME_FIRST, 3, s.titleFileName);
        SetChecked(IDC_GENERAL_SHOW_TOOL_TIPS, s.showToolTips);
        SetChecked(IDC_GENERAL_FIND_SUB_DIR, s.findSubDir);
        SendMessageW(Control(IDC_GENERAL_FILE_MASKS), EM_LIMITTEXT, kFileMasksLimit, 0);
        SetControlText(IDC_GENERAL_FILE_MASKS, s.fileMasks);
        SetChecked(IDC_GENERAL_PER_USER, context_.location.perUserSettings);
        CheckRadioButton(window(), IDC_GENERAL_MCI, IDC_GENERAL_DIRECTSHOW,
                         s.mediaDevice == 0 ? IDC_GENERAL_MCI : IDC_GENERAL_DIRECTSHOW);
    }

    void OnCommand(int id, int code) override {
        if (id == IDC_GENERAL_DEFAULT_MASKS && code == BN_CLICKED) {
            SetControlText(IDC_GENERAL_FILE_MASKS, context_.host.DefaultFileMasks());
        }
    }

    void OnApply() override {
        Settings& s = context_.settings;
        SettingsDialogHost& host = context_.host;

        bool keepSingleTask = IsChecked(IDC_GENERAL_KEEP_SINGLE_TASK);
        bool keepSingleTaskChanged = keepSingleTask != s.keepSingleTask;
        s.keepSingleTask = keepSingleTask;
        s.saveWindowPos = IsChecked(IDC_GENERAL_SAVE_WINDOW_POS);
        s.saveWindowSize = IsChecked(IDC_GENERAL_SAVE_WINDOW_SIZE);
        s.titleFormat = DropDownSelection(IDC_GENERAL_TITLE_FORMAT, s.titleFormat);
        s.titleFileName = DropDownSelection(IDC_GENERAL_TITLE_FILE_NAME, s.titleFileName);
        host.RefreshTitle();

        bool showToolTips = IsChecked(IDC_GENERAL_SHOW_TOOL_TIPS);
        if (showToolTips != s.showToolTips) {
            s.showToolTips = showToolTips;
            host.SetToolTipsActive(showToolTips);
        }

        s.findSubDir = IsChecked(IDC_GENERAL_FIND_SUB_DIR);
        host.SetFolderSearch(s.fileMasks, s.findSubDir);

        std::wstring masks = FileMasksOfEdit(ControlText(IDC_GENERAL_FILE_MASKS, kFileMasksLimit));
        if (masks != s.fileMasks) {
            s.fileMasks = masks;
            host.DiscardFolderList();
            host.SetFolderSearch(s.fileMasks, s.findSubDir);
        }

        SettingsLocation& location = context_.location;
        bool perUser = IsChecked(IDC_GENERAL_PER_USER);
        if (perUser != location.perUserSettings) {
            if (UINT failure = SwitchSettingsLocation(perUser, location)) {
                ShowMessage(window(), failure, MB_OK | MB_ICONWARNING);
                return;
            }
        }

        if (keepSingleTaskChanged) {
            WriteKeepSingleTask(location.path, s.keepSingleTask);
        }

        int device = IsChecked(IDC_GENERAL_MCI) ? 0 : 1;
        if (device != s.mediaDevice) {
            s.mediaDevice = device;
            host.SwitchMediaDevice(device);
        }
    }

private:
    SettingsPageContext context_;
};

}  // namespace

SettingsPageEntry GeneralPageEntry(const SettingsPageContext& context) {
    return {0, IDD_PAGE_GENERAL, IDH_SETTINGS_GENERAL,
            [context] { return std::make_unique<GeneralPage>(context); }};
}

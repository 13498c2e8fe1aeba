#include "settings/settings_dialog.h"

#include <commctrl.h>

#include "base/text.h"
#include "resources/resource.h"
#include "settings/settings_page.h"

bool ShowSettingsDialog(HWND owner, const std::vector<SettingsPageEntry>& pages,
                        SettingsDialogHost& host, int& lastPage) {
    // The templates and texts come from the program's own module.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    std::vector<std::unique_ptr<SettingsPage>> objects;
    std::vector<PROPSHEETPAGEW> records;
    UINT startPage = 0;
    for (const SettingsPageEntry& entry : pages) {
        std::unique_ptr<SettingsPage> page = entry.create();
        page->Bind(entry.index, entry.helpContext, host, lastPage);
        if (entry.index == lastPage) {
            startPage = static_cast<UINT>(records.size());
        }
        PROPSHEETPAGEW record = {};
        record.dwSize = sizeof record;
        record.dwFlags = PSP_HASHELP;
        record.hInstance = instance;
        record.pszTemplate = MAKEINTRESOURCEW(entry.dialogId);
        record.pfnDlgProc = SettingsPage::DialogProc;
        record.lParam = reinterpret_cast<LPARAM>(page.get());
        records.push_back(record);
        objects.push_back(std::move(page));
    }
    // The sheet's title is the label of the command that opens it.
    std::wstring caption = LoadText(IDS_LABEL_OFFSET + CMD_OPTIONS);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(records.size());
    header.nStartPage = startPage;
    header.ppsp = records.data();
    return PropertySheetW(&header) > 0;
}

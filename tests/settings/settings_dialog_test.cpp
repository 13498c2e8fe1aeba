// The settings sheet with its real pages, driven by messages as a user would
// drive it, over a host that records what the pages ask of the program.
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/paths.h"
#include "base/text.h"
#include "resources/resource.h"
#include "settings/page_general.h"
#include "settings/page_history.h"
#include "settings/page_player.h"
#include "settings/page_playlist.h"
#include "settings/settings.h"
#include "settings/settings_page.h"
#include "settings/theme_plugins.h"
#include "support/sheet_driver.h"
#include "support/test_support.h"

namespace {

class RecordingHost final : public SettingsDialogHost {
public:
    std::vector<std::wstring> calls;
    int historyCounts[3] = {2, 0, 3};

    void ShowHelp(DWORD context) override { Note(L"ShowHelp", context); }
    void RefreshTitle() override { Note(L"RefreshTitle"); }
    void SetToolTipsActive(bool active) override { Note(L"SetToolTipsActive", active); }
    void ApplyColours() override { Note(L"ApplyColours"); }
    void ApplyToolbarTheme(const PluginRecord* plugin) override {
        Note(L"ApplyToolbarTheme " + (plugin != nullptr ? PathFileName(plugin->path) : L"標準"));
    }
    void SetFolderSearch(const std::wstring& masks, bool findSubDir) override {
        Note(L"SetFolderSearch " + masks, findSubDir);
    }
    void DiscardFolderList() override { Note(L"DiscardFolderList"); }
    std::wstring DefaultFileMasks() override { return L"*.wav;*.mp3"; }
    int HistoryCount(HistoryKind kind) override { return historyCounts[static_cast<int>(kind)]; }
    void ClearHistory(HistoryKind kind) override {
        historyCounts[static_cast<int>(kind)] = 0;
        Note(L"ClearHistory", static_cast<int>(kind));
    }
    void SetHistoryCapacity(HistoryKind kind, int capacity) override {
        Note(L"SetHistoryCapacity " + std::to_wstring(static_cast<int>(kind)), capacity);
    }
    void SetPlaybackSpeeds(int backward, int forward) override {
        Note(L"SetPlaybackSpeeds " + std::to_wstring(backward), forward);
    }
    void SetFitToDisplay(bool on) override { Note(L"SetFitToDisplay", on); }
    void SetHideCursor(bool on) override { Note(L"SetHideCursor", on); }
    void SwitchMediaDevice(int device) override { Note(L"SwitchMediaDevice", device); }
    void SetPlaylistDisplayForm(int form) override { Note(L"SetPlaylistDisplayForm", form); }
    void RebuildPresetMenu() override { Note(L"RebuildPresetMenu"); }

private:
    void Note(const std::wstring& call, long long value = -1) {
        calls.push_back(value < 0 ? call : call + L" " + std::to_wstring(value));
    }
};

using Calls = std::vector<std::wstring>;

bool operator==(const LayoutPreset& a, const LayoutPreset& b) {
    return a.name == b.name && a.bars == b.bars;
}

class SettingsDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override {
        location_ = {folder_ / L"Zephlo.ini", false};
        settings_.fileMasks = L"*.avi;*.wav";
    }

    std::vector<SettingsPageEntry> Pages() {
        SettingsPageContext context{settings_, location_, host_};
        return {GeneralPageEntry(context), HistoryPageEntry(context), PlayerPageEntry(context),
                PlaylistPageEntry(context)};
    }

    // Shows the sheet with `pages` and runs the script on it; true when it ended with OK.
    bool Show(const SheetDriver::Script& script, std::vector<SettingsPageEntry> pages = {}) {
        if (pages.empty()) {
            pages = Pages();
        }
        bool ok = false;
        EXPECT_TRUE(SheetDriver::Run(
            [&] { ok = ShowSettingsDialog(nullptr, pages, host_, lastPage_); }, script));
        return ok;
    }

    TempFolder folder_;
    Settings settings_;
    SettingsLocation location_;
    RecordingHost host_;
    int lastPage_ = 0;
};

// What each control shows for settings that differ from the defaults.
TEST_F(SettingsDialogTest, EveryControlShowsTheLiveSettingsAndCancelChangesNothing) {
    Settings& s = settings_;
    s.keepSingleTask = false;
    s.titleFormat = 2;
    s.titleFileName = 1;
    s.findSubDir = true;
    s.mediaDevice = 0;
    s.maxFileHistory = 7;
    s.saveDirHistory = false;
    s.maxFileListMenu = 55;
    s.zoomStep = 35;
    s.backwardSpeed = 1500;
    s.forwardSpeed = 3999;
    s.fitToDisplay = true;
    s.playlistSingleClickOpen = true;
    s.playlistFileName = 2;
    s.maxPlaylistHistory = 0;
    location_.perUserSettings = true;
    const Settings before = settings_;
    struct Check {
        int page, id;
        enum { kBox, kText, kDropDown, kEnabled } kind;
        std::wstring expected;  // "1"/"0" for boxes and enabled states
    } checks[] = {
        {0, IDC_GENERAL_KEEP_SINGLE_TASK, Check::kBox, L"0"},
        {0, IDC_GENERAL_SAVE_WINDOW_POS, Check::kBox, L"1"},
        {0, IDC_GENERAL_TITLE_FORMAT, Check::kDropDown, L"2"},
        {0, IDC_GENERAL_TITLE_FILE_NAME, Check::kDropDown, L"1"},
        {0, IDC_GENERAL_SHOW_TOOL_TIPS, Check::kBox, L"1"},
        {0, IDC_GENERAL_FIND_SUB_DIR, Check::kBox, L"1"},
        {0, IDC_GENERAL_FILE_MASKS, Check::kText, L"*.avi;*.wav"},
        {0, IDC_GENERAL_PER_USER, Check::kBox, L"1"},
        {0, IDC_GENERAL_MCI, Check::kBox, L"1"},
        {0, IDC_GENERAL_DIRECTSHOW, Check::kBox, L"0"},
        {1, IDC_HISTORY_MAX_FILES, Check::kText, L"7"},
        {1, IDC_HISTORY_CLEAR_FILES, Check::kEnabled, L"1"},
        {1, IDC_HISTORY_DONT_SAVE_FILES, Check::kBox, L"0"},
        {1, IDC_HISTORY_MAX_FOLDERS, Check::kText, L"10"},
        {1, IDC_HISTORY_CLEAR_FOLDERS, Check::kEnabled, L"0"},
        {1, IDC_HISTORY_DONT_SAVE_FOLDERS, Check::kBox, L"1"},
        {1, IDC_HISTORY_MAX_FILE_LIST, Check::kText, L"55"},
        {2, IDC_PLAYER_PLAY_ON_OPEN, Check::kBox, L"1"},
        {2, IDC_PLAYER_ZOOM_STEP, Check::kText, L"35"},
        {2, IDC_PLAYER_BACKWARD_SPEED, Check::kText, L"150"},
        {2, IDC_PLAYER_FORWARD_SPEED, Check::kText, L"399"},
        {2, IDC_PLAYER_FIT_TO_DISPLAY, Check::kBox, L"1"},
        {2, IDC_PLAYER_HIDE_CURSOR, Check::kBox, L"0"},
        {3, IDC_PLAYLIST_KEEP_FOREGROUND, Check::kBox, L"1"},
        {3, IDC_PLAYLIST_SINGLE_CLICK, Check::kBox, L"1"},
        {3, IDC_PLAYLIST_FILE_NAME, Check::kDropDown, L"2"},
        {3, IDC_PLAYLIST_MAX_HISTORY, Check::kText, L"0"},
        {3, IDC_PLAYLIST_CLEAR_HISTORY, Check::kEnabled, L"1"},
        {3, IDC_PRESET_NAME, Check::kEnabled, L"0"},
        {3, IDC_PRESET_SEEK_BAR, Check::kEnabled, L"0"},
    };
    bool ok = Show([&](SheetDriver& sheet) {
        for (const Check& c : checks) {
            sheet.ShowPage(c.page);
            std::wstring shown;
            switch (c.kind) {
                case Check::kBox:
                    shown = sheet.IsChecked(c.id) ? L"1" : L"0";
                    break;
                case Check::kText:
                    shown = sheet.Text(c.id);
                    break;
                case Check::kDropDown:
                    shown = std::to_wstring(sheet.DropDownSelection(c.id));
                    break;
                case Check::kEnabled:
                    shown = IsWindowEnabled(sheet.Control(c.id)) ? L"1" : L"0";
                    break;
            }
            EXPECT_EQ(shown, c.expected) << "page " << c.page << " control " << c.id;
        }
        // The drop-downs list the title and file-name forms.
        sheet.ShowPage(0);
        wchar_t item[64] = L"";
        SendMessageW(sheet.Control(IDC_GENERAL_TITLE_FORMAT), CB_GETLBTEXT, 1,
                     reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(std::wstring(item), LoadText(IDS_TITLE_FORMAT_FIRST + 1));
        // The presets: "No", name and bits.
        sheet.ShowPage(3);
        HWND list = sheet.Control(IDC_PRESET_LIST);
        ASSERT_EQ(ListView_GetItemCount(list), kPresetCount);
        for (int row = 0; row < kPresetCount; ++row) {
            wchar_t text[32] = L"";
            ListView_GetItemText(list, row, 0, text, 32);
            EXPECT_EQ(std::wstring(text), std::to_wstring(row + 1));
            ListView_GetItemText(list, row, 1, text, 32);
            EXPECT_EQ(std::wstring(text), s.presets[row].name);
            LVITEMW lv = {};
            lv.mask = LVIF_PARAM;
            lv.iItem = row;
            ListView_GetItem(list, &lv);
            EXPECT_EQ(static_cast<unsigned>(lv.lParam), s.presets[row].bars);
        }
        // Changes everywhere, then Cancel.
        sheet.SetCheck(IDC_PLAYLIST_SINGLE_CLICK, false);
        sheet.SelectRow(IDC_PRESET_LIST, 1);
        sheet.SetText(IDC_PRESET_NAME, L"x");
        sheet.ShowPage(0);
        sheet.SetCheck(IDC_GENERAL_KEEP_SINGLE_TASK, true);
        sheet.SetText(IDC_GENERAL_FILE_MASKS, L"");
        sheet.PressCancel();
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(settings_.playlistSingleClickOpen);
    EXPECT_FALSE(settings_.keepSingleTask);
    EXPECT_EQ(settings_.fileMasks, before.fileMasks);
    for (int i = 0; i < kPresetCount; ++i) {
        EXPECT_TRUE(settings_.presets[i] == before.presets[i]);
    }
    EXPECT_EQ(host_.calls, Calls{});
    EXPECT_FALSE(FileExists(location_.path));
}

TEST_F(SettingsDialogTest, OkAppliesTheOpenedPagesInTheirOrderAndNoOthers) {
    settings_.maxFileHistory = 5;
    settings_.maxPlaylistHistory = 9;
    bool ok = Show([&](SheetDriver& sheet) {
        sheet.ShowPage(0);
        sheet.SetCheck(IDC_GENERAL_KEEP_SINGLE_TASK, false);
        sheet.SelectDropDown(IDC_GENERAL_TITLE_FORMAT, 1);
        sheet.SetCheck(IDC_GENERAL_SHOW_TOOL_TIPS, false);
        sheet.SetCheck(IDC_GENERAL_FIND_SUB_DIR, true);
        sheet.SetText(IDC_GENERAL_FILE_MASKS, L"*.MP3");
        sheet.SetCheck(IDC_GENERAL_MCI, true);
        sheet.SetCheck(IDC_GENERAL_DIRECTSHOW, false);
        sheet.ShowPage(2);
        sheet.SetCheck(IDC_PLAYER_PLAY_ON_OPEN, false);
        sheet.SetText(IDC_PLAYER_BACKWARD_SPEED, L"250");
        sheet.SetCheck(IDC_PLAYER_FULL_SCREEN_SEEK_BAR, true);
        sheet.SetCheck(IDC_PLAYER_HIDE_CURSOR, true);
        sheet.PressOk();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(host_.calls,
              (Calls{L"RefreshTitle", L"SetToolTipsActive 0", L"SetFolderSearch *.avi;*.wav 1",
                     L"DiscardFolderList", L"SetFolderSearch *.MP3 1", L"SwitchMediaDevice 0",
                     L"SetPlaybackSpeeds 2500 2000", L"SetFitToDisplay 0", L"SetHideCursor 1"}));
    const Settings& s = settings_;
    EXPECT_FALSE(s.keepSingleTask);
    EXPECT_EQ(s.titleFormat, 1);
    EXPECT_FALSE(s.showToolTips);
    EXPECT_EQ(s.fileMasks, L"*.MP3");
    EXPECT_EQ(s.mediaDevice, 0);
    EXPECT_FALSE(s.playOnOpen);
    EXPECT_EQ(s.backwardSpeed, 2500);
    EXPECT_TRUE(s.fullScreenSeekBar);
    EXPECT_TRUE(s.fullScreenHideCursor);
    // Pages never opened apply nothing.
    EXPECT_EQ(s.maxFileHistory, 5);
    EXPECT_EQ(s.maxPlaylistHistory, 9);
    // "KeepSingleTask" changed: written at once, alone, into a new Unicode file.
    wchar_t value[8] = L"";
    GetPrivateProfileStringW(L"Settings", L"KeepSingleTask", L"", value, 8, location_.path.c_str());
    EXPECT_EQ(std::wstring(value), L"no");
    EXPECT_EQ(ReadBytes(location_.path).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(GetPrivateProfileStringW(L"Settings", L"TitleFormat", L"", value, 8,
                                       location_.path.c_str()),
              0u);
}

// Values entered in the boxes are kept within the settings' ranges; text that
// is no number counts as 0 and is clamped like it.
TEST_F(SettingsDialogTest, NumbersAreClampedToTheirRanges) {
    struct Case {
        int page, id;
        const wchar_t* text;
        int Settings::*field;
        int expected;
    } cases[] = {
        {1, IDC_HISTORY_MAX_FILES, L"50", &Settings::maxFileHistory, 36},
        {1, IDC_HISTORY_MAX_FOLDERS, L"abc", &Settings::maxDirHistory, 0},
        {1, IDC_HISTORY_MAX_FILE_LIST, L"0", &Settings::maxFileListMenu, 1},
        {2, IDC_PLAYER_ZOOM_STEP, L"-5", &Settings::zoomStep, 1},
        {2, IDC_PLAYER_BACKWARD_SPEED, L"50", &Settings::backwardSpeed, 1000},
        {2, IDC_PLAYER_FORWARD_SPEED, L"99999999999", &Settings::forwardSpeed, 4000},
        {3, IDC_PLAYLIST_MAX_HISTORY, L"37", &Settings::maxPlaylistHistory, 36},
    };
    bool ok = Show([&](SheetDriver& sheet) {
        for (const Case& c : cases) {
            sheet.ShowPage(c.page);
            sheet.SetText(c.id, c.text);
        }
        sheet.PressOk();
    });
    EXPECT_TRUE(ok);
    for (const Case& c : cases) {
        EXPECT_EQ(settings_.*c.field, c.expected) << ToUtf8(c.text);
    }
    EXPECT_NE(std::find(host_.calls.begin(), host_.calls.end(), L"SetHistoryCapacity 0 36"),
              host_.calls.end());
    EXPECT_NE(std::find(host_.calls.begin(), host_.calls.end(), L"SetPlaybackSpeeds 1000 4000"),
              host_.calls.end());
    EXPECT_EQ(host_.calls.back(), L"RebuildPresetMenu");
}

TEST_F(SettingsDialogTest, FileMasksFromTheEdit) {
    struct Case {
        const char* what;
        std::wstring typed;  // empty with useDefault: the default button
        bool useDefault;
        std::wstring stored;
    } cases[] = {
        {"empty edit", L"", false, L"*.*"},
        {"default button", L"", true, L"*.wav;*.mp3"},
        {"over-long text", std::wstring(600, L'a'), false, std::wstring(511, L'a')},
        {"unchanged", L"*.avi;*.wav", false, L"*.avi;*.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings_.fileMasks = L"*.avi;*.wav";
        host_.calls.clear();
        Show([&](SheetDriver& sheet) {
            if (c.useDefault) {
                sheet.Click(IDC_GENERAL_DEFAULT_MASKS);
            } else {
                sheet.SetText(IDC_GENERAL_FILE_MASKS, c.typed);
            }
            sheet.PressOk();
        });
        EXPECT_EQ(settings_.fileMasks, c.stored);
        bool discarded = std::find(host_.calls.begin(), host_.calls.end(), L"DiscardFolderList") !=
                         host_.calls.end();
        EXPECT_EQ(discarded, c.stored != L"*.avi;*.wav");
    }
}

TEST_F(SettingsDialogTest, HistoryClearButtonsActAtOnceAndRetire) {
    Show([&](SheetDriver& sheet) {
        sheet.ShowPage(1);
        sheet.Click(IDC_HISTORY_CLEAR_FILES);
        EXPECT_EQ(host_.calls, Calls{L"ClearHistory 0"});
        EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_HISTORY_CLEAR_FILES)));
        sheet.ShowPage(3);
        sheet.Click(IDC_PLAYLIST_CLEAR_HISTORY);
        EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_PLAYLIST_CLEAR_HISTORY)));
        sheet.PressCancel();
    });
    EXPECT_EQ(host_.calls, (Calls{L"ClearHistory 0", L"ClearHistory 2"}));
}

TEST_F(SettingsDialogTest, PresetsAreEditedOnTheirRows) {
    const unsigned firstBars = settings_.presets[0].bars;
    bool ok = Show([&](SheetDriver& sheet) {
        sheet.ShowPage(3);
        HWND list = sheet.Control(IDC_PRESET_LIST);
        sheet.SelectRow(IDC_PRESET_LIST, 1);
        EXPECT_TRUE(IsWindowEnabled(sheet.Control(IDC_PRESET_NAME)));
        EXPECT_EQ(sheet.Text(IDC_PRESET_NAME), settings_.presets[1].name);
        for (int bar = 0; bar < 5; ++bar) {
            EXPECT_EQ(sheet.IsChecked(IDC_PRESET_MENU_BAR + bar),
                      ((settings_.presets[1].bars >> bar) & 1) != 0);
        }
        sheet.SetText(IDC_PRESET_NAME, L"広い画面");
        wchar_t text[40] = L"";
        ListView_GetItemText(list, 1, 1, text, 40);
        EXPECT_EQ(std::wstring(text), L"広い画面");
        sheet.SetCheck(IDC_PRESET_MENU_BAR, false);
        sheet.SetCheck(IDC_PRESET_SEEK_BAR, false);

        sheet.SelectRow(IDC_PRESET_LIST, 2);
        EXPECT_EQ(sheet.Text(IDC_PRESET_NAME), settings_.presets[2].name);
        sheet.SetText(IDC_PRESET_NAME, std::wstring(40, L'名'));
        sheet.SetCheck(IDC_PRESET_TOOLBAR, true);

        sheet.SelectRow(IDC_PRESET_LIST, -1);
        EXPECT_EQ(sheet.Text(IDC_PRESET_NAME), L"");
        EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_PRESET_NAME)));
        EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_PRESET_PLAY_BAR)));
        EXPECT_FALSE(sheet.IsChecked(IDC_PRESET_PLAY_BAR));
        sheet.PressOk();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(settings_.presets[0].bars, firstBars);
    EXPECT_EQ(settings_.presets[1].name, L"広い画面");
    EXPECT_EQ(settings_.presets[1].bars, 31u & ~(kBarMenu | kBarSeek));
    EXPECT_EQ(settings_.presets[2].name, std::wstring(31, L'名'));
    EXPECT_EQ(settings_.presets[2].bars, 25u | kBarToolbar);
    EXPECT_EQ(host_.calls.back(), L"RebuildPresetMenu");
}

// A page of the later kind (appearance, keys) joins through its entry alone.
class BlankPage final : public SettingsPage {
protected:
    void OnInit() override {}
    void OnApply() override {}
};

TEST_F(SettingsDialogTest, ReopensOnThePageLastActiveWithItsHelp) {
    std::vector<SettingsPageEntry> pages = Pages();
    pages.push_back(
        {5, IDD_PAGE_PLAYER, IDH_SETTINGS_KEYS, [] { return std::make_unique<BlankPage>(); }});
    Show(
        [&](SheetDriver& sheet) {
            EXPECT_EQ(sheet.pagePosition(), 0);
            wchar_t caption[16] = L"";
            GetWindowTextW(sheet.sheet(), caption, 16);
            EXPECT_EQ(std::wstring(caption), L"設定");
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet.sheet(), 0x3021)));  // Apply
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet.sheet(), IDHELP)));
            EXPECT_FALSE(GetWindowLongPtrW(sheet.sheet(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            sheet.ShowPage(2);
        },
        pages);
    EXPECT_EQ(lastPage_, 2);
    struct Case {
        int position;
        int index;
        DWORD help;
    } cases[] = {{2, 2, IDH_SETTINGS_PLAYER}, {4, 5, IDH_SETTINGS_KEYS}};
    for (const Case& c : cases) {
        host_.calls.clear();
        Show(
            [&](SheetDriver& sheet) {
                EXPECT_EQ(sheet.pagePosition(), c.position);
                // The button is pressed through the sheet's queue.
                sheet.PressHelp();
                EXPECT_TRUE(PumpUntil([&] { return !host_.calls.empty(); }, 5000));
                sheet.ShowPage(4);
            },
            pages);
        EXPECT_EQ(host_.calls, Calls{L"ShowHelp " + std::to_wstring(c.help)});
        EXPECT_EQ(lastPage_, 5);
    }
}

}  // namespace

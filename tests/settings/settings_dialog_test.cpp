// The settings sheet with its real pages, driven by messages as a user would
// drive it, over a host that records what the pages ask of the program.
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/paths.h"
#include "base/text.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "settings/page_appearance.h"
#include "settings/page_general.h"
#include "settings/page_history.h"
#include "settings/page_player.h"
#include "settings/page_playlist.h"
#include "settings/settings.h"
#include "settings/settings_page.h"
#include "settings/theme_plugins.h"
#include "support/dialog_answer.h"
#include "support/sheet_driver.h"
#include "support/test_support.h"

namespace {

// The key page is tried with the program's command table elsewhere.
const CommandTable kNoCommands{};

class RecordingHost final : public SettingsDialogHost {
public:
    std::vector<std::wstring> calls;
    int historyCounts[3] = {2, 0, 3};
    KeyAssignment keys{kNoCommands};

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
    KeyAssignment& Keys() override { return keys; }
    HMENU MainMenu() override { return nullptr; }
    std::wstring KeyFileFolder() override { return L""; }

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

// The appearance page alone in the sheet, over a Themes folder of its own
// that holds copies of two of the delivered plug-ins.
class AppearancePageTest : public SettingsDialogTest {
protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        ASSERT_TRUE(CreateDirectoryW(themes_.c_str(), nullptr));
        for (const wchar_t* name : {L"Classic.zpres", L"Glossy.zpres"}) {
            AddPlugin(name, name);
        }
    }

    void AddPlugin(const std::wstring& original, const std::wstring& name) const {
        ASSERT_TRUE(CopyFileW(PathJoin(BuildFolder() + L"\\Themes", original).c_str(),
                              PathJoin(themes_, name).c_str(), FALSE));
    }
    void WriteTheme(const std::wstring& name, const std::string& text) const {
        ASSERT_TRUE(WriteBytes(PathJoin(themes_, name), text));
    }

    bool ShowPage(const SheetDriver::Script& script) {
        SettingsPageContext context{settings_, location_, host_};
        return Show(script, {AppearancePageEntry(context, themes_, chooser_)});
    }

    // What the page shows.
    static std::vector<std::wstring> ThemeItems(const SheetDriver& sheet) {
        HWND list = sheet.Control(IDC_APPEARANCE_THEME);
        std::vector<std::wstring> items;
        int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[300] = L"";
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static ColourValue PageColour(const SheetDriver& sheet, int entry) {
        return static_cast<ColourValue>(SendMessageW(
            sheet.Control(IDC_APPEARANCE_COLOURS), LB_GETITEMDATA, static_cast<WPARAM>(entry), 0));
    }
    static void SelectEntry(const SheetDriver& sheet, int entry) {
        HWND list = sheet.Control(IDC_APPEARANCE_COLOURS);
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageW(sheet.page(), WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_COLOURS, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    static int PluginRow(const SheetDriver& sheet) {
        return ListView_GetNextItem(sheet.Control(IDC_APPEARANCE_PLUGINS), -1, LVNI_SELECTED);
    }
    static std::wstring PluginText(const SheetDriver& sheet, int row, int column) {
        wchar_t text[128] = L"";
        ListView_GetItemText(sheet.Control(IDC_APPEARANCE_PLUGINS), row, column, text, 128);
        return text;
    }
    static bool Enabled(const SheetDriver& sheet, int id) {
        return IsWindowEnabled(sheet.Control(id)) != FALSE;
    }

    // "保存(&S)..." with a name typed into the save dialog; further answers
    // go to the dialogs that follow (the overwrite question, a message).
    static int SaveAs(const SheetDriver& sheet, const std::wstring& name,
                      std::vector<dialog_answer::Answer> more = {}) {
        std::vector<dialog_answer::Answer> answers = {[name](HWND dialog) {
            HWND field = GetDlgItem(dialog, cmb13);
            SetWindowTextW(field != nullptr ? field : GetDlgItem(dialog, edt1), name.c_str());
            dialog_answer::Press(dialog, IDOK);
        }};
        answers.insert(answers.end(), more.begin(), more.end());
        return dialog_answer::Run([&] { sheet.Click(IDC_APPEARANCE_SAVE); }, answers);
    }

    std::wstring themes_ = folder_ / L"Themes";
    ChooserColours chooser_;
};

TEST_F(AppearancePageTest, OpensWithTheThemeFilesTheLiveColoursAndThePlugins) {
    for (const wchar_t* name : {L"b.zptheme", L"A.zptheme", L"notes.txt"}) {
        WriteTheme(name, "[ColorScheme]\r\nBackground=Red\r\n");
    }
    ASSERT_TRUE(CreateDirectoryW(PathJoin(themes_, L"folder.zptheme").c_str(), nullptr));
    settings_.curThemeFile = L"B.ZPTHEME";
    settings_.themePlugin = L"glossy.zpres";
    settings_.colours[kBackground] = 0x123456;
    settings_.colours[kSeekBar] = MakePaletteColour(9, 0x654321);
    const Settings before = settings_;
    bool ok = ShowPage([&](SheetDriver& sheet) {
        EXPECT_EQ(ThemeItems(sheet), (std::vector<std::wstring>{L"(現在の設定)", L"A", L"b"}));
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 2);
        EXPECT_TRUE(Enabled(sheet, IDC_APPEARANCE_DELETE));

        HWND colours = sheet.Control(IDC_APPEARANCE_COLOURS);
        ASSERT_EQ(SendMessageW(colours, LB_GETCOUNT, 0, 0), kColourEntryCount);
        for (int entry = 0; entry < kColourEntryCount; ++entry) {
            wchar_t label[64] = L"";
            SendMessageW(colours, LB_GETTEXT, static_cast<WPARAM>(entry),
                         reinterpret_cast<LPARAM>(label));
            EXPECT_EQ(std::wstring(label), LoadText(IDS_COLOUR_ENTRY_FIRST + entry));
            EXPECT_EQ(PageColour(sheet, entry), before.colours[entry]) << entry;
        }
        EXPECT_EQ(SendMessageW(colours, LB_GETCURSEL, 0, 0), 0);
        // Entry 0 is custom: "<カスタム>" with its colour, the chooser open to it.
        HWND palette = sheet.Control(IDC_APPEARANCE_PALETTE);
        ASSERT_EQ(SendMessageW(palette, CB_GETCOUNT, 0, 0), 1 + kPaletteSize);
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_PALETTE), 0);
        EXPECT_EQ(SendMessageW(palette, CB_GETITEMDATA, 0, 0), 0x123456);
        EXPECT_TRUE(Enabled(sheet, IDC_APPEARANCE_CHOOSE));
        wchar_t name[64] = L"";
        SendMessageW(palette, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(name));
        EXPECT_EQ(std::wstring(name), L"銀");
        // A palette entry: the drop-down shows it and the chooser is off.
        SelectEntry(sheet, kSeekBar);
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_PALETTE), 9);
        EXPECT_EQ(SendMessageW(palette, CB_GETITEMDATA, 0, 0), 0x654321);
        EXPECT_FALSE(Enabled(sheet, IDC_APPEARANCE_CHOOSE));

        HWND plugins = sheet.Control(IDC_APPEARANCE_PLUGINS);
        ASSERT_EQ(ListView_GetItemCount(plugins), 3);
        const wchar_t* rows[3][2] = {
            {L"標準", L""}, {L"Classic", L"Classic.zpres"}, {L"Glossy", L"Glossy.zpres"}};
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(PluginText(sheet, row, 0), rows[row][0]);
            EXPECT_EQ(PluginText(sheet, row, 1), rows[row][1]);
        }
        EXPECT_NE(PluginText(sheet, 1, 2), L"");
        EXPECT_EQ(PluginRow(sheet), 2);
        EXPECT_TRUE(ListView_GetExtendedListViewStyle(plugins) & LVS_EX_FULLROWSELECT);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(host_.calls, Calls{});
    EXPECT_EQ(settings_.curThemeFile, before.curThemeFile);
    EXPECT_TRUE(std::equal(std::begin(settings_.colours), std::end(settings_.colours),
                           std::begin(before.colours)));
}

TEST_F(AppearancePageTest, ThePluginNamedInTheSettingsIsChosen) {
    struct Case {
        const wchar_t* themePlugin;
        int row;
        const wchar_t* applied;  // on OK, nullptr: nothing
    } cases[] = {
        {L"", 0, L"ApplyToolbarTheme 標準"},
        {L"CLASSIC.zpres", 1, L"ApplyToolbarTheme Classic.zpres"},
        {L"Missing.zpres", -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.themePlugin));
        settings_.themePlugin = c.themePlugin;
        host_.calls.clear();
        ShowPage([&](SheetDriver& sheet) {
            EXPECT_EQ(PluginRow(sheet), c.row);
            sheet.PressOk();
        });
        Calls expected = {L"ApplyColours"};
        if (c.applied != nullptr) {
            expected.push_back(c.applied);
        }
        EXPECT_EQ(host_.calls, expected);
    }
}

TEST_F(AppearancePageTest, ColoursAreEditedThroughThePaletteAndTheChooser) {
    settings_.colours[kStatusText] = 0x80C0FF;
    bool ok = ShowPage([&](SheetDriver& sheet) {
        SelectEntry(sheet, kStatusText);
        // A palette colour keeps the custom part for a return to "<カスタム>".
        sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 10);
        EXPECT_EQ(PageColour(sheet, kStatusText), MakePaletteColour(10, 0x80C0FF));
        EXPECT_FALSE(Enabled(sheet, IDC_APPEARANCE_CHOOSE));
        sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 0);
        EXPECT_EQ(PageColour(sheet, kStatusText), 0x80C0FFu);
        EXPECT_TRUE(Enabled(sheet, IDC_APPEARANCE_CHOOSE));

        // The chooser starts at the custom colour; its custom boxes are the
        // program's for the run. Its red, green and blue boxes are 706-708,
        // its button that keeps the colour among the custom ones 712.
        auto type = [](HWND chooser, int red, int green, int blue) {
            SetDlgItemInt(chooser, 706, static_cast<UINT>(red), FALSE);
            SetDlgItemInt(chooser, 707, static_cast<UINT>(green), FALSE);
            SetDlgItemInt(chooser, 708, static_cast<UINT>(blue), FALSE);
        };
        int answered =
            dialog_answer::Run([&] { sheet.Click(IDC_APPEARANCE_CHOOSE); }, {[&](HWND chooser) {
                                   EXPECT_EQ(GetDlgItemInt(chooser, 706, nullptr, FALSE), 0x80u);
                                   EXPECT_EQ(GetDlgItemInt(chooser, 708, nullptr, FALSE), 0xFFu);
                                   type(chooser, 0x11, 0x22, 0x33);
                                   dialog_answer::Press(chooser, 712);
                                   dialog_answer::Press(chooser, IDOK);
                               }});
        EXPECT_EQ(answered, 1);
        EXPECT_EQ(PageColour(sheet, kStatusText), 0x112233u);
        EXPECT_EQ(SendMessageW(sheet.Control(IDC_APPEARANCE_PALETTE), CB_GETITEMDATA, 0, 0),
                  0x112233);
        // Cancelled: nothing changes.
        dialog_answer::Run([&] { sheet.Click(IDC_APPEARANCE_CHOOSE); }, {[&](HWND chooser) {
                               type(chooser, 0xFF, 0, 0);
                               dialog_answer::Press(chooser, IDCANCEL);
                           }});
        EXPECT_EQ(PageColour(sheet, kStatusText), 0x112233u);
        // The entries keep their own values.
        SelectEntry(sheet, kBackground);
        sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 16);
        sheet.PressOk();
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(chooser_.colours[0], RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(settings_.colours[kStatusText], 0x112233u);
    EXPECT_EQ(settings_.colours[kBackground], MakePaletteColour(16, 0));
    EXPECT_EQ(host_.calls, (Calls{L"ApplyColours", L"ApplyToolbarTheme 標準"}));
}

TEST_F(AppearancePageTest, AThemeFileFillsThePageUntilAColourOrPluginChanges) {
    WriteTheme(L"dark.zptheme",
               "[ColorScheme]\r\nBackground=#101010\r\nPlaylistText=Red\r\n"
               "[Plugin]\r\nFile=glossy.zpres\r\n");
    WriteTheme(L"lost.zptheme",
               "[ColorScheme]\r\nBackground=#202020\r\n"
               "[Plugin]\r\nFile=Missing.zpres\r\n");
    settings_.themePlugin = L"Classic.zpres";
    struct Case {
        const char* what;
        std::function<void(SheetDriver&)> change;
        std::wstring curThemeFile;
    } cases[] = {
        {"nothing changed", [](SheetDriver&) {}, L"dark.zptheme"},
        {"a palette colour",
         [](SheetDriver& sheet) {
             SelectEntry(sheet, kStatusBg);
             sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 3);
         },
         L""},
        {"another plug-in", [](SheetDriver& sheet) { sheet.SelectRow(IDC_APPEARANCE_PLUGINS, 1); },
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_.calls.clear();
        settings_.curThemeFile.clear();
        ShowPage([&](SheetDriver& sheet) {
            EXPECT_EQ(PluginRow(sheet), 1);
            // A plug-in that is not there: the program's own pictures.
            sheet.SelectDropDown(IDC_APPEARANCE_THEME, 2);
            EXPECT_EQ(PluginRow(sheet), 0);
            EXPECT_EQ(PageColour(sheet, kBackground), 0x202020u);

            sheet.SelectDropDown(IDC_APPEARANCE_THEME, 1);
            EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 1);
            EXPECT_TRUE(Enabled(sheet, IDC_APPEARANCE_DELETE));
            EXPECT_EQ(PageColour(sheet, kBackground), 0x101010u);
            EXPECT_EQ(PageColour(sheet, kPlaylistPlayedText), MakePaletteColour(10, 0xE0E0E0));
            EXPECT_EQ(PluginRow(sheet), 2);
            // The drop-down shows the selected entry's new colour.
            EXPECT_EQ(SendMessageW(sheet.Control(IDC_APPEARANCE_PALETTE), CB_GETITEMDATA, 0, 0),
                      0x101010);
            c.change(sheet);
            const bool kept = !c.curThemeFile.empty();
            EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), kept ? 1 : 0);
            EXPECT_EQ(Enabled(sheet, IDC_APPEARANCE_DELETE), kept);
            sheet.PressOk();
        });
        EXPECT_EQ(settings_.curThemeFile, c.curThemeFile);
        EXPECT_EQ(settings_.colours[kBackground], 0x101010u);
        ASSERT_EQ(host_.calls.size(), 2u);
        EXPECT_EQ(host_.calls[0], L"ApplyColours");
    }
}

TEST_F(AppearancePageTest, SavingInsideTheThemesFolderListsTheFile) {
    WriteTheme(L"b.zptheme", "");
    WriteTheme(L"d.zptheme", "");
    TempFolder elsewhere;
    settings_.colours[kVolume] = MakePaletteColour(13, 0x010203);
    ShowPage([&](SheetDriver& sheet) {
        // The dialog: the Themes folder, the theme filter, the default extension.
        int answered = dialog_answer::Run(
            [&] { sheet.Click(IDC_APPEARANCE_SAVE); }, {[&](HWND dialog) {
                wchar_t folder[MAX_PATH] = L"";
                SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
                EXPECT_TRUE(PathEquals(folder, themes_));
                wchar_t filter[64] = L"";
                SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, 0,
                                    reinterpret_cast<LPARAM>(filter));
                EXPECT_EQ(std::wstring(filter), L"Zephlo Themeファイル(*.zptheme)");
                dialog_answer::Press(dialog, IDCANCEL);
            }});
        EXPECT_EQ(answered, 1);
        EXPECT_EQ(ThemeItems(sheet).size(), 3u);

        EXPECT_EQ(SaveAs(sheet, PathJoin(themes_, L"C")), 1);
        EXPECT_EQ(ThemeItems(sheet),
                  (std::vector<std::wstring>{L"(現在の設定)", L"b", L"C", L"d"}));
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 2);
        EXPECT_TRUE(Enabled(sheet, IDC_APPEARANCE_DELETE));
        // Saving over a listed file chooses it; the overwrite is asked first.
        EXPECT_EQ(SaveAs(sheet, PathJoin(themes_, L"B.zptheme"),
                         {[](HWND question) { dialog_answer::Press(question, IDYES); }}),
                  2);
        EXPECT_EQ(ThemeItems(sheet).size(), 4u);
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 1);

        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 0);
        EXPECT_EQ(SaveAs(sheet, elsewhere / L"outside.zptheme"), 1);
        EXPECT_EQ(SaveAs(sheet, PathJoin(themes_, L"other.txt")), 1);
        EXPECT_EQ(ThemeItems(sheet).size(), 4u);
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 0);
        EXPECT_FALSE(Enabled(sheet, IDC_APPEARANCE_DELETE));
    });
    const std::string bytes = ReadBytes(elsewhere / L"outside.zptheme");
    EXPECT_NE(bytes.find("\r\nVolume=Blue\r\n\r\n[Plugin]\r\nFile=default\r\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(PathJoin(themes_, L"C.zptheme")), bytes);
    EXPECT_EQ(ReadBytes(PathJoin(themes_, L"b.zptheme")), bytes);
    EXPECT_EQ(ReadBytes(PathJoin(themes_, L"other.txt")), bytes);
}

// The file is held open by another program, without sharing.
TEST_F(AppearancePageTest, AFailedSaveIsReported) {
    const std::wstring path = PathJoin(themes_, L"locked.zptheme");
    WriteTheme(L"locked.zptheme", "old");
    UniqueFile lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    ShowPage([&](SheetDriver& sheet) {
        std::wstring message;
        int answered = SaveAs(sheet, path,
                              {[](HWND question) { dialog_answer::Press(question, IDYES); },
                               [&](HWND box) {
                                   message = dialog_answer::MessageText(box);
                                   dialog_answer::Press(box, IDOK);
                               }});
        EXPECT_EQ(answered, 3);
        EXPECT_EQ(message, L"ファイルが保存できません。");
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 0);
        EXPECT_FALSE(Enabled(sheet, IDC_APPEARANCE_DELETE));
    });
    lock.reset();
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST_F(AppearancePageTest, DeletingAThemeFileAsksFirst) {
    WriteTheme(L"a.zptheme", "");
    WriteTheme(L"b.zptheme", "");
    settings_.curThemeFile = L"b.zptheme";
    ShowPage([&](SheetDriver& sheet) {
        std::wstring question;
        auto ask = [&](int button) {
            return dialog_answer::Run([&] { sheet.Click(IDC_APPEARANCE_DELETE); }, {[&](HWND box) {
                                          question = dialog_answer::Caption(box) + L"|" +
                                                     dialog_answer::MessageText(box);
                                          dialog_answer::Press(box, button);
                                      }});
        };
        EXPECT_EQ(ask(IDCANCEL), 1);
        EXPECT_EQ(question, L"外観設定の削除|外観設定ファイルを削除してもいいですか？");
        EXPECT_TRUE(FileExists(PathJoin(themes_, L"b.zptheme")));
        EXPECT_EQ(ThemeItems(sheet).size(), 3u);

        EXPECT_EQ(ask(IDOK), 1);
        EXPECT_FALSE(FileExists(PathJoin(themes_, L"b.zptheme")));
        EXPECT_EQ(ThemeItems(sheet), (std::vector<std::wstring>{L"(現在の設定)", L"a"}));
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 0);
        EXPECT_FALSE(Enabled(sheet, IDC_APPEARANCE_DELETE));

        // Gone behind the page's back: the failure is reported, the item stays.
        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 1);
        ASSERT_TRUE(DeleteFileW(PathJoin(themes_, L"a.zptheme").c_str()));
        std::wstring message;
        EXPECT_EQ(dialog_answer::Run([&] { sheet.Click(IDC_APPEARANCE_DELETE); },
                                     {[](HWND box) { dialog_answer::Press(box, IDOK); },
                                      [&](HWND box) {
                                          message = dialog_answer::MessageText(box);
                                          dialog_answer::Press(box, IDOK);
                                      }}),
                  2);
        EXPECT_EQ(message, L"ファイルを削除できません。");
        EXPECT_EQ(ThemeItems(sheet).size(), 2u);
        sheet.PressOk();
    });
    EXPECT_EQ(settings_.curThemeFile, L"a.zptheme");
}

TEST_F(AppearancePageTest, PreviewShowsThePageColoursAndCancelTakesThemBack) {
    const Settings before = settings_;
    struct Case {
        const char* what;
        bool ok;
        ColourValue background;  // live after the sheet
    } cases[] = {{"cancel", false, before.colours[kBackground]},
                 {"ok", true, MakePaletteColour(12, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_.calls.clear();
        std::copy(std::begin(before.colours), std::end(before.colours), settings_.colours);
        ShowPage([&](SheetDriver& sheet) {
            sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 13);
            sheet.Click(IDC_APPEARANCE_PREVIEW);
            EXPECT_EQ(settings_.colours[kBackground], MakePaletteColour(13, 0));
            EXPECT_EQ(host_.calls, Calls{L"ApplyColours"});
            sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 12);
            sheet.Click(IDC_APPEARANCE_PREVIEW);
            EXPECT_EQ(settings_.colours[kBackground], MakePaletteColour(12, 0));
            c.ok ? sheet.PressOk() : sheet.PressCancel();
        });
        EXPECT_EQ(settings_.colours[kBackground], c.background);
        Calls expected(3, L"ApplyColours");
        if (c.ok) {
            expected.push_back(L"ApplyToolbarTheme 標準");
        }
        EXPECT_EQ(host_.calls, expected);
    }
    // Cancel without a preview leaves the windows alone.
    std::copy(std::begin(before.colours), std::end(before.colours), settings_.colours);
    host_.calls.clear();
    ShowPage([&](SheetDriver& sheet) {
        sheet.SelectDropDown(IDC_APPEARANCE_PALETTE, 13);
        sheet.PressCancel();
    });
    EXPECT_EQ(host_.calls, Calls{});
    EXPECT_EQ(settings_.colours[kBackground], before.colours[kBackground]);
}

TEST_F(AppearancePageTest, APluginNameOutsideTheCodePageComesBackFromATheme) {
    AddPlugin(L"Glossy.zpres", L"테마.zpres");
    ShowPage([&](SheetDriver& sheet) {
        ASSERT_EQ(PluginText(sheet, 3, 1), L"테마.zpres");
        sheet.SelectRow(IDC_APPEARANCE_PLUGINS, 3);
        EXPECT_EQ(SaveAs(sheet, PathJoin(themes_, L"korean")), 1);
        sheet.SelectRow(IDC_APPEARANCE_PLUGINS, 0);
        EXPECT_EQ(sheet.DropDownSelection(IDC_APPEARANCE_THEME), 0);
        sheet.SelectDropDown(IDC_APPEARANCE_THEME, 1);
        EXPECT_EQ(PluginRow(sheet), 3);
        sheet.PressOk();
    });
    EXPECT_EQ(host_.calls.back(), L"ApplyToolbarTheme 테마.zpres");
    EXPECT_EQ(settings_.curThemeFile, L"korean.zptheme");
}

// The preview of the chosen pictures, read back from the page.
TEST_F(AppearancePageTest, ThePicturePreviewFollowsThePluginChoice) {
    ShowPage([&](SheetDriver& sheet) {
        HWND preview = sheet.Control(IDC_APPEARANCE_PICTURES);
        auto picture = [&] {
            RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RECT area;
            GetClientRect(preview, &area);
            WindowDC dc(preview);
            std::vector<COLORREF> pixels;
            for (int x = 0; x < area.right; ++x) {
                pixels.push_back(GetPixel(dc.get(), x, area.bottom / 2));
            }
            return pixels;
        };
        const std::vector<COLORREF> own = picture();
        sheet.SelectRow(IDC_APPEARANCE_PLUGINS, 2);
        const std::vector<COLORREF> glossy = picture();
        sheet.SelectRow(IDC_APPEARANCE_PLUGINS, -1);
        const std::vector<COLORREF> none = picture();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        auto faceOnly = [face](const std::vector<COLORREF>& pixels) {
            return std::all_of(pixels.begin(), pixels.end(),
                               [face](COLORREF p) { return p == face; });
        };
        EXPECT_FALSE(faceOnly(own));
        EXPECT_FALSE(faceOnly(glossy));
        EXPECT_NE(own, glossy);
        EXPECT_TRUE(faceOnly(none));
        sheet.PressOk();
    });
    EXPECT_EQ(host_.calls, Calls{L"ApplyColours"});
}

TEST_F(AppearancePageTest, AMissingThemesFolderLeavesOnlyTheFirstItems) {
    RemoveTree(themes_);
    ShowPage([&](SheetDriver& sheet) {
        EXPECT_EQ(ThemeItems(sheet), std::vector<std::wstring>{L"(現在の設定)"});
        EXPECT_EQ(ListView_GetItemCount(sheet.Control(IDC_APPEARANCE_PLUGINS)), 1);
        EXPECT_EQ(PluginRow(sheet), 0);
        sheet.PressOk();
    });
    EXPECT_EQ(host_.calls, (Calls{L"ApplyColours", L"ApplyToolbarTheme 標準"}));
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

// The key page of the settings sheet over the main window made inside the
// test process, as command 167 opens it, with its file dialogs and message
// boxes answered as a user would; and the real program keeping a binding
// changed on the page across a restart.
#include <gtest/gtest.h>

#include <objbase.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/settings_host.h"
#include "app/startup.h"
#include "base/paths.h"
#include "base/text.h"
#include "e2e/player.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "settings/key_page_logic.h"
#include "support/sheet_driver.h"

namespace {

// Answers the modal dialogs that open on this thread besides the sheet (file
// dialogs, message boxes) from a thread timer, which their own message loops
// serve: each new one gets the next answer.
class ModalAnswers {
public:
    using Answer = std::function<void(HWND dialog)>;

    explicit ModalAnswers(std::vector<Answer> answers) : answers_(std::move(answers)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 10, OnTimer);
    }
    ~ModalAnswers() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    std::size_t given() const { return answered_.size(); }

private:
    static BOOL CALLBACK FindNew(HWND window, LPARAM found) {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        if (!IsWindowVisible(window) || lstrcmpW(className, L"#32770") != 0 ||
            FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr) != nullptr) {
            return TRUE;
        }
        for (HWND done : current_->answered_) {
            if (done == window) {
                return TRUE;
            }
        }
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        ModalAnswers* self = current_;
        if (self == nullptr || self->answered_.size() == self->answers_.size()) {
            return;
        }
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindNew, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr) {
            self->answered_.push_back(dialog);
            self->answers_[self->answered_.size() - 1](dialog);
        }
    }

    static ModalAnswers* current_;
    std::vector<Answer> answers_;
    std::vector<HWND> answered_;
    UINT_PTR timer_ = 0;
};

ModalAnswers* ModalAnswers::current_ = nullptr;

// What a file dialog showed: the folder it started in and its file types.
struct FileDialogSeen {
    std::wstring folder;
    std::vector<std::wstring> types;
};

// Types a path into a file dialog and presses its OK button.
ModalAnswers::Answer ChooseFile(const std::wstring& path, FileDialogSeen* seen = nullptr) {
    return [path, seen](HWND dialog) {
        if (seen != nullptr) {
            wchar_t folder[MAX_PATH] = L"";
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            seen->folder = folder;
            HWND types = GetDlgItem(dialog, cmb1);
            for (int i = 0; i < SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
                wchar_t text[128] = L"";
                SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(text));
                seen->types.push_back(text);
            }
        }
        HWND name = GetDlgItem(dialog, cmb13);
        SetWindowTextW(name != nullptr ? name : GetDlgItem(dialog, edt1), path.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

// What a message box said, and with which icon.
struct MessageSeen {
    std::wstring text;
    HICON icon = nullptr;
};

ModalAnswers::Answer ReadMessage(MessageSeen* seen) {
    return [seen](HWND box) {
        seen->text = Player::MessageBoxText(box);
        // The box's icon control (id 0x440 in the platform's template).
        seen->icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, 0x440, STM_GETICON, 0, 0));
        Player::PressButton(box, IDOK);
    };
}

// The commands of an accelerator table, in its order.
std::vector<WORD> AcceleratorCommands(HACCEL table) {
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    std::vector<WORD> commands;
    for (const ACCEL& entry : entries) {
        commands.push_back(entry.cmd);
    }
    return commands;
}

bool HasAccelerator(HACCEL table, WORD command) {
    std::vector<WORD> commands = AcceleratorCommands(table);
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

std::size_t RowOf(UINT id) {
    return static_cast<std::size_t>(FindCommandRow(kCommandTable, id));
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The tree of the page shown: its items in order (a row each) and what the
// page holds for them.
std::vector<HTREEITEM> TreeItems(HWND tree) {
    std::vector<HTREEITEM> items;
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM item) {
        for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
            items.push_back(item);
            walk(TreeView_GetChild(tree, item));
        }
    };
    walk(TreeView_GetRoot(tree));
    return items;
}

LPARAM ItemData(HWND tree, HTREEITEM item) {
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    TreeView_GetItem(tree, &data);
    return data.lParam;
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[64] = L"";
    TVITEMW data = {};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = 64;
    TreeView_GetItem(tree, &data);
    return text;
}

KeyBindingSet PageBindings(HWND tree) {
    KeyBindingSet bindings{};
    for (HTREEITEM item : TreeItems(tree)) {
        LPARAM data = ItemData(tree, item);
        bindings.at(KeyItemRow(data)) = KeyItemBinding(data);
    }
    return bindings;
}

class KeyPageTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES |
                                                              ICC_TREEVIEW_CLASSES |
                                                              ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        folder_ = new TempFolder;
        app_ = new App;
        app().settingsLocation.path = *folder_ / L"Zephlo.ini";
        app().instance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterWindowClasses(app().instance));
        app().mainMenu.reset(LoadMenuW(app().instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        ASSERT_TRUE(CreateMainWindow(app()));
        ShowWindow(app().window.hwnd, SW_SHOWNORMAL);
        RestoreMainWindowState(app());
    }

    static void TearDownTestSuite() {
        DestroyWindow(app().window.hwnd);
        FinishAfterMessageLoop(app());
        delete app_;
        delete folder_;
        CoUninitialize();
    }

    // Every test starts from the stored section given (none: the built-in
    // set), as the program does, with the menu showing only those keys.
    void SetUp() override { LoadKeys(""); }

    static void LoadKeys(const std::string& section) {
        keys().Apply(KeyBindingSet{}, true, menu());
        ASSERT_TRUE(WriteBytes(ini(), "[Settings]\r\n" + section));
        ASSERT_TRUE(keys().Load(ini(), menu()));
        app().lastSettingsPage = 5;
    }

    static App& app() { return *app_; }
    static KeyAssignment& keys() { return app().keys; }
    static HMENU menu() { return app().mainMenu.get(); }
    static const std::wstring& ini() { return app().settingsLocation.path; }
    static std::wstring MenuText(UINT id) {
        wchar_t text[128] = L"";
        GetMenuStringW(menu(), id, text, 128, MF_BYCOMMAND);
        return text;
    }
    // Command 167 opens the sheet on the key page; the script runs on it.
    static void Options(const SheetDriver::Script& script) {
        EXPECT_TRUE(SheetDriver::Run([] { ExecuteCommand(app(), CMD_OPTIONS, nullptr, 0); },
                                     [&](SheetDriver& sheet) {
                                         ASSERT_EQ(GetDlgCtrlID(sheet.Control(IDC_KEYS_TREE)),
                                                   IDC_KEYS_TREE);
                                         script(sheet);
                                     }));
    }
    static void Select(const SheetDriver& sheet, std::size_t row) {
        HWND tree = sheet.Control(IDC_KEYS_TREE);
        TreeView_SelectItem(tree, TreeItems(tree).at(row));
    }
    static void Choose(const SheetDriver& sheet, std::uint8_t key, std::uint8_t modifiers) {
        sheet.SelectDropDown(IDC_KEYS_KEY, KeyNameIndex(key) + 1);
        sheet.SetCheck(IDC_KEYS_SHIFT, (modifiers & kShift) != 0);
        sheet.SetCheck(IDC_KEYS_CTRL, (modifiers & kCtrl) != 0);
        sheet.SetCheck(IDC_KEYS_ALT, (modifiers & kAlt) != 0);
    }
    static KeyBindingSet Shown(const SheetDriver& sheet) {
        return PageBindings(sheet.Control(IDC_KEYS_TREE));
    }

    static TempFolder* folder_;
    static App* app_;
};

TempFolder* KeyPageTest::folder_ = nullptr;
App* KeyPageTest::app_ = nullptr;

TEST_F(KeyPageTest, TheTreeListsEveryRowWithItsBindingAndTheControlsFollowTheSelection) {
    AppSettingsHost host(app());
    SettingsPageEntry entry = SettingsPages(app(), host).back();
    EXPECT_EQ(entry.index, 5);
    EXPECT_EQ(entry.dialogId, 56);
    EXPECT_EQ(entry.helpContext, 2006u);
    Options([](SheetDriver& sheet) {
        wchar_t title[32] = L"";
        TCITEMW tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = title;
        tab.cchTextMax = 32;
        TabCtrl_GetItem(PropSheet_GetTabControl(sheet.sheet()), sheet.pagePosition(), &tab);
        EXPECT_EQ(std::wstring(title), L"キー割り当て");

        HWND tree = sheet.Control(IDC_KEYS_TREE);
        std::vector<HTREEITEM> items = TreeItems(tree);
        ASSERT_EQ(items.size(), kCommandRowCount);
        for (std::size_t row = 0; row < kCommandRowCount; ++row) {
            EXPECT_EQ(ItemData(tree, items[row]), KeyItemData(row, keys().bindings()[row]));
            EXPECT_EQ(ItemText(tree, items[row]), LoadText(LabelStringId(kCommandTable[row])));
        }
        EXPECT_EQ(ItemText(tree, TreeView_GetParent(tree, items[RowOf(CMD_SORT_NAME)])), L"並び順");
        EXPECT_EQ(ItemText(tree, TreeView_GetParent(tree, items[RowOf(CMD_EXIT)])), L"ファイル");
        EXPECT_EQ(TreeView_GetParent(tree, items[0]), nullptr);

        HWND list = sheet.Control(IDC_KEYS_KEY);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 79);
        for (int i = 0; i < 79; ++i) {
            wchar_t text[16] = L"";
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(std::wstring(text), i == 0 ? L"なし" : KeyNameTable[i - 1].name);
        }

        // Which controls are enabled and what they show, for each selection.
        struct Case {
            const char* what;
            int row;  // -1: as opened
            int listPosition;
            bool shift, ctrl, alt;
            bool command, removable;
        } cases[] = {
            {"as opened", -1, 0, false, false, false, false, false},
            {"Open", static_cast<int>(RowOf(CMD_OPEN)), 40, false, true, false, true, true},
            {"a heading", 0, 0, false, false, false, false, false},
            {"FirstFile", static_cast<int>(RowOf(CMD_FIRST_FILE)), 0, false, false, false, true,
             false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            if (c.row >= 0) {
                Select(sheet, static_cast<std::size_t>(c.row));
            }
            EXPECT_EQ(sheet.DropDownSelection(IDC_KEYS_KEY), c.listPosition);
            EXPECT_EQ(sheet.IsChecked(IDC_KEYS_SHIFT), c.shift);
            EXPECT_EQ(sheet.IsChecked(IDC_KEYS_CTRL), c.ctrl);
            EXPECT_EQ(sheet.IsChecked(IDC_KEYS_ALT), c.alt);
            for (int id = IDC_KEYS_KEY; id <= IDC_KEYS_ASSIGN; ++id) {
                EXPECT_EQ(IsWindowEnabled(sheet.Control(id)) != FALSE, c.command) << id;
            }
            EXPECT_EQ(IsWindowEnabled(sheet.Control(IDC_KEYS_REMOVE)) != FALSE, c.removable);
            for (int id = IDC_KEYS_LOAD; id <= IDC_KEYS_BUILT_IN; ++id) {
                EXPECT_TRUE(IsWindowEnabled(sheet.Control(id))) << id;
            }
        }

        // With every control enabled, Tab goes through them in id order.
        Select(sheet, RowOf(CMD_OPEN));
        std::vector<int> order;
        HWND control = sheet.Control(IDC_KEYS_TREE);
        for (int i = 0; i < 10; ++i) {
            control = GetNextDlgTabItem(sheet.page(), control, FALSE);
            order.push_back(GetDlgCtrlID(control));
        }
        EXPECT_EQ(order, (std::vector<int>{401, 402, 403, 404, 405, 406, 407, 408, 409, 400}));
        // The controls in their order and places in dialog units (the closed
        // list is lower than the height it drops down to, which is not compared).
        const RECT layout[] = {{8, 8, 32, 8},      {8, 18, 140, 198},  {152, 8, 32, 8},
                               {152, 18, 64, 0},   {152, 34, 32, 9},   {152, 46, 32, 9},
                               {152, 58, 32, 9},   {152, 72, 64, 14},  {152, 90, 64, 14},
                               {152, 162, 64, 14}, {152, 180, 64, 14}, {152, 202, 64, 14}};
        const int ids[] = {-1, 400, -1, 401, 402, 403, 404, 405, 406, 407, 408, 409};
        HWND child = GetWindow(sheet.page(), GW_CHILD);
        for (std::size_t i = 0; i < 12 && child != nullptr; ++i) {
            SCOPED_TRACE(i);
            // Each figure is mapped alone, as the dialog makes its controls.
            RECT expected = layout[i];
            MapDialogRect(sheet.page(), &expected);
            expected.right += expected.left;
            expected.bottom += expected.top;
            RECT actual;
            GetWindowRect(child, &actual);
            MapWindowPoints(nullptr, sheet.page(), reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(GetDlgCtrlID(child), ids[i]);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right, expected.right);
            if (ids[i] != IDC_KEYS_KEY) {
                EXPECT_EQ(actual.bottom, expected.bottom);
            }
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
        const LONG_PTR treeStyle = GetWindowLongPtrW(tree, GWL_STYLE);
        EXPECT_EQ(treeStyle & (TVS_HASLINES | TVS_HASBUTTONS), TVS_HASLINES | TVS_HASBUTTONS);

        const int position = sheet.pagePosition();
        sheet.ShowPage(0);
        EXPECT_EQ(app().lastSettingsPage, 0);
        sheet.ShowPage(position);
        EXPECT_EQ(app().lastSettingsPage, 5);
    });
}

// Nothing the page does reaches the program before OK; a taken shortcut is
// refused with the name of the command that has it.
TEST_F(KeyPageTest, AssignAndRemoveReachTheMenuAndTheTableOnlyAtOk) {
    const KeyBindingSet before = keys().bindings();
    const HACCEL table = keys().accelerators();
    EXPECT_EQ(MenuText(CMD_SEQUENTIAL_PLAY), L"フォルダから連続再生(&S)");
    MessageSeen refusal;
    Options([&](SheetDriver& sheet) {
        Select(sheet, RowOf(CMD_CLOSE));
        Choose(sheet, 'O', kCtrl);
        {
            ModalAnswers answers({ReadMessage(&refusal)});
            sheet.Click(IDC_KEYS_ASSIGN);
            EXPECT_EQ(answers.given(), 1u);
        }
        EXPECT_EQ(Shown(sheet), before);

        Select(sheet, RowOf(CMD_SEQUENTIAL_PLAY));
        Choose(sheet, 'L', kCtrl);
        sheet.Click(IDC_KEYS_ASSIGN);
        EXPECT_TRUE(IsWindowEnabled(sheet.Control(IDC_KEYS_REMOVE)));
        Select(sheet, RowOf(CMD_OPEN));
        sheet.Click(IDC_KEYS_REMOVE);
        EXPECT_EQ(sheet.DropDownSelection(IDC_KEYS_KEY), 0);
        EXPECT_FALSE(sheet.IsChecked(IDC_KEYS_CTRL));
        EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_KEYS_REMOVE)));

        KeyBindingSet expected = before;
        expected[RowOf(CMD_SEQUENTIAL_PLAY)] = {kCtrl, 'L'};
        expected[RowOf(CMD_OPEN)] = {};
        EXPECT_EQ(Shown(sheet), expected);
        EXPECT_EQ(keys().bindings(), before);
        EXPECT_EQ(keys().accelerators(), table);
        EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...\tCtrl+O");
        sheet.PressOk();
    });
    EXPECT_EQ(refusal.text, L"既に [開く] に割り当てられています。");
    EXPECT_EQ(refusal.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(MenuText(CMD_CLOSE), L"閉じる(&C)\tCtrl+W");
    EXPECT_EQ(MenuText(CMD_SEQUENTIAL_PLAY), L"フォルダから連続再生(&S)\tCtrl+L");
    EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...");
    EXPECT_FALSE(keys().areDefault());
    EXPECT_NE(keys().accelerators(), table);
    EXPECT_FALSE(HasAccelerator(keys().accelerators(), CMD_OPEN));

    // The new shortcut reaches its command through the program's loop.
    const bool sequential = app().settings.sequentialPlay;
    SetForegroundWindow(app().window.hwnd);
    ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == app().window.hwnd; }, 3000));
    PressKeys({VK_CONTROL, 'L'});
    DWORD start = GetTickCount();
    MSG message;
    while (app().settings.sequentialPlay == sequential && GetTickCount() - start < 5000) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } else if (!PreTranslateProgramMessage(app(), message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    EXPECT_NE(app().settings.sequentialPlay, sequential);
}

TEST_F(KeyPageTest, TheBuiltInSetComesBackAndIsStoredAsSuchAtExit) {
    LoadKeys("[Accelerators]\r\nAccelCount=2\r\nOpen=76,2\r\nHelp=112,4\r\n");
    ASSERT_FALSE(keys().areDefault());
    EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...\tCtrl+L");
    const KeyBindingSet defaults = DefaultKeyBindings(kCommandTable);
    Options([&](SheetDriver& sheet) {
        sheet.Click(IDC_KEYS_BUILT_IN);
        EXPECT_EQ(Shown(sheet), defaults);
        sheet.PressOk();
    });
    EXPECT_EQ(keys().bindings(), defaults);
    EXPECT_TRUE(keys().areDefault());
    EXPECT_EQ(AcceleratorCommands(keys().accelerators()).size(), 24u);
    EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...\tCtrl+O");
    EXPECT_EQ(MenuText(CMD_HELP), L"ヘルプ(&H)...\tF1");
    FinishAfterMessageLoop(app());
    EXPECT_EQ(ReadIni(ini(), L"Accelerators", L"AccelCount"), L"-1");
    EXPECT_EQ(ReadIni(ini(), L"Accelerators", L"Open"), L"<absent>");
}

// Key files through the page's own dialogs, which start in the program's
// folder and offer the key file type first; Cancel then keeps everything.
TEST_F(KeyPageTest, KeyFilesAreSavedAndLoadedOnThePageAndCancelKeepsWhatIsInUse) {
    const KeyBindingSet before = keys().bindings();
    const HACCEL table = keys().accelerators();
    const std::wstring mine = *folder_ / L"mine.zpkey";
    const std::wstring noSection = *folder_ / L"other.zpkey";
    ASSERT_TRUE(WriteBytes(mine, "[Accelerators]\r\nOpen=76,2\r\nExit=88,1\r\n"));
    ASSERT_TRUE(WriteBytes(noSection, "[Keys]\r\nOpen=79,2\r\n"));
    KeyBindingSet fromMine{};
    fromMine[RowOf(CMD_OPEN)] = {kCtrl, 'L'};
    fromMine[RowOf(CMD_EXIT)] = {kAlt, 'X'};
    FileDialogSeen opened, saved;
    Options([&](SheetDriver& sheet) {
        {
            ModalAnswers answers({ChooseFile(mine, &opened)});
            sheet.Click(IDC_KEYS_LOAD);
        }
        EXPECT_EQ(Shown(sheet), fromMine);
        {
            ModalAnswers answers({ChooseFile(noSection)});
            sheet.Click(IDC_KEYS_LOAD);
        }
        EXPECT_EQ(Shown(sheet), KeyBindingSet{});

        // Saved without an extension: the dialog adds the key file's.
        Select(sheet, RowOf(CMD_ZOOM_300));
        Choose(sheet, '6', kShift | kAlt);
        sheet.Click(IDC_KEYS_ASSIGN);
        const KeyBindingSet edited = Shown(sheet);
        {
            ModalAnswers answers({ChooseFile(*folder_ / L"saved", &saved)});
            sheet.Click(IDC_KEYS_SAVE);
        }
        EXPECT_EQ(ReadBytes(*folder_ / L"saved.zpkey"), "[Accelerators]\r\nZoom300=54,5\r\n");
        sheet.Click(IDC_KEYS_BUILT_IN);
        {
            ModalAnswers answers({ChooseFile(*folder_ / L"saved.zpkey")});
            sheet.Click(IDC_KEYS_LOAD);
        }
        EXPECT_EQ(Shown(sheet), edited);
        // The selected row shows what it holds now.
        EXPECT_EQ(sheet.DropDownSelection(IDC_KEYS_KEY), KeyNameIndex('6') + 1);
        sheet.PressCancel();
    });
    for (const FileDialogSeen* seen : {&opened, &saved}) {
        EXPECT_EQ(seen->folder, ProgramFolder());
        EXPECT_EQ(seen->types, (std::vector<std::wstring>{L"Zephloキー定義ファイル(*.zpkey)",
                                                          L"すべてのファイル(*.*)"}));
    }
    EXPECT_EQ(keys().bindings(), before);
    EXPECT_TRUE(keys().areDefault());
    EXPECT_EQ(keys().accelerators(), table);
    EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...\tCtrl+O");
    EXPECT_EQ(MenuText(CMD_EXIT), L"終了(&X)");
}

TEST_F(KeyPageTest, ASaveThatCannotBeWrittenSaysSo) {
    MessageSeen failure;
    Options([&](SheetDriver& sheet) {
        // The host's /proc as Wine shows it: no one can create a file there, root included.
        ModalAnswers answers({ChooseFile(L"Z:\\proc\\keys.zpkey"), ReadMessage(&failure)});
        sheet.Click(IDC_KEYS_SAVE);
        EXPECT_EQ(answers.given(), 2u);
    });
    EXPECT_EQ(failure.text, L"ファイルが保存できません。");
    EXPECT_EQ(failure.icon, LoadIconW(nullptr, IDI_WARNING));
}

// When no table can be made the old one stays in use and the page says so;
// the rows, the menu and what is stored at exit take the page's bindings.
TEST_F(KeyPageTest, AFailedTableKeepsTheOldOneAndSaysSo) {
    const HACCEL table = keys().accelerators();
    keys().SetTableMaker([](ACCEL*, int) -> HACCEL { return nullptr; });
    MessageSeen failure;
    {
        ModalAnswers answers({ReadMessage(&failure)});
        Options([](SheetDriver& sheet) {
            Select(sheet, RowOf(CMD_OPEN));
            sheet.Click(IDC_KEYS_REMOVE);
            sheet.PressOk();
        });
    }
    keys().SetTableMaker(
        [](ACCEL* records, int count) { return CreateAcceleratorTableW(records, count); });
    EXPECT_EQ(failure.text, L"アクセラレータ・テーブルを作成できません。");
    EXPECT_EQ(failure.icon, LoadIconW(nullptr, IDI_WARNING));
    EXPECT_EQ(keys().accelerators(), table);
    EXPECT_TRUE(HasAccelerator(table, CMD_OPEN));
    EXPECT_EQ(keys().bindings()[RowOf(CMD_OPEN)], KeyBinding{});
    EXPECT_EQ(MenuText(CMD_OPEN), L"開く(&O)...");
    EXPECT_FALSE(keys().areDefault());
}

// The tree keeps its keys to itself: they move the selection, never assign.
TEST_F(KeyPageTest, KeysPressedInTheTreeAssignNothing) {
    const KeyBindingSet before = keys().bindings();
    Options([&](SheetDriver& sheet) {
        HWND tree = sheet.Control(IDC_KEYS_TREE);
        Select(sheet, RowOf(CMD_OPEN));
        SetForegroundWindow(sheet.sheet());
        SetFocus(tree);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == tree; }, 3000));
        PressKeys({VK_F5});
        PressKeys({VK_CONTROL, 'K'});
        PressKeys({VK_DELETE});
        // Keys arrive in order: once the last has moved the selection, the
        // others have been handled.
        PressKeys({VK_DOWN});
        EXPECT_TRUE(PumpUntil(
            [&] { return TreeView_GetSelection(tree) == TreeItems(tree)[RowOf(CMD_CLOSE)]; },
            5000));
        EXPECT_EQ(Shown(sheet), before);
        EXPECT_EQ(sheet.DropDownSelection(IDC_KEYS_KEY), KeyNameIndex('W') + 1);
        sheet.PressOk();
    });
    EXPECT_EQ(keys().bindings(), before);
    EXPECT_TRUE(keys().areDefault());
}

// The real program: a shortcut changed on the page is stored at exit and in
// use after the next start.
TEST(KeyPageRestart, ABindingChangedOnThePageSurvivesARestart) {
    Player player;
    ASSERT_TRUE(player.WriteSharedIni("[Settings]\r\nKeepSingleTask=yes\r\n"));
    ASSERT_TRUE(player.Start());
    HWND window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, CMD_OPTIONS, 0);
    HWND sheet = player.WaitForDialog(
        [](HWND found) { return KindOfDialog(found) == DialogKind::kPropertySheet; });
    ASSERT_NE(sheet, nullptr);
    // Across processes only messages without pointers are used.
    PropSheet_SetCurSelByID(sheet, IDD_PAGE_KEYS);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    HWND tree = GetDlgItem(page, IDC_KEYS_TREE);
    ASSERT_NE(tree, nullptr);
    // The third branch's ninth item: Playlist, which has Ctrl+P.
    HTREEITEM item = TreeView_GetChild(
        tree, TreeView_GetNextSibling(tree, TreeView_GetNextSibling(tree, TreeView_GetRoot(tree))));
    for (int i = 0; i < 8; ++i) {
        item = TreeView_GetNextSibling(tree, item);
    }
    TreeView_SelectItem(tree, item);
    HWND list = GetDlgItem(page, IDC_KEYS_KEY);
    ASSERT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), KeyNameIndex('P') + 1);
    ASSERT_EQ(SendDlgItemMessageW(page, IDC_KEYS_CTRL, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(KeyNameIndex('L') + 1), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_KEYS_ASSIGN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_KEYS_ASSIGN)));
    PropSheet_PressButton(sheet, PSBTN_OK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(sheet); }, 5000));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Accelerators", L"Playlist"), L"76,2");
    EXPECT_EQ(ReadIni(player.sharedIniPath(), L"Accelerators", L"AccelCount"), L"24");

    ASSERT_TRUE(player.Start());
    window = player.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND playlist = player.WaitForWindow(L"Zephlo Playlist Window");
    ASSERT_NE(playlist, nullptr);
    SetForegroundWindow(window);
    PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
    PressKeys({VK_CONTROL, 'L'});
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(playlist) != FALSE; }, 5000));
    EXPECT_EQ(player.Close(), 0u);
}

}  // namespace

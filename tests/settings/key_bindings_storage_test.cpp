#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "base/handles.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "support/test_support.h"

namespace {

using Lines = std::vector<std::wstring>;

std::size_t RowOf(UINT id) {
    return static_cast<std::size_t>(FindCommandRow(kCommandTable, id));
}

void Bind(KeyBindingSet& bindings, UINT id, KeyBinding binding) {
    bindings[RowOf(id)] = binding;
}

Lines SectionLines(const std::wstring& path, const wchar_t* section) {
    std::vector<wchar_t> buffer(32767, L'\0');
    DWORD length = GetPrivateProfileSectionW(section, buffer.data(), 32767, path.c_str());
    Lines lines;
    for (DWORD at = 0; at < length && buffer[at] != L'\0'; at += lines.back().size() + 1) {
        lines.emplace_back(&buffer[at]);
    }
    return lines;
}

std::vector<ACCEL> AcceleratorEntries(HACCEL table) {
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    for (ACCEL& entry : entries) {
        entry.fVirt &= 0x7F;  // the end-of-table mark
    }
    return entries;
}

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
    return text;
}

// Every test starts from the state of a fresh process.
class KeyBindingsTest : public testing::Test {
protected:
    void SetUp() override {
        keys_ = std::make_unique<KeyAssignment>(kCommandTable);
        menu_.reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU)));
        ASSERT_TRUE(menu_);
    }

    void LoadFrom(const std::string& ini) {
        ASSERT_TRUE(WriteBytes(ini_, ini));
        ASSERT_TRUE(keys().Load(ini_, menu()));
    }
    HMENU menu() const { return menu_.get(); }
    KeyAssignment& keys() const { return *keys_; }
    KeyBinding BindingOf(UINT id) const { return keys().bindings()[RowOf(id)]; }
    int BoundCount() const {
        int count = 0;
        for (KeyBinding binding : keys().bindings()) {
            count += binding.key != 0 ? 1 : 0;
        }
        return count;
    }
    void SetBindings(const KeyBindingSet& bindings) {
        keys().SetBindings(bindings, keys().areDefault());
    }

    TempFolder folder_;
    std::wstring ini_ = folder_ / L"Zephlo.ini";
    UniqueMenu menu_;
    std::unique_ptr<KeyAssignment> keys_;
};

TEST_F(KeyBindingsTest, WithoutAStoredSetTheBuiltInOneIsUsedAndOnlyThatFactSaved) {
    ASSERT_TRUE(keys().Load(ini_, menu()));  // no file at all
    EXPECT_TRUE(keys().areDefault());
    EXPECT_EQ(keys().bindings(), DefaultKeyBindings(kCommandTable));
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...\tCtrl+O");
    EXPECT_EQ(MenuText(menu(), CMD_VOLUME_UP), L"上げる(&U)\tCtrl+↑");
    EXPECT_EQ(MenuText(menu(), CMD_EXIT), L"終了(&X)");
    keys().Save(ini_);
    EXPECT_EQ(keys().accelerators(), nullptr);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), Lines{L"AccelCount=-1"});

    // Keys left beside a negative count are neither used nor kept.
    SetUp();
    LoadFrom("[Settings]\r\nRepeat=yes\r\n[Accelerators]\r\nAccelCount=-1\r\nOpen=65,0\r\n");
    EXPECT_EQ(BindingOf(CMD_OPEN), (KeyBinding{kCtrl, 'O'}));
    keys().Save(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), Lines{L"AccelCount=-1"});
    EXPECT_EQ(SectionLines(ini_, L"Settings"), Lines{L"Repeat=yes"});
}

TEST_F(KeyBindingsTest, OnlyACountOfZeroOrMoreInTheSectionSelectsTheStoredSet) {
    struct Case {
        const char* ini;
        bool stored;
    };
    const Case cases[] = {
        {"[Accelerators]\r\nAccelCount=\r\nExit=88,2\r\n", false},
        {"[Accelerators]\r\nAccelCount=-7\r\nExit=88,2\r\n", false},
        {"[Settings]\r\nAccelCount=0\r\n[Accelerator]\r\nAccelCount=0\r\nExit=88,2\r\n", false},
        {"[Accelerators]\r\nAccelCount=+2\r\nExit=88,2\r\n", true},
        {"[Accelerators]\r\nAccelCount=0\r\nExit=88,2\r\n", true},
    };
    for (const Case& c : cases) {
        SetUp();
        LoadFrom(c.ini);
        EXPECT_EQ(keys().areDefault(), !c.stored) << c.ini;
        EXPECT_EQ(BoundCount(), c.stored ? 1 : 24) << c.ini;
    }

    // A count of 0 alone: no shortcut, no table, no shortcut texts.
    SetUp();
    LoadFrom("[Accelerators]\r\nAccelCount=0\r\n");
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_EQ(keys().accelerators(), nullptr);
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...");
    keys().Save(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), Lines{L"AccelCount=0"});
}

// Stored values are read by one rule whatever they hold; nothing is read past
// its buffer (two numbers, 24 characters) and unknown names are ignored.
TEST_F(KeyBindingsTest, StoredValuesAreReadByTheRuleWhateverTheyHold) {
    struct Case {
        std::string value;
        KeyBinding binding;
    };
    const Case cases[] = {
        {"79,2", {kCtrl, 79}},
        {"79", {0, 79}},
        {"79,15", {kModifierMask, 79}},
        {"", {}},
        {"garbage", {}},
        {"65,garbage", {0, 65}},
        {"-1,2", {kCtrl, 255}},
        {"65,-3", {kShift | kAlt, 65}},
        {"300,2", {kCtrl, 44}},
        {"99999999999999999999,4", {kShift, 255}},
        {"65,1,2,3", {kAlt, 65}},
        {"65,4" + std::string(5000, '9'), {kModifierMask, 65}},
    };
    for (const Case& c : cases) {
        SetUp();
        LoadFrom("[Accelerators]\r\nAccelCount=1\r\nOpen=" + c.value + "\r\nBogus=70,2\r\n");
        EXPECT_EQ(BindingOf(CMD_OPEN), c.binding) << c.value.substr(0, 30);
        EXPECT_EQ(BoundCount(), c.binding.key != 0 ? 1 : 0) << c.value.substr(0, 30);
    }
}

TEST_F(KeyBindingsTest, ACustomSetIsSavedInTableOrderAndReadBack) {
    LoadFrom("[Accelerators]\r\nAccelCount=0\r\n");
    KeyBindingSet bindings{};
    Bind(bindings, CMD_ABOUT, {kModifierMask, VK_F1});
    Bind(bindings, CMD_STOP, {0, VK_DECIMAL});
    Bind(bindings, CMD_OPEN, {kCtrl, 'O'});
    SetBindings(bindings);
    keys().Save(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"),
              (Lines{L"AccelCount=3", L"Open=79,2", L"Stop=110,0", L"About=112,7"}));
    SetBindings(KeyBindingSet{});
    ASSERT_TRUE(keys().Load(ini_, menu()));
    EXPECT_EQ(keys().bindings(), bindings);
    // The settings file's section is itself a key definition file.
    EXPECT_EQ(ReadKeyFile(ini_, kCommandTable), bindings);
}

TEST_F(KeyBindingsTest, AcceleratorsFollowTheTableOrderWithTheirModifiers) {
    ASSERT_TRUE(keys().Load(ini_, menu()));
    std::vector<ACCEL> entries = AcceleratorEntries(keys().accelerators());
    std::vector<WORD> expected, commands, ctrlR;
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (keys().bindings()[row].key != 0) {
            expected.push_back(kCommandTable[row].id);
        }
    }
    for (const ACCEL& entry : entries) {
        commands.push_back(entry.cmd);
        if (entry.key == 'R' && entry.fVirt == (FVIRTKEY | FCONTROL)) {
            ctrlR.push_back(entry.cmd);
        }
    }
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(ctrlR, (std::vector<WORD>{CMD_REPEAT, CMD_ZOOM_100}));
    EXPECT_EQ(entries.at(2).fVirt, FVIRTKEY | FALT);  // PrevFile: Alt+←
    EXPECT_EQ(entries.at(2).key, VK_LEFT);

    KeyBindingSet bindings{};
    Bind(bindings, CMD_EXIT, {kModifierMask, VK_F12});
    SetBindings(bindings);
    UniqueAccelerators table;
    ASSERT_TRUE(keys().BuildAcceleratorTable(table));
    entries = AcceleratorEntries(table.get());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FSHIFT | FCONTROL | FALT);
    EXPECT_EQ(entries[0].cmd, CMD_EXIT);
}

TEST_F(KeyBindingsTest, KeyFilesAreWrittenByteForByteAndReadBack) {
    KeyBindingSet bindings{};
    Bind(bindings, CMD_ZOOM_300, {kShift | kAlt, '6'});
    Bind(bindings, CMD_OPEN, {kCtrl, 'O'});
    std::wstring path = folder_ / L"mine.zpkey";
    ASSERT_TRUE(WriteBytes(path, std::string(500, 'x')));  // replaced, not patched
    ASSERT_TRUE(WriteKeyFile(path, kCommandTable, bindings));
    EXPECT_EQ(ReadBytes(path), "[Accelerators]\r\nOpen=79,2\r\nZoom300=54,5\r\n");
    EXPECT_EQ(ReadKeyFile(path, kCommandTable), bindings);
    ASSERT_TRUE(WriteKeyFile(path, kCommandTable, DefaultKeyBindings(kCommandTable)));
    EXPECT_EQ(ReadKeyFile(path, kCommandTable), DefaultKeyBindings(kCommandTable));
    EXPECT_FALSE(WriteKeyFile(folder_ / L"missing\\mine.zpkey", kCommandTable, bindings));

    // Commands the file does not name lose their keys; a positive count and
    // unknown names are ignored; no section or no file means no keys.
    ASSERT_TRUE(WriteBytes(path, "[Accelerators]\r\nAccelCount=99\r\nhelp=112,0\r\nNo=1,1\r\n"));
    KeyBindingSet helpOnly{};
    Bind(helpOnly, CMD_HELP, {0, VK_F1});
    EXPECT_EQ(ReadKeyFile(path, kCommandTable), helpOnly);
    ASSERT_TRUE(WriteBytes(path, "[Keys]\r\nOpen=79,2\r\n"));
    EXPECT_EQ(ReadKeyFile(path, kCommandTable), KeyBindingSet{});
    EXPECT_EQ(ReadKeyFile(folder_ / L"absent.zpkey", kCommandTable), KeyBindingSet{});
    // A settings file that keeps the built-in set reads as that set.
    ASSERT_TRUE(WriteBytes(path, "[Accelerators]\r\nAccelCount=-1\r\n"));
    EXPECT_EQ(ReadKeyFile(path, kCommandTable), DefaultKeyBindings(kCommandTable));
}

TEST_F(KeyBindingsTest, MenuTextsFollowAssignmentAndRemovalKeepingTheItemsState) {
    ASSERT_TRUE(keys().Load(ini_, menu()));
    KeyBindingSet bindings = DefaultKeyBindings(kCommandTable);
    Bind(bindings, CMD_OPEN, {});
    Bind(bindings, CMD_CLOSE, {kCtrl | kAlt, 'Q'});
    Bind(bindings, CMD_EXIT, {kShift, VK_ESCAPE});
    Bind(bindings, CMD_SORT_NAME_NUMBER, {0, VK_F7});
    HMENU sortMenu = GetSubMenu(GetSubMenu(menu(), 0), 11);
    CheckMenuRadioItem(sortMenu, CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, CMD_SORT_NAME_NUMBER,
                       MF_BYCOMMAND);
    EXPECT_EQ(keys().Apply(bindings, false, menu()), ApplyResult::Applied);
    EXPECT_FALSE(keys().areDefault());
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...");
    EXPECT_EQ(MenuText(menu(), CMD_CLOSE), L"閉じる(&C)\tCtrl+Alt+Q");
    EXPECT_EQ(MenuText(menu(), CMD_EXIT), L"終了(&X)\tShift+Esc");
    EXPECT_EQ(MenuText(menu(), CMD_SORT_NAME_NUMBER), L"名前連番順(&N)\tF7");
    EXPECT_TRUE(GetMenuState(menu(), CMD_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(menu(), CMD_SORT_NAME_NUMBER, FALSE, &info));
    EXPECT_TRUE((info.fType & MFT_RADIOCHECK) && (info.fState & MFS_CHECKED));
    // The new table replaced the old one: Open's entry is gone.
    EXPECT_EQ(AcceleratorEntries(keys().accelerators()).at(0).cmd, CMD_CLOSE);

    // Nothing changed: the table stays and the default flag is not touched.
    HACCEL table = keys().accelerators();
    EXPECT_EQ(keys().Apply(bindings, true, menu()), ApplyResult::Unchanged);
    EXPECT_EQ(keys().accelerators(), table);
    EXPECT_FALSE(keys().areDefault());
}

TEST_F(KeyBindingsTest, WalkingAMenuRewritesCommandItemsInEverySubmenuOnly) {
    KeyBindingSet bindings{};
    Bind(bindings, CMD_MUTE, {kCtrl, 'M'});
    Bind(bindings, CMD_PRESET_FIRST + 1, {kAlt, '2'});
    Bind(bindings, CMD_NEXT_FILE, {kAlt, VK_RIGHT});
    SetBindings(bindings);
    keys().UpdateMenuKeyTexts(menu());
    EXPECT_EQ(MenuText(menu(), CMD_MUTE), L"消音(&M)\tCtrl+M");
    EXPECT_EQ(MenuText(menu(), CMD_PRESET_FIRST + 1), L"&2: 最大\tAlt+2");
    EXPECT_EQ(MenuText(menu(), CMD_FILE_HISTORY_FIRST), L"(なし)");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu(), 1)), 16);

    UniqueMenu context(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXT_FILE)));
    keys().UpdateMenuKeyTexts(GetSubMenu(context.get(), 0));
    EXPECT_EQ(MenuText(context.get(), CMD_NEXT_FILE), L"次のファイル(&X)\tAlt+→");

    SetBindings(KeyBindingSet{});
    keys().UpdateMenuKeyTexts(menu());
    EXPECT_EQ(MenuText(menu(), CMD_MUTE), L"消音(&M)");
}

}  // namespace

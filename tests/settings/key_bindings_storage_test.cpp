#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/handles.h"
#include "resources/resource.h"
#include "settings/key_bindings.h"
#include "support/test_support.h"

namespace {

KeyBinding BindingOf(UINT id) {
    return g_commandTable[static_cast<std::size_t>(FindCommandRow(id))].binding;
}

void Bind(KeyBindingSet& bindings, UINT id, KeyBinding binding) {
    bindings[static_cast<std::size_t>(FindCommandRow(id))] = binding;
}

int BoundCount() {
    int count = 0;
    for (const CommandRow& row : g_commandTable) {
        count += row.binding.key != 0 ? 1 : 0;
    }
    return count;
}

std::vector<std::wstring> SectionLines(const std::wstring& path, const wchar_t* section) {
    std::vector<wchar_t> buffer(32767, L'\0');
    DWORD length = GetPrivateProfileSectionW(section, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::wstring> lines;
    for (DWORD at = 0; at < length && buffer[at] != L'\0';) {
        lines.emplace_back(&buffer[at]);
        at += static_cast<DWORD>(lines.back().size()) + 1;
    }
    return lines;
}

std::vector<ACCEL> AcceleratorEntries(HACCEL table) {
    int count = CopyAcceleratorTableW(table, nullptr, 0);
    std::vector<ACCEL> entries(static_cast<std::size_t>(count > 0 ? count : 0));
    if (count > 0) {
        CopyAcceleratorTableW(table, entries.data(), count);
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
        SetKeyBindings(KeyBindingSet{});
        keyBindingsAreDefault = true;
        ReplaceAccelerators(UniqueAccelerators());
        ASSERT_TRUE(menu_);
    }
    void TearDown() override { ReplaceAccelerators(UniqueAccelerators()); }

    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteBytes(ini_, text)); }
    HMENU menu() const { return menu_.get(); }

    TempFolder folder_;
    std::wstring ini_ = folder_ / L"Zephlo.ini";
    UniqueMenu menu_{LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU))};
};

TEST_F(KeyBindingsTest, WithoutTheSectionTheBuiltInSetIsUsedAndOnlyThatFactSaved) {
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    EXPECT_TRUE(keyBindingsAreDefault);
    EXPECT_EQ(BoundCount(), 24);
    EXPECT_EQ(CurrentKeyBindings(), DefaultKeyBindings());
    EXPECT_EQ(AcceleratorEntries(CurrentAccelerators()).size(), 24u);
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...\tCtrl+O");
    EXPECT_EQ(MenuText(menu(), CMD_VOLUME_UP), L"上げる(&U)\tCtrl+↑");
    EXPECT_EQ(MenuText(menu(), CMD_STOP), L"停止(&S)\tNum.");
    EXPECT_EQ(MenuText(menu(), CMD_EXIT), L"終了(&X)");

    SaveKeyBindings(ini_);
    EXPECT_EQ(CurrentAccelerators(), nullptr);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), std::vector<std::wstring>{L"AccelCount=-1"});
}

TEST_F(KeyBindingsTest, SavingTheBuiltInSetDropsStaleKeysAndKeepsOtherSections) {
    WriteIni("[Settings]\r\nRepeat=yes\r\n[Accelerators]\r\nAccelCount=-1\r\nOpen=65,0\r\n");
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    EXPECT_EQ(BindingOf(CMD_OPEN), (KeyBinding{kCtrl, 'O'}));
    SaveKeyBindings(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), std::vector<std::wstring>{L"AccelCount=-1"});
    EXPECT_EQ(SectionLines(ini_, L"Settings"), std::vector<std::wstring>{L"Repeat=yes"});
}

TEST_F(KeyBindingsTest, CountDecidesWhetherTheStoredSetIsUsed) {
    struct Case {
        const char* count;
        bool stored;
    };
    for (const Case& c : {Case{"-1", false}, Case{"", false}, Case{"-7", false},
                          Case{"0", true}, Case{"5", true}, Case{"+2", true}}) {
        SCOPED_TRACE(c.count);
        SetUp();
        WriteIni(std::string("[Accelerators]\r\nAccelCount=") + c.count + "\r\nExit=88,2\r\n");
        ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
        EXPECT_EQ(keyBindingsAreDefault, !c.stored);
        EXPECT_EQ(BoundCount(), c.stored ? 1 : 24);
        EXPECT_EQ(BindingOf(CMD_EXIT), c.stored ? (KeyBinding{kCtrl, 'X'}) : KeyBinding{});
    }
}

TEST_F(KeyBindingsTest, CountZeroWithoutKeysLeavesNoShortcutsAndNoTable) {
    WriteIni("[Accelerators]\r\nAccelCount=0\r\n");
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    EXPECT_FALSE(keyBindingsAreDefault);
    EXPECT_EQ(BoundCount(), 0);
    EXPECT_EQ(CurrentAccelerators(), nullptr);
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...");
    SaveKeyBindings(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"), std::vector<std::wstring>{L"AccelCount=0"});
}

TEST_F(KeyBindingsTest, TheCountMustBeInItsOwnSection) {
    WriteIni("[Settings]\r\nAccelCount=0\r\n[Accelerator]\r\nAccelCount=0\r\n");
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    EXPECT_TRUE(keyBindingsAreDefault);
    EXPECT_EQ(BoundCount(), 24);
}

// Stored values are read by one rule whatever they hold; nothing is read
// past its buffer (two numbers, 24 characters) and unknown names are ignored.
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
        {"256,1", {kAlt, 0}},
        {"99999999999999999999,4", {kShift, 255}},
        {"65,1,2,3", {kAlt, 65}},
        {"65,4" + std::string(5000, '9'), {kModifierMask, 65}},
        {std::string(5000, '7'), {0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.substr(0, 40));
        SetUp();
        WriteIni("[Accelerators]\r\nAccelCount=1\r\nOpen=" + c.value +
                 "\r\nBogus=70,2\r\nAccelerators=71,2\r\n");
        ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
        EXPECT_EQ(BindingOf(CMD_OPEN), c.binding);
        EXPECT_EQ(BoundCount(), c.binding.key != 0 ? 1 : 0);
    }
}

TEST_F(KeyBindingsTest, ACustomSetIsSavedInTableOrderAndReadBack) {
    WriteIni("[Accelerators]\r\nAccelCount=0\r\n");
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    KeyBindingSet bindings{};
    Bind(bindings, CMD_ABOUT, {kShift | kCtrl | kAlt, VK_F1});
    Bind(bindings, CMD_STOP, {0, VK_DECIMAL});
    Bind(bindings, CMD_OPEN, {kCtrl, 'O'});
    SetKeyBindings(bindings);
    SaveKeyBindings(ini_);
    EXPECT_EQ(SectionLines(ini_, L"Accelerators"),
              (std::vector<std::wstring>{L"AccelCount=3", L"Open=79,2", L"Stop=110,0",
                                         L"About=112,7"}));

    SetKeyBindings(KeyBindingSet{});
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    EXPECT_EQ(CurrentKeyBindings(), bindings);
    // The settings file's section is itself a key definition file.
    EXPECT_EQ(ReadKeyFile(ini_), bindings);
}

TEST_F(KeyBindingsTest, AcceleratorsFollowTheTableOrderWithTheirModifiers) {
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    std::vector<ACCEL> entries = AcceleratorEntries(CurrentAccelerators());
    std::vector<WORD> expected;
    for (const CommandRow& row : g_commandTable) {
        if (row.binding.key != 0) {
            expected.push_back(row.id);
        }
    }
    std::vector<WORD> commands;
    for (const ACCEL& entry : entries) {
        commands.push_back(entry.cmd);
    }
    ASSERT_EQ(commands, expected);
    // Both Ctrl+R rows are in the table, Repeat's first.
    std::vector<WORD> ctrlR;
    for (const ACCEL& entry : entries) {
        if (entry.key == 'R') {
            EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY | FCONTROL);
            ctrlR.push_back(entry.cmd);
        }
        if (entry.cmd == CMD_PREV_FILE) {
            EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY | FALT);
            EXPECT_EQ(entry.key, VK_LEFT);
        }
        if (entry.cmd == CMD_PLAY_PAUSE) {
            EXPECT_EQ(entry.fVirt & ~0x80, FVIRTKEY);
        }
    }
    EXPECT_EQ(ctrlR, (std::vector<WORD>{CMD_REPEAT, CMD_ZOOM_100}));

    KeyBindingSet bindings{};
    Bind(bindings, CMD_EXIT, {kShift | kCtrl | kAlt, VK_F12});
    SetKeyBindings(bindings);
    UniqueAccelerators table;
    ASSERT_TRUE(BuildAcceleratorTable(table));
    entries = AcceleratorEntries(table.get());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].fVirt & ~0x80, FVIRTKEY | FSHIFT | FCONTROL | FALT);
    EXPECT_EQ(entries[0].key, VK_F12);
    EXPECT_EQ(entries[0].cmd, CMD_EXIT);

    SetKeyBindings(KeyBindingSet{});
    ASSERT_TRUE(BuildAcceleratorTable(table));
    EXPECT_FALSE(table);
}

TEST_F(KeyBindingsTest, KeyFileIsWrittenByteForByteAndReadBack) {
    KeyBindingSet bindings{};
    Bind(bindings, CMD_OPEN, {kCtrl, 'O'});
    Bind(bindings, CMD_ZOOM_300, {kShift | kAlt, '6'});
    std::wstring path = folder_ / L"mine.zpkey";
    ASSERT_TRUE(WriteBytes(path, std::string(500, 'x')));  // overwritten, not patched
    ASSERT_TRUE(WriteKeyFile(path, bindings));
    EXPECT_EQ(ReadBytes(path), "[Accelerators]\r\nOpen=79,2\r\nZoom300=54,5\r\n");
    EXPECT_EQ(ReadKeyFile(path), bindings);

    ASSERT_TRUE(WriteKeyFile(path, DefaultKeyBindings()));
    EXPECT_EQ(ReadKeyFile(path), DefaultKeyBindings());

    EXPECT_FALSE(WriteKeyFile(folder_ / L"missing\\mine.zpkey", bindings));
}

TEST_F(KeyBindingsTest, ReadingAKeyFileClearsEveryCommandItDoesNotName) {
    std::wstring path = folder_ / L"other.zpkey";
    ASSERT_TRUE(WriteBytes(path, "[Accelerators]\r\nAccelCount=99\r\nhelp=112,0\r\nNoSuch=1,1\r\n"));
    KeyBindingSet expected{};
    Bind(expected, CMD_HELP, {0, VK_F1});
    EXPECT_EQ(ReadKeyFile(path), expected);

    ASSERT_TRUE(WriteBytes(path, "[Keys]\r\nOpen=79,2\r\n"));
    EXPECT_EQ(ReadKeyFile(path), KeyBindingSet{});
    EXPECT_EQ(ReadKeyFile(folder_ / L"absent.zpkey"), KeyBindingSet{});
}

TEST_F(KeyBindingsTest, MenuTextsFollowAssignmentAndRemoval) {
    ASSERT_TRUE(LoadKeyBindings(ini_, menu()));
    KeyBindingSet bindings = DefaultKeyBindings();
    Bind(bindings, CMD_OPEN, {});
    Bind(bindings, CMD_EXIT, {kShift, VK_ESCAPE});
    Bind(bindings, CMD_CLOSE, {kCtrl | kAlt, 'Q'});
    Bind(bindings, CMD_SORT_NAME_NUMBER, {0, VK_F7});
    SetKeyBindings(bindings);

    // Marks and states survive the rewrite.
    HMENU sortMenu = GetSubMenu(GetSubMenu(menu(), 0), 11);
    CheckMenuRadioItem(sortMenu, CMD_SORT_NAME, CMD_SORT_LAST_WRITE_TIME, CMD_SORT_NAME_NUMBER,
                       MF_BYCOMMAND);
    for (UINT id : {CMD_OPEN, CMD_EXIT, CMD_CLOSE, CMD_SORT_NAME_NUMBER, CMD_REPEAT}) {
        UpdateMenuKeyText(static_cast<std::size_t>(FindCommandRow(id)), menu());
    }
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...");
    EXPECT_EQ(MenuText(menu(), CMD_EXIT), L"終了(&X)\tShift+Esc");
    EXPECT_EQ(MenuText(menu(), CMD_CLOSE), L"閉じる(&C)\tCtrl+Alt+Q");
    EXPECT_EQ(MenuText(menu(), CMD_REPEAT), L"繰り返し(&R)\tCtrl+R");
    EXPECT_TRUE(GetMenuState(menu(), CMD_CLOSE, MF_BYCOMMAND) & MF_GRAYED);

    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(menu(), CMD_SORT_NAME_NUMBER, FALSE, &info));
    EXPECT_EQ(MenuText(menu(), CMD_SORT_NAME_NUMBER), L"名前連番順(&N)\tF7");
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_EQ(info.wID, static_cast<UINT>(CMD_SORT_NAME_NUMBER));

    // A menu without the command is left alone.
    UniqueMenu empty(CreatePopupMenu());
    UpdateMenuKeyText(static_cast<std::size_t>(FindCommandRow(CMD_EXIT)), empty.get());
    EXPECT_EQ(GetMenuItemCount(empty.get()), 0);
}

TEST_F(KeyBindingsTest, WalkingAMenuRewritesItsSubmenusToo) {
    KeyBindingSet bindings{};
    Bind(bindings, CMD_MUTE, {kCtrl, 'M'});
    Bind(bindings, CMD_ZOOM_300, {0, '6'});
    Bind(bindings, CMD_PRESET_FIRST + 1, {kAlt, '2'});
    Bind(bindings, CMD_ABOUT, {0, VK_F12});
    SetKeyBindings(bindings);
    UpdateMenuKeyTexts(menu());
    EXPECT_EQ(MenuText(menu(), CMD_MUTE), L"消音(&M)\tCtrl+M");
    EXPECT_EQ(MenuText(menu(), CMD_ZOOM_300), L"&6: 300%\t6");
    EXPECT_EQ(MenuText(menu(), CMD_PRESET_FIRST + 1), L"&2: 最大\tAlt+2");
    EXPECT_EQ(MenuText(menu(), CMD_ABOUT), L"バージョン情報(&A)...\tF12");
    EXPECT_EQ(MenuText(menu(), CMD_OPEN), L"開く(&O)...");
    // Submenus and separators keep their places and texts.
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu(), 1)), 16);
    EXPECT_NE(GetSubMenu(GetSubMenu(menu(), 1), 11), nullptr);

    // Walking again with every key removed cuts the texts back.
    SetKeyBindings(KeyBindingSet{});
    UpdateMenuKeyTexts(menu());
    EXPECT_EQ(MenuText(menu(), CMD_MUTE), L"消音(&M)");
    EXPECT_EQ(MenuText(menu(), CMD_ABOUT), L"バージョン情報(&A)...");
}

}  // namespace

#include "settings/key_bindings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/command_table.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

std::size_t RowOf(UINT id) {
    return static_cast<std::size_t>(FindCommandRow(kCommandTable, id));
}

TEST(KeyNameTableTest, ListsEachKeyOnceInAscendingOrder) {
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i) {
        EXPECT_TRUE(i == 0 || KeyNameTable[i - 1].key < KeyNameTable[i].key) << i;
        EXPECT_TRUE(names.insert(KeyNameTable[i].name).second) << i;
    }
    EXPECT_EQ(KeyNameIndex(VK_BACK), 0);
    EXPECT_EQ(KeyNameIndex(VK_F12), 77);
    EXPECT_STREQ(KeyNameOf(VK_DOWN), L"↓");
    EXPECT_STREQ(KeyNameOf(VK_MULTIPLY), L"Num*");
    for (std::uint8_t key : {0x00, 0x10, VK_SEPARATOR, VK_F13, 0xFF}) {
        EXPECT_EQ(KeyNameOf(key), nullptr) << int{key};
    }
}

TEST(ShortcutTextTest, NamesModifiersInFixedOrderThenTheKey) {
    EXPECT_EQ(ShortcutText({kCtrl, 'O'}), L"Ctrl+O");
    EXPECT_EQ(ShortcutText({0, VK_DECIMAL}), L"Num.");
    EXPECT_EQ(ShortcutText({kAlt | kShift, VK_LEFT}), L"Shift+Alt+←");
    EXPECT_EQ(ShortcutText({kModifierMask, VK_F12}), L"Shift+Ctrl+Alt+F12");
    EXPECT_EQ(ShortcutText({kCtrl, 0xFF}), L"Ctrl+");  // a stored code without a name
    EXPECT_EQ(ShortcutText({kCtrl, 0}), L"");
}

TEST(ComposeMenuKeyTextTest, ReplacesWhateverFollowsTheFirstTab) {
    struct Case {
        const wchar_t* text;
        KeyBinding binding;
        const wchar_t* result;  // null: the item is left alone
    };
    const Case cases[] = {
        {L"開く(&O)...", {kCtrl, 'O'}, L"開く(&O)...\tCtrl+O"},
        {L"開く(&O)...\tCtrl+O", {kShift, 'P'}, L"開く(&O)...\tShift+P"},
        {L"開く(&O)...\tCtrl+O", {}, L"開く(&O)..."},
        {L"a\tb\tc", {0, VK_F5}, L"a\tF5"},
        {L"終了(&X)", {}, nullptr},
    };
    for (const Case& c : cases) {
        std::wstring result;
        EXPECT_EQ(ComposeMenuKeyText(c.text, c.binding, result), c.result != nullptr);
        EXPECT_EQ(result, c.result ? c.result : L"") << ToUtf8(c.text);
    }
}

TEST(KeyBindingFromNumbersTest, KeepsLowKeyBitsAndThreeModifierBits) {
    const int numbers[][2] = {{79, 15}, {321, -1}, {256, 4}};
    EXPECT_EQ(KeyBindingFromNumbers(numbers[0], 2), (KeyBinding{kModifierMask, 79}));
    EXPECT_EQ(KeyBindingFromNumbers(numbers[0], 1), (KeyBinding{0, 79}));
    EXPECT_EQ(KeyBindingFromNumbers(numbers[0], 0), KeyBinding{});
    EXPECT_EQ(KeyBindingFromNumbers(numbers[1], 2), (KeyBinding{kModifierMask, 65}));
    EXPECT_EQ(KeyBindingFromNumbers(numbers[2], 2), (KeyBinding{kShift, 0}));
}

TEST(DefaultKeyBindingsTest, BindsTwentyFourCommandsWithCtrlRTwice) {
    KeyBindingSet bindings = DefaultKeyBindings(kCommandTable);
    int bound = 0;
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        bound += bindings[row].key != 0 ? 1 : 0;
    }
    EXPECT_EQ(bound, 24);  // every id of the built-in set is in the table
    EXPECT_EQ(bindings[RowOf(CMD_REPEAT)], (KeyBinding{kCtrl, 'R'}));
    EXPECT_EQ(bindings[RowOf(CMD_ZOOM_100)], (KeyBinding{kCtrl, 'R'}));
    EXPECT_EQ(bindings[RowOf(CMD_FULL_SCREEN)], (KeyBinding{kAlt, VK_RETURN}));
}

TEST(FindBindingOwnerTest, NamesAnotherCommandWithTheSameShortcut) {
    KeyBindingSet bindings = DefaultKeyBindings(kCommandTable);
    int open = FindCommandRow(kCommandTable, CMD_OPEN);
    EXPECT_EQ(FindBindingOwner(kCommandTable, bindings, {kCtrl, 'O'}, RowOf(CMD_CLOSE)), open);
    EXPECT_EQ(FindBindingOwner(kCommandTable, bindings, {kCtrl, 'O'}, RowOf(CMD_OPEN)), -1);
    EXPECT_EQ(FindBindingOwner(kCommandTable, bindings, {kCtrl | kShift, 'O'}, RowOf(CMD_CLOSE)),
              -1);
    EXPECT_EQ(FindBindingOwner(kCommandTable, bindings, {}, RowOf(CMD_CLOSE)), -1);
    EXPECT_EQ(FindBindingOwner(kCommandTable, bindings, {kCtrl, 'R'}, RowOf(CMD_REPEAT)),
              FindCommandRow(kCommandTable, CMD_ZOOM_100));
}

}  // namespace

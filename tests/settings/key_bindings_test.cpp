#include "settings/key_bindings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/command_table.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

TEST(KeyNameTableTest, ListsEachKeyOnceInAscendingOrder) {
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < KeyNameTable.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(KeyNameTable[i - 1].key, KeyNameTable[i].key) << i;
        }
        EXPECT_TRUE(names.insert(KeyNameTable[i].name).second) << i;
    }
    struct Name {
        std::uint8_t key;
        const wchar_t* name;
    };
    for (const Name& expected :
         {Name{VK_BACK, L"BS"}, Name{VK_LEFT, L"←"}, Name{VK_DOWN, L"↓"}, Name{'0', L"0"},
          Name{'Z', L"Z"}, Name{VK_NUMPAD9, L"Num9"}, Name{VK_MULTIPLY, L"Num*"},
          Name{VK_SUBTRACT, L"Num-"}, Name{VK_DECIMAL, L"Num."}, Name{VK_F12, L"F12"}}) {
        ASSERT_NE(KeyNameOf(expected.key), nullptr) << expected.key;
        EXPECT_STREQ(KeyNameOf(expected.key), expected.name);
    }
    EXPECT_EQ(KeyNameIndex(VK_BACK), 0);
    EXPECT_EQ(KeyNameIndex(VK_F12), 77);
    // Keys that cannot be assigned have no name.
    for (std::uint8_t key : {0x00, 0x10, VK_SEPARATOR, VK_F13, 0xFF}) {
        EXPECT_EQ(KeyNameOf(key), nullptr) << int{key};
        EXPECT_EQ(KeyNameIndex(key), -1) << int{key};
    }
}

TEST(ShortcutTextTest, NamesModifiersInFixedOrderThenTheKey) {
    struct Case {
        KeyBinding binding;
        const wchar_t* text;
    };
    const Case cases[] = {
        {{kCtrl, 'O'}, L"Ctrl+O"},
        {{0, VK_SPACE}, L"Space"},
        {{kAlt, VK_RETURN}, L"Alt+Enter"},
        {{kShift | kCtrl | kAlt, VK_F12}, L"Shift+Ctrl+Alt+F12"},
        {{kAlt | kShift, VK_LEFT}, L"Shift+Alt+←"},
        {{kCtrl, 0xFF}, L"Ctrl+"},  // a stored code without a name
        {{kCtrl, 0}, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutText(c.binding), c.text) << ToUtf8(c.text);
    }
}

TEST(ComposeMenuKeyTextTest, ReplacesWhateverFollowsTheFirstTab) {
    struct Case {
        const wchar_t* text;
        KeyBinding binding;
        bool changed;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"開く(&O)...", {kCtrl, 'O'}, true, L"開く(&O)...\tCtrl+O"},
        {L"開く(&O)...\tCtrl+O", {kCtrl | kShift, 'P'}, true, L"開く(&O)...\tShift+Ctrl+P"},
        {L"開く(&O)...\tCtrl+O", {}, true, L"開く(&O)..."},
        {L"a\tb\tc", {0, VK_F5}, true, L"a\tF5"},
        {L"\tCtrl+O", {}, true, L""},
        {L"終了(&X)", {}, false, L""},
        {L"", {0, 'A'}, true, L"\tA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        std::wstring result;
        EXPECT_EQ(ComposeMenuKeyText(c.text, c.binding, result), c.changed);
        if (c.changed) {
            EXPECT_EQ(result, c.result);
        }
    }
}

TEST(KeyBindingFromNumbersTest, KeepsLowKeyBitsAndThreeModifierBits) {
    struct Case {
        int numbers[2];
        int count;
        KeyBinding binding;
    };
    const Case cases[] = {
        {{79, 2}, 2, {kCtrl, 79}},
        {{79, 2}, 1, {0, 79}},            // one number: no modifiers
        {{79, 15}, 2, {7, 79}},           // only Shift, Ctrl and Alt survive
        {{79, -1}, 2, {7, 79}},
        {{321, 0}, 2, {0, 65}},           // low 8 bits of the key
        {{256, 4}, 2, {kShift, 0}},       // ... which may leave no key
        {{-1, 0}, 2, {0, 255}},
        {{79, 2}, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        KeyBinding binding = KeyBindingFromNumbers(c.numbers, c.count);
        EXPECT_EQ(binding, c.binding) << c.numbers[0] << "," << c.numbers[1] << " #" << c.count;
    }
}

TEST(DefaultKeyBindingsTest, BindsTheTwentyFourBuiltInShortcuts) {
    KeyBindingSet bindings = DefaultKeyBindings();
    int bound = 0;
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (bindings[row].key != 0) {
            ++bound;
            EXPECT_FALSE(IsHeading(g_commandTable[row])) << row;
        }
    }
    EXPECT_EQ(bound, 24);
    struct Expected {
        UINT id;
        const wchar_t* shortcut;
    };
    for (const Expected& e : {Expected{CMD_OPEN, L"Ctrl+O"}, Expected{CMD_PREV_FILE, L"Alt+←"},
                              Expected{CMD_STOP, L"Num."}, Expected{CMD_REPEAT, L"Ctrl+R"},
                              Expected{CMD_ZOOM_100, L"Ctrl+R"}, Expected{CMD_ZOOM_OUT, L"Ctrl+PgDown"},
                              Expected{CMD_FULL_SCREEN, L"Alt+Enter"}, Expected{CMD_HELP, L"F1"},
                              Expected{CMD_EXIT, L""}}) {
        int row = FindCommandRow(e.id);
        ASSERT_GE(row, 0) << e.id;
        EXPECT_EQ(ShortcutText(bindings[static_cast<std::size_t>(row)]), e.shortcut) << e.id;
    }
}

TEST(KeyFileTextTest, HasTheSectionThenOneLinePerBoundCommandInTableOrder) {
    KeyBindingSet bindings{};
    bindings[static_cast<std::size_t>(FindCommandRow(CMD_ABOUT))] = {kShift | kAlt, VK_F12};
    bindings[static_cast<std::size_t>(FindCommandRow(CMD_OPEN))] = {kCtrl, 'O'};
    bindings[static_cast<std::size_t>(FindCommandRow(CMD_STOP))] = {0, VK_DECIMAL};
    EXPECT_EQ(FormatKeyFileText(bindings),
              "[Accelerators]\r\nOpen=79,2\r\nStop=110,0\r\nAbout=123,5\r\n");
    EXPECT_EQ(FormatKeyFileText(KeyBindingSet{}), "[Accelerators]\r\n");
}

}  // namespace

#include "settings/key_page_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/command_table.h"
#include "resources/resource.h"
#include "support/test_support.h"

namespace {

int RowOf(UINT id) {
    return FindCommandRow(kCommandTable, id);
}

// The heading row of a category.
int HeadingRow(int category) {
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        if (IsHeading(kCommandTable[row]) && kCommandTable[row].id == category) {
            return static_cast<int>(row);
        }
    }
    return -2;
}

TEST(KeyItemDataTest, PacksRowModifiersAndKey) {
    struct Case {
        std::size_t row;
        KeyBinding binding;
        LPARAM data;
    } cases[] = {
        {0, {}, 0},
        {1, {kCtrl, 'O'}, 65536 + 2 * 256 + 79},
        {66, {kModifierMask, 0xFF}, 66 * 65536 + 7 * 256 + 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyItemData(c.row, c.binding), c.data);
        EXPECT_EQ(KeyItemRow(c.data), c.row);
        EXPECT_EQ(KeyItemBinding(c.data), c.binding);
    }
}

TEST(KeyTreeParentsTest, EachRowHangsUnderTheLatestRowOneLevelUp) {
    std::array<int, kCommandRowCount> parents = KeyTreeParents(kCommandTable);
    struct Case {
        int row, parent;
    } cases[] = {
        {HeadingRow(CATEGORY_PLAY), -1},
        {HeadingRow(CATEGORY_SORT), HeadingRow(CATEGORY_FILE)},
        {RowOf(CMD_SORT_DESCENDING), HeadingRow(CATEGORY_SORT)},
        {RowOf(CMD_REFRESH), HeadingRow(CATEGORY_FILE)},  // back up after the sort orders
        {RowOf(CMD_PRESET_FIRST + 2), HeadingRow(CATEGORY_PRESETS)},
        {RowOf(CMD_OPTIONS), HeadingRow(CATEGORY_VIEW)},
    };
    for (const Case& c : cases) {
        ASSERT_GE(c.row, 0);
        EXPECT_EQ(parents[static_cast<std::size_t>(c.row)], c.parent) << "row " << c.row;
    }
    EXPECT_EQ(std::count(parents.begin(), parents.end(), -1), 4);
}

TEST(ViewOfRowTest, ShowsTheKeyAndModifiersOfACommandOnly) {
    KeyBindingSet bindings = DefaultKeyBindings(kCommandTable);
    bindings[static_cast<std::size_t>(RowOf(CMD_EXIT))] = {kShift | kAlt, 0xFF};
    struct Case {
        const char* what;
        int row;
        KeyRowView view;
    } cases[] = {
        {"nothing selected", -1, {}},
        {"heading", HeadingRow(CATEGORY_VIEW), {}},
        {"Ctrl+O", RowOf(CMD_OPEN), {true, 40, kCtrl, true}},
        {"Num.", RowOf(CMD_STOP), {true, 65, 0, true}},
        {"no key", RowOf(CMD_FIRST_FILE), {true, 0, 0, false}},
        {"a key without a name", RowOf(CMD_EXIT), {true, 0, kShift | kAlt, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeyRowView view = ViewOfRow(kCommandTable, bindings, c.row);
        EXPECT_EQ(view.command, c.view.command);
        EXPECT_EQ(view.listPosition, c.view.listPosition);
        EXPECT_EQ(view.modifiers, c.view.modifiers);
        EXPECT_EQ(view.removable, c.view.removable);
    }
    // And back: "なし" or a position past the list is no key, boxes or not.
    EXPECT_EQ(BindingOfChoice(0, kCtrl), KeyBinding{});
    EXPECT_EQ(BindingOfChoice(79, kCtrl), KeyBinding{});
    EXPECT_EQ(BindingOfChoice(40, kCtrl), (KeyBinding{kCtrl, 'O'}));
    EXPECT_EQ(BindingOfChoice(78, 0xFF), (KeyBinding{kModifierMask, VK_F12}));
}

// What the page's sheet tests do not reach: headings, a row's own
// shortcut, and when the page stops being the built-in set.
TEST(KeyPageBindingsTest, HeadingsTakeNoKeyAndOnlyChangesLeaveTheBuiltInSet) {
    const KeyBindingSet defaults = DefaultKeyBindings(kCommandTable);
    KeyPageBindings page(kCommandTable, defaults, true);
    const auto open = static_cast<std::size_t>(RowOf(CMD_OPEN));
    const auto heading = static_cast<std::size_t>(HeadingRow(CATEGORY_FILE));

    KeyPageBindings::AssignResult result = page.Assign(heading, {kCtrl, 'Q'});
    EXPECT_FALSE(result.assigned);
    EXPECT_EQ(result.owner, -1);
    EXPECT_EQ(page.Assign(static_cast<std::size_t>(RowOf(CMD_CLOSE)), {kCtrl, 'O'}).owner,
              static_cast<int>(open));
    EXPECT_FALSE(page.Remove(static_cast<std::size_t>(RowOf(CMD_FIRST_FILE))));
    EXPECT_TRUE(page.pageDefault());
    EXPECT_EQ(page.bindings(), defaults);

    EXPECT_TRUE(page.Assign(open, {kCtrl, 'O'}).assigned);
    EXPECT_FALSE(page.pageDefault());
    page.RestoreBuiltIn();
    EXPECT_TRUE(page.pageDefault());

    KeyBindingSet loaded{};
    loaded[heading] = {kCtrl, 'A'};
    loaded[open] = {kAlt, 'C'};
    page.Load(loaded);
    EXPECT_FALSE(page.pageDefault());
    EXPECT_EQ(page.bindings()[heading], KeyBinding{});
    EXPECT_EQ(page.bindings()[open], (KeyBinding{kAlt, 'C'}));
    EXPECT_EQ(KeyPageBindings(kCommandTable, loaded, false).bindings()[heading], KeyBinding{});
}

// Key definition files as they come: whatever they hold, each command takes
// the first value its name has in the section, every other command none.
TEST(KeyFileBadInputTest, ReadsWhateverTheFileHoldsByTheOneRule) {
    TempFolder folder;
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>(i * 7 % 256);
    }
    std::string huge = "[Accelerators]\r\nOpen=79,2\r\n";
    for (int i = 0; i < 150000; ++i) {
        huge += "Junk" + std::to_string(i) + "=65,2\r\n";
    }
    huge += "Close=87,2\r\n";
    // 1 000 entries going round the commands: the first round counts.
    std::string many = "[Accelerators]\r\n";
    KeyBindingSet firstRound{};
    for (int i = 0; i < 1000; ++i) {
        std::size_t row = 1 + static_cast<std::size_t>(i) % (kCommandRowCount - 1);
        if (IsHeading(kCommandTable[row])) {
            continue;
        }
        int key = 0x41 + i % 26;
        many += ToUtf8(kCommandTable[row].name) + "=" + std::to_string(key) + ",1\r\n";
        if (firstRound[row].key == 0) {
            firstRound[row] = {kAlt, static_cast<std::uint8_t>(key)};
        }
    }
    auto only = [](std::initializer_list<std::pair<UINT, KeyBinding>> bound) {
        KeyBindingSet set{};
        for (const auto& [id, binding] : bound) {
            set[static_cast<std::size_t>(RowOf(id))] = binding;
        }
        return set;
    };
    struct Case {
        const char* what;
        std::string bytes;
        KeyBindingSet expected;
    } cases[] = {
        {"empty", "", {}},
        {"binary", binary, {}},
        {"binary after the heading", "[Accelerators]\r\n" + binary, {}},
        {"huge", huge, only({{CMD_OPEN, {kCtrl, 'O'}}, {CMD_CLOSE, {kCtrl, 'W'}}})},
        {"1 000 entries", many, firstRound},
        {"negative and overlong numbers",
         "[Accelerators]\r\nOpen=-79,2\r\nClose=99999999999999999999,4\r\nExit=87,-1\r\n"
         "Help=112," +
             std::string(300, '9') + "\r\n",
         only({{CMD_OPEN, {kCtrl, 177}},
               {CMD_CLOSE, {kShift, 255}},
               {CMD_EXIT, {kModifierMask, 87}},
               {CMD_HELP, {kModifierMask, 112}}})},
        {"unknown names",
         "[Accelerators]\r\nOpenFile=79,2\r\nopen=80,4\r\n=5,5\r\n[x]\r\nAbout=1,1\r\n",
         only({{CMD_OPEN, {kShift, 80}}})},
        {"a command twice", "[Accelerators]\r\nMute=77,2\r\nMute=78,1\r\n",
         only({{CMD_MUTE, {kCtrl, 77}}})},
    };
    const std::wstring path = folder / L"keys.zpkey";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_EQ(ReadKeyFile(path, kCommandTable), c.expected);
    }
}

}  // namespace

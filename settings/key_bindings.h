// Keyboard shortcuts of the commands: the key model and names, the built-in
// set, the [Accelerators] section, key definition files (.zpkey), the
// accelerator table of the message loop and the shortcut texts of the menus.
#ifndef ZEPHLO_SETTINGS_KEY_BINDINGS_H
#define ZEPHLO_SETTINGS_KEY_BINDINGS_H

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/handles.h"

// Modifier bits of a binding; no other bits are ever stored.
constexpr std::uint8_t kShift = 4;
constexpr std::uint8_t kCtrl = 2;
constexpr std::uint8_t kAlt = 1;
constexpr std::uint8_t kModifierMask = kShift | kCtrl | kAlt;

// One command's shortcut: a virtual-key code (0 = no shortcut) and modifiers.
struct KeyBinding {
    std::uint8_t modifiers = 0;
    std::uint8_t key = 0;
};

inline bool operator==(KeyBinding a, KeyBinding b) {
    return a.modifiers == b.modifiers && a.key == b.key;
}
inline bool operator!=(KeyBinding a, KeyBinding b) {
    return !(a == b);
}

// What the key model needs of the program's command table, which the
// application supplies: one row per command that can carry a shortcut,
// grouped under category headings, in the order the key page shows them.
struct CommandRow {
    const wchar_t* name;  // name in key files and [Accelerators]; empty for a heading
    std::uint16_t id;     // command id, or the category number of a heading
    std::uint16_t level;  // 0 top-level heading, 1 under it, 2 under a sub-heading
};
constexpr std::size_t kCommandRowCount = 67;
using CommandTable = std::array<CommandRow, kCommandRowCount>;

// Category numbers are 0-8 and command ids start at 100.
inline bool IsHeading(const CommandRow& row) {
    return row.id < 100;
}
// The row of a command id (headings never match), or -1.
int FindCommandRow(const CommandTable& commands, UINT id);
// The row of a command name, compared without regard to case, or -1.
int FindCommandRowByName(const CommandTable& commands, const wchar_t* name);
// The string resource of the row's text: command id + 200, or 600 + the
// category number for a heading.
UINT LabelStringId(const CommandRow& row);

// A set of bindings holds one per row, headings always without a key.
using KeyBindingSet = std::array<KeyBinding, kCommandRowCount>;

// The keys that can be assigned, in the order the key page lists them.
struct KeyName {
    std::uint8_t key;
    const wchar_t* name;
};
constexpr std::size_t kKeyNameCount = 78;
extern const std::array<KeyName, kKeyNameCount> KeyNameTable;

// The key's name, or null when the code is not an assignable key.
const wchar_t* KeyNameOf(std::uint8_t key);
// The key's position in KeyNameTable, or -1.
int KeyNameIndex(std::uint8_t key);

// The built-in set, by command id.
struct DefaultKey {
    std::uint16_t id;
    KeyBinding binding;
};
constexpr std::size_t kDefaultKeyCount = 24;
extern const std::array<DefaultKey, kDefaultKeyCount> DefaultKeyTable;

// "Shift+Ctrl+Alt+" as far as set, then the key's name (nothing for a code
// without a name); empty for a binding without a key.
std::wstring ShortcutText(KeyBinding binding);

// The menu text for a binding: the text up to its first tab, then a tab and
// the shortcut; without a key, the text cut at the first tab. False when the
// item is to be left untouched (no key and no tab).
bool ComposeMenuKeyText(const std::wstring& text, KeyBinding binding, std::wstring& result);

// The stored value of one command, already split into numbers: none gives no
// key; one gives that key without modifiers; two give key and modifiers. The
// key is the low 8 bits of its number, the modifiers keep only bits 0-2.
KeyBinding KeyBindingFromNumbers(const int* numbers, int count);

// Every row loses its key, then the built-in set is applied.
KeyBindingSet DefaultKeyBindings(const CommandTable& commands);

// The text of a key definition file: "[Accelerators]" and one
// "Name=key,modifiers" line per bound command, in table order, CR LF line
// ends, single-byte characters of the system code page.
std::string FormatKeyFileText(const CommandTable& commands, const KeyBindingSet& bindings);

// Writes a key definition file (created or overwritten).
bool WriteKeyFile(const std::wstring& path, const CommandTable& commands,
                  const KeyBindingSet& bindings);

// Reads the [Accelerators] section of an INI-format file (a key definition
// file or the settings file): every command whose name is found takes its
// binding, every other command loses its key. The only "AccelCount" looked
// at is a negative one, which the settings file stores for the built-in set:
// such a file gives the built-in set rather than no keys at all.
KeyBindingSet ReadKeyFile(const std::wstring& path, const CommandTable& commands);

// The row of a command other than `exceptRow` that already has this key and
// these modifiers, or -1 (also for a binding without a key).
int FindBindingOwner(const CommandTable& commands, const KeyBindingSet& bindings,
                     KeyBinding binding, std::size_t exceptRow);

enum class ApplyResult { Unchanged, Applied, TableFailed };

// The shortcuts in use: the bindings of the command table's rows, whether
// they are the built-in set (the settings file then stores only that fact),
// the accelerator table the message loop translates with and the shortcut
// texts of the menus.
class KeyAssignment {
public:
    explicit KeyAssignment(const CommandTable& commands);
    KeyAssignment(const KeyAssignment&) = delete;
    KeyAssignment& operator=(const KeyAssignment&) = delete;

    const CommandTable& commands() const { return commands_; }
    const KeyBindingSet& bindings() const { return bindings_; }
    bool areDefault() const { return areDefault_; }
    // The accelerator table in use (null for none).
    HACCEL accelerators() const { return accelerators_.get(); }

    // Replaces the bindings (headings lose any key) and the built-in flag,
    // leaving menus and the accelerator table alone.
    void SetBindings(const KeyBindingSet& bindings, bool areDefault);

    // One accelerator per row with a key, in table order. With no key at
    // all the table is "none" and the result is success.
    bool BuildAcceleratorTable(UniqueAccelerators& table) const;
    // What makes the tables: the platform's CreateAcceleratorTableW unless
    // something else is put in its place (a maker that fails, in tests).
    using TableMaker = std::function<HACCEL(ACCEL* records, int count)>;
    void SetTableMaker(TableMaker maker);
    // Installs a new table, destroying the one in use.
    void ReplaceAccelerators(UniqueAccelerators table);

    // Rewrites the menu item of the row's command (found by command anywhere
    // in `menu`) to show the row's shortcut after a tab; keeps its state.
    void UpdateMenuKeyText(std::size_t row, HMENU menu) const;
    // The same for every command item of `menu` and its submenus.
    void UpdateMenuKeyTexts(HMENU menu) const;

    // Takes the bindings that differ from the current ones, rewriting their
    // items in the main menu. When anything changed the built-in flag becomes
    // `areDefault` and a new accelerator table replaces the one in use; when
    // that table cannot be made the old one stays and the result is
    // TableFailed. The rows, the menu and the flag keep the new bindings
    // then, so that they are what the settings file stores.
    ApplyResult Apply(const KeyBindingSet& bindings, bool areDefault, HMENU mainMenu);

    // Start-up: the built-in set, then the stored set when "AccelCount" >= 0;
    // builds the accelerator table and writes the shortcuts into the menu.
    // False when the table could not be made (the menu is then left alone).
    bool Load(const std::wstring& settingsPath, HMENU mainMenu);
    // Shut-down: destroys the accelerator table and rewrites [Accelerators].
    void Save(const std::wstring& settingsPath);

private:
    const CommandTable& commands_;
    KeyBindingSet bindings_{};
    bool areDefault_ = true;
    UniqueAccelerators accelerators_;
    TableMaker makeTable_;
};

#endif

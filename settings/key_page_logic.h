// The rules of the key page that need no window: what each item of the
// command tree holds and hangs under, what the key list and the modifier
// boxes show for the selected row, and the page's own copy of the bindings
// with its assign, remove, load and built-in operations.
#ifndef ZEPHLO_SETTINGS_KEY_PAGE_LOGIC_H
#define ZEPHLO_SETTINGS_KEY_PAGE_LOGIC_H

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/key_bindings.h"

// A tree item's data: row × 65536 + modifiers × 256 + key.
LPARAM KeyItemData(std::size_t row, KeyBinding binding);
std::size_t KeyItemRow(LPARAM data);
KeyBinding KeyItemBinding(LPARAM data);

// The row each row's item goes under: the most recent row one level up
// (which the table makes a branch), or -1 for the tree's root.
std::array<int, kCommandRowCount> KeyTreeParents(const CommandTable& commands);

// What the controls beside the tree show for a row (-1: none selected).
struct KeyRowView {
    bool command = false;        // the key list, the boxes and "割り当て" are enabled
    int listPosition = 0;        // 0 "なし", else the key's place in KeyNameTable + 1
    std::uint8_t modifiers = 0;  // the boxes
    bool removable = false;      // "解除" is enabled: the row has a key
};
KeyRowView ViewOfRow(const CommandTable& commands, const KeyBindingSet& bindings, int row);

// The binding the key list and the boxes stand for: position 0 ("なし") and
// positions past the list mean no key, whatever the boxes say.
KeyBinding BindingOfChoice(int listPosition, std::uint8_t modifiers);

// The page's bindings, apart from those in use until the sheet's OK, and
// whether they are the built-in set as far as the page knows.
class KeyPageBindings {
public:
    KeyPageBindings(const CommandTable& commands, const KeyBindingSet& bindings, bool areDefault);

    const KeyBindingSet& bindings() const { return bindings_; }
    bool pageDefault() const { return pageDefault_; }

    // A command row takes the binding unless another command has it: then
    // nothing changes and `owner` names that command's row.
    struct AssignResult {
        bool assigned = false;
        int owner = -1;
    };
    AssignResult Assign(std::size_t row, KeyBinding binding);
    // The row loses its key; false when it had none (nothing changes).
    bool Remove(std::size_t row);
    // Bindings read from a key definition file.
    void Load(const KeyBindingSet& bindings);
    // Every command loses its key, then the built-in set is applied.
    void RestoreBuiltIn();

private:
    // The bindings of the command rows; headings keep none.
    void Take(const KeyBindingSet& bindings);

    const CommandTable& commands_;
    KeyBindingSet bindings_{};
    bool pageDefault_;
};

#endif

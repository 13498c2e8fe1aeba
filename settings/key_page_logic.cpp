#include "settings/key_page_logic.h"

LPARAM KeyItemData(std::size_t row, KeyBinding binding) {
    return static_cast<LPARAM>(row * 65536 + binding.modifiers * 256u + binding.key);
}

std::size_t KeyItemRow(LPARAM data) {
    return static_cast<std::size_t>(data) / 65536;
}

KeyBinding KeyItemBinding(LPARAM data) {
    auto value = static_cast<std::size_t>(data);
    return KeyBinding{static_cast<std::uint8_t>((value >> 8) & kModifierMask),
                      static_cast<std::uint8_t>(value & 0xFF)};
}

std::array<int, kCommandRowCount> KeyTreeParents(const CommandTable& commands) {
    std::array<int, kCommandRowCount> parents{};
    // The most recent row of each level so far.
    std::array<int, 3> latest = {-1, -1, -1};
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        std::size_t level = commands[row].level < latest.size() ? commands[row].level : 0;
        parents[row] = level == 0 ? -1 : latest[level - 1];
        latest[level] = static_cast<int>(row);
        for (std::size_t deeper = level + 1; deeper < latest.size(); ++deeper) {
            latest[deeper] = -1;
        }
    }
    return parents;
}

KeyRowView ViewOfRow(const CommandTable& commands, const KeyBindingSet& bindings, int row) {
    KeyRowView view;
    if (row < 0 || static_cast<std::size_t>(row) >= kCommandRowCount ||
        IsHeading(commands[static_cast<std::size_t>(row)])) {
        return view;
    }
    KeyBinding binding = bindings[static_cast<std::size_t>(row)];
    view.command = true;
    if (binding.key != 0) {
        view.listPosition = KeyNameIndex(binding.key) + 1;
        view.modifiers = binding.modifiers;
        view.removable = true;
    }
    return view;
}

KeyBinding BindingOfChoice(int listPosition, std::uint8_t modifiers) {
    if (listPosition <= 0 || static_cast<std::size_t>(listPosition) > KeyNameTable.size()) {
        return {};
    }
    return KeyBinding{static_cast<std::uint8_t>(modifiers & kModifierMask),
                      KeyNameTable[static_cast<std::size_t>(listPosition - 1)].key};
}

KeyPageBindings::KeyPageBindings(const CommandTable& commands, const KeyBindingSet& bindings,
                                 bool areDefault)
    : commands_(commands), pageDefault_(areDefault) {
    Take(bindings);
}

KeyPageBindings::AssignResult KeyPageBindings::Assign(std::size_t row, KeyBinding binding) {
    AssignResult result;
    if (row >= kCommandRowCount || IsHeading(commands_[row])) {
        return result;
    }
    result.owner = FindBindingOwner(commands_, bindings_, binding, row);
    if (result.owner >= 0) {
        return result;
    }
    bindings_[row] = binding;
    pageDefault_ = false;
    result.assigned = true;
    return result;
}

bool KeyPageBindings::Remove(std::size_t row) {
    if (row >= kCommandRowCount || bindings_[row].key == 0) {
        return false;
    }
    bindings_[row] = {};
    pageDefault_ = false;
    return true;
}

void KeyPageBindings::Load(const KeyBindingSet& bindings) {
    Take(bindings);
    pageDefault_ = false;
}

void KeyPageBindings::Take(const KeyBindingSet& bindings) {
    for (std::size_t row = 0; row < kCommandRowCount; ++row) {
        bindings_[row] = IsHeading(commands_[row]) ? KeyBinding{} : bindings[row];
    }
}

void KeyPageBindings::RestoreBuiltIn() {
    bindings_ = DefaultKeyBindings(commands_);
    pageDefault_ = true;
}

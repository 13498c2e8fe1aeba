// The command table: every command that can carry a shortcut, grouped under
// category headings, in the order the key page shows them. The key bindings
// live in its rows.
#ifndef ZEPHLO_APP_COMMAND_TABLE_H
#define ZEPHLO_APP_COMMAND_TABLE_H

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/key_bindings.h"

struct CommandRow {
    const wchar_t* name;  // name in key files and [Accelerators]; empty for a heading
    std::uint16_t id;     // command id, or the category number of a heading
    std::uint16_t level;  // 0 top-level heading, 1 under it, 2 under a sub-heading
    KeyBinding binding;
};

// The process-wide table, in its fixed order.
extern std::array<CommandRow, kCommandRowCount> g_commandTable;

// Category numbers are 0-8 and command ids start at 100.
inline bool IsHeading(const CommandRow& row) {
    return row.id < 100;
}

// The row of a command id (headings never match), or -1.
int FindCommandRow(UINT id);
// The row of a command name, compared without regard to case, or -1.
int FindCommandRowByName(const wchar_t* name);

// The string resource of the row's text: command id + 200, or 600 + the
// category number for a heading.
UINT LabelStringId(const CommandRow& row);

#endif

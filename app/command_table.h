// The command table: every command that can carry a shortcut, grouped under
// category headings, in the order the key page shows them.
#ifndef ZEPHLO_APP_COMMAND_TABLE_H
#define ZEPHLO_APP_COMMAND_TABLE_H

#include "settings/key_bindings.h"

// The program's table, in its fixed order.
extern const CommandTable kCommandTable;

#endif

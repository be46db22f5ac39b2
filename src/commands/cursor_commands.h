// Commands that act at the cursor of the edit panel: DATA, HEXIN, DELWORD
// (through character editing), CURSORMOVE and WORDWRAP.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void dataCommand(CommandContext& ctx);
void hexInCommand(CommandContext& ctx);
void deleteWordCommand(CommandContext& ctx);
void cursorMoveCommand(CommandContext& ctx);
void wordWrapCommand(CommandContext& ctx);

}  // namespace kiv

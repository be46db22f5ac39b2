// The column commands: a range of columns from a rectangle selection or
// from parameters, copied, cut, deleted, opened with blanks or moved on
// every line of the range; and the clipboard pasted as a block of columns.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void colsCopyCommand(CommandContext& ctx);
void colsCutCommand(CommandContext& ctx);
void colsDeleteCommand(CommandContext& ctx);
void colsInsertCommand(CommandContext& ctx);
void colsMoveCommand(CommandContext& ctx);
void colsPasteCommand(CommandContext& ctx);

}  // namespace kiv

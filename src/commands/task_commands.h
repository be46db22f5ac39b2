// The handlers of the commands that open, save, end and switch edit tasks,
// and BOUNDS. They act on the session's current task.
#pragma once

#include "commands/command_table.h"

namespace kiv {

// EDIT, BROWSE, VIEW with a file name.
void openTaskCommand(CommandContext& ctx);
void endCommand(CommandContext& ctx);
void cancelCommand(CommandContext& ctx);
void saveFileCommand(CommandContext& ctx);
// SWAP, SWAPBACK.
void swapCommand(CommandContext& ctx);
void swapDirectCommand(CommandContext& ctx);
void boundsCommand(CommandContext& ctx);

// A file name as typed: one pair of enclosing quotes or apostrophes dropped.
std::string_view unquoted(std::string_view text);

}  // namespace kiv

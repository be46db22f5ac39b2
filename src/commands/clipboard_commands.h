// COPY, CUT and PASTE between a task and the clipboard, and DELETE (lines by
// keyword or label, or the selection).
#pragma once

#include "commands/command_table.h"

namespace kiv {

void copyCommand(CommandContext& ctx);
void cutCommand(CommandContext& ctx);
void pasteCommand(CommandContext& ctx);
void deleteCommand(CommandContext& ctx);

}  // namespace kiv

// SELECT and the commands that act on the selection itself: STOUPPER,
// STOLOWER, SXCLUDE.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void selectCommand(CommandContext& ctx);
void upperSelectionCommand(CommandContext& ctx);
void lowerSelectionCommand(CommandContext& ctx);
void excludeSelectionCommand(CommandContext& ctx);

}  // namespace kiv

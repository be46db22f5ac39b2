// CHANGE and RCHANGE: the search of FIND with STRING2 put in place of each
// match, within the bounds and MaxRecLen.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void changeCommand(CommandContext& ctx);
void rchangeCommand(CommandContext& ctx);

}  // namespace kiv

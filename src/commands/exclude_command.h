// EXCLUDE: hides the lines holding a match (the next one, or ALL), or the
// duplicate lines (DUPLINES), behind excluded markers.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void excludeCommand(CommandContext& ctx);

}  // namespace kiv

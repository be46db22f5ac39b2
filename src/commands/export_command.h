// EXPORT [REPLACE | APPEND] name: writes the task's selection to another file
// in the task's record format, line ends and character set.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void exportCommand(CommandContext& ctx);

}  // namespace kiv

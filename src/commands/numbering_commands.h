// NUMBER, RENUMBER and UNNUMBER: the line-number settings of the current
// task's profile and the sequence numbers in its records
// (core/line_numbering.h).
#pragma once

#include "commands/command_table.h"

namespace kiv {

void numberCommand(CommandContext& ctx);
void renumberCommand(CommandContext& ctx);
void unnumberCommand(CommandContext& ctx);

}  // namespace kiv

// FLIP: every shown TEXT line of the task becomes excluded and every
// excluded line shown, behind markers built afresh.
#pragma once

#include "commands/command_table.h"

namespace kiv {

class Task;

// Flips the whole file (loaded first) in one walk, then marks each hidden
// stretch.
void flipExcluded(Task& task);

void flipCommand(CommandContext& ctx);

}  // namespace kiv

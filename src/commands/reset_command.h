// RESET: clears what line commands, finds and changes left on the task's
// lines (pending commands, error and change marks, excluded runs, special
// lines, labels), all of it or by keywords, over the whole file or between
// two labels.
#pragma once

#include "commands/command_table.h"

namespace kiv {

class Task;

void resetCommand(CommandContext& ctx);
// Shows every excluded line and removes the markers (RESET EXCLUDED).
void resetExcludedLines(Task& task);

}  // namespace kiv

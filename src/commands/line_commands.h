// Line commands: the fields typed in the prefix area (or through ":" on the
// command line) are parsed, checked, ordered and carried out when the user
// presses Enter. A command waiting for its partner (a destination for a
// copy, the second end of a block) stays in its field, so each Enter reads
// every pending field afresh.
#pragma once

#include <string>

#include "commands/command_table.h"

namespace kiv {

class Session;
class Task;

// Runs the task's pending line commands; the number carried out, or 1 when
// a message stopped processing with nothing carried out.
int processLineCommands(Session& s, Task& task);

// The commands still waiting for a partner or a second end, one line each,
// in the order HELP lists them; empty when none waits.
std::string incompleteLineCommands(Session& s, Task& task);
// HELP: with line commands waiting, the box that lists them.
void helpCommand(CommandContext& ctx);

}  // namespace kiv

// UNDO and REDO: a task's journalled steps taken back and done again
// (core/undo_journal.h keeps them).
#pragma once

#include "commands/command_table.h"

namespace kiv {

class Task;

// Takes back the newest step (redo: does again the newest step undone).
// false when there is none.
bool undoStep(Task& task, bool redo);

void undoCommand(CommandContext& ctx);
void redoCommand(CommandContext& ctx);

}  // namespace kiv

// What an edit command acts on: the current task (and its profile), with the
// message that says why there is none.
#pragma once

#include "commands/command_table.h"

namespace kiv {

class Task;
struct FileProfile;

// The current task; null after "%s requires an open Edit/Browse/View.".
Task* taskFor(CommandContext& ctx);
// The task's profile; null after "%s: this file has no file profile, command ignored.".
FileProfile* profileFor(CommandContext& ctx, Task& task);

}  // namespace kiv
